// What the dialogs share: the two seams, the program's state, what they may ask of the main
// window, and which of them are loaded.
#pragma once

#include <QPointer>

class AboutBox;
class Desktop;
class FaultDialog;
class SettingsDialog;
class System;
struct AppState;

// What the dialogs may ask of the main window, without knowing it.
class MainWindowRequests
{
public:
    // Centres the uptime label on the window's width.
    virtual void recentreUptime() = 0;
    // Starts or stops the sweep of the recently used list.
    virtual void switchSweep(bool on) = 0;
    // Shows the window, without the alarm-stop button (after the settings dialog's OK).
    virtual void showAfterSettings() = 0;
    // Applies the record's sweep and keep-on-top switches; the alarm is looked at again.
    virtual void applySettings() = 0;

protected:
    ~MainWindowRequests() = default;
};

struct FormContext {
    System& system;
    Desktop& desktop;
    AppState& state;
    MainWindowRequests& mainWindow;
    // The settings dialog was last opened from the tray: its OK leaves the window as it was.
    bool settingsFromTray = false;
    // The loaded dialogs; null while one is not loaded.
    QPointer<SettingsDialog> settingsDialog;
    QPointer<AboutBox> aboutBox;
    QPointer<FaultDialog> faultDialog;
};
