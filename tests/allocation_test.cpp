// Steady play must not touch the heap: every operator new in this binary is counted.
#include <gtest/gtest.h>

#include "counting_new.h"

#include "../bench/play_pattern.h"

namespace sinkaway {
namespace {

TEST(Allocation, TicksEventsAndGameOversAllocateNothingOnceWarm) {
    SeededGenerator random;
    NullMusicPlayer music;
    Session session(random, music);
    session.Load(3);
    // Warm up: the first game over gives the captions their final sizes.
    bench::PlayPattern(session, 60'000);
    const long before = gAllocations.load();
    bench::PlayPattern(session, 600'000);  // ten minutes, many games
    EXPECT_EQ(gAllocations.load() - before, 0);
    EXPECT_GT(session.game.state.dblScore + session.game.musicPlays, 1);
}

}  // namespace
}  // namespace sinkaway
