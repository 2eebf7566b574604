#pragma once

#include "Avversario.h"
#include "Random.h"

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

} // namespace trivanta
