// The program as a whole: the clock object and the main window that shows it, the dialogs, the
// menus' and the tray's intents, the start-up sequence and the one orderly exit.
#pragma once

#include "clock/AlarmClock.h"
#include "forms/AppState.h"
#include "forms/FormContext.h"

#include <QObject>
#include <memory>

class Desktop;
class MainWindow;
class QWidget;
class System;
enum class TrayEvent;

class Program : public QObject, private MainWindowRequests, private FaultPrompt
{
    Q_OBJECT
public:
    Program(System& system, Desktop& desktop);
    ~Program() override;

    // The start-up sequence, then the window shown; false when the process was ended instead
    // (another instance, or no tray).
    bool start();

    // What the tests and the benchmark look at: the window, the clock object (its timers by
    // name), the dialogs and the state, and the window's outer height in twips.
    QWidget& window();
    AlarmClock& clock() { return *m_clock; }
    FormContext& forms() { return m_forms; }
    int windowHeightTwips() const;

private:
    void placeWindow();
    // Adds the tray icon, its events coming to the program. When the desktop has no tray, shows
    // the warning and ends the process at once, saving nothing; false then (only a recording
    // system returns from that).
    bool addTrayIcon();
    void onTrayEvent(TrayEvent event);
    void openSettings(bool fromTray);
    void openAbout(bool modal);
    // Remembers the window's position, then hides it.
    void hideWindow();
    // Writes MyPath, Top and Left, removes the tray icon and ends the process.
    void exitApplication();

    void recentreUptime() override;
    void switchSweep(bool on) override;
    void showAfterSettings() override;
    void applySettings() override;
    // Closes the settings dialog and the About box where they are shown, then opens the fault
    // dialog, whose outcome goes to the clock.
    void promptFault() override;

    System& m_system;
    Desktop& m_desktop;
    AppState m_state;
    FormContext m_forms;
    AlarmClock* m_clock;
    std::unique_ptr<MainWindow> m_window;
};
