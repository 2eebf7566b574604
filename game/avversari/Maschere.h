#pragma once

#include "Carte.h"

#include <array>
#include <bit>
#include <cstdint>

namespace trivanta {

// A set of cards, one bit each. Card i is (i / 4 + 1, i % 4 + 1): the bits
// rise in the order in which every rule scans the table, value outside and
// suit inside, so the lowest bit of a set is the card such a scan meets first.
using Maschera = std::uint64_t;

inline constexpr int NumeroCarte = NumeroValori * NumeroSemi;
inline constexpr Maschera TutteLeCarte = (Maschera{1} << NumeroCarte) - 1;

constexpr int IndiceCarta(int valore, int seme) {
    return (valore - 1) * NumeroSemi + (seme - 1);
}
constexpr int ValoreIndice(int i) {
    return i / NumeroSemi + 1;
}
constexpr int SemeIndice(int i) {
    return i % NumeroSemi + 1;
}
constexpr Maschera Bit(int i) {
    return Maschera{1} << i;
}
constexpr bool Contiene(Maschera m, int i) {
    return ((m >> i) & 1U) != 0;
}
constexpr int Quante(Maschera m) {
#ifdef __POPCNT__
    return std::popcount(m);
#else
    // Without the instruction std::popcount is a library call, and the
    // simulations count small sets millions of times a decision.
    m -= (m >> 1) & 0x5555555555555555ULL;
    m = (m & 0x3333333333333333ULL) + ((m >> 2) & 0x3333333333333333ULL);
    m = (m + (m >> 4)) & 0x0f0f0f0f0f0f0f0fULL;
    return static_cast<int>((m * 0x0101010101010101ULL) >> 56);
#endif
}
constexpr int Prima(Maschera m) {
    return std::countr_zero(m);
}

constexpr int PuntiIndice(int i) {
    return PuntiValore(ValoreIndice(i));
}

// Strength within a suit, 0 for the 2 up to 9 for the 1: more points first,
// then the higher value.
constexpr int ForzaIndice(int i) {
    constexpr std::array<int, NumeroValori + 1> forza{0, 9, 0, 8, 1, 2, 3, 4, 5, 6, 7};
    return forza[static_cast<std::size_t>(ValoreIndice(i))];
}

// The points of every card of a set.
constexpr int PuntiDi(Maschera m) {
    int punti = 0;
    for (; m != 0; m &= m - 1) {
        punti += PuntiIndice(Prima(m));
    }
    return punti;
}

// For each trump suit and each card led, the answers that take the trick;
// built from Confronta, the rule the game itself uses.
struct TabellaPrese {
    std::array<std::array<Maschera, NumeroCarte>, NumeroSemi + 1> battono{};

    constexpr TabellaPrese() {
        // Suit 0 stands for no trump at all, as Confronta reads it.
        for (int b = 0; b <= NumeroSemi; ++b) {
            for (int g = 0; g < NumeroCarte; ++g) {
                Maschera m = 0;
                for (int r = 0; r < NumeroCarte; ++r) {
                    if (r != g && Confronta(ValoreIndice(g), SemeIndice(g), ValoreIndice(r),
                                            SemeIndice(r), b) == Esito::Seconda) {
                        m |= Bit(r);
                    }
                }
                battono[static_cast<std::size_t>(b)][static_cast<std::size_t>(g)] = m;
            }
        }
    }
    // The answers to `guida` that take the trick when `briscola` is trumps.
    constexpr Maschera Battono(int briscola, int guida) const {
        return battono[static_cast<std::size_t>(briscola)][static_cast<std::size_t>(guida)];
    }
};

inline constexpr TabellaPrese Prese{};

// Does the answer take the trick from the card led?
constexpr bool RispostaPrende(int briscola, int guida, int risposta) {
    return Contiene(Prese.Battono(briscola, guida), risposta);
}

} // namespace trivanta
