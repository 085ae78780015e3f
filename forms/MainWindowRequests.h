// What the dialogs may ask of the main window, without knowing it.
#pragma once

class MainWindowRequests
{
public:
    // Centres the uptime label on the window's width.
    virtual void recentreUptime() = 0;
    // Starts or stops the sweep of the recently used list.
    virtual void switchSweep(bool on) = 0;
    // Shows the window, without the alarm-stop button (after the settings dialog's OK).
    virtual void showAfterSettings() = 0;
    // Applies the record's sweep and keep-on-top switches.
    virtual void applySettings() = 0;

protected:
    ~MainWindowRequests() = default;
};
