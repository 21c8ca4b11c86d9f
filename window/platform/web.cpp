// The page's side of the platform (platform.h): one thread, which the browser lends the window
// once a display frame; the fonts and the music packed with the page; the store's jobs between
// frames on the browser's storage that every tab shares, and replays that come and go as the
// player's files (best_games_files.h).
#include <SDL_rwops.h>
#include <emscripten.h>
#include <strings.h>

#include <cstring>
#include <utility>

#include "best_games_files.h"
#include "platform.h"
#include "startup_guard.h"

namespace sinkaway::platform {

bool HasThreads() {
    return false;
}

bool CallsEachFrame() {
    return true;
}

// The browser calls a step at each display frame and never gives the thread back: the page
// cannot sleep, and a frame with nothing due neither ticks nor draws.
void CallEachFrame(void (*step)(void*), void* self) {
    emscripten_set_main_loop_arg(step, self, 0, 1);
}

void StopCallingEachFrame() {
    emscripten_cancel_main_loop();
}

bool NeedsDisplayVariable() {
    return false;
}

bool HiddenWindowPauses() {
    return true;
}

// The page has no fontconfig, and nothing to start.
bool StartFontLookup(std::string&) {
    return true;
}

void StopFontLookup() {}

// The three faces the desktop resolves on Debian for the game's font names and their weights:
// "Fixedsys" 700 -> DejaVu Sans Mono Bold, "Arial Black" 900 -> Lato Black, "MS Sans Serif" 400
// -> DejaVu Sans, cut down to the characters the game draws. Only those faces are shipped, so any
// weight of a family gets its one face.
bool FindFontFile(const char* family, int, FontFile& out) {
    static constexpr std::pair<const char*, const char*> kShipped[] = {
        {"DejaVu Sans Mono", "/fonts/DejaVuSansMono-Bold.ttf"},
        {"Lato", "/fonts/Lato-Black.ttf"},
        {"DejaVu Sans", "/fonts/DejaVuSans.ttf"},
        {"monospace", "/fonts/DejaVuSansMono-Bold.ttf"},
        {"sans-serif", "/fonts/DejaVuSans.ttf"},
    };
    for (const auto& [name, path] : kShipped) {
        if (strcasecmp(family, name) != 0)
            continue;
        out.path = path;
        out.index = 0;
        out.synthesizeBold = false;
        return true;
    }
    return false;
}

// The page ships the track as Ogg Vorbis, an eighth of the WAV's bytes, packed with the page: no
// file of anyone else's can be there, so SDL2_mixer's own decoder reads it as it is.
const char* MusicFileName() {
    return "Castor.ogg";
}

Mix_Music* DecodeMusic(std::vector<uint8_t>& bytes) {
    if (bytes.size() < 4 || bytes.size() > static_cast<size_t>(INT32_MAX) ||
        std::memcmp(bytes.data(), "OggS", 4) != 0)
        return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    return rw == nullptr ? nullptr : Mix_LoadMUSType_RW(rw, MUS_OGG, 1);
}

std::optional<std::string> OwnLeaderboard() {
    // The origin that served the page, should it answer as one.
    return std::string();
}

BestGamesPlace PlaceBestGames(std::function<void(const std::string&)> watch) {
    BestGamesPlace place;
    place.pace = BestGamesWorker::Pace::kBetweenFrames;
    place.hooks.claim = ClaimBestGamesFiles;
    place.files = PageReplayFiles();
    WhenReplayBrought(std::move(watch));
    return place;
}

}  // namespace sinkaway::platform

namespace sinkaway {

// The page has no signals to take, and its canvas is shown at once: nothing to guard.
struct ShowWatch::State {};

void StartupSignals::Take() {}
void StartupSignals::GiveBack() {}

ShowWatch::ShowWatch(int) {}
ShowWatch::~ShowWatch() = default;

}  // namespace sinkaway
