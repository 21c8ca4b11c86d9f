// Steady play must not touch the heap: every operator new in this binary is counted.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "../bench/play_pattern.h"

namespace {
std::atomic<long> gAllocations{0};
}

void* operator new(std::size_t size) {
    ++gAllocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

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
