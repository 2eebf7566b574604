#include "Palette.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <stdexcept>

namespace cardart {
namespace {

struct Entry {
    QRgb colour;
    std::int64_t count;
};

int channel(QRgb c, int which) {
    switch (which) {
    case 0:
        return qRed(c);
    case 1:
        return qGreen(c);
    default:
        return qBlue(c);
    }
}

// A colour that covers at least this many pixels is a fill, not an edge.
constexpr std::int64_t FillThreshold = 10;

struct Box {
    std::vector<Entry> entries;

    int range(int which) const {
        int lo = 255, hi = 0;
        for (const Entry& e : entries) {
            lo = std::min(lo, channel(e.colour, which));
            hi = std::max(hi, channel(e.colour, which));
        }
        return hi - lo;
    }
    int widestChannel() const {
        int best = 0;
        for (int c = 1; c < 3; ++c) {
            if (range(c) > range(best)) {
                best = c;
            }
        }
        return best;
    }
    QRgb mean() const {
        std::array<std::int64_t, 3> sum{};
        std::int64_t n = 0;
        for (const Entry& e : entries) {
            for (int c = 0; c < 3; ++c) {
                sum[c] += channel(e.colour, c) * e.count;
            }
            n += e.count;
        }
        auto avg = [&](int c) { return static_cast<int>((sum[c] + n / 2) / n); };
        return qRgb(avg(0), avg(1), avg(2));
    }
};

std::vector<QRgb> medianCut(std::vector<Entry> entries, int boxes) {
    std::vector<QRgb> out;
    if (entries.empty() || boxes <= 0) {
        return out;
    }
    std::vector<Box> list{Box{std::move(entries)}};
    while (static_cast<int>(list.size()) < boxes) {
        // Split the box with the widest spread of colours; the first wins a tie.
        int pick = -1, pickRange = 0;
        for (int i = 0; i < static_cast<int>(list.size()); ++i) {
            const Box& b = list[i];
            if (b.entries.size() < 2) {
                continue;
            }
            int r = b.range(b.widestChannel());
            if (r > pickRange) {
                pick = i;
                pickRange = r;
            }
        }
        if (pick < 0) {
            break;
        }
        Box& box = list[pick];
        int ch = box.widestChannel();
        std::stable_sort(box.entries.begin(), box.entries.end(),
                         [ch](const Entry& a, const Entry& b) {
                             if (channel(a.colour, ch) != channel(b.colour, ch)) {
                                 return channel(a.colour, ch) < channel(b.colour, ch);
                             }
                             return a.colour < b.colour;
                         });
        std::int64_t total = 0;
        for (const Entry& e : box.entries) {
            total += e.count;
        }
        std::int64_t acc = 0;
        std::size_t cut = 1;
        for (std::size_t i = 0; i + 1 < box.entries.size(); ++i) {
            acc += box.entries[i].count;
            cut = i + 1;
            if (acc * 2 >= total) {
                break;
            }
        }
        Box upper{std::vector<Entry>(box.entries.begin() + static_cast<std::ptrdiff_t>(cut),
                                     box.entries.end())};
        box.entries.resize(cut);
        list.push_back(std::move(upper));
    }
    for (const Box& b : list) {
        out.push_back(b.mean());
    }
    return out;
}

// Squared distance weighted roughly by how much the eye cares per channel.
int distance(QRgb a, QRgb b) {
    int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

} // namespace

IndexedImage quantise(const QImage& source, int maxColours) {
    if (maxColours < 2 || maxColours > 256) {
        throw std::invalid_argument("palette size out of range");
    }
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, std::int64_t> histogram;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            ++histogram[line[x] | 0xff000000u];
        }
    }

    std::vector<Entry> all;
    all.reserve(histogram.size());
    for (const auto& [colour, count] : histogram) {
        all.push_back({colour, count});
    }
    // Most used first; equal counts in colour order.
    std::stable_sort(all.begin(), all.end(),
                     [](const Entry& a, const Entry& b) { return a.count > b.count; });

    std::vector<QRgb> palette;
    if (static_cast<int>(all.size()) <= maxColours) {
        for (const Entry& e : all) {
            palette.push_back(e.colour);
        }
    } else {
        // Keep fills exact, but leave at least a quarter of the palette for edges.
        const int keepMax = maxColours - maxColours / 4;
        std::vector<Entry> rest;
        for (const Entry& e : all) {
            if (e.count >= FillThreshold && static_cast<int>(palette.size()) < keepMax) {
                palette.push_back(e.colour);
            } else {
                rest.push_back(e);
            }
        }
        const std::vector<QRgb> edges =
            medianCut(std::move(rest), maxColours - static_cast<int>(palette.size()));
        palette.insert(palette.end(), edges.begin(), edges.end());
    }

    IndexedImage out;
    out.width = image.width();
    out.height = image.height();
    out.palette = palette;
    std::map<QRgb, unsigned char> nearest;
    for (const auto& [colour, count] : histogram) {
        int best = 0;
        for (int i = 1; i < static_cast<int>(palette.size()); ++i) {
            if (distance(colour, palette[i]) < distance(colour, palette[best])) {
                best = i;
            }
        }
        nearest[colour] = static_cast<unsigned char>(best);
    }
    out.pixels.reserve(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            out.pixels.push_back(nearest.at(line[x] | 0xff000000u));
        }
    }
    return out;
}

QImage toImage(const IndexedImage& indexed) {
    QImage image(indexed.width, indexed.height, QImage::Format_RGB32);
    for (int y = 0; y < indexed.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < indexed.width; ++x) {
            line[x] =
                indexed.palette[indexed.pixels[static_cast<std::size_t>(y) * indexed.width + x]];
        }
    }
    return image;
}

} // namespace cardart
