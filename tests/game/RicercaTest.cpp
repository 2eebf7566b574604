#include "Arbitro.h"
#include "Simulazione.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <vector>

// The exact search of the last tricks against a brute force that shares
// nothing with it: the referee's rules, its own cards, every line played out.
namespace trivanta {
namespace {

using test::Carta;

int Punti(const Carta& c) {
    return test::oracolo::Punti(c.valore);
}

bool RispostaVince(const Carta& guida, const Carta& risposta, int briscola) {
    return test::oracolo::SecondaPrende(guida, risposta, briscola);
}

struct Partita {
    std::array<std::vector<Carta>, 2> mani;
    std::vector<Carta> coperte; // the next one drawn is the last
    std::optional<Carta> scoperta;
    int briscola = 1;
    std::array<int, 2> punti{};
    int guida = 0;
    std::optional<Carta> tavolo;
};

enum class Altro { Minimo, Media };

double Utilita(int punti) {
    return (punti > 60 ? 1.0 : punti == 60 ? 0.5 : 0.0) + 0.1 * (punti - 60) / 60.0;
}

// Side 0 takes its best line; side 1 its worst for side 0 (Minimo, the
// value in points) or any card alike (Media, the value in utility).
double Bruta(const Partita& p, Altro altro) {
    if (p.mani[0].empty() && p.mani[1].empty() && !p.tavolo) {
        return altro == Altro::Minimo ? p.punti[0] : Utilita(p.punti[0]);
    }
    const int chi = p.tavolo ? 1 - p.guida : p.guida;
    std::vector<double> valori;
    for (std::size_t i = 0; i < p.mani[static_cast<std::size_t>(chi)].size(); ++i) {
        Partita q = p;
        auto& mano = q.mani[static_cast<std::size_t>(chi)];
        const Carta c = mano[i];
        mano.erase(mano.begin() + static_cast<long>(i));
        if (!q.tavolo) {
            q.tavolo = c;
        } else {
            const int vince = RispostaVince(*q.tavolo, c, q.briscola) ? chi : q.guida;
            q.punti[static_cast<std::size_t>(vince)] += Punti(*q.tavolo) + Punti(c);
            q.tavolo.reset();
            q.guida = vince;
            if (!q.coperte.empty()) {
                // The last covered card to the side that lost, the face-up
                // trump card to the side that took.
                q.mani[static_cast<std::size_t>(1 - vince)].push_back(q.coperte.back());
                q.coperte.pop_back();
                q.mani[static_cast<std::size_t>(vince)].push_back(*q.scoperta);
                q.scoperta.reset();
            }
        }
        valori.push_back(Bruta(q, altro));
    }
    if (chi == 0) {
        return *std::max_element(valori.begin(), valori.end());
    }
    if (altro == Altro::Minimo) {
        return *std::min_element(valori.begin(), valori.end());
    }
    double somma = 0;
    for (const double v : valori) {
        somma += v;
    }
    return somma / static_cast<double>(valori.size());
}

int Indice(const Carta& c) {
    return (c.valore - 1) * 4 + (c.seme - 1);
}

sim::Posizione Compatta(const Partita& p) {
    sim::Posizione q;
    for (std::size_t lato = 0; lato < 2; ++lato) {
        for (const Carta& c : p.mani[lato]) {
            q.mano[lato] |= Maschera{1} << Indice(c);
        }
    }
    for (const Carta& c : p.coperte) {
        q.mazzo[static_cast<std::size_t>(q.coperte++)] = static_cast<std::int8_t>(Indice(c));
    }
    q.scoperta = p.scoperta ? Indice(*p.scoperta) : -1;
    q.briscola = p.briscola;
    q.punti = p.punti;
    q.guida = p.guida;
    q.inTavola = p.tavolo ? Indice(*p.tavolo) : -1;
    return q;
}

// Ends of games: with the stock empty, one to three cards a hand, or with
// one covered card and the turned-up trump card still to be drawn.
Partita Finale(std::mt19937& g) {
    std::vector<Carta> mazzo;
    for (int v = 1; v <= 10; ++v) {
        for (int s = 1; s <= 4; ++s) {
            mazzo.push_back({v, s});
        }
    }
    std::shuffle(mazzo.begin(), mazzo.end(), g);
    Partita p;
    p.briscola = std::uniform_int_distribution(1, 4)(g);
    p.guida = std::uniform_int_distribution(0, 1)(g);
    const bool ultimaPescata = std::uniform_int_distribution(0, 3)(g) == 0;
    const int carte = ultimaPescata ? 3 : std::uniform_int_distribution(1, 3)(g);
    for (int i = 0; i < carte; ++i) {
        for (auto& mano : p.mani) {
            mano.push_back(mazzo.back());
            mazzo.pop_back();
        }
    }
    if (std::uniform_int_distribution(0, 1)(g) == 1) {
        auto& mano = p.mani[static_cast<std::size_t>(p.guida)];
        p.tavolo = mano.back();
        mano.pop_back();
    }
    if (ultimaPescata) {
        p.coperte.push_back(mazzo.back());
        mazzo.pop_back();
        p.scoperta = mazzo.back();
        mazzo.pop_back();
    }
    // Points already taken, from the cards out of play.
    for (const Carta& c : mazzo) {
        p.punti[static_cast<std::size_t>(std::uniform_int_distribution(0, 1)(g))] += Punti(c);
    }
    return p;
}

TEST(Ricerca, lastTricksSearchedExactlyMatchABruteForce) {
    std::mt19937 g(12);
    const sim::Utilita u{0.1};
    for (int caso = 0; caso < 400; ++caso) {
        const Partita p = Finale(g);
        const sim::Posizione q = Compatta(p);
        const auto minimo = static_cast<int>(Bruta(p, Altro::Minimo));
        ASSERT_EQ(sim::PuntiMinimax(q), minimo) << caso;
        EXPECT_DOUBLE_EQ(sim::ValoreEsatto(q, sim::Modello::Sensato, u), Utilita(minimo)) << caso;
        EXPECT_NEAR(sim::ValoreEsatto(q, sim::Modello::Casuale, u), Bruta(p, Altro::Media), 1e-12)
            << caso;
    }
}

} // namespace
} // namespace trivanta
