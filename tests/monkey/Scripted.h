#pragma once

// The scripted outside world of a random run: a seeded source of choices,
// message boxes that answer at random and a browser layer whose every step
// succeeds or fails at random.
#include "BrowserPlatform.h"
#include "MessageBoxes.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace trivanta::monkey {

// splitmix64: small, fast and fully determined by its seed, so a run is
// replayed exactly from the seed it prints.
class Dado {
public:
    explicit Dado(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // Uniform over 0..n-1; n > 0.
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    bool chance(double p) { return static_cast<double>(next() >> 11) * 0x1p-53 < p; }

private:
    std::uint64_t state_;
};

// Answers every box at once and at random: OK boxes with OK, Yes/No boxes
// with Yes or No. Before answering it lets the run look at the game as the
// box finds it.
class ScatoleACaso final : public MessageBoxes {
public:
    struct Visto {
        Message message;
        Answer answer;
    };

    ScatoleACaso(std::uint64_t seed, double siAltraPartita, double siNuovaPartita)
        : dado_(seed), siAltraPartita_(siAltraPartita), siNuovaPartita_(siNuovaPartita) {}

    std::function<void(const Message&)> guarda;
    // The boxes of the event in progress; the run empties it before each.
    std::vector<Visto> visti;

    Answer show(const Message& message) override;

private:
    Dado dado_;
    double siAltraPartita_;
    double siNuovaPartita_;
};

// A browser layer that never touches the disk or starts a program. It keeps
// the file it was asked to write in memory and records any step taken out of
// order: finding a browser for a file that was not written, launching a
// program that was not found, or opening another address.
class BrowserACaso final : public BrowserPlatform {
public:
    BrowserACaso(std::uint64_t seed, std::string indirizzoAtteso)
        : dado_(seed), indirizzoAtteso_(std::move(indirizzoAtteso)) {}

    std::vector<std::string> errori;
    int avvii = 0;
    int richieste = 0;

    std::string programDirectory() override;
    char pathSeparator() const override { return '/'; }
    void writeFile(const std::string& path, std::string_view contents) override;
    FoundExecutable findExecutable(const std::string& file) override;
    ShellResult launch(std::int32_t owner, const std::string& executable,
                       const std::string& address) override;
    void deleteFile(const std::string& path) override;

private:
    void forseFallisce(double p, const char* passo);

    Dado dado_;
    std::string indirizzoAtteso_;
    std::set<std::string> file_;
    std::string trovato_;
};

} // namespace trivanta::monkey
