// The window as a user meets it: where its controls lie, its menus and keys,
// whole games played with the mouse against the real message boxes, the
// menus and the close box in the middle of a trick, the donation controls,
// the keyboard and what a screen reader hears. Also run at QT_SCALE_FACTOR=2
// and 1.5, where the layout stays in logical pixels and every place shows
// the picture drawn for the screen.
#include "Arbitro.h"
#include "Browser.h"
#include "Controls.h"
#include "MainWindow.h"
#include "Schermo.h"
#include "Testi.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <map>

using namespace trivanta;
using test::Conta;
using test::Controllo;

namespace {

float orologioFisso() {
    return 43200.25F;
}

// A window on a reproducible game, its boxes answered as a user would.
struct Finestra {
    explicit Finestra(quint64 seed) : random(seed, orologioFisso) {}
    void apri() {
        w.Form_Load();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    CardPlace* posto(const QString& name) { return Controllo<CardPlace>(w, name); }
    void clicca(const QString& name) { QTest::mouseClick(Controllo(w, name), Qt::LeftButton); }

    PcgRandom random;
    test::BrowserScriptato browser;
    MainWindow w{nullptr, &random, &browser};
    test::Risponditore risponditore{&w};
};

// The boxes of the same games played on the core alone, with the same cards
// chosen and the same answers (Yes to the first "another game?", then No).
std::vector<Message> giocaSenzaFinestra(quint64 seed) {
    PcgRandom random(seed, orologioFisso);
    test::ScatoleScriptate boxes;
    int fini = 0;
    boxes.decidi = [&](const Message& m) {
        return m.buttons == Buttons::Ok ? Answer::Ok : ++fini == 1 ? Answer::Yes : Answer::No;
    };
    Briscola briscola(boxes, random);
    briscola.Form_Load();
    for (int presa = 1; presa <= 40 && !briscola.ChiusuraRichiesta(); ++presa) {
        const int trick = (presa - 1) % 20 + 1;
        briscola.user_Click(trick % Conta(briscola.stato(), PosManoUser));
        briscola.giocatautente_Click();
    }
    for (Message& m : boxes.mostrate) {
        m.title = m.title.value_or(testi::TitoloFinestra);
    }
    return boxes.mostrate;
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        f_ = std::make_unique<Finestra>(11);
        f_->apri();
    }
    void cleanup() { f_.reset(); }

    void theWindowHasTheSizeTheGameNeedsAndNoPlacesOverlap();
    void menusHaveAccessKeysAndNoShortcuts();
    void keyboardGoesThroughHandGiocaDonationsAndPlaysTheFramedCard();
    void theControlWithTheKeyboardShowsAFrame();
    void aScreenReaderHearsTheCountsAndTheCardsAsTheyChange();
    void twoGamesYesThenNoEndTheProgram();
    void aboutThenNewGameInTheMiddleOfATrickNoThenYes();
    void closingInTheMiddleOfATrickAsksNothing();
    void eachDonationControlOpensTheSamePage();

private:
    // Plays until the computer's card lies on the table, waiting for the user.
    void untilComputerLeads() {
        const StatoGioco& s = f_->w.briscola().stato();
        for (int i = 0; i < 19 && (i == 0 || Conta(s, PosTerraPc) == 0); ++i) {
            f_->clicca("giocatautente");
        }
        QCOMPARE(Conta(s, PosTerraPc), 1);
    }

    std::unique_ptr<Finestra> f_;
};

void WindowTest::theWindowHasTheSizeTheGameNeedsAndNoPlacesOverlap() {
    MainWindow& w = f_->w;
    QWidget* client = w.centralWidget();
    QWidget* frame = Controllo(w, "Frame1");
    const QRect area = client->rect();
    QCOMPARE(area.size(), QSize(794, 512));
    const auto in = [&](const char* name) {
        QWidget* c = Controllo(w, name);
        return QRect(c->mapTo(client, QPoint(0, 0)), c->size());
    };

    // Everything lies inside the window; the table's captions and cards on
    // the table inside the green frame; the status bar spans the bottom.
    const char* const controlli[] = {
        "Command1", "pc(0)",   "pc(1)",     "pc(2)",    "Frame1",        "Label1",
        "Label2",   "Label4",  "terrauser", "terrapc",  "cartabriscola", "giocatautente",
        "user(0)",  "user(1)", "user(2)",   "Command2", "StatusBar1"};
    for (const char* name : controlli) {
        QVERIFY2(area.contains(in(name)), name);
    }
    for (const char* name : {"terrauser", "terrapc", "Label1", "Label2", "Label4"}) {
        QVERIFY2(Controllo(w, name)->parentWidget() == frame &&
                     frame->rect().contains(Controllo(w, name)->geometry()),
                 name);
    }
    QCOMPARE(in("StatusBar1").bottomLeft(), area.bottomLeft());
    QCOMPARE(in("StatusBar1").width(), area.width());
    // No two places overlap, but for the trump card over the right of the
    // table, in front of it.
    for (const char* a : controlli) {
        for (const char* b : controlli) {
            const bool allowed = std::string_view(a) == "Frame1" || std::string_view(b) == "Frame1";
            QVERIFY2(a == b || allowed || !in(a).intersects(in(b)),
                     qPrintable(QString(a) + " " + b));
        }
    }
    QVERIFY(in("cartabriscola").intersects(in("Frame1")));
    QCOMPARE(client->childAt(in("cartabriscola").center()), Controllo(w, "cartabriscola"));

    // Each card place fits its picture with a 2-pixel border; each marker
    // frames its card 5 pixels out on the left and top, 4 right, 3 below.
    const QSize card = QImage(QStringLiteral(":/cards/vuota.gif")).size();
    for (const char* name : {"pc(0)", "pc(1)", "pc(2)", "terrauser", "terrapc", "cartabriscola",
                             "user(0)", "user(1)", "user(2)"}) {
        QCOMPARE(Controllo(w, name)->size(), card + QSize(4, 4));
    }
    for (int k = 0; k < 3; ++k) {
        const QRect marker = in(qPrintable(QStringLiteral("Shape2(%1)").arg(k)));
        QCOMPARE(marker.marginsRemoved({5, 5, 4, 3}),
                 in(qPrintable(QStringLiteral("user(%1)").arg(k))));
    }
    // The hands lie in two rows of three, the computer's on top, "Gioca" between.
    QVERIFY(in("pc(2)").bottom() < in("giocatautente").top() &&
            in("giocatautente").bottom() < in("user(0)").top());

    const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
    QCOMPARE(w.devicePixelRatio(), scale);
    QCOMPARE(client->grab().size(), QSize(794, 512) * scale);
    QCOMPARE(test::DifferenzeDalTavolo(w), QString()); // pictures pixel for pixel
    const QSize fixed = w.size();
    w.resize(1000, 700);
    QCOMPARE(w.size(), fixed);
    // What the window manager is told: no resizing border, no maximise box.
    QCOMPARE(w.windowHandle()->maximumSize(), fixed);
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
}

void WindowTest::menusHaveAccessKeysAndNoShortcuts() {
    const QStringList expected[] = {
        {testi::MenuFile, testi::VoceNuovaPartita, testi::VoceEsci},
        {testi::MenuAiuto, testi::VoceInformazioni, testi::VoceDonazione}};
    const QList<QAction*> bar = f_->w.menuBar()->actions();
    QCOMPARE(bar.size(), 2);
    for (int m = 0; m < 2; ++m) {
        QStringList texts{bar[m]->text()};
        for (QAction* entry : bar[m]->menu()->actions()) {
            texts << entry->text();
            QVERIFY2(entry->shortcut().isEmpty(), qPrintable(entry->text()));
        }
        QCOMPARE(texts, expected[m]);
    }
}

void WindowTest::keyboardGoesThroughHandGiocaDonationsAndPlaysTheFramedCard() {
    MainWindow& w = f_->w;
    const StatoGioco& s = w.briscola().stato();
    const auto focus = [] { return QApplication::focusWidget()->objectName(); };
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    };
    // The window opens with the keyboard on the hand, on the chosen card.
    QCOMPARE(focus(), QStringLiteral("user(0)"));
    // Tab goes card by card, choosing each card it reaches, then on to Gioca
    // and the two donation buttons; Shift+Tab comes back the same way.
    const QStringList order{"user(1)",  "user(2)",  "giocatautente",
                            "Command1", "Command2", "user(0)"};
    for (const QString& name : order) {
        key(Qt::Key_Tab);
        QCOMPARE(focus(), name);
    }
    for (qsizetype i = order.size() - 2; i >= -1; --i) {
        key(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(focus(), i >= 0 ? order[i] : order.back());
        if (focus().startsWith(QStringLiteral("user"))) {
            QCOMPARE(QStringLiteral("user(%1)").arg(s.currentindex), focus());
        }
    }
    QCOMPARE(s.currentindex, 0);

    // A key, then the chosen card, which has the keyboard, and the cards in
    // the piles: the framed card is the one Enter and Space play.
    const std::tuple<Qt::Key, int, int> steps[] = {
        {Qt::Key_3, 2, 0},     {Qt::Key_Right, 2, 0}, {Qt::Key_Left, 1, 0}, {Qt::Key_Left, 0, 0},
        {Qt::Key_Left, 0, 0},  {Qt::Key_2, 1, 0},     {Qt::Key_1, 0, 0},    {Qt::Key_Return, 0, 2},
        {Qt::Key_Space, 0, 4}, {Qt::Key_Enter, 0, 6}};
    for (const auto& [k, selected, taken] : steps) {
        key(k);
        // The trick's boxes took the keyboard; it comes back to the hand.
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const QByteArray at = QKeySequence(k).toString().toUtf8();
        QVERIFY2(s.currentindex == selected && focus() == QStringLiteral("user(%1)").arg(selected),
                 at);
        QVERIFY2(Conta(s, PosPresaUser) + Conta(s, PosPresaPc) == taken, at);
        QCOMPARE(test::DifferenzeDalTavolo(w), QString());
    }
    // On a button Enter presses that button and plays nothing.
    Controllo(w, "Command2")->setFocus();
    key(Qt::Key_Return);
    QCOMPARE(f_->browser.avviati.size(), std::size_t(1));
    QCOMPARE(Conta(s, PosPresaUser) + Conta(s, PosPresaPc), 6);

    // With two cards left the third place is hidden and out of reach, of the
    // keys and of Tab.
    for (int i = 0; i < 20 && Conta(s, PosManoUser) == 3; ++i) {
        f_->clicca("giocatautente");
    }
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(f_->posto("user(2)")->isHidden());
    Controllo(w, "user(0)")->setFocus();
    for (Qt::Key k : {Qt::Key_2, Qt::Key_3, Qt::Key_Right}) {
        key(k);
    }
    QCOMPARE(s.currentindex, 1);
    key(Qt::Key_Tab);
    QCOMPARE(focus(), QStringLiteral("giocatautente"));
}

void WindowTest::theControlWithTheKeyboardShowsAFrame() {
    MainWindow& w = f_->w;
    for (const char* name : {"user(0)", "user(1)", "giocatautente", "Command1", "Command2"}) {
        QWidget* control = Controllo(w, name);
        Controllo(w, "user(2)")->setFocus();
        const QImage plain = control->grab().toImage();
        control->setFocus();
        QVERIFY2(test::CorniceVisibile(plain, control->grab().toImage()), name);
    }
    // The frame is the keyboard's alone: the chosen card without it has none.
    Controllo(w, "giocatautente")->setFocus();
    const QImage chosen = Controllo(w, "user(0)")->grab().toImage();
    QVERIFY(test::Mostra(Controllo(w, "user(0)"), w.briscola().tavolo().user[0].immagine));
    Controllo(w, "user(2)")->setFocus();
    QCOMPARE(Controllo(w, "user(0)")->grab().toImage(), chosen);
}

void WindowTest::aScreenReaderHearsTheCountsAndTheCardsAsTheyChange() {
    MainWindow& w = f_->w;
    const StatoGioco& s = w.briscola().stato();
    std::vector<QWidget*> watched{Controllo(w, "StatusBar1"), Controllo(w, "terrauser"),
                                  Controllo(w, "terrapc"), Controllo(w, "cartabriscola")};
    for (int k = 0; k < 3; ++k) {
        watched.push_back(Controllo(w, QStringLiteral("user(%1)").arg(k)));
        watched.push_back(Controllo(w, QStringLiteral("pc(%1)").arg(k)));
    }
    std::map<QWidget*, QString> before;
    for (QWidget* c : watched) {
        before[c] = test::Sentito(c);
    }
    std::map<QWidget*, QString> told = before;
    QStringList errori;
    {
        test::Lettore lettore(watched);
        // Until a trick taken by the computer, which then leads.
        untilComputerLeads();
        for (const auto& [control, nome] : lettore.annunci) {
            if (nome == told[control]) {
                errori << control->objectName() + ": told again of " + nome;
            }
            told[control] = nome;
        }
    }
    QVERIFY2(errori.isEmpty(), qPrintable(errori.join('\n')));
    // Every change was told: what the reader was last told is what it reads.
    for (QWidget* c : watched) {
        QVERIFY2(told[c] == test::Sentito(c), qPrintable(c->objectName()));
    }

    // The names hold the counts of the piles and the cards on the table and
    // in the hand, read as the game stands.
    QVERIFY(Conta(s, PosPresaPc) > 0);
    QCOMPARE(test::Sentito(watched[0]),
             QStringLiteral("barra di stato: ") +
                 QString::fromStdString(test::oracolo::TestoStatus(Conta(s))));
    const auto nome = [](test::Carta c) {
        return QString::fromStdString(NomeAccessibile(NomeImmagine(c.valore, c.seme)));
    };
    QCOMPARE(test::Sentito(watched[2]), nome(test::Trova(s, PosTerraPc)));
    QStringList mano, sentita;
    for (int v = 1; v <= 10; ++v) {
        for (int seme = 1; seme <= 4; ++seme) {
            if (s.StatoCarte[v][seme] == PosManoUser) {
                mano << nome({v, seme});
            }
        }
    }
    for (int k = 0; k < mano.size(); ++k) {
        sentita << test::Sentito(Controllo(w, QStringLiteral("user(%1)").arg(k)));
    }
    QCOMPARE(sentita, mano);
    // Those that changed since the start were each announced.
    for (QWidget* c : {watched[0], watched[2]}) {
        QVERIFY2(before[c] != test::Sentito(c), qPrintable(c->objectName()));
    }
}

void WindowTest::twoGamesYesThenNoEndTheProgram() {
    // A window of its own, watched from its first box on.
    f_ = std::make_unique<Finestra>(11);
    MainWindow& w = f_->w;
    const StatoGioco& s = w.briscola().stato();
    test::Arbitro arbitro;
    QStringList errori; // timer callbacks cannot stop the test
    int fini = 0;
    f_->risponditore.scegli = [&](const test::BoxVisto& box) {
        arbitro.Box(box.message, s, w.briscola().tavolo());
        const QString schermo = test::DifferenzeDalTavolo(w);
        if (!schermo.isEmpty() || !box.modaleSullaFinestra) {
            errori << QString::fromStdString(box.message.text) + ": " + schermo;
        }
        if (box.message.buttons == Buttons::Ok) {
            return QMessageBox::Ok;
        }
        // Yes is the default; the first "another game?" is answered Yes.
        if (box.predefinito != QMessageBox::Yes) {
            errori << QStringLiteral("Yes is not the default");
        }
        return ++fini == 1 ? QMessageBox::Yes : QMessageBox::No;
    };
    f_->apri();
    QTimer::singleShot(0, &w, [&] {
        for (int presa = 1; presa <= 40 && w.isVisible(); ++presa) {
            arbitro.TraLePrese(s, w.briscola().tavolo());
            const int trick = (presa - 1) % 20 + 1;
            const int k = trick % Conta(s, PosManoUser);
            f_->clicca(QStringLiteral("user(%1)").arg(k));
            if (s.currentindex != k ||
                !Controllo(w, QStringLiteral("Shape2(%1)").arg(k))->isVisible()) {
                errori
                    << QStringLiteral("trick %1: the marker is not on the clicked card").arg(trick);
            }
            f_->clicca("giocatautente");
            const QString schermo = w.isVisible() ? test::DifferenzeDalTavolo(w) : QString();
            if (!schermo.isEmpty()) {
                errori << QStringLiteral("trick %1: %2").arg(trick).arg(schermo);
            }
        }
    });
    QTimer::singleShot(30000, &w, [] { QCoreApplication::exit(99); });
    // No at the end closes the window, and with it the program's event loop.
    QCOMPARE(QApplication::exec(), 0);
    for (const std::string& e : arbitro.errori) {
        errori << QString::fromStdString(e);
    }
    QVERIFY2(errori.isEmpty(), qPrintable(errori.mid(0, 8).join('\n')));
    QCOMPARE(arbitro.partite, 2);
    QVERIFY(w.isHidden() && Controllo<QObject>(w, "cards") == nullptr);

    // The window forwarded each click once and nothing else: its boxes said
    // what the core alone says, in the same order.
    std::vector<Message> visti;
    for (const test::BoxVisto& box : f_->risponditore.visti) {
        visti.push_back(box.message);
    }
    QVERIFY(visti == giocaSenzaFinestra(11));
}

void WindowTest::aboutThenNewGameInTheMiddleOfATrickNoThenYes() {
    MainWindow& w = f_->w;
    const StatoGioco& s = w.briscola().stato();
    const auto& boxes = f_->risponditore.visti;
    Controllo<QAction>(w, "Info")->trigger();
    QCOMPARE(boxes.back().message.title, testi::TitoloInformazioni);
    QCOMPARE(boxes.back().message.icon, Icon::Information);

    untilComputerLeads();
    const Tavolo table = w.briscola().tavolo();
    const auto cards = s.StatoCarte;
    const QImage screen = w.grab().toImage();
    f_->risponditore.scegli = [](const test::BoxVisto&) { return QMessageBox::No; };
    Controllo<QAction>(w, "newpart")->trigger();
    QCOMPARE(boxes.back().message, (Message{testi::Sicuro, std::string(testi::TitoloSicuro),
                                            Buttons::YesNo, Icon::None}));
    QCOMPARE(boxes.back().predefinito, QMessageBox::Yes);
    // No: nothing changes, on screen either.
    QVERIFY(s.StatoCarte == cards && w.briscola().tavolo() == table);
    QCOMPARE(w.grab().toImage(), screen);

    // Yes: the question, the dealer, and nothing of the old game stays.
    f_->risponditore.scegli = nullptr;
    const std::size_t before = boxes.size();
    Controllo<QAction>(w, "newpart")->trigger();
    QCOMPARE(boxes.size(), before + 2);
    QCOMPARE(Conta(s, PosPresaPc) + Conta(s, PosPresaUser), 0);
    QCOMPARE(test::DifferenzeDalTavolo(w), QString());
}

void WindowTest::closingInTheMiddleOfATrickAsksNothing() {
    for (const bool closeBox : {true, false}) {
        init();
        MainWindow& w = f_->w;
        untilComputerLeads();
        const std::size_t boxes = f_->risponditore.visti.size();
        // The close box: what the window manager sends.
        QTimer::singleShot(0, &w, [&] {
            closeBox ? void(w.windowHandle()->close()) : Controllo<QAction>(w, "esci")->trigger();
        });
        QTimer::singleShot(20000, &w, [] { QCoreApplication::exit(99); });
        // The program's event loop ends with the window.
        QVERIFY2(QApplication::exec() == 0, closeBox ? "close box" : "Esci");
        QVERIFY(w.isHidden() && Controllo<QObject>(w, "cards") == nullptr);
        QCOMPARE(f_->risponditore.visti.size(), boxes);
    }
}

void WindowTest::eachDonationControlOpensTheSamePage() {
    for (const char* nome : {"Command1", "Command2", "cmdDonazione"}) {
        QObject* control = Controllo<QObject>(f_->w, nome);
        QMetaObject::invokeMethod(control, qobject_cast<QAction*>(control) ? "trigger" : "click");
    }
    const std::pair<std::string, std::string> page{f_->browser.eseguibile,
                                                   testi::IndirizzoDonazione};
    QVERIFY(f_->browser.avviati == decltype(f_->browser.avviati)(3, page));
}

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
