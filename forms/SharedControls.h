// The controls the forms share beyond Qt's own: the clock label, the links and the etched frame.
#pragma once

#include <QGroupBox>
#include <QLabel>

// The clock label; a double-click on it opens the settings dialog.
class ClockLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A label that reports a click, for the About box's two links: underlined, blue, with the
// up-arrow pointer the box was designed with.
class LinkLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A frame as the layout was drawn for: an etched line with its caption set into the top edge,
// so that the controls at their designed places sit inside it.
class Frame : public QGroupBox
{
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* event) override;
};
