// The desktop's side of the platform (platform.h): fontconfig finds the fonts, threads take the
// slow start-up work, the window loops and sleeps on its own, and the store keeps its files in the
// XDG folders under its own lock.
#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <cstdlib>

#include "audio.h"
#include "platform.h"

namespace sinkaway::platform {

namespace {

bool IsGeneric(const char* family) {
    return strcasecmp(family, "monospace") == 0 || strcasecmp(family, "sans-serif") == 0;
}

bool HasFamily(FcPattern* match, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (strcasecmp(reinterpret_cast<const char*>(name), family) == 0)
            return true;
    }
    return false;
}

}  // namespace

bool HasThreads() {
    return true;
}

bool CallsEachFrame() {
    return false;
}

void CallEachFrame(void (*)(void*), void*) {
    std::abort();  // the desktop's window loops on its own
}

void StopCallingEachFrame() {}

bool NeedsDisplayVariable() {
    return true;
}

bool HiddenWindowPauses() {
    return false;
}

bool StartFontLookup(std::string& error) {
    if (FcInit())
        return true;
    error = "cannot start fontconfig";
    return false;
}

// Frees fontconfig's configuration and caches, which would otherwise live until the end.
void StopFontLookup() {
    FcFini();
}

// fontconfig always answers with something; unless the family is generic, only an answer of that
// very family counts.
bool FindFontFile(const char* family, int weight, FontFile& out) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr)
        return false;

    bool ok = IsGeneric(family) || HasFamily(match, family);
    FcChar8* file = nullptr;
    if (ok && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        out.path = reinterpret_cast<const char*>(file);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &out.index) != FcResultMatch)
            out.index = 0;
        int got = FC_WEIGHT_REGULAR;
        FcPatternGetInteger(match, FC_WEIGHT, 0, &got);
        out.synthesizeBold = weight >= 600 && got < FC_WEIGHT_DEMIBOLD;
    } else {
        ok = false;
    }
    FcPatternDestroy(match);
    return ok;
}

const char* MusicFileName() {
    return "Castor.wav";
}

Mix_Music* DecodeMusic(std::vector<uint8_t>& bytes) {
    return LoadWavMusic(bytes);
}

std::optional<std::string> OwnLeaderboard() {
    // Only the one the player set.
    return std::nullopt;
}

BestGamesPlace PlaceBestGames(std::function<void(const std::string&)>) {
    // A thread of the store's own; its files are the player's already, so nothing to offer.
    return {};
}

}  // namespace sinkaway::platform
