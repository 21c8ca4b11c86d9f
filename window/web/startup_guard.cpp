// The page has no signals to take, and its canvas is shown at once: nothing to guard
// (../startup_guard.h says what the desktop guards against).
#include "startup_guard.h"

namespace sinkaway {

struct ShowWatch::State {};

void StartupSignals::Take() {}
void StartupSignals::GiveBack() {}

ShowWatch::ShowWatch(int) {}
ShowWatch::~ShowWatch() = default;

}  // namespace sinkaway
