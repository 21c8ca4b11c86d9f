// Until the window is built: say so instead of opening one.
#include <cstdio>

#include "window.h"

namespace sinkaway {

int RunWindow(const Options&) {
    std::fprintf(stderr, "sinkaway: the window is not built yet; try --headless\n");
    return 1;
}

}  // namespace sinkaway
