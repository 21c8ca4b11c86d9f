// Program entry: the window, or the headless driver.
#include "command_line.h"
#include "headless.h"
#include "screenshot.h"
#include "window.h"

int main(int argc, char** argv) {
    sinkaway::Options options;
    const int status = sinkaway::ParseOptions(argc, argv, options);
    if (status >= 0)
        return status;
    return options.headless ? sinkaway::RunHeadless(options, sinkaway::SaveScreenshot)
                            : sinkaway::RunWindow(options);
}
