#include "Arbitro.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <set>

// Every random choice of the game must be uniform. The seeds are fixed, so
// the runs are deterministic; the bounds are chi-square quantiles at p = 0.001.
namespace trivanta {
namespace {

double ChiQuadro(const std::vector<int>& osservati) {
    const double atteso = std::accumulate(osservati.begin(), osservati.end(), 0.0) /
                          static_cast<double>(osservati.size());
    double chi = 0;
    for (int o : osservati) {
        chi += (o - atteso) * (o - atteso) / atteso;
    }
    return chi;
}

class Equita : public ::testing::Test, protected test::Gioco {
protected:
    // How often each card was at `posizione` after each of n runs of `fai`,
    // for the cards that ever were.
    template <typename F> std::vector<int> Frequenze(int n, std::int16_t posizione, F fai) {
        std::vector<int> conti(40);
        for (int run = 0; run < n; ++run) {
            fai();
            for (int i = 0; i < 40; ++i) {
                const test::Carta c = test::CartaDi(i);
                conti[static_cast<std::size_t>(i)] += s.StatoCarte[c.valore][c.seme] == posizione;
            }
        }
        conti.erase(std::remove(conti.begin(), conti.end(), 0), conti.end());
        return conti;
    }
};

TEST_F(Equita, dealerTrumpCardDealAndRefillAreUniform) {
    std::vector<int> mazziere(2);
    for (int i = 0; i < 20000; ++i) {
        gioco.ScegliMazziere();
        ++mazziere[static_cast<std::size_t>(s.MazziereUser)];
    }
    EXPECT_LT(ChiQuadro(mazziere), 10.83);
    for (const std::int16_t dove : {PosBriscola, PosManoPc, PosManoUser}) {
        const auto conti = Frequenze(10000, dove, [&] {
            gioco.AzzeraCarte();
            gioco.ScegliBriscola();
            gioco.DistribuisciCarte();
        });
        ASSERT_EQ(conti.size(), 40U);
        EXPECT_LT(ChiQuadro(conti), 72.05) << dove;
    }
    // The refill, from a stock of five cards.
    const auto conti = Frequenze(20000, PosManoPc, [&] {
        test::Disponi(s, {}, PosPresaUser);
        for (const int carta : {0, 13, 26, 39, 7}) { // one or two of each suit
            s.StatoCarte[carta / 4 + 1][carta % 4 + 1] = PosMazzo;
        }
        s.ContaMazzo = 7;
        gioco.PescaCarte();
    });
    ASSERT_EQ(conti.size(), 5U);
    EXPECT_LT(ChiQuadro(conti), 18.47);
}

TEST_F(Equita, computerPlaysEachCardOfItsHandAlikeWhateverLiesOnTheTable) {
    for (const bool tre : {true, false}) {
        const auto conti = Frequenze(30000, PosTerraPc, [&] {
            test::Disponi(s, {{2, 3, PosTerraUser}, {1, 2, PosManoPc}, {3, 2, PosManoPc}});
            s.StatoCarte[8][1] = tre ? PosManoPc : PosMazzo;
            gioco.GiocataPc();
        });
        ASSERT_EQ(conti.size(), tre ? 3U : 2U);
        EXPECT_LT(ChiQuadro(conti), tre ? 13.82 : 10.83);
    }
}

// A reseed stirs the clock into the generator and never replays a sequence:
// under a frozen clock no two games are dealt alike, and another time of day
// deals another game from the same seed. Without a seed, the system's
// entropy starts each generator somewhere else.
TEST_F(Equita, noDealIsReplayedWhateverTheClockAndSeedSay) {
    std::set<decltype(s.StatoCarte)> tavoli;
    for (int i = 0; i < 200; ++i) {
        gioco.Form_Load();
        tavoli.insert(s.StatoCarte);
    }
    EXPECT_EQ(tavoli.size(), 200U);
    test::Gioco adesso, dopo;
    dopo.random = PcgRandom(2024, [] { return test::OrologioFermo() + 1; });
    adesso.gioco.Form_Load();
    dopo.gioco.Form_Load();
    EXPECT_NE(adesso.s.StatoCarte, dopo.s.StatoCarte);
    PcgRandom uno, due;
    EXPECT_NE(uno.next(), due.next());
}

} // namespace
} // namespace trivanta
