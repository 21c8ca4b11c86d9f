// The base folders from the environment. A relative XDG value is ignored, as the XDG Base
// Directory rules ask: it would move with the working directory.
#include "xdg.h"

#include <cstdlib>

namespace sinkaway {

namespace {

StoreFolder Resolve(const char* variable, const char* underHome) {
    StoreFolder folder;
    const char* base = std::getenv(variable);
    if (base != nullptr && base[0] == '/') {
        folder.path = std::string(base) + "/sinkaway";
        return folder;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        folder.problem = std::string("neither ") + variable + " nor HOME is set to a full path";
        return folder;
    }
    folder.mustExist = home;
    folder.path = std::string(home) + "/" + underHome + "/sinkaway";
    return folder;
}

}  // namespace

StoreFolder DataFolder() {
    return Resolve("XDG_DATA_HOME", ".local/share");
}

StoreFolder ConfigFolder() {
    return Resolve("XDG_CONFIG_HOME", ".config");
}

}  // namespace sinkaway
