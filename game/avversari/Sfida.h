#pragma once

#include "Random.h"
#include "avversari/Avversario.h"

#include <array>
#include <cstdint>

namespace trivanta {

// How one game between two opponents ended.
struct EsitoSfida {
    int PuntiUser = 0;
    int PuntiPc = 0;
    int Prese = 0;         // tricks played
    bool Completa = false; // the game reached its score box
};

// Plays one whole game through the rules the window uses: the user's seat
// clicks the card that `user` names and presses "Gioca", the computer's
// seat plays through `pc`; every box is answered OK, and No to another game.
// Each side is asked with the knowledge of its own seat only. The deal and
// the stock come from `random` alone, so two games over generators seeded
// alike get the same cards whoever plays them.
EsitoSfida GiocaSfida(Avversario& user, Avversario& pc, Random& random);

// One deal played twice, `a` at the user's seat first, then the seats
// swapped. Both plays get the same cards: each runs over a generator seeded
// with `seme` and reseeded from a counter (ContatoreReseed), from which no
// player draws. A random player must bring its own generator.
std::array<EsitoSfida, 2> GiocaSmazzata(Avversario& a, Avversario& b, std::uint64_t seme);

} // namespace trivanta
