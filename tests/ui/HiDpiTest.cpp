// The window on a screen of device pixel ratio 2 (run with QT_SCALE_FACTOR=2).

#include "CardPictures.h"
#include "Random.h"
#include "UiSupport.h"

#include <QTest>

using namespace trivanta;
using namespace trivanta::prova;

class HiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void layoutScalesAndCardsStaySharp();
};

void HiDpiTest::layoutScalesAndCardsStaySharp() {
    PcgRandom random(5, orologioFisso);
    MainWindow w(nullptr, &random);
    Risponditore answerer(&w);
    w.Form_Load();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.devicePixelRatio(), 2.0);

    // The same layout in logical pixels, twice as many on the device.
    QWidget* client = w.centralWidget();
    QCOMPARE(client->size(), QSize(794, 512));
    QCOMPARE(controllo(w, QStringLiteral("user(0)"))->geometry(), QRect(509, 317, 78, 134));
    const QImage shot = client->grab().toImage();
    QCOMPARE(shot.size(), QSize(1588, 1024));
    // Frame1 spans 377 x 177 logical pixels: its corners on the device.
    QCOMPARE(QColor(shot.pixel(2 * 24, 2 * 136)), QColor(0, 128, 0));
    QCOMPARE(QColor(shot.pixel(2 * (24 + 377) - 1, 2 * (136 + 177) - 1)), QColor(0, 128, 0));
    QVERIFY(QColor(shot.pixel(2 * (24 + 377), 2 * (136 + 177))) != QColor(0, 128, 0));

    // Every card picture is enlarged pixel by pixel: no blended colours.
    for (const char* name : {"user(0)", "user(1)", "user(2)", "pc(0)", "cartabriscola"}) {
        CardPlace* place = posto(w, QString::fromLatin1(name));
        QVERIFY2(!place->immagine().empty(), name);
        QVERIFY2(mostra(place, place->immagine()), name);
    }
    // The check itself tells a smoothed picture from a sharp one.
    CardPlace* card = posto(w, QStringLiteral("user(0)"));
    const QPixmap original = cardPicture(card->immagine());
    QPixmap smooth =
        original.scaled(original.size() * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    smooth.setDevicePixelRatio(2);
    const QImage sharp = card->grab().toImage();
    card->setPicture("smooth", smooth);
    QVERIFY(card->grab().toImage() != sharp);
}

QTEST_MAIN(HiDpiTest)
#include "HiDpiTest.moc"
