// Program entry: the window, the headless driver, or a look at the best games.
#include <cstdio>

#include "command_line.h"
#include "headless.h"
#include "listing.h"
#include "screenshot.h"
#include "script.h"
#include "window.h"

namespace {

int Verify(const std::string& path) {
    sinkaway::ReplayScript replay;
    std::string error;
    const int status = sinkaway::ReadReplay(path, replay, error, false);
    if (status == 0)
        std::printf("score %.0f\n", replay.score);
    else
        std::fprintf(stderr, "%s\n", error.c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    sinkaway::Options options;
    const int status = sinkaway::ParseOptions(argc, argv, options);
    if (status >= 0)
        return status;
    if (!options.verify.empty())
        return Verify(options.verify);
    if (options.scores)
        return sinkaway::PrintScores(sinkaway::ScoreStore(sinkaway::DataFolder()), stdout);
    return options.headless ? sinkaway::RunHeadless(options.Headless(), sinkaway::SaveScreenshot)
                            : sinkaway::RunWindow(options.Window());
}
