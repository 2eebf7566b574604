// What the window costs: a redraw of the table rendered into the real
// window, loading the 41 card pictures, and building the window.

#include "Browser.h"
#include "CardPictures.h"
#include "Carte.h"
#include "MainWindow.h"
#include "Scatole.h"
#include "Tavolo.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace trivanta;

float fixedClock() {
    return 43200.0f;
}

// Every box answered at once, none kept: Yes to "another game?".
struct InstantBoxes : test::ScatoleScriptate {
    InstantBoxes() { registra = false; }
};

struct Table {
    InstantBoxes boxes;
    test::BrowserScriptato browser;
    PcgRandom random{7, fixedClock};
    MainWindow window{&boxes, &random, &browser};

    Table() {
        window.Form_Load();
        window.show();
        QCoreApplication::processEvents();
    }
};

// One redraw as the game makes it after a change of the table: the game's
// Ridisegna, the window bringing its controls in line, and Qt painting what
// changed. Two positions of a game alternate, so every redraw changes the
// hands and the table.
void RidisegnaFinestra(benchmark::State& state) {
    Table t;
    Briscola& game = t.window.briscola();
    const auto first = game.stato().StatoCarte;
    game.giocatautente_Click();
    game.giocatautente_Click();
    const auto later = game.stato().StatoCarte;
    bool flip = false;
    for (auto _ : state) {
        (void)_; // only counts the iterations
        game.stato().StatoCarte = flip ? first : later;
        flip = !flip;
        game.Ridisegna();
        t.window.Disegna();
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RidisegnaFinestra)->Unit(benchmark::kMicrosecond);

// The same without a change: what a redraw costs when nothing moved.
void RidisegnaSenzaCambi(benchmark::State& state) {
    Table t;
    Briscola& game = t.window.briscola();
    for (auto _ : state) {
        (void)_; // only counts the iterations
        game.Ridisegna();
        t.window.Disegna();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(RidisegnaSenzaCambi)->Unit(benchmark::kMicrosecond);

// The 41 pictures decoded from the resource, as at the first start.
void Carica41Immagini(benchmark::State& state) {
    for (auto _ : state) {
        (void)_; // only counts the iterations
        for (int v = 1; v <= 10; ++v) {
            for (int s = 1; s <= 4; ++s) {
                benchmark::DoNotOptimize(cardPicture(NomeImmagine(v, s)));
            }
        }
        benchmark::DoNotOptimize(cardPicture(Vuota));
    }
    state.SetItemsProcessed(state.iterations() * 41);
}
BENCHMARK(Carica41Immagini)->Unit(benchmark::kMicrosecond);

// The window built and destroyed, not shown.
void CostruisciFinestra(benchmark::State& state) {
    InstantBoxes boxes;
    test::BrowserScriptato browser;
    PcgRandom random(7, fixedClock);
    for (auto _ : state) {
        (void)_; // only counts the iterations
        auto window = std::make_unique<MainWindow>(&boxes, &random, &browser);
        benchmark::DoNotOptimize(window.get());
    }
}
BENCHMARK(CostruisciFinestra)->Unit(benchmark::kMicrosecond);

// Built, the first game dealt, shown and painted once: the program's start
// without the process and the toolkit.
void MostraFinestra(benchmark::State& state) {
    InstantBoxes boxes;
    test::BrowserScriptato browser;
    PcgRandom random(7, fixedClock);
    for (auto _ : state) {
        (void)_; // only counts the iterations
        auto window = std::make_unique<MainWindow>(&boxes, &random, &browser);
        window->Form_Load();
        window->show();
        window->repaint();
        window.reset();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(MostraFinestra)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
