#include "avversari/Simulazione.h"

#include "avversari/Avversario.h"

#include <algorithm>
#include <type_traits>

namespace trivanta::sim {

namespace {

// In quarter points, what a card is worth kept in hand for later: a trump
// can take a loaded card further on, the stronger the more surely; a plain
// card is worth little beyond its own points.
struct Tenere {
    std::array<std::array<int, NumeroCarte>, NumeroSemi + 1> valore{};

    constexpr Tenere() {
        for (int b = 0; b <= NumeroSemi; ++b) {
            for (int i = 0; i < NumeroCarte; ++i) {
                valore[static_cast<std::size_t>(b)][static_cast<std::size_t>(i)] =
                    SemeIndice(i) == b ? 4 * (5 + ForzaIndice(i)) : ForzaIndice(i) / 2;
            }
        }
    }
    int operator()(int b, int i) const {
        return valore[static_cast<std::size_t>(b)][static_cast<std::size_t>(i)];
    }
};

constexpr Tenere TenereInMano{};

} // namespace

int CartaNumero(Maschera m, int n) {
    for (; n > 0; --n) {
        m &= m - 1;
    }
    return Prima(m);
}

void Posizione::Gioca(int carta) {
    const int chi = AlTurno();
    mano[static_cast<std::size_t>(chi)] &= ~Bit(carta);
    if (inTavola < 0) {
        inTavola = carta;
        return;
    }
    const int vince = RispostaPrende(briscola, inTavola, carta) ? chi : guida;
    const int perde = 1 - vince;
    punti[static_cast<std::size_t>(vince)] += PuntiIndice(inTavola) + PuntiIndice(carta);
    inTavola = -1;
    guida = vince;
    if (coperte >= 2) {
        mano[static_cast<std::size_t>(vince)] |= Bit(mazzo[static_cast<std::size_t>(--coperte)]);
        mano[static_cast<std::size_t>(perde)] |= Bit(mazzo[static_cast<std::size_t>(--coperte)]);
    } else if (coperte == 1) {
        mano[static_cast<std::size_t>(perde)] |= Bit(mazzo[static_cast<std::size_t>(--coperte)]);
        if (scoperta >= 0) {
            mano[static_cast<std::size_t>(vince)] |= Bit(scoperta);
        }
        scoperta = -1;
    }
}

int SceltaSensata(Maschera mano, int guida, int briscola, bool controCaso) {
    // Each card scores what it gains now less what it is worth kept; a
    // card that takes the trick brings both cards' points, one that does
    // not hands them over.
    const int puntiGuida = guida >= 0 ? PuntiIndice(guida) : 0;
    const Maschera prendono = guida >= 0 ? mano & Prese.Battono(briscola, guida) : 0;
    int scelta = -1;
    int migliore = 0;
    for (Maschera m = mano; m != 0; m &= m - 1) {
        const int i = Prima(m);
        const int posta = 4 * (puntiGuida + PuntiIndice(i));
        int punteggio = -TenereInMano(briscola, i);
        if (guida < 0) {
            punteggio -= (controCaso ? 1 : 4) * PuntiIndice(i);
        } else {
            punteggio += Contiene(prendono, i) ? posta : -posta;
        }
        if (scelta < 0 || punteggio > migliore) {
            scelta = i;
            migliore = punteggio;
        }
    }
    return scelta;
}

int SceltaModello(const Posizione& p, Modello modello, Generatore& g) {
    const Maschera mano = p.mano[static_cast<std::size_t>(p.AlTurno())];
    switch (modello) {
    case Modello::Casuale:
        return CartaACaso(mano, g);
    case Modello::Goloso:
        return SceltaGolosa(mano, p.inTavola, p.briscola);
    case Modello::Sensato:
        break;
    }
    return SceltaSensata(mano, p.inTavola, p.briscola);
}

namespace {

// The end of a deal once nothing is left to draw: all a search needs, small
// enough that copying it at every node costs next to nothing.
struct Finale {
    std::array<Maschera, 2> mano{};
    int punti0 = 0;
    int guida = 0;
    int inTavola = -1;
    int briscola = 1;

    explicit Finale(const Posizione& p)
        : mano(p.mano), punti0(p.punti[0]), guida(p.guida), inTavola(p.inTavola),
          briscola(p.briscola) {}
    int AlTurno() const { return inTavola < 0 ? guida : 1 - guida; }
    bool Finita() const { return inTavola < 0 && mano[0] == 0 && mano[1] == 0; }
    void Gioca(int carta) {
        const int chi = AlTurno();
        mano[static_cast<std::size_t>(chi)] &= ~Bit(carta);
        if (inTavola < 0) {
            inTavola = carta;
            return;
        }
        const int vince = RispostaPrende(briscola, inTavola, carta) ? chi : guida;
        punti0 += vince == 0 ? PuntiIndice(inTavola) + PuntiIndice(carta) : 0;
        inTavola = -1;
        guida = vince;
    }
};

int Punti0(const Posizione& p) {
    return p.punti[0];
}
int Punti0(const Finale& f) {
    return f.punti0;
}

template <typename P> int AlfaBeta(const P& p, int alfa, int beta);

// Hands a child over to the small state as soon as the stock is done.
template <typename P> int AlfaBetaFiglio(const P& q, int alfa, int beta) {
    if constexpr (std::is_same_v<P, Posizione>) {
        if (q.MazzoFinito()) {
            return AlfaBeta(Finale(q), alfa, beta);
        }
    }
    return AlfaBeta(q, alfa, beta);
}

template <typename P> int AlfaBeta(const P& p, int alfa, int beta) {
    const int chi = p.AlTurno();
    // A side with nothing to play ends the deal where it stands.
    if (p.mano[static_cast<std::size_t>(chi)] == 0) {
        return Punti0(p);
    }
    int migliore = chi == 0 ? -1 : 121;
    for (Maschera m = p.mano[static_cast<std::size_t>(chi)]; m != 0; m &= m - 1) {
        P q = p;
        q.Gioca(Prima(m));
        const int v = AlfaBetaFiglio(q, alfa, beta);
        if (chi == 0) {
            migliore = std::max(migliore, v);
            alfa = std::max(alfa, v);
        } else {
            migliore = std::min(migliore, v);
            beta = std::min(beta, v);
        }
        if (alfa >= beta) {
            break;
        }
    }
    return migliore;
}

template <typename P> double Esatto(const P& p, Modello modello, const Utilita& u);

template <typename P> double EsattoFiglio(const P& q, Modello modello, const Utilita& u) {
    if constexpr (std::is_same_v<P, Posizione>) {
        if (q.MazzoFinito()) {
            return Esatto(Finale(q), modello, u);
        }
    }
    return Esatto(q, modello, u);
}

template <typename P> double Esatto(const P& p, Modello modello, const Utilita& u) {
    const int chi = p.AlTurno();
    const Maschera mano = p.mano[static_cast<std::size_t>(chi)];
    if (mano == 0) {
        return u(Punti0(p));
    }
    if (chi == 1 && modello == Modello::Goloso) {
        P q = p;
        q.Gioca(SceltaGolosa(mano, p.inTavola, p.briscola));
        return EsattoFiglio(q, modello, u);
    }
    double somma = 0;
    double migliore = -1e9;
    for (Maschera m = mano; m != 0; m &= m - 1) {
        P q = p;
        q.Gioca(Prima(m));
        const double v = EsattoFiglio(q, modello, u);
        somma += v;
        migliore = std::max(migliore, v);
    }
    return chi == 0 ? migliore : somma / Quante(mano);
}

} // namespace

int PuntiMinimax(const Posizione& p) {
    return AlfaBetaFiglio(p, -1, 121);
}

double ValoreEsatto(const Posizione& p, Modello modello, const Utilita& u) {
    if (modello == Modello::Sensato) {
        return u(PuntiMinimax(p));
    }
    return EsattoFiglio(p, modello, u);
}

double Prosegui(Posizione p, Modello modello, Generatore& g, const Utilita& u) {
    while (!p.MazzoFinito()) {
        const int chi = p.AlTurno();
        const int carta = p.mano[static_cast<std::size_t>(chi)] == 0 ? -1
                          : chi == 0 ? SceltaSensata(p.mano[0], p.inTavola, p.briscola,
                                                     modello == Modello::Casuale)
                                     : SceltaModello(p, modello, g);
        if (carta < 0 || carta >= NumeroCarte) {
            return u(p.punti[0]); // a side with nothing to play: no deal gets here
        }
        p.Gioca(carta);
    }
    return ValoreEsatto(p, modello, u);
}

} // namespace trivanta::sim
