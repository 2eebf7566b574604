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

INSTANTIATE_TEST_SUITE_P(AllPictures, PictureFile, testing::ValuesIn(allNames()),
                         [](const auto& info) { return info.param; });

TEST(CardPictures, theProgramHoldsThe41PicturesAllDifferentAndNothingForANameOfNoCard) {
    QStringList built = QDir(QStringLiteral(":/cards")).entryList();
    QStringList expected;
    for (const std::string& name : allNames()) {
        expected << QString::fromStdString(name + ".gif");
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
