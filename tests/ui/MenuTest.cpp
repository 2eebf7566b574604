// The menus, the About box, the donation controls and every way the window
// closes.

#include "BrowserPlatform.h"
#include "Random.h"
#include "Testi.h"
#include "UiSupport.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>

using namespace trivanta;
using namespace trivanta::prova;

namespace {

// A browser platform that finds a browser, or none, and records the launches.
class FintoBrowser final : public BrowserPlatform {
public:
    bool browserFound = true;
    std::vector<std::pair<std::int32_t, std::string>> launches;

    std::string programDirectory() override { return "/nowhere"; }
    char pathSeparator() const override { return '/'; }
    void writeFile(const std::string&, std::string_view) override {}
    FoundExecutable findExecutable(const std::string&) override {
        return browserFound ? FoundExecutable{ShellOk, "browser"} : FoundExecutable{};
    }
    ShellResult launch(std::int32_t owner, const std::string&,
                       const std::string& address) override {
        launches.emplace_back(owner, address);
        return ShellOk;
    }
    void deleteFile(const std::string&) override {}
};

QAction* entry(MainWindow& w, const char* name) {
    return w.findChild<QAction*>(QString::fromLatin1(name));
}

} // namespace

class MenuTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        random_ = std::make_unique<PcgRandom>(11, orologioFisso);
        w_ = std::make_unique<MainWindow>(nullptr, random_.get(), &browser_);
        answerer_ = std::make_unique<Risponditore>(w_.get());
        w_->Form_Load();
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }
    void cleanup() {
        answerer_.reset();
        w_.reset();
        browser_ = FintoBrowser{};
    }

    void newGameAnsweredNoChangesNothing();
    void newGameAnsweredYesInTheMiddleOfATrickDealsAfresh();
    void closingInTheMiddleOfATrickEndsTheProgramWithoutAQuestion_data();
    void closingInTheMiddleOfATrickEndsTheProgramWithoutAQuestion();
    void activationClosesOnlyAfterTheUserDeclinedAnotherGame();
    void aboutBoxShowsTheProductAndLeavesTheGameAlone();
    void everyDonationControlOpensThePageOnce();
    void donationWithoutBrowserWarns();

private:
    // Plays at least one trick, then on until the computer's card lies on
    // the table, waiting for the user.
    void untilComputerLeads() {
        const StatoGioco& s = w_->briscola().stato();
        for (int i = 0; i < 19 && (i == 0 || !(s.WaitingForUser && !s.WaitingForPC)); ++i) {
            QTest::mouseClick(controllo(*w_, QStringLiteral("giocatautente")), Qt::LeftButton);
        }
        QVERIFY(s.WaitingForUser && !s.WaitingForPC);
        QCOMPARE(conta(s, PosTerraPc), 1);
        QVERIFY(posto(*w_, QStringLiteral("terrapc"))->isVisible());
    }

    FintoBrowser browser_;
    std::unique_ptr<PcgRandom> random_;
    std::unique_ptr<MainWindow> w_;
    std::unique_ptr<Risponditore> answerer_;
};

void MenuTest::newGameAnsweredNoChangesNothing() {
    untilComputerLeads();
    const StatoGioco before = w_->briscola().stato();
    const Tavolo tableBefore = w_->briscola().tavolo();
    const QImage screenBefore = w_->grab().toImage();
    const std::size_t boxes = answerer_->visti().size();

    answerer_->setHandler([](const BoxVisto&) { return QMessageBox::No; });
    entry(*w_, "newpart")->trigger();

    QCOMPARE(answerer_->visti().size(), boxes + 1);
    const BoxVisto& box = answerer_->visti().back();
    QCOMPARE(box.title, QStringLiteral("Sicuro?"));
    QCOMPARE(box.text, QStringLiteral("Sei sicuro di voler interrompere la partita in corso?"));
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(box.defaultButton, QMessageBox::Yes);
    QVERIFY(box.yesBeforeNo);
    QCOMPARE(box.icon, QMessageBox::NoIcon);
    QVERIFY(box.modalToWindow);

    const StatoGioco& after = w_->briscola().stato();
    QVERIFY(after.StatoCarte == before.StatoCarte);
    QCOMPARE(after.Turno, before.Turno);
    QCOMPARE(after.MazziereUser, before.MazziereUser);
    QCOMPARE(after.currentindex, before.currentindex);
    QCOMPARE(after.WaitingForUser, before.WaitingForUser);
    QCOMPARE(after.WaitingForPC, before.WaitingForPC);
    QVERIFY(w_->briscola().tavolo() == tableBefore);
    QCOMPARE(w_->grab().toImage(), screenBefore);
    QVERIFY(w_->isVisible());
}

void MenuTest::newGameAnsweredYesInTheMiddleOfATrickDealsAfresh() {
    untilComputerLeads();
    QVERIFY(conta(w_->briscola().stato(), PosPresaPc) +
                conta(w_->briscola().stato(), PosPresaUser) >
            0);
    const std::size_t boxes = answerer_->visti().size();
    Errori errori;
    answerer_->setHandler([&](const BoxVisto& box) {
        // The dealer box: the old table is still on screen, markers hidden.
        errori.check(differenzeDalTavolo(*w_).isEmpty(), differenzeDalTavolo(*w_));
        return box.defaultButton;
    });
    entry(*w_, "newpart")->trigger();

    QVERIFY2(errori.list.isEmpty(), qPrintable(errori.list.join('\n')));
    QCOMPARE(answerer_->visti().size(), boxes + 2);
    const BoxVisto& question = answerer_->visti()[boxes];
    QCOMPARE(question.title, QStringLiteral("Sicuro?"));
    const BoxVisto& dealer = answerer_->visti()[boxes + 1];
    QVERIFY(dealer.text == QStringLiteral("Sarai tu a dare carte") ||
            dealer.text == QStringLiteral("Darà carte il computer"));
    QCOMPARE(dealer.title, QStringLiteral("Trivanta"));
    QCOMPARE(dealer.buttons, QMessageBox::Ok);

    // No pile keeps a card of the old game; the deal is complete.
    const StatoGioco& s = w_->briscola().stato();
    QCOMPARE(conta(s, PosPresaPc) + conta(s, PosPresaUser), 0);
    QCOMPARE(conta(s, PosMazzo), 33);
    QCOMPARE(conta(s, PosBriscola), 1);
    QCOMPARE(conta(s, PosManoUser), 3);
    QCOMPARE(conta(s, PosManoPc) + conta(s, PosTerraPc), 3);
    QCOMPARE(w_->findChild<QLabel*>(QStringLiteral("StatusBar1"))->text(),
             QStringLiteral("Carte prese dal PC: 0 Carte prese da USER: 0"));
    QCOMPARE(differenzeDalTavolo(*w_), QString());
    QVERIFY(mostra(posto(*w_, QStringLiteral("cartabriscola")),
                   posto(*w_, QStringLiteral("cartabriscola"))->immagine()));
}

void MenuTest::closingInTheMiddleOfATrickEndsTheProgramWithoutAQuestion_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("close box") << QStringLiteral("close box");
    QTest::newRow("Esci") << QStringLiteral("esci");
}

void MenuTest::closingInTheMiddleOfATrickEndsTheProgramWithoutAQuestion() {
    QFETCH(QString, how);
    untilComputerLeads();
    QVERIFY(w_->cards().loaded());
    const std::size_t boxes = answerer_->visti().size();
    QTimer::singleShot(0, [&] {
        if (how == QStringLiteral("esci")) {
            entry(*w_, "esci")->trigger();
        } else {
            // What the window manager sends for the close box.
            w_->windowHandle()->close();
        }
    });
    QTimer::singleShot(20000, [] { QCoreApplication::exit(99); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(w_->isHidden());
    QCOMPARE(answerer_->visti().size(), boxes);
    QVERIFY(!w_->cards().loaded());
    // Nothing hidden or visible is left that could keep the program alive.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        QVERIFY2(!top->isVisible(), qPrintable(top->objectName()));
    }
}

void MenuTest::activationClosesOnlyAfterTheUserDeclinedAnotherGame() {
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    // Not declined: an activation changes nothing.
    const StatoGioco before = w_->briscola().stato();
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    QVERIFY(w_->isVisible());
    QVERIFY(w_->briscola().stato().StatoCarte == before.StatoCarte);

    // Declined: coming back to the window from another window of the program
    // closes it.
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    w_->briscola().stato().SceltoDiChiudere = true;
    w_->activateWindow();
    QTRY_VERIFY(w_->isHidden());
    QVERIFY(!w_->cards().loaded());
}

void MenuTest::aboutBoxShowsTheProductAndLeavesTheGameAlone() {
    const StatoGioco before = w_->briscola().stato();
    entry(*w_, "Info")->trigger();
    const BoxVisto& box = answerer_->visti().back();
    QCOMPARE(box.title, QStringLiteral("Informazioni"));
    QCOMPARE(box.icon, QMessageBox::Information);
    QCOMPARE(box.buttons, QMessageBox::Ok);
    QVERIFY(box.modalToWindow);
    const QStringList lines = box.text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0], QStringLiteral("Trivanta 1.0"));
    QVERIFY(lines[1].isEmpty());
    QVERIFY(lines[2].startsWith(QStringLiteral("by ")));
    QVERIFY(lines[3].contains(QLatin1Char('@')));
    QVERIFY(!lines[4].contains(QStringLiteral("://")));
    QVERIFY(!box.text.contains(QLatin1Char('\r')));
    QVERIFY(w_->briscola().stato().StatoCarte == before.StatoCarte);
}

void MenuTest::everyDonationControlOpensThePageOnce() {
    const std::size_t boxes = answerer_->visti().size();
    qobject_cast<QPushButton*>(controllo(*w_, QStringLiteral("Command1")))->click();
    QCOMPARE(browser_.launches.size(), std::size_t{1});
    qobject_cast<QPushButton*>(controllo(*w_, QStringLiteral("Command2")))->click();
    QCOMPARE(browser_.launches.size(), std::size_t{2});
    entry(*w_, "cmdDonazione")->trigger();
    QCOMPARE(browser_.launches.size(), std::size_t{3});

    const auto owner = static_cast<std::int32_t>(static_cast<std::uint32_t>(w_->winId()));
    for (const auto& [who, address] : browser_.launches) {
        QCOMPARE(who, owner);
        QCOMPARE(address, std::string(testi::IndirizzoDonazione));
    }
    QCOMPARE(answerer_->visti().size(), boxes);
}

void MenuTest::donationWithoutBrowserWarns() {
    browser_.browserFound = false;
    entry(*w_, "cmdDonazione")->trigger();
    const BoxVisto& box = answerer_->visti().back();
    QCOMPARE(box.title, QStringLiteral("Browser Not Found"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QMessageBox::Ok);
    QVERIFY(box.text.endsWith(QString::fromUtf8(testi::IndirizzoDonazione)));
    QVERIFY(browser_.launches.empty());
    QVERIFY(w_->isVisible());
}

QTEST_MAIN(MenuTest)
#include "MenuTest.moc"
