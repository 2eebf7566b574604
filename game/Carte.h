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
int PuntiValore(int valore);

// Name of a card's picture: suit letter then value digit ("o1", "s0"), the
// reverse of its code; empty when (valore, seme) is no card.
std::string_view NomeImmagine(int valore, int seme);

// The card whose picture has this name; value and suit 0 for any name that
// is not a card's picture ("vuota" included).
CartaDecodificata CartaDaImmagine(std::string_view nome);

} // namespace trivanta
