// Everything the program keeps while it runs, in one object: main.cpp creates it and hands it to
// the main window, which hands it to the forms it opens.
#pragma once

#include "forms/MainWindowRequests.h"
#include "rules/Settings.h"
#include "rules/SettingsFile.h"

#include <QPointer>
#include <cstdint>

class AboutBox;
class FaultDialog;
class MainWindow;
class SettingsDialog;

// The main window's position as last remembered, in twips.
struct RememberedPosition {
    std::int32_t top = 0;
    std::int32_t left = 0;
};

struct AppState {
    settings_file::SettingsFile file;
    settings::SettingsRecord settings;
    RememberedPosition position;
    // True while a detonation waits for the fault dialog; ticks then must not detonate again.
    bool detonating = false;

    // The open forms; null while a form is not loaded.
    QPointer<MainWindow> mainWindow;

    // The main window as the dialogs may ask it, while it exists.
    MainWindowRequests* mainWindowRequests() const;
    QPointer<SettingsDialog> settingsDialog;
    QPointer<AboutBox> aboutBox;
    QPointer<FaultDialog> faultDialog;
};
