// The portable number text against the standard library's to_chars, on random bit patterns and on
// the kind of values the traces hold: any digit of difference would break the golden replays on a
// build that uses it.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <random>
#include <string>

#include "float_text.h"

namespace sinkaway {
namespace {

template <typename T>
std::string Standard(T v) {
    char buf[64];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

template <typename T>
std::string Portable(T v) {
    char buf[64];
    return std::string(buf, ShortestTextPortable(buf, v));
}

template <typename T, typename Bits>
void CompareRandom(std::mt19937_64& random, int count) {
    for (int i = 0; i < count; ++i) {
        const Bits bits = static_cast<Bits>(random());
        T v;
        std::memcpy(&v, &bits, sizeof v);
        if (v != v)
            continue;  // NaN payloads print alike but are not what the traces hold
        ASSERT_EQ(Portable(v), Standard(v)) << "bits " << bits;
    }
}

TEST(FloatText, ShortestMatchesToCharsOnRandomBits) {
    std::mt19937_64 random(16);
    CompareRandom<double, uint64_t>(random, 50000);
    CompareRandom<float, uint32_t>(random, 50000);
}

TEST(FloatText, ShortestMatchesToCharsOnGameLikeValues) {
    std::mt19937_64 random(61);
    std::uniform_real_distribution<double> twips(-20000, 20000);
    for (int i = 0; i < 50000; ++i) {
        const double v = twips(random);
        ASSERT_EQ(Portable(v), Standard(v));
        ASSERT_EQ(Portable(static_cast<float>(v)), Standard(static_cast<float>(v)));
        const double whole = std::nearbyint(v);
        ASSERT_EQ(Portable(whole), Standard(whole));
    }
    for (double v : {0.0, -0.0, 1e-7, 0.001, 1e15, 1e16, 1e21, 123456789012345680000.0, 5e-324,
                     1.7976931348623157e308, 1.0 / 0.0, -1.0 / 0.0}) {
        EXPECT_EQ(Portable(v), Standard(v));
    }
}

TEST(FloatText, WholeMatchesFixedToChars) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> scores(0, 1e7);
    for (int i = 0; i < 20000; ++i) {
        const double v = i < 1000 ? i + 0.5 : scores(random);
        char a[64], b[64];
        const std::string standard(
            a, std::to_chars(a, a + sizeof a, v, std::chars_format::fixed, 0).ptr);
        ASSERT_EQ(std::string(b, WholeTextPortable(b, v)), standard) << v;
    }
}

}  // namespace
}  // namespace sinkaway
