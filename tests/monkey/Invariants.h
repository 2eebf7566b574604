#pragma once

// What must hold after every event of a random run, checked against the game
// state and against the widgets as the window shows them.
#include "MainWindow.h"

#include <QPoint>
#include <QSize>
#include <QStringList>
#include <array>
#include <map>

namespace trivanta::monkey {

// How many cards lie at each location code 0..11.
using Conteggi = std::array<int, 12>;
Conteggi conta(const StatoGioco& s);

// Every card has one valid location, and the row and column that hold no
// card were never written. Holds at every moment, inside a handler too.
QStringList controllaCodici(const StatoGioco& s);

// The state between two events: the trick not yet begun or led by the
// computer, hands and stock in step with the number of tricks taken, the
// user's hand listed in order, one card selected.
QStringList controllaStato(const StatoGioco& s);

// The table value the game keeps for the window agrees with the state.
QStringList controllaTavolo(const StatoGioco& s, const Tavolo& t);

// Where every control was when the window was built; nothing may move.
struct Forma {
    std::map<QString, QPoint> posizioni;
    QSize finestra;
};
Forma rilevaForma(MainWindow& w);

// The widgets show what the table value says; with pixels, the card places
// are also grabbed and compared with the pictures they claim to show.
QStringList controllaFinestra(MainWindow& w, const Forma& forma, bool pixels);

// A box as it comes up, against the state at that moment.
QStringList controllaBox(const StatoGioco& s, const Tavolo& t, const Message& m);

} // namespace trivanta::monkey
