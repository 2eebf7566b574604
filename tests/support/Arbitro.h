#pragma once

#include "Briscola.h"
#include "Generatori.h"
#include "Scatole.h"

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

namespace trivanta::test {

// A game with scripted boxes and a seeded generator under a frozen clock.
struct Gioco {
    ScatoleScriptate boxes;
    PcgRandom random{2024, OrologioFermo};
    Briscola gioco{boxes, random};
    StatoGioco& s = gioco.stato();
    const Tavolo& t = gioco.tavolo();
};

// How many cards lie at each location code; slot 1, a code no card may hold,
// counts the cards whose code is no location at all.
using Conteggi = std::array<int, 12>;
Conteggi Conta(const StatoGioco& s);
int Conta(const StatoGioco& s, std::int16_t posizione);

struct Carta {
    int valore = 0, seme = 0;
    bool operator==(const Carta&) const = default;
};
// The card of a card number as the computer's players count them: value
// outside, suit inside, from 0.
inline Carta CartaDi(int numero) {
    return {numero / 4 + 1, numero % 4 + 1};
}
// The card at a location, the last in the order of the table; {0, 0} for none.
Carta Trova(const StatoGioco& s, std::int16_t posizione);

// Puts every card at `resto`, then the given cards where asked.
struct Posa {
    int valore, seme;
    std::int16_t dove;
};
void Disponi(StatoGioco& s, std::initializer_list<Posa> carte, std::int16_t resto = PosMazzo);

// The rules as players say them, written apart from the game's code.
namespace oracolo {
int Punti(int valore);
// Whether the card played second takes the trick from the card led.
bool SecondaPrende(Carta guida, Carta seconda, int semeBriscola);
} // namespace oracolo

// Watches a game from outside, as a referee at the table: it follows who
// leads from the dealer's announcement and from each trick's taker by the
// oracle (never from the game's own Turno), and checks every pause between
// tricks and every box against the rules. What it finds goes to `errori`.
class Arbitro {
public:
    std::vector<std::string> errori;
    int partite = 0; // games seen to their score

    // The user is to play: the state and what the table shows.
    void TraLePrese(const StatoGioco& s, const Tavolo& t);
    // A box as the user sees it, with the game as it stands meanwhile.
    void Box(const Message& m, const StatoGioco& s, const Tavolo& t);

private:
    enum class Lato { Ignoto, User, Pc };
    void Atteso(bool ok, const std::string& cosa);
    void ControllaCodici(const StatoGioco& s);
    Lato guida_ = Lato::Ignoto;
    int semeBriscola_ = 0;
    Carta briscola_;               // the turned-up card, as last seen
    std::array<Carta, 2> presa_{}; // the last trick's cards, as its taker was named
};

// Plays the game in progress to its score box through the game's events:
// before the n-th press the user selects slot (scelta + n) of the hand. The
// referee sees every pause and every box; `altra` answers "another game?".
// Returns the presses of "Gioca" it took.
int GiocaPartita(Briscola& gioco, ScatoleScriptate& boxes, Arbitro& arbitro, int scelta,
                 Answer altra);

} // namespace trivanta::test
