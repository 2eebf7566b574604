#include "Support.h"

#include <gtest/gtest.h>

namespace trivanta {
namespace {

using test::Conta;
using test::Disponi;

constexpr int O = 1, S = 2, C = 3, B = 4; // ori, spade, coppe, bastoni

class Regole : public ::testing::Test {
protected:
    test::ScriptedBoxes boxes;
    PcgRandom random{99, test::fixedClock};
    Briscola gioco{boxes, random};
    StatoGioco& s = gioco.stato();
};

struct Calata {
    const char* caso;
    int valoreUser, semeUser, valorePc, semePc;
    int briscola; // trump suit
    int turno;    // who led
    int vincitore;
};

TEST_F(Regole, winnerOfATrick) {
    const Calata casi[] = {
        {"trump beats a plain ace", 1, O, 2, S, S, TurnoUser, TurnoPc},
        {"trump beats a plain three, user trumps", 2, B, 3, C, B, TurnoPc, TurnoUser},
        {"3 of trumps beats 10 of trumps", 3, S, 10, S, S, TurnoPc, TurnoUser},
        {"10 of trumps beats 9 of trumps", 9, S, 10, S, S, TurnoUser, TurnoPc},
        {"7 of trumps beats 2 of trumps", 7, S, 2, S, S, TurnoPc, TurnoUser},
        {"ace of trumps beats 3 of trumps", 3, O, 1, O, O, TurnoUser, TurnoPc},
        {"same plain suit: 7 beats 4", 4, C, 7, C, O, TurnoUser, TurnoPc},
        {"same plain suit: ace beats 3", 1, C, 3, C, O, TurnoPc, TurnoUser},
        {"same plain suit: 8 beats 7 on points", 7, B, 8, B, O, TurnoUser, TurnoPc},
        {"equal points, higher value: 6 beats 5", 6, C, 5, C, S, TurnoPc, TurnoUser},
        {"different plain suits: the leader's 2 beats an ace", 2, O, 1, C, B, TurnoUser, TurnoUser},
        {"different plain suits: computer led a 2", 1, C, 2, O, B, TurnoPc, TurnoPc},
    };
    for (const Calata& c : casi) {
        Disponi(s, {{c.valoreUser, c.semeUser, PosTerraUser}, {c.valorePc, c.semePc, PosTerraPc}});
        s.SemeBriscola = c.briscola;
        s.Turno = c.turno;
        EXPECT_EQ(gioco.VincitoreCalata(), c.vincitore) << c.caso;
    }
}

TEST_F(Regole, trumpStillWinsAfterTheTrumpCardWasDrawn) {
    gioco.AzzeraCarte();
    gioco.ScegliBriscola();
    const std::string codice = gioco.CodiceBriscola();
    ASSERT_EQ(codice.size(), 2U);
    const int seme = DecodificaCodice(codice).seme;
    const int altro = seme % 4 + 1;

    // The trump card goes into a hand at the last draw: no card lies face up.
    Disponi(s, {{2, seme, PosTerraUser}, {1, altro, PosTerraPc}});
    s.Turno = TurnoPc;
    EXPECT_EQ(gioco.CodiceBriscola(), "");
    EXPECT_TRUE(gioco.CartaDiBriscola(CodificaCarta(2, seme)));
    EXPECT_FALSE(gioco.CartaDiBriscola(CodificaCarta(2, altro)));
    EXPECT_EQ(gioco.VincitoreCalata(), TurnoUser);
}

TEST_F(Regole, theTrumpCodeIsThatOfTheFaceUpCardOnly) {
    Disponi(s, {{7, C, PosBriscola}});
    EXPECT_EQ(gioco.CodiceBriscola(), "7c");
    Disponi(s, {{7, C, PosManoPc}});
    EXPECT_EQ(gioco.CodiceBriscola(), "");
    // Codes that name no card are never trumps, whatever the trump suit.
    s.SemeBriscola = C;
    for (const char* codice : {"", "7", "7C", "x"}) {
        EXPECT_FALSE(gioco.CartaDiBriscola(codice)) << '"' << codice << '"';
    }
}

TEST_F(Regole, stockCountsDownToTheEndOfTheGameAfterTheTwentiethTrick) {
    // Between the deal and the end, simulate the refills only: each trick
    // empties the table into the user's pile first.
    s.ContaMazzo = 0;
    gioco.AzzeraCarte();
    gioco.ScegliBriscola();
    gioco.DistribuisciCarte();
    std::vector<int> corso;
    for (int presa = 1; presa <= 20; ++presa) {
        // Both players throw the first card they hold into the user's pile.
        for (const std::int16_t mano : {PosManoUser, PosManoPc}) {
            bool fatto = false;
            for (int v = 1; v <= 10 && !fatto; ++v) {
                for (int seme = 1; seme <= 4 && !fatto; ++seme) {
                    if (s.StatoCarte[v][seme] == mano) {
                        s.StatoCarte[v][seme] = PosPresaUser;
                        fatto = true;
                    }
                }
            }
            ASSERT_TRUE(fatto) << "trick " << presa;
        }
        s.Turno = TurnoUser;
        ASSERT_FALSE(s.PartitaFinita) << "trick " << presa;
        gioco.PescaCarte();
        corso.push_back(s.ContaMazzo);
        const int attese = presa <= 17 ? 3 : 20 - presa;
        EXPECT_EQ(Conta(s, PosManoUser), attese) << "trick " << presa;
        EXPECT_EQ(Conta(s, PosManoPc), attese) << "trick " << presa;
    }
    const std::vector<int> atteso = {33, 31, 29, 27, 25, 23, 21, 19, 17, 15,
                                     13, 11, 9,  7,  5,  3,  1,  -1, -2, -2};
    EXPECT_EQ(corso, atteso);
    EXPECT_TRUE(s.PartitaFinita);
    EXPECT_EQ(Conta(s, PosPresaUser), 40);
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].title, "Fine partita");
}

TEST_F(Regole, lastDrawGivesTheTrumpCardToTheTrickWinner) {
    for (const int vincitore : {TurnoUser, TurnoPc}) {
        Disponi(s, {});
        for (int v = 1; v <= 10; ++v) {
            for (int seme = 1; seme <= 4; ++seme) {
                s.StatoCarte[v][seme] = PosPresaPc;
            }
        }
        s.StatoCarte[5][C] = PosMazzo;    // the last covered card
        s.StatoCarte[1][B] = PosBriscola; // face up
        s.StatoCarte[2][O] = PosManoUser;
        s.StatoCarte[2][S] = PosManoUser;
        s.StatoCarte[4][O] = PosManoPc;
        s.StatoCarte[4][S] = PosManoPc;
        s.Turno = vincitore;
        s.ContaMazzo = 3;
        gioco.Ridisegna();
        ASSERT_EQ(gioco.tavolo().cartabriscola.immagine, "b1");

        gioco.PescaCarte();
        const std::int16_t vince = vincitore == TurnoUser ? PosManoUser : PosManoPc;
        const std::int16_t perde = vincitore == TurnoUser ? PosManoPc : PosManoUser;
        EXPECT_EQ(s.StatoCarte[1][B], vince);
        EXPECT_EQ(s.StatoCarte[5][C], perde);
        EXPECT_EQ(s.ContaMazzo, 1);
        EXPECT_EQ(gioco.tavolo().cartabriscola.immagine, "");
        EXPECT_TRUE(gioco.tavolo().cartabriscola.visibile);
        EXPECT_EQ(Conta(s, PosManoUser), 3);
        EXPECT_EQ(Conta(s, PosManoPc), 3);
    }
}

TEST_F(Regole, emptyStockRefillsChangeNothingButTheCounter) {
    Disponi(s, {{2, O, PosManoUser}, {3, O, PosManoPc}});
    for (int v = 4; v <= 10; ++v) {
        for (int seme = 1; seme <= 4; ++seme) {
            s.StatoCarte[v][seme] = PosPresaUser;
        }
    }
    for (int seme = 1; seme <= 4; ++seme) {
        for (int v = 1; v <= 3; ++v) {
            if (s.StatoCarte[v][seme] == PosMazzo) {
                s.StatoCarte[v][seme] = PosPresaPc;
            }
        }
    }
    gioco.Ridisegna();
    const StatoGioco prima = s;
    const Tavolo tavolo = gioco.tavolo();
    s.ContaMazzo = 1;
    gioco.PescaCarte();
    EXPECT_EQ(s.ContaMazzo, -1);
    EXPECT_EQ(s.StatoCarte, prima.StatoCarte);
    EXPECT_EQ(gioco.tavolo(), tavolo);
    gioco.PescaCarte();
    EXPECT_EQ(s.ContaMazzo, -2);
    EXPECT_EQ(s.StatoCarte, prima.StatoCarte);
    EXPECT_FALSE(s.PartitaFinita);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Regole, refillDrawsTheComputersCardFirst) {
    // Value and suit come from the integer parts of r*11 and r*5; 0 is drawn
    // again. 0.5 names (5, 2); then 0.0 is rejected and 0.7, 0.9 name (7, 4).
    test::ScriptedRandom scripted({0.5, 0.5, 0.0, 0.7, 0.9});
    Briscola g(boxes, scripted);
    g.AzzeraCarte();
    g.stato().ContaMazzo = 0;
    g.stato().Turno = TurnoUser;
    g.PescaCarte();
    EXPECT_EQ(g.stato().StatoCarte[5][S], PosManoPc);
    EXPECT_EQ(g.stato().StatoCarte[7][B], PosManoUser);
    EXPECT_EQ(g.stato().ContaMazzo, 40);
    EXPECT_EQ(scripted.reseeds, 1);
}

TEST_F(Regole, computerPlaysItsOnlyCardAndLeavesTheUsersAlone) {
    Disponi(s, {{9, C, PosManoPc}, {1, O, PosTerraUser}});
    s.WaitingForPC = false;
    gioco.GiocataPc();
    EXPECT_EQ(s.StatoCarte[9][C], PosTerraPc);
    EXPECT_EQ(s.StatoCarte[1][O], PosTerraUser);
    EXPECT_EQ(Conta(s, PosTerraPc), 1);
    EXPECT_FALSE(s.WaitingForPC);
    EXPECT_EQ(gioco.tavolo().terrapc.immagine, "c9");
    EXPECT_EQ(gioco.tavolo().terrauser.immagine, "o1");
}

TEST_F(Regole, computerWithoutCardsReturnsWithoutChangingAnything) {
    Disponi(s, {{1, O, PosTerraUser}});
    s.WaitingForPC = true;
    const StatoGioco prima = s;
    const Tavolo tavolo = gioco.tavolo();
    gioco.GiocataPc();
    EXPECT_EQ(s.StatoCarte, prima.StatoCarte);
    EXPECT_TRUE(s.WaitingForPC);
    EXPECT_EQ(gioco.tavolo(), tavolo);
}

TEST_F(Regole, dealerDrawRejectsZeroAndThree) {
    // 0.0 -> 0 and 0.8 -> 3 are drawn again; 0.3 -> 1 names the user, and the
    // swap before the announcement hands the deal to the computer.
    test::ScriptedRandom scripted({0.0, 0.8, 0.3});
    Briscola g(boxes, scripted);
    g.ScegliMazziere();
    EXPECT_EQ(g.stato().MazziereUser, 1);
    EXPECT_EQ(g.stato().Turno, TurnoPc);
    g.CambiaMazziere();
    EXPECT_EQ(g.stato().MazziereUser, 0);
    EXPECT_EQ(g.stato().Turno, TurnoUser);
}

} // namespace
} // namespace trivanta
