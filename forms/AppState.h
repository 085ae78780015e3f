// What the program keeps while it runs: the settings file, the settings record read from it, and
// the main window's position as last remembered.
#pragma once

#include "rules/Settings.h"
#include "rules/SettingsFile.h"

#include <cstdint>

// The main window's position as last remembered, in twips.
struct RememberedPosition {
    std::int32_t top = 0;
    std::int32_t left = 0;
};

struct AppState {
    explicit AppState(System& system) : file(system) {}
    settings_file::SettingsFile file;
    settings::SettingsRecord settings;
    RememberedPosition position;
};
