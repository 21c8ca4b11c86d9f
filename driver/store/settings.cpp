// settings.json: {"format": 1, "PowerUps": true, "BGM": true}. A bad file is only reported: the
// next change of a box writes a good one over it.
#include "settings.h"

#include <nlohmann/json.hpp>

#include "atomic_write.h"
#include "files.h"

namespace sinkaway {

namespace {

using nlohmann::json;

constexpr const char* kSettingsName = "settings.json";
constexpr size_t kMaxSettingsBytes = 4096;

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
    load.settings.powerUps = doc["PowerUps"].get<bool>();
    load.settings.bgm = doc["BGM"].get<bool>();
    load.found = true;
    return load;
}

bool SaveSettings(const StoreFolder& folder, const Settings& s, std::string& error) {
    if (!MakeFolder(folder, error))
        return false;
    const json doc = {{"format", 1}, {"PowerUps", s.powerUps}, {"BGM", s.bgm}};
    return WriteAtomically(folder.path, kSettingsName, doc.dump(2) + "\n", error);
}

}  // namespace sinkaway
