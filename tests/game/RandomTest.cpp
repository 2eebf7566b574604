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
    std::vector<double> out(static_cast<std::size_t>(n));
    for (double& x : out) {
        x = r.next();
    }
    return out;
}

TEST(Random, numbersCoverTheHalfOpenUnitInterval) {
    PcgRandom random(7, frozenClock);
    const auto numbers = Draw(random, 200000);
    const auto [lowest, highest] = std::minmax_element(numbers.begin(), numbers.end());
    EXPECT_GE(*lowest, 0.0);
    EXPECT_LT(*lowest, 0.001);
    EXPECT_LT(*highest, 1.0);
    EXPECT_GT(*highest, 0.999);
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

TEST(Random, seedAndClockDecideTheRun) {
    PcgRandom a(42, frozenClock), b(42, frozenClock), c(43, frozenClock);
    PcgRandom later(42, [] { return 1235.0F; });
    for (Random* r : {&a, &b, &c, &later}) {
        r->reseed();
    }
    const auto run = Draw(a, 8);
    EXPECT_EQ(run, Draw(b, 8));
    EXPECT_NE(run, Draw(c, 8));
    EXPECT_NE(run, Draw(later, 8));
    PcgRandom fromEntropy1, fromEntropy2;
    EXPECT_NE(Draw(fromEntropy1, 4), Draw(fromEntropy2, 4));
}

} // namespace
} // namespace trivanta
