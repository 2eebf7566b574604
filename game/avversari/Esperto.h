#pragma once

#include "avversari/Avversario.h"
#include "avversari/Simulazione.h"

#include <array>
#include <cstdint>
#include <vector>

namespace trivanta {

// The strong computer player. For each decision it imagines many deals that
// fit what it has seen (determinization), plays each card of its hand in
// every one of them and keeps the card that wins most often, then by the
// widest margin. The other hand is inferred, not peeked at: it weighs each
// imagined deal, and three ways of playing (at random, greedily, sensibly)
// for the other side, by how well they explain the cards the other side has
// played so far. With three covered cards or fewer left, the distinct deals
// are few: it searches each of them to the end of the game.
//
// From one game to the next it remembers how the other side has played, as a
// person at the table would: the belief a game ends with is where the next
// one starts.
//
// Its effort is a number of imagined deals, not a time, and its numbers come
// from its own generator, seeded from `seme` and from what it knows: the same
// seed and the same games before play the same game on every machine, and
// the game's generator is never touched.
class Esperto final : public Avversario {
public:
    // The strong setting: a decision takes about 7 ms on one core, the
    // slowest of a game about 25 ms (bench/EspertoBench.cpp); more deals
    // measured no stronger.
    static constexpr int CampioniForte = 1200;

    explicit Esperto(std::uint64_t seme = 0, int campioni = CampioniForte);

    int Scegli(const Conoscenza& k) override;

    // How likely each way of playing (in sim::Modello order) seemed for the
    // other side at the last decision; for measurements.
    const std::array<double, sim::NumeroModelli>& Stima() const { return stima_; }
    // What it believes of the other side before the first card of a game:
    // what the games played so far taught it.
    const std::array<double, sim::NumeroModelli>& Priori() const { return priori_; }

    // What an imagined deal holds beyond the knowledge: the other hand, and
    // the likelihood of the other side's plays under each model.
    struct Particella {
        Maschera mano = 0;
        std::array<double, sim::NumeroModelli> verosimiglianza{};
        double peso = 0;
    };

private:
    // A lower number of tricks than at the last call means a new game: what
    // the last one showed goes into the belief the next one starts from.
    void NuovaPartita(int prese);

    std::uint64_t seme_;
    int campioni_;
    std::array<double, sim::NumeroModelli> priori_;
    std::array<double, sim::NumeroModelli> stima_{};
    // The last game's evidence: how much better each model explained it.
    std::array<double, sim::NumeroModelli> evidenza_;
    int prese_ = 0;
    // Kept between decisions so that a decision allocates nothing.
    std::vector<Particella> particelle_;
    std::vector<int> scelte_;
};

} // namespace trivanta
