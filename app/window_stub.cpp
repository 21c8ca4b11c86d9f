// Until the window is built: say so instead of opening one.
#include <cstdio>

#include "screenshot.h"
#include "window.h"

namespace sinkaway {

int RunWindow(const Options&) {
    std::fprintf(stderr, "sinkaway: the window is not built yet; try --headless\n");
    return 1;
}

bool SaveScreenshot(const Form&, const std::string&, std::string& error) {
    error = "screenshots need the window's drawing code, which is not built yet";
    return false;
}

}  // namespace sinkaway
