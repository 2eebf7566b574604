#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trivanta {

// Where a card is. No other value is ever stored in the location table.
inline constexpr std::int16_t PosMazzo = 0;      // covered deck
inline constexpr std::int16_t PosManoPc = 3;     // computer's hand
inline constexpr std::int16_t PosManoUser = 4;   // user's hand
inline constexpr std::int16_t PosPresaPc = 5;    // computer's pile
inline constexpr std::int16_t PosPresaUser = 6;  // user's pile
inline constexpr std::int16_t PosBriscola = 9;   // turned-up trump card
inline constexpr std::int16_t PosTerraPc = 10;   // played by the computer
inline constexpr std::int16_t PosTerraUser = 11; // played by the user

// Who leads a trick, and who took it.
inline constexpr int TurnoUser = 1;
inline constexpr int TurnoPc = 2;

inline constexpr int NumeroValori = 10; // values 1..10
inline constexpr int NumeroSemi = 4;    // suits 1..4: ori, spade, coppe, bastoni

// Decimal text of n, without blanks.
std::string NumeroInTesto(long n);

// Card code: value digit ("0" for 10) followed by the suit letter; a suit
// outside 1..4 adds no letter.
std::string CodificaCarta(int valore, int seme);

struct CartaDecodificata {
    std::int16_t valore = 0;
    std::int16_t seme = 0;
};

// Reads a card code back. Only its first and last character count; what does
// not decode gives 0, so a bad code addresses the unused row and column of
// the location table and never reaches outside it.
CartaDecodificata DecodificaCodice(std::string_view codice);

// Points of a card by its value: 11, 10, 4, 3, 2 for 1, 3, 10, 9, 8.
constexpr int PuntiValore(int valore) {
    switch (valore) {
    case 1:
        return 11;
    case 3:
        return 10;
    case 10:
        return 4;
    case 9:
        return 3;
    case 8:
        return 2;
    default:
        return 0;
    }
}

// How two cards of a trick compare. Nessuna: neither is a trump and the
// suits differ, so the card led takes the trick whichever it is.
enum class Esito { Prima, Seconda, Nessuna };

// The rule of a trick, in one place for the game and for the computer's
// simulations. A trump beats any other card; two trumps or two cards of one
// suit go to the one with more points, then to the higher value. Suit 0 (a
// code that did not decode) is never a trump.
constexpr Esito Confronta(int valorePrima, int semePrima, int valoreSeconda, int semeSeconda,
                          int semeBriscola) {
    const bool briscolaPrima = semePrima != 0 && semePrima == semeBriscola;
    const bool briscolaSeconda = semeSeconda != 0 && semeSeconda == semeBriscola;
    if (briscolaPrima != briscolaSeconda) {
        return briscolaPrima ? Esito::Prima : Esito::Seconda;
    }
    if (briscolaPrima || semePrima == semeSeconda) {
        const int puntiPrima = PuntiValore(valorePrima);
        const int puntiSeconda = PuntiValore(valoreSeconda);
        if (puntiPrima != puntiSeconda) {
            return puntiPrima > puntiSeconda ? Esito::Prima : Esito::Seconda;
        }
        return valoreSeconda > valorePrima ? Esito::Seconda : Esito::Prima;
    }
    return Esito::Nessuna;
}

// Name of a card's picture: suit letter then value digit ("o1", "s0"), the
// reverse of its code; empty when (valore, seme) is no card.
std::string_view NomeImmagine(int valore, int seme);

// The card whose picture has this name; value and suit 0 for any name that
// is not a card's picture ("vuota" included).
CartaDecodificata CartaDaImmagine(std::string_view nome);

} // namespace trivanta
