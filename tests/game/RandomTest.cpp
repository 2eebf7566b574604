#include "Random.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace trivanta {
namespace {

float frozenClock() {
    return 1234.5F;
}

std::vector<double> Draw(Random& r, int n) {
    std::vector<double> out;
    for (int i = 0; i < n; ++i) {
        out.push_back(r.next());
    }
    return out;
}

TEST(Random, numbersStayInTheHalfOpenUnitInterval) {
    PcgRandom random(7, frozenClock);
    double lowest = 1;
    double highest = 0;
    for (int i = 0; i < 200000; ++i) {
        const double r = random.next();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        lowest = std::min(lowest, r);
        highest = std::max(highest, r);
        ASSERT_LT(static_cast<int>(r * 11), 11);
        ASSERT_LT(static_cast<int>(r * 5), 5);
    }
    EXPECT_LT(lowest, 0.001);
    EXPECT_GT(highest, 0.999);
}

TEST(Random, reseedsWithinOneClockTickNeverReplayASequence) {
    PcgRandom random(7, frozenClock);
    std::set<std::vector<double>> sequences;
    for (int i = 0; i < 1000; ++i) {
        random.reseed();
        sequences.insert(Draw(random, 4));
    }
    EXPECT_EQ(sequences.size(), 1000U);
}

TEST(Random, sameSeedAndClockGiveTheSameRunDifferentSeedsDiffer) {
    PcgRandom a(42, frozenClock);
    PcgRandom b(42, frozenClock);
    PcgRandom c(43, frozenClock);
    a.reseed();
    b.reseed();
    c.reseed();
    const auto da = Draw(a, 8);
    EXPECT_EQ(da, Draw(b, 8));
    EXPECT_NE(da, Draw(c, 8));
}

TEST(Random, theClockEntersTheReseed) {
    PcgRandom a(42, [] { return 10.0F; });
    PcgRandom b(42, [] { return 10.5F; });
    a.reseed();
    b.reseed();
    EXPECT_NE(Draw(a, 4), Draw(b, 4));
}

TEST(Random, twoSystemSeededGeneratorsDiffer) {
    PcgRandom a;
    PcgRandom b;
    EXPECT_NE(Draw(a, 4), Draw(b, 4));
}

TEST(Random, theClockIsSecondsSinceMidnight) {
    const float t = secondsSinceMidnight();
    EXPECT_GE(t, 0.0F);
    EXPECT_LT(t, 86400.0F);
}

} // namespace
} // namespace trivanta
