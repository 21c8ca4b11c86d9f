// Golden replays: recorded scripts whose traces are pinned by a digest and their last line, so any
// change of behaviour shows up as a diff someone has to explain.
// Set SINKAWAY_UPDATE_GOLDEN=1 to rewrite the .golden files after a deliberate change.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "run_binary.h"

namespace sinkaway::testing {
namespace {

namespace fs = std::filesystem;

uint64_t Fnv1a64(const std::string& s) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : s) {
        h ^= c;
        h *= 0x100000001b3ull;
    }
    return h;
}

std::string Summary(const RunResult& r) {
    const auto lines = r.traceLines();
    char digest[32];
    std::snprintf(digest, sizeof digest, "%016llx",
                  static_cast<unsigned long long>(Fnv1a64(r.trace)));
    return "lines " + std::to_string(lines.size()) + "\nfnv1a64 " + digest + "\nlast " +
           (lines.empty() ? "" : lines.back()) + "\n";
}

TEST(Replay, EveryRecordedScriptGivesItsGoldenTrace) {
    const fs::path dir = fs::path(SINKAWAY_TEST_DIR) / "replays";
    const bool update = std::getenv("SINKAWAY_UPDATE_GOLDEN") != nullptr;
    int checked = 0;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".txt")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        const RunResult r = RunScript(ReadFile(entry.path()), "");
        ASSERT_EQ(r.status, 0) << r.err;
        const std::string summary = Summary(r);
        fs::path golden = entry.path();
        golden.replace_extension(".golden");
        if (update) {
            std::ofstream(golden, std::ios::binary) << summary;
        } else {
            EXPECT_EQ(summary, ReadFile(golden));
        }
        ++checked;
    }
    EXPECT_GE(checked, 3);
}

}  // namespace
}  // namespace sinkaway::testing
