// One whole game through the real window, short enough for the memory
// checkers: the About box and a donation request, then twenty tricks, the
// final question answered No and the window closing by itself.

#include "Browser.h"
#include "MainWindow.h"
#include "Scatole.h"
#include "Schermo.h"
#include "Testi.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <cstdio>

using namespace trivanta;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    test::ScatoleScriptate boxes;
    boxes.decidi = [](const Message&) { return Answer::No; }; // no other game
    test::BrowserScriptato browser;
    browser.risultatoAvvio = ShellFileNotFound;
    PcgRandom random(3, [] { return 40000.0f; });
    auto window = std::make_unique<MainWindow>(&boxes, &random, &browser);
    window->Form_Load();
    window->show();
    window->findChild<QAction*>(QStringLiteral("Info"))->trigger();
    QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("Command1")), Qt::LeftButton);
    int presses = 0;
    for (; window->isVisible() && presses < 25; ++presses) {
        QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("user(0)")), Qt::LeftButton);
        QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("giocatautente")),
                          Qt::LeftButton);
    }
    const bool ok = presses == 20 && !boxes.mostrate.empty() &&
                    boxes.mostrate.back().text == testi::Saluto && !window->isVisible() &&
                    test::Controllo<QObject>(*window, QStringLiteral("cards")) == nullptr;
    window.reset();
    std::printf("one game: %d presses of Gioca, %zu boxes: %s\n", presses, boxes.mostrate.size(),
                ok ? "ended and closed" : "FAILED");
    return ok ? 0 : 1;
}
