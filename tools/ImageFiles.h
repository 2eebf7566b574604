#pragma once

#include "Palette.h"

#include <QImage>
#include <QString>

namespace cardart {

// Writes a GIF 89a with one global colour table of exactly 256 entries (unused
// entries black), a single frame and no extensions, so nothing is transparent.
// Throws std::runtime_error on failure.
void writeGif(const QString& path, const IndexedImage& image);

// A PNG written with fixed settings, so the bytes only depend on the pixels.
void writePng(const QString& path, const QImage& image);

} // namespace cardart
