// A random run through the real window: a seeded stream of mouse clicks on
// every control (hidden, inert and covered ones too), presses and releases
// apart, menu choices, keys, the close box and focus coming back from another
// window, with every message box answered at random. After every event the
// game state and the widgets are checked; the first failure prints the seed
// and the events that lead to it, and a stalled event does the same.
//
//   MONKEY_EVENTS  events to run (default 20000)
//   MONKEY_SEED    seed of the run (default 20261206)
//   MONKEY_LIFE    start at this window of the run, to replay a failure
//   MONKEY_STALL   seconds one event may take before the run counts as hung
//   MONKEY_VERBOSE print every event as it runs
// The same settings are accepted as --events=N, --seed=N, --life=N, --stall=N,
// --verbose.

#include "Carte.h"
#include "Invariants.h"
#include "Scripted.h"
#include "Testi.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QSet>
#include <QTest>
#include <QWindow>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace trivanta::monkey {

namespace {

struct Opzioni {
    std::uint64_t seed = 20261206;
    long events = 20000;
    long life = 0;
    int stall = 120;
    bool verbose = false;
};

Opzioni leggiOpzioni(const QStringList& args) {
    Opzioni o;
    const auto valore = [&args](const char* env, const QString& flag) -> QString {
        for (const QString& a : args) {
            if (a == flag) {
                return QStringLiteral("1");
            }
            if (a.startsWith(flag + '=')) {
                return a.mid(flag.size() + 1);
            }
        }
        return qEnvironmentVariable(env);
    };
    bool ok = false;
    if (const auto v = valore("MONKEY_SEED", QStringLiteral("--seed")).toULongLong(&ok, 0); ok) {
        o.seed = v;
    }
    if (const auto v = valore("MONKEY_EVENTS", QStringLiteral("--events")).toLong(&ok); ok) {
        o.events = v;
    }
    if (const auto v = valore("MONKEY_LIFE", QStringLiteral("--life")).toLong(&ok); ok) {
        o.life = v;
    }
    if (const auto v = valore("MONKEY_STALL", QStringLiteral("--stall")).toInt(&ok); ok) {
        o.stall = v;
    }
    o.verbose = !valore("MONKEY_VERBOSE", QStringLiteral("--verbose")).isEmpty();
    return o;
}

// Each window of the run draws from its own seeds, so a failure can be
// replayed from the start of its window.
std::uint64_t semeDi(std::uint64_t seed, long life, int uso) {
    Dado d(seed ^ (static_cast<std::uint64_t>(life) * 0xd1b54a32d192ed03ULL) ^
           (static_cast<std::uint64_t>(uso) << 56));
    return d.next();
}

// The game's clock during a run: it moves on a little at every reading, as
// the real one does, and starts from a point fixed by the window's seed.
float orologio = 0;
float letturaOrologio() {
    orologio += 0.0137f;
    if (orologio >= 86400.0f) {
        orologio = 0;
    }
    return orologio;
}

enum class Tipo {
    Click,
    ClickAt,
    Press,
    Release,
    DoubleClick,
    Key,
    Menu,
    MenuOpen,
    CloseBox,
    Focus,
    Idle
};

struct Evento {
    Tipo tipo = Tipo::Idle;
    QString bersaglio; // object name of a control, a menu or a menu entry
    QPoint punto;      // in the window, for window-level mouse events
    Qt::Key tasto = Qt::Key_unknown;
    Qt::KeyboardModifiers mod;
    bool sintetico = false; // a hidden control gets the click itself
    QString descrizione;
};

const QStringList Controlli = {
    QStringLiteral("user(0)"),   QStringLiteral("user(1)"),    QStringLiteral("user(2)"),
    QStringLiteral("pc(0)"),     QStringLiteral("pc(1)"),      QStringLiteral("pc(2)"),
    QStringLiteral("terrauser"), QStringLiteral("terrapc"),    QStringLiteral("cartabriscola"),
    QStringLiteral("Shape2(0)"), QStringLiteral("Shape2(1)"),  QStringLiteral("Shape2(2)"),
    QStringLiteral("Frame1"),    QStringLiteral("Label1"),     QStringLiteral("Label2"),
    QStringLiteral("Label4"),    QStringLiteral("StatusBar1"), QStringLiteral("client"),
    QStringLiteral("Command1"),  QStringLiteral("Command2"),   QStringLiteral("giocatautente"),
};

// Controls whose click must change nothing at all.
const QSet<QString> Inerti = {
    QStringLiteral("pc(0)"),     QStringLiteral("pc(1)"),      QStringLiteral("pc(2)"),
    QStringLiteral("terrauser"), QStringLiteral("terrapc"),    QStringLiteral("cartabriscola"),
    QStringLiteral("Shape2(0)"), QStringLiteral("Shape2(1)"),  QStringLiteral("Shape2(2)"),
    QStringLiteral("Frame1"),    QStringLiteral("Label1"),     QStringLiteral("Label2"),
    QStringLiteral("Label4"),    QStringLiteral("StatusBar1"), QStringLiteral("client"),
};

struct Tasto {
    Qt::Key key;
    Qt::KeyboardModifiers mod;
    const char* nome;
    int peso;
};

const std::vector<Tasto> Tasti = {
    {Qt::Key_Return, {}, "Return", 14},
    {Qt::Key_Enter, {}, "Enter", 6},
    {Qt::Key_Space, {}, "Space", 12},
    {Qt::Key_Left, {}, "Left", 8},
    {Qt::Key_Right, {}, "Right", 8},
    {Qt::Key_Up, {}, "Up", 3},
    {Qt::Key_Down, {}, "Down", 3},
    {Qt::Key_1, {}, "1", 6},
    {Qt::Key_2, {}, "2", 6},
    {Qt::Key_3, {}, "3", 6},
    {Qt::Key_4, {}, "4", 1},
    {Qt::Key_0, {}, "0", 1},
    {Qt::Key_Tab, {}, "Tab", 6},
    {Qt::Key_Backtab, Qt::ShiftModifier, "Shift+Tab", 3},
    {Qt::Key_Escape, {}, "Escape", 5},
    {Qt::Key_F10, {}, "F10", 1},
    {Qt::Key_F, Qt::AltModifier, "Alt+F", 2},
    {Qt::Key_Question, Qt::AltModifier, "Alt+?", 2},
    {Qt::Key_N, {}, "N", 2},
    {Qt::Key_I, {}, "I", 2},
    {Qt::Key_D, {}, "D", 2},
    {Qt::Key_E, {}, "E", 1},
    {Qt::Key_G, {}, "G", 1},
    {Qt::Key_Return, Qt::AltModifier, "Alt+Return", 1},
    {Qt::Key_Space, Qt::ControlModifier, "Ctrl+Space", 1},
};

// The menu entries with how often a player picks each one; leaving is rare so
// that one window sees several whole games.
const std::vector<std::pair<const char*, int>> Voci = {
    {"newpart", 8}, {"Info", 8}, {"cmdDonazione", 8}, {"esci", 1}};

template <typename T, typename F> const T& pesato(Dado& d, const std::vector<T>& v, F peso) {
    int totale = 0;
    for (const T& x : v) {
        totale += peso(x);
    }
    int r = d.below(totale);
    for (const T& x : v) {
        r -= peso(x);
        if (r < 0) {
            return x;
        }
    }
    return v.back();
}

QPoint dentro(Dado& d, const QRect& r) {
    return {r.left() + d.below(std::max(1, r.width())), r.top() + d.below(std::max(1, r.height()))};
}

// A point of the control in the coordinates of the window (hidden controls
// keep their place).
QRect rettangolo(MainWindow& w, const QString& nome) {
    QWidget* c = w.findChild<QWidget*>(nome);
    if (c == nullptr) {
        return {};
    }
    return QRect(c->mapTo(&w, QPoint(0, 0)), c->size());
}

QString testoPunto(const QPoint& p) {
    return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
}

Evento scegli(Dado& d, MainWindow& w) {
    Evento e;
    const int r = d.below(1000);
    const auto puntoACaso = [&]() {
        if (d.below(6) == 0) {
            return dentro(d, w.rect());
        }
        return dentro(d, rettangolo(w, Controlli[d.below(static_cast<int>(Controlli.size()))]));
    };
    if (r < 300) {
        e.tipo = Tipo::Click;
        const int c = d.below(100);
        if (c < 30) {
            e.bersaglio = QStringLiteral("giocatautente");
        } else if (c < 65) {
            e.bersaglio = QStringLiteral("user(%1)").arg(d.below(3));
        } else {
            e.bersaglio = Controlli[d.below(static_cast<int>(Controlli.size()))];
        }
        e.sintetico = d.chance(0.5);
        e.descrizione = QStringLiteral("click ") + e.bersaglio;
    } else if (r < 470) {
        e.tipo = Tipo::ClickAt;
        e.punto = puntoACaso();
        e.descrizione = QStringLiteral("click at ") + testoPunto(e.punto);
    } else if (r < 500) {
        e.tipo = Tipo::Press;
        e.punto = puntoACaso();
        e.descrizione = QStringLiteral("press at ") + testoPunto(e.punto);
    } else if (r < 530) {
        e.tipo = Tipo::Release;
        e.punto = puntoACaso();
        e.descrizione = QStringLiteral("release at ") + testoPunto(e.punto);
    } else if (r < 545) {
        e.tipo = Tipo::DoubleClick;
        e.punto = puntoACaso();
        e.descrizione = QStringLiteral("double click at ") + testoPunto(e.punto);
    } else if (r < 930) {
        e.tipo = Tipo::Key;
        const Tasto& t = pesato(d, Tasti, [](const Tasto& x) { return x.peso; });
        e.tasto = t.key;
        e.mod = t.mod;
        e.descrizione = QStringLiteral("key ") + QString::fromLatin1(t.nome);
    } else if (r < 970) {
        e.tipo = Tipo::Menu;
        e.bersaglio =
            QString::fromLatin1(pesato(d, Voci, [](const auto& x) { return x.second; }).first);
        e.descrizione = QStringLiteral("menu ") + e.bersaglio;
    } else if (r < 975) {
        e.tipo = Tipo::MenuOpen;
        e.bersaglio = d.below(2) == 0 ? QStringLiteral("file") : QStringLiteral("helpami");
        e.descrizione = QStringLiteral("open menu ") + e.bersaglio;
    } else if (r < 977) {
        e.tipo = Tipo::CloseBox;
        e.descrizione = QStringLiteral("close box");
    } else if (r < 990) {
        e.tipo = Tipo::Focus;
        e.descrizione = QStringLiteral("focus to another window and back");
    } else {
        e.tipo = Tipo::Idle;
        e.descrizione = QStringLiteral("idle");
    }
    return e;
}

// What an event may not change.
struct Istantanea {
    decltype(StatoGioco::StatoCarte) carte;
    Tavolo tavolo;
    int currentindex;

    explicit Istantanea(MainWindow& w)
        : carte(w.briscola().stato().StatoCarte), tavolo(w.briscola().tavolo()),
          currentindex(w.briscola().stato().currentindex) {}
    bool operator==(const Istantanea&) const = default;
};

struct Statistiche {
    long eventi = 0;
    long vite = 0;
    long prese = 0;
    long partiteFinite = 0;
    long altraSi = 0;
    long altraNo = 0;
    long nuovePartite = 0;
    long nuoveAMetaPresa = 0;
    long donazioni = 0;
    long avviiBrowser = 0;
    long chiusureEsci = 0;
    long chiusureBox = 0;
    long attivazioni = 0;
    long pixelControllati = 0;
    long menuNonAperto = 0;
    std::map<QString, long> ignorati;
};

// Everything a stalled or failed run must print.
struct Diario {
    std::mutex mutex;
    std::vector<QString> eventi;
    long vita = 0;
    std::uint64_t seed = 0;
    QString comando;
};

void stampaDiario(Diario& diario, const QString& titolo, const QStringList& errori, long indice) {
    std::lock_guard lock(diario.mutex);
    QString out;
    out += QStringLiteral("\nmonkey: %1 at event %2 of window %3, seed %4\n")
               .arg(titolo)
               .arg(indice)
               .arg(diario.vita)
               .arg(diario.seed);
    for (const QString& e : errori) {
        out += QStringLiteral("  - ") + e + '\n';
    }
    out += QStringLiteral("Replay: MONKEY_SEED=%1 MONKEY_LIFE=%2 MONKEY_EVENTS=%3 %4\n")
               .arg(diario.seed)
               .arg(diario.vita)
               .arg(indice + 1)
               .arg(diario.comando);
    out += QStringLiteral("Events of window %1:\n").arg(diario.vita);
    for (std::size_t i = 0; i < diario.eventi.size(); ++i) {
        out += QStringLiteral("  %1 %2\n").arg(i).arg(diario.eventi[i]);
    }
    (void)std::fputs(out.toLocal8Bit().constData(), stderr);
    (void)std::fflush(stderr);
}

QString testoBox(const ScatoleACaso::Visto& v) {
    QString t =
        QString::fromStdString(v.message.text).replace(QStringLiteral("\r\n"), QStringLiteral("|"));
    if (t.size() > 40) {
        t = t.left(37) + QStringLiteral("...");
    }
    const char* risposta = v.answer == Answer::Yes ? "Yes" : v.answer == Answer::No ? "No" : "OK";
    return QStringLiteral(" [box \"%1\" %2]").arg(t, QString::fromLatin1(risposta));
}

// Per-window part of the run: the scripted world and the window itself.
class Vita {
public:
    Vita(const Opzioni& o, long indice, Statistiche& stat)
        : stat_(stat), dado_(semeDi(o.seed, indice, 0)),
          boxes_(semeDi(o.seed, indice, 1), 0.75, 0.3),
          browser_(semeDi(o.seed, indice, 2), testi::IndirizzoDonazione),
          random_(semeDi(o.seed, indice, 3), letturaOrologio) {
        orologio = static_cast<float>(semeDi(o.seed, indice, 4) % 86000);
        boxes_.guarda = [this](const Message& m) { guardaBox(m); };
        window_ = std::make_unique<MainWindow>(&boxes_, &random_, &browser_);
        if (auto* esci = window_->findChild<QAction*>(QStringLiteral("esci"))) {
            QObject::connect(esci, &QAction::triggered, [this] { esciScelto_ = true; });
        }
        window_->Form_Load();
        window_->show();
        window_->activateWindow();
        if (!QTest::qWaitForWindowActive(window_.get())) {
            errori_ << QStringLiteral("the window never became active");
        }
        forma_ = rilevaForma(*window_);
        registraBox();
    }

    ~Vita() {
        if (window_) {
            window_->close();
        }
    }

    MainWindow& window() { return *window_; }
    Dado& dado() { return dado_; }
    QStringList& errori() { return errori_; }
    const std::vector<ScatoleACaso::Visto>& boxDiEvento() const { return boxes_.visti; }
    const QString& nota() const { return nota_; }

    // Runs one event; returns false once the window has closed.
    bool esegui(const Evento& e, bool pixels) {
        boxes_.visti.clear();
        esciScelto_ = false;
        diretto_ = false;
        nota_.clear();
        const Istantanea prima(*window_);
        const int browserPrima = browser_.richieste;
        fai(e);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        registraBox();
        stat_.donazioni += browser_.richieste - browserPrima;
        for (const std::string& b : browser_.errori) {
            errori_ << QString::fromStdString(b);
        }
        browser_.errori.clear();

        bool saluto = false;
        for (const auto& v : boxes_.visti) {
            saluto = saluto || v.message.text == testi::Saluto;
        }
        const bool chiudere = saluto || esciScelto_ || e.tipo == Tipo::CloseBox;
        const bool chiusa = !window_->isVisible();
        if (chiusa != chiudere) {
            errori_ << (chiusa
                            ? QStringLiteral("the window closed though nobody asked")
                            : QStringLiteral("the window stayed open after it was asked to close"));
        }
        if (chiusa) {
            controllaChiusura(saluto);
            stat_.chiusureEsci += esciScelto_ ? 1 : 0;
            stat_.chiusureBox += e.tipo == Tipo::CloseBox ? 1 : 0;
            return false;
        }

        const StatoGioco& s = window_->briscola().stato();
        errori_ << controllaStato(s);
        errori_ << controllaTavolo(s, window_->briscola().tavolo());
        errori_ << controllaFinestra(*window_, forma_, pixels);
        stat_.pixelControllati += pixels ? 1 : 0;
        if (e.tipo == Tipo::Click && diretto_ && Inerti.contains(e.bersaglio) &&
            !(Istantanea(*window_) == prima)) {
            errori_ << QStringLiteral("a click on %1 changed the game").arg(e.bersaglio);
        }
        if (e.tipo == Tipo::Click && diretto_ && e.bersaglio.startsWith(QStringLiteral("user(")) &&
            nota_.isEmpty()) {
            const int k = e.bersaglio.mid(5, 1).toInt();
            if (s.currentindex != k || prima.carte != s.StatoCarte) {
                errori_ << QStringLiteral("a click on %1 did not just select it").arg(e.bersaglio);
            }
        }
        if (e.tipo == Tipo::Focus && boxes_.visti.empty() && !(Istantanea(*window_) == prima)) {
            errori_ << QStringLiteral("the window coming back into focus changed the game");
        }
        if ((e.tipo == Tipo::Click || e.tipo == Tipo::ClickAt) && boxes_.visti.empty() &&
            prima.carte != s.StatoCarte) {
            errori_ << QStringLiteral("cards moved without a single box");
        }
        return true;
    }

private:
    void fai(const Evento& e) {
        MainWindow& w = *window_;
        QWindow* handle = w.windowHandle();
        switch (e.tipo) {
        case Tipo::Click:
            if (QWidget* c = w.findChild<QWidget*>(e.bersaglio)) {
                // A user's click on a hidden control lands on whatever lies
                // beneath; half of them are handed to the hidden control
                // itself, as a synthetic event or an accessibility tool might.
                diretto_ = c->isVisible() || e.sintetico;
                if (diretto_) {
                    QTest::mouseClick(c, Qt::LeftButton);
                } else {
                    QTest::mouseClick(handle, Qt::LeftButton, {}, c->mapTo(&w, c->rect().center()));
                }
                if (!c->isVisible()) {
                    nota_ = e.sintetico ? QStringLiteral(" (hidden: to the control)")
                                        : QStringLiteral(" (hidden: at its place)");
                }
            }
            break;
        case Tipo::ClickAt:
            QTest::mouseClick(handle, Qt::LeftButton, {}, e.punto);
            break;
        case Tipo::Press:
            QTest::mousePress(handle, Qt::LeftButton, {}, e.punto);
            break;
        case Tipo::Release:
            QTest::mouseRelease(handle, Qt::LeftButton, {}, e.punto);
            break;
        case Tipo::DoubleClick:
            QTest::mouseDClick(handle, Qt::LeftButton, {}, e.punto);
            break;
        case Tipo::Key: {
            // Keys go where the system would send them: an open menu first.
            QWindow* target = QGuiApplication::focusWindow();
            QTest::keyClick(target != nullptr ? target : handle, e.tasto, e.mod);
            break;
        }
        case Tipo::Menu:
            scegliVoce(e.bersaglio);
            break;
        case Tipo::MenuOpen:
            apriMenu(e.bersaglio);
            break;
        case Tipo::CloseBox:
            handle->close();
            break;
        case Tipo::Focus:
            altraFinestra();
            break;
        case Tipo::Idle:
            break;
        }
    }

    // Opens the menu by a click on its title in the menu bar.
    QMenu* apriMenu(const QString& nome) {
        MainWindow& w = *window_;
        auto* menu = w.findChild<QMenu*>(nome);
        if (menu == nullptr) {
            errori_ << QStringLiteral("menu %1 is missing").arg(nome);
            return nullptr;
        }
        if (!menu->isVisible()) {
            QMenuBar* bar = w.menuBar();
            const QPoint at = bar->mapTo(&w, bar->actionGeometry(menu->menuAction()).center());
            QTest::mouseClick(w.windowHandle(), Qt::LeftButton, {}, at);
        }
        return menu;
    }

    // Chooses the entry as a user does: the menu's title, then the entry.
    void scegliVoce(const QString& nome) {
        auto* action = window_->findChild<QAction*>(nome);
        if (action == nullptr) {
            errori_ << QStringLiteral("menu entry %1 is missing").arg(nome);
            return;
        }
        const bool file = nome == QStringLiteral("newpart") || nome == QStringLiteral("esci");
        QMenu* menu = apriMenu(file ? QStringLiteral("file") : QStringLiteral("helpami"));
        if (menu == nullptr) {
            return;
        }
        if (!menu->isVisible() || menu->windowHandle() == nullptr) {
            // The click on the title closed a menu left open instead; the
            // entry is chosen the way the keyboard would.
            ++stat_.menuNonAperto;
            action->trigger();
            return;
        }
        QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, {},
                          menu->actionGeometry(action).center());
    }

    // Another window of the program takes the focus and gives it back.
    void altraFinestra() {
        QWidget altra;
        altra.setWindowTitle(QStringLiteral("altra"));
        altra.resize(120, 80);
        altra.show();
        altra.activateWindow();
        (void)QTest::qWaitForWindowActive(&altra, 1000);
        altra.close();
        QPointer<MainWindow> w(window_.get());
        if (w && w->isVisible()) {
            w->activateWindow();
            (void)QTest::qWaitForWindowActive(w.data(), 1000);
        }
        ++stat_.attivazioni;
    }

    void guardaBox(const Message& m) {
        errori_ << controllaBox(window_->briscola().stato(), window_->briscola().tavolo(), m);
    }

    void registraBox() {
        for (const auto& v : boxes_.visti) {
            if (v.message.text == testi::PrendeUtente || v.message.text == testi::PrendePc) {
                ++stat_.prese;
            } else if (v.message.title && *v.message.title == testi::TitoloFinePartita) {
                ++stat_.partiteFinite;
                (v.answer == Answer::Yes ? stat_.altraSi : stat_.altraNo)++;
            } else if (v.message.title && *v.message.title == testi::TitoloSicuro &&
                       v.answer == Answer::Yes) {
                ++stat_.nuovePartite;
                if (staGiocando_) {
                    ++stat_.nuoveAMetaPresa;
                }
            }
        }
        staGiocando_ = conta(window_->briscola().stato())[PosTerraPc] == 1;
    }

    void controllaChiusura(bool saluto) {
        MainWindow& w = *window_;
        if (w.cards().loaded()) {
            errori_ << QStringLiteral("the picture store outlived the window");
        }
        if (!w.briscola().ChiusuraRichiesta() && saluto) {
            errori_ << QStringLiteral("the game said goodbye but did not ask to close");
        }
        if (saluto) {
            const Conteggi n = conta(w.briscola().stato());
            if (n[PosPresaPc] + n[PosPresaUser] != 40 || !w.briscola().stato().SceltoDiChiudere) {
                errori_ << QStringLiteral("closed after the goodbye with a game unfinished");
            }
        }
    }

    Statistiche& stat_;
    Dado dado_;
    ScatoleACaso boxes_;
    BrowserACaso browser_;
    PcgRandom random_;
    std::unique_ptr<MainWindow> window_;
    Forma forma_;
    QStringList errori_;
    bool esciScelto_ = false;
    bool staGiocando_ = false;
    bool diretto_ = false; // the click went to the control itself
    QString nota_;         // how the event was delivered, for the diary
};

// Ends the run when one event takes too long: a loop that never ends.
class Sentinella {
public:
    Sentinella(Diario& diario, int secondi) : diario_(diario), secondi_(secondi) {
        thread_ = std::thread([this] { guarda(); });
    }
    ~Sentinella() {
        {
            std::lock_guard lock(mutex_);
            fine_ = true;
        }
        cv_.notify_one();
        thread_.join();
    }
    void avanza(long indice) { indice_.store(indice); }

private:
    void guarda() {
        long ultimo = -1;
        auto da = std::chrono::steady_clock::now();
        std::unique_lock lock(mutex_);
        while (!cv_.wait_for(lock, std::chrono::seconds(1), [this] { return fine_; })) {
            const long ora = indice_.load();
            if (ora != ultimo) {
                ultimo = ora;
                da = std::chrono::steady_clock::now();
            } else if (std::chrono::steady_clock::now() - da > std::chrono::seconds(secondi_)) {
                stampaDiario(diario_, QStringLiteral("HUNG for %1 s").arg(secondi_),
                             {QStringLiteral("the event in progress never returned")}, ora);
                std::_Exit(3);
            }
        }
    }

    Diario& diario_;
    int secondi_;
    std::atomic<long> indice_{0};
    std::mutex mutex_;
    std::condition_variable cv_;
    bool fine_ = false;
    std::thread thread_;
};

Statistiche* statistiche = nullptr;

// QTest reports a mouse event that no widget took; on inert controls that is
// what should happen. Other warnings are counted and shown once at the end.
void messaggi(QtMsgType type, const QMessageLogContext&, const QString& msg) {
    if (type == QtFatalMsg) {
        (void)std::fprintf(stderr, "%s\n", msg.toLocal8Bit().constData());
        std::abort();
    }
    if (statistiche != nullptr && !msg.startsWith(QStringLiteral("Mouse event"))) {
        ++statistiche->ignorati[msg];
    }
}

int corri(const Opzioni& o, const QString& comando) {
    Statistiche stat;
    statistiche = &stat;
    qInstallMessageHandler(messaggi);
    Diario diario;
    diario.seed = o.seed;
    diario.comando = comando;
    Sentinella sentinella(diario, o.stall);
    const auto inizio = std::chrono::steady_clock::now();

    long vita = o.life;
    long eventoDiVita = 0;
    auto corrente = std::make_unique<Vita>(o, vita, stat);
    ++stat.vite;
    for (long i = 0; i < o.events; ++i) {
        const Evento e = scegli(corrente->dado(), corrente->window());
        {
            std::lock_guard lock(diario.mutex);
            diario.vita = vita;
            diario.eventi.push_back(e.descrizione);
        }
        sentinella.avanza(i);
        if (o.verbose) {
            (void)std::fprintf(stderr, "%ld/%ld %s\n", vita, eventoDiVita,
                               qPrintable(e.descrizione));
        }
        // Every 16th event also compares the drawn pixels.
        const bool aperta = corrente->esegui(e, i % 16 == 0);
        ++stat.eventi;
        {
            std::lock_guard lock(diario.mutex);
            diario.eventi.back() += corrente->nota();
            for (const auto& v : corrente->boxDiEvento()) {
                diario.eventi.back() += testoBox(v);
            }
        }
        if (!corrente->errori().isEmpty()) {
            stampaDiario(diario, QStringLiteral("FAILED"), corrente->errori(), eventoDiVita);
            return 1;
        }
        ++eventoDiVita;
        if (!aperta) {
            corrente.reset();
            QCoreApplication::processEvents();
            ++vita;
            eventoDiVita = 0;
            {
                std::lock_guard lock(diario.mutex);
                diario.eventi.clear();
                diario.vita = vita;
            }
            corrente = std::make_unique<Vita>(o, vita, stat);
            ++stat.vite;
            if (!corrente->errori().isEmpty()) {
                stampaDiario(diario, QStringLiteral("FAILED"), corrente->errori(), 0);
                return 1;
            }
        }
    }
    corrente.reset();

    const double secondi =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
    std::printf("monkey: seed %llu, %ld events in %.1f s (%.0f/s), %ld windows\n",
                static_cast<unsigned long long>(o.seed), stat.eventi, secondi,
                static_cast<double>(stat.eventi) / secondi, stat.vite);
    std::printf("monkey: %ld tricks, %ld whole games (another: %ld yes, %ld no), %ld new games "
                "from the menu (%ld with the computer's card down), %ld donation requests\n",
                stat.prese, stat.partiteFinite, stat.altraSi, stat.altraNo, stat.nuovePartite,
                stat.nuoveAMetaPresa, stat.donazioni);
    std::printf("monkey: closed by Esci %ld, by the close box %ld; focus returns %ld; pixel "
                "checks %ld; menu chosen without its popup %ld\n",
                stat.chiusureEsci, stat.chiusureBox, stat.attivazioni, stat.pixelControllati,
                stat.menuNonAperto);
    for (const auto& [msg, n] : stat.ignorati) {
        std::printf("monkey: Qt said %ld times: %s\n", n, qPrintable(msg));
    }

    // A long run that never reached a part of the program proves nothing
    // about it.
    QStringList mancanti;
    if (o.events >= 10000 && o.life == 0) {
        const std::vector<std::pair<const char*, long>> copertura = {
            {"whole games", stat.partiteFinite >= 10 ? 1 : 0},
            {"another game: yes", stat.altraSi},
            {"another game: no", stat.altraNo},
            {"a new game while the computer's card lies on the table", stat.nuoveAMetaPresa},
            {"closing by Esci", stat.chiusureEsci},
            {"closing by the close box", stat.chiusureBox},
            {"donation requests", stat.donazioni},
            {"focus returns", stat.attivazioni},
        };
        for (const auto& [nome, n] : copertura) {
            if (n == 0) {
                mancanti << QString::fromLatin1(nome);
            }
        }
    }
    if (!mancanti.isEmpty()) {
        (void)std::fprintf(stderr, "monkey: the run never reached: %s\n",
                           qPrintable(mancanti.join(QStringLiteral(", "))));
        return 1;
    }
    statistiche = nullptr;
    return 0;
}

} // namespace

} // namespace trivanta::monkey

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Windows come and go during the run; the last one closing ends nothing.
    QApplication::setQuitOnLastWindowClosed(false);
    const auto opzioni = trivanta::monkey::leggiOpzioni(QCoreApplication::arguments());
    return trivanta::monkey::corri(opzioni, QCoreApplication::applicationFilePath());
}
