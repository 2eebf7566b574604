#include "ImageFiles.h"

#include <QImageWriter>
#include <gif_lib.h>
#include <stdexcept>
#include <string>

namespace cardart {
namespace {

[[noreturn]] void fail(const QString& what, const QString& path) {
    throw std::runtime_error((what + ": " + path).toStdString());
}

} // namespace

void writeGif(const QString& path, const IndexedImage& image) {
    if (image.palette.empty() || image.palette.size() > 256) {
        fail("palette must have 1 to 256 colours", path);
    }
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.toLocal8Bit().constData(), false, &error);
    if (gif == nullptr) {
        fail("cannot create", path);
    }
    EGifSetGifVersion(gif, true);
    ColorMapObject* map = GifMakeMapObject(256, nullptr);
    for (int i = 0; i < 256; ++i) {
        QRgb c = i < static_cast<int>(image.palette.size()) ? image.palette[i] : qRgb(0, 0, 0);
        map->Colors[i] =
            GifColorType{static_cast<GifByteType>(qRed(c)), static_cast<GifByteType>(qGreen(c)),
                         static_cast<GifByteType>(qBlue(c))};
    }
    bool ok = EGifPutScreenDesc(gif, image.width, image.height, 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(static_cast<std::size_t>(image.width));
    for (int y = 0; ok && y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            line[x] = image.pixels[static_cast<std::size_t>(y) * image.width + x];
        }
        ok = EGifPutLine(gif, line.data(), image.width) == GIF_OK;
    }
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK || !ok) {
        fail("cannot write", path);
    }
}

void writePng(const QString& path, const QImage& image) {
    QImageWriter writer(path, "png");
    writer.setCompression(100); // Qt's scale: 100 packs hardest
    if (!writer.write(image)) {
        fail("cannot write", path);
    }
}

} // namespace cardart
