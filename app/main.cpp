// Program entry: the window, the headless driver, or a look at the best games.
#include <cstdio>

#include "command_line.h"
#include "headless.h"
#include "listing.h"
#include "screenshot.h"
#include "window.h"

namespace {

int Verify(const std::string& script) {
    double score = 0;
    const int status = sinkaway::ReplayScore(script, score);
    if (status == 0)
        std::printf("score %.0f\n", score);
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
    return options.headless ? sinkaway::RunHeadless(options, sinkaway::SaveScreenshot)
                            : sinkaway::RunWindow(options);
}
