// Rand's formula over chosen draws, and the seeded generator behind it.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "rand.h"
#include "rig.h"

namespace sinkaway::testing {
namespace {

struct RandCase {
    float r;
    int32_t low, high;
    int32_t expected;
};

// floor(r * (high - low + 1)) + low, worked in double precision.
const RandCase kRandCases[] = {
    // Both ends of the game's ranges are reachable.
    {0.0f, 400, 800, 400},
    {kAlmostOne, 400, 800, 800},
    {0.0f, 550, 800, 550},
    {kAlmostOne, 550, 800, 800},
    {0.0f, 1, 2, 1},
    {kAlmostOne, 1, 2, 2},
    // Rand(0, 1) splits the draws at one half.
    {0.49999997f, 0, 1, 0},
    {0.5f, 0, 1, 1},
    // A range of one value.
    {0.0f, 7, 7, 7},
    {0.5f, 7, 7, 7},
    {kAlmostOne, 7, 7, 7},
    {kAlmostOne, 0, 0, 0},
    // An empty range (token left of a hole at Left 0): n is 0, so the answer is low.
    {0.0f, 1, 0, 1},
    {kAlmostOne, 1, 0, 1},
    // A reversed range (token right of a hole past 4525): from high + 1 up to low.
    {0.0f, 4600, 4525, 4600},
    {0.5f, 4600, 4525, 4563},
    {kAlmostOne, 4600, 4525, 4526},
    // Draws whose product is a hair below a whole number: a single-precision product would
    // round up to it and answer one too many.
    {0x1.030f4cp-1f, 550, 800, 676},
    {0x1.00a36ep-1f, 400, 800, 600},
};

TEST(RandTest, FollowsTheFormulaForChosenDraws) {
    for (const RandCase& c : kRandCases) {
        ScriptedSource source{c.r};
        EXPECT_EQ(Rand(source, c.low, c.high), c.expected)
            << "Rand(" << c.low << ", " << c.high << ") with r = " << c.r;
        EXPECT_EQ(source.left(), 0u) << "one draw per call";
    }
}

std::vector<float> Draw(SeededGenerator& generator, int count) {
    std::vector<float> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(generator.NextFloat());
    }
    return values;
}

TEST(SeededGeneratorTest, TheSameSeedGivesTheSameSequence) {
    SeededGenerator first(42);
    SeededGenerator second(42);
    EXPECT_EQ(Draw(first, 1000), Draw(second, 1000));

    SeededGenerator other(43);
    SeededGenerator again(42);
    EXPECT_NE(Draw(other, 100), Draw(again, 100));
}

TEST(SeededGeneratorTest, SeedingAgainRestartsTheSequence) {
    SeededGenerator generator(7);
    const std::vector<float> fresh = Draw(generator, 50);
    Draw(generator, 123);
    generator.Seed(7);
    EXPECT_EQ(Draw(generator, 50), fresh);
}

TEST(SeededGeneratorTest, DrawsStayBelowOneAndSpreadEvenly) {
    SeededGenerator generator(2026);
    constexpr int kDraws = 200000;
    int ones = 0;
    int lowest = 800, highest = 400;
    for (int i = 0; i < kDraws; ++i) {
        const float r = generator.NextFloat();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        ones += Rand(generator, 0, 1);
        const int32_t width = Rand(generator, 400, 800);
        lowest = std::min(lowest, width);
        highest = std::max(highest, width);
    }
    // A token appears on about half the returning bars.
    EXPECT_NEAR(static_cast<double>(ones) / kDraws, 0.5, 0.01);
    EXPECT_EQ(lowest, 400);
    EXPECT_EQ(highest, 800);
}

}  // namespace
}  // namespace sinkaway::testing
