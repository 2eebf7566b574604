#include "avversari/Esperto.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace trivanta {

using sim::Generatore;
using sim::Modello;
using sim::NumeroModelli;
using sim::Posizione;

namespace {

// Before any card is seen: a person more likely than a machine, and
// neither random nor greedy ruled out.
constexpr std::array<double, NumeroModelli> PrioriIniziali{0.3, 0.3, 0.4};
// The belief in any model never falls below this between games: a person
// may change the way they play.
constexpr double PrioreMinimo = 0.02;
// How often a greedy or a sensible player is allowed to stray from its rule
// before the rule stops explaining its cards.
constexpr double ScartoGoloso = 0.05;
constexpr double ScartoSensato = 0.3;
// Up to this many covered cards, every distinct deal is searched exactly.
constexpr int SogliaEsatta = 3;
// Imagined other hands drawn per deal kept when their likelihoods differ
// widely: the resampling keeps those that explain the other side's plays.
constexpr int Sovracampionamento = 4;
constexpr sim::Utilita Utilita{0.1};

std::uint64_t Mescola(std::uint64_t h, std::uint64_t v) {
    h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    return h * 0xbf58476d1ce4e5b9ULL;
}

// Two equal knowledge values give the same number: a decision depends on
// what is known, on the seed and on what earlier games taught, nothing else.
std::uint64_t Impronta(const Conoscenza& k) {
    // Every field shifted by one so that -1 (none) stays apart from 0.
    const auto u = [](int v) { return static_cast<std::uint64_t>(v) + 1; };
    std::uint64_t h = Mescola(0, k.Mano);
    h = Mescola(h, k.PreseMie);
    h = Mescola(h, k.PreseSue);
    h = Mescola(h, u(k.SemeBriscola) | u(k.CartaScoperta) << 8 | u(k.CartaAvversario) << 16 |
                       u(k.CartaMia) << 24 | u(k.CarteCoperte) << 32 | u(k.NumeroPrese) << 40);
    for (int t = 0; t < k.NumeroPrese; ++t) {
        const PresaVista& p = k.Storia[static_cast<std::size_t>(t)];
        h = Mescola(h, u(p.guidavoIo ? 1 : 0) | u(p.mia) << 8 | u(p.sua) << 16);
    }
    return h;
}

// A position that this game can reach; anything else the simulations
// could not play to its end, so it is not imagined at all.
bool Coerente(const Conoscenza& k) {
    const int mie = Quante(k.Mano);
    const int sue = k.CarteAvversario();
    const bool guido = k.CartaAvversario < 0;
    const bool carteGiuste = sue >= 0 && (guido ? sue == mie : sue + 1 == mie);
    const bool mazzoGiusto = k.CartaScoperta >= 0 ? k.CarteCoperte % 2 == 1 : k.CarteCoperte == 0;
    return k.CartaMia < 0 && carteGiuste && mazzoGiusto && k.SemeBriscola >= 1 &&
           k.SemeBriscola <= NumeroSemi && (k.PreseMie & k.PreseSue) == 0;
}

// One card the other side played, with what it could see.
struct Osservazione {
    int presa = 0;   // the trick, from 1
    int carta = -1;  // the card it played
    int tavolo = -1; // the card it answered, -1 when it led
};

// Weighs imagined other hands by the other side's plays. Each imagined hand
// comes with the order in which the other side could have drawn its cards;
// from that follows the hand it held at each of its plays, and how likely
// each model would have played what it did.
class Inferenza {
public:
    Inferenza(const Conoscenza& k, const std::array<double, NumeroModelli>& priori)
        : priori_(priori), nonViste_(k.NonViste()), carteSue_(k.CarteAvversario()),
          briscola_(k.SemeBriscola) {
        for (int t = 0; t < k.NumeroPrese; ++t) {
            const PresaVista& p = k.Storia[static_cast<std::size_t>(t)];
            Aggiungi({t + 1, p.sua, p.guidavoIo ? p.mia : -1});
        }
        if (k.CartaAvversario >= 0) {
            Aggiungi({k.NumeroPrese + 1, k.CartaAvversario, -1});
        }
        // Three cards dealt, then one at each refill up to the last draw.
        posizioni_ = 3 + std::min(k.NumeroPrese, 17);
        storiaUsabile_ = posizioni_ == numero_ + carteSue_ && posizioni_ <= 20;
        for (int i = 0; i < numero_ && storiaUsabile_; ++i) {
            const Osservazione& o = osservazioni_[static_cast<std::size_t>(i)];
            storiaUsabile_ =
                o.carta >= 0 && o.carta < NumeroCarte && !Contiene(nonViste_, o.carta) &&
                (i == 0 || o.presa > osservazioni_[static_cast<std::size_t>(i - 1)].presa);
        }
    }

    void Campiona(Generatore& g, Esperto::Particella& p) const {
        Maschera resto = nonViste_;
        p.mano = 0;
        for (int i = 0; i < carteSue_; ++i) {
            const int c = sim::CartaACaso(resto, g);
            p.mano |= Bit(c);
            resto &= ~Bit(c);
        }
        p.verosimiglianza.fill(1.0);
        if (storiaUsabile_) {
            Verosimiglianza(g, p);
        }
        p.peso = 0;
        for (int m = 0; m < NumeroModelli; ++m) {
            p.peso += priori_[static_cast<std::size_t>(m)] *
                      p.verosimiglianza[static_cast<std::size_t>(m)];
        }
    }

private:
    void Aggiungi(const Osservazione& o) {
        if (numero_ < static_cast<int>(osservazioni_.size())) {
            osservazioni_[static_cast<std::size_t>(numero_++)] = o;
        }
    }

    // The k-th free place below `limite`.
    static int Libera(std::uint32_t occupate, int limite, int k) {
        for (int pos = 0; pos < limite; ++pos) {
            if ((occupate >> pos & 1U) == 0 && k-- == 0) {
                return pos;
            }
        }
        return -1;
    }

    void Verosimiglianza(Generatore& g, Esperto::Particella& p) const {
        // Places 0..2 are the deal, place 2 + r the refill after trick r. A
        // card played in trick t came at a place below t + 2. Taken in the
        // order played, each card has the same number of free places
        // whatever the earlier ones took, so this draws every order of
        // arrival that fits with the same chance, as the random draws do.
        std::array<Maschera, 21> arrivi{};
        std::uint32_t occupate = 0;
        for (int i = 0; i < numero_; ++i) {
            const Osservazione& o = osservazioni_[static_cast<std::size_t>(i)];
            const int limite = std::min(o.presa + 2, posizioni_);
            const int libere = limite - Quante(occupate & ((std::uint32_t{1} << limite) - 1U));
            const int pos = Libera(occupate, limite, g.Sotto(libere));
            if (pos < 0) {
                return; // cannot happen with a usable history; weigh alike
            }
            occupate |= std::uint32_t{1} << pos;
            arrivi[static_cast<std::size_t>(std::max(0, pos - 2))] |= Bit(o.carta);
        }
        for (Maschera m = p.mano; m != 0; m &= m - 1) {
            const int libere = posizioni_ - Quante(occupate);
            const int pos = Libera(occupate, posizioni_, g.Sotto(libere));
            if (pos < 0) {
                return;
            }
            occupate |= std::uint32_t{1} << pos;
            arrivi[static_cast<std::size_t>(std::max(0, pos - 2))] |= Bit(Prima(m));
        }
        Maschera arrivate = arrivi[0];
        Maschera giocate = 0;
        int slot = 1;
        for (int i = 0; i < numero_; ++i) {
            const Osservazione& o = osservazioni_[static_cast<std::size_t>(i)];
            for (; slot < o.presa && slot < static_cast<int>(arrivi.size()); ++slot) {
                arrivate |= arrivi[static_cast<std::size_t>(slot)];
            }
            const Maschera mano = arrivate & ~giocate;
            giocate |= Bit(o.carta);
            const int n = Quante(mano);
            if (n <= 1) {
                continue;
            }
            const double a = 1.0 / n;
            const bool golosa = SceltaGolosa(mano, o.tavolo, briscola_) == o.carta;
            const bool sensata = sim::SceltaSensata(mano, o.tavolo, briscola_) == o.carta;
            auto& v = p.verosimiglianza;
            v[static_cast<std::size_t>(Modello::Casuale)] *= a;
            v[static_cast<std::size_t>(Modello::Goloso)] *=
                ScartoGoloso * a + (golosa ? 1 - ScartoGoloso : 0);
            v[static_cast<std::size_t>(Modello::Sensato)] *=
                ScartoSensato * a + (sensata ? 1 - ScartoSensato : 0);
        }
    }

    const std::array<double, NumeroModelli>& priori_;
    Maschera nonViste_;
    int carteSue_;
    int briscola_;
    std::array<Osservazione, 21> osservazioni_{};
    int numero_ = 0;
    int posizioni_ = 0;
    bool storiaUsabile_ = false;
};

Modello EstraiModello(const Esperto::Particella& p, const std::array<double, NumeroModelli>& priori,
                      Generatore& g) {
    double r = g.Uniforme() * p.peso;
    for (int m = 0; m < NumeroModelli - 1; ++m) {
        r -= priori[static_cast<std::size_t>(m)] * p.verosimiglianza[static_cast<std::size_t>(m)];
        if (r < 0) {
            return static_cast<Modello>(m);
        }
    }
    return static_cast<Modello>(NumeroModelli - 1);
}

// The deal as the expert imagines it, with the other hand given and the
// rest of the unseen cards shuffled into the stock.
Posizione Mondo(const Conoscenza& k, Maschera manoSua, Generatore& g) {
    Posizione p;
    p.mano = {k.Mano, manoSua};
    Maschera mazzo = k.NonViste() & ~manoSua;
    p.coperte = 0;
    while (mazzo != 0) {
        const int c = sim::CartaACaso(mazzo, g);
        mazzo &= ~Bit(c);
        p.mazzo[static_cast<std::size_t>(p.coperte++)] = static_cast<std::int8_t>(c);
    }
    p.scoperta = k.CartaScoperta;
    p.briscola = k.SemeBriscola;
    p.punti = {PuntiDi(k.PreseMie), PuntiDi(k.PreseSue)};
    p.guida = k.CartaAvversario >= 0 ? 1 : 0;
    p.inTavola = k.CartaAvversario;
    return p;
}

} // namespace

Esperto::Esperto(std::uint64_t seme, int campioni)
    : seme_(seme), campioni_(std::max(1, campioni)), priori_(PrioriIniziali) {
    evidenza_.fill(1.0);
}

void Esperto::NuovaPartita(int prese) {
    if (prese < prese_) {
        double totale = 0;
        for (std::size_t m = 0; m < priori_.size(); ++m) {
            priori_[m] *= evidenza_[m];
            totale += priori_[m];
        }
        for (double& p : priori_) {
            p = std::max(PrioreMinimo, p / totale);
        }
        totale = 0;
        for (const double p : priori_) {
            totale += p;
        }
        for (double& p : priori_) {
            p /= totale;
        }
        evidenza_.fill(1.0);
    }
    prese_ = prese;
}

int Esperto::Scegli(const Conoscenza& k) {
    NuovaPartita(k.NumeroPrese);
    if (Quante(k.Mano) <= 1) {
        return k.Mano != 0 ? Prima(k.Mano) : -1;
    }
    if (!Coerente(k)) {
        return sim::SceltaSensata(k.Mano, k.CartaAvversario, k.SemeBriscola);
    }
    Generatore g(Mescola(seme_, Impronta(k)));

    // Imagine the other hand many times and keep the hands in proportion
    // to how well they explain the other side's plays.
    const Inferenza inferenza(k, priori_);
    // As many hands as deals to imagine; more when the weights are so
    // uneven that few hands would carry the decision.
    particelle_.clear();
    double totale = 0;
    double quadrati = 0;
    std::array<double, NumeroModelli> stima{};
    const auto campiona = [&](int quante) {
        for (int n = 0; n < quante; ++n) {
            Particella& p = particelle_.emplace_back();
            inferenza.Campiona(g, p);
            totale += p.peso;
            quadrati += p.peso * p.peso;
            for (std::size_t m = 0; m < stima.size(); ++m) {
                stima[m] += priori_[m] * p.verosimiglianza[m];
            }
        }
    };
    campiona(campioni_);
    if (totale * totale < 0.5 * campioni_ * quadrati) {
        campiona(campioni_ * (Sovracampionamento - 1));
    }
    if (!(totale > 0) || !std::isfinite(totale)) {
        // Nothing explained the plays at all: weigh every hand alike.
        for (Particella& p : particelle_) {
            p.peso = 1;
        }
        totale = static_cast<double>(particelle_.size());
        stima = priori_;
    } else {
        // The evidence of this game so far, scaled so that the best model
        // has 1.
        double massimo = 0;
        for (std::size_t m = 0; m < stima.size(); ++m) {
            stima[m] /= totale;
            evidenza_[m] = priori_[m] > 0 ? stima[m] / priori_[m] : 0.0;
            massimo = std::max(massimo, evidenza_[m]);
        }
        for (double& e : evidenza_) {
            e = massimo > 0 ? e / massimo : 1.0;
        }
    }
    stima_ = stima;

    scelte_.clear();
    for (Maschera m = k.Mano; m != 0; m &= m - 1) {
        scelte_.push_back(Prima(m));
    }
    std::vector<double> valori(scelte_.size(), 0.0);

    // With few covered cards left there are few distinct deals to imagine:
    // each is searched to its end, once.
    const bool esatto = k.CarteCoperte <= SogliaEsatta && scelte_.size() <= 3;
    std::unordered_map<std::uint64_t, std::array<double, 3>> risolti;

    // Systematic resampling: campioni_ deals, each drawn in proportion to
    // its weight.
    const double passo = totale / campioni_;
    double soglia = g.Uniforme() * passo;
    double cumulato = 0;
    std::size_t indice = 0;
    for (int n = 0; n < campioni_; ++n) {
        while (indice + 1 < particelle_.size() && cumulato + particelle_[indice].peso < soglia) {
            cumulato += particelle_[indice++].peso;
        }
        soglia += passo;
        const Particella& p = particelle_[indice];
        const Modello modello = EstraiModello(p, priori_, g);
        const Posizione mondo = Mondo(k, p.mano, g);
        const std::uint64_t semeGiocata = g.Prossimo();
        if (esatto) {
            // The other hand, the covered cards in the order drawn, the model.
            std::uint64_t chiave = p.mano | std::uint64_t{static_cast<unsigned>(modello)} << 40;
            for (int c = 0; c < mondo.coperte; ++c) {
                chiave |= std::uint64_t(mondo.mazzo[static_cast<std::size_t>(c)] + 1)
                          << (42 + 6 * c);
            }
            auto [it, nuovo] = risolti.try_emplace(chiave);
            if (nuovo) {
                for (std::size_t c = 0; c < scelte_.size(); ++c) {
                    Posizione q = mondo;
                    q.Gioca(scelte_[c]);
                    it->second[c] = sim::ValoreEsatto(q, modello, Utilita);
                }
            }
            for (std::size_t c = 0; c < scelte_.size(); ++c) {
                valori[c] += it->second[c];
            }
            continue;
        }
        // The same imagined deal and the same numbers for every card:
        // the cards are compared on equal terms.
        for (std::size_t c = 0; c < scelte_.size(); ++c) {
            Posizione q = mondo;
            q.Gioca(scelte_[c]);
            Generatore gioco(semeGiocata);
            valori[c] += sim::Prosegui(q, modello, gioco, Utilita);
        }
    }
    const auto migliore = std::max_element(valori.begin(), valori.end()) - valori.begin();
    return scelte_[static_cast<std::size_t>(migliore)];
}

} // namespace trivanta
