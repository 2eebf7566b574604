#include "Support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <regex>

namespace trivanta {
namespace {

using test::Conta;

struct Carta {
    int valore = 0, seme = 0;
    bool operator==(const Carta&) const = default;
};

Carta Trova(const StatoGioco& s, std::int16_t posizione) {
    Carta c;
    for (int i = 0; i < 40; ++i) {
        if (s.StatoCarte[i / 4 + 1][i % 4 + 1] == posizione) {
            c = {i / 4 + 1, i % 4 + 1};
        }
    }
    return c;
}

// Strength within a trick as players say it: trumps, then the suit led,
// each suit ordered 1, 3, 10, 9, 8, 7, 6, 5, 4, 2.
int Forza(Carta c, int semeGuida, int briscola) {
    const int ordine[] = {2, 4, 5, 6, 7, 8, 9, 10, 3, 1};
    const int rango = static_cast<int>(std::find(std::begin(ordine), std::end(ordine), c.valore) -
                                       std::begin(ordine));
    return (c.seme == briscola ? 200 : c.seme == semeGuida ? 100 : 0) + rango;
}

class Partita : public ::testing::Test, protected test::Gioco {
protected:
    // What holds whenever the user is to play, `prese` tricks into a game.
    void TraLePrese(int prese) {
        int carte = 0;
        for (const std::int16_t p : {PosMazzo, PosManoPc, PosManoUser, PosPresaPc, PosPresaUser,
                                     PosBriscola, PosTerraPc, PosTerraUser}) {
            carte += Conta(s, p);
        }
        EXPECT_EQ(carte, 40) << "a card with no legal location";
        const int pcHaGiocato = Conta(s, PosTerraPc);
        const int mano = prese <= 17 ? 3 : 20 - prese;
        EXPECT_EQ(Conta(s, PosTerraUser), 0);
        EXPECT_EQ(Conta(s, PosManoUser), mano);
        EXPECT_EQ(Conta(s, PosManoPc) + pcHaGiocato, mano);
        EXPECT_EQ(Conta(s, PosMazzo), std::max(0, 33 - 2 * prese));
        EXPECT_EQ(Conta(s, PosBriscola), prese < 17 ? 1 : 0);
        EXPECT_EQ(Conta(s, PosPresaPc) + Conta(s, PosPresaUser), 2 * prese);
        EXPECT_TRUE(s.WaitingForUser);
        EXPECT_EQ(s.WaitingForPC, pcHaGiocato == 0);
        EXPECT_EQ(pcHaGiocato == 1, s.Turno == TurnoPc) << "only the computer leads its tricks";
        // The table shows the state.
        for (std::size_t k = 0; k < 3; ++k) {
            EXPECT_EQ(t.user[k].visibile, static_cast<int>(k) < mano);
            EXPECT_EQ(t.pc[k].visibile, static_cast<int>(k) < Conta(s, PosManoPc));
            if (static_cast<int>(k) < mano) {
                EXPECT_EQ(t.user[k].immagine, NomeImmagine(s.ManoUserValore[k], s.ManoUserSeme[k]));
            }
        }
        EXPECT_EQ(t.Shape2, (std::array<bool, 3>{true, false, false}));
        const Carta pc = Trova(s, PosTerraPc);
        EXPECT_EQ(t.terrapc.immagine, NomeImmagine(pc.valore, pc.seme));
        EXPECT_EQ(t.terrauser.immagine, "");
        EXPECT_EQ(t.StatusBar1, TestoStatus());
    }

    std::string TestoStatus() const {
        return "Carte prese dal PC: " + std::to_string(Conta(s, PosPresaPc)) +
               " Carte prese da USER: " + std::to_string(Conta(s, PosPresaUser));
    }

    // Plays a whole game, checking every trick and the score box, and gives
    // `fine` as the answer to "another game?".
    void Gioca(Answer fine, int scelta) {
        const int briscola = s.SemeBriscola;
        ASSERT_EQ(Trova(s, PosBriscola).seme, briscola);
        int prese = 0;
        bool finita = false;
        Carta user, pc;
        bool pcGuida = false;
        boxes.whileOpen = [&](const Message& m) {
            if (m.title == "Fine partita") {
                finita = true;
                std::smatch punti;
                ASSERT_TRUE(std::regex_match(
                    m.text, punti,
                    std::regex("Punteggio di questa partita: \r\n\r\nPunti PC=(\\d+)\r\n"
                               "Punti USER=(\\d+)\r\n\r\n(.*)\r\n\r\nVuoi giocare un'altra "
                               "partita\\?")));
                const int p = std::stoi(punti[1]), u = std::stoi(punti[2]);
                EXPECT_EQ(p + u, 120);
                EXPECT_EQ(punti[3], p > u   ? "Questa partita la vince il PC"
                                    : p < u ? "Questa partita la vince l'utente"
                                            : "Questa partita è patta");
                EXPECT_EQ(prese, 19);
                EXPECT_EQ(t.StatusBar1, TestoStatus()); // refreshed before the score
                boxes.answers.push_front(fine);
                return;
            }
            if (m.text != "Le carte le prende l'utente" && m.text != "Le carte le prende il PC") {
                return; // the farewell, or the next game's dealer
            }
            // The taker's box: both cards still on the table and on screen.
            ASSERT_EQ(Trova(s, PosTerraUser), user);
            if (pc.valore == 0) {
                pc = Trova(s, PosTerraPc);
            }
            ASSERT_EQ(Trova(s, PosTerraPc), pc);
            EXPECT_EQ(t.terrauser.immagine, NomeImmagine(user.valore, user.seme));
            EXPECT_EQ(t.terrapc.immagine, NomeImmagine(pc.valore, pc.seme));
            const int guida = pcGuida ? pc.seme : user.seme;
            EXPECT_EQ(m.text, Forza(user, guida, briscola) > Forza(pc, guida, briscola)
                                  ? "Le carte le prende l'utente"
                                  : "Le carte le prende il PC");
            EXPECT_EQ(m.title, "Trivanta");
        };
        while (!finita && !HasFailure()) {
            TraLePrese(prese);
            const int slot = (scelta + prese) % Conta(s, PosManoUser);
            gioco.user_Click(slot);
            user = {s.ManoUserValore[slot], s.ManoUserSeme[slot]};
            pc = Trova(s, PosTerraPc);
            pcGuida = pc.valore != 0;
            gioco.giocatautente_Click();
            ++prese;
        }
        EXPECT_EQ(prese, 20);
        boxes.whileOpen = nullptr;
    }
};

TEST_F(Partita, wholeGamesThenYesDealsAgainFromTheSamePress) {
    gioco.Form_Load();
    for (int partita = 0; partita < 30 && !HasFailure(); ++partita) {
        boxes.shown.clear();
        Gioca(Answer::Yes, partita);
        const auto n = boxes.shown.size();
        ASSERT_GE(n, 2U);
        EXPECT_EQ(boxes.shown[n - 2].title, "Fine partita");
        EXPECT_TRUE(boxes.shown[n - 1].text == "Sarai tu a dare carte" ||
                    boxes.shown[n - 1].text == "Darà carte il computer");
        EXPECT_FALSE(s.PartitaFinita || s.SceltoDiChiudere || gioco.ChiusuraRichiesta());
        EXPECT_EQ(s.ContaMazzo, 0);
    }
}

TEST_F(Partita, aWholeGameThenNoSaysGoodbyeAndNothingStartsAgain) {
    gioco.Form_Load();
    Gioca(Answer::No, 1);
    EXPECT_EQ(boxes.shown.back(), (Message{"Grazie per aver giocato con Trivanta", std::nullopt,
                                           Buttons::Ok, Icon::None}));
    EXPECT_TRUE(s.SceltoDiChiudere && s.PartitaFinita && gioco.ChiusuraRichiesta());
    const auto carte = s.StatoCarte;
    const Tavolo tavolo = t;
    const auto scatole = boxes.shown.size();
    gioco.Form_Load();
    EXPECT_EQ(boxes.shown.size(), scatole);
    EXPECT_EQ(s.StatoCarte, carte);
    EXPECT_EQ(t, tavolo);
}

TEST_F(Partita, eitherDealerIsAnnouncedAndTheOtherSideLeads) {
    bool visto[2] = {false, false};
    for (int i = 0; i < 40 && !(visto[0] && visto[1]); ++i) {
        boxes.shown.clear();
        gioco.Form_Load();
        ASSERT_EQ(boxes.shown.size(), 1U);
        const bool user = s.MazziereUser == 1;
        visto[user] = true;
        EXPECT_EQ(boxes.shown[0],
                  (Message{user ? "Sarai tu a dare carte" : "Darà carte il computer",
                           std::string("Trivanta"), Buttons::Ok, Icon::None}));
        EXPECT_EQ(s.Turno, user ? TurnoPc : TurnoUser);
        TraLePrese(0);
    }
    EXPECT_TRUE(visto[0] && visto[1]);
}

TEST_F(Partita, newGameAnsweredNoChangesNothingYesStartsFromScratch) {
    gioco.Form_Load();
    gioco.giocatautente_Click();
    while (s.WaitingForPC) { // until the computer has led a card
        gioco.giocatautente_Click();
    }
    const auto carte = s.StatoCarte;
    const Tavolo tavolo = t;
    boxes.shown.clear();
    boxes.answers = {Answer::No};
    gioco.newpart_Click();
    EXPECT_EQ(boxes.shown,
              (std::vector<Message>{{"Sei sicuro di voler interrompere la partita "
                                     "in corso?",
                                     std::string("Sicuro?"), Buttons::YesNo, Icon::None}}));
    EXPECT_EQ(s.StatoCarte, carte);
    EXPECT_EQ(t, tavolo);
    // Yes until the user leads: no card of the old table may show.
    do {
        gioco.newpart_Click();
    } while (s.Turno != TurnoUser);
    EXPECT_EQ(t.terrapc.immagine, "");
    TraLePrese(0);
}

TEST_F(Partita, pressesThatCannotPlayChangeNothing) {
    gioco.Form_Load();
    for (int slot : {-1, 3, 7, 0}) {
        s.currentindex = slot;
        if (slot == 0) { // a place past the end of the hand holds -1
            s.ManoUserValore[0] = s.ManoUserSeme[0] = -1;
        }
        const auto carte = s.StatoCarte;
        const auto scatole = boxes.shown.size();
        gioco.giocatautente_Click();
        EXPECT_EQ(s.StatoCarte, carte) << slot;
        EXPECT_EQ(boxes.shown.size(), scatole) << slot;
    }
}

TEST_F(Partita, aBrokenTurnShowsTheWinnerErrorAndLeavesTheCardsOnTheTable) {
    test::Disponi(s, {{2, 1, PosTerraUser}, {5, 3, PosTerraPc}});
    s.SemeBriscola = 4;
    s.Turno = 0;
    s.ContaMazzo = -1;
    gioco.giocatautente_Click();
    EXPECT_EQ(boxes.shown, (std::vector<Message>{{"errore imprevisto nel calcolo del winner della "
                                                  "calata, contattare l'autore",
                                                  std::nullopt, Buttons::Ok, Icon::None}}));
    EXPECT_EQ(s.StatoCarte[2][1], PosTerraUser);
    EXPECT_EQ(s.StatoCarte[5][3], PosTerraPc);
}

TEST_F(Partita, activationAboutAndExit) {
    gioco.Form_Load();
    gioco.Form_Activate();
    EXPECT_FALSE(gioco.ChiusuraRichiesta());
    boxes.shown.clear();
    gioco.Info_Click();
    ASSERT_EQ(boxes.shown.size(), 1U);
    const Message& info = boxes.shown[0];
    EXPECT_EQ(info.title, "Informazioni");
    EXPECT_EQ(info.icon, Icon::Information);
    EXPECT_EQ(info.text.rfind("Trivanta 1.0\r\n\r\nby ", 0), 0U);
    EXPECT_EQ(std::count(info.text.begin(), info.text.end(), '\n'), 4);
    EXPECT_EQ(info.text.find("://"), std::string::npos);
    EXPECT_FALSE(gioco.ChiusuraRichiesta());
    s.SceltoDiChiudere = true;
    gioco.Form_Activate();
    EXPECT_TRUE(gioco.ChiusuraRichiesta());
}

} // namespace
} // namespace trivanta
