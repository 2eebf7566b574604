#pragma once

#include "Palette.h"

#include <QImage>
#include <QString>
#include <vector>

namespace cardart {

// Writes a GIF 89a with one global colour table of exactly 256 entries (unused
// entries black), a single frame and no extensions, so nothing is transparent.
// Throws std::runtime_error on failure.
void writeGif(const QString& path, const IndexedImage& image);

// A Windows icon: 16-colour sizes as 4-bit bitmaps whose transparent pixels
// come from the mask, larger sizes as 32-bit bitmaps with alpha.
struct IconImage {
    QImage image;        // ARGB32; alpha is 0 or 255 for the 16-colour sizes
    bool sixteenColours; // store as 4 bits per pixel
};
void writeIco(const QString& path, const std::vector<IconImage>& images);

// A PNG written with fixed settings, so the bytes only depend on the pixels.
void writePng(const QString& path, const QImage& image);

} // namespace cardart
