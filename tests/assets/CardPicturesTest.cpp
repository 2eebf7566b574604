// The committed card pictures as the window relies on them, and the loader
// that serves them from the resource.
#include "CardPictures.h"

#include "Carte.h"
#include "Tavolo.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <string>

using namespace trivanta;

namespace {

QImage rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

QString file(const std::string& name, const char* suffix) {
    return QStringLiteral(ASSETS_DIR "/cards/%1%2").arg(QString::fromStdString(name), suffix);
}

// How far apart two RGB32 pictures of one size are: the mean difference of
// their bytes, 0 to 255 (the unused fourth byte of each pixel agrees).
double Distanza(const QImage& a, const QImage& b) {
    const uchar* p = a.constBits();
    return std::inner_product(p, p + a.sizeInBytes(), b.constBits(), 0.0, std::plus<>(),
                              [](int x, int y) { return std::abs(x - y); }) /
           static_cast<double>(a.sizeInBytes());
}

// Each of the 41 pictures twice: a GIF 89a of one opaque frame on a global
// palette, of the size of a card place, with the table's green in the
// rounded-off corners; and an opaque PNG of twice the size, drawn anew for
// that density (not the GIF enlarged) and showing this card and no other.
// The loader serves both as committed, the large one so that it covers the
// GIF's place, and nothing for a name of no card.
TEST(CardPictures, eachIsCommittedInTwoSizesAndServedAsCommitted) {
    std::map<std::string, QImage> gifs;
    for (int c = 0; c <= 40; ++c) {
        const std::string name(c == 40 ? Vuota : NomeImmagine(c / 4 + 1, c % 4 + 1));
        gifs[name] = rgb(QImage(file(name, ".gif")));
    }
    for (const auto& [name, gif] : gifs) {
        SCOPED_TRACE(name);
        // The header: GIF 89a with a global palette of 256 colours.
        QFile raw(file(name, ".gif"));
        const QByteArray head = raw.open(QIODevice::ReadOnly) ? raw.read(11) : QByteArray();
        EXPECT_TRUE(head.size() == 11 && head.startsWith("GIF89a") && (head[10] & 0x87) == 0x87);
        const QImage large(file(name, "@2x.png"));
        ASSERT_TRUE(gif.size() == QSize(74, 130) && large.size() == QSize(148, 260));
        EXPECT_FALSE(QImage(raw.fileName()).hasAlphaChannel() || large.hasAlphaChannel());
        for (const QPoint p : {QPoint(0, 0), QPoint(73, 0), QPoint(0, 129), QPoint(73, 129)}) {
            const QPoint q = p * 2 + QPoint(p.x() > 0, p.y() > 0); // the same corner, large
            EXPECT_TRUE(gif.pixel(p) == qRgb(0, 132, 0) && large.pixel(q) == qRgb(0, 132, 0));
        }
        EXPECT_FALSE(rgb(large) == gif.scaled(large.size())) << "the GIF enlarged";
        // Seen from twice as far, it is near its own GIF, and nearest to it.
        const QImage far =
            rgb(large.scaled(gif.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        std::map<double, std::string> vicine;
        for (const auto& [other, image] : gifs) {
            vicine.emplace(Distanza(far, image), other);
        }
        EXPECT_TRUE(vicine.begin()->second == name && vicine.begin()->first < 6)
            << vicine.begin()->second << " at " << vicine.begin()->first;

        EXPECT_TRUE(rgb(cardPicture(name).toImage()) == gif) << "not served as committed";
        const QPixmap served = largeCardPicture(name);
        EXPECT_TRUE(served.devicePixelRatio() == 2 && rgb(served.toImage()) == rgb(large));
    }
    for (std::string_view name : {"", "o", "O1", "x1", "o10", "vuota ", "VUOTA", "../cards/o1"}) {
        EXPECT_TRUE(cardPicture(name).isNull() && largeCardPicture(name).isNull())
            << '"' << name << '"';
    }
}

} // namespace

int main(int argc, char** argv) {
    // Also when the tests are listed at build time, outside the test environment.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
