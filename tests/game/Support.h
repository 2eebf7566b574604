#pragma once

#include "Briscola.h"

#include <deque>
#include <functional>
#include <vector>

namespace trivanta::test {

// Records every box and answers from a script; with the script used up, OK
// boxes answer Ok and Yes/No boxes Yes. whileOpen sees the game as the user
// would while the box is on screen.
class ScriptedBoxes final : public MessageBoxes {
public:
    std::vector<Message> shown;
    std::deque<Answer> answers;
    std::function<void(const Message&)> whileOpen;

    Answer show(const Message& message) override {
        shown.push_back(message);
        if (whileOpen) {
            whileOpen(message);
        }
        if (answers.empty()) {
            return message.buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
        }
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

// Returns the given numbers in order, then the last one again and again.
class ScriptedRandom final : public Random {
public:
    explicit ScriptedRandom(std::vector<double> numbers) : numbers_(std::move(numbers)) {}
    void reseed() override { ++reseeds; }
    double next() override { return numbers_[std::min(next_++, numbers_.size() - 1)]; }
    int reseeds = 0;

private:
    std::vector<double> numbers_;
    std::size_t next_ = 0;
};

inline float fixedClock() {
    return 43200.5F;
}

inline int Conta(const StatoGioco& s, std::int16_t posizione) {
    int n = 0;
    for (int v = 1; v <= 10; ++v) {
        for (int seme = 1; seme <= 4; ++seme) {
            n += s.StatoCarte[v][seme] == posizione ? 1 : 0;
        }
    }
    return n;
}

struct Posa {
    int valore, seme;
    std::int16_t dove;
};
// Puts every card at `resto`, then the given cards where asked.
inline void Disponi(StatoGioco& s, std::initializer_list<Posa> carte,
                    std::int16_t resto = PosMazzo) {
    for (int v = 1; v <= 10; ++v) {
        for (int seme = 1; seme <= 4; ++seme) {
            s.StatoCarte[v][seme] = resto;
        }
    }
    for (const Posa& p : carte) {
        s.StatoCarte[p.valore][p.seme] = p.dove;
    }
}

// A game with scripted boxes and a seeded generator.
struct Gioco {
    ScriptedBoxes boxes;
    PcgRandom random{2024, fixedClock};
    Briscola gioco{boxes, random};
    StatoGioco& s = gioco.stato();
    const Tavolo& t = gioco.tavolo();
};

} // namespace trivanta::test
