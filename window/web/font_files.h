// The fonts the page ships, in its own file system: the faces fontconfig picks for the game's
// font names on Debian, cut down to the characters the game draws.
#pragma once

#include "fonts.h"

namespace sinkaway {

// The shipped face that fontconfig would give for `family` at `weight`, or false.
bool FindShippedFont(const char* family, int weight, FontFile& out);

}  // namespace sinkaway
