#pragma once

#include "avversari/Maschere.h"

#include <array>
#include <cstdint>

// A whole deal with every card placed, small enough to copy at every step of
// a search: what the expert plays out in the worlds it imagines. Side 0 is
// the one that imagines, side 1 the other.
namespace trivanta::sim {

// Small and fast; the simulations draw millions of numbers a decision.
class Generatore {
public:
    explicit Generatore(std::uint64_t seme) : stato_(seme) {}
    std::uint64_t Prossimo() {
        std::uint64_t z = (stato_ += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    // Uniform over 0..n-1.
    int Sotto(int n) {
        return static_cast<int>(((Prossimo() >> 32) * static_cast<std::uint64_t>(n)) >> 32);
    }
    double Uniforme() { return static_cast<double>(Prossimo() >> 11) * 0x1p-53; }

private:
    std::uint64_t stato_;
};

// The n-th card (0-based, lowest first) of a set.
int CartaNumero(Maschera m, int n);
// A card of the set at random.
inline int CartaACaso(Maschera m, Generatore& g) {
    return CartaNumero(m, g.Sotto(Quante(m)));
}

struct Posizione {
    std::array<Maschera, 2> mano{};
    // The covered stock; the next card drawn is mazzo[coperte - 1].
    std::array<std::int8_t, NumeroCarte> mazzo{};
    int coperte = 0;
    int scoperta = -1; // the turned-up trump card, -1 once drawn
    int briscola = 1;
    std::array<int, 2> punti{};
    int guida = 0;     // who leads the trick in progress
    int inTavola = -1; // the card led in it, -1 before the lead

    int AlTurno() const { return inTavola < 0 ? guida : 1 - guida; }
    bool Finita() const { return inTavola < 0 && mano[0] == 0 && mano[1] == 0; }
    // Every card is known from here on: nothing is left to draw.
    bool MazzoFinito() const { return coperte == 0 && scoperta < 0; }

    // The side to move plays `carta`, which must be in its hand. The second
    // card of a trick settles it; the taker draws first, and at the last
    // draw takes the turned-up card while the other side takes the last
    // covered one.
    void Gioca(int carta);
};

// Players that the simulations put in a side's seat.
enum class Modello : std::uint8_t { Casuale, Goloso, Sensato };
inline constexpr int NumeroModelli = 3;

// A sound way to play without looking ahead: take a trick when it pays,
// lead and throw away what costs least. Sees only the hand, the card led and
// the trump suit. Against a player that answers at random a loaded card led
// is seldom punished: `controCaso` leads more freely.
int SceltaSensata(Maschera mano, int guida, int briscola, bool controCaso = false);

// The card that `modello` plays for the side to move.
int SceltaModello(const Posizione& p, Modello modello, Generatore& g);

// How much a final score of side 0 is worth to it: a win is 1, a draw 1/2,
// a loss 0, plus `margine` for each point above 60 over 60.
struct Utilita {
    double margine = 0.1;
    double operator()(int punti0) const {
        const double esito = punti0 > 60 ? 1.0 : punti0 == 60 ? 0.5 : 0.0;
        return esito + margine * (punti0 - 60) / 60.0;
    }
};

// Final points of side 0 when both sides play the best they can from a
// position where every card is placed (alpha-beta).
int PuntiMinimax(const Posizione& p);

// Expected utility of side 0 from a position where every card is placed:
// side 0 plays its best, side 1 plays as `modello` plays, where Sensato
// stands for an opponent that plays its best against side 0.
double ValoreEsatto(const Posizione& p, Modello modello, const Utilita& u);

// Plays on with side 0 playing sensibly against `modello` and side 1 as
// `modello`, until the stock is empty; from there exactly. Returns side 0's
// utility.
double Prosegui(Posizione p, Modello modello, Generatore& g, const Utilita& u);

} // namespace trivanta::sim
