#include "avversari/Esperto.h"
#include "avversari/Sfida.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <vector>

namespace {

using namespace trivanta;

// Passes an expert's choice on and keeps every position in which it had a
// choice to make.
class Raccoglitore final : public Avversario {
public:
    explicit Raccoglitore(std::vector<Conoscenza>& posizioni) : posizioni_(posizioni) {}
    int Scegli(const Conoscenza& k) override {
        if (Quante(k.Mano) > 1) {
            posizioni_.push_back(k);
        }
        return esperto_.Scegli(k);
    }

private:
    std::vector<Conoscenza>& posizioni_;
    Esperto esperto_{1, 100};
};

// The positions of 60 seeded games, half against a random player and half
// against a greedy one, from the expert's seat.
const std::vector<Conoscenza>& Posizioni() {
    static const std::vector<Conoscenza> posizioni = [] {
        std::vector<Conoscenza> p;
        Raccoglitore pc(p);
        Goloso goloso;
        for (int partita = 0; partita < 60; ++partita) {
            PcgRandom random(static_cast<std::uint64_t>(partita), ContatoreReseed());
            PcgRandom suo(static_cast<std::uint64_t>(partita) + 1000, ContatoreReseed());
            Casuale casuale(suo);
            Avversario* user = partita % 2 == 0 ? static_cast<Avversario*>(&casuale) : &goloso;
            GiocaSfida(*user, pc, random);
        }
        return p;
    }();
    return posizioni;
}

// This thread's processor time: what a decision costs on one core, whatever
// else the machine is doing.
double MillisecondiCpu() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

double Quantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1))];
}

// The expert at full strength over every position: the median and the
// 99th percentile of the processor time a decision takes.
void EspertoDecisione(benchmark::State& state) {
    const auto& posizioni = Posizioni();
    Esperto esperto(7);
    std::vector<double> ms;
    for (auto _ : state) {
        (void)_;
        ms.clear();
        for (const Conoscenza& k : posizioni) {
            const double t0 = MillisecondiCpu();
            benchmark::DoNotOptimize(esperto.Scegli(k));
            ms.push_back(MillisecondiCpu() - t0);
        }
    }
    state.counters["decisions"] = static_cast<double>(ms.size());
    state.counters["median_ms"] = Quantile(ms, 0.5);
    state.counters["p99_ms"] = Quantile(ms, 0.99);
    state.counters["max_ms"] = Quantile(ms, 1.0);
}
BENCHMARK(EspertoDecisione)->Iterations(1)->Unit(benchmark::kSecond);

// Whole playouts from the first trick of a deal, the longest there are:
// sensible play against each model, the last tricks searched exactly.
void Playout(benchmark::State& state) {
    const auto modello = static_cast<sim::Modello>(state.range(0));
    sim::Generatore g(11);
    std::vector<sim::Posizione> inizi;
    for (int i = 0; i < 64; ++i) {
        std::array<int, NumeroCarte> mazzo{};
        for (std::size_t c = 0; c < mazzo.size(); ++c) {
            mazzo[c] = static_cast<int>(c);
        }
        for (int c = NumeroCarte - 1; c > 0; --c) {
            std::swap(mazzo[static_cast<std::size_t>(c)],
                      mazzo[static_cast<std::size_t>(g.Sotto(c + 1))]);
        }
        // The turned-up card first, the three cards of each hand last.
        sim::Posizione p;
        p.scoperta = mazzo[0];
        p.briscola = SemeIndice(p.scoperta);
        for (std::size_t c = 0; c < 6; ++c) {
            p.mano[c % 2] |= Bit(mazzo[mazzo.size() - 1 - c]);
        }
        p.coperte = 33;
        for (std::size_t c = 0; c < 33; ++c) {
            p.mazzo[c] = static_cast<std::int8_t>(mazzo[c + 1]);
        }
        inizi.push_back(p);
    }
    std::size_t i = 0;
    double somma = 0;
    for (auto _ : state) {
        (void)_;
        somma += sim::Prosegui(inizi[i++ % inizi.size()], modello, g, sim::Utilita{});
    }
    benchmark::DoNotOptimize(somma);
    state.counters["playouts/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(Playout)->Arg(0)->Arg(1)->Arg(2)->ArgName("modello");

} // namespace
