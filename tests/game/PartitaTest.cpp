#include "Support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <regex>

namespace trivanta {
namespace {

using test::Conta;

constexpr std::int16_t Posizioni[] = {PosMazzo,     PosManoPc,   PosManoUser, PosPresaPc,
                                      PosPresaUser, PosBriscola, PosTerraPc,  PosTerraUser};

// Strength within a trick, written as the players say it: trumps first, then
// the suit led, each suit ordered 1, 3, 10, 9, 8, 7, 6, 5, 4, 2.
int Forza(int valore, int seme, int semeGuida, int briscola) {
    static constexpr int ordine[] = {1, 3, 10, 9, 8, 7, 6, 5, 4, 2};
    const int rango =
        10 - static_cast<int>(std::find(std::begin(ordine), std::end(ordine), valore) -
                              std::begin(ordine));
    if (seme == briscola) {
        return 200 + rango;
    }
    return seme == semeGuida ? 100 + rango : rango;
}

struct Carta {
    int valore = 0, seme = 0;
};
Carta Trova(const StatoGioco& s, std::int16_t posizione) {
    Carta c;
    for (int v = 1; v <= 10; ++v) {
        for (int seme = 1; seme <= 4; ++seme) {
            if (s.StatoCarte[v][seme] == posizione) {
                c = {v, seme};
            }
        }
    }
    return c;
}

std::string TestoStatus(const StatoGioco& s) {
    return "Carte prese dal PC: " + std::to_string(Conta(s, PosPresaPc)) +
           " Carte prese da USER: " + std::to_string(Conta(s, PosPresaUser));
}

class Partita : public ::testing::Test {
protected:
    test::ScriptedBoxes boxes;
    PcgRandom random{2024, test::fixedClock};
    Briscola gioco{boxes, random};
    StatoGioco& s = gioco.stato();
    const Tavolo& t = gioco.tavolo();

    // Every card has a legal location, and the two rows that hold no card
    // are never written.
    void OgniCartaAlSuoPosto() {
        int totale = 0;
        for (const std::int16_t p : Posizioni) {
            totale += Conta(s, p);
        }
        EXPECT_EQ(totale, 40);
        for (int v = 0; v <= 10; ++v) {
            EXPECT_EQ(s.StatoCarte[v][0], 0);
        }
        for (int seme = 0; seme <= 4; ++seme) {
            EXPECT_EQ(s.StatoCarte[0][seme], 0);
        }
    }

    // What the table shows agrees with the location table.
    void IlTavoloMostraLoStato() {
        const int mano = Conta(s, PosManoUser);
        const int manoPc = Conta(s, PosManoPc);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(t.user[k].visibile, k < mano) << k;
            EXPECT_EQ(t.pc[k].visibile, k < manoPc) << k;
            if (k < mano) {
                EXPECT_EQ(s.StatoCarte[s.ManoUserValore[k]][s.ManoUserSeme[k]], PosManoUser);
                EXPECT_EQ(t.user[k].immagine, NomeImmagine(s.ManoUserValore[k], s.ManoUserSeme[k]));
            }
        }
        EXPECT_LE(std::count(t.Shape2.begin(), t.Shape2.end(), true), 1);
        if (Conta(s, PosBriscola) == 1) {
            const Carta b = Trova(s, PosBriscola);
            EXPECT_EQ(t.cartabriscola.immagine, NomeImmagine(b.valore, b.seme));
        }
    }

    // Counts that hold whenever the user is to play.
    void TraUnaPresaELAltra(int prese) {
        OgniCartaAlSuoPosto();
        IlTavoloMostraLoStato();
        EXPECT_EQ(Conta(s, PosTerraUser), 0);
        EXPECT_TRUE(s.WaitingForUser);
        const int pcHaGiocato = Conta(s, PosTerraPc);
        EXPECT_EQ(s.WaitingForPC, pcHaGiocato == 0);
        EXPECT_EQ(Conta(s, PosPresaPc) + Conta(s, PosPresaUser), 2 * prese);
        EXPECT_EQ(Conta(s, PosPresaPc) % 2, 0);
        const int mano = prese <= 17 ? 3 : 20 - prese;
        EXPECT_EQ(Conta(s, PosManoUser), mano);
        EXPECT_EQ(Conta(s, PosManoPc) + pcHaGiocato, mano);
        EXPECT_EQ(Conta(s, PosMazzo), std::max(0, 33 - 2 * prese));
        EXPECT_EQ(Conta(s, PosBriscola), prese < 17 ? 1 : 0);
        EXPECT_EQ(t.StatusBar1, TestoStatus(s));
        EXPECT_EQ(s.currentindex, 0);
        EXPECT_TRUE(t.Shape2[0]);
        EXPECT_EQ(t.terrapc.immagine,
                  pcHaGiocato ? NomeImmagine(Trova(s, PosTerraPc).valore, Trova(s, PosTerraPc).seme)
                              : std::string());
        EXPECT_EQ(t.terrauser.immagine, "");
    }

    // Plays one game to its score box and gives the answer there.
    void GiocaFinoAllaFine(Answer rispostaFinale, int scelta) {
        int prese = 0;
        int briscola = 0;
        bool fine = false;
        Carta user, pc;
        int guida = 0;
        boxes.whileOpen = [&](const Message& m) {
            if (m.text == "Le carte le prende l'utente" || m.text == "Le carte le prende il PC") {
                // The trick is shown until its box is closed.
                EXPECT_EQ(Conta(s, PosTerraUser), 1);
                EXPECT_EQ(Conta(s, PosTerraPc), 1);
                const Carta giocata = Trova(s, PosTerraUser);
                EXPECT_TRUE(giocata.valore == user.valore && giocata.seme == user.seme);
                const Carta risposta = Trova(s, PosTerraPc);
                if (guida == TurnoPc) {
                    EXPECT_TRUE(risposta.valore == pc.valore && risposta.seme == pc.seme);
                }
                EXPECT_EQ(t.terrauser.immagine, NomeImmagine(user.valore, user.seme));
                EXPECT_EQ(t.terrapc.immagine, NomeImmagine(risposta.valore, risposta.seme));
                const int semeGuida = guida == TurnoUser ? user.seme : risposta.seme;
                const bool vinceUser = Forza(user.valore, user.seme, semeGuida, briscola) >
                                       Forza(risposta.valore, risposta.seme, semeGuida, briscola);
                EXPECT_EQ(m.text,
                          vinceUser ? "Le carte le prende l'utente" : "Le carte le prende il PC");
                EXPECT_EQ(m.title, "Trivanta");
            } else if (m.title == "Fine partita") {
                fine = true;
                EXPECT_EQ(prese, 19) << "the score comes with the twentieth trick";
                EXPECT_EQ(t.StatusBar1, TestoStatus(s));
                EXPECT_EQ(Conta(s, PosPresaPc) + Conta(s, PosPresaUser), 40);
                std::smatch m2;
                ASSERT_TRUE(std::regex_match(
                    m.text, m2,
                    std::regex("Punteggio di questa partita: \r\n\r\nPunti PC=(\\d+)\r\n"
                               "Punti USER=(\\d+)\r\n\r\n(.*)\r\n\r\n"
                               "Vuoi giocare un'altra partita\\?")));
                const int puntiPc = std::stoi(m2[1]);
                const int puntiUser = std::stoi(m2[2]);
                EXPECT_EQ(puntiPc + puntiUser, 120);
                const char* verdetto = puntiPc > puntiUser   ? "Questa partita la vince il PC"
                                       : puntiPc < puntiUser ? "Questa partita la vince l'utente"
                                                             : "Questa partita è patta";
                EXPECT_EQ(m2[3], verdetto);
                EXPECT_EQ(m.buttons, Buttons::YesNo);
                EXPECT_EQ(m.icon, Icon::None);
                boxes.answers.push_front(rispostaFinale);
            }
        };
        briscola = s.SemeBriscola;
        ASSERT_NE(briscola, 0);
        const Carta scoperta = Trova(s, PosBriscola);
        ASSERT_EQ(scoperta.seme, briscola);
        while (!fine) {
            TraUnaPresaELAltra(prese);
            if (HasFailure()) {
                return;
            }
            const int mano = Conta(s, PosManoUser);
            const int slot = (scelta + prese) % mano;
            gioco.user_Click(slot);
            user = {s.ManoUserValore[slot], s.ManoUserSeme[slot]};
            guida = s.WaitingForPC ? TurnoUser : TurnoPc;
            EXPECT_EQ(guida, s.Turno);
            pc = Trova(s, PosTerraPc);
            gioco.giocatautente_Click();
            ++prese;
        }
        EXPECT_EQ(prese, 20);
    }
};

TEST_F(Partita, aWholeGameThenYesDealsAgainFromTheSamePress) {
    gioco.Form_Load();
    ASSERT_EQ(boxes.shown.size(), 1U);
    GiocaFinoAllaFine(Answer::Yes, 0);
    ASSERT_FALSE(HasFailure());

    // After the score: the dealer box of the next game, from the same press.
    const Message& ultimo = boxes.shown.back();
    EXPECT_TRUE(ultimo.text == "Sarai tu a dare carte" || ultimo.text == "Darà carte il computer");
    EXPECT_EQ(boxes.shown[boxes.shown.size() - 2].title, "Fine partita");
    EXPECT_FALSE(s.PartitaFinita);
    EXPECT_FALSE(s.SceltoDiChiudere);
    EXPECT_FALSE(gioco.ChiusuraRichiesta());
    EXPECT_EQ(s.ContaMazzo, 0);
    EXPECT_EQ(t.StatusBar1, "Carte prese dal PC: 0 Carte prese da USER: 0");
    TraUnaPresaELAltra(0);
}

TEST_F(Partita, aWholeGameThenNoSaysGoodbyeAndAsksToClose) {
    gioco.Form_Load();
    GiocaFinoAllaFine(Answer::No, 1);
    ASSERT_FALSE(HasFailure());
    ASSERT_GE(boxes.shown.size(), 2U);
    const Message saluto{"Grazie per aver giocato con Trivanta", std::nullopt, Buttons::Ok,
                         Icon::None};
    EXPECT_EQ(boxes.shown.back(), saluto);
    EXPECT_TRUE(s.SceltoDiChiudere);
    EXPECT_TRUE(s.PartitaFinita);
    EXPECT_TRUE(gioco.ChiusuraRichiesta());
    EXPECT_EQ(Conta(s, PosPresaPc) + Conta(s, PosPresaUser), 40);

    // Later loads do nothing at all.
    const StatoGioco prima = s;
    const Tavolo tavolo = t;
    const auto scatole = boxes.shown.size();
    gioco.Form_Load();
    EXPECT_EQ(boxes.shown.size(), scatole);
    EXPECT_EQ(s.StatoCarte, prima.StatoCarte);
    EXPECT_EQ(s.ContaMazzo, prima.ContaMazzo);
    EXPECT_EQ(t, tavolo);
}

TEST_F(Partita, manySeededGamesKeepEveryInvariant) {
    for (int partita = 0; partita < 30 && !HasFailure(); ++partita) {
        boxes.shown.clear();
        gioco.Form_Load();
        GiocaFinoAllaFine(Answer::Yes, partita);
        boxes.whileOpen = nullptr;
    }
}

TEST_F(Partita, setUpForEitherDealer) {
    bool visto[2] = {false, false};
    for (int i = 0; i < 40 && !(visto[0] && visto[1]); ++i) {
        boxes.shown.clear();
        gioco.Form_Load();
        ASSERT_EQ(boxes.shown.size(), 1U);
        const Message& m = boxes.shown[0];
        EXPECT_EQ(m.title, "Trivanta");
        EXPECT_EQ(m.buttons, Buttons::Ok);
        EXPECT_EQ(m.icon, Icon::None);
        EXPECT_EQ(Conta(s, PosMazzo), 33);
        EXPECT_EQ(Conta(s, PosBriscola), 1);
        EXPECT_EQ(Conta(s, PosManoUser), 3);
        EXPECT_EQ(s.currentindex, 0);
        EXPECT_EQ(t.Shape2, (std::array<bool, 3>{true, false, false}));
        EXPECT_EQ(t.StatusBar1, "Carte prese dal PC: 0 Carte prese da USER: 0");
        if (s.MazziereUser == 1) {
            visto[1] = true;
            EXPECT_EQ(m.text, "Sarai tu a dare carte");
            EXPECT_EQ(s.Turno, TurnoPc);
            EXPECT_EQ(Conta(s, PosManoPc), 2);
            EXPECT_EQ(Conta(s, PosTerraPc), 1);
            EXPECT_FALSE(s.WaitingForPC);
            EXPECT_TRUE(t.pc[1].visibile);
            EXPECT_FALSE(t.pc[2].visibile);
        } else {
            visto[0] = true;
            EXPECT_EQ(m.text, "Darà carte il computer");
            EXPECT_EQ(s.Turno, TurnoUser);
            EXPECT_EQ(Conta(s, PosManoPc), 3);
            EXPECT_TRUE(s.WaitingForPC);
        }
        EXPECT_TRUE(s.WaitingForUser);
    }
    EXPECT_TRUE(visto[0] && visto[1]);
}

TEST_F(Partita, aNewGameInTheMiddleOfATrickStartsFromScratch) {
    // Play until the computer has led a card, then start over.
    gioco.Form_Load();
    gioco.giocatautente_Click();
    for (int i = 0; i < 200 && s.WaitingForPC; ++i) {
        gioco.giocatautente_Click();
    }
    ASSERT_FALSE(s.WaitingForPC);
    ASSERT_GT(Conta(s, PosPresaPc) + Conta(s, PosPresaUser), 0);

    // Answered No: nothing changes.
    const StatoGioco prima = s;
    const Tavolo tavolo = t;
    boxes.shown.clear();
    boxes.answers = {Answer::No};
    gioco.newpart_Click();
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0], (Message{"Sei sicuro di voler interrompere la partita in corso?",
                                       std::string("Sicuro?"), Buttons::YesNo, Icon::None}));
    EXPECT_EQ(s.StatoCarte, prima.StatoCarte);
    EXPECT_EQ(s.Turno, prima.Turno);
    EXPECT_EQ(s.MazziereUser, prima.MazziereUser);
    EXPECT_EQ(t, tavolo);

    // Answered Yes until the user leads, so no computer card lies on the new
    // table: nothing of the old one may show.
    do {
        boxes.shown.clear();
        boxes.answers = {Answer::Yes};
        gioco.newpart_Click();
        ASSERT_EQ(boxes.shown.size(), 2U);
    } while (s.Turno != TurnoUser);
    EXPECT_EQ(s.ContaMazzo, 0);
    EXPECT_EQ(Conta(s, PosPresaPc) + Conta(s, PosPresaUser), 0);
    EXPECT_EQ(Conta(s, PosTerraPc), 0);
    EXPECT_EQ(t.terrapc.immagine, "");
    EXPECT_EQ(t.terrauser.immagine, "");
    TraUnaPresaELAltra(0);
}

TEST_F(Partita, playingAnEmptyPlaceChangesNothing) {
    gioco.Form_Load();
    for (int slot : {-1, 3, 7}) {
        s.currentindex = slot;
        const StatoGioco prima = s;
        const auto scatole = boxes.shown.size();
        gioco.giocatautente_Click();
        EXPECT_EQ(s.StatoCarte, prima.StatoCarte) << slot;
        EXPECT_EQ(boxes.shown.size(), scatole) << slot;
    }
    // A place past the end of the hand holds -1.
    s.currentindex = 0;
    s.ManoUserValore[0] = -1;
    s.ManoUserSeme[0] = -1;
    const StatoGioco prima = s;
    gioco.giocatautente_Click();
    EXPECT_EQ(s.StatoCarte, prima.StatoCarte);
    EXPECT_TRUE(s.WaitingForUser);
}

TEST_F(Partita, aBrokenTurnShowsTheWinnerErrorAndLeavesTheCardsOnTheTable) {
    test::Disponi(s, {{2, 1, PosTerraUser}, {5, 3, PosTerraPc}, {7, 2, PosManoUser}});
    s.SemeBriscola = 4;
    s.Turno = 0;
    s.ContaMazzo = -1;
    gioco.giocatautente_Click();
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0], (Message{"errore imprevisto nel calcolo del winner della calata, "
                                       "contattare l'autore",
                                       std::nullopt, Buttons::Ok, Icon::None}));
    EXPECT_EQ(s.StatoCarte[2][1], PosTerraUser);
    EXPECT_EQ(s.StatoCarte[5][3], PosTerraPc);
    EXPECT_EQ(s.ContaMazzo, -2);
}

TEST_F(Partita, activationClosesOnlyAfterTheUserDeclined) {
    gioco.Form_Load();
    gioco.Form_Activate();
    EXPECT_FALSE(gioco.ChiusuraRichiesta());
    s.SceltoDiChiudere = true;
    gioco.Form_Activate();
    EXPECT_TRUE(gioco.ChiusuraRichiesta());
}

TEST_F(Partita, exitAndAboutLeaveTheGameAlone) {
    gioco.Form_Load();
    const StatoGioco prima = s;
    boxes.shown.clear();
    gioco.Info_Click();
    ASSERT_EQ(boxes.shown.size(), 1U);
    const Message& info = boxes.shown[0];
    EXPECT_EQ(info.title, "Informazioni");
    EXPECT_EQ(info.icon, Icon::Information);
    EXPECT_EQ(info.buttons, Buttons::Ok);
    EXPECT_EQ(info.text.rfind("Trivanta 1.0\r\n\r\nby ", 0), 0U);
    EXPECT_EQ(std::count(info.text.begin(), info.text.end(), '\n'), 4);
    EXPECT_EQ(info.text.find("http"), std::string::npos);
    EXPECT_EQ(s.StatoCarte, prima.StatoCarte);
    EXPECT_FALSE(gioco.ChiusuraRichiesta());
    gioco.esci_Click();
    EXPECT_TRUE(gioco.ChiusuraRichiesta());
    EXPECT_EQ(boxes.shown.size(), 1U);
}

} // namespace
} // namespace trivanta
