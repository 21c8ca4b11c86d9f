// A fingerprint of everything on the form that can be seen, so the window redraws only when a
// handler changed the picture: the game-over poller ticks all the time, mostly changing nothing.
#pragma once

#include <cstdint>

#include "form.h"

namespace sinkaway {

uint64_t VisibleDigest(const Form& form);

}  // namespace sinkaway
