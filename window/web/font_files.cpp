// The three faces the desktop resolves on Debian for the game's font names and their weights:
// "Fixedsys" 700 -> DejaVu Sans Mono Bold, "Arial Black" 900 -> Lato Black, "MS Sans Serif" 400
// -> DejaVu Sans. Only those faces are shipped, so any weight of a family gets its one face.
#include "font_files.h"

#include <strings.h>

#include <utility>

namespace sinkaway {

bool FindShippedFont(const char* family, int /*weight*/, FontFile& out) {
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

}  // namespace sinkaway
