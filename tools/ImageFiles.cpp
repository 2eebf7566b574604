#include "ImageFiles.h"

#include <QFile>
#include <QImageWriter>
#include <cstdint>
#include <gif_lib.h>
#include <stdexcept>
#include <string>

namespace cardart {
namespace {

[[noreturn]] void fail(const QString& what, const QString& path) {
    throw std::runtime_error((what + ": " + path).toStdString());
}

void putLe16(QByteArray& out, unsigned v) {
    out.append(static_cast<char>(v & 0xff));
    out.append(static_cast<char>((v >> 8) & 0xff));
}

void putLe32(QByteArray& out, std::uint32_t v) {
    putLe16(out, v & 0xffff);
    putLe16(out, v >> 16);
}

// The AND mask: one bit per pixel, set where the icon is see-through, rows
// bottom-up and padded to four bytes.
void putMask(QByteArray& out, const QImage& img) {
    const int stride = ((img.width() + 31) / 32) * 4;
    for (int y = img.height() - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < img.width(); ++x) {
            if (qAlpha(img.pixel(x, y)) < 128) {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.append(row);
    }
}

void putBitmapHeader(QByteArray& out, const QImage& img, int bits, int coloursUsed) {
    putLe32(out, 40);
    putLe32(out, static_cast<std::uint32_t>(img.width()));
    putLe32(out, static_cast<std::uint32_t>(img.height() * 2)); // colour rows plus mask rows
    putLe16(out, 1);
    putLe16(out, static_cast<unsigned>(bits));
    putLe32(out, 0); // no compression
    putLe32(out, 0);
    putLe32(out, 0);
    putLe32(out, 0);
    putLe32(out, static_cast<std::uint32_t>(coloursUsed));
    putLe32(out, 0);
}

QByteArray bitmap16(const QImage& img) {
    // See-through pixels are hidden by the mask; make them black so that
    // whatever lies under them takes no palette entry.
    QImage opaque = img.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (qAlpha(img.pixel(x, y)) < 128) {
                opaque.setPixel(x, y, qRgb(0, 0, 0));
            }
        }
    }
    IndexedImage idx = quantise(opaque, 16);
    QByteArray out;
    putBitmapHeader(out, img, 4, 16);
    for (int i = 0; i < 16; ++i) {
        QRgb c = i < static_cast<int>(idx.palette.size()) ? idx.palette[i] : qRgb(0, 0, 0);
        out.append(static_cast<char>(qBlue(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qRed(c)));
        out.append('\0');
    }
    const int stride = ((img.width() * 4 + 31) / 32) * 4;
    for (int y = img.height() - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < img.width(); ++x) {
            int v = idx.pixels[static_cast<std::size_t>(y) * img.width() + x];
            row[x / 2] = static_cast<char>(row[x / 2] | (x % 2 == 0 ? v << 4 : v));
        }
        out.append(row);
    }
    putMask(out, img);
    return out;
}

QByteArray bitmap32(const QImage& source) {
    QImage img = source.convertToFormat(QImage::Format_ARGB32);
    QByteArray out;
    putBitmapHeader(out, img, 32, 0);
    for (int y = img.height() - 1; y >= 0; --y) {
        for (int x = 0; x < img.width(); ++x) {
            QRgb c = img.pixel(x, y);
            out.append(static_cast<char>(qBlue(c)));
            out.append(static_cast<char>(qGreen(c)));
            out.append(static_cast<char>(qRed(c)));
            out.append(static_cast<char>(qAlpha(c)));
        }
    }
    putMask(out, img);
    return out;
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

void writeIco(const QString& path, const std::vector<IconImage>& images) {
    std::vector<QByteArray> bodies;
    bodies.reserve(images.size());
    for (const IconImage& i : images) {
        bodies.push_back(i.sixteenColours ? bitmap16(i.image) : bitmap32(i.image));
    }
    QByteArray out;
    putLe16(out, 0);
    putLe16(out, 1); // an icon, not a cursor
    putLe16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t n = 0; n < images.size(); ++n) {
        const QImage& img = images[n].image;
        out.append(static_cast<char>(img.width() >= 256 ? 0 : img.width()));
        out.append(static_cast<char>(img.height() >= 256 ? 0 : img.height()));
        out.append(static_cast<char>(images[n].sixteenColours ? 16 : 0));
        out.append('\0');
        putLe16(out, 1);
        putLe16(out, images[n].sixteenColours ? 4 : 32);
        putLe32(out, static_cast<std::uint32_t>(bodies[n].size()));
        putLe32(out, offset);
        offset += static_cast<std::uint32_t>(bodies[n].size());
    }
    for (const QByteArray& b : bodies) {
        out.append(b);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size()) {
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
