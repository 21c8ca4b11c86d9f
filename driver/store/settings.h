// What the player set, remembered between sessions in the config folder: the two check boxes and,
// for the world's boards, the server, the name and the anonymous player made up once. The window's
// size and fullscreen belong to the session.
#pragma once

#include <string>

#include "xdg.h"

namespace sinkaway {

// Who sends games to the world's boards.
struct WorldPlayer {
    std::string server;  // "http://host:port" or "https://…"; empty: none set
    std::string name;    // up to 12 characters; empty until the player entered one
    std::string id;      // a UUID made up once
    std::string secret;  // made up with it, never shown
    bool operator==(const WorldPlayer&) const = default;
};

struct Settings {
    bool powerUps = true;
    bool bgm = true;
    WorldPlayer world;
    bool operator==(const Settings&) const = default;
};

struct SettingsLoad {
    Settings settings;  // the defaults unless a good file was found
    bool found = false;
    std::string problem;  // a file was there but could not be used
};

SettingsLoad LoadSettings(const StoreFolder& folder);
bool SaveSettings(const StoreFolder& folder, const Settings& settings, std::string& error);

// Whether `url` may name a server: http or https, a host, and nothing a shell or a URL could hide.
bool IsServerAddress(const std::string& url);
// A fresh anonymous player: a random UUID and a secret of 32 characters.
WorldPlayer MakeWorldPlayer();

}  // namespace sinkaway
