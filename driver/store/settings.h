// The two check boxes, remembered between sessions in the config folder. Nothing else is kept:
// the window's size and fullscreen belong to the session.
#pragma once

#include <string>

#include "xdg.h"

namespace sinkaway {

struct Settings {
    bool powerUps = true;
    bool bgm = true;
    bool operator==(const Settings&) const = default;
};

struct SettingsLoad {
    Settings settings;  // the defaults unless a good file was found
    bool found = false;
    std::string problem;  // a file was there but could not be used
};

SettingsLoad LoadSettings(const StoreFolder& folder);
bool SaveSettings(const StoreFolder& folder, const Settings& settings, std::string& error);

}  // namespace sinkaway
