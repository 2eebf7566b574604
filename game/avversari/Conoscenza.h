#pragma once

#include "avversari/Maschere.h"

#include <array>
#include <cstdint>

namespace trivanta {

// One finished trick as both players saw it, from one side of the table.
struct PresaVista {
    bool guidavoIo = false; // this side led the trick
    std::int8_t mia = -1;   // the card this side played
    std::int8_t sua = -1;   // the card the other side played

    bool operator==(const PresaVista&) const = default;
};

// Everything one side of the table may know when it is to play, and nothing
// else: an opponent is handed this value, never the game state, so it cannot
// look at the other hand or at the order of the stock.
struct Conoscenza {
    Maschera Mano = 0;                   // this side's hand
    int SemeBriscola = 0;                // the trump suit, for the whole game
    int CartaScoperta = -1;              // the turned-up trump card while it lies there
    int CartaAvversario = -1;            // the other side's card on the table; -1: this side leads
    int CartaMia = -1;                   // this side's own card on the table, if any
    int CarteCoperte = 0;                // covered cards left in the stock
    Maschera PreseMie = 0;               // the cards in this side's pile
    Maschera PreseSue = 0;               // the cards in the other side's pile
    std::array<PresaVista, 20> Storia{}; // the tricks so far, in order
    int NumeroPrese = 0;

    bool operator==(const Conoscenza&) const = default;

    Maschera InTavola() const {
        return (CartaAvversario >= 0 ? Bit(CartaAvversario) : 0) |
               (CartaMia >= 0 ? Bit(CartaMia) : 0);
    }
    // Cards this side has not seen: the other hand and the covered stock.
    Maschera NonViste() const {
        const Maschera scoperta = CartaScoperta >= 0 ? Bit(CartaScoperta) : 0;
        return TutteLeCarte & ~(Mano | PreseMie | PreseSue | InTavola() | scoperta);
    }
    int CarteAvversario() const { return Quante(NonViste()) - CarteCoperte; }
};

} // namespace trivanta
