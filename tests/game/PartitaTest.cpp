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

    void SetUp() override {
        // The referee learns who leads from the dealer's box.
        boxes.mentreAperta = [&](const Message& m) { arbitro.Box(m, s, t); };
    }
    void TearDown() override {
        for (const std::string& e : arbitro.errori) {
            ADD_FAILURE() << e;
        }
    }
};

// Yes deals the next game from the same press; either side deals in turn of
// the draw; No says goodbye and nothing starts again.
TEST_F(Partita, gamesFollowFromTheSamePressUntilNoSaysGoodbye) {
    gioco.Form_Load();
    int mazzieri[2] = {};
    for (int partita = 0; partita < 30 && arbitro.errori.empty(); ++partita) {
        ++mazzieri[s.MazziereUser == 1 ? 1 : 0];
        const Answer altra = partita < 29 ? Answer::Yes : Answer::No;
        EXPECT_EQ(test::GiocaPartita(gioco, boxes, arbitro, partita, altra), 20);
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

// The menus in the middle of a trick: a new game answered No and About
// change nothing, Yes deals from scratch; the window closes on activation only
// once the user has said goodbye.
TEST_F(Partita, menusAnsweredNoChangeNothingYesStartsFromScratch) {
    gioco.Form_Load();
    gioco.Form_Activate();
    EXPECT_FALSE(gioco.ChiusuraRichiesta());
    gioco.giocatautente_Click();
    while (s.WaitingForPC) { // until the computer has led a card
        gioco.giocatautente_Click();
    }
    const auto carte = s.StatoCarte;
    const Tavolo tavolo = t;
    boxes.mostrate.clear();
    boxes.risposte = {Answer::No};
    gioco.newpart_Click();
    gioco.Info_Click();
    EXPECT_EQ(boxes.mostrate,
              (std::vector<Message>{{testi::Sicuro, "Sicuro?", Buttons::YesNo, Icon::None},
                                    {std::string(testi::Prodotto) +
                                         "\r\n\r\nby Trivanta Team\r\ntrivanta@example.org\r\n"
                                         "www.example.org/trivanta",
                                     "Informazioni", Buttons::Ok, Icon::Information}}));
    EXPECT_TRUE(s.StatoCarte == carte && t == tavolo && !gioco.ChiusuraRichiesta());
    // Yes until the user leads: no card of the old table may show.
    do {
        gioco.newpart_Click();
    } while (s.Turno != TurnoUser);
    arbitro.TraLePrese(s, t);
    s.SceltoDiChiudere = true;
    gioco.Form_Activate();
    EXPECT_TRUE(gioco.ChiusuraRichiesta());
}

// Points decide, never the number of cards: the computer's few cards hold 60,
// 61, 59 or no points at all; the user's pile holds the rest.
TEST_F(Partita, theScoreCountsPointsAndADrawIsADraw) {
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
}

// A trick whose leader is unknown names no taker and leaves its cards on
// the table.
TEST_F(Partita, aBrokenTurnShowsTheWinnerErrorAndLeavesTheCardsOnTheTable) {
    boxes.mentreAperta = nullptr;
    test::Disponi(s, {{2, 1, PosTerraUser}, {5, 3, PosTerraPc}});
    s.SemeBriscola = 4;
    s.Turno = 0;
    s.ContaMazzo = -1;
    gioco.giocatautente_Click();
    EXPECT_EQ(boxes.mostrate, (std::vector<Message>{{testi::ErroreVincitore, std::nullopt,
                                                     Buttons::Ok, Icon::None}}));
    EXPECT_TRUE(s.StatoCarte[2][1] == PosTerraUser && s.StatoCarte[5][3] == PosTerraPc);
}

} // namespace
} // namespace trivanta
