// trivanta-arena: two computer players meet over many deals, each deal twice
// with the seats swapped, through the same rules the window uses.
//
//   trivanta-arena [--partite N] [--seme S] [--campioni K] [--thread T]
//                  [--modelli] A B          (A, B: casuale, goloso, esperto)
//   trivanta-arena --help
//
// Both plays of a deal get the same cards: the game's generator is seeded
// for the deal and reseeded from a counter, and no player draws from it, so
// the stock never depends on the play. A seed makes the whole run exact,
// whatever the number of threads (see Flussi).

#include "avversari/Esperto.h"
#include "avversari/Sfida.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using namespace trivanta;

// The deals are split into this many streams, deal d into stream d % Flussi,
// each played in order by its own players. The expert remembers from one game
// to the next how its opponent plays, so a deal's result depends on the deals
// before it in its stream: fixed streams keep the run the same whatever the
// number of threads.
constexpr int Flussi = 8;

constexpr std::array<std::string_view, 3> Nomi{"casuale", "goloso", "esperto"};

std::uint64_t Mescola(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

struct Opzioni {
    int partite = 1000;
    std::uint64_t seme = 0;
    int campioni = Esperto::CampioniForte;
    int thread = 0;
    bool modelli = false;
    std::array<std::string, 2> giocatori;
};

// The command line as read: the options to play with; or the text to print
// and the status to end with (0 for --help on standard output, 2 for a
// mistake on standard error).
struct Lettura {
    Opzioni opzioni;
    std::string testo;
    int uscita = -1;
};

std::string Aiuto() {
    return "usage: trivanta-arena [OPTION]... A B\n"
           "Two computer players meet over many deals, each deal played twice with the\n"
           "seats swapped; prints A's wins, draws, losses, mean points and win rate.\n"
           "\n"
           "  A, B          the players: casuale (a card at random), goloso (the cheapest\n"
           "                card that takes the trick), esperto (the expert's search)\n"
           "  --partite N   deals to play, from 1 (default 1000)\n"
           "  --seme S      the run's seed, from 0 to 18446744073709551615: the same seed\n"
           "                plays the same run whatever the number of threads (default:\n"
           "                from the system's entropy, printed with the results)\n"
           "  --campioni K  deals the expert imagines for each of its cards, from 1\n"
           "                (default " +
           std::to_string(Esperto::CampioniForte) +
           ")\n"
           "  --thread T    threads, from 1; more than " +
           std::to_string(Flussi) +
           " are not used (default: one\n"
           "                per core)\n"
           "  --modelli     print also what each expert believed of its opponent, trick\n"
           "                by trick\n"
           "  --help        print this and end\n";
}

// A mistake: one line of its parts, status 2.
template <typename... Parti> Lettura Sbaglio(const Parti&... parti) {
    std::string riga = "trivanta-arena: ";
    ((riga += parti), ...);
    return {{}, riga + '\n', 2};
}

// Digits alone, no sign and no blank, from `minimo` to `massimo`; or none.
std::optional<std::uint64_t> Numero(std::string_view testo, std::uint64_t minimo,
                                    std::uint64_t massimo) {
    std::uint64_t n = 0;
    const char* fine = testo.data() + testo.size();
    const auto [dove, errore] = std::from_chars(testo.data(), fine, n);
    if (errore != std::errc{} || dove != fine || n < minimo || n > massimo) {
        return std::nullopt;
    }
    return n;
}

Lettura Leggi(int argc, char** argv) {
    Lettura l;
    Opzioni& o = l.opzioni;
    constexpr std::uint64_t MassimoInt = std::numeric_limits<int>::max();
    bool semeDato = false;
    int nomi = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help") {
            return {{}, Aiuto(), 0};
        }
        if (a == "--modelli") {
            o.modelli = true;
        } else if (a == "--partite" || a == "--seme" || a == "--campioni" || a == "--thread") {
            const bool seme = a == "--seme";
            const std::uint64_t minimo = seme ? 0 : 1;
            const std::uint64_t massimo = seme ? ~std::uint64_t{0} : MassimoInt;
            const std::string valori =
                "a number from " + std::to_string(minimo) + " to " + std::to_string(massimo);
            if (i + 1 >= argc) {
                return Sbaglio(a, " lacks its value, ", valori);
            }
            const auto n = Numero(argv[++i], minimo, massimo);
            if (!n) {
                return Sbaglio(a, " '", argv[i], "' is not ", valori);
            }
            if (seme) {
                o.seme = *n;
                semeDato = true;
            } else {
                (a == "--partite"    ? o.partite
                 : a == "--campioni" ? o.campioni
                                     : o.thread) = static_cast<int>(*n);
            }
        } else if (a.starts_with('-')) {
            return Sbaglio("unknown option ", a, "; trivanta-arena --help lists them");
        } else if (std::find(Nomi.begin(), Nomi.end(), a) == Nomi.end()) {
            return Sbaglio("unknown player ", a, "; the players: casuale, goloso, esperto");
        } else if (nomi == 2) {
            return Sbaglio("a third player ", a, "; name two of casuale, goloso, esperto");
        } else {
            o.giocatori[static_cast<std::size_t>(nomi++)] = a;
        }
    }
    if (nomi != 2) {
        return Sbaglio("name two players of casuale, goloso, esperto");
    }
    if (!semeDato) {
        std::random_device entropia;
        o.seme = std::uint64_t{entropia()} << 32 | entropia();
    }
    return l;
}

// What the expert believed of its opponent, per trick, summed over a game.
struct Credenze {
    std::array<std::array<double, sim::NumeroModelli>, 20> somma{};
    std::array<int, 20> volte{};
};

// One player of a stream.
class Giocatore {
public:
    Giocatore(std::string_view nome, std::uint64_t seme, int campioni)
        : nome_(nome), esperto_(seme, campioni) {}

    // The player for one deal; a random player draws from its own
    // generator, seeded for that deal.
    Avversario& Per(std::uint64_t semeGiocata) {
        if (nome_ == "casuale") {
            generatore_.emplace(semeGiocata, ContatoreReseed());
            casuale_ = std::make_unique<Casuale>(*generatore_);
            return *casuale_;
        }
        if (nome_ == "goloso") {
            return goloso_;
        }
        return registro_;
    }
    Credenze credenze;

private:
    // Passes the expert's choice on and notes its belief after it.
    class Registro final : public Avversario {
    public:
        explicit Registro(Giocatore& g) : g_(g) {}
        int Scegli(const Conoscenza& k) override {
            const int carta = g_.esperto_.Scegli(k);
            const auto t = static_cast<std::size_t>(std::min(k.NumeroPrese, 19));
            if (Quante(k.Mano) > 1) {
                for (std::size_t m = 0; m < g_.credenze.somma[t].size(); ++m) {
                    g_.credenze.somma[t][m] += g_.esperto_.Stima()[m];
                }
                ++g_.credenze.volte[t];
            }
            return carta;
        }

    private:
        Giocatore& g_;
    };

    std::string nome_;
    Esperto esperto_;
    Goloso goloso_;
    Registro registro_{*this};
    std::optional<PcgRandom> generatore_;
    std::unique_ptr<Casuale> casuale_;
};

struct Smazzata {
    std::array<EsitoSfida, 2> giocate; // [0]: A at the user's seat, [1]: swapped
    std::array<Credenze, 2> credenze;  // of each player, both plays together
};

void Gioca(int d, const Opzioni& o, std::array<Giocatore, 2>& g, Smazzata& out) {
    const std::uint64_t semeSmazzata = Mescola(o.seme * 1000003ULL + static_cast<unsigned>(d));
    for (auto& gi : g) {
        gi.credenze = {};
    }
    out.giocate = GiocaSmazzata(g[0].Per(Mescola(semeSmazzata ^ 0x5555)),
                                g[1].Per(Mescola(semeSmazzata ^ 0xaaaa)), semeSmazzata);
    for (std::size_t i = 0; i < 2; ++i) {
        out.credenze[i] = g[i].credenze;
    }
}

double Punteggio(int mie, int sue) {
    return mie > sue ? 1.0 : mie == sue ? 0.5 : 0.0;
}

} // namespace

int main(int argc, char** argv) {
    const Lettura lettura = Leggi(argc, argv);
    if (lettura.uscita >= 0) {
        (void)std::fputs(lettura.testo.c_str(), lettura.uscita == 0 ? stdout : stderr);
        return lettura.uscita;
    }
    const Opzioni& o = lettura.opzioni;
    int thread = o.thread > 0 ? o.thread : static_cast<int>(std::thread::hardware_concurrency());
    thread = std::clamp(thread, 1, Flussi);

    std::vector<Smazzata> smazzate(static_cast<std::size_t>(o.partite));
    std::atomic<int> prossimo{0};
    std::atomic<int> finite{0};
    const auto inizio = std::chrono::steady_clock::now();
    std::vector<std::thread> lavoratori;
    lavoratori.reserve(static_cast<std::size_t>(thread));
    for (int t = 0; t < thread; ++t) {
        lavoratori.emplace_back([&] {
            // Each stream has its own two players, who carry what they
            // learn from deal to deal; a thread plays whole streams.
            for (int f = prossimo++; f < Flussi; f = prossimo++) {
                std::array<Giocatore, 2> g{
                    Giocatore(o.giocatori[0], Mescola(o.seme ^ (0xA0U + f)), o.campioni),
                    Giocatore(o.giocatori[1], Mescola(o.seme ^ (0xB0U + f)), o.campioni)};
                for (int d = f; d < o.partite; d += Flussi) {
                    Gioca(d, o, g, smazzate[static_cast<std::size_t>(d)]);
                    ++finite;
                }
            }
        });
    }
    for (int fatte = 0; fatte < o.partite;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        fatte = finite.load();
        const double s =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
        (void)std::fprintf(stderr, "\r%d/%d deals, %.0f s", fatte, o.partite, s);
    }
    for (auto& l : lavoratori) {
        l.join();
    }
    const double secondi =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
    (void)std::fprintf(stderr, "\n");

    // From A's side: wins, draws, losses, points; the win rate counts a
    // draw half, and its interval comes from the spread of the deals'
    // scores, each the mean of its two plays.
    std::array<int, 3> conti{};
    long puntiA = 0;
    long puntiB = 0;
    double somma = 0;
    double somma2 = 0;
    int incomplete = 0;
    for (const Smazzata& s : smazzate) {
        double punteggio = 0;
        for (int scambio = 0; scambio < 2; ++scambio) {
            const EsitoSfida& e = s.giocate[static_cast<std::size_t>(scambio)];
            const int a = scambio == 0 ? e.PuntiUser : e.PuntiPc;
            const int b = scambio == 0 ? e.PuntiPc : e.PuntiUser;
            incomplete += e.Completa && e.Prese == 20 && a + b == 120 ? 0 : 1;
            ++conti[a > b ? 0 : a == b ? 1 : 2];
            puntiA += a;
            puntiB += b;
            punteggio += Punteggio(a, b) / 2;
        }
        somma += punteggio;
        somma2 += punteggio * punteggio;
    }
    const double n = o.partite;
    const double media = somma / n;
    const double varianza = n > 1 ? (somma2 - n * media * media) / (n - 1) : 0.0;
    const double margine = 1.96 * std::sqrt(std::max(0.0, varianza) / n);
    const char* a = o.giocatori[0].c_str();
    const char* b = o.giocatori[1].c_str();
    std::printf("%s vs %s: %d deals, each played twice with the seats swapped (%d games)\n", a, b,
                o.partite, 2 * o.partite);
    std::printf("seed %llu, expert samples %d, %d threads, %.1f s\n",
                static_cast<unsigned long long>(o.seme), o.campioni, thread, secondi);
    std::printf("%-10s wins %d, draws %d, losses %d\n", a, conti[0], conti[1], conti[2]);
    std::printf("mean points: %s %.2f, %s %.2f\n", a, static_cast<double>(puntiA) / (2 * n), b,
                static_cast<double>(puntiB) / (2 * n));
    std::printf("%s win rate (draws half): %.2f %% (95 %% interval %.2f - %.2f %%)\n", a,
                100 * media, 100 * std::max(0.0, media - margine),
                100 * std::min(1.0, media + margine));
    if (o.modelli) {
        for (std::size_t i = 0; i < 2; ++i) {
            if (o.giocatori[i] != "esperto") {
                continue;
            }
            std::printf("%s (%c) believed its opponent casuale / goloso / sensato, by trick:\n",
                        o.giocatori[i].c_str(), i == 0 ? 'A' : 'B');
            for (std::size_t t = 0; t < 20; ++t) {
                std::array<double, sim::NumeroModelli> m{};
                int volte = 0;
                for (const Smazzata& s : smazzate) {
                    for (std::size_t j = 0; j < m.size(); ++j) {
                        m[j] += s.credenze[i].somma[t][j];
                    }
                    volte += s.credenze[i].volte[t];
                }
                if (volte > 0) {
                    std::printf("  %2zu: %.3f %.3f %.3f\n", t + 1, m[0] / volte, m[1] / volte,
                                m[2] / volte);
                }
            }
        }
    }
    if (incomplete > 0) {
        std::printf("%d games did not end properly\n", incomplete);
        return 1;
    }
    return 0;
}
