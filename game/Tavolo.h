#pragma once

#include <array>
#include <string>
#include <string_view>

namespace trivanta {

// The picture of an empty place, also the back of the computer's cards.
inline constexpr const char* Vuota = "vuota";

// One card place of the window: which picture of the store it shows (its
// two-character name such as "o1", "vuota", or empty for no picture) and
// whether it is shown at all.
struct Posto {
    std::string immagine = Vuota;
    bool visibile = true;

    bool operator==(const Posto&) const = default;
};

// Everything the window shows that the game decides. The window renders this
// value and nothing else; it starts as the window looks before the first game.
struct Tavolo {
    std::array<Posto, 3> user;
    std::array<Posto, 3> pc;
    Posto terrauser;
    Posto terrapc;
    Posto cartabriscola;
    std::array<bool, 3> Shape2{true, true, true}; // red markers around user(i)
    std::string StatusBar1;

    bool operator==(const Tavolo&) const = default;
};

// What a screen reader says for a place that shows the picture immagine:
// "7 di ori", "asso di spade". The picture "vuota" is a covered card in the
// computer's hand and an empty place anywhere else, as is no picture at all.
std::string NomeAccessibile(std::string_view immagine, bool manoPc = false);

// What a screen reader hears of one control: its name and what it is.
struct Accessibile {
    std::string nome;
    std::string descrizione;

    bool operator==(const Accessibile&) const = default;
};

// The names and descriptions of the table's places and of the status bar,
// for every view that renders the table: "7 di ori" in "la tua mano, posto 1,
// scelta", "briscola: asso di spade", "barra di stato: Carte prese ...".
struct TavoloAccessibile {
    std::array<Accessibile, 3> user;
    std::array<Accessibile, 3> pc;
    Accessibile terrauser;
    Accessibile terrapc;
    Accessibile cartabriscola;
    Accessibile StatusBar1;
};
TavoloAccessibile DescriviTavolo(const Tavolo& tavolo);

} // namespace trivanta
