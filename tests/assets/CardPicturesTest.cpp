#include "CardPictures.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QSet>
#include <array>
#include <cstdio>
#include <fstream>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> allNames() {
    std::vector<std::string> names;
    for (char suit : std::string("oscb")) {
        for (char value : std::string("1234567890")) {
            names.push_back({suit, value});
        }
    }
    names.push_back("vuota");
    return names;
}

std::string gifPath(const std::string& name) {
    return std::string(ASSETS_DIR) + "/cards/" + name + ".gif";
}

std::vector<unsigned char> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using Gif = std::unique_ptr<GifFileType, GifCloser>;

Gif slurp(const std::string& path) {
    int error = 0;
    Gif gif(DGifOpenFileName(path.c_str(), &error));
    if (gif && DGifSlurp(gif.get()) != GIF_OK) {
        gif.reset();
    }
    return gif;
}

bool hasTransparency(const ExtensionBlock* blocks, int count) {
    for (int i = 0; i < count; ++i) {
        if (blocks[i].Function != GRAPHICS_EXT_FUNC_CODE) {
            continue;
        }
        GraphicsControlBlock gcb{};
        if (DGifExtensionToGCB(static_cast<size_t>(blocks[i].ByteCount), blocks[i].Bytes, &gcb) !=
                GIF_OK ||
            gcb.TransparentColor != NO_TRANSPARENT_COLOR) {
            return true;
        }
    }
    return false;
}

class PictureFile : public testing::TestWithParam<std::string> {};

// What the window relies on: GIF 89a with one global palette, opaque, of the
// size of a card place, and the table's green in the rounded-off corners.
TEST_P(PictureFile, isAnOpaqueCardSizedGif89aWithGreenCorners) {
    const std::string name = GetParam();
    const std::vector<unsigned char> bytes = readBytes(gifPath(name));
    ASSERT_GE(bytes.size(), 13u) << name;
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "GIF89a") << name;
    const unsigned char packed = bytes[10];
    ASSERT_TRUE(packed & 0x80) << name << ": no global colour table";
    EXPECT_LE(1 << ((packed & 0x07) + 1), 256) << name;

    Gif gif = slurp(gifPath(name));
    ASSERT_TRUE(gif) << name << " does not decode";
    ASSERT_EQ(gif->ImageCount, 1) << name;
    ASSERT_NE(gif->SColorMap, nullptr) << name;
    const SavedImage& frame = gif->SavedImages[0];
    EXPECT_EQ(frame.ImageDesc.ColorMap, nullptr) << name << ": a local palette";
    EXPECT_FALSE(hasTransparency(gif->ExtensionBlocks, gif->ExtensionBlockCount)) << name;
    EXPECT_FALSE(hasTransparency(frame.ExtensionBlocks, frame.ExtensionBlockCount)) << name;

    const int w = gif->SWidth, h = gif->SHeight;
    if (name == "vuota") {
        EXPECT_EQ(w, 74) << name;
        EXPECT_EQ(h, 130) << name;
    } else {
        EXPECT_TRUE(w >= 73 && w <= 75) << name << " is " << w << " wide";
        EXPECT_TRUE(h == 130 || h == 131) << name << " is " << h << " tall";
    }
    ASSERT_EQ(frame.ImageDesc.Left, 0);
    ASSERT_EQ(frame.ImageDesc.Top, 0);
    ASSERT_EQ(frame.ImageDesc.Width, w) << name << ": the frame does not cover the picture";
    ASSERT_EQ(frame.ImageDesc.Height, h) << name;
    for (auto [x, y] :
         std::array<std::pair<int, int>, 4>{{{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}}) {
        const int index = frame.RasterBits[y * w + x];
        ASSERT_LT(index, gif->SColorMap->ColorCount);
        const GifColorType c = gif->SColorMap->Colors[index];
        EXPECT_TRUE(c.Red == 0 && c.Green == 132 && c.Blue == 0)
            << name << " corner (" << x << ", " << y << ") is " << int(c.Red) << "," << int(c.Green)
            << "," << int(c.Blue);
    }
}

// The loader answers every name of the store with the very picture of the file.
TEST_P(PictureFile, loaderServesTheFilesPicture) {
    const std::string name = GetParam();
    const QPixmap picture = trivanta::cardPicture(name);
    ASSERT_FALSE(picture.isNull()) << name;
    const QImage file(QString::fromStdString(gifPath(name)));
    ASSERT_FALSE(file.isNull()) << name;
    EXPECT_EQ(picture.toImage().convertToFormat(QImage::Format_RGB32),
              file.convertToFormat(QImage::Format_RGB32))
        << name;
    // Loaded once: the second answer is the same pixmap, not a new load.
    EXPECT_EQ(trivanta::cardPicture(name).cacheKey(), picture.cacheKey()) << name;
}

INSTANTIATE_TEST_SUITE_P(AllPictures, PictureFile, testing::ValuesIn(allNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

TEST(CardPictures, noTwoPicturesAreAlike) {
    const std::vector<std::string> names = allNames();
    std::vector<QImage> images;
    for (const std::string& name : names) {
        images.push_back(trivanta::cardPicture(name).toImage());
    }
    for (std::size_t i = 0; i < images.size(); ++i) {
        for (std::size_t j = i + 1; j < images.size(); ++j) {
            EXPECT_NE(images[i], images[j]) << names[i] << " and " << names[j];
        }
    }
}

TEST(CardPictures, namesOutsideTheStoreGiveNothing) {
    const std::array<std::string_view, 14> wrong{
        "",    "o",    "O1",    "1o",     "x1",          "oa", "o10",
        "o1 ", "vuot", "VUOTA", "vuota ", "../cards/o1", "c/", std::string_view("o\0", 2)};
    for (std::string_view name : wrong) {
        EXPECT_TRUE(trivanta::cardPicture(name).isNull()) << '"' << std::string(name) << '"';
    }
}

int colourCount(const QImage& image) {
    QSet<QRgb> colours;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            colours.insert(argb.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

bool onlyOpaqueOrClear(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const int a = qAlpha(argb.pixel(x, y));
            if (a != 0 && a != 255) {
                return false;
            }
        }
    }
    return true;
}

TEST(WindowIcon, hasEverySizeAndSixteenColoursWhereSmall) {
    const QIcon icon = trivanta::windowIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 48, 64, 128}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        const QImage image = icon.pixmap(QSize(size, size)).toImage();
        EXPECT_EQ(image.size(), QSize(size, size)) << size;
        // A face in the middle, see-through in the corners.
        EXPECT_GT(qAlpha(image.pixel(size / 2, size / 2)), 0) << size;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;
    }
    for (int size : {16, 32}) {
        const QImage image(QStringLiteral(":/icons/hicolor/%1x%1/apps/trivanta.png").arg(size));
        EXPECT_LE(colourCount(image), 16) << size;
        EXPECT_TRUE(onlyOpaqueOrClear(image)) << size;
        const QRgb middle = image.pixel(size / 2, size / 4);
        EXPECT_TRUE(qRed(middle) > 200 && qGreen(middle) > 160 && qBlue(middle) < 100)
            << size << ": not a yellow face";
    }
}

TEST(WindowIcon, windowsIconHoldsTheSmallSizes) {
    QImageReader reader(QStringLiteral(":/icons/trivanta.ico"));
    ASSERT_TRUE(reader.canRead()) << reader.errorString().toStdString();
    ASSERT_EQ(reader.imageCount(), 3);
    std::vector<int> sizes;
    for (int i = 0; i < reader.imageCount(); ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << i;
        sizes.push_back(image.width());
        EXPECT_EQ(image.width(), image.height());
        if (image.width() <= 32) {
            EXPECT_LE(colourCount(image), 16) << image.width();
        }
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << image.width();
        EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255) << image.width();
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48}));
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
