// Whole games through the game's events, watched by the referee, and the
// menus, the presses that cannot play and a broken trick.
#include "Arbitro.h"
#include "Testi.h"

#include <gtest/gtest.h>
#include <sstream>

namespace trivanta {
namespace {


class Partita : public ::testing::Test, protected test::Gioco {
protected:
    test::Arbitro arbitro;

    void NessunErrore() {
        for (const std::string& e : arbitro.errori) {
            ADD_FAILURE() << e;
        }
        arbitro.errori.clear();
    }
};

// Yes deals the next game from the same press; either side deals in turn of
// the draw; No says goodbye and nothing starts again.
TEST_F(Partita, gamesFollowFromTheSamePressUntilNoSaysGoodbye) {
    // The referee learns who leads from the dealer's box.
    boxes.mentreAperta = [&](const Message& m) { arbitro.Box(m, s, t); };
    gioco.Form_Load();
    int mazzieri[2] = {};
    for (int partita = 0; partita < 30 && !HasFailure(); ++partita) {
        ++mazzieri[s.MazziereUser == 1 ? 1 : 0];
        const Answer altra = partita < 29 ? Answer::Yes : Answer::No;
        EXPECT_EQ(test::GiocaPartita(gioco, boxes, arbitro, partita, altra), 20);
        NessunErrore();
    }
    EXPECT_TRUE(arbitro.partite == 30 && mazzieri[0] > 0 && mazzieri[1] > 0);
    EXPECT_EQ(boxes.mostrate.back(),
              (Message{testi::Saluto, std::nullopt, Buttons::Ok, Icon::None}));
    EXPECT_TRUE(s.SceltoDiChiudere && s.PartitaFinita && gioco.ChiusuraRichiesta());
    const auto carte = s.StatoCarte;
    const Tavolo tavolo = t;
    const auto scatole = boxes.mostrate.size();
    gioco.Form_Load();
    gioco.giocatautente_Click();
    EXPECT_TRUE(boxes.mostrate.size() == scatole && s.StatoCarte == carte && t == tavolo);
}

TEST_F(Partita, newGameAnsweredNoChangesNothingYesStartsFromScratch) {
    gioco.Form_Load();
    gioco.giocatautente_Click();
    while (s.WaitingForPC) { // until the computer has led a card
        gioco.giocatautente_Click();
    }
    const auto carte = s.StatoCarte;
    const Tavolo tavolo = t;
    boxes.mostrate.clear();
    boxes.risposte = {Answer::No};
    gioco.newpart_Click();
    EXPECT_EQ(boxes.mostrate,
              (std::vector<Message>{
                  {testi::Sicuro, std::string(testi::TitoloSicuro), Buttons::YesNo, Icon::None}}));
    EXPECT_EQ(s.StatoCarte, carte);
    EXPECT_EQ(t, tavolo);
    // Yes until the user leads: no card of the old table may show.
    boxes.mentreAperta = [&](const Message& m) { arbitro.Box(m, s, t); };
    do {
        gioco.newpart_Click();
    } while (s.Turno != TurnoUser);
    arbitro.TraLePrese(s, t);
    NessunErrore();
}

// Points decide, never the number of cards: the computer's few cards hold 60,
// 61, 59 or no points at all; the user's pile holds the rest.
TEST_F(Partita, theScoreCountsPointsAndADrawIsADraw) {
    boxes.mentreAperta = [&](const Message& m) { arbitro.Box(m, s, t); };
    gioco.ShapeUserInvisibili();
    for (const char* pc :
         {"1o 1s 1c 1b 3o 0o 8o", "1o 1s 1c 1b 3o 0o 9o", "1o 1s 1c 1b 3o 9o 8o", ""}) {
        test::Disponi(s, {}, PosPresaUser);
        std::istringstream carte(pc);
        for (std::string codice; carte >> codice;) {
            const CartaDecodificata c = DecodificaCodice(codice);
            s.StatoCarte[c.valore][c.seme] = PosPresaPc;
        }
        s.ContaMazzo = -2;
        gioco.PescaCarte();
    }
    EXPECT_EQ(arbitro.partite, 4);
    NessunErrore();
}

TEST_F(Partita, pressesThatCannotPlayChangeNothing) {
    gioco.Form_Load();
    for (int slot : {-1, 3, 7, 0}) {
        s.currentindex = slot;
        if (slot == 0) { // a place past the end of the hand holds -1
            s.ManoUserValore[0] = s.ManoUserSeme[0] = -1;
        }
        const auto carte = s.StatoCarte;
        const auto scatole = boxes.mostrate.size();
        gioco.giocatautente_Click();
        EXPECT_EQ(s.StatoCarte, carte) << slot;
        EXPECT_EQ(boxes.mostrate.size(), scatole) << slot;
    }
}

TEST_F(Partita, aBrokenTurnShowsTheWinnerErrorAndLeavesTheCardsOnTheTable) {
    test::Disponi(s, {{2, 1, PosTerraUser}, {5, 3, PosTerraPc}});
    s.SemeBriscola = 4;
    s.Turno = 0;
    s.ContaMazzo = -1;
    gioco.giocatautente_Click();
    EXPECT_EQ(boxes.mostrate, (std::vector<Message>{{testi::ErroreVincitore, std::nullopt,
                                                     Buttons::Ok, Icon::None}}));
    EXPECT_EQ(s.StatoCarte[2][1], PosTerraUser);
    EXPECT_EQ(s.StatoCarte[5][3], PosTerraPc);
}

TEST_F(Partita, activationAboutAndExit) {
    gioco.Form_Load();
    gioco.Form_Activate();
    EXPECT_FALSE(gioco.ChiusuraRichiesta());
    boxes.mostrate.clear();
    gioco.Info_Click();
    ASSERT_EQ(boxes.mostrate.size(), 1U);
    const Message& info = boxes.mostrate[0];
    EXPECT_EQ(info.title, testi::TitoloInformazioni);
    EXPECT_EQ(info.icon, Icon::Information);
    // Name and version, an empty line, then author, address and web page.
    EXPECT_EQ(info.text.rfind(std::string(testi::Prodotto) + "\r\n\r\nby ", 0), 0U);
    EXPECT_EQ(std::count(info.text.begin(), info.text.end(), '\n'), 4);
    EXPECT_EQ(info.text.find("://"), std::string::npos);
    EXPECT_FALSE(gioco.ChiusuraRichiesta());
    s.SceltoDiChiudere = true;
    gioco.Form_Activate();
    EXPECT_TRUE(gioco.ChiusuraRichiesta());
}

} // namespace
} // namespace trivanta
