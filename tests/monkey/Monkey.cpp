// A random run through the real window: a seeded stream of clicks on every
// control (hidden, inert and covered ones too), menu choices, keys and the
// close box, with every message box answered at random. After every event the
// referee checks the game and the window is compared with it; the first
// failure prints the seed and the events of its window. An event that never
// returns is ended by ctest's time-out.
//
//   MONKEY_EVENTS  events to run (default 20000)
//   MONKEY_SEED    seed of the run (default 20261206)
//   MONKEY_LIFE    start at this window of the run, to replay a failure

#include "Arbitro.h"
#include "Browser.h"
#include "MainWindow.h"
#include "Schermo.h"
#include "Testi.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QTest>
#include <QWindow>
#include <cstdio>
#include <memory>

namespace trivanta::monkey {
namespace {

using test::Dado;

void atteso(QStringList& errori, bool ok, const QString& cosa) {
    if (!ok) {
        errori << cosa;
    }
}

// Every step of the browser layer succeeds or fails at random; the order of
// the steps is the donation tests' business.
void BrowserACaso(test::BrowserScriptato& browser, Dado& dado) {
    using Passo = test::BrowserScriptato::Passo;
    browser.prima = [&browser, &dado](Passo passo) {
        // In the order of Passo; the program's folder is often closed, as
        // it is for an installed program.
        constexpr double rischio[] = {0.03, 0.3, 0.05, 0.05, 0.05, 0.05, 0.05};
        if (dado.chance(rischio[static_cast<int>(passo)])) {
            throw PlatformError(EACCES, "monkey: a step refused",
                                dado.chance(0.7) ? PlatformError::Kind::NotWritable
                                                 : PlatformError::Kind::Other);
        }
        const int r = dado.below(4);
        browser.risultatoRicerca = r == 0   ? ShellNoAssociation
                                   : r == 1 ? ShellFileNotFound
                                            : ShellOk;
        browser.risultatoAvvio = dado.chance(0.7) ? ShellOk : ShellFileNotFound;
    };
}

std::uint64_t semeDi(std::uint64_t seed, long vita, int uso) {
    return Dado(seed ^ (static_cast<std::uint64_t>(vita) * 0xd1b54a32d192ed03ULL) ^
                (static_cast<std::uint64_t>(uso) << 56))
        .next();
}

// The game's clock moves on a little at every reading.
float orologio = 0;
float letturaOrologio() {
    return orologio = orologio >= 86000.0f ? 0.0f : orologio + 0.0137f;
}

// user(0..2), then the inert ones, then the three that act.
const char* const Controlli[] = {
    "user(0)", "user(1)",    "user(2)",   "pc(0)",         "pc(1)",    "pc(2)",    "terrauser",
    "terrapc", "Shape2(0)",  "Shape2(1)", "Shape2(2)",     "Frame1",   "Label1",   "Label2",
    "Label4",  "StatusBar1", "client",    "cartabriscola", "Command1", "Command2", "giocatautente"};
constexpr int NumeroControlli = sizeof(Controlli) / sizeof(Controlli[0]);
constexpr int PrimoAttivo = 18;
const QKeyCombination Tasti[] = {
    Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space,  Qt::Key_Left,        Qt::Key_Right,
    Qt::Key_Up,     Qt::Key_Down,  Qt::Key_1,      Qt::Key_2,           Qt::Key_3,
    Qt::Key_4,      Qt::Key_Tab,   Qt::Key_Escape, Qt::ALT | Qt::Key_F, Qt::ALT | Qt::Key_Question,
    Qt::Key_N,      Qt::Key_I,     Qt::Key_D};
// Leaving is rare, so that one window sees several whole games.
const char* const Voci[] = {"newpart", "Info", "cmdDonazione"};

struct Copertura {
    long partite = 0, altraSi = 0, altraNo = 0, nuoveAMeta = 0, donazioni = 0, esci = 0, croce = 0;
};

// One window of the run, with its own scripted world.
struct Vita {
    Vita(std::uint64_t seed, long indice, Copertura& c)
        : cop(c), dado(semeDi(seed, indice, 0)), dadoBox_(semeDi(seed, indice, 1)),
          dadoBrowser_(semeDi(seed, indice, 2)), random_(semeDi(seed, indice, 3), letturaOrologio) {
        orologio = static_cast<float>(semeDi(seed, indice, 4) % 86000);
        // OK boxes are answered OK, "another game?" mostly Yes, "new game?" mostly No.
        boxes_.registra = false;
        boxes_.decidi = [this](const Message& m) {
            const bool fine = m.title == testi::TitoloFinePartita;
            const Answer a = m.buttons != Buttons::YesNo          ? Answer::Ok
                             : dadoBox_.chance(fine ? 0.75 : 0.3) ? Answer::Yes
                                                                  : Answer::No;
            visti.push_back({m, a});
            return a;
        };
        boxes_.mentreAperta = [this](const Message& m) {
            arbitro.Box(m, w->briscola().stato(), w->briscola().tavolo());
        };
        BrowserACaso(browser_, dadoBrowser_);
        w = std::make_unique<MainWindow>(&boxes_, &random_, &browser_);
        // Esci may come from the menu opened by keys too.
        QObject::connect(w->findChild<QAction*>(QStringLiteral("esci")), &QAction::triggered,
                         [this] { ++cop.esci, esci = true; });
        w->Form_Load();
        w->show();
        w->activateWindow();
        atteso(errori, QTest::qWaitForWindowActive(w.get()), QStringLiteral("never active"));
    }

    // Picks and runs one event; returns its description, "" once the window closed.
    QString esegui() {
        visti.clear();
        esci = false;
        // A copy of the table, to compare after the event (cppcheck takes it for a pointer).
        // cppcheck-suppress constVariable
        const auto carte = w->briscola().stato().StatoCarte;
        const Tavolo tavolo = w->briscola().tavolo();
        const bool aMeta = test::Conta(w->briscola().stato(), PosTerraPc) == 1;
        const int richieste = browser_.richieste;
        QString cosa;
        bool chiudere = false;
        QWindow* handle = w->windowHandle();
        const int r = dado.below(1000);
        if (r < 350) {
            const int c = r < 120   ? NumeroControlli - 1
                          : r < 220 ? dado.below(3)
                                    : dado.below(NumeroControlli);
            auto* control = w->findChild<QWidget*>(QString::fromLatin1(Controlli[c]));
            // A user's click on a hidden control lands on whatever lies
            // beneath; half go to the hidden control itself, as a synthetic
            // event might.
            const bool diretto = control->isVisible() || dado.chance(0.5);
            cosa = QStringLiteral("click %1%2").arg(Controlli[c], diretto ? "" : " (at its place)");
            if (diretto) {
                QTest::mouseClick(control, Qt::LeftButton);
            } else {
                QTest::mouseClick(handle, Qt::LeftButton, {},
                                  control->mapTo(w.get(), control->rect().center()));
            }
            QCoreApplication::processEvents();
            atteso(
                errori,
                !diretto || c < 3 || c >= PrimoAttivo ||
                    (carte == w->briscola().stato().StatoCarte && tavolo == w->briscola().tavolo()),
                QStringLiteral("a click on an inert control changed the game"));
        } else if (r < 500) {
            const QPoint p(dado.below(w->width()), dado.below(w->height()));
            cosa = QStringLiteral("click at (%1,%2)").arg(p.x()).arg(p.y());
            QTest::mouseClick(handle, Qt::LeftButton, {}, p);
        } else if (r < 920) {
            const QKeyCombination k = Tasti[dado.below(std::size(Tasti))];
            cosa = QStringLiteral("key ") + QKeySequence(k).toString();
            // Keys go where the system sends them: an open menu first.
            QWindow* focus = QGuiApplication::focusWindow();
            QTest::keyClick(focus ? focus : handle, k.key(), k.keyboardModifiers());
        } else if (r < 998) {
            const char* voce = dado.below(50) == 0 ? "esci" : Voci[dado.below(std::size(Voci))];
            cosa = QStringLiteral("menu ") + voce;
            w->findChild<QAction*>(QString::fromLatin1(voce))->trigger();
        } else {
            cosa = QStringLiteral("close box");
            chiudere = true;
            ++cop.croce;
            handle->close();
        }
        QCoreApplication::processEvents();
        chiudere = chiudere || esci;
        cop.donazioni += browser_.richieste - richieste;
        for (const auto& v : visti) {
            const bool fine = v.message.title && *v.message.title == testi::TitoloFinePartita;
            cop.partite += fine ? 1 : 0;
            (v.answer == Answer::Yes ? cop.altraSi : cop.altraNo) += fine ? 1 : 0;
            cop.nuoveAMeta += aMeta && v.message.title && *v.message.title == testi::TitoloSicuro &&
                              v.answer == Answer::Yes;
            chiudere = chiudere || v.message.text == testi::Saluto;
            const char* risposta[] = {"OK", "Yes", "No"}; // in the order of Answer
            cosa += QStringLiteral(" [box '%1' %2]")
                        .arg(QString::fromStdString(v.message.text).left(30).simplified(),
                             risposta[static_cast<int>(v.answer)]);
        }
        atteso(errori, w->isVisible() != chiudere,
               chiudere ? QStringLiteral("the window stayed open after it was asked to close")
                        : QStringLiteral("the window closed though nobody asked"));
        if (!w->isVisible()) {
            atteso(errori, test::Controllo<QObject>(*w, QStringLiteral("cards")) == nullptr,
                   QStringLiteral("pictures outlived the window"));
            return cosa.prepend(QStringLiteral("[closed] "));
        }
        arbitro.TraLePrese(w->briscola().stato(), w->briscola().tavolo());
        for (const std::string& e : arbitro.errori) {
            errori << QString::fromStdString(e);
        }
        arbitro.errori.clear();
        const QString schermo = test::DifferenzeDalTavolo(*w, false);
        atteso(errori, schermo.isEmpty(),
               QStringLiteral("the window differs from the game: ") + schermo);
        return cosa;
    }

    // In this order: the window goes before the world it was given.
    struct Visto {
        Message message;
        Answer answer;
    };
    Copertura& cop;
    Dado dado;
    Dado dadoBox_;
    Dado dadoBrowser_;
    test::ScatoleScriptate boxes_;
    test::BrowserScriptato browser_;
    std::vector<Visto> visti; // the boxes of the event in progress
    test::Arbitro arbitro;
    PcgRandom random_;
    std::unique_ptr<MainWindow> w;
    QStringList errori;
    bool esci = false;
};

void stampa(const QStringList& diario, const QStringList& errori, std::uint64_t seed, long vita) {
    (void)std::fprintf(
        stderr,
        "\nmonkey: FAILED at event %lld of window %ld, seed %llu\n  - %s\n"
        "Replay: MONKEY_SEED=%llu MONKEY_LIFE=%ld MONKEY_EVENTS=%lld\nEvents:\n",
        static_cast<long long>(diario.size() - 1), vita, static_cast<unsigned long long>(seed),
        qPrintable(errori.join(QStringLiteral("\n  - "))), static_cast<unsigned long long>(seed),
        vita, static_cast<long long>(diario.size()));
    for (qsizetype i = 0; i < diario.size(); ++i) {
        (void)std::fprintf(stderr, "  %lld %s\n", static_cast<long long>(i), qPrintable(diario[i]));
    }
}

std::uint64_t numero(const char* env, std::uint64_t base) {
    bool ok = false;
    const std::uint64_t v = qEnvironmentVariable(env).toULongLong(&ok, 0);
    return ok ? v : base;
}

} // namespace
} // namespace trivanta::monkey

int main(int argc, char* argv[]) {
    using namespace trivanta::monkey;
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    // QTest's words on mouse events no widget took are expected here.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    const std::uint64_t s = numero("MONKEY_SEED", 20261206);
    const auto eventi = static_cast<long>(numero("MONKEY_EVENTS", 20000));
    const auto primo = static_cast<long>(numero("MONKEY_LIFE", 0));
    long vita = primo;
    Copertura cop;
    int rc = 0;
    QStringList diario; // the events of the current window
    auto corrente = std::make_unique<Vita>(s, vita, cop);
    for (long i = 0; i < eventi && rc == 0; ++i) {
        diario << corrente->esegui();
        if (!corrente->errori.isEmpty()) {
            stampa(diario, corrente->errori, s, vita);
            rc = 1;
        } else if (diario.last().startsWith(QStringLiteral("[closed]"))) {
            corrente.reset();
            diario.clear();
            corrente = std::make_unique<Vita>(s, ++vita, cop);
        }
    }
    corrente.reset();
    std::printf("monkey: seed %llu, %ld events, %ld windows, %ld whole games (another: %ld yes, "
                "%ld no), %ld new games mid-trick, %ld donation requests\n",
                static_cast<unsigned long long>(s), eventi, vita - primo + 1, cop.partite,
                cop.altraSi, cop.altraNo, cop.nuoveAMeta, cop.donazioni);
    // A long run that never reached a part of the program proves nothing about it.
    if (rc == 0 && eventi >= 10000 && primo == 0 &&
        (cop.partite < 10 || cop.altraSi == 0 || cop.altraNo == 0 || cop.nuoveAMeta == 0 ||
         cop.donazioni == 0 || cop.esci == 0 || cop.croce == 0)) {
        (void)std::fprintf(stderr, "monkey: the run missed a part of the game\n");
        rc = 1;
    }
    return rc;
}
