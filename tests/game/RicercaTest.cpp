#include "Arbitro.h"
#include "avversari/Simulazione.h"

#include <algorithm>
#include <bit>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

// The exact search of the last tricks against a brute force that shares
// nothing with it but the position it reads: the referee's rules, every line
// played out.
namespace trivanta {
namespace {

using test::CartaDi;
using test::oracolo::SecondaPrende;

int Punti(int carta) {
    return test::oracolo::Punti(CartaDi(carta).valore);
}

double Utilita(double punti) {
    return (punti > 60 ? 1.0 : punti == 60 ? 0.5 : 0.0) + 0.1 * (punti - 60) / 60.0;
}

// Side 0 takes its best line; side 1 its worst for side 0 (media false, the
// value in points) or any card alike (media, the value in utility).
double Bruta(const sim::Posizione& p, bool media) {
    const int chi = p.inTavola < 0 ? p.guida : 1 - p.guida;
    if (p.mano[chi] == 0) {
        return media ? Utilita(p.punti[0]) : p.punti[0];
    }
    double migliore = chi == 0 ? -1e9 : 1e9;
    double somma = 0;
    for (Maschera m = p.mano[chi]; m != 0; m &= m - 1) {
        const int c = std::countr_zero(m);
        sim::Posizione q = p;
        q.mano[chi] &= ~Bit(c);
        q.inTavola = p.inTavola < 0 ? c : -1;
        if (p.inTavola >= 0) {
            const bool prende = SecondaPrende(CartaDi(p.inTavola), CartaDi(c), p.briscola);
            const int vince = prende ? chi : p.guida;
            q.punti[vince] += Punti(p.inTavola) + Punti(c);
            q.guida = vince;
            if (q.coperte == 1) {
                // The last covered card to the side that lost, the face-up
                // trump card to the side that took.
                q.mano[1 - vince] |= Bit(q.mazzo[0]);
                q.mano[vince] |= Bit(q.scoperta);
                q.coperte = 0;
                q.scoperta = -1;
            }
        }
        const double v = Bruta(q, media);
        somma += v;
        migliore = chi == 0 ? std::max(migliore, v) : std::min(migliore, v);
    }
    return chi == 1 && media ? somma / std::popcount(p.mano[chi]) : migliore;
}

// Ends of games: with the stock empty, one to three cards a hand, or with
// one covered card and the turned-up trump card still to be drawn.
sim::Posizione Finale(std::mt19937& g) {
    std::array<int, 40> carte{};
    std::iota(carte.begin(), carte.end(), 0);
    std::shuffle(carte.begin(), carte.end(), g);
    const auto dado = [&g](int n) { return std::uniform_int_distribution(0, n - 1)(g); };
    sim::Posizione p;
    p.briscola = 1 + dado(4);
    p.guida = dado(2);
    const bool pesca = dado(4) == 0;
    std::size_t n = 0;
    for (const int mano = pesca ? 3 : 1 + dado(3);
         n < std::size_t{2} * static_cast<std::size_t>(mano); ++n) {
        p.mano[n % 2] |= Bit(carte[n]);
    }
    if (dado(2) == 1) {
        p.inTavola = carte[p.guida];
        p.mano[p.guida] &= ~Bit(p.inTavola);
    }
    if (pesca) {
        p.mazzo[0] = static_cast<std::int8_t>(carte[n++]);
        p.coperte = 1;
        p.scoperta = carte[n++];
    }
    // Points already taken, from the cards out of play.
    for (; n < carte.size(); ++n) {
        p.punti[dado(2)] += Punti(carte[n]);
    }
    return p;
}

TEST(Ricerca, lastTricksSearchedExactlyMatchABruteForce) {
    std::mt19937 g(12);
    const sim::Utilita u{0.1};
    for (int caso = 0; caso < 400; ++caso) {
        const sim::Posizione p = Finale(g);
        const auto minimo = static_cast<int>(Bruta(p, false));
        ASSERT_EQ(sim::PuntiMinimax(p), minimo) << caso;
        EXPECT_DOUBLE_EQ(sim::ValoreEsatto(p, sim::Modello::Sensato, u), Utilita(minimo)) << caso;
        EXPECT_NEAR(sim::ValoreEsatto(p, sim::Modello::Casuale, u), Bruta(p, true), 1e-12) << caso;
    }
}

} // namespace
} // namespace trivanta
