// Whole games through the real window, with the real message boxes answered
// from a timer as a user would.

#include "Carte.h"
#include "Random.h"
#include "UiSupport.h"

#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QTest>

using namespace trivanta;
using namespace trivanta::prova;

namespace {

const QString Prende = QStringLiteral("Le carte le prende ");
const QRegularExpression
    StatusText(QStringLiteral("^Carte prese dal PC: (\\d+) Carte prese da USER: (\\d+)$"));

bool isDealerText(const QString& text) {
    return text == QStringLiteral("Sarai tu a dare carte") ||
           text == QStringLiteral("Darà carte il computer");
}

// Plays whole games with the real window, checking what it shows.
class Partita {
public:
    Partita(MainWindow& w, Risponditore& answerer, Errori& errori)
        : w_(w), answerer_(answerer), errori_(errori) {
        answerer_.setHandler([this](const BoxVisto& box) { return onBox(box); });
    }

    // Plays one game to its end and answers the final question.
    void gioca(bool anotherGame) {
        anotherGame_ = anotherGame;
        tricks_ = 0;
        pcTaken_ = 0;
        userTaken_ = 0;
        endSeen_ = false;
        for (int trick = 1; trick <= 20; ++trick) {
            playTrick(trick);
            if (w_.isHidden()) {
                break;
            }
        }
        errori_.check(endSeen_, QStringLiteral("no end-of-game box"));
    }

    int tricks() const { return tricks_; }

private:
    void playTrick(int trick) {
        const StatoGioco& s = w_.briscola().stato();
        const int inHand = conta(s, PosManoUser);
        // Vary the card: the trick number picks a place of the hand.
        const int k = trick % inHand;
        QTest::mouseClick(posto(w_, QStringLiteral("user(%1)").arg(k)), Qt::LeftButton);
        errori_.check(s.currentindex == k, QStringLiteral("click did not select user(%1)").arg(k));
        errori_.check(!controllo(w_, QStringLiteral("Shape2(%1)").arg(k))->isHidden(),
                      QStringLiteral("marker not on the clicked card"));

        QTest::mouseClick(controllo(w_, QStringLiteral("giocatautente")), Qt::LeftButton);
        tricks_ = trick;
        if (w_.isHidden()) {
            return;
        }
        if (trick < 20) {
            checkBetweenTricks(trick);
        }
    }

    void checkBetweenTricks(int trick) {
        const StatoGioco& s = w_.briscola().stato();
        const QString at = QStringLiteral("after trick %1: ").arg(trick);
        errori_.check(differenzeDalTavolo(w_).isEmpty(), at + differenzeDalTavolo(w_));

        // The status bar counts what the taker boxes announced.
        const QString bar = w_.findChild<QLabel*>(QStringLiteral("StatusBar1"))->text();
        const auto match = StatusText.match(bar);
        errori_.check(match.hasMatch(), at + QStringLiteral("status bar '%1'").arg(bar));
        errori_.check(match.captured(1).toInt() == pcTaken_ &&
                          match.captured(2).toInt() == userTaken_,
                      at + QStringLiteral("status bar '%1', boxes gave PC %2 USER %3")
                               .arg(bar)
                               .arg(pcTaken_)
                               .arg(userTaken_));

        // The computer's hand is shown covered, one place per card, from the left.
        const int pcCards = conta(s, PosManoPc);
        for (int k = 0; k < 3; ++k) {
            CardPlace* place = posto(w_, QStringLiteral("pc(%1)").arg(k));
            errori_.check(place->isHidden() == (k >= pcCards),
                          at + QStringLiteral("pc(%1) visibility").arg(k));
            if (k < pcCards) {
                errori_.check(mostra(place, Vuota), at + QStringLiteral("pc(%1) picture").arg(k));
            }
        }
        // One marker, on the first card of the hand.
        errori_.check(!controllo(w_, QStringLiteral("Shape2(0)"))->isHidden() &&
                          controllo(w_, QStringLiteral("Shape2(1)"))->isHidden() &&
                          controllo(w_, QStringLiteral("Shape2(2)"))->isHidden(),
                      at + QStringLiteral("markers"));
        // The user's cards, left to right as the game lists them.
        for (int k = 0; k < conta(s, PosManoUser); ++k) {
            const auto i = static_cast<std::size_t>(k);
            errori_.check(mostra(posto(w_, QStringLiteral("user(%1)").arg(k)),
                                 NomeImmagine(s.ManoUserValore[i], s.ManoUserSeme[i])),
                          at + QStringLiteral("user(%1) picture").arg(k));
        }
        // The trump card stays turned up until the last draw takes it.
        CardPlace* trump = posto(w_, QStringLiteral("cartabriscola"));
        if (trick < 17) {
            errori_.check(conta(s, PosBriscola) == 1 && mostra(trump, trump->immagine()) &&
                              trump->immagine().size() == 2,
                          at + QStringLiteral("trump card not shown"));
        } else {
            errori_.check(!trump->isHidden() && trump->immagine().empty() && mostra(trump, ""),
                          at + QStringLiteral("trump place not empty after the last draw"));
        }
        // The user's table place is emptied after each trick.
        errori_.check(mostra(posto(w_, QStringLiteral("terrauser")), ""),
                      at + QStringLiteral("terrauser not empty"));
    }

    QMessageBox::StandardButton onBox(const BoxVisto& box) {
        const QString what =
            QStringLiteral("box '%1' in trick %2: ").arg(box.text).arg(tricks_ + 1);
        errori_.check(differenzeDalTavolo(w_).isEmpty(), what + differenzeDalTavolo(w_));
        errori_.check(box.modalToWindow, what + QStringLiteral("not modal to the window"));
        if (box.text.startsWith(Prende)) {
            return onTaker(box, what);
        }
        if (box.title == QStringLiteral("Fine partita")) {
            return onEnd(box, what);
        }
        errori_.check(box.buttons == QMessageBox::Ok && box.icon == QMessageBox::NoIcon &&
                          box.title == QStringLiteral("Trivanta"),
                      what + QStringLiteral("buttons, icon or title"));
        if (isDealerText(box.text)) {
            errori_.check(endSeen_ && anotherGame_, what + QStringLiteral("unexpected new game"));
        } else {
            errori_.check(box.text == QStringLiteral("Grazie per aver giocato con Trivanta") &&
                              endSeen_ && !anotherGame_,
                          what + QStringLiteral("unexpected box"));
        }
        return QMessageBox::Ok;
    }

    QMessageBox::StandardButton onTaker(const BoxVisto& box, const QString& what) {
        errori_.check(box.buttons == QMessageBox::Ok && box.defaultButton == QMessageBox::Ok &&
                          box.icon == QMessageBox::NoIcon &&
                          box.title == QStringLiteral("Trivanta"),
                      what + QStringLiteral("buttons, icon or title"));
        // Both cards of the trick lie on the table while the box is open.
        const StatoGioco& s = w_.briscola().stato();
        std::string userCard;
        std::string pcCard;
        for (int v = 1; v <= NumeroValori; ++v) {
            for (int m = 1; m <= NumeroSemi; ++m) {
                if (s.StatoCarte[v][m] == PosTerraUser) {
                    userCard = std::string(NomeImmagine(v, m));
                }
                if (s.StatoCarte[v][m] == PosTerraPc) {
                    pcCard = std::string(NomeImmagine(v, m));
                }
            }
        }
        CardPlace* terrauser = posto(w_, QStringLiteral("terrauser"));
        CardPlace* terrapc = posto(w_, QStringLiteral("terrapc"));
        errori_.check(!userCard.empty() && !pcCard.empty() && terrauser->isVisible() &&
                          terrapc->isVisible() && mostra(terrauser, userCard) &&
                          mostra(terrapc, pcCard),
                      what + QStringLiteral("trick cards not both on screen"));
        if (box.text == Prende + QStringLiteral("l'utente")) {
            userTaken_ += 2;
        } else if (box.text == Prende + QStringLiteral("il PC")) {
            pcTaken_ += 2;
        } else {
            errori_.check(false, what + QStringLiteral("unknown taker"));
        }
        return QMessageBox::Ok;
    }

    QMessageBox::StandardButton onEnd(const BoxVisto& box, const QString& what) {
        endSeen_ = true;
        errori_.check(tricks_ + 1 == 20, what + QStringLiteral("end before the 20th trick"));
        errori_.check(box.buttons == (QMessageBox::Yes | QMessageBox::No) &&
                          box.defaultButton == QMessageBox::Yes && box.yesBeforeNo &&
                          box.icon == QMessageBox::NoIcon,
                      what + QStringLiteral("buttons, default, order or icon"));
        const QStringList lines = box.text.split(QLatin1Char('\n'));
        errori_.check(lines.size() == 8, what + QStringLiteral("lines"));
        if (lines.size() == 8) {
            const int pc = lines[2].mid(9).toInt();
            const int user = lines[3].mid(11).toInt();
            const QString verdict = pc > user   ? QStringLiteral("Questa partita la vince il PC")
                                    : pc < user ? QStringLiteral("Questa partita la vince l'utente")
                                                : QStringLiteral("Questa partita è patta");
            errori_.check(lines[0] == QStringLiteral("Punteggio di questa partita: ") &&
                              lines[1].isEmpty() && lines[2].startsWith("Punti PC=") &&
                              lines[3].startsWith("Punti USER=") && pc + user == 120 &&
                              lines[4].isEmpty() && lines[5] == verdict && lines[6].isEmpty() &&
                              lines[7] == QStringLiteral("Vuoi giocare un'altra partita?"),
                          what + QStringLiteral("text"));
        }
        // The last trick's cards are in a pile and the bar shows the final counts.
        const QString bar = w_.findChild<QLabel*>(QStringLiteral("StatusBar1"))->text();
        const auto match = StatusText.match(bar);
        errori_.check(match.hasMatch() && match.captured(1).toInt() == pcTaken_ &&
                          match.captured(2).toInt() == userTaken_ && pcTaken_ + userTaken_ == 40,
                      what + QStringLiteral("final status bar '%1'").arg(bar));
        return anotherGame_ ? QMessageBox::Yes : QMessageBox::No;
    }

    MainWindow& w_;
    Risponditore& answerer_;
    Errori& errori_;
    bool anotherGame_ = true;
    bool endSeen_ = false;
    int tricks_ = 0;
    int pcTaken_ = 0;
    int userTaken_ = 0;
};

// The same games played on the core alone, with the same choices of card and
// answers: what the boxes say, in order.
class Registro final : public MessageBoxes {
public:
    QStringList boxes;
    int endings = 0;

    Answer show(const Message& m) override {
        QString text = QString::fromStdString(m.text);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        boxes << QString::fromStdString(m.title.value_or(std::string(AppTitle))) + " | " + text;
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
    for (int game = 0; game < 2 && !briscola.ChiusuraRichiesta(); ++game) {
        for (int trick = 1; trick <= 20 && !briscola.ChiusuraRichiesta(); ++trick) {
            briscola.user_Click(trick % conta(briscola.stato(), PosManoUser));
            briscola.giocatautente_Click();
        }
    }
    return registro.boxes;
}

} // namespace

class GameTest : public QObject {
    Q_OBJECT

private slots:
    void wholeGamesYesThenNoEndTheProgram_data();
    void wholeGamesYesThenNoEndTheProgram();
};

void GameTest::wholeGamesYesThenNoEndTheProgram_data() {
    QTest::addColumn<quint64>("seed");
    for (quint64 seed : {1ULL, 2ULL, 3ULL}) {
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
    }
}

void GameTest::wholeGamesYesThenNoEndTheProgram() {
    QFETCH(quint64, seed);
    PcgRandom random(seed, orologioFisso);
    MainWindow w(nullptr, &random);
    Errori errori;
    Risponditore answerer(&w);
    answerer.setHandler([&](const BoxVisto& box) {
        // Before the window is first shown only the dealer is announced.
        errori.check(isDealerText(box.text) && box.title == QStringLiteral("Trivanta") &&
                         box.buttons == QMessageBox::Ok && w.isHidden(),
                     QStringLiteral("first box '%1'").arg(box.text));
        return QMessageBox::Ok;
    });
    w.Form_Load();
    QCOMPARE(answerer.visti().size(), std::size_t{1});
    QCOMPARE(differenzeDalTavolo(w), QString());
    QCOMPARE(conta(w.briscola().stato(), PosManoUser), 3);
    // The window opens on a dealt table, with the computer's lead if it has one.
    QCOMPARE(conta(w.briscola().stato(), PosTerraPc) == 1, w.briscola().stato().Turno == TurnoPc);
    if (w.briscola().stato().Turno == TurnoPc) {
        QVERIFY(posto(w, QStringLiteral("terrapc"))->immagine().size() == 2);
    }
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    Partita partita(w, answerer, errori);
    int firstGameTricks = 0;
    bool newGameDealt = false;
    QTimer::singleShot(0, [&] {
        partita.gioca(true);
        firstGameTricks = partita.tricks();
        // Yes: the same press dealt a new game.
        newGameDealt = conta(w.briscola().stato(), PosMazzo) == 33 &&
                       w.findChild<QLabel*>(QStringLiteral("StatusBar1"))->text() ==
                           QStringLiteral("Carte prese dal PC: 0 Carte prese da USER: 0");
        partita.gioca(false);
    });
    QTimer::singleShot(100000, [] { QCoreApplication::exit(99); });
    // No at the end closes the window, and with it the program's event loop.
    const int rc = QApplication::exec();
    QCOMPARE(rc, 0);
    QVERIFY2(errori.list.isEmpty(), qPrintable(errori.list.mid(0, 8).join(QLatin1Char('\n'))));
    QCOMPARE(firstGameTricks, 20);
    QVERIFY(newGameDealt);
    QCOMPARE(partita.tricks(), 20);
    QVERIFY(w.isHidden());
    QVERIFY(!w.cards().loaded());
    QCOMPARE(answerer.visti().back().text, QStringLiteral("Grazie per aver giocato con Trivanta"));

    // The window forwarded each click once and nothing else: the games went
    // exactly as on the core alone.
    QStringList shown;
    for (const BoxVisto& box : answerer.visti()) {
        shown << box.title + " | " + box.text;
    }
    QCOMPARE(shown, giocaSenzaFinestra(seed));
}

QTEST_MAIN(GameTest)
#include "GameTest.moc"
