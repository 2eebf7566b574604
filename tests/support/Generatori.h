#pragma once

#include "Random.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace trivanta::test {

// The choices of a test, fully determined by the seed.
struct Dado : std::mt19937_64 {
    explicit Dado(std::uint64_t seed) : std::mt19937_64(seed) {}
    std::uint64_t next() { return (*this)(); }
    int below(std::size_t n) { return static_cast<int>(next() % n); }
    bool chance(double p) { return std::generate_canonical<double, 53>(*this) < p; }
};

// Returns the given numbers in order, then the last one again and again.
class RandomScriptato final : public Random {
public:
    explicit RandomScriptato(std::vector<double> numbers) : numbers_(std::move(numbers)) {}
    void reseed() override { ++reseeds; }
    double next() override { return numbers_[std::min(next_++, numbers_.size() - 1)]; }
    int reseeds = 0;

private:
    std::vector<double> numbers_;
    std::size_t next_ = 0;
};

// A clock that never moves: every reseed reads the same time of day.
inline float OrologioFermo() {
    return 43200.5F;
}

} // namespace trivanta::test
