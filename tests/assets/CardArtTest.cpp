// The drawing program's palette and GIF writer: the same picture always gives
// the same bytes, the flat colours the cards are made of stay exact, and what
// is written reads back as the picture.

#include "ImageFiles.h"
#include "Palette.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

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

TEST(Quantise, sameBytesEveryTimeFillsExactEdgesClose) {
    // 104 colours fit a palette of 256; 1204 in 32 entries must share.
    for (const auto& [edges, colours] : {std::pair{100, 256}, std::pair{1200, 32}}) {
        const QImage img = fillsAndEdges(edges);
        const IndexedImage q = quantise(img, colours), again = quantise(img, colours);
        EXPECT_TRUE(q.palette == again.palette && q.pixels == again.pixels) << edges;
        ASSERT_LE(q.palette.size(), static_cast<std::size_t>(colours));
        const QImage out = toImage(q);
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                const QRgb a = img.pixel(x, y), b = out.pixel(x, y);
                ASSERT_TRUE((y >= 20 && colours < 256) || a == b) << edges << ": " << x << "," << y;
                ASSERT_LT(std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b))}),
                          110)
                    << edges << ": " << x << "," << y;
            }
        }
    }
}

TEST(WriteGif, writesAnOpaqueGif89aWithA256ColourPaletteThatReadsBack) {
    QTemporaryDir dir;
    const IndexedImage q = quantise(fillsAndEdges(30), 256);
    const QString path = dir.filePath("t.gif");
    writeGif(path, q);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(11);
    EXPECT_TRUE(head.startsWith("GIF89a"));
    EXPECT_EQ(head[10] & 0x87, 0x87) << "no global palette of 256 colours";
    const QImage back(path);
    EXPECT_FALSE(back.hasAlphaChannel());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), toImage(q));
}

} // namespace
