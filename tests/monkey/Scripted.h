#pragma once

// The scripted outside world of a random run: a seeded source of choices,
// message boxes that answer at random and a browser layer whose every step
// succeeds or fails at random, never touching the disk or starting a program.
#include "BrowserPlatform.h"
#include "MessageBoxes.h"
#include "Testi.h"

#include <cerrno>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace trivanta::monkey {

// splitmix64: fully determined by its seed, so a run replays from the seed.
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

// Answers OK boxes with OK, Yes/No boxes at random; `guarda` sees the game as
// each box finds it, `visti` keeps the boxes of the event in progress.
class ScatoleACaso final : public MessageBoxes {
public:
    struct Visto {
        Message message;
        Answer answer;
    };
    ScatoleACaso(std::uint64_t seed, double siAltraPartita, double siNuovaPartita)
        : dado_(seed), si_{siAltraPartita, siNuovaPartita} {}
    std::function<void(const Message&)> guarda;
    std::vector<Visto> visti;

    Answer show(const Message& m) override {
        if (guarda) {
            guarda(m);
        }
        const bool fine = m.title && *m.title == testi::TitoloFinePartita;
        const Answer a = m.buttons != Buttons::YesNo       ? Answer::Ok
                         : dado_.chance(si_[fine ? 0 : 1]) ? Answer::Yes
                                                           : Answer::No;
        visti.push_back({m, a});
        return a;
    }

private:
    Dado dado_;
    double si_[2];
};

// Every step succeeds or fails at random; the order of the steps is the
// donation tests' business.
class BrowserACaso final : public BrowserPlatform {
public:
    explicit BrowserACaso(std::uint64_t seed) : dado_(seed) {}
    int richieste = 0;

    std::string programDirectory() override {
        ++richieste;
        forseFallisce(0.03, "directory");
        return "/monkey/trivanta";
    }
    char pathSeparator() const override { return '/'; }
    void writeFile(const std::string&, std::string_view) override { forseFallisce(0.1, "write"); }
    FoundExecutable findExecutable(const std::string&) override {
        forseFallisce(0.05, "find");
        const int r = dado_.below(4);
        return {r == 0   ? ShellNoAssociation
                : r == 1 ? ShellFileNotFound
                         : ShellOk,
                r < 2 ? "" : "/usr/bin/monkey-browser"};
    }
    ShellResult launch(std::int32_t, const std::string&, const std::string&) override {
        forseFallisce(0.05, "launch");
        return dado_.chance(0.7) ? ShellOk : ShellFileNotFound;
    }
    void deleteFile(const std::string&) override { forseFallisce(0.05, "delete"); }

private:
    void forseFallisce(double p, const char* passo) {
        if (dado_.chance(p)) {
            throw PlatformError(EACCES, std::string("monkey: ") + passo + " refused");
        }
    }
    Dado dado_;
};

} // namespace trivanta::monkey
