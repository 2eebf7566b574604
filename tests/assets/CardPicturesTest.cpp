// The committed card pictures as the window relies on them, the loader that
// serves them from the resource, and the window icon.

#include "CardPictures.h"

#include "Carte.h"
#include "Tavolo.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSet>
#include <cstdlib>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

// The store's names as the game gives them.
std::vector<std::string> allNames() {
    std::vector<std::string> names{trivanta::Vuota};
    for (int v = 1; v <= 10; ++v) {
        for (int s = 1; s <= 4; ++s) {
            names.emplace_back(trivanta::NomeImmagine(v, s));
        }
    }
    return names;
}

QString gifPath(const std::string& name) {
    return QStringLiteral(ASSETS_DIR "/cards/%1.gif").arg(QString::fromStdString(name));
}

QString largePath(const std::string& name) {
    return QStringLiteral(ASSETS_DIR "/cards/%1@2x.png").arg(QString::fromStdString(name));
}

QImage rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

// How far the large picture, seen from twice as far (each 2 x 2 block
// averaged), is from the GIF: the mean difference per channel, 0 to 255.
double Distanza(const QImage& large, const QImage& gif) {
    double total = 0;
    for (int y = 0; y < gif.height(); ++y) {
        for (int x = 0; x < gif.width(); ++x) {
            const QRgb c[] = {large.pixel(2 * x, 2 * y), large.pixel(2 * x + 1, 2 * y),
                              large.pixel(2 * x, 2 * y + 1), large.pixel(2 * x + 1, 2 * y + 1)};
            for (const int shift : {16, 8, 0}) { // red, green, blue
                const auto v = [shift](QRgb rgb) {
                    return static_cast<int>((rgb >> shift) & 0xff);
                };
                total += std::abs((v(c[0]) + v(c[1]) + v(c[2]) + v(c[3])) / 4 - v(gif.pixel(x, y)));
            }
        }
    }
    return total / (3.0 * gif.width() * gif.height());
}

class PictureFile : public testing::TestWithParam<std::string> {};

// GIF 89a with one global palette, opaque, of the size of a card place, the
// table's green in the rounded-off corners; the loader serves that picture.
TEST_P(PictureFile, isAnOpaqueCardSizedGifThatTheLoaderServes) {
    const std::string name = GetParam();
    QFile file(gifPath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(6), QByteArray("GIF89a"));

    int error = 0;
    std::unique_ptr<GifFileType, void (*)(GifFileType*)> gif(
        DGifOpenFileName(gifPath(name).toLocal8Bit().constData(), &error),
        [](GifFileType* g) { DGifCloseFile(g, nullptr); });
    ASSERT_TRUE(gif && DGifSlurp(gif.get()) == GIF_OK && gif->ImageCount == 1);
    const SavedImage& frame = gif->SavedImages[0];
    ASSERT_NE(gif->SColorMap, nullptr) << "no global palette";
    EXPECT_EQ(frame.ImageDesc.ColorMap, nullptr) << "a palette of its own";
    GraphicsControlBlock gcb{};
    DGifSavedExtensionToGCB(gif.get(), 0, &gcb);
    EXPECT_EQ(gcb.TransparentColor, NO_TRANSPARENT_COLOR);

    const int w = gif->SWidth, h = gif->SHeight;
    EXPECT_TRUE(name == "vuota" ? w == 74 && h == 130 : w >= 73 && w <= 75 && h >= 130 && h <= 131)
        << w << " x " << h;
    ASSERT_TRUE(frame.ImageDesc.Left == 0 && frame.ImageDesc.Top == 0 &&
                frame.ImageDesc.Width == w && frame.ImageDesc.Height == h);
    for (const auto& [x, y] : std::initializer_list<std::pair<int, int>>{
             {0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) {
        const int index = frame.RasterBits[y * w + x];
        ASSERT_LT(index, gif->SColorMap->ColorCount);
        const GifColorType c = gif->SColorMap->Colors[index];
        EXPECT_TRUE(c.Red == 0 && c.Green == 132 && c.Blue == 0) << "corner " << x << "," << y;
    }

    const QPixmap picture = trivanta::cardPicture(name);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.toImage().convertToFormat(QImage::Format_RGB32),
              QImage(gifPath(name)).convertToFormat(QImage::Format_RGB32));
}

// The picture for screens of twice the density: an opaque PNG of exactly twice
// the size that shows this card and no other, drawn anew rather than the GIF
// enlarged; the loader serves it so that it covers the GIF's place.
TEST_P(PictureFile, hasALargeTwinOfTheSameCardDrawnForTwiceTheDensity) {
    const std::string name = GetParam();
    QFile file(largePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(8), QByteArray("\x89PNG\r\n\x1a\n"));
    const QImage large(largePath(name)), small = rgb(QImage(gifPath(name)));
    ASSERT_EQ(large.size(), QSize(148, 260));
    EXPECT_FALSE(large.hasAlphaChannel());
    for (const QPoint corner : {QPoint(0, 0), QPoint(147, 0), QPoint(0, 259), QPoint(147, 259)}) {
        EXPECT_EQ(large.pixel(corner), qRgb(0, 132, 0)) << corner.x() << "," << corner.y();
    }
    EXPECT_NE(rgb(large), small.scaled(large.size())) << "the GIF enlarged";

    std::string closest;
    double best = 256;
    for (const std::string& other : allNames()) {
        const double d = Distanza(rgb(large), rgb(QImage(gifPath(other))));
        if (d < best) {
            best = d;
            closest = other;
        }
    }
    EXPECT_EQ(closest, name);
    EXPECT_LT(best, 8.0);

    const QPixmap served = trivanta::largeCardPicture(name);
    EXPECT_EQ(served.devicePixelRatio(), 2.0);
    EXPECT_EQ(served.deviceIndependentSize(), QSizeF(small.size()));
    EXPECT_EQ(rgb(served.toImage()), rgb(large));
}

INSTANTIATE_TEST_SUITE_P(AllPictures, PictureFile, testing::ValuesIn(allNames()),
                         [](const auto& info) { return info.param; });

TEST(CardPictures, theProgramHoldsThe41PicturesInTwoSizesAllDifferentAndNothingForANameOfNoCard) {
    QStringList built = QDir(QStringLiteral(":/cards")).entryList();
    QStringList expected;
    for (const std::string& name : allNames()) {
        expected << QString::fromStdString(name + ".gif")
                 << QString::fromStdString(name + "@2x.png");
    }
    built.sort();
    expected.sort();
    EXPECT_EQ(built, expected);
    QSet<QByteArray> files;
    for (const std::string& name : allNames()) {
        QFile file(gifPath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        files.insert(file.readAll());
    }
    EXPECT_EQ(files.size(), 41);
    for (std::string_view name : {"", "o", "O1", "x1", "o10", "vuota ", "VUOTA", "../cards/o1"}) {
        EXPECT_TRUE(trivanta::cardPicture(name).isNull()) << '"' << name << '"';
        EXPECT_TRUE(trivanta::largeCardPicture(name).isNull()) << '"' << name << '"';
    }
}

// A yellow face, see-through around it, in every size; 16 colours where small.
TEST(WindowIcon, everySizeAndSixteenColoursWhereSmall) {
    const QIcon icon = trivanta::windowIcon();
    for (int size : {16, 32, 48, 64, 128}) {
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        ASSERT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
        const QRgb face = image.pixel(size / 2, size / 4);
        EXPECT_TRUE(qRed(face) > 200 && qGreen(face) > 160 && qBlue(face) < 100) << size;
        QSet<QRgb> colours;
        for (int i = 0; i < size * size; ++i) {
            colours.insert(image.pixel(i % size, i / size));
        }
        EXPECT_TRUE(size > 32 || colours.size() <= 16) << size;
    }
}

} // namespace

int main(int argc, char** argv) {
    // Listing the tests at build time happens without the test environment.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
