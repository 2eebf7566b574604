// The window as laid out: every control at its place, its look, the menus,
// the fixed size, and which controls react to the mouse and the keyboard.

#include "NomiCarte.h"
#include "Random.h"
#include "UiSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSizeGrip>
#include <QTest>
#include <QWindow>

using namespace trivanta;
using namespace trivanta::prova;

namespace {

// The layout in twips, as designed: left, top, width, height.
struct Atteso {
    const char* name;
    int left, top, width, height;
};

// The five controls inside Frame1: their place in the frame and in the window.
struct AttesoInFrame {
    const char* name;
    int left, top, width, height;
    int windowLeft, windowTop;
};

QRect inPixels(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        random_ = std::make_unique<PcgRandom>(7, orologioFisso);
        w_ = std::make_unique<MainWindow>(nullptr, random_.get());
        answerer_ = std::make_unique<Risponditore>(w_.get());
    }
    void cleanup() {
        answerer_.reset();
        w_.reset();
    }

    void everyControlAtItsPlace_data();
    void everyControlAtItsPlace();
    void controlsInsideTheTableAtTheirPlace_data();
    void controlsInsideTheTableAtTheirPlace();
    void windowHasAFixedClientAreaAndCannotBeResized();
    void windowOpensCentredWithItsTitle();
    void menusHaveAccessKeysAndNoShortcuts();
    void controlsHaveTheirTextsFontsAndColours();
    void trumpCardLiesInFrontOfTheTableAndMarkersBehindTheCards();
    void statusBarIsAPlainBarWithoutGrip();
    void aPlaceFitsItsPictureAndTheOthersStay();
    void onlyTheUsersCardsAndGiocaReactToClicks();
    void keysMoveTheSelectionAmongShownCards();
    void enterAndSpacePlayTheSelectedCard();
    void tabReachesGioca();
    void accessibleNamesSayWhatEachPlaceShows_data();
    void accessibleNamesSayWhatEachPlaceShows();
    void placesAreNamedForScreenReadersAsTheyShow();

private:
    QWidget* client() { return w_->centralWidget(); }
    void deal() {
        w_->Form_Load();
        w_->show();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }

    std::unique_ptr<PcgRandom> random_;
    std::unique_ptr<MainWindow> w_;
    std::unique_ptr<Risponditore> answerer_;
};

void LayoutTest::everyControlAtItsPlace_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("expected");
    const Atteso table[] = {
        {"Command1", 7680, 120, 3975, 375},        {"pc(0)", 7635, 600, 1170, 2010},
        {"pc(1)", 9075, 600, 1170, 2010},          {"pc(2)", 10515, 600, 1170, 2010},
        {"Frame1", 360, 2040, 5655, 2655},         {"cartabriscola", 4440, 2280, 1170, 2010},
        {"giocatautente", 8880, 3120, 1695, 1095}, {"Shape2(0)", 7560, 4680, 1305, 2130},
        {"Shape2(1)", 9000, 4680, 1305, 2130},     {"Shape2(2)", 10440, 4680, 1305, 2130},
        {"user(0)", 7635, 4755, 1170, 2010},       {"user(1)", 9075, 4755, 1170, 2010},
        {"user(2)", 10515, 4755, 1170, 2010},      {"Command2", 7800, 6960, 3975, 375},
        {"StatusBar1", 0, 7425, 11910, 255},
    };
    for (const Atteso& a : table) {
        QTest::newRow(a.name) << QString::fromLatin1(a.name)
                              << inPixels(a.left, a.top, a.width, a.height);
    }
}

void LayoutTest::everyControlAtItsPlace() {
    QFETCH(QString, name);
    QFETCH(QRect, expected);
    deal();
    QWidget* control = controllo(*w_, name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QCOMPARE(control->parentWidget(), client());
    QCOMPARE(control->geometry(), expected);
}

void LayoutTest::controlsInsideTheTableAtTheirPlace_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("inFrame");
    QTest::addColumn<QPoint>("inWindow");
    const AttesoInFrame table[] = {
        {"terrauser", 195, 240, 1170, 2010, 555, 2280},
        {"terrapc", 1560, 240, 1170, 2010, 1920, 2280},
        {"Label1", 600, 2280, 735, 255, 960, 4320},
        {"Label2", 2040, 2280, 735, 255, 2400, 4320},
        {"Label4", 4200, 2280, 1095, 255, 4560, 4320},
    };
    for (const AttesoInFrame& a : table) {
        QTest::newRow(a.name) << QString::fromLatin1(a.name)
                              << inPixels(a.left, a.top, a.width, a.height)
                              << QPoint(a.windowLeft / 15, a.windowTop / 15);
    }
}

void LayoutTest::controlsInsideTheTableAtTheirPlace() {
    QFETCH(QString, name);
    QFETCH(QRect, inFrame);
    QFETCH(QPoint, inWindow);
    deal();
    QWidget* control = controllo(*w_, name);
    QVERIFY2(control != nullptr, qPrintable(name));
    QCOMPARE(control->parentWidget(), controllo(*w_, QStringLiteral("Frame1")));
    QCOMPARE(control->geometry(), inFrame);
    QCOMPARE(control->mapTo(client(), QPoint(0, 0)), inWindow);
}

void LayoutTest::windowHasAFixedClientAreaAndCannotBeResized() {
    deal();
    QCOMPARE(client()->size(), QSize(794, 512));
    QCOMPARE(client()->mapTo(w_.get(), QPoint(0, 0)), QPoint(0, w_->menuBar()->height()));
    QCOMPARE(w_->size(), QSize(794, 512 + w_->menuBar()->height()));
    QCOMPARE(w_->minimumSize(), w_->maximumSize());
    QVERIFY(!(w_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w_->windowFlags() & Qt::WindowCloseButtonHint);

    const QSize before = w_->size();
    w_->resize(1000, 700);
    QTest::qWait(10);
    QCOMPARE(w_->size(), before);
    QCOMPARE(client()->size(), QSize(794, 512));
    // What the window manager is told.
    QCOMPARE(w_->windowHandle()->minimumSize(), before);
    QCOMPARE(w_->windowHandle()->maximumSize(), before);
}

void LayoutTest::windowOpensCentredWithItsTitle() {
    deal();
    QCOMPARE(w_->windowTitle(), QStringLiteral("Trivanta"));
    const QPoint centre = w_->screen()->availableGeometry().center();
    const QPoint ours = w_->frameGeometry().center();
    QVERIFY2((centre - ours).manhattanLength() <= 2,
             qPrintable(QStringLiteral("window centre %1,%2, screen centre %3,%4")
                            .arg(ours.x())
                            .arg(ours.y())
                            .arg(centre.x())
                            .arg(centre.y())));
}

void LayoutTest::menusHaveAccessKeysAndNoShortcuts() {
    const QList<QAction*> bar = w_->menuBar()->actions();
    QCOMPARE(bar.size(), 2);
    QCOMPARE(bar[0]->text(), QStringLiteral("&File"));
    QCOMPARE(bar[1]->text(), QStringLiteral("&?"));
    const QStringList expected[] = {
        {QStringLiteral("&Nuova partita"), QStringLiteral("&Esci")},
        {QStringLiteral("&Informazioni"), QStringLiteral("Fai una &donazione")}};
    const QStringList names[] = {{QStringLiteral("newpart"), QStringLiteral("esci")},
                                 {QStringLiteral("Info"), QStringLiteral("cmdDonazione")}};
    for (int m = 0; m < 2; ++m) {
        QMenu* menu = bar[m]->menu();
        QVERIFY(menu != nullptr);
        QStringList texts;
        QStringList objectNames;
        for (QAction* entry : menu->actions()) {
            texts << entry->text();
            objectNames << entry->objectName();
            QVERIFY2(entry->shortcut().isEmpty(), qPrintable(entry->text()));
            QVERIFY(entry->isEnabled() && entry->isVisible() && !entry->isCheckable());
        }
        QCOMPARE(texts, expected[m]);
        QCOMPARE(objectNames, names[m]);
    }
}

void LayoutTest::controlsHaveTheirTextsFontsAndColours() {
    deal();
    const auto text = [this](const char* name) {
        QWidget* c = controllo(*w_, QString::fromLatin1(name));
        if (auto* label = qobject_cast<QLabel*>(c)) {
            return label->text();
        }
        if (auto* button = qobject_cast<QPushButton*>(c)) {
            return button->text();
        }
        return QString();
    };
    const QString donation = QStringLiteral("Ti piace questo programma? Fai una donazione!");
    QCOMPARE(text("Command1"), donation);
    QCOMPARE(text("Command2"), donation);
    QCOMPARE(text("giocatautente"), QStringLiteral("Gioca"));
    QCOMPARE(text("Label1"), QStringLiteral("Utente"));
    QCOMPARE(text("Label2"), QStringLiteral("PC"));
    QCOMPARE(text("Label4"), QStringLiteral("BRISCOLA"));

    for (const char* bold : {"Label1", "Label2", "Label4", "giocatautente", "StatusBar1"}) {
        const QFont font = controllo(*w_, QString::fromLatin1(bold))->font();
        QVERIFY2(font.bold(), bold);
        QCOMPARE(font.pointSizeF(), 8.25);
        QVERIFY2(QFontInfo(font).bold(), bold);
    }
    QVERIFY(!controllo(*w_, QStringLiteral("Command1"))->font().bold());

    // As drawn: the green table, the green buttons, white captions on it.
    const QImage shot = client()->grab().toImage();
    QCOMPARE(QColor(shot.pixel(26, 138)), QColor(0, 128, 0));
    QCOMPARE(QColor(shot.pixel(24 + 376, 136 + 176)), QColor(0, 128, 0));
    for (const char* button : {"Command1", "Command2"}) {
        QCOMPARE(controllo(*w_, QString::fromLatin1(button))->palette().color(QPalette::Button),
                 QColor(0, 255, 0));
    }
    const auto whitePixels = [&shot](const QRect& area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                n += QColor(shot.pixel(x, y)) == QColor(Qt::white) ? 1 : 0;
            }
        }
        return n;
    };
    for (const char* label : {"Label1", "Label2", "Label4"}) {
        QWidget* l = controllo(*w_, QString::fromLatin1(label));
        const QRect area(l->mapTo(client(), QPoint()), l->size());
        QVERIFY2(whitePixels(area) > 10, label);
    }
}

void LayoutTest::trumpCardLiesInFrontOfTheTableAndMarkersBehindTheCards() {
    deal();
    // The trump card overlaps Frame1; whatever lies at that spot is the card.
    const QPoint overlap(300, 160);
    QVERIFY(controllo(*w_, QStringLiteral("Frame1"))->geometry().contains(overlap));
    QWidget* atSpot = client()->childAt(overlap);
    QCOMPARE(atSpot, controllo(*w_, QStringLiteral("cartabriscola")));

    const QObjectList children = client()->children();
    for (int k = 0; k < 3; ++k) {
        QWidget* shape = controllo(*w_, QStringLiteral("Shape2(%1)").arg(k));
        QWidget* card = controllo(*w_, QStringLiteral("user(%1)").arg(k));
        QVERIFY(children.indexOf(shape) < children.indexOf(card));
        QVERIFY(shape->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
    // The visible marker is a red frame 3 pixels wide around its card.
    const int selected = w_->briscola().stato().currentindex;
    QWidget* shape = controllo(*w_, QStringLiteral("Shape2(%1)").arg(selected));
    QVERIFY(!shape->isHidden());
    const QImage shot = client()->grab().toImage();
    const QRect r = shape->geometry();
    const QColor red(255, 0, 0);
    for (int d = 0; d < 3; ++d) {
        QCOMPARE(QColor(shot.pixel(r.left() + d, r.center().y())), red);
        QCOMPARE(QColor(shot.pixel(r.right() - d, r.center().y())), red);
        QCOMPARE(QColor(shot.pixel(r.center().x(), r.top() + d)), red);
        QCOMPARE(QColor(shot.pixel(r.center().x(), r.bottom() - d)), red);
    }
    QVERIFY(QColor(shot.pixel(r.left() + 3, r.center().y())) != red);
}

void LayoutTest::statusBarIsAPlainBarWithoutGrip() {
    deal();
    QVERIFY(w_->findChildren<QSizeGrip*>().isEmpty());
    auto* bar = w_->findChild<QLabel*>(QStringLiteral("StatusBar1"));
    QVERIFY(bar != nullptr);
    QCOMPARE(bar->mapTo(w_.get(), QPoint()).y() + bar->height(), w_->height());
    QCOMPARE(bar->text(), QStringLiteral("Carte prese dal PC: 0 Carte prese da USER: 0"));
}

void LayoutTest::aPlaceFitsItsPictureAndTheOthersStay() {
    deal();
    CardPlace* place = posto(*w_, QStringLiteral("user(1)"));
    const QRect before = place->geometry();
    QCOMPARE(before.size(), QSize(78, 134));
    QPixmap wide(75, 131);
    wide.fill(Qt::blue);
    place->setPicture("xx", wide);
    QCOMPARE(place->geometry(), QRect(before.topLeft(), QSize(79, 135)));
    QCOMPARE(posto(*w_, QStringLiteral("user(2)"))->geometry(), inPixels(10515, 4755, 1170, 2010));
    // No picture: the place keeps its size and shows its background.
    place->setPicture("", QPixmap());
    QCOMPARE(place->size(), QSize(79, 135));
    QVERIFY(mostra(place, ""));
}

void LayoutTest::onlyTheUsersCardsAndGiocaReactToClicks() {
    deal();
    const StatoGioco before = w_->briscola().stato();
    const Tavolo tableBefore = w_->briscola().tavolo();
    const std::size_t boxes = answerer_->visti().size();
    const char* inert[] = {"pc(0)",  "pc(1)",  "terrauser", "terrapc",    "cartabriscola", "Label1",
                           "Label2", "Label4", "Frame1",    "StatusBar1", "Shape2(0)"};
    for (const char* name : inert) {
        QWidget* c = controllo(*w_, QString::fromLatin1(name));
        QVERIFY2(c != nullptr, name);
        QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY2(w_->briscola().stato().StatoCarte == before.StatoCarte, name);
        QVERIFY2(w_->briscola().stato().currentindex == before.currentindex, name);
        QVERIFY2(w_->briscola().tavolo() == tableBefore, name);
    }
    QCOMPARE(answerer_->visti().size(), boxes);

    // A card of the hand: only the selection moves.
    QTest::mouseClick(posto(*w_, QStringLiteral("user(2)")), Qt::LeftButton);
    QCOMPARE(w_->briscola().stato().currentindex, 2);
    QVERIFY(w_->briscola().stato().StatoCarte == before.StatoCarte);
    QVERIFY(controllo(*w_, QStringLiteral("Shape2(2)"))->isVisible());
    QVERIFY(controllo(*w_, QStringLiteral("Shape2(0)"))->isHidden());
    QCOMPARE(differenzeDalTavolo(*w_), QString());
    // A press that is released outside the card is no click.
    CardPlace* card = posto(*w_, QStringLiteral("user(1)"));
    QTest::mousePress(card, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(card, Qt::LeftButton, {}, QPoint(200, 5));
    QCOMPARE(w_->briscola().stato().currentindex, 2);

    // Gioca plays it.
    QTest::mouseClick(controllo(*w_, QStringLiteral("giocatautente")), Qt::LeftButton);
    QVERIFY(answerer_->visti().size() > boxes);
    QCOMPARE(
        conta(w_->briscola().stato(), PosPresaUser) + conta(w_->briscola().stato(), PosPresaPc), 2);
}

void LayoutTest::keysMoveTheSelectionAmongShownCards() {
    deal();
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    const auto selected = [this] { return w_->briscola().stato().currentindex; };
    const auto key = [this](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
    QCOMPARE(selected(), 0);
    key(Qt::Key_3);
    QCOMPARE(selected(), 2);
    QVERIFY(controllo(*w_, QStringLiteral("Shape2(2)"))->isVisible());
    key(Qt::Key_Left);
    QCOMPARE(selected(), 1);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    QCOMPARE(selected(), 0);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    QCOMPARE(selected(), 2);
    key(Qt::Key_1);
    QCOMPARE(selected(), 0);
    QCOMPARE(differenzeDalTavolo(*w_), QString());

    // With two cards in the hand the third place is hidden and out of reach.
    StatoGioco& s = w_->briscola().stato();
    for (int v = 1; v <= NumeroValori; ++v) {
        for (int m = 1; m <= NumeroSemi; ++m) {
            if (s.StatoCarte[v][m] == PosManoUser) {
                s.StatoCarte[v][m] = PosPresaUser;
                v = NumeroValori + 1;
                break;
            }
        }
    }
    w_->briscola().Ridisegna();
    w_->Disegna();
    QVERIFY(posto(*w_, QStringLiteral("user(2)"))->isHidden());
    key(Qt::Key_2);
    QCOMPARE(selected(), 1);
    key(Qt::Key_3);
    QCOMPARE(selected(), 1);
    key(Qt::Key_Right);
    QCOMPARE(selected(), 1);
}

void LayoutTest::enterAndSpacePlayTheSelectedCard() {
    deal();
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    const auto taken = [this] {
        return conta(w_->briscola().stato(), PosPresaUser) +
               conta(w_->briscola().stato(), PosPresaPc);
    };
    QCOMPARE(QApplication::focusWidget(), controllo(*w_, QStringLiteral("giocatautente")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(taken(), 2);
    // The boxes of the trick had the focus; it comes back to the window.
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    QCOMPARE(QApplication::focusWidget(), controllo(*w_, QStringLiteral("giocatautente")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(taken(), 4);
    // From a card-less spot too: the window plays on Enter.
    QTest::keyClick(w_.get(), Qt::Key_Enter);
    QCOMPARE(taken(), 6);
    QCOMPARE(differenzeDalTavolo(*w_), QString());
}

void LayoutTest::tabReachesGioca() {
    deal();
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    QWidget* gioca = controllo(*w_, QStringLiteral("giocatautente"));
    controllo(*w_, QStringLiteral("Command2"))->setFocus();
    bool reached = false;
    for (int i = 0; i < 4 && !reached; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached = QApplication::focusWidget() == gioca;
    }
    QVERIFY(reached);
}

void LayoutTest::accessibleNamesSayWhatEachPlaceShows_data() {
    QTest::addColumn<QString>("immagine");
    QTest::addColumn<bool>("manoPc");
    QTest::addColumn<QString>("expected");
    QTest::newRow("seven") << "o7" << false << "7 di ori";
    QTest::newRow("ace") << "s1" << false << "asso di spade";
    QTest::newRow("jack") << "c8" << false << "fante di coppe";
    QTest::newRow("knight") << "b9" << false << "cavallo di bastoni";
    QTest::newRow("king") << "o0" << false << "re di ori";
    QTest::newRow("two") << "b2" << false << "2 di bastoni";
    QTest::newRow("covered") << "vuota" << true << "carta coperta";
    QTest::newRow("empty place") << "vuota" << false << "posto vuoto";
    QTest::newRow("no picture") << "" << false << "posto vuoto";
    QTest::newRow("no card") << "x7" << false << "posto vuoto";
}

void LayoutTest::accessibleNamesSayWhatEachPlaceShows() {
    QFETCH(QString, immagine);
    QFETCH(bool, manoPc);
    QFETCH(QString, expected);
    QCOMPARE(nomeAccessibile(immagine.toStdString(), manoPc), expected);
}

void LayoutTest::placesAreNamedForScreenReadersAsTheyShow() {
    deal();
    const Tavolo& t = w_->briscola().tavolo();
    QCOMPARE(posto(*w_, QStringLiteral("cartabriscola"))->accessibleName(),
             QStringLiteral("briscola: ") + nomeAccessibile(t.cartabriscola.immagine));
    QVERIFY(!posto(*w_, QStringLiteral("cartabriscola"))->accessibleName().contains("vuoto"));
    QCOMPARE(posto(*w_, QStringLiteral("pc(0)"))->accessibleName(),
             QStringLiteral("carta coperta"));
    for (int k = 0; k < 3; ++k) {
        const QString name = posto(*w_, QStringLiteral("user(%1)").arg(k))->accessibleName();
        QCOMPARE(name, nomeAccessibile(t.user[static_cast<std::size_t>(k)].immagine));
        QVERIFY2(name.contains(QStringLiteral(" di ")), qPrintable(name));
    }
}

QTEST_MAIN(LayoutTest)
#include "LayoutTest.moc"
