// A random run through the real window: a seeded stream of clicks on every
// control (hidden, inert and covered ones too), menu choices, keys and the
// close box, with every message box answered at random and every step of the
// donation link failing at random. The referee checks the game after every
// event and in every box, and the window is compared with the game; the first
// failure prints the seed and the events of its window. An event that never
// returns is ended by ctest's time-out.
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
#include <QKeySequence>
#include <QTest>
#include <QWindow>
#include <cstdio>
#include <memory>

namespace trivanta::monkey {
namespace {

using test::Dado;

std::uint64_t Seme(std::uint64_t seed, long vita, int uso) {
    return Dado(seed ^ (static_cast<std::uint64_t>(vita) * 0xd1b54a32d192ed03ULL) ^
                (static_cast<std::uint64_t>(uso) << 56))
        .next();
}

// user(0..2), then the inert ones, then the three that act.
const char* const Controlli[] = {
    "user(0)", "user(1)",    "user(2)",   "pc(0)",         "pc(1)",    "pc(2)",    "terrauser",
    "terrapc", "Shape2(0)",  "Shape2(1)", "Shape2(2)",     "Frame1",   "Label1",   "Label2",
    "Label4",  "StatusBar1", "client",    "cartabriscola", "Command1", "Command2", "giocatautente"};
constexpr int PrimoAttivo = 18;
const QKeyCombination Tasti[] = {
    Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space,  Qt::Key_Left,        Qt::Key_Right,
    Qt::Key_Up,     Qt::Key_Down,  Qt::Key_1,      Qt::Key_2,           Qt::Key_3,
    Qt::Key_4,      Qt::Key_Tab,   Qt::Key_Escape, Qt::ALT | Qt::Key_F, Qt::ALT | Qt::Key_Question,
    Qt::Key_N,      Qt::Key_I,     Qt::Key_D};

// What the run reached: a long run that missed a part proves nothing of it.
struct Copertura {
    long partite = 0, si = 0, no = 0, aMeta = 0, donazioni = 0, esci = 0, croce = 0;
};

// One window of the run, with its own scripted world.
class Vita {
public:
    Vita(std::uint64_t seed, long indice, Copertura& cop)
        : cop_(cop), dado_(Seme(seed, indice, 0)), dadoBox_(Seme(seed, indice, 1)),
          dadoBrowser_(Seme(seed, indice, 2)),
          // The game's clock moves on a little at every reading.
          random_(Seme(seed, indice, 3),
                  [t = static_cast<float>(Seme(seed, indice, 4) % 86000)]() mutable {
                      return t = t >= 86000.0F ? 0.0F : t + 0.0137F;
                  }) {
        // "Another game?" mostly Yes, "new game?" mostly No.
        boxes_.registra = false;
        boxes_.decidi = [this](const Message& m) {
            const bool fine = m.title == testi::TitoloFinePartita;
            const Answer a = m.buttons != Buttons::YesNo          ? Answer::Ok
                             : dadoBox_.chance(fine ? 0.75 : 0.3) ? Answer::Yes
                                                                  : Answer::No;
            cop_.partite += fine ? 1 : 0;
            (a == Answer::Yes ? cop_.si : cop_.no) += fine ? 1 : 0;
            cop_.aMeta += aMeta_ && m.title == testi::TitoloSicuro && a == Answer::Yes;
            chiudere_ = chiudere_ || m.text == testi::Saluto;
            const char* risposta[] = {"OK", "Yes", "No"}; // in the order of Answer
            cosa_ += QStringLiteral(" [box '%1' %2]")
                         .arg(QString::fromStdString(m.text).left(30).simplified(),
                              risposta[static_cast<int>(a)]);
            return a;
        };
        boxes_.mentreAperta = [this](const Message& m) {
            arbitro_.Box(m, w_->briscola().stato(), w_->briscola().tavolo());
        };
        // Every step may fail; the program's folder is often closed, as an
        // installed program's is.
        browser_.prima = [this](test::BrowserScriptato::Passo passo) {
            constexpr double rischio[] = {0.03, 0.3, 0.05, 0.05, 0.05, 0.05, 0.05};
            if (dadoBrowser_.chance(rischio[static_cast<int>(passo)])) {
                throw PlatformError(EACCES, "monkey: a step refused",
                                    dadoBrowser_.chance(0.7) ? PlatformError::Kind::NotWritable
                                                             : PlatformError::Kind::Other);
            }
            const int r = dadoBrowser_.below(4);
            browser_.risultatoRicerca = r == 0   ? ShellNoAssociation
                                        : r == 1 ? ShellFileNotFound
                                                 : ShellOk;
            browser_.risultatoAvvio = dadoBrowser_.chance(0.7) ? ShellOk : ShellFileNotFound;
        };
        w_ = std::make_unique<MainWindow>(&boxes_, &random_, &browser_);
        // Esci may come from the menu opened by keys too.
        QObject::connect(w_->findChild<QAction*>(QStringLiteral("esci")), &QAction::triggered,
                         [this] { ++cop_.esci, chiudere_ = true; });
        w_->Form_Load();
        w_->show();
        w_->activateWindow();
        Controlla(QTest::qWaitForWindowActive(w_.get()), QStringLiteral("never active"));
    }

    // Runs one event and says what it was; "[closed] ..." once the window closed.
    QString Esegui() {
        const auto carte = w_->briscola().stato().StatoCarte;
        const Tavolo tavolo = w_->briscola().tavolo();
        const int richieste = browser_.richieste;
        aMeta_ = test::Conta(w_->briscola().stato(), PosTerraPc) == 1;
        chiudere_ = false;
        cosa_.clear();
        QWindow* handle = w_->windowHandle();
        const int r = dado_.below(1000);
        if (r < 350) {
            const int c = r < 120   ? PrimoAttivo + 2
                          : r < 220 ? dado_.below(3)
                                    : dado_.below(std::size(Controlli));
            auto* control = w_->findChild<QWidget*>(QString::fromLatin1(Controlli[c]));
            // A user's click on a hidden control lands on whatever lies
            // beneath; half go to the hidden control itself, as a synthetic
            // event might.
            const bool diretto = control->isVisible() || dado_.chance(0.5);
            cosa_ =
                QStringLiteral("click %1%2").arg(Controlli[c], diretto ? "" : " (at its place)");
            if (diretto) {
                QTest::mouseClick(control, Qt::LeftButton);
            } else {
                QTest::mouseClick(handle, Qt::LeftButton, {},
                                  control->mapTo(w_.get(), control->rect().center()));
            }
            QCoreApplication::processEvents();
            Controlla(!diretto || c < 3 || c >= PrimoAttivo ||
                          (carte == w_->briscola().stato().StatoCarte &&
                           tavolo == w_->briscola().tavolo()),
                      QStringLiteral("a click on an inert control changed the game"));
        } else if (r < 500) {
            const QPoint p(dado_.below(w_->width()), dado_.below(w_->height()));
            cosa_ = QStringLiteral("click at (%1,%2)").arg(p.x()).arg(p.y());
            QTest::mouseClick(handle, Qt::LeftButton, {}, p);
        } else if (r < 920) {
            const QKeyCombination k = Tasti[dado_.below(std::size(Tasti))];
            cosa_ = QStringLiteral("key ") + QKeySequence(k).toString();
            // Keys go where the system sends them: an open menu first.
            QWindow* focus = QGuiApplication::focusWindow();
            QTest::keyClick(focus ? focus : handle, k.key(), k.keyboardModifiers());
        } else if (r < 998) {
            // Leaving is rare, so that one window sees several whole games.
            const char* const voci[] = {"newpart", "Info", "cmdDonazione"};
            const char* voce = dado_.below(50) == 0 ? "esci" : voci[dado_.below(3)];
            cosa_ = QStringLiteral("menu ") + voce;
            w_->findChild<QAction*>(QString::fromLatin1(voce))->trigger();
        } else {
            cosa_ = QStringLiteral("close box");
            chiudere_ = true;
            ++cop_.croce;
            handle->close();
        }
        QCoreApplication::processEvents();
        cop_.donazioni += browser_.richieste - richieste;
        Controlla(w_->isVisible() != chiudere_,
                  chiudere_ ? QStringLiteral("the window stayed open after it was asked to close")
                            : QStringLiteral("the window closed though nobody asked"));
        if (!w_->isVisible()) {
            Controlla(test::Controllo<QObject>(*w_, QStringLiteral("cards")) == nullptr,
                      QStringLiteral("pictures outlived the window"));
            return cosa_.prepend(QStringLiteral("[closed] "));
        }
        arbitro_.TraLePrese(w_->briscola().stato(), w_->briscola().tavolo());
        for (const std::string& e : arbitro_.errori) {
            errori << QString::fromStdString(e);
        }
        arbitro_.errori.clear();
        const QString schermo = test::DifferenzeDalTavolo(*w_, false);
        Controlla(schermo.isEmpty(),
                  QStringLiteral("the window differs from the game: ") + schermo);
        return cosa_;
    }

    QStringList errori;

private:
    void Controlla(bool ok, const QString& cosa) {
        if (!ok) {
            errori << cosa;
        }
    }

    // In this order: the window goes before the world it was given.
    Copertura& cop_;
    Dado dado_, dadoBox_, dadoBrowser_;
    test::ScatoleScriptate boxes_;
    test::BrowserScriptato browser_;
    test::Arbitro arbitro_;
    PcgRandom random_;
    std::unique_ptr<MainWindow> w_;
    QString cosa_;
    bool aMeta_ = false, chiudere_ = false;
};

std::uint64_t Numero(const char* env, std::uint64_t base) {
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
    const std::uint64_t seed = Numero("MONKEY_SEED", 20261206);
    const auto eventi = static_cast<long>(Numero("MONKEY_EVENTS", 20000));
    const auto primo = static_cast<long>(Numero("MONKEY_LIFE", 0));
    long vita = primo;
    Copertura cop;
    QStringList diario; // the events of the current window
    auto corrente = std::make_unique<Vita>(seed, vita, cop);
    for (long i = 0; i < eventi; ++i) {
        diario << corrente->Esegui();
        if (!corrente->errori.isEmpty()) {
            (void)std::fprintf(stderr,
                               "\nmonkey: FAILED at event %lld of window %ld, seed %llu\n  - %s\n"
                               "Replay: MONKEY_SEED=%llu MONKEY_LIFE=%ld MONKEY_EVENTS=%lld\n"
                               "Events:\n  %s\n",
                               static_cast<long long>(diario.size() - 1), vita,
                               static_cast<unsigned long long>(seed),
                               qPrintable(corrente->errori.join(QStringLiteral("\n  - "))),
                               static_cast<unsigned long long>(seed), vita,
                               static_cast<long long>(diario.size()),
                               qPrintable(diario.join(QStringLiteral("\n  "))));
            return 1;
        }
        if (diario.last().startsWith(QStringLiteral("[closed]"))) {
            corrente.reset();
            diario.clear();
            corrente = std::make_unique<Vita>(seed, ++vita, cop);
        }
    }
    corrente.reset();
    std::printf("monkey: seed %llu, %ld events, %ld windows, %ld whole games (another: %ld yes, "
                "%ld no), %ld new games mid-trick, %ld donation requests\n",
                static_cast<unsigned long long>(seed), eventi, vita - primo + 1, cop.partite,
                cop.si, cop.no, cop.aMeta, cop.donazioni);
    if (eventi >= 10000 && primo == 0 &&
        (cop.partite < 10 || cop.si == 0 || cop.no == 0 || cop.aMeta == 0 || cop.donazioni == 0 ||
         cop.esci == 0 || cop.croce == 0)) {
        (void)std::fprintf(stderr, "monkey: the run missed a part of the game\n");
        return 1;
    }
    return 0;
}
