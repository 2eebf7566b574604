// Draws every card picture and the window icon of the game, and a contact
// sheet to review them. Run by hand; its output is committed.
//
//   draw_cards ASSETS_DIR DOCS_DIR

#include "CardArt.h"
#include "Carte.h"
#include "ImageFiles.h"
#include "Palette.h"
#include "Tavolo.h"

#include <QDir>
#include <QPainter>
#include <QString>
#include <array>
#include <cstdio>
#include <exception>
#include <vector>

namespace {

using namespace cardart;

// In the game's order of suits.
constexpr std::array<Suit, 4> Suits{Ori, Spade, Coppe, Bastoni};

QString cardName(int value, int suit) {
    const std::string_view name = trivanta::NomeImmagine(value, suit);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// The picture of one card, as the files hold it: the GIF for screens of
// device pixel ratio 1, after its palette, and the PNG twice the size.
struct Written {
    QImage small;
    QImage large;
};

Written writeCard(const QString& dir, const QString& name, const QImage& small,
                  const QImage& large) {
    IndexedImage indexed = quantise(small, 256);
    writeGif(dir + "/" + name + ".gif", indexed);
    writePng(dir + "/" + name + "@2x.png", large);
    return {toImage(indexed), large};
}

// Only opaque pixels or none, in at most 16 colours, as the classic 16-colour
// window icon has them: an indexed image whose entry 0 is see-through.
QImage sixteenColours(const QImage& argb) {
    QImage opaque(argb.size(), QImage::Format_RGB32);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            QRgb c = argb.pixel(x, y);
            // Edges blend onto white, the usual colour behind a title bar icon.
            int a = qAlpha(c);
            auto mix = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
            opaque.setPixel(x, y, qRgb(mix(qRed(c)), mix(qGreen(c)), mix(qBlue(c))));
        }
    }
    const IndexedImage reduced = quantise(opaque, 15);
    QImage out(argb.size(), QImage::Format_Indexed8);
    QList<QRgb> table{qRgba(0, 0, 0, 0)};
    for (QRgb c : reduced.palette) {
        table.push_back(c);
    }
    out.setColorTable(table);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const bool clear = qAlpha(argb.pixel(x, y)) < 128;
            const int index = reduced.pixels[static_cast<std::size_t>(y) * argb.width() + x] + 1;
            out.setPixel(x, y, clear ? 0u : static_cast<unsigned>(index));
        }
    }
    return out;
}

void writeIcons(const QString& assets) {
    for (int size : {16, 32, 48, 64, 128}) {
        const bool few = size <= 32;
        const QImage icon = few ? sixteenColours(drawIcon(size)) : drawIcon(size);
        const QString dir = QString("%1/icons/hicolor/%2x%2/apps").arg(assets).arg(size);
        QDir().mkpath(dir);
        writePng(dir + "/trivanta.png", icon);
    }
}

// All GIFs at 100%, then all the pictures drawn at twice the size, each
// pixel as it is.
void writeContactSheet(const QString& path, const std::vector<Written>& pictures) {
    const int gap = 8, perRow = 10;
    const int rows = (static_cast<int>(pictures.size()) + perRow - 1) / perRow;
    auto blockHeight = [&](int scale) { return rows * (CardHeight * scale + gap) + gap; };
    const int width = perRow * (CardWidth * 2 + gap) + gap;
    QImage sheet(width, blockHeight(1) + blockHeight(2), QImage::Format_RGB32);
    sheet.fill(qRgb(0, 128, 0));
    QPainter p(&sheet);
    int top = 0;
    for (int scale : {1, 2}) {
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            const int col = static_cast<int>(i) % perRow, row = static_cast<int>(i) / perRow;
            p.drawImage(QPoint(gap + col * (CardWidth * scale + gap),
                               top + gap + row * (CardHeight * scale + gap)),
                        scale == 1 ? pictures[i].small : pictures[i].large);
        }
        top += blockHeight(scale);
    }
    p.end();
    writePng(path, sheet);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        (void)std::fprintf(stderr, "usage: %s ASSETS_DIR DOCS_DIR\n", argv[0]);
        return 2;
    }
    try {
        const QString assets = QString::fromLocal8Bit(argv[1]);
        const QString docs = QString::fromLocal8Bit(argv[2]);
        const QString cards = assets + "/cards";
        QDir().mkpath(cards);
        QDir().mkpath(docs);
        std::vector<Written> pictures;
        for (int s = 0; s < 4; ++s) {
            const Suit suit = Suits[static_cast<std::size_t>(s)];
            for (int value = 1; value <= 10; ++value) {
                pictures.push_back(writeCard(cards, cardName(value, s + 1), drawCard(value, suit),
                                             drawCard(value, suit, 2)));
            }
        }
        pictures.push_back(writeCard(cards, trivanta::Vuota, drawVuota(), drawVuota(2)));
        writeIcons(assets);
        writeContactSheet(docs + "/cards.png", pictures);
        std::printf("wrote %zu pictures in two sizes, the icons and the contact sheet\n",
                    pictures.size());
    } catch (const std::exception& e) {
        (void)std::fprintf(stderr, "draw_cards: %s\n", e.what());
        return 1;
    }
    return 0;
}
