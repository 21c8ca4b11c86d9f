// Font lookup through fontconfig, and the opened fonts cached by face, weight, style and size.
#include "fonts.h"

#include <strings.h>

#ifdef __EMSCRIPTEN__
#include "font_files.h"
#else
#include <fontconfig/fontconfig.h>
#endif

namespace sinkaway {

namespace {

constexpr const char* kFixedStandIns[] = {"DejaVu Sans Mono", "Noto Sans Mono", "monospace",
                                          nullptr};
// Lato has a Black weight (900) like the face it stands for; DejaVu Sans stops at Bold.
constexpr const char* kHeavyStandIns[] = {"Lato", "DejaVu Sans", "sans-serif", nullptr};
constexpr const char* kPlainStandIns[] = {"DejaVu Sans", "sans-serif", nullptr};

constexpr const char* kMissingFontsHelp =
    "no usable font found; install the Debian packages fonts-dejavu-core and fonts-lato";

#ifndef __EMSCRIPTEN__
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

// Asks fontconfig for a family at a weight. fontconfig always answers with something; unless the
// family is generic, only an answer of that very family counts.
bool Match(const char* family, int weight, FontFile& out) {
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
    if (!ok)
        return false;
#else
// The page has no fontconfig: its fonts are the ones it ships.
bool Match(const char* family, int weight, FontFile& out) {
    if (!FindShippedFont(family, weight, out))
        return false;
#endif

    // fontconfig knows files FreeType may still refuse: make sure this one opens.
    TTF_Font* probe = TTF_OpenFontIndex(out.path.c_str(), 12, out.index);
    if (probe == nullptr)
        return false;
    TTF_CloseFont(probe);
    return true;
}

}  // namespace

const char* const* StandInFamilies(const std::string& face) {
    if (strcasecmp(face.c_str(), "Fixedsys") == 0)
        return kFixedStandIns;
    if (strcasecmp(face.c_str(), "Arial Black") == 0)
        return kHeavyStandIns;
    return kPlainStandIns;
}

Fonts::~Fonts() {
    for (auto& [key, font] : open_) TTF_CloseFont(font);
    if (ttfStarted_)
        TTF_Quit();
        // Frees fontconfig's configuration and caches, which would otherwise live until the end.
#ifndef __EMSCRIPTEN__
    if (fontconfigStarted_)
        FcFini();
#endif
}

bool Fonts::Init(std::string& error) {
    if (TTF_Init() != 0) {
        error = std::string("cannot start SDL2_ttf: ") + TTF_GetError();
        return false;
    }
    ttfStarted_ = true;
#ifndef __EMSCRIPTEN__
    if (!FcInit()) {
        error = "cannot start fontconfig";
        return false;
    }
    fontconfigStarted_ = true;
#endif
    const std::pair<const char*, int> wanted[] = {
        {"Fixedsys", 700}, {"Arial Black", 900}, {"MS Sans Serif", 400}};
    for (const auto& [face, weight] : wanted) {
        if (Resolve(face, weight).path.empty()) {
            error = kMissingFontsHelp;
            return false;
        }
    }
    return true;
}

const FontFile& Fonts::Resolve(const std::string& face, int weight) {
    const auto key = std::make_pair(face, weight);
    if (auto it = files_.find(key); it != files_.end())
        return it->second;
    FontFile file;
    if (!Match(face.c_str(), weight, file)) {
        for (const char* const* f = StandInFamilies(face); *f != nullptr; ++f) {
            if (Match(*f, weight, file))
                break;
            file = {};
        }
    }
    return files_[key] = file;
}

TTF_Font* Fonts::Get(const FontSpec& wanted, int pixels) {
    const auto key =
        std::make_tuple(std::string(wanted.face), wanted.weight, wanted.underline, pixels);
    if (auto it = open_.find(key); it != open_.end())
        return it->second;
    // A window dragged through many sizes would otherwise keep every size it passed open.
    if (open_.size() >= 48) {
        for (auto& [k, font] : open_) TTF_CloseFont(font);
        open_.clear();
        ++generation_;
    }
    const FontFile& file = Resolve(wanted.face, wanted.weight);
    if (file.path.empty())
        return nullptr;
    TTF_Font* font = TTF_OpenFontIndex(file.path.c_str(), pixels, file.index);
    if (font == nullptr)
        return nullptr;
    int style = TTF_STYLE_NORMAL;
    if (wanted.underline)
        style |= TTF_STYLE_UNDERLINE;
    if (file.synthesizeBold)
        style |= TTF_STYLE_BOLD;
    TTF_SetFontStyle(font, style);
    open_[key] = font;
    return font;
}

}  // namespace sinkaway
