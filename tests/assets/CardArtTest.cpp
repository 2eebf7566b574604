#include "CardArt.h"

#include "ImageFiles.h"
#include "Palette.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QTemporaryDir>
#include <cstdlib>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <stdexcept>

namespace {

using namespace cardart;

// Four flat fills, as the cards are mostly made of, and a strip of
// anti-aliasing-like colours, each on a single pixel.
QImage fillsAndEdges(int edgeColours) {
    QImage img(40, 20 + (edgeColours + 39) / 40, QImage::Format_RGB32);
    img.fill(qRgb(0, 0, 0));
    const QRgb fills[] = {qRgb(0, 132, 0), qRgb(251, 245, 228), qRgb(200, 32, 42),
                          qRgb(44, 76, 132)};
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            img.setPixel(x, y, fills[(x / 20) + 2 * (y / 10)]);
        }
    }
    for (int i = 0; i < edgeColours; ++i) {
        img.setPixel(i % 40, 20 + i / 40, qRgb(i % 256, (i * 7) % 256, (i * 13) % 256));
    }
    return img;
}

TEST(Quantise, keepsEveryColourOfAnImageWithFewColours) {
    const QImage img = fillsAndEdges(100); // 104 colours in all
    const IndexedImage q = quantise(img, 256);
    EXPECT_EQ(q.palette.size(), 104u);
    EXPECT_EQ(toImage(q), img);
}

TEST(Quantise, keepsFillsExactAndEdgesCloseWhenColoursMustGo) {
    const QImage img = fillsAndEdges(1200);
    const IndexedImage q = quantise(img, 32);
    ASSERT_LE(q.palette.size(), 32u);
    const QImage out = toImage(q);
    int worst = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb a = img.pixel(x, y), b = out.pixel(x, y);
            if (y < 20) {
                ASSERT_EQ(a, b) << "fill changed at " << x << "," << y;
            }
            worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                              std::abs(qBlue(a) - qBlue(b))});
        }
    }
    // 1200 scattered colours in 28 entries: far from exact, yet no pixel may
    // land on a wildly different colour.
    EXPECT_LT(worst, 110);
}

TEST(Quantise, givesTheSameBytesEveryTime) {
    const QImage img = fillsAndEdges(900);
    const IndexedImage a = quantise(img, 256), b = quantise(img, 256);
    EXPECT_EQ(a.palette, b.palette);
    EXPECT_EQ(a.pixels, b.pixels);
}

TEST(Quantise, refusesAPaletteSizeGifCannotHold) {
    const QImage img = fillsAndEdges(10);
    EXPECT_THROW(quantise(img, 1), std::invalid_argument);
    EXPECT_THROW(quantise(img, 257), std::invalid_argument);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

TEST(WriteGif, writesGif89aWithA256EntryPaletteAndTheSamePixels) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const IndexedImage q = quantise(fillsAndEdges(30), 256);
    const QString path = dir.filePath("t.gif");
    writeGif(path, q);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(6), QByteArray("GIF89a"));

    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(
        DGifOpenFileName(path.toLocal8Bit().constData(), &error));
    ASSERT_TRUE(gif);
    ASSERT_EQ(DGifSlurp(gif.get()), GIF_OK);
    ASSERT_NE(gif->SColorMap, nullptr);
    EXPECT_EQ(gif->SColorMap->ColorCount, 256);
    EXPECT_EQ(gif->ExtensionBlockCount, 0);
    ASSERT_EQ(gif->ImageCount, 1);
    EXPECT_EQ(gif->SavedImages[0].ExtensionBlockCount, 0);
    ASSERT_EQ(gif->SWidth, q.width);
    ASSERT_EQ(gif->SHeight, q.height);
    for (std::size_t i = 0; i < q.pixels.size(); ++i) {
        ASSERT_EQ(gif->SavedImages[0].RasterBits[i], q.pixels[i]) << "pixel " << i;
    }
    for (std::size_t i = 0; i < q.palette.size(); ++i) {
        const GifColorType c = gif->SColorMap->Colors[i];
        EXPECT_EQ(qRgb(c.Red, c.Green, c.Blue), q.palette[i]) << "entry " << i;
    }
}

TEST(WriteIco, holdsEachSizeWithItsSeeThroughPixels) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::vector<IconImage> images;
    for (int size : {16, 32, 48}) {
        QImage img(size, size, QImage::Format_ARGB32);
        img.fill(qRgba(0, 0, 0, 0));
        for (int y = 2; y < size - 2; ++y) {
            for (int x = 2; x < size / 2; ++x) {
                img.setPixel(x, y, x % 2 ? qRgb(255, 216, 32) : qRgb(112, 64, 0));
            }
        }
        images.push_back({img, size <= 32});
    }
    const QString path = dir.filePath("t.ico");
    writeIco(path, images);

    QImageReader reader(path);
    ASSERT_EQ(reader.imageCount(), 3);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage got = reader.read().convertToFormat(QImage::Format_ARGB32);
        const QImage& want = images[static_cast<std::size_t>(i)].image;
        ASSERT_EQ(got.size(), want.size()) << i;
        for (int y = 0; y < want.height(); ++y) {
            for (int x = 0; x < want.width(); ++x) {
                const QRgb w = want.pixel(x, y), g = got.pixel(x, y);
                ASSERT_EQ(qAlpha(g), qAlpha(w)) << want.width() << " at " << x << "," << y;
                if (qAlpha(w) == 255) {
                    ASSERT_EQ(g, w) << want.width() << " at " << x << "," << y;
                }
            }
        }
    }
}

// What the drawing hands to the palette: card-sized, the green exactly in
// the corners, and something drawn on every face.
TEST(DrawCard, everyFaceIsCardSizedWithGreenCornersAndAPicture) {
    for (Suit suit : {Ori, Spade, Coppe, Bastoni}) {
        for (int value = 1; value <= 10; ++value) {
            const QImage img = drawCard(value, suit);
            ASSERT_EQ(img.size(), QSize(CardWidth, CardHeight)) << suit << value;
            for (QPoint corner : {QPoint(0, 0), QPoint(CardWidth - 1, 0), QPoint(0, CardHeight - 1),
                                  QPoint(CardWidth - 1, CardHeight - 1)}) {
                EXPECT_EQ(img.pixel(corner), CornerGreen) << suit << value;
            }
            std::set<QRgb> inside;
            for (int y = 16; y < CardHeight - 16; ++y) {
                for (int x = 12; x < CardWidth - 12; ++x) {
                    inside.insert(img.pixel(x, y));
                }
            }
            EXPECT_GT(inside.size(), 5u) << "nothing drawn on " << suit << value;
        }
    }
    EXPECT_EQ(drawVuota().size(), QSize(74, 130));
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
