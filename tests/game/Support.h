#pragma once

#include "Briscola.h"

#include <deque>
#include <functional>
#include <vector>

namespace trivanta::test {

// Records every box in order and answers from a script; with the script used
// up, OK boxes answer Ok and Yes/No boxes Yes.
class ScriptedBoxes final : public MessageBoxes {
public:
    std::vector<Message> shown;
    std::deque<Answer> answers;
    // Called while the box is "open", before it is answered.
    std::function<void(const Message&)> whileOpen;

    Answer show(const Message& message) override {
        shown.push_back(message);
        if (whileOpen) {
            whileOpen(message);
        }
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return message.buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
};

// Returns numbers from a list, then repeats the last one; reseeds are counted.
class ScriptedRandom final : public Random {
public:
    explicit ScriptedRandom(std::vector<double> numbers) : numbers_(std::move(numbers)) {}
    void reseed() override { ++reseeds; }
    double next() override {
        const double r = numbers_.at(std::min(position_, numbers_.size() - 1));
        ++position_;
        return r;
    }
    int reseeds = 0;

private:
    std::vector<double> numbers_;
    std::size_t position_ = 0;
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

// Puts every card back in the deck, then the given cards where asked.
struct Posa {
    int valore;
    int seme;
    std::int16_t dove;
};
inline void Disponi(StatoGioco& s, std::initializer_list<Posa> carte) {
    for (int v = 1; v <= 10; ++v) {
        for (int seme = 1; seme <= 4; ++seme) {
            s.StatoCarte[v][seme] = PosMazzo;
        }
    }
    for (const Posa& p : carte) {
        s.StatoCarte[p.valore][p.seme] = p.dove;
    }
}

} // namespace trivanta::test
