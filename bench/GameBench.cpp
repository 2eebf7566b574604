#include "Briscola.h"
#include "Scatole.h"

#include <benchmark/benchmark.h>

namespace {

using namespace trivanta;

void WholeGames(benchmark::State& state) {
    // Yes to "another game?": games follow one another inside the same press.
    test::ScatoleScriptate boxes;
    boxes.registra = false;
    PcgRandom random(1);
    Briscola gioco(boxes, random);
    gioco.Form_Load();
    std::int64_t tricks = 0;
    for (auto _ : state) {
        (void)_;
        // Twenty presses of "Gioca" make one game; the last deals the next.
        for (int i = 0; i < 20; ++i) {
            gioco.giocatautente_Click();
        }
        tricks += 20;
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["games/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    benchmark::DoNotOptimize(tricks);
}
BENCHMARK(WholeGames);

void Reseed(benchmark::State& state) {
    PcgRandom random(1);
    for (auto _ : state) {
        (void)_;
        random.reseed();
        benchmark::DoNotOptimize(random.next());
    }
}
BENCHMARK(Reseed);

} // namespace

BENCHMARK_MAIN();
