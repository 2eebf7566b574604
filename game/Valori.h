#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trivanta {

// The values that choose the computer's player and fix the seed of a run, as
// the command line and the page's address give them: what is valid, and the
// words that name a mistake, in one place for every view.

// "casuale" or "esperto": whether the computer plays as the expert; none for
// any other name.
std::optional<bool> LeggiAvversario(std::string_view nome);

// Digits alone, from 0 to 2^64-1: no sign, no blank, nothing that a reader
// of numbers might take some other way.
std::optional<std::uint64_t> LeggiSeme(std::string_view testo);

// A mistake and the valid values in one line: "seme non valido: -1; valori
// validi: gli interi da 0 a 18446744073709551615".
std::string Sbaglio(std::string_view cosa, std::string_view valide);
std::string SbaglioAvversario(std::string_view nome);
std::string SbaglioSeme(std::string_view testo);

} // namespace trivanta
