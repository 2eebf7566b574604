#include "Support.h"

#include <gtest/gtest.h>

namespace trivanta {
namespace {

using test::Disponi;

class Disegno : public ::testing::Test, protected test::Gioco {};

TEST_F(Disegno, userHandIsSortedByValueThenSuitWithTheFirstCardSelected) {
    Disponi(s, {{7, 1, PosManoUser}, {3, 4, PosManoUser}, {3, 2, PosManoUser}});
    gioco.user_Click(2);
    gioco.Ridisegna();
    EXPECT_EQ(t.user[0].immagine, "s3");
    EXPECT_EQ(t.user[1].immagine, "b3");
    EXPECT_EQ(t.user[2].immagine, "o7");
    EXPECT_EQ(s.ManoUserValore, (std::array<std::int16_t, 5>{3, 3, 7, -1, 0}));
    EXPECT_EQ(s.ManoUserSeme, (std::array<std::int16_t, 5>{2, 4, 1, -1, 0}));
    EXPECT_EQ(t.Shape2, (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(s.currentindex, 0);

    // A click moves only the marker.
    const auto carte = s.StatoCarte;
    for (int i : {2, 1, 5, -1}) {
        gioco.user_Click(i);
    }
    EXPECT_EQ(s.currentindex, 1);
    EXPECT_EQ(t.Shape2, (std::array<bool, 3>{false, true, false}));
    EXPECT_EQ(s.StatoCarte, carte);
}

TEST_F(Disegno, handsShowOnlyTheCardsHeldTheComputersFaceDown) {
    Disponi(s, {{1, 1, PosManoPc}, {2, 2, PosManoPc}, {5, 3, PosManoUser}});
    gioco.Ridisegna();
    const bool pc[] = {true, true, false}, user[] = {true, false, false};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(t.pc[k].visibile, pc[k]) << k;
        EXPECT_EQ(t.pc[k].immagine, "vuota") << k;
        EXPECT_EQ(t.user[k].visibile, user[k]) << k;
    }
    // The user's last card played: no hand, no marker, -1 at place 0.
    Disponi(s, {{5, 3, PosTerraUser}});
    gioco.Ridisegna();
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_FALSE(t.user[k].visibile || t.pc[k].visibile) << k;
    }
    EXPECT_FALSE(t.Shape2[0]);
    EXPECT_EQ(s.ManoUserValore[0], -1);
    EXPECT_EQ(t.terrauser.immagine, "c5");
}

TEST_F(Disegno, tableAndTrumpPlacesKeepTheirLastPictureUntilEmptied) {
    Disponi(s, {{10, 2, PosTerraUser}, {4, 4, PosTerraPc}, {6, 1, PosBriscola}});
    gioco.Ridisegna();
    gioco.SvuotaTerra();
    Disponi(s, {});
    gioco.Ridisegna();
    EXPECT_EQ(t.terrauser, (Posto{"", true}));
    EXPECT_EQ(t.terrapc, (Posto{"", true}));
    EXPECT_EQ(t.cartabriscola, (Posto{"o6", true}));

    // A pair that is no card shows the place and keeps its picture.
    for (auto [v, seme] : {std::pair{11, 1}, {3, 0}, {0, 0}}) {
        gioco.DisegnaCartaBriscola(v, seme);
        gioco.DisegnaCartaUtente(v, seme, 1);
        EXPECT_EQ(t.cartabriscola, (Posto{"o6", true}));
        EXPECT_EQ(t.user[1], (Posto{"vuota", true}));
    }
    gioco.DisegnaCartaUtente(1, 1, 3); // no such place
    EXPECT_EQ(t.user[2].immagine, "vuota");
}

TEST_F(Disegno, statusBarCountsOnlyThePiles) {
    Disponi(s, {{1, 1, PosPresaPc},
                {2, 1, PosPresaPc},
                {3, 1, PosPresaPc},
                {4, 1, PosPresaPc},
                {5, 1, PosTerraPc},
                {6, 1, PosTerraUser},
                {7, 1, PosManoUser}});
    gioco.AggiornaStatusBar();
    EXPECT_EQ(t.StatusBar1, "Carte prese dal PC: 4 Carte prese da USER: 0");
    Disponi(s, {{1, 1, PosPresaPc}, {1, 2, PosPresaPc}}, PosPresaUser);
    gioco.AggiornaStatusBar();
    EXPECT_EQ(t.StatusBar1, "Carte prese dal PC: 2 Carte prese da USER: 38");
}

} // namespace
} // namespace trivanta
