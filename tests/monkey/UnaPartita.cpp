// One whole game through the real window, for the memory checkers: the
// About box and a donation request first, then twenty tricks with clicks on
// the cards and on "Gioca", the final question answered No and the window
// closing by itself. Fails unless the game ran to its end and closed.

#include "Carte.h"
#include "MainWindow.h"
#include "Scripted.h"
#include "Testi.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <cstdio>

using namespace trivanta;

namespace {

float orologio() {
    static float t = 40000.0f;
    return t += 0.25f;
}

int inMano(const StatoGioco& s) {
    int n = 0;
    for (int v = 1; v <= NumeroValori; ++v) {
        for (int m = 1; m <= NumeroSemi; ++m) {
            n += s.StatoCarte[v][m] == PosManoUser ? 1 : 0;
        }
    }
    return n;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // No to another game: the game says goodbye and the window closes.
    monkey::ScatoleACaso boxes(1, 0.0, 0.0);
    monkey::BrowserACaso browser(2, testi::IndirizzoDonazione);
    PcgRandom random(3, orologio);
    auto window = std::make_unique<MainWindow>(&boxes, &random, &browser);
    window->Form_Load();
    window->show();

    window->findChild<QAction*>(QStringLiteral("Info"))->trigger();
    QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("Command1")), Qt::LeftButton);

    int presses = 0;
    while (window->isVisible() && presses < 25) {
        const int k = presses % std::max(1, inMano(window->briscola().stato()));
        QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("user(%1)").arg(k)),
                          Qt::LeftButton);
        QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("giocatautente")),
                          Qt::LeftButton);
        QCoreApplication::processEvents();
        ++presses;
    }

    bool fine = false;
    bool saluto = false;
    for (const auto& v : boxes.visti) {
        fine = fine || (v.message.title && *v.message.title == testi::TitoloFinePartita);
        saluto = saluto || v.message.text == testi::Saluto;
    }
    const bool ok = presses == 20 && fine && saluto && !window->isVisible() &&
                    !window->cards().loaded() && browser.errori.empty();
    window.reset();
    QCoreApplication::processEvents();
    std::printf("one game: %d presses of Gioca, %zu boxes, %s\n", presses, boxes.visti.size(),
                ok ? "ended and closed" : "FAILED");
    return ok ? 0 : 1;
}
