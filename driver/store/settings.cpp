// settings.json: {"format": 1, "PowerUps": true, "BGM": true}, with "Server", "Name", "Player"
// and "Secret" once the world's boards are used. A bad file is only reported: the next change
// writes a good one over it.
#include "settings.h"

#include <nlohmann/json.hpp>
#include <random>

#include "atomic_write.h"
#include "files.h"

namespace sinkaway {

namespace {

using nlohmann::json;

constexpr const char* kSettingsName = "settings.json";
constexpr size_t kMaxSettingsBytes = 4096;

// An optional text field: absent is empty; anything but printable ASCII of at most `cap` is bad.
bool TextField(const json& doc, const char* key, size_t cap, std::string& out) {
    const json value = doc.value(key, json());
    if (value.is_null())
        return true;
    if (!value.is_string())
        return false;
    out = value.get<std::string>();
    if (out.size() > cap)
        return false;
    for (const char c : out) {
        if (c < 0x20 || c > 0x7e)
            return false;
    }
    return true;
}

}  // namespace

SettingsLoad LoadSettings(const StoreFolder& folder) {
    SettingsLoad load;
    if (folder.path.empty())
        return load;
    const std::string path = folder.path + "/" + kSettingsName;
    const FileRead file = ReadSmallFile(path, kMaxSettingsBytes);
    if (file.status == FileRead::Status::kMissing)
        return load;
    if (file.status != FileRead::Status::kOk) {
        load.problem = path + ": " + file.problem;
        return load;
    }
    const json doc = json::parse(file.bytes, nullptr, false);
    const bool good = doc.is_object() && doc.value("format", json()) == 1 &&
                      doc.value("PowerUps", json()).is_boolean() &&
                      doc.value("BGM", json()).is_boolean();
    if (!good) {
        load.problem = path + ": not the settings of this game";
        return load;
    }
    WorldPlayer& world = load.settings.world;
    if (!TextField(doc, "Server", 200, world.server) || !TextField(doc, "Name", 12, world.name) ||
        !TextField(doc, "Player", 64, world.id) || !TextField(doc, "Secret", 64, world.secret) ||
        (!world.server.empty() && !IsServerAddress(world.server))) {
        load.problem = path + ": not the settings of this game";
        load.settings = Settings{};
        return load;
    }
    load.settings.powerUps = doc["PowerUps"].get<bool>();
    load.settings.bgm = doc["BGM"].get<bool>();
    load.found = true;
    return load;
}

bool SaveSettings(const StoreFolder& folder, const Settings& s, std::string& error) {
    if (!MakeFolder(folder, error))
        return false;
    json doc = {{"format", 1}, {"PowerUps", s.powerUps}, {"BGM", s.bgm}};
    const std::pair<const char*, const std::string*> fields[] = {{"Server", &s.world.server},
                                                                 {"Name", &s.world.name},
                                                                 {"Player", &s.world.id},
                                                                 {"Secret", &s.world.secret}};
    for (const auto& [key, value] : fields) {
        if (!value->empty())
            doc[key] = *value;
    }
    return WriteAtomically(folder.path, kSettingsName, doc.dump(2) + "\n", error);
}

bool IsServerAddress(const std::string& url) {
    const size_t start = url.rfind("https://", 0) == 0 ? 8 : url.rfind("http://", 0) == 0 ? 7 : 0;
    if (start == 0 || url.size() == start || url.size() > 200)
        return false;
    for (size_t i = start; i < url.size(); ++i) {
        const char c = url[i];
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ':' || c == '/' ||
                           c == '_' || c == '[' || c == ']';
        if (!plain)
            return false;
    }
    return true;
}

WorldPlayer MakeWorldPlayer() {
    std::random_device device;
    auto hex = [&](int digits) {
        std::string out;
        for (int i = 0; i < digits; ++i) out += "0123456789abcdef"[device() % 16];
        return out;
    };
    WorldPlayer player;
    // A version 4 UUID: its version digit 4, its variant digit 8 to b.
    player.id =
        hex(8) + "-" + hex(4) + "-4" + hex(3) + "-" + "89ab"[device() % 4] + hex(3) + "-" + hex(12);
    player.secret = hex(32);
    return player;
}

}  // namespace sinkaway
