// The window as a user meets it: where its controls lie; two whole games,
// the first played with the keyboard while a screen reader listens, the
// second with the mouse; the menus, the donation controls and the close box
// in the middle of a trick. The referee watches every box of every test, and
// the table on screen is compared with the game's at each. Also run at
// QT_SCALE_FACTOR=2 and 1.5, where the layout stays in logical pixels and
// every place shows the picture drawn for the screen.
#include "Arbitro.h"
#include "Browser.h"
#include "Schermo.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

using namespace trivanta;
using test::Conta;
using test::Controllo;

namespace {

// A window on a reproducible game. A timer answers its real boxes as a user
// does: Yes/No boxes by `risposte` in turn, else by the default button, the
// default with Enter and any other with a click. Meanwhile the referee
// checks each box against the game, and the table on screen is compared with
// the game's.
struct Finestra {
    void rispondi() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box->property("risposto").toBool()) {
            return;
        }
        box->setProperty("risposto", true);
        const bool yesNo = box->button(QMessageBox::No) != nullptr;
        // The game joins lines the Windows way; the box shows them broken.
        visti.push_back({box->text().replace('\n', "\r\n").toStdString(),
                         box->windowTitle().toStdString(), yesNo ? Buttons::YesNo : Buttons::Ok,
                         box->icon() == QMessageBox::Information ? Icon::Information : Icon::None});
        predefinito = box->standardButton(box->defaultButton());
        arbitro.Box(visti.back(), w.briscola().stato(), w.briscola().tavolo());
        const QString schermo = test::DifferenzeDalTavolo(w);
        if (!schermo.isEmpty() || box->parentWidget() != &w) {
            arbitro.errori.push_back(visti.back().text + ": " + schermo.toStdString());
        }
        const auto answer = yesNo && !risposte.isEmpty() ? risposte.takeFirst() : predefinito;
        answer == predefinito ? QTest::keyClick(box, Qt::Key_Return) : box->button(answer)->click();
    }
    void clicca(const QString& name) { QTest::mouseClick(Controllo(w, name), Qt::LeftButton); }

    PcgRandom random{11, [] { return 43200.25F; }};
    test::BrowserScriptato browser;
    MainWindow w{nullptr, &random, &browser};
    test::Arbitro arbitro;
    std::vector<Message> visti;
    QMessageBox::StandardButton predefinito = QMessageBox::NoButton; // of the last box
    QList<QMessageBox::StandardButton> risposte;
    QTimer timer;
};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Finestra> f_;

private slots:
    void init() {
        f_ = std::make_unique<Finestra>();
        QObject::connect(&f_->timer, &QTimer::timeout, [this] { f_->rispondi(); });
        f_->timer.start(5);
        f_->w.Form_Load();
        f_->w.show();
        QVERIFY(QTest::qWaitForWindowActive(&f_->w));
    }
    void cleanup() {
        const auto& errori = f_->arbitro.errori;
        QCOMPARE(QString::fromStdString(errori.empty() ? "" : errori.front()), QString());
    }

    void twoGamesTheFirstWithTheKeyboardAndAScreenReader() {
        MainWindow& w = f_->w;
        const StatoGioco& s = w.briscola().stato();
        const auto focus = [&](const QString& name) {
            return QApplication::focusWidget() == Controllo(w, name);
        };
        const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = {}) {
            QTest::keyClick(QApplication::focusWidget(), k, m);
        };
        test::Lettore lettore;
        // Where a window can be active (not on Wayland, which leaves that to
        // the compositor) the keyboard plays the first game; see init().
        const bool tastiera = w.isActiveWindow();

        // The window opens with the keyboard on the chosen card. Tab goes
        // card by card, choosing each card it reaches, then on to Gioca and
        // the donation buttons; Shift+Tab comes back. The control that has
        // the keyboard, and only that one, shows a frame.
        QVERIFY(!tastiera || focus("user(0)"));
        const QStringList giro{"user(1)",  "user(2)",  "giocatautente",
                               "Command1", "Command2", "user(0)"};
        for (int i = 0; tastiera && i < 12; ++i) {
            const QString& dove = giro[i < 6 ? i : (16 - i) % 6];
            const QImage plain = Controllo(w, dove)->grab().toImage();
            key(Qt::Key_Tab, i < 6 ? Qt::NoModifier : Qt::ShiftModifier);
            QVERIFY2(focus(dove), qPrintable(dove));
            QVERIFY2(test::CorniceVisibile(plain, Controllo(w, dove)->grab().toImage()),
                     qPrintable(dove));
            QVERIFY(!dove.startsWith("user") ||
                    dove == QStringLiteral("user(%1)").arg(s.currentindex));
        }

        // In the first game a digit chooses its card where there is one, and
        // Right and Left move; the keyboard follows the chosen card, which
        // Enter or Space plays. In the second game the mouse chooses and
        // plays. Choices that fall on hidden places choose nothing.
        f_->risposte = {QMessageBox::Yes, QMessageBox::No}; // another game?
        int premute = 0, scelta = 0;
        const auto tasto = [&](Qt::Key k, int dove) {
            key(k);
            scelta = dove >= 0 && dove < Conta(s, PosManoUser) ? dove : scelta;
            return s.currentindex == scelta && focus(QStringLiteral("user(%1)").arg(scelta));
        };
        const Qt::Key gioca[] = {Qt::Key_Return, Qt::Key_Space, Qt::Key_Enter};
        for (; premute < 45 && w.isVisible(); ++premute) {
            QVERIFY(QTest::qWaitForWindowActive(&w));
            const int k = (premute + 1) % 3;
            scelta = 0;
            if (tastiera && premute < 20) {
                QVERIFY2(tasto(Qt::Key(Qt::Key_1 + k), k) && tasto(Qt::Key_Right, scelta + 1) &&
                             tasto(Qt::Key_Left, scelta - 1),
                         qPrintable(QStringLiteral("trick %1").arg(premute + 1)));
                key(gioca[k]);
            } else {
                f_->clicca(QStringLiteral("user(%1)").arg(k));
                QVERIFY(s.currentindex == (k < Conta(s, PosManoUser) ? k : 0));
                f_->clicca("giocatautente");
            }
            QCOMPARE(w.isVisible() ? test::DifferenzeDalTavolo(w) : QString(), QString());
        }
        // Each press played one trick; No at the end closed the window.
        QVERIFY(f_->arbitro.partite == 2 && premute == 40 && w.isHidden());

        // Each change of a name in the window, the counts in the status
        // bar's among them, was told to the screen reader once.
        QVERIFY2(lettore.ripetuti.isEmpty(), qPrintable(lettore.ripetuti.join(", ")));
        QVERIFY(lettore.detto.count(Controllo(w, "StatusBar1")) == 1 && lettore.detto.size() > 5);
    }

    void layoutMenusAndTheCloseBoxInTheMiddleOfATrick() {
        MainWindow& w = f_->w;
        QWidget* client = w.centralWidget();
        QCOMPARE(w.devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        QCOMPARE(client->size(), QSize(794, 512));
        const auto at = [&](const QString& name) {
            const QWidget* c = Controllo(w, name);
            return QRect(c->mapTo(client, QPoint()), c->size());
        };
        // Each control lies inside the window and over no other; the green
        // table lies behind its captions, its cards and the trump card, and
        // each marker behind its card.
        QRegion covered;
        for (const QWidget* c : client->findChildren<QWidget*>()) {
            const QString name = c->objectName();
            if (name != "Frame1" && !name.startsWith("Shape2")) {
                QVERIFY2(client->rect().contains(at(name)) && !covered.intersects(at(name)),
                         qPrintable(name));
                covered += at(name);
            }
        }
        QCOMPARE(at("StatusBar1"), QRect(0, 495, 794, 17));
        // Each marker frames its card 5 pixels out on the left and top, 4
        // right, 3 below.
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(at(QStringLiteral("Shape2(%1)").arg(k)).marginsRemoved({5, 5, 4, 3}),
                     at(QStringLiteral("user(%1)").arg(k)));
        }
        // A fixed border: not resized, nothing to maximise, and the menus
        // answer access keys only.
        const QSize fissa = w.size();
        w.resize(fissa + QSize(200, 200));
        QVERIFY(w.size() == fissa && !(w.windowFlags() & Qt::WindowMaximizeButtonHint));
        for (const QAction* voce : w.findChildren<QAction*>()) {
            QVERIFY2(voce->shortcut().isEmpty(), qPrintable(voce->text()));
        }

        const StatoGioco& s = w.briscola().stato();
        // Plays until the computer's card lies on the table, waiting for the user.
        const auto untilComputerLeads = [&] {
            for (int i = 0; i < 19 && (i == 0 || Conta(s, PosTerraPc) == 0); ++i) {
                f_->clicca("giocatautente");
            }
            return Conta(s, PosTerraPc) == 1;
        };
        // Each donation control opens the donation page.
        f_->clicca("Command1");
        f_->clicca("Command2");
        Controllo<QAction>(w, "cmdDonazione")->trigger();
        QVERIFY(f_->browser.avviati ==
                decltype(f_->browser.avviati)(
                    3, {f_->browser.eseguibile, "https://www.example.org/trivanta/donazione"}));

        // A new game asked for in the middle of a trick, Yes the default:
        // No changes nothing; Yes deals a new one, and nothing of the old
        // game stays.
        QVERIFY(untilComputerLeads());
        const Tavolo table = w.briscola().tavolo();
        f_->risposte = {QMessageBox::No};
        Controllo<QAction>(w, "newpart")->trigger();
        QVERIFY(f_->visti.back().buttons == Buttons::YesNo && f_->predefinito == QMessageBox::Yes);
        QVERIFY(w.briscola().tavolo() == table);
        const std::size_t before = f_->visti.size();
        Controllo<QAction>(w, "newpart")->trigger();
        QVERIFY(f_->visti.size() == before + 2 &&
                Conta(s, PosPresaPc) + Conta(s, PosPresaUser) == 0);

        // The close box, what the window manager sends, asks nothing either,
        // in the middle of a trick too, and the pictures go with the window.
        QVERIFY(untilComputerLeads());
        const std::size_t n = f_->visti.size();
        w.windowHandle()->close();
        QVERIFY(w.isHidden() && Controllo<QObject>(w, "cards") == nullptr && f_->visti.size() == n);
    }
};

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
