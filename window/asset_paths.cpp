// The lookup of the music file and the pictures.
#include "asset_paths.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

namespace sinkaway {

namespace {

std::string Join(const std::string& dir, const std::string& name) {
    if (dir.empty() || dir.back() == '/')
        return dir + name;
    return dir + "/" + name;
}

// Opened without waiting: a FIFO nobody writes to would hold an ordinary open forever.
bool CanOpen(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

std::string ProgramDir() {
    char* base = SDL_GetBasePath();
    if (base == nullptr)
        return {};
    std::string dir(base);
    SDL_free(base);
    return dir;
}

}  // namespace

std::vector<std::string> AssetCandidates(const std::string& name, const std::string& given,
                                         const std::string& dataFromBase,
                                         const std::string& dataDir, const std::string& baseDir) {
    std::vector<std::string> out;
    if (!given.empty())
        out.push_back(given);
    if (!baseDir.empty() && !dataFromBase.empty()) {
        out.push_back(Join(Join(baseDir, dataFromBase), name));
    }
    if (!dataDir.empty())
        out.push_back(Join(dataDir, name));
    if (!baseDir.empty())
        out.push_back(Join(Join(baseDir, "assets"), name));
    return out;
}

std::string FindAsset(const std::string& name, const std::string& given) {
    for (const std::string& path :
         AssetCandidates(name, given, SINKAWAY_DATADIR_FROM_BIN, SINKAWAY_DATADIR, ProgramDir())) {
        if (CanOpen(path))
            return path;
    }
    return {};
}

}  // namespace sinkaway
