#include "Random.h"

#include <chrono>
#include <cstring>
#include <random>
#include <utility>

namespace trivanta {

namespace {

// Spreads every bit of the input over the whole output.
std::uint64_t splitmix64(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

constexpr std::uint64_t Multiplier = 6364136223846793005ULL;

} // namespace

float secondsSinceMidnight() {
    using namespace std::chrono;
    const auto sinceMidnight = system_clock::now().time_since_epoch() % days(1);
    return duration<float>(sinceMidnight).count();
}

std::function<float()> ContatoreReseed() {
    return [n = 0.0F]() mutable { return n += 1.0F; };
}

PcgRandom::PcgRandom() : clock_(secondsSinceMidnight) {
    std::random_device entropy;
    const std::uint64_t seed = (std::uint64_t{entropy()} << 32) | entropy();
    const std::uint64_t stream = (std::uint64_t{entropy()} << 32) | entropy();
    increment_ = (stream << 1) | 1U;
    state_ = splitmix64(seed);
}

PcgRandom::PcgRandom(std::uint64_t seed, Clock clock)
    : state_(splitmix64(seed)), increment_((splitmix64(~seed) << 1) | 1U),
      clock_(std::move(clock)) {}

// PCG-XSH-RR: 64 bits of state, 32 bits out.
std::uint32_t PcgRandom::next32() {
    const std::uint64_t old = state_;
    state_ = old * Multiplier + increment_;
    const auto xorshifted = static_cast<std::uint32_t>(((old >> 18U) ^ old) >> 27U);
    const auto rotation = static_cast<std::uint32_t>(old >> 59U);
    return (xorshifted >> rotation) | (xorshifted << ((32U - rotation) & 31U));
}

void PcgRandom::reseed() {
    const float now = clock_();
    std::uint32_t timeBits = 0;
    std::memcpy(&timeBits, &now, sizeof timeBits);
    // The old state carries on into the new one: equal clock readings never
    // lead back to an earlier sequence.
    const std::uint64_t carried = (std::uint64_t{next32()} << 32) | next32();
    state_ = splitmix64(carried ^ timeBits);
}

double PcgRandom::next() {
    return next32() * 0x1p-32;
}

} // namespace trivanta
