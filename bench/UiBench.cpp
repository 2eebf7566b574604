// What the window costs: a redraw of the table rendered into the real
// window, loading the 41 card pictures, and building the window.

#include "BrowserPlatform.h"
#include "CardPictures.h"
#include "InstantBoxes.h"
#include "MainWindow.h"

#include <QApplication>
#include <QPixmapCache>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace trivanta;

// Never reached: no benchmark presses a donation control.
class NoBrowser final : public BrowserPlatform {
public:
    std::string programDirectory() override { return "/nonexistent"; }
    char pathSeparator() const override { return '/'; }
    void writeFile(const std::string&, std::string_view) override {}
    FoundExecutable findExecutable(const std::string&) override { return {}; }
    ShellResult launch(std::int32_t, const std::string&, const std::string&) override {
        return ShellNoAssociation;
    }
    void deleteFile(const std::string&) override {}
};

float fixedClock() {
    return 43200.0f;
}

struct Table {
    InstantBoxes boxes;
    NoBrowser browser;
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
    static const char* const names[] = {
        "o1", "o2", "o3", "o4", "o5", "o6", "o7", "o8", "o9", "o0", "s1", "s2", "s3",   "s4",
        "s5", "s6", "s7", "s8", "s9", "s0", "c1", "c2", "c3", "c4", "c5", "c6", "c7",   "c8",
        "c9", "c0", "b1", "b2", "b3", "b4", "b5", "b6", "b7", "b8", "b9", "b0", "vuota"};
    for (auto _ : state) {
        (void)_; // only counts the iterations
        QPixmapCache::clear();
        for (const char* name : names) {
            benchmark::DoNotOptimize(cardPicture(name));
        }
    }
    state.SetItemsProcessed(state.iterations() * 41);
}
BENCHMARK(Carica41Immagini)->Unit(benchmark::kMicrosecond);

// The window built and destroyed, not shown.
void CostruisciFinestra(benchmark::State& state) {
    InstantBoxes boxes;
    NoBrowser browser;
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
    NoBrowser browser;
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
