// The main window's face: the clock label and the uptime label below it, with their texts as the
// clock object makes them, the clock's colour and the uptime label's place.
#pragma once

#include "clock/AlarmClock.h"

#include <QWidget>

class QLabel;

class ClockFace : public QWidget
{
    Q_OBJECT
public:
    explicit ClockFace(QWidget* parent);

    void showClockText(const QString& text);
    void showUptimeText(const QString& text);
    void setColour(ClockColour colour);
    // Centres the uptime label on the window's outer width, as its text is now.
    void centreUptime(int outerWidthTwips);
    // The control that takes the focus first.
    QWidget* firstInTabOrder() const;

signals:
    // A double-click on the clock.
    void clockDoubleClicked();

protected:
    // A double-click on the clock label is the face's clockDoubleClicked.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether two texts differ at most in which digits they show.
    static bool sameShape(const QString& a, const QString& b);
    // The widest text the uptime can show until its hours gain a digit.
    QString widestAlike(const QString& text) const;
    void placeUptime();

    QLabel* m_clockLabel;
    QLabel* m_uptimeLabel;
    int m_uptimeLeft = 0;       // pixels
    bool m_digitsAlike = false; // every digit of the uptime's font has the same width
    QChar m_widestDigit;        // in the uptime's font
};
