#include "Support.h"

#include <gtest/gtest.h>
#include <map>

// Every random choice of the game must be uniform. Seeds are fixed, so these
// are deterministic; the bounds are the chi-square quantiles at p = 0.001.
namespace trivanta {
namespace {

using test::Conta;

double ChiQuadro(const std::vector<int>& osservati, double atteso) {
    double chi = 0;
    for (int o : osservati) {
        chi += (o - atteso) * (o - atteso) / atteso;
    }
    return chi;
}

int Indice(int valore, int seme) {
    return (valore - 1) * 4 + (seme - 1);
}

class Equita : public ::testing::Test {
protected:
    test::ScriptedBoxes boxes;
    PcgRandom random{31337, test::fixedClock};
    Briscola gioco{boxes, random};
    StatoGioco& s = gioco.stato();
};

TEST_F(Equita, dealerDrawIsAFairCoin) {
    std::vector<int> conti(2);
    const int n = 20000;
    for (int i = 0; i < n; ++i) {
        gioco.ScegliMazziere();
        ++conti[s.MazziereUser];
    }
    EXPECT_LT(ChiQuadro(conti, n / 2.0), 10.83);
}

TEST_F(Equita, trumpCardAndEveryDealtCardAreUniform) {
    const int n = 20000;
    std::vector<int> briscola(40), manoPc(40), manoUser(40);
    for (int i = 0; i < n; ++i) {
        gioco.AzzeraCarte();
        gioco.ScegliBriscola();
        gioco.DistribuisciCarte();
        ASSERT_EQ(Conta(s, PosBriscola), 1);
        ASSERT_EQ(Conta(s, PosManoPc), 3);
        ASSERT_EQ(Conta(s, PosManoUser), 3);
        for (int v = 1; v <= 10; ++v) {
            for (int seme = 1; seme <= 4; ++seme) {
                const auto p = s.StatoCarte[v][seme];
                briscola[Indice(v, seme)] += p == PosBriscola;
                manoPc[Indice(v, seme)] += p == PosManoPc;
                manoUser[Indice(v, seme)] += p == PosManoUser;
            }
        }
    }
    EXPECT_LT(ChiQuadro(briscola, n / 40.0), 72.05);
    EXPECT_LT(ChiQuadro(manoPc, 3.0 * n / 40.0), 72.05);
    EXPECT_LT(ChiQuadro(manoUser, 3.0 * n / 40.0), 72.05);
}

TEST_F(Equita, refillDrawsEveryStockCardAlike) {
    // A stock of five cards: the computer's draw must hit each equally often.
    const int n = 20000;
    std::vector<int> conti(5);
    const std::pair<int, int> stock[] = {{1, 1}, {4, 2}, {7, 3}, {10, 4}, {2, 4}};
    for (int i = 0; i < n; ++i) {
        test::Disponi(s, {});
        for (int v = 1; v <= 10; ++v) {
            for (int seme = 1; seme <= 4; ++seme) {
                s.StatoCarte[v][seme] = PosPresaUser;
            }
        }
        for (auto [v, seme] : stock) {
            s.StatoCarte[v][seme] = PosMazzo;
        }
        s.ContaMazzo = 7;
        gioco.PescaCarte();
        for (int k = 0; k < 5; ++k) {
            conti[k] += s.StatoCarte[stock[k].first][stock[k].second] == PosManoPc;
        }
    }
    EXPECT_LT(ChiQuadro(conti, n / 5.0), 18.47);
}

TEST_F(Equita, computerPlaysEachCardOfItsHandAlike) {
    const int n = 30000;
    for (const int carte : {3, 2}) {
        std::vector<int> conti(carte);
        const std::pair<int, int> mano[] = {{1, 2}, {3, 2}, {8, 1}};
        for (int i = 0; i < n; ++i) {
            test::Disponi(s, {{2, 3, PosTerraUser}});
            for (int k = 0; k < carte; ++k) {
                s.StatoCarte[mano[k].first][mano[k].second] = PosManoPc;
            }
            gioco.GiocataPc();
            for (int k = 0; k < carte; ++k) {
                conti[k] += s.StatoCarte[mano[k].first][mano[k].second] == PosTerraPc;
            }
        }
        EXPECT_LT(ChiQuadro(conti, static_cast<double>(n) / carte), carte == 3 ? 13.82 : 10.83);
    }
}

TEST_F(Equita, twoGamesInARowAreDealtIndependently) {
    // With a clock that never moves, consecutive deals must still differ.
    std::map<std::vector<std::int16_t>, int> mani;
    for (int i = 0; i < 200; ++i) {
        gioco.Form_Load();
        std::vector<std::int16_t> tutto;
        for (int v = 1; v <= 10; ++v) {
            for (int seme = 1; seme <= 4; ++seme) {
                tutto.push_back(s.StatoCarte[v][seme]);
            }
        }
        ++mani[tutto];
    }
    EXPECT_EQ(mani.size(), 200U);
}

} // namespace
} // namespace trivanta
