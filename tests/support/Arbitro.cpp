#include "Arbitro.h"

#include "Testi.h"

#include <algorithm>

namespace trivanta::test {

namespace {

template <typename F> void PerOgniCarta(F&& f) {
    for (int v = 1; v <= 10; ++v) {
        for (int m = 1; m <= 4; ++m) {
            f(v, m);
        }
    }
}

// Where Conteggi counts a location code: the deck, the hands, the piles, the
// trump card and the table at their own codes, anything else at 1.
std::size_t Indice(int p) {
    return p >= 0 && p <= 11 && (0b1110'0111'1001 >> p & 1) != 0 ? static_cast<std::size_t>(p) : 1;
}

std::string Nome(Carta c) {
    return std::string(NomeImmagine(c.valore, c.seme));
}

// The status bar's text for these counts.
std::string TestoStatus(const Conteggi& n) {
    return testi::CartePresePc + std::to_string(n[PosPresaPc]) + testi::CartePreseUser +
           std::to_string(n[PosPresaUser]);
}

} // namespace

Conteggi Conta(const StatoGioco& s) {
    Conteggi n{};
    PerOgniCarta([&](int v, int m) { ++n[Indice(s.StatoCarte[v][m])]; });
    return n;
}

int Conta(const StatoGioco& s, std::int16_t posizione) {
    return Conta(s)[static_cast<std::size_t>(posizione)];
}

Carta Trova(const StatoGioco& s, std::int16_t posizione) {
    Carta c;
    PerOgniCarta([&](int v, int m) { c = s.StatoCarte[v][m] == posizione ? Carta{v, m} : c; });
    return c;
}

void Disponi(StatoGioco& s, std::initializer_list<Posa> carte, std::int16_t resto) {
    PerOgniCarta([&](int v, int m) { s.StatoCarte[v][m] = resto; });
    for (const Posa& p : carte) {
        s.StatoCarte[p.valore][p.seme] = p.dove;
    }
}

namespace oracolo {

int Punti(int valore) {
    // Ace 11, three 10, king 4, horseman 3, jack 2, the rest nothing.
    constexpr int punti[] = {0, 11, 0, 10, 0, 0, 0, 0, 2, 3, 4};
    return valore >= 1 && valore <= 10 ? punti[valore] : 0;
}

bool SecondaPrende(Carta guida, Carta seconda, int semeBriscola) {
    if (seconda.seme != guida.seme) {
        return seconda.seme == semeBriscola;
    }
    // From the weakest card of a suit to the strongest.
    constexpr int ordine[] = {2, 4, 5, 6, 7, 8, 9, 10, 3, 1};
    const auto rango = [&](int valore) { return std::find(ordine, ordine + 10, valore) - ordine; };
    return rango(seconda.valore) > rango(guida.valore);
}

} // namespace oracolo

void Arbitro::Atteso(bool ok, const std::string& cosa) {
    if (!ok) {
        errori.push_back(cosa);
    }
}

void Arbitro::ControllaCodici(const StatoGioco& s) {
    // Row 0 and column 0 hold no card: a code that did not decode lands there.
    int fuori = Conta(s)[1];
    for (int i = 0; i <= 10; ++i) {
        fuori += (s.StatoCarte[i][0] != PosMazzo) + (i <= 4 && s.StatoCarte[0][i] != PosMazzo);
    }
    Atteso(fuori == 0, std::to_string(fuori) + " entries of the table hold no location");
}

void Arbitro::TraLePrese(const StatoGioco& s, const Tavolo& t) {
    ControllaCodici(s);
    const Conteggi n = Conta(s);
    const int prese = (n[PosPresaPc] + n[PosPresaUser]) / 2;
    const int mano = std::min(3, 20 - prese);
    const Carta briscola = Trova(s, PosBriscola);
    if (briscola.seme != 0) {
        Atteso(semeBriscola_ == 0 || semeBriscola_ == briscola.seme, "the trump suit changed");
        semeBriscola_ = briscola.seme;
        briscola_ = briscola;
    } else if (prese == 17 && guida_ != Lato::Ignoto && briscola_.seme != 0) {
        // The last draw gave the turned-up card to the taker, who leads now.
        const int dove = s.StatoCarte[briscola_.valore][briscola_.seme];
        Atteso(guida_ == Lato::Pc ? dove == PosManoPc || dove == PosTerraPc : dove == PosManoUser,
               "the turned-up card did not go to the last draw's taker");
    }
    // Both cards of the last trick lie in the pile of the side named its taker.
    for (const Carta c : presa_) {
        Atteso(c.seme == 0 || s.StatoCarte[c.valore][c.seme] ==
                                  (guida_ == Lato::User ? PosPresaUser : PosPresaPc),
               "the last trick is not in its taker's pile");
    }
    std::vector<std::string> manoUser;
    PerOgniCarta([&](int v, int m) {
        if (s.StatoCarte[v][m] == PosManoUser) {
            manoUser.emplace_back(NomeImmagine(v, m));
        }
    });
    const auto segnato = static_cast<std::size_t>(std::clamp(s.currentindex, 0, 2));
    const std::pair<bool, const char*> regole[] = {
        {n[PosTerraUser] == 0, "a user's card lies on the table between tricks"},
        {n[PosTerraPc] == (s.Turno == TurnoPc ? 1 : 0), "the computer's card lies there unled"},
        {guida_ == Lato::Ignoto || n[PosTerraPc] == (guida_ == Lato::Pc ? 1 : 0),
         "the computer's card on the table, and the taker of the last trick, disagree"},
        {s.WaitingForUser && s.WaitingForPC == (n[PosTerraPc] == 0), "waiting for the wrong side"},
        {!s.PartitaFinita && !s.SceltoDiChiudere, "a finished game is still on the table"},
        {n[PosPresaPc] % 2 == 0 && n[PosPresaUser] % 2 == 0, "a pile that no tricks give"},
        {n[PosManoUser] == mano, "the user's hand against the tricks played"},
        {n[PosManoPc] + n[PosTerraPc] == mano, "the computer's hand against the tricks played"},
        {n[PosMazzo] + n[PosBriscola] == std::max(0, 34 - 2 * prese), "the stock, against them"},
        {n[PosBriscola] == (prese <= 16 ? 1 : 0), "the trump card, against them"},
        {s.currentindex >= 0 && s.currentindex < mano, "the selected place is out of the hand"},
        {t.Shape2[segnato] && std::count(t.Shape2.begin(), t.Shape2.end(), true) == 1,
         "the marker is not on the selected card alone"},
        {t.StatusBar1 == TestoStatus(n), "the status bar does not count the piles"},
        {t.terrauser.immagine.empty() && t.terrapc.immagine == Nome(Trova(s, PosTerraPc)),
         "the table places do not show the cards on the table"},
        {t.cartabriscola.immagine == Nome(briscola),
         "the trump place does not show the trump card"},
    };
    for (const auto& [ok, cosa] : regole) {
        Atteso(ok, cosa);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        // The hand shows sorted by value, then suit, from the left, with no
        // gaps, and each place plays the card it shows.
        const bool tiene = k < manoUser.size();
        Atteso(
            t.user[k].visibile == tiene &&
                (!tiene || (t.user[k].immagine == manoUser[k] &&
                            NomeImmagine(s.ManoUserValore[k], s.ManoUserSeme[k]) == manoUser[k])),
            "user(" + std::to_string(k) + ") does not show and play the hand in order");
        Atteso(t.pc[k] == Posto{Vuota, static_cast<int>(k) < n[PosManoPc]},
               "pc(" + std::to_string(k) + ") does not show the covered hand");
    }
}

void Arbitro::Box(const Message& m, const StatoGioco& s, const Tavolo& t) {
    ControllaCodici(s);
    const Conteggi n = Conta(s);
    const bool annuncio = m.buttons == Buttons::Ok && m.icon == Icon::None &&
                          m.title.value_or(testi::TitoloFinestra) == testi::TitoloFinestra;
    if (m.text == testi::DaraCarteUser || m.text == testi::DaraCartePc) {
        const bool user = m.text == testi::DaraCarteUser;
        Atteso(annuncio && user == (s.MazziereUser == 1), "the dealer's box, or not the dealer");
        // Whoever does not deal leads the first trick.
        guida_ = user ? Lato::Pc : Lato::User;
        semeBriscola_ = 0;
        briscola_ = {};
        presa_ = {};
    } else if (m.text == testi::PrendeUtente || m.text == testi::PrendePc) {
        const Carta user = Trova(s, PosTerraUser), pc = Trova(s, PosTerraPc);
        Atteso(annuncio && n[PosTerraPc] == 1 && n[PosTerraUser] == 1,
               "the taker's box, or the taker named without both cards on the table");
        Atteso(t.terrauser.immagine == Nome(user) && t.terrapc.immagine == Nome(pc),
               "the trick's cards are not on screen while the taker is named");
        if (guida_ != Lato::Ignoto && semeBriscola_ != 0) {
            const bool pcGuida = guida_ == Lato::Pc;
            const bool userPrende = oracolo::SecondaPrende(pcGuida ? pc : user, pcGuida ? user : pc,
                                                           semeBriscola_) == pcGuida;
            Atteso(m.text == (userPrende ? testi::PrendeUtente : testi::PrendePc),
                   "'" + m.text + "' for " + Nome(user) + " against " + Nome(pc) +
                       (pcGuida ? ", the computer's led" : ", the user's led"));
        }
        guida_ = m.text == testi::PrendeUtente ? Lato::User : Lato::Pc;
        presa_ = {user, pc};
    } else if (m.title == testi::TitoloFinePartita) {
        ++partite;
        int pc = 0, user = 0;
        PerOgniCarta([&](int v, int m) {
            pc += s.StatoCarte[v][m] == PosPresaPc ? oracolo::Punti(v) : 0;
            user += s.StatoCarte[v][m] == PosPresaUser ? oracolo::Punti(v) : 0;
        });
        const std::string a = testi::FineRiga;
        const char* verdetto = pc > user   ? testi::VincePc
                               : pc < user ? testi::VinceUtente
                                           : testi::Patta;
        Atteso(m.text == testi::Punteggio + a + a + testi::PuntiPc + std::to_string(pc) + a +
                             testi::PuntiUser + std::to_string(user) + a + a + verdetto + a + a +
                             testi::AltraPartita,
               "the score box reads '" + m.text + "'");
        Atteso(pc + user == 120 && n[PosPresaPc] + n[PosPresaUser] == 40 &&
                   m.buttons == Buttons::YesNo && m.icon == Icon::None,
               "the score box is not of the whole deck, or not a question");
        Atteso(t.StatusBar1 == TestoStatus(n), "the status bar is behind the score");
        Atteso(!t.Shape2[0] && !t.Shape2[1] && !t.Shape2[2], "a marker around the empty hand");
    } else if (m.text == testi::ErroreVincitore) {
        errori.emplace_back("a trick had no winner");
    }
}

int GiocaPartita(Briscola& gioco, ScatoleScriptate& boxes, Arbitro& arbitro, int scelta,
                 Answer altra) {
    const StatoGioco& s = gioco.stato();
    bool finita = false;
    boxes.mentreAperta = [&](const Message& m) {
        arbitro.Box(m, s, gioco.tavolo());
        if (m.title == testi::TitoloFinePartita) {
            finita = true;
            boxes.risposte.push_front(altra);
        }
    };
    int premute = 0;
    for (; !finita && premute < 25 && arbitro.errori.empty(); ++premute) {
        arbitro.TraLePrese(s, gioco.tavolo());
        gioco.user_Click((scelta + premute) % std::max(Conta(s, PosManoUser), 1));
        gioco.giocatautente_Click();
    }
    boxes.mentreAperta = nullptr;
    return premute;
}

} // namespace trivanta::test
