#pragma once

#include <cstdint>
#include <functional>

namespace trivanta {

// The one source of randomness of the game.
class Random {
public:
    virtual ~Random() = default;
    // Stirs the time of day into the generator before a procedure draws.
    virtual void reseed() = 0;
    // Next number, uniform over [0, 1).
    virtual double next() = 0;
};

// Seconds since midnight (UTC) with their fraction, as single precision.
float secondsSinceMidnight();

// A clock that reads 1, 2, 3, ... at successive reseeds: a run then depends
// only on the seed and on how many reseeds came before, on every machine.
std::function<float()> ContatoreReseed();

// PCG32 generator. A reseed mixes the time of day into the current state
// instead of replacing it, so two reseeds within one tick of the clock still
// lead to fresh numbers and no sequence is ever replayed.
class PcgRandom final : public Random {
public:
    // What a reseed stirs in: the time of day, or anything that repeats
    // from run to run, such as a counter, when a run must be replayed.
    using Clock = std::function<float()>;

    // Seeded from the system's entropy source, reseeded from the real clock.
    PcgRandom();
    // Fully determined by the seed and by what the clock returns; for tests,
    // benchmarks and reproducible random runs.
    explicit PcgRandom(std::uint64_t seed, Clock clock = secondsSinceMidnight);

    void reseed() override;
    double next() override;

private:
    std::uint32_t next32();

    std::uint64_t state_ = 0;
    std::uint64_t increment_ = 1;
    Clock clock_;
};

} // namespace trivanta
