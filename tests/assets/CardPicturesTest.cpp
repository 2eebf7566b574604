// The committed card pictures as the window relies on them, and the loader
// that serves them from the resource.
#include "CardPictures.h"

#include "Carte.h"
#include "Tavolo.h"

#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>
#include <map>
#include <numeric>

using namespace trivanta;

namespace {

// Each of the 41 pictures twice: a GIF of the size of a card place and a PNG
// of twice the size that shows this card and no other. The loader serves both as committed, the
// large one so that it covers the GIF's place, and nothing for a name of no
// card.
TEST(CardPictures, eachIsCommittedInTwoSizesAndServedAsCommitted) {
    const auto rgb = [](const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); };
    const auto file = [](const std::string& name, const char* suffix) {
        return QStringLiteral(ASSETS_DIR "/cards/%1%2").arg(QString::fromStdString(name), suffix);
    };
    std::map<std::string, QImage> gifs;
    for (int c = 0; c <= 40; ++c) {
        const std::string name(c == 40 ? Vuota : NomeImmagine(c / 4 + 1, c % 4 + 1));
        gifs[name] = rgb(QImage(file(name, ".gif")));
    }
    for (const auto& [name, gif] : gifs) {
        SCOPED_TRACE(name);
        const QImage large(file(name, "@2x.png"));
        ASSERT_TRUE(gif.size() == QSize(74, 130) && large.size() == QSize(148, 260));
        // Seen from twice as far, it is near its own GIF, and nearest to it:
        // by the mean difference of their bytes, 0 to 255.
        const QImage far =
            rgb(large.scaled(gif.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        std::map<double, std::string> vicine;
        for (const auto& [other, image] : gifs) {
            const uchar* p = far.constBits();
            const auto d = [](int x, int y) { return qAbs(x - y); };
            vicine.emplace(std::inner_product(p, p + far.sizeInBytes(), image.constBits(), 0.0,
                                              std::plus<>(), d) /
                               double(far.sizeInBytes()),
                           other);
        }
        EXPECT_TRUE(vicine.begin()->second == name && vicine.begin()->first < 6)
            << vicine.begin()->second << " at " << vicine.begin()->first;

        EXPECT_TRUE(rgb(cardPicture(name).toImage()) == gif) << "not served as committed";
        const QPixmap served = largeCardPicture(name);
        EXPECT_TRUE(served.devicePixelRatio() == 2 && rgb(served.toImage()) == rgb(large));
    }
    for (std::string_view name : {"", "o", "O1", "x1", "o10", "vuota ", "VUOTA", "../cards/o1"}) {
        EXPECT_TRUE(cardPicture(name).isNull() && largeCardPicture(name).isNull()) << name;
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
