// A random run through the real window: a seeded stream of clicks on every
// control (hidden, inert and covered ones too), menu choices, keys and the
// close box, with every message box answered at random. The referee checks the game after every
// event and in every box, and the window is compared with the game. Each
// window of the run draws from dice of its own, seeded by the run's seed and
// its number, so the first failure prints the line that replays it alone. An
// event that never returns is ended by ctest's time-out.
//
//   MONKEY_EVENTS  events to run (default 20000)
//   MONKEY_SEED    seed of the run (default 20261206)
//   MONKEY_LIFE    start at this window of the run, to replay a failure

#include "Arbitro.h"
#include "Browser.h"
#include "Schermo.h"
#include "Testi.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <array>
#include <cstdio>
#include <memory>

namespace trivanta::monkey {
namespace {

const QList<QKeySequence> Tasti = QKeySequence::listFromString(
    "Return; Enter; Space; Left; Right; Up; Down; 1; 2; 3; 4; Tab; Esc; Alt+F; Alt+?; N; I; D");

// What the run reached, by part: a long run that missed a part proves nothing
// of it.
enum Parte { AltraSi, AltraNo, Donazione, Esci, Croce };
const char* const Parti[] = {"another game: yes", "another game: no", "donation request", "Esci",
                             "close box"};
std::array<long, std::size(Parti)> copertura{};

// One window of the run, with its own scripted world; what goes wrong joins
// the referee's findings.
struct Vita {
    explicit Vita(std::uint64_t seme) : dado(seme) {
        // "Another game?" mostly Yes, "new game?" mostly No.
        boxes.registra = false;
        boxes.decidi = [this](const Message& m) {
            const bool fine = m.title == testi::TitoloFinePartita;
            const Answer a = m.buttons != Buttons::YesNo      ? Answer::Ok
                             : dado.chance(fine ? 0.75 : 0.3) ? Answer::Yes
                                                              : Answer::No;
            copertura[a == Answer::Yes ? AltraSi : AltraNo] += fine;
            chiudere = chiudere || m.text == testi::Saluto;
            return a;
        };
        boxes.mentreAperta = [this](const Message& m) {
            arbitro.Box(m, w->briscola().stato(), w->briscola().tavolo());
        };
        w = std::make_unique<MainWindow>(&boxes, &random, &browser);
        // Esci may come from the menu opened by keys too.
        QObject::connect(w->findChild<QAction*>("esci"), &QAction::triggered,
                         [this] { ++copertura[Esci], chiudere = true; });
        w->Form_Load();
        w->show();
        w->activateWindow();
        Controlla(QTest::qWaitForWindowActive(w.get()), "never active");
    }

    void Controlla(bool ok, const std::string& cosa) {
        if (!ok) {
            arbitro.errori.push_back(cosa);
        }
    }

    // Runs one event; false once the window closed.
    bool Esegui() {
        const Tavolo prima = w->briscola().tavolo();
        const int richieste = browser.richieste, r = dado.below(1000);
        chiudere = false;
        if (r < 500) {
            // Any control of the client area, most often "Gioca" or a card
            // of the hand. A user's click on a hidden control lands on
            // whatever lies beneath; half go to the hidden control itself, as
            // a synthetic event might.
            const auto tutti = w->centralWidget()->findChildren<QWidget*>();
            QWidget* c = r < 120   ? w->findChild<QWidget*>("giocatautente")
                         : r < 220 ? w->findChild<QWidget*>(QStringLiteral("user(%1)").arg(r % 3))
                                   : tutti[dado.below(tutti.size())];
            const bool diretto = c->isVisible() || dado.chance(0.5);
            const QPoint dove = c->mapTo(w.get(), c->rect().center());
            diretto ? QTest::mouseClick(c, Qt::LeftButton)
                    : QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, dove);
            QCoreApplication::processEvents();
            const bool attivo = qobject_cast<QPushButton*>(c) || c->objectName().startsWith("user");
            Controlla(!diretto || attivo || prima == w->briscola().tavolo(),
                      c->objectName().toStdString() + ", inert, changed the table");
        } else if (r < 920) {
            // Keys go where the system sends them: an open menu first.
            const QKeyCombination k = Tasti[dado.below(Tasti.size())][0];
            QWindow* focus = QGuiApplication::focusWindow();
            QTest::keyClick(focus ? focus : w->windowHandle(), k.key(), k.keyboardModifiers());
        } else if (r < 998) {
            // Leaving is rare, so that one window sees several whole games.
            const char* const voci[] = {"newpart", "Info", "cmdDonazione"};
            w->findChild<QAction*>(dado.below(50) == 0 ? "esci" : voci[r % 3])->trigger();
        } else {
            ++copertura[Croce], chiudere = true;
            w->windowHandle()->close();
        }
        QCoreApplication::processEvents();
        copertura[Donazione] += browser.richieste - richieste;
        Controlla(w->isVisible() != chiudere,
                  chiudere ? "the window stayed open" : "the window closed unasked");
        if (!w->isVisible()) {
            Controlla(!test::Controllo<QObject>(*w, "cards"), "pictures outlived the window");
            return false;
        }
        arbitro.TraLePrese(w->briscola().stato(), w->briscola().tavolo());
        const QString schermo = test::DifferenzeDalTavolo(*w, false);
        Controlla(schermo.isEmpty(), "the window differs from the game: " + schermo.toStdString());
        return true;
    }

    // In this order: the window goes before the world it was given.
    test::Dado dado;
    test::ScatoleScriptate boxes;
    test::BrowserScriptato browser;
    test::Arbitro arbitro;
    // The game's clock moves on a little at every reading.
    PcgRandom random{dado.next(), [t = static_cast<float>(dado.next() % 86000)]() mutable {
                         return t = t >= 86000.0F ? 0.0F : t + 0.0137F;
                     }};
    std::unique_ptr<MainWindow> w;
    bool chiudere = false;
};

} // namespace
} // namespace trivanta::monkey

int main(int argc, char* argv[]) {
    using namespace trivanta::monkey;
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // QTest's words on mouse events no widget took are expected here.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const auto numero = [](const char* env, unsigned long long base) {
        return qEnvironmentVariableIsSet(env) ? qEnvironmentVariable(env).toULongLong() : base;
    };
    const auto seed = numero("MONKEY_SEED", 20261206), eventi = numero("MONKEY_EVENTS", 20000),
               primo = numero("MONKEY_LIFE", 0);
    // The seed of each window of the run.
    const auto seme = [seed](unsigned long long vita) {
        return trivanta::test::Dado(seed ^ (vita * 0xd1b54a32d192ed03ULL)).next();
    };
    auto vita = primo, inizio = 0ULL; // the window, and the event it began with
    auto corrente = std::make_unique<Vita>(seme(vita));
    for (auto i = 0ULL; i < eventi; ++i) {
        const bool aperta = corrente->Esegui();
        if (!corrente->arbitro.errori.empty()) {
            (void)std::fprintf(
                stderr,
                "monkey: %s\nReplay: MONKEY_SEED=%llu MONKEY_LIFE=%llu MONKEY_EVENTS=%llu\n",
                corrente->arbitro.errori.front().c_str(), seed, vita, i - inizio + 1);
            return 1;
        }
        if (!aperta) {
            corrente.reset();
            corrente = std::make_unique<Vita>(seme(++vita));
            inizio = i + 1;
        }
    }
    std::printf("monkey: seed %llu, %llu events, %llu windows\n", seed, eventi, vita - primo + 1);
    bool mancata = copertura[AltraSi] + copertura[AltraNo] < 10; // whole games
    for (std::size_t i = 0; i < copertura.size(); ++i) {
        std::printf("  %s: %ld\n", Parti[i], copertura[i]);
        mancata = mancata || copertura[i] == 0;
    }
    // Only a whole run from its start has to reach every part.
    return eventi >= 10000 && primo == 0 && mancata ? 1 : 0;
}
