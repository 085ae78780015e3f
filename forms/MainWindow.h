// The main window: the clock, the uptime and the alarm watch, driven by three timers.
#pragma once

#include "forms/AppState.h"

#include <QMainWindow>
#include <cstdint>
#include <limits>

enum class TrayEvent;

class ClockLabel;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

// Switches a timer like a window timer's Enabled flag: enabling a running timer leaves its
// interval running (QTimer::start would restart it).
void setTimerEnabled(QTimer* timer, bool enabled);

// The clock's background: the desktop's button face, or the alarm's red and blue.
enum class ClockColour { ButtonFace, Red, Blue };

class MainWindow : public QMainWindow, public MainWindowRequests
{
    Q_OBJECT
public:
    explicit MainWindow(AppState& state);
    ~MainWindow() override;

    // The start-up sequence; false when the process was ended instead (another instance, or
    // no tray).
    bool startUp();
    // The beep alert as the window shows it: the clock blinking, the window grown to show the
    // alarm-stop button (unless minimised).
    void showBeepAlert();
    // Called inside a clock tick that is about to wait in a modal dialog: the clock goes on
    // ticking meanwhile, and those ticks only keep the labels current.
    void keepTickingThroughWait();

    // The outer size as the program's layout states it: the client area is what the design frame
    // would leave (660 twips in height with the menu bar, 90 in width); the window manager adds
    // its own frame around it.
    int outerHeightTwips() const;
    void setOuterHeightTwips(int tw);
    int outerWidthTwips() const;
    void setOuterWidthTwips(int tw);
    int topTwips() const;
    int leftTwips() const;

    void recentreUptime() override;
    void switchSweep(bool on) override;
    void showAfterSettings() override;
    void applySettings() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private slots:
    void onClockTick();
    void onBlinkTick();
    void onSweepTick();
    void onAlarmStop();
    void onClockDoubleClicked();
    void onExit();
    void onToTray();
    void onSettings();
    void onAbout();
    void onTrayShow();
    void onTraySettings();
    void onTrayPurge();
    void onTrayAbout();
    void onTrayExit();

private:
    void buildControls();
    void buildMenus();
    // A double-click on the tray icon shows the window; the right button's release opens the
    // tray menu.
    void onTrayEvent(TrayEvent event);
    // Adds the tray icon, its events coming to this window. When the desktop has no tray, shows
    // the warning and ends the process at once, saving nothing; false then (only a recording
    // platform returns from that).
    bool addTrayIcon();
    void setContentSize(int widthPx, int heightPx);
    // Whether two texts differ at most in which digits they show.
    static bool sameShape(const QString& a, const QString& b);
    // Enables the blink timer (the beep alert).
    void startBlinking();
    // Arms the clock's next tick within a fast tick's time.
    void tickSoon();
    // Writes the clock and uptime texts where they changed.
    void showTime(int second);
    // Makes the texts that ticks skipped while nobody could see them.
    void showTimeIfStale();
    void placeUptime();
    // Where the uptime label's left edge belongs.
    void setUptimeLeft(double twipsLeft);
    ClockColour clockColour() const { return m_clockColour; }
    void setClockColour(ClockColour colour);

    AppState& m_state;
    QWidget* m_content;
    ClockLabel* clockLabel;
    QLabel* uptimeLabel;
    QPushButton* alarmStopButton;
    QTimer* clockTimer;
    QTimer* blinkTimer;
    QTimer* sweepTimer;
    std::int16_t sweepTickCount = 0;
    QMenu* trayMenu; // never on the menu bar: the tray's pop-up menu
    ClockColour m_clockColour = ClockColour::ButtonFace;
    int m_uptimeLeft = 0; // pixels
    // What the labels show now, to tell whether a tick changes anything.
    int m_shownSecond = -1;
    bool m_textsStale = false;  // ticks came while the window was hidden or minimised
    bool m_digitsAlike = false; // every digit of the uptime's font has the same width
    int m_outerHeight = -1;     // twips, as last set
    // nothing shown yet: no uptime reads as this (it is at most 2^31 ms / 1000 either way)
    std::int32_t m_shownUptime = std::numeric_limits<std::int32_t>::min();
    std::int16_t m_shownUptimeMode = -1;
};
