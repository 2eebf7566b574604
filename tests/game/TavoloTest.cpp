#include "Support.h"

#include <gtest/gtest.h>

namespace trivanta {
namespace {

using test::Disponi;

class Disegno : public ::testing::Test {
protected:
    test::ScriptedBoxes boxes;
    PcgRandom random{5, test::fixedClock};
    Briscola gioco{boxes, random};
    StatoGioco& s = gioco.stato();
    const Tavolo& t = gioco.tavolo();
};

TEST_F(Disegno, theWindowStartsWithEveryPlaceShowingTheEmptyCard) {
    for (const Posto* p : {&t.user[0], &t.user[1], &t.user[2], &t.pc[0], &t.pc[1], &t.pc[2],
                           &t.terrauser, &t.terrapc, &t.cartabriscola}) {
        EXPECT_EQ(p->immagine, "vuota");
        EXPECT_TRUE(p->visibile);
    }
    EXPECT_EQ(t.StatusBar1, "");
}

TEST_F(Disegno, userHandIsSortedByValueThenSuitWithTheFirstCardSelected) {
    Disponi(s, {{7, 1, PosManoUser}, {3, 4, PosManoUser}, {3, 2, PosManoUser}});
    gioco.user_Click(2);
    gioco.Ridisegna();
    EXPECT_EQ(t.user[0].immagine, "s3");
    EXPECT_EQ(t.user[1].immagine, "b3");
    EXPECT_EQ(t.user[2].immagine, "o7");
    const std::int16_t valori[] = {3, 3, 7, -1};
    const std::int16_t semi[] = {2, 4, 1, -1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(s.ManoUserValore[i], valori[i]) << i;
        EXPECT_EQ(s.ManoUserSeme[i], semi[i]) << i;
    }
    EXPECT_EQ(t.Shape2, (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(s.currentindex, 0);
}

TEST_F(Disegno, handsShowOnlyTheCardsHeld) {
    Disponi(s, {{1, 1, PosManoPc}, {2, 2, PosManoPc}, {5, 3, PosManoUser}});
    gioco.Ridisegna();
    EXPECT_TRUE(t.pc[0].visibile);
    EXPECT_TRUE(t.pc[1].visibile);
    EXPECT_FALSE(t.pc[2].visibile);
    for (const Posto& p : t.pc) {
        EXPECT_EQ(p.immagine, "vuota") << "the computer's cards are always face down";
    }
    EXPECT_TRUE(t.user[0].visibile);
    EXPECT_FALSE(t.user[1].visibile);
    EXPECT_FALSE(t.user[2].visibile);

    Disponi(s, {{5, 3, PosTerraUser}});
    gioco.Ridisegna();
    for (int k = 0; k < 3; ++k) {
        EXPECT_FALSE(t.user[k].visibile) << k;
        EXPECT_FALSE(t.pc[k].visibile) << k;
    }
    EXPECT_FALSE(t.Shape2[0]);
    EXPECT_EQ(s.ManoUserValore[0], -1);
    EXPECT_EQ(s.ManoUserSeme[0], -1);
}

TEST_F(Disegno, tablePlacesKeepTheirLastPictureUntilEmptied) {
    Disponi(s, {{10, 2, PosTerraUser}, {4, 4, PosTerraPc}, {6, 1, PosBriscola}});
    gioco.Ridisegna();
    EXPECT_EQ(t.terrauser.immagine, "s0");
    EXPECT_EQ(t.terrapc.immagine, "b4");
    EXPECT_EQ(t.cartabriscola.immagine, "o6");

    gioco.SvuotaTerra();
    EXPECT_EQ(t.terrauser, (Posto{"", true}));
    EXPECT_EQ(t.terrapc, (Posto{"", true}));

    // No card at the table or face up: a redraw leaves those places alone.
    Disponi(s, {});
    gioco.Ridisegna();
    EXPECT_EQ(t.terrauser.immagine, "");
    EXPECT_EQ(t.terrapc.immagine, "");
    EXPECT_EQ(t.cartabriscola, (Posto{"o6", true}));
}

TEST_F(Disegno, aPairThatIsNoCardShowsThePlaceButKeepsItsPicture) {
    gioco.DisegnaCartaBriscola(3, 3);
    for (auto [v, seme] : {std::pair{11, 1}, {3, 0}, {0, 0}, {-1, 5}}) {
        gioco.DisegnaCartaBriscola(v, seme);
        EXPECT_EQ(t.cartabriscola, (Posto{"c3", true})) << v << "," << seme;
        gioco.DisegnaCartaUtente(v, seme, 1);
        EXPECT_EQ(t.user[1], (Posto{"vuota", true}));
    }
    gioco.DisegnaCartaUtente(1, 1, 3); // no such place: nothing happens
    gioco.DisegnaCartaUtente(1, 1, -1);
    for (const Posto& p : t.user) {
        EXPECT_EQ(p.immagine, "vuota");
    }
}

TEST_F(Disegno, aClickOnlyMovesTheMarker) {
    Disponi(s, {{1, 1, PosManoUser}, {2, 1, PosManoUser}, {3, 1, PosManoUser}});
    gioco.Ridisegna();
    const auto carte = s.StatoCarte;
    for (int i : {2, 1, 0, 2}) {
        gioco.user_Click(i);
        EXPECT_EQ(s.currentindex, i);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(t.Shape2[k], k == i);
        }
    }
    gioco.user_Click(3);
    gioco.user_Click(-1);
    EXPECT_EQ(s.currentindex, 2);
    EXPECT_EQ(s.StatoCarte, carte);
}

TEST_F(Disegno, statusBarCountsOnlyThePiles) {
    gioco.AggiornaStatusBar();
    EXPECT_EQ(t.StatusBar1, "Carte prese dal PC: 0 Carte prese da USER: 0");
    Disponi(s, {{1, 1, PosPresaPc},
                {2, 1, PosPresaPc},
                {3, 1, PosPresaPc},
                {4, 1, PosPresaPc},
                {5, 1, PosTerraPc},
                {6, 1, PosTerraUser},
                {7, 1, PosManoUser}});
    gioco.AggiornaStatusBar();
    EXPECT_EQ(t.StatusBar1, "Carte prese dal PC: 4 Carte prese da USER: 0");
    for (int v = 1; v <= 10; ++v) {
        for (int seme = 1; seme <= 4; ++seme) {
            s.StatoCarte[v][seme] = seme <= 2 || (seme == 3 && v <= 2) ? PosPresaPc : PosPresaUser;
        }
    }
    gioco.AggiornaStatusBar();
    EXPECT_EQ(t.StatusBar1, "Carte prese dal PC: 22 Carte prese da USER: 18");
}

} // namespace
} // namespace trivanta
