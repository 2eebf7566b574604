#include "Arbitro.h"

#include <gtest/gtest.h>
#include <set>

// Every random choice of the game must be uniform. The seeds are fixed, so
// the runs are deterministic; the bounds are chi-square quantiles at p = 0.001.
namespace trivanta {
namespace {

double ChiQuadro(const std::vector<int>& osservati) {
    double n = 0;
    for (int o : osservati) {
        n += o;
    }
    const double atteso = n / static_cast<double>(osservati.size());
    double chi = 0;
    for (int o : osservati) {
        chi += (o - atteso) * (o - atteso) / atteso;
    }
    return chi;
}

class Equita : public ::testing::Test, protected test::Gioco {
protected:
    // How often each card was at `posizione` after each of n runs of `fai`.
    template <typename F> std::vector<int> Frequenze(int n, std::int16_t posizione, F fai) {
        std::vector<int> conti(40);
        for (int run = 0; run < n; ++run) {
            fai();
            for (int i = 0; i < 40; ++i) {
                conti[static_cast<std::size_t>(i)] +=
                    s.StatoCarte[i / 4 + 1][i % 4 + 1] == posizione;
            }
        }
        conti.erase(std::remove(conti.begin(), conti.end(), 0), conti.end());
        return conti;
    }
};

TEST_F(Equita, dealerTrumpCardAndDealAreUniform) {
    std::vector<int> mazziere(2);
    for (int i = 0; i < 20000; ++i) {
        gioco.ScegliMazziere();
        ++mazziere[static_cast<std::size_t>(s.MazziereUser)];
    }
    EXPECT_LT(ChiQuadro(mazziere), 10.83);

    const auto nuovaMano = [&] {
        gioco.AzzeraCarte();
        gioco.ScegliBriscola();
        gioco.DistribuisciCarte();
    };
    for (const std::int16_t dove : {PosBriscola, PosManoPc, PosManoUser}) {
        const auto conti = Frequenze(10000, dove, nuovaMano);
        ASSERT_EQ(conti.size(), 40U);
        EXPECT_LT(ChiQuadro(conti), 72.05) << dove;
    }
}

TEST_F(Equita, refillDrawsEveryStockCardAlike) {
    const auto conti = Frequenze(20000, PosManoPc, [&] {
        test::Disponi(s,
                      {{1, 1, PosMazzo},
                       {4, 2, PosMazzo},
                       {7, 3, PosMazzo},
                       {10, 4, PosMazzo},
                       {2, 4, PosMazzo}},
                      PosPresaUser);
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

TEST_F(Equita, gamesInARowAreDealtIndependentlyEvenWithAFrozenClock) {
    std::set<std::vector<std::int16_t>> tavoli;
    for (int i = 0; i < 200; ++i) {
        gioco.Form_Load();
        std::vector<std::int16_t> tutto;
        for (const auto& riga : s.StatoCarte) {
            tutto.insert(tutto.end(), riga.begin(), riga.end());
        }
        tavoli.insert(tutto);
    }
    EXPECT_EQ(tavoli.size(), 200U);
}

} // namespace
} // namespace trivanta
