#pragma once

#include "Random.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace trivanta::test {

// splitmix64: the choices of a test, fully determined by the seed.
class Dado {
public:
    explicit Dado(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    int below(std::size_t n) { return static_cast<int>(next() % n); }
    bool chance(double p) { return static_cast<double>(next() >> 11) * 0x1p-53 < p; }

private:
    std::uint64_t state_;
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
