// The main window: the clock face the clock object keeps current, the alarm-stop button, the
// menus, and the window's sizes and place in twips.
#pragma once

#include <QMainWindow>

class AlarmClock;
class ClockFace;
class QPushButton;
struct MenuIntents;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // Shows what the clock says and tells it whether anybody can see the texts; the alarm-stop
    // button stops the clock's alarm.
    MainWindow(AlarmClock& clock, const MenuIntents& intents);
    ~MainWindow() override;

    // The tray's pop-up menu, never on the menu bar.
    QMenu* trayMenu() const { return m_trayMenu; }

    // The window as the start-up sequence sizes it, before the first tick.
    void setStartSize();
    // Shown again after the settings dialog's OK, without the alarm-stop button.
    void showAfterSettings();
    // Centres the uptime label on the window's width.
    void centreUptime();

    // The outer height as the program's layout states it: the client area is what the design
    // frame would leave (660 twips in height with the menu bar, 90 in width); the window
    // manager adds its own frame around it.
    int outerHeightTwips() const;
    int topTwips() const;
    int leftTwips() const;

signals:
    // A double-click on the clock (the window hides itself first).
    void clockDoubleClicked();
    // The close box: closing the window ends the program.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void onBeepAlert();
    void onCalmTick();
    void onAlarmStop();
    void setContentSize(int widthPx, int heightPx);
    void setOuterHeightTwips(int tw);
    int outerWidthTwips() const;
    void setOuterWidthTwips(int tw);

    AlarmClock& m_clock;
    ClockFace* m_face;
    QPushButton* m_alarmStopButton;
    QMenu* m_trayMenu;
    int m_outerHeight = -1; // twips, as last set
};
