#pragma once

#include <QImage>
#include <QRgb>
#include <vector>

namespace cardart {

// An image reduced to at most `maxColours` colours: one palette index per
// pixel, row by row.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<QRgb> palette;
    std::vector<unsigned char> pixels;
};

// Reduces an opaque image to a palette. Colours that cover many pixels (the
// flat fills the artwork is drawn with) are kept exactly; the rest, mostly
// anti-aliased edges, share what is left by median cut. No dithering, and
// every tie is broken by a fixed order, so the same image always gives the
// same bytes.
IndexedImage quantise(const QImage& image, int maxColours);

// The indexed image as a picture again, for the contact sheet and checks.
QImage toImage(const IndexedImage& indexed);

} // namespace cardart
