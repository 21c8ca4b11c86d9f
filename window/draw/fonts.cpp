// The faces for the game's font names (found by the platform: fontconfig on the desktop), and the
// opened fonts cached by face, weight, style and size.
#include "fonts.h"

#include <strings.h>

#include "platform.h"

namespace sinkaway {

namespace {

constexpr const char* kFixedStandIns[] = {"DejaVu Sans Mono", "Noto Sans Mono", "monospace",
                                          nullptr};
// Lato has a Black weight (900) like the face it stands for; DejaVu Sans stops at Bold.
constexpr const char* kHeavyStandIns[] = {"Lato", "DejaVu Sans", "sans-serif", nullptr};
constexpr const char* kPlainStandIns[] = {"DejaVu Sans", "sans-serif", nullptr};

constexpr const char* kMissingFontsHelp =
    "no usable font found; install the Debian packages fonts-dejavu-core and fonts-lato";

// A face of that family at that weight, which FreeType opens.
bool Match(const char* family, int weight, FontFile& out) {
    if (!platform::FindFontFile(family, weight, out))
        return false;
    // The lookup knows files FreeType may still refuse: make sure this one opens.
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
    if (lookupStarted_)
        platform::StopFontLookup();
}

bool Fonts::Init(std::string& error) {
    if (TTF_Init() != 0) {
        error = std::string("cannot start SDL2_ttf: ") + TTF_GetError();
        return false;
    }
    ttfStarted_ = true;
    if (!platform::StartFontLookup(error))
        return false;
    lookupStarted_ = true;
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
