// The window as laid out, its menus and keys, two whole games with the real
// message boxes answered from a timer as a user would, and the menus and the
// close box in the middle of a trick. Also run at QT_SCALE_FACTOR=2, where the
// layout stays in logical pixels and every picture must stay sharp.

#include "CardPictures.h"
#include "Carte.h"
#include "Controls.h"
#include "MainWindow.h"
#include "NomiCarte.h"
#include "Random.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <vector>

using namespace trivanta;

namespace {

// The clock of a reproducible game.
float orologioFisso() {
    return 43200.25f;
}

// What a message box looked like when it came up.
struct BoxVisto {
    QString text, title;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool modalToWindow = false;

    bool operator==(const BoxVisto&) const = default;
};

// Answers every QMessageBox from a timer, as a user does: the default button
// with Enter, any other with a click. The handler looks at the box and the
// window and chooses; without one, the default button.
class Risponditore : public QObject {
public:
    explicit Risponditore(QWidget* window) : window_(window) {
        connect(&timer_, &QTimer::timeout, this, &Risponditore::poll);
        timer_.start(5);
    }
    std::function<QMessageBox::StandardButton(const BoxVisto&)> handler;
    std::vector<BoxVisto> visti;

private:
    void poll();
    QWidget* window_;
    QTimer timer_;
};

// A window on a reproducible game, its boxes answered.
struct Finestra {
    explicit Finestra(quint64 seed)
        : random(seed, orologioFisso), w(nullptr, &random), answerer(&w) {}
    // Deals, shows and waits for the window.
    void apri() {
        w.Form_Load();
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }

    PcgRandom random;
    MainWindow w;
    Risponditore answerer;
};

template <class T = QWidget> T* trova(MainWindow& w, const QString& name) {
    return w.findChild<T*>(name);
}
CardPlace* posto(MainWindow& w, const QString& name) {
    return trova<CardPlace>(w, name);
}

void Risponditore::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || box->property("risposto").toBool()) {
        return;
    }
    box->setProperty("risposto", true);
    const auto def =
        box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
    const BoxVisto visto{
        box->text(), box->windowTitle(), box->standardButtons(),
        def,         box->icon(),        box->isModal() && box->parentWidget() == window_};
    visti.push_back(visto);
    const auto answer = handler ? handler(visto) : def;
    if (answer == def) {
        QTest::keyClick(box, Qt::Key_Return);
    } else {
        box->button(answer)->click();
    }
}

QString statusBar(MainWindow& w) {
    return trova<QLabel>(w, "StatusBar1")->text();
}

// Whether the place, as drawn, shows exactly this picture inside its border;
// "" means no picture, only the background.
bool mostra(CardPlace* place, std::string_view nome) {
    const QImage drawn = place->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = drawn.devicePixelRatio();
    const int border = qRound(2 * ratio);
    const QImage inside = drawn.copy(drawn.rect().adjusted(border, border, -border, -border));
    if (nome.empty()) {
        // Only the background: one colour inside the border.
        QImage plain(inside.size(), QImage::Format_RGB32);
        plain.fill(inside.pixel(0, 0));
        return inside == plain;
    }
    // Enlarged pixel by pixel on a HiDPI screen: a smoothed picture differs.
    const QImage picture = cardPicture(nome).toImage().convertToFormat(QImage::Format_RGB32);
    return !picture.isNull() &&
           inside == picture.scaled(picture.size() * ratio, Qt::IgnoreAspectRatio,
                                    Qt::FastTransformation);
}

// Empty when every control shows, on screen, what the game's table value
// says; otherwise the names of the controls that differ.
QString differenzeDalTavolo(MainWindow& w) {
    const Tavolo& t = w.briscola().tavolo();
    QStringList diff;
    const auto confronta = [&](const QString& name, const Posto& atteso) {
        CardPlace* p = posto(w, name);
        if (p->isHidden() == atteso.visibile || (atteso.visibile && !mostra(p, atteso.immagine))) {
            diff << name;
        }
    };
    for (std::size_t k = 0; k < 3; ++k) {
        confronta(QStringLiteral("user(%1)").arg(k), t.user[k]);
        confronta(QStringLiteral("pc(%1)").arg(k), t.pc[k]);
        if (trova(w, QStringLiteral("Shape2(%1)").arg(k))->isHidden() == t.Shape2[k]) {
            diff << QStringLiteral("Shape2(%1)").arg(k);
        }
    }
    confronta("terrauser", t.terrauser);
    confronta("terrapc", t.terrapc);
    confronta("cartabriscola", t.cartabriscola);
    if (statusBar(w) != QString::fromStdString(t.StatusBar1)) {
        diff << "StatusBar1";
    }
    return diff.join(", ");
}

// The pictures of the cards at one location.
std::vector<std::string> carte(const StatoGioco& s, std::int16_t posizione) {
    std::vector<std::string> found;
    for (int v = 1; v <= NumeroValori; ++v) {
        for (int m = 1; m <= NumeroSemi; ++m) {
            if (s.StatoCarte[v][m] == posizione) {
                found.emplace_back(NomeImmagine(v, m));
            }
        }
    }
    return found;
}

int conta(const StatoGioco& s, std::int16_t posizione) {
    return static_cast<int>(carte(s, posizione).size());
}

QString barra(int pc, int user) {
    return QStringLiteral("Carte prese dal PC: %1 Carte prese da USER: %2").arg(pc).arg(user);
}

// The one card at a location; a name of no picture otherwise.
std::string carta(const StatoGioco& s, std::int16_t posizione) {
    const auto found = carte(s, posizione);
    return found.size() == 1 ? found[0] : "none";
}

// The same games on the core alone, with the same cards chosen and the same
// answers: what the boxes say, in order.
class Registro final : public MessageBoxes {
public:
    QStringList boxes;
    int endings = 0;

    Answer show(const Message& m) override {
        boxes << QString::fromStdString(m.title.value_or(std::string(AppTitle))) + " | " +
                     QString::fromStdString(m.text).replace("\r\n", "\n");
        if (m.buttons == Buttons::YesNo) {
            return ++endings == 1 ? Answer::Yes : Answer::No;
        }
        return Answer::Ok;
    }
};

QStringList giocaSenzaFinestra(quint64 seed) {
    PcgRandom random(seed, orologioFisso);
    Registro registro;
    Briscola briscola(registro, random);
    briscola.Form_Load();
    for (int game = 0; game < 2; ++game) {
        for (int trick = 1; trick <= 20 && !briscola.ChiusuraRichiesta(); ++trick) {
            briscola.user_Click(trick % conta(briscola.stato(), PosManoUser));
            briscola.giocatautente_Click();
        }
    }
    return registro.boxes;
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

    void everyControlAtItsPlaceInAWindowOfFixedSize();
    void menusHaveAccessKeysAndNoShortcuts();
    void keysSelectAndPlayAndPlacesAreNamedAsTheyShow();
    void twoGamesYesThenNoEndTheProgram();
    void aboutThenNewGameInTheMiddleOfATrickNoThenYes();
    void closingInTheMiddleOfATrickAsksNothing();

private:
    // Plays until the computer's card lies on the table, waiting for the user.
    void untilComputerLeads() {
        const StatoGioco& s = f_->w.briscola().stato();
        for (int i = 0; i < 19 && (i == 0 || conta(s, PosTerraPc) == 0); ++i) {
            QTest::mouseClick(trova(f_->w, "giocatautente"), Qt::LeftButton);
        }
        QCOMPARE(conta(s, PosTerraPc), 1);
    }

    std::unique_ptr<Finestra> f_;
};

void WindowTest::everyControlAtItsPlaceInAWindowOfFixedSize() {
    // As designed, in twips, in the client area; the five controls of the
    // table in Frame1.
    const std::pair<const char*, QRect> table[] = {
        {"Command1", {7680, 120, 3975, 375}},        {"pc(0)", {7635, 600, 1170, 2010}},
        {"pc(1)", {9075, 600, 1170, 2010}},          {"pc(2)", {10515, 600, 1170, 2010}},
        {"Frame1", {360, 2040, 5655, 2655}},         {"terrauser", {195, 240, 1170, 2010}},
        {"terrapc", {1560, 240, 1170, 2010}},        {"Label1", {600, 2280, 735, 255}},
        {"Label2", {2040, 2280, 735, 255}},          {"Label4", {4200, 2280, 1095, 255}},
        {"cartabriscola", {4440, 2280, 1170, 2010}}, {"giocatautente", {8880, 3120, 1695, 1095}},
        {"Shape2(0)", {7560, 4680, 1305, 2130}},     {"Shape2(1)", {9000, 4680, 1305, 2130}},
        {"Shape2(2)", {10440, 4680, 1305, 2130}},    {"user(0)", {7635, 4755, 1170, 2010}},
        {"user(1)", {9075, 4755, 1170, 2010}},       {"user(2)", {10515, 4755, 1170, 2010}},
        {"Command2", {7800, 6960, 3975, 375}},       {"StatusBar1", {0, 7425, 11910, 255}}};
    const QStringList inFrame{"terrauser", "terrapc", "Label1", "Label2", "Label4"};
    MainWindow& w = f_->w;
    QWidget* client = w.centralWidget();
    for (const auto& [name, twips] : table) {
        QWidget* control = trova(w, name);
        QVERIFY2(control != nullptr, name);
        QCOMPARE(control->parentWidget(), inFrame.contains(name) ? trova(w, "Frame1") : client);
        QCOMPARE(control->geometry(), QRect(twips.topLeft() / 15, twips.size() / 15));
    }
    // The trump card lies in front of the table it overlaps.
    QCOMPARE(client->childAt(300, 160), trova(w, "cartabriscola"));

    const qreal scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble();
    QCOMPARE(w.devicePixelRatio(), scale);
    QCOMPARE(client->grab().size(), QSize(794, 512) * scale);
    QCOMPARE(differenzeDalTavolo(w), QString()); // pictures pixel for pixel, also when scaled
    const QSize fixed = w.size();
    w.resize(1000, 700);
    QCOMPARE(w.size(), fixed);
    // What the window manager is told: no resizing border, no maximise box.
    QCOMPARE(w.windowHandle()->maximumSize(), fixed);
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
}

void WindowTest::menusHaveAccessKeysAndNoShortcuts() {
    const QStringList expected[] = {{"&File", "&Nuova partita", "&Esci"},
                                    {"&?", "&Informazioni", "Fai una &donazione"}};
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

void WindowTest::keysSelectAndPlayAndPlacesAreNamedAsTheyShow() {
    const std::tuple<const char*, bool, const char*> names[] = {
        {"o7", false, "7 di ori"},       {"s1", false, "asso di spade"},
        {"c8", false, "fante di coppe"}, {"b9", false, "cavallo di bastoni"},
        {"o0", false, "re di ori"},      {"vuota", true, "carta coperta"},
        {"vuota", false, "posto vuoto"}, {"x7", false, "posto vuoto"}};
    for (const auto& [immagine, manoPc, expected] : names) {
        QCOMPARE(nomeAccessibile(immagine, manoPc), QString::fromUtf8(expected));
    }

    MainWindow& w = f_->w;
    const StatoGioco& s = w.briscola().stato();
    QWidget* gioca = trova(w, "giocatautente");
    const auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
    // The window takes the keyboard when it opens; Tab comes round to Gioca.
    QCOMPARE(QApplication::focusWidget(), gioca);
    trova(w, "Command2")->setFocus();
    for (int i = 0; i < 3 && QApplication::focusWidget() != gioca; ++i) {
        key(Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), gioca);

    // A key, then the selected card and the cards in the piles.
    const std::tuple<Qt::Key, int, int> steps[] = {
        {Qt::Key_3, 2, 0},     {Qt::Key_Right, 2, 0}, {Qt::Key_Left, 1, 0}, {Qt::Key_Left, 0, 0},
        {Qt::Key_Left, 0, 0},  {Qt::Key_2, 1, 0},     {Qt::Key_1, 0, 0},    {Qt::Key_Return, 0, 2},
        {Qt::Key_Space, 0, 4}, {Qt::Key_Enter, 0, 6}};
    for (const auto& [k, selected, taken] : steps) {
        key(k);
        // The trick's boxes took the keyboard; it comes back to Gioca.
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const QByteArray at = QKeySequence(k).toString().toUtf8();
        QVERIFY2(s.currentindex == selected && QApplication::focusWidget() == gioca, at);
        QVERIFY2(conta(s, PosPresaUser) + conta(s, PosPresaPc) == taken, at);
        QCOMPARE(differenzeDalTavolo(w), QString());
        CardPlace* card = posto(w, "user(0)");
        CardPlace* trump = posto(w, "cartabriscola");
        QCOMPARE(card->accessibleName(), nomeAccessibile(card->immagine()));
        QCOMPARE(trump->accessibleName(), "briscola: " + nomeAccessibile(trump->immagine()));
        QCOMPARE(posto(w, "pc(0)")->accessibleName(), QStringLiteral("carta coperta"));
    }
    // With two cards left the third place is hidden and out of reach.
    for (int i = 0; i < 20 && conta(s, PosManoUser) == 3; ++i) {
        QTest::keyClick(gioca, Qt::Key_Return);
    }
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(posto(w, "user(2)")->isHidden());
    for (Qt::Key k : {Qt::Key_2, Qt::Key_3, Qt::Key_Right}) {
        key(k);
    }
    QCOMPARE(s.currentindex, 1);
}

void WindowTest::twoGamesYesThenNoEndTheProgram() {
    MainWindow& w = f_->w;
    const StatoGioco& s = w.briscola().stato();
    QStringList errori; // timer callbacks cannot stop the test
    const auto check = [&](bool ok, const QString& what) {
        if (!ok) {
            errori << what;
        }
    };
    int trick = 0, pcTaken = 0, userTaken = 0, endings = 0;

    f_->answerer.handler = [&](const BoxVisto& box) {
        const QString at = QStringLiteral("box '%1' in trick %2: ").arg(box.text).arg(trick);
        const bool end = box.title == "Fine partita";
        const QMessageBox::StandardButtons ok = QMessageBox::Ok,
                                           yesNo = QMessageBox::Yes | QMessageBox::No;
        check(box == BoxVisto{box.text, end ? box.title : "Trivanta", end ? yesNo : ok,
                              end ? QMessageBox::Yes : QMessageBox::Ok, QMessageBox::NoIcon, true},
              at + "title, buttons, default button, icon or owner");
        check(differenzeDalTavolo(w).isEmpty(), at + differenzeDalTavolo(w));
        if (box.text.startsWith("Le carte le prende ")) {
            // Both cards of the trick lie on the table while the box is open.
            check(mostra(posto(w, "terrauser"), carta(s, PosTerraUser)) &&
                      mostra(posto(w, "terrapc"), carta(s, PosTerraPc)),
                  at + "trick cards not both on screen");
            (box.text.endsWith("l'utente") ? userTaken : pcTaken) += 2;
        }
        if (!end) {
            return QMessageBox::Ok;
        }
        check(trick == 20 && statusBar(w) == barra(pcTaken, userTaken) && pcTaken + userTaken == 40,
              at + statusBar(w));
        pcTaken = userTaken = 0;
        return ++endings == 1 ? QMessageBox::Yes : QMessageBox::No;
    };

    const auto play = [&] {
        for (int game = 0; game < 2; ++game) {
            for (trick = 1; trick <= 20; ++trick) {
                const int k = trick % conta(s, PosManoUser);
                const QString at = QStringLiteral("trick %1: ").arg(trick);
                QTest::mouseClick(posto(w, QStringLiteral("user(%1)").arg(k)), Qt::LeftButton);
                check(s.currentindex == k &&
                          trova(w, QStringLiteral("Shape2(%1)").arg(k))->isVisible(),
                      at + "marker not on the clicked card");
                QTest::mouseClick(trova(w, "giocatautente"), Qt::LeftButton);
                if (trick == 20) {
                    continue;
                }
                // Markers, hands, table and piles as the core decided.
                check(differenzeDalTavolo(w).isEmpty(), at + differenzeDalTavolo(w));
                check(statusBar(w) == barra(pcTaken, userTaken), at + statusBar(w));
                // The trump card stays turned up until the last draw takes it.
                check(mostra(posto(w, "cartabriscola"), trick < 17 ? carta(s, PosBriscola) : ""),
                      at + "trump place");
            }
        }
    };

    QTimer::singleShot(0, &w, play);
    QTimer::singleShot(30000, &w, [] { QCoreApplication::exit(99); });
    // No at the end closes the window, and with it the program's event loop.
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY2(errori.isEmpty(), qPrintable(errori.mid(0, 8).join('\n')));
    QCOMPARE(endings, 2);
    QVERIFY(w.isHidden() && !w.cards().loaded());

    // The window forwarded each click once and nothing else: its boxes said
    // what the core alone says, in the same order.
    QStringList shown;
    for (const BoxVisto& box : f_->answerer.visti) {
        shown << box.title + " | " + box.text;
    }
    QCOMPARE(shown, giocaSenzaFinestra(11));
}

void WindowTest::aboutThenNewGameInTheMiddleOfATrickNoThenYes() {
    MainWindow& w = f_->w;
    const StatoGioco& s = w.briscola().stato();
    const auto& boxes = f_->answerer.visti;
    trova<QAction>(w, "Info")->trigger();
    QCOMPARE(boxes.back().title, QStringLiteral("Informazioni"));
    QCOMPARE(boxes.back().icon, QMessageBox::Information);

    untilComputerLeads();
    const Tavolo table = w.briscola().tavolo();
    const auto cards = s.StatoCarte;
    const QImage screen = w.grab().toImage();
    f_->answerer.handler = [](const BoxVisto&) { return QMessageBox::No; };
    trova<QAction>(w, "newpart")->trigger();
    QVERIFY(boxes.back() == (BoxVisto{"Sei sicuro di voler interrompere la partita in corso?",
                                      "Sicuro?", QMessageBox::Yes | QMessageBox::No,
                                      QMessageBox::Yes, QMessageBox::NoIcon, true}));
    // No: nothing changes, on screen either.
    QVERIFY(s.StatoCarte == cards && w.briscola().tavolo() == table);
    QCOMPARE(w.grab().toImage(), screen);

    // Yes: the question, the dealer, and nothing of the old game stays.
    f_->answerer.handler = nullptr;
    const std::size_t before = boxes.size();
    trova<QAction>(w, "newpart")->trigger();
    QCOMPARE(boxes.size(), before + 2);
    QCOMPARE(conta(s, PosPresaPc) + conta(s, PosPresaUser), 0);
    QCOMPARE(differenzeDalTavolo(w), QString());
}

void WindowTest::closingInTheMiddleOfATrickAsksNothing() {
    for (const bool closeBox : {true, false}) {
        init();
        MainWindow& w = f_->w;
        untilComputerLeads();
        const std::size_t boxes = f_->answerer.visti.size();
        // The close box: what the window manager sends.
        QTimer::singleShot(0, &w, [&] {
            closeBox ? void(w.windowHandle()->close()) : trova<QAction>(w, "esci")->trigger();
        });
        QTimer::singleShot(20000, &w, [] { QCoreApplication::exit(99); });
        // The program's event loop ends with the window.
        QVERIFY2(QApplication::exec() == 0, closeBox ? "close box" : "Esci");
        QVERIFY(w.isHidden() && !w.cards().loaded());
        QCOMPARE(f_->answerer.visti.size(), boxes);
    }
}

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
