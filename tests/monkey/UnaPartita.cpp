// One whole game through the real window, short enough for the memory
// checkers: the About box and a donation request, then twenty tricks, the
// final question answered No and the window closing by itself.

#include "MainWindow.h"
#include "Scripted.h"
#include "Testi.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <cstdio>

using namespace trivanta;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    monkey::ScatoleACaso boxes(1, 0.0, 0.0); // No to another game
    monkey::BrowserACaso browser(2);
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
    const bool ok = presses == 20 && !boxes.visti.empty() &&
                    boxes.visti.back().message.text == testi::Saluto && !window->isVisible() &&
                    !window->cards().loaded();
    window.reset();
    std::printf("one game: %d presses of Gioca, %zu boxes: %s\n", presses, boxes.visti.size(),
                ok ? "ended and closed" : "FAILED");
    return ok ? 0 : 1;
}
