// A random run through the real window: a seeded stream of clicks on every
// control (hidden, inert and covered ones too), menu choices, keys and the
// close box, with every message box answered at random. After every event the
// game state and the widgets are checked; the first failure, or an event that
// never returns, prints the seed and the events that lead to it.
//
//   MONKEY_EVENTS  events to run (default 20000)
//   MONKEY_SEED    seed of the run (default 20261206)
//   MONKEY_LIFE    start at this window of the run, to replay a failure
//   MONKEY_STALL   seconds one event may take before the run counts as hung

#include "Carte.h"
#include "Controls.h"
#include "MainWindow.h"
#include "Scripted.h"
#include "Testi.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QWindow>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

namespace trivanta::monkey {
namespace {

using Conteggi = std::array<int, 12>;

Conteggi conta(const StatoGioco& s) {
    Conteggi n{};
    for (int v = 1; v <= NumeroValori; ++v) {
        for (int m = 1; m <= NumeroSemi; ++m) {
            const int p = s.StatoCarte[v][m];
            n[static_cast<std::size_t>(p >= 0 && p < 12 ? p : 1)] += 1; // 1: no valid code
        }
    }
    return n;
}

QString testoStato(const Conteggi& n) {
    return QStringLiteral("Carte prese dal PC: %1 Carte prese da USER: %2")
        .arg(n[PosPresaPc])
        .arg(n[PosPresaUser]);
}

void atteso(QStringList& errori, bool ok, const QString& cosa) {
    if (!ok) {
        errori << cosa;
    }
}

// Each card has one valid location; the row and column of no card stay 0.
void controllaCodici(QStringList& errori, const StatoGioco& s) {
    static const std::set<int> validi = {PosMazzo,     PosManoPc,   PosManoUser, PosPresaPc,
                                         PosPresaUser, PosBriscola, PosTerraPc,  PosTerraUser};
    for (int v = 0; v <= NumeroValori; ++v) {
        for (int m = 0; m <= NumeroSemi; ++m) {
            const int p = s.StatoCarte[v][m];
            atteso(errori, v == 0 || m == 0 ? p == PosMazzo : validi.count(p) == 1,
                   QStringLiteral("entry (%1, %2) holds location %3").arg(v).arg(m).arg(p));
        }
    }
}

// Between two events: the user has to play, the computer's card lies on the
// table exactly when it led, hands, stock and piles agree with the tricks.
void controllaStato(QStringList& errori, const StatoGioco& s, const Tavolo& t) {
    controllaCodici(errori, s);
    const Conteggi n = conta(s);
    const int trick = (n[PosPresaPc] + n[PosPresaUser]) / 2;
    const std::pair<bool, const char*> regole[] = {
        {n[PosTerraUser] == 0, "a user's card lies on the table between tricks"},
        {n[PosTerraPc] == (s.Turno == TurnoPc ? 1 : 0), "computer's card on the table, not led"},
        {s.WaitingForUser && s.WaitingForPC == (n[PosTerraPc] == 0), "waiting for the wrong side"},
        {!s.PartitaFinita && !s.SceltoDiChiudere, "a finished game is still on the table"},
        {n[PosPresaPc] % 2 == 0 && n[PosPresaUser] % 2 == 0, "a pile no tricks give"},
        {n[PosManoUser] == std::min(3, 20 - trick), "user's hand against the tricks"},
        {n[PosManoPc] + n[PosTerraPc] == n[PosManoUser], "computer's hand against the user's"},
        {n[PosMazzo] + n[PosBriscola] == std::max(0, 34 - 2 * trick), "stock against the tricks"},
        {n[PosBriscola] == (trick <= 16 ? 1 : 0), "trump card against the tricks"},
        {s.currentindex >= 0 && s.currentindex < n[PosManoUser], "selected slot out of the hand"},
        {t.Shape2[static_cast<std::size_t>(std::clamp(s.currentindex, 0, 2))],
         "no marker on the selected card"},
    };
    QString luoghi; // the count at every location code
    for (const int c : n) {
        luoghi += QStringLiteral(" %1").arg(c);
    }
    for (const auto& [ok, cosa] : regole) {
        atteso(errori, ok, QString::fromLatin1(cosa) + QStringLiteral(", counts") + luoghi);
    }
}

// The widgets show what the game decided.
void controllaFinestra(QStringList& errori, MainWindow& w) {
    const Tavolo& t = w.briscola().tavolo();
    const std::pair<const char*, const Posto*> posti[] = {
        {"user(0)", &t.user[0]},     {"user(1)", &t.user[1]}, {"user(2)", &t.user[2]},
        {"pc(0)", &t.pc[0]},         {"pc(1)", &t.pc[1]},     {"pc(2)", &t.pc[2]},
        {"terrauser", &t.terrauser}, {"terrapc", &t.terrapc}, {"cartabriscola", &t.cartabriscola}};
    for (const auto& [nome, posto] : posti) {
        const auto* p = w.findChild<CardPlace*>(QString::fromLatin1(nome));
        atteso(errori, p && p->immagine() == posto->immagine && p->isVisible() == posto->visibile,
               QStringLiteral("%1 differs from what the game says").arg(nome));
    }
    int markers = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        const auto* shape = w.findChild<QWidget*>(QStringLiteral("Shape2(%1)").arg(k));
        const auto* card = w.findChild<QWidget*>(QStringLiteral("user(%1)").arg(k));
        const bool shown = shape && shape->isVisible();
        markers += shown ? 1 : 0;
        atteso(errori, shown == t.Shape2[k] && (!shown || card->isVisible()),
               QStringLiteral("Shape2(%1) differs from the game or surrounds no card").arg(k));
    }
    atteso(errori, markers <= 1, QStringLiteral("%1 markers on screen").arg(markers));
    const auto* bar = w.findChild<QLabel*>(QStringLiteral("StatusBar1"));
    atteso(errori, bar && bar->text() == testoStato(conta(w.briscola().stato())),
           QStringLiteral("the status bar does not match the piles"));
}

// A box against the game as the box finds it.
void controllaBox(QStringList& errori, const StatoGioco& s, const Tavolo& t, const Message& m) {
    controllaCodici(errori, s);
    const Conteggi n = conta(s);
    if (m.text == testi::PrendeUtente || m.text == testi::PrendePc) {
        atteso(errori, n[PosTerraPc] == 1 && n[PosTerraUser] == 1,
               QStringLiteral("the taker is named without both cards on the table"));
    } else if (m.title && *m.title == testi::TitoloFinePartita) {
        static const QRegularExpression score(QStringLiteral("PC=(\\d+)\r\nPunti USER=(\\d+)"));
        const auto match = score.match(QString::fromStdString(m.text));
        atteso(errori,
               match.hasMatch() && match.captured(1).toInt() + match.captured(2).toInt() == 120 &&
                   n[PosPresaPc] + n[PosPresaUser] == 40,
               QStringLiteral("final score '%1' with %2 cards in the piles")
                   .arg(QString::fromStdString(m.text))
                   .arg(n[PosPresaPc] + n[PosPresaUser]));
        atteso(errori, !t.Shape2[0] && !t.Shape2[1] && !t.Shape2[2],
               QStringLiteral("a marker stays around the empty hand"));
    } else if (m.text == testi::ErroreVincitore) {
        errori << QStringLiteral("the trick had no winner");
    }
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
        : cop(c), dado(semeDi(seed, indice, 0)), boxes_(semeDi(seed, indice, 1), 0.75, 0.3),
          browser_(semeDi(seed, indice, 2)), random_(semeDi(seed, indice, 3), letturaOrologio) {
        orologio = static_cast<float>(semeDi(seed, indice, 4) % 86000);
        boxes_.guarda = [this](const Message& m) {
            controllaBox(errori, w->briscola().stato(), w->briscola().tavolo(), m);
        };
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
        boxes_.visti.clear();
        esci = false;
        // A copy of the table, to compare after the event (cppcheck takes it for a pointer).
        // cppcheck-suppress constVariable
        const auto carte = w->briscola().stato().StatoCarte;
        const Tavolo tavolo = w->briscola().tavolo();
        const bool aMeta = conta(w->briscola().stato())[PosTerraPc] == 1;
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
        for (const auto& v : boxes_.visti) {
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
            atteso(errori, !w->cards().loaded(), QStringLiteral("pictures outlived the window"));
            return cosa.prepend(QStringLiteral("[closed] "));
        }
        controllaStato(errori, w->briscola().stato(), w->briscola().tavolo());
        controllaFinestra(errori, *w);
        return cosa;
    }

    // In this order: the window goes before the world it was given.
    Copertura& cop;
    Dado dado;
    ScatoleACaso boxes_;
    BrowserACaso browser_;
    PcgRandom random_;
    std::unique_ptr<MainWindow> w;
    QStringList errori;
    bool esci = false;
};

std::mutex diarioMutex;
QStringList diario; // the events of the current window
std::atomic<long> progresso{0};

void stampa(const char* titolo, const QStringList& errori, std::uint64_t seed, long vita) {
    std::lock_guard lock(diarioMutex);
    (void)std::fprintf(
        stderr,
        "\nmonkey: %s at event %lld of window %ld, seed %llu\n  - %s\n"
        "Replay: MONKEY_SEED=%llu MONKEY_LIFE=%ld MONKEY_EVENTS=%lld\nEvents:\n",
        titolo, static_cast<long long>(diario.size() - 1), vita,
        static_cast<unsigned long long>(seed), qPrintable(errori.join(QStringLiteral("\n  - "))),
        static_cast<unsigned long long>(seed), vita, static_cast<long long>(diario.size()));
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
    std::atomic<long> vita = primo;

    // The watchdog: an event that never returns ends the run with its diary.
    std::atomic<bool> finito{false};
    std::thread sentinella([&, stall = numero("MONKEY_STALL", 120)] {
        long ultimo = -1;
        std::uint64_t fermo = 0;
        while (!finito) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            fermo = progresso == ultimo ? fermo + 1 : 0;
            ultimo = progresso;
            if (fermo > stall) {
                stampa("HUNG", {QStringLiteral("the event never returned")}, s, vita);
                std::_Exit(3);
            }
        }
    });
    Copertura cop;
    int rc = 0;
    auto corrente = std::make_unique<Vita>(s, vita, cop);
    for (long i = 0; i < eventi && rc == 0; ++i, ++progresso) {
        {
            std::lock_guard lock(diarioMutex);
            diario << QStringLiteral("(running)");
        }
        const QString cosa = corrente->esegui();
        {
            std::lock_guard lock(diarioMutex);
            diario.last() = cosa;
        }
        if (!corrente->errori.isEmpty()) {
            stampa("FAILED", corrente->errori, s, vita);
            rc = 1;
        } else if (cosa.startsWith(QStringLiteral("[closed]"))) {
            corrente.reset();
            {
                std::lock_guard lock(diarioMutex);
                diario.clear();
            }
            corrente = std::make_unique<Vita>(s, ++vita, cop);
        }
    }
    corrente.reset();
    finito = true;
    sentinella.join();
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
