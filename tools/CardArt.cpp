#include "CardArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <array>
#include <cmath>
#include <vector>

namespace cardart {
namespace {

// The colours everything is drawn with. Few and flat, so that each card
// keeps them exactly in its 256-colour palette.
const QColor Ink(0x2b, 0x1a, 0x10);
const QColor Face(0xfb, 0xf5, 0xe4);
const QColor Border(0x3a, 0x30, 0x28);
const QColor Gold(0xf0, 0xc0, 0x30);
const QColor GoldDark(0xb0, 0x78, 0x10);
const QColor GoldLight(0xff, 0xe6, 0x80);
const QColor Red(0xc8, 0x20, 0x2a);
const QColor RedDark(0x80, 0x10, 0x18);
const QColor Steel(0x9c, 0xc0, 0xe8);
const QColor SteelDark(0x2c, 0x4c, 0x84);
const QColor SteelLight(0xe4, 0xf0, 0xfc);
const QColor Club(0x5c, 0xa0, 0x34);
const QColor ClubDark(0x24, 0x50, 0x14);
const QColor ClubLight(0xa4, 0xd4, 0x78);
const QColor ClubShade(0x3c, 0x78, 0x20);
const QColor Wood(0x94, 0x5c, 0x28);
const QColor Skin(0xf6, 0xcf, 0xa6);
const QColor Hair(0x5a, 0x32, 0x18);
const QColor Beard(0xe6, 0xe2, 0xda);
const QColor White(0xff, 0xff, 0xff);
const QColor Shoe(0x3a, 0x2a, 0x1c);
const QColor Horse(0xa8, 0x64, 0x2c);
const QColor Mane(0x4a, 0x2a, 0x14);

// Per suit: the colour of the corner index, the tint behind a figure and
// the two colours of the figure's clothes.
struct SuitLook {
    QColor index;
    QColor tint;
    QColor dress;
    QColor trim;
};

SuitLook lookOf(Suit s) {
    switch (s) {
    case Ori:
        return {QColor(0x9a, 0x5c, 0x00), QColor(0xfa, 0xec, 0xc0), Red, Gold};
    case Spade:
        return {SteelDark, QColor(0xe2, 0xea, 0xf6), QColor(0x3c, 0x64, 0xb0),
                QColor(0xd8, 0xd8, 0xe0)};
    case Coppe:
        return {RedDark, QColor(0xf8, 0xe0, 0xdc), QColor(0x8a, 0x3c, 0x9c), Red};
    case Bastoni:
        return {ClubDark, QColor(0xe2, 0xf0, 0xd8), QColor(0xd0, 0x8a, 0x2c),
                QColor(0x3c, 0x7a, 0x3c)};
    }
    return {};
}

// One pixel of the card at any scale of the drawing: the signs are drawn in
// units of their own size, so the pen must not grow with them, but a card
// drawn at twice the size has twice as wide outlines.
QPen outline(const QPainter& p, const QColor& c = Ink, double width = 1.0) {
    QPen pen(c, width * p.device()->devicePixelRatio());
    pen.setCosmetic(true);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void fill(QPainter& p, const QPainterPath& path, const QColor& c, const QColor& line = Ink) {
    p.setPen(outline(p, line));
    p.setBrush(c);
    p.drawPath(path);
}

void fillPoly(QPainter& p, std::initializer_list<QPointF> points, const QColor& c,
              const QColor& line = Ink) {
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    fill(p, path, c, line);
}

void fillEllipse(QPainter& p, QPointF centre, double rx, double ry, const QColor& c,
                 const QColor& line = Ink) {
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    fill(p, path, c, line);
}

void dot(QPainter& p, QPointF centre, double r, const QColor& c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(centre, r, r);
}

// ---- The four suit signs, drawn around (0, 0) in a unit box of half-height 1.

void coin(QPainter& p, bool ornate) {
    fillEllipse(p, {0, 0}, 1, 1, Gold);
    p.setPen(outline(p, GoldDark));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), 0.7, 0.7);
    if (!ornate) {
        fillEllipse(p, {0, 0}, 0.34, 0.34, Red, RedDark);
        return;
    }
    for (int k = 0; k < 24; ++k) {
        double a = k * M_PI / 12;
        dot(p, {0.85 * std::cos(a), 0.85 * std::sin(a)}, 0.05, GoldDark);
    }
    for (int k = 0; k < 8; ++k) {
        p.save();
        p.rotate(k * 45.0);
        QPainterPath petal;
        petal.moveTo(0, -0.14);
        petal.cubicTo(0.2, -0.3, 0.14, -0.55, 0, -0.62);
        petal.cubicTo(-0.14, -0.55, -0.2, -0.3, 0, -0.14);
        fill(p, petal, Red, RedDark);
        p.restore();
    }
    fillEllipse(p, {0, 0}, 0.18, 0.18, GoldLight, GoldDark);
}

void cup(QPainter& p, bool ornate) {
    QPainterPath foot;
    foot.moveTo(-0.56, 1.0);
    foot.cubicTo(-0.5, 0.78, -0.2, 0.72, -0.1, 0.56);
    foot.lineTo(0.1, 0.56);
    foot.cubicTo(0.2, 0.72, 0.5, 0.78, 0.56, 1.0);
    foot.closeSubpath();
    fill(p, foot, Gold);
    fillPoly(p, {{-0.1, 0.0}, {0.1, 0.0}, {0.1, 0.6}, {-0.1, 0.6}}, Gold);
    fillEllipse(p, {0, 0.32}, 0.22, 0.11, GoldDark);
    QPainterPath bowl;
    bowl.moveTo(-0.8, -0.82);
    bowl.cubicTo(-0.8, -0.2, -0.4, 0.06, 0, 0.06);
    bowl.cubicTo(0.4, 0.06, 0.8, -0.2, 0.8, -0.82);
    bowl.closeSubpath();
    fill(p, bowl, Red, RedDark);
    if (ornate) {
        QPainterPath band;
        band.moveTo(-0.74, -0.5);
        band.cubicTo(-0.3, -0.38, 0.3, -0.38, 0.74, -0.5);
        band.lineTo(0.66, -0.32);
        band.cubicTo(0.3, -0.22, -0.3, -0.22, -0.66, -0.32);
        band.closeSubpath();
        fill(p, band, Gold, GoldDark);
        for (int k = -2; k <= 2; ++k) {
            dot(p, {k * 0.25, -0.33 + 0.012 * k * k}, 0.05, Red);
        }
        dot(p, {0, -0.12}, 0.08, GoldLight);
    }
    QPainterPath rim;
    rim.addRoundedRect(QRectF(-0.88, -1.0, 1.76, 0.22), 0.08, 0.08);
    fill(p, rim, Gold);
}

void sword(QPainter& p, bool ornate) {
    const double w = ornate ? 0.11 : 0.1;
    fillPoly(p, {{-w, 0.44}, {-w, -0.8}, {0, -1.0}, {w, -0.8}, {w, 0.44}}, Steel, SteelDark);
    p.setPen(outline(p, SteelLight));
    p.drawLine(QPointF(0, 0.38), QPointF(0, -0.8));
    if (ornate) {
        // Curled quillons and a red ribbon wound round the blade.
        p.setPen(outline(p, Ink));
        p.setBrush(Gold);
        QPainterPath guard;
        guard.moveTo(-0.42, 0.36);
        guard.cubicTo(-0.3, 0.5, 0.3, 0.5, 0.42, 0.36);
        guard.cubicTo(0.5, 0.44, 0.44, 0.56, 0.34, 0.54);
        guard.cubicTo(0.2, 0.56, -0.2, 0.56, -0.34, 0.54);
        guard.cubicTo(-0.44, 0.56, -0.5, 0.44, -0.42, 0.36);
        fill(p, guard, Gold);
        for (double y : {-0.5, -0.2, 0.1}) {
            fillPoly(p, {{-0.2, y + 0.02}, {0.2, y - 0.1}, {0.2, y - 0.04}, {-0.2, y + 0.08}}, Red,
                     RedDark);
        }
    } else {
        fillPoly(p, {{-0.34, 0.42}, {0.34, 0.42}, {0.34, 0.52}, {-0.34, 0.52}}, Gold);
    }
    fillPoly(p, {{-0.07, 0.52}, {0.07, 0.52}, {0.07, 0.84}, {-0.07, 0.84}}, Red, RedDark);
    fillEllipse(p, {0, 0.9}, 0.1, 0.08, Gold);
}

void club(QPainter& p, bool ornate) {
    QPainterPath body;
    body.moveTo(-0.09, 0.96);
    body.cubicTo(-0.12, 0.3, -0.2, -0.4, -0.2, -0.86);
    body.cubicTo(-0.2, -1.02, 0.2, -1.02, 0.2, -0.86);
    body.cubicTo(0.2, -0.4, 0.12, 0.3, 0.09, 0.96);
    body.cubicTo(0.07, 1.02, -0.07, 1.02, -0.09, 0.96);
    fill(p, body, Club, ClubDark);
    // Light down one side and shade down the other make it a round stick.
    QPainterPath light;
    light.moveTo(-0.1, -0.84);
    light.cubicTo(-0.1, -0.3, -0.06, 0.3, -0.04, 0.88);
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(p, ClubLight));
    p.drawPath(light);
    QPainterPath shade;
    shade.moveTo(0.13, -0.8);
    shade.cubicTo(0.12, -0.3, 0.08, 0.3, 0.05, 0.9);
    p.setPen(outline(p, ClubShade));
    p.drawPath(shade);
    // Knots where branches were cut off, on alternate sides.
    const std::array<double, 4> knots{-0.62, -0.26, 0.1, 0.46};
    for (std::size_t i = 0; i < knots.size(); ++i) {
        double y = knots[i];
        double side = i % 2 == 0 ? -1 : 1;
        double half = 0.19 - 0.09 * (y + 1) / 2;
        fillPoly(p,
                 {{side * (half - 0.04), y - 0.05},
                  {side * (half + 0.1), y - 0.13},
                  {side * (half + 0.12), y - 0.04},
                  {side * (half - 0.04), y + 0.04}},
                 Wood, ClubDark);
    }
    if (ornate) {
        for (double y : {-0.75, 0.72}) {
            fillPoly(p, {{-0.17, y - 0.04}, {0.17, y - 0.04}, {0.16, y + 0.04}, {-0.16, y + 0.04}},
                     Red, RedDark);
        }
        // Two leaves sprouting from the head.
        QPainterPath leaf;
        leaf.moveTo(0.05, -0.9);
        leaf.cubicTo(0.2, -1.1, 0.4, -1.05, 0.48, -1.0);
        leaf.cubicTo(0.38, -0.86, 0.2, -0.84, 0.05, -0.9);
        fill(p, leaf, Club, ClubDark);
        p.save();
        p.scale(-1, 1);
        fill(p, leaf, Club, ClubDark);
        p.restore();
    }
}

// Draws a suit sign centred on `centre`, `half` pixels from centre to top;
// `slim` narrows it, for long ones that cross each other.
void sign(QPainter& p, Suit s, QPointF centre, double half, double angle = 0, bool ornate = false,
          double slim = 1.0) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    p.scale(half * slim, half);
    switch (s) {
    case Ori:
        coin(p, ornate);
        break;
    case Spade:
        sword(p, ornate);
        break;
    case Coppe:
        cup(p, ornate);
        break;
    case Bastoni:
        club(p, ornate);
        break;
    }
    p.restore();
}

// A sign held in a hand at `hand`: swords and clubs by their grip, tilted by
// `angle`; coins and cups rest on the hand. `scale` shrinks it for a rider,
// who holds it high and has less room above.
void heldSign(QPainter& p, Suit s, QPointF hand, double angle, double scale = 1.0) {
    switch (s) {
    case Ori:
        sign(p, s, hand + QPointF(0, -7.5 * scale), 7.5 * scale);
        break;
    case Coppe:
        sign(p, s, hand + QPointF(0, -8 * scale), 8.5 * scale);
        break;
    case Spade:
    case Bastoni: {
        const double half = (s == Spade ? 20 : 18) * scale;
        const double grip = s == Spade ? 0.66 : 0.62;
        p.save();
        p.translate(hand);
        p.rotate(angle);
        sign(p, s, QPointF(0, -grip * half), half);
        p.restore();
        break;
    }
    }
}

// ---- Pips.

struct Pip {
    double x, y;
};

std::vector<Pip> pipPlaces(int value, Suit s) {
    // Cups are wider at the top than at the foot; their columns stand apart a
    // little more so that the seventh fits between them.
    const double l = s == Coppe ? 18 : 21, c = 37, r = 74 - l;
    switch (value) {
    case 2:
        return {{c, 35}, {c, 95}};
    case 3:
        return {{l, 31}, {c, 65}, {r, 99}};
    case 4:
        return {{l, 37}, {r, 37}, {l, 93}, {r, 93}};
    case 5:
        return {{l, 33}, {r, 33}, {c, 65}, {l, 97}, {r, 97}};
    case 6:
        return {{l, 29}, {r, 29}, {l, 65}, {r, 65}, {l, 101}, {r, 101}};
    case 7:
        return {{l, 29}, {r, 29}, {c, 47}, {l, 65}, {r, 65}, {l, 101}, {r, 101}};
    default:
        return {{c, 65}};
    }
}

// How big a pip is, by suit and by how many share the card.
double pipHalf(int value, Suit s) {
    switch (s) {
    case Ori:
        return value <= 2 ? 13 : value == 3 ? 12 : value <= 5 ? 11 : 10;
    case Coppe:
        return value <= 2 ? 16 : value == 3 ? 14.5 : value <= 5 ? 13.5 : 11.5;
    case Spade:
    case Bastoni:
        return value <= 5 ? 18 : 16.5;
    }
    return 10;
}

void drawPips(QPainter& p, int value, Suit s) {
    const bool long_ = s == Spade || s == Bastoni;
    if (value == 1) {
        const double half = s == Ori ? 27 : s == Coppe ? 38 : 50;
        sign(p, s, {37, 65}, half, s == Bastoni ? 12 : 0, true);
        return;
    }
    if (long_ && value <= 3) {
        // Long ones crossed, as on the traditional cards.
        const double slim = s == Bastoni ? 0.72 : 1.0;
        sign(p, s, {37, 65}, 46, 24, false, slim);
        sign(p, s, {37, 65}, 46, -24, false, slim);
        if (value == 3) {
            sign(p, s, {37, 65}, 48, 0, false, slim);
        }
        return;
    }
    // Short swords and clubs are drawn stouter, so they weigh as much as coins.
    const double slim = s == Spade ? 1.4 : s == Bastoni ? 1.2 : 1.0;
    for (const Pip& pip : pipPlaces(value, s)) {
        sign(p, s, {pip.x, pip.y}, pipHalf(value, s), 0, false, slim);
    }
}

// ---- Figures, drawn in a 61 x 101 panel.

QPainterPath rect(double x, double y, double w, double h) {
    QPainterPath path;
    path.addRect(QRectF(x, y, w, h));
    return path;
}

void faceAt(QPainter& p, QPointF c, double r) {
    fillEllipse(p, c, r * 0.92, r, Skin);
    dot(p, c + QPointF(-r * 0.38, -r * 0.1), 0.6, Ink);
    dot(p, c + QPointF(r * 0.38, -r * 0.1), 0.6, Ink);
}

void fante(QPainter& p, Suit s, const SuitLook& look) {
    fill(p, rect(22, 64, 6, 26), look.trim);
    fill(p, rect(32, 64, 6, 26), look.trim);
    fillEllipse(p, {24.5, 92}, 4.5, 2.6, Shoe);
    fillEllipse(p, {35.5, 92}, 4.5, 2.6, Shoe);
    fillPoly(p, {{17, 31}, {22, 32}, {18, 53}, {13, 52}}, look.dress);
    fillEllipse(p, {15.5, 55}, 2.4, 2.4, Skin);
    fillPoly(p, {{20, 29}, {40, 29}, {45, 66}, {15, 66}}, look.dress);
    fill(p, rect(18.5, 46, 23, 3), Wood);
    fillPoly(p, {{38, 30}, {43, 30}, {49, 44}, {44, 46}}, look.dress);
    fill(p, rect(27.5, 24, 5, 6), Skin);
    fillEllipse(p, {30, 18.5}, 7, 7, Hair);
    faceAt(p, {30, 20}, 6);
    fillEllipse(p, {29, 12.5}, 9, 3.4, look.trim);
    QPainterPath feather;
    feather.moveTo(35, 12);
    feather.cubicTo(39, 6, 43, 5, 46, 4);
    feather.cubicTo(44, 8, 40, 11, 35, 12);
    fill(p, feather, White);
    heldSign(p, s, {47, 45}, 8);
    fillEllipse(p, {47, 45.5}, 2.4, 2.4, Skin);
}

void re(QPainter& p, Suit s, const SuitLook& look) {
    fillEllipse(p, {24, 94}, 4.5, 2.5, Shoe);
    fillEllipse(p, {36, 94}, 4.5, 2.5, Shoe);
    fillPoly(p, {{19, 31}, {41, 31}, {49, 93}, {11, 93}}, look.dress);
    fill(p, rect(27, 34, 6, 59), White);
    fill(p, rect(11.5, 89, 37, 4), White);
    for (int button = 0; button < 6; ++button) {
        dot(p, {30, 40.0 + 8 * button}, 0.8, Ink);
    }
    fillPoly(p, {{16, 30}, {44, 30}, {48, 46}, {30, 41}, {12, 46}}, look.trim);
    fillPoly(p, {{14, 33}, {19, 33}, {22, 51}, {17, 52}}, look.trim);
    fillEllipse(p, {19.5, 53.5}, 2.4, 2.4, Skin);
    fillPoly(p, {{41, 33}, {46, 33}, {49, 50}, {44, 51}}, look.trim);
    faceAt(p, {30, 21}, 6);
    QPainterPath beard;
    beard.moveTo(24.5, 22);
    beard.cubicTo(25, 28, 27, 33, 30, 34);
    beard.cubicTo(33, 33, 35, 28, 35.5, 22);
    beard.cubicTo(33, 26, 27, 26, 24.5, 22);
    fill(p, beard, Beard);
    fillPoly(p, {{23, 16}, {22.5, 6.5}, {26.5, 11}, {30, 4.5}, {33.5, 11}, {37.5, 6.5}, {37, 16}},
             Gold, GoldDark);
    dot(p, {30, 12.5}, 1.5, Red);
    heldSign(p, s, {47, 51}, 10);
    fillEllipse(p, {47, 51.5}, 2.4, 2.4, Skin);
}

void cavallo(QPainter& p, Suit s, const SuitLook& look) {
    QPainterPath tail;
    tail.moveTo(12, 62);
    tail.cubicTo(6, 66, 5, 76, 8, 86);
    tail.cubicTo(10, 78, 11, 70, 15, 65);
    fill(p, tail, Mane);
    fill(p, rect(14, 70, 4, 24), Horse);
    fill(p, rect(20, 70, 4, 22), Horse);
    fill(p, rect(37, 70, 4, 24), Horse);
    fillPoly(p, {{42, 68}, {46, 68}, {52, 80}, {49, 82}}, Horse);
    for (QPointF hoof : {QPointF(16, 94.5), QPointF(22, 92.5), QPointF(39, 94.5)}) {
        fillEllipse(p, hoof, 2.6, 1.6, Shoe);
    }
    fillEllipse(p, {51, 82}, 1.8, 1.8, Shoe);
    fillEllipse(p, {29, 64}, 18, 10, Horse);
    fillPoly(p, {{38, 62}, {43, 44}, {50, 46}, {47, 68}}, Horse);
    QPainterPath head;
    head.moveTo(43, 44);
    head.cubicTo(46, 40, 52, 42, 58, 52);
    head.cubicTo(59, 55, 56, 57, 54, 56);
    head.cubicTo(50, 53, 47, 51, 47, 50);
    head.closeSubpath();
    fill(p, head, Horse);
    fillPoly(p, {{44, 43}, {45, 37.5}, {47.5, 42}}, Horse);
    dot(p, {50, 46.5}, 0.8, Ink);
    QPainterPath mane;
    mane.moveTo(43, 43);
    mane.cubicTo(40, 48, 38, 56, 37, 61);
    mane.lineTo(40, 60);
    mane.cubicTo(41, 54, 43, 49, 45.5, 44);
    mane.closeSubpath();
    fill(p, mane, Mane);
    fillPoly(p, {{18, 54}, {36, 54}, {35, 72}, {20, 72}}, look.trim);
    fill(p, rect(25, 55, 5, 20), look.dress);
    fillEllipse(p, {28, 76}, 4, 2.4, Shoe);
    fillPoly(p, {{21, 33}, {33, 33}, {34, 57}, {20, 57}}, look.dress);
    fillPoly(p, {{31, 35}, {35, 34}, {41, 25}, {38, 23}}, look.dress);
    faceAt(p, {27, 26}, 5.5);
    QPainterPath hat;
    hat.moveTo(20, 23);
    hat.cubicTo(21, 15, 33, 15, 34, 23);
    hat.closeSubpath();
    fill(p, hat, look.trim);
    heldSign(p, s, {40, 24}, 50, 0.85);
    fillEllipse(p, {40, 24.5}, 2.3, 2.3, Skin);
}

// ---- Corner index, drawn from pixel fonts so it stays sharp and owes
// nothing to the fonts of the machine: 5 x 7 at 100%, and at 200% a font of
// its own, 10 x 14 with two-pixel strokes and rounded bends, since the small
// one enlarged would show its steps twice as large.

struct PixelFont {
    int width;
    int height;
    int advance;
    std::array<std::vector<const char*>, 10> glyphs;
};

const PixelFont& fontFor(int scale) {
    static const PixelFont small{
        5,
        7,
        6,
        {{
            {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."},
            {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
            {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
            {"####.", "....#", "....#", ".###.", "....#", "....#", "####."},
            {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
            {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
            {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
            {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
            {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
            {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
        }}};
    static const PixelFont large{
        10,
        14,
        12,
        {{
            {"..######..", ".########.", "###....###", "##......##", "##....####", "##...##.##",
             "##..##..##", "##.##...##", "####....##", "##......##", "##......##", "###....###",
             ".########.", "..######.."},
            {"....##....", "...###....", "..####....", ".##.##....", "....##....", "....##....",
             "....##....", "....##....", "....##....", "....##....", "....##....", "....##....",
             "..######..", "..######.."},
            {"..######..", ".########.", "###....###", "##......##", "........##", ".......###",
             "......###.", ".....###..", "....###...", "...###....", "..###.....", ".###......",
             "##########", "##########"},
            {"########..", "#########.", ".......###", "........##", "........##", ".......###",
             "..#######.", "..#######.", ".......###", "........##", "........##", ".......###",
             "#########.", "########.."},
            {"......##..", ".....###..", "....####..", "...##.##..", "..##..##..", ".##...##..",
             "##....##..", "##....##..", "##########", "##########", "......##..", "......##..",
             "......##..", "......##.."},
            {"##########", "##########", "##........", "##........", "########..", "#########.",
             ".......###", "........##", "........##", "........##", "##......##", "###....###",
             ".########.", "..######.."},
            {"....####..", "...#####..", "..###.....", ".###......", "###.......", "##........",
             "########..", "#########.", "###....###", "##......##", "##......##", "###....###",
             ".########.", "..######.."},
            {"##########", "##########", "........##", ".......###", "......###.", ".....###..",
             "....###...", "...###....", "..###.....", "..##......", "..##......", "..##......",
             "..##......", "..##......"},
            {"..######..", ".########.", "###....###", "##......##", "###....###", ".########.",
             ".########.", "###....###", "##......##", "##......##", "##......##", "###....###",
             ".########.", "..######.."},
            {"..######..", ".########.", "###....###", "##......##", "##......##", "###....###",
             ".#########", "..########", "........##", ".......###", "......###.", ".....###..",
             "..#####...", "..####...."},
        }}};
    return scale == 1 ? small : large;
}

std::vector<int> digitsOf(int value) {
    return value == 10 ? std::vector<int>{1, 0} : std::vector<int>{value};
}

int indexWidth(const PixelFont& font, int value) {
    const int count = static_cast<int>(digitsOf(value).size());
    return (count - 1) * font.advance + font.width;
}

// Draws the value's digits with their top left at (x, y), in the image's own
// pixels. Both corners show them upright: the cards are never turned on this
// table, and a turned 9 would read as 6.
void index(QImage& img, const PixelFont& font, int value, int x, int y, QRgb colour) {
    const std::vector<int> digits = digitsOf(value);
    for (std::size_t d = 0; d < digits.size(); ++d) {
        const auto& glyph = font.glyphs[static_cast<std::size_t>(digits[d])];
        for (int row = 0; row < font.height; ++row) {
            for (int col = 0; col < font.width; ++col) {
                // Each glyph row is a string; cppcheck takes the row for the character.
                // cppcheck-suppress charLiteralWithCharPtrCompare
                if (glyph[static_cast<std::size_t>(row)][col] == '#') {
                    img.setPixel(x + static_cast<int>(d) * font.advance + col, y + row, colour);
                }
            }
        }
    }
}

// A card-sized image at `scale` times the size; painters on it draw in the
// card's own pixels.
QImage blankCard(const QColor& face, const QColor& border, int scale) {
    QImage img(CardWidth * scale, CardHeight * scale, QImage::Format_RGB32);
    img.setDevicePixelRatio(scale);
    img.fill(CornerGreen);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(border, 1.0));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, CardWidth - 1, CardHeight - 1), 5, 5);
    return img;
}

// The finished picture as a plain image of its pixels.
QImage finished(QImage img) {
    img.setDevicePixelRatio(1);
    return img;
}

} // namespace

QImage drawCard(int value, Suit suit, int scale) {
    const SuitLook look = lookOf(suit);
    QImage img = blankCard(Face, Border, scale);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        if (value >= 8) {
            const QRectF panel(6.5, 14.5, 61, 101);
            p.setPen(QPen(look.index, 1.0));
            p.setBrush(look.tint);
            p.drawRect(panel);
            p.save();
            p.translate(panel.topLeft());
            p.setClipRect(QRectF(0, 0, panel.width(), panel.height()));
            if (value == 8) {
                fante(p, suit, look);
            } else if (value == 9) {
                cavallo(p, suit, look);
            } else {
                re(p, suit, look);
            }
            p.restore();
        } else {
            drawPips(p, value, suit);
        }
    }
    const PixelFont& font = fontFor(scale);
    const QRgb ink = look.index.rgb();
    const int margin = 4 * scale;
    index(img, font, value, margin, margin, ink);
    index(img, font, value, img.width() - margin - indexWidth(font, value),
          img.height() - margin - font.height, ink);
    return finished(img);
}

QImage drawVuota(int scale) {
    QImage img = blankCard(QColor(0xd0, 0xd0, 0xd0), QColor(0x40, 0x40, 0x40), scale);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(4, 4, CardWidth - 8, CardHeight - 8), 3, 3);
    p.setClipPath(inner);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor dark(0x8c, 0x8c, 0x8c), light(0xb4, 0xb4, 0xb4);
    for (int y = 4; y < CardHeight - 4; y += 4) {
        for (int x = 4; x < CardWidth - 4; x += 4) {
            p.fillRect(QRect(x, y, 4, 4), ((x + y) / 4) % 2 == 0 ? dark : light);
        }
    }
    p.setClipping(false);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(inner);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
    p.drawRoundedRect(QRectF(0.75, 0.75, CardWidth - 1.5, CardHeight - 1.5), 5, 5);
    p.end();
    return finished(img);
}

// At 16 pixels a drawn circle comes out lumpy; this one is set pixel by pixel.
constexpr std::array<const char*, 16> SmallSmile{
    ".....######.....", "...##yyyyyy##...", "..#yyyyyyyyyy#..", ".#yyhhyyyyyyyy#.",
    ".#yyykyyyykyyy#.", "#yyyykyyyykyyyy#", "#yyyykyyyykyyyy#", "#yyyyyyyyyyyyyy#",
    "#yyyyyyyyyyyyyy#", "#yykyyyyyyyykyy#", "#yyykyyyyyykyyy#", ".#yyykkkkkkyyy#.",
    ".#yyyyyyyyyyyy#.", "..#yyyyyyyyyy#..", "...##yyyyyy##...", ".....######.....",
};

QImage drawIcon(int size) {
    if (size == 16) {
        QImage img(16, 16, QImage::Format_ARGB32);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                switch (SmallSmile[static_cast<std::size_t>(y)][x]) {
                case '#':
                    img.setPixel(x, y, qRgb(0x70, 0x40, 0x00));
                    break;
                case 'y':
                    img.setPixel(x, y, qRgb(0xff, 0xd8, 0x20));
                    break;
                case 'h':
                    img.setPixel(x, y, qRgb(0xff, 0xf0, 0xa0));
                    break;
                case 'k':
                    img.setPixel(x, y, qRgb(0x20, 0x14, 0x00));
                    break;
                default:
                    img.setPixel(x, y, qRgba(0, 0, 0, 0));
                }
            }
        }
        return img;
    }
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    // The small 16-colour sizes get hard edges: blended edge colours would
    // only turn into speckles when the palette is cut down.
    p.setRenderHint(QPainter::Antialiasing, size > 32);
    p.scale(size / 32.0, size / 32.0);
    QPen edge(QColor(0x70, 0x40, 0x00), size <= 16 ? 2.0 : 1.4);
    p.setPen(edge);
    p.setBrush(QColor(0xff, 0xd8, 0x20));
    p.drawEllipse(QRectF(1.5, 1.5, 29, 29));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x14, 0x00));
    p.drawEllipse(QRectF(9.5, 8.5, 4, 6.5));
    p.drawEllipse(QRectF(18.5, 8.5, 4, 6.5));
    QPen smile(QColor(0x20, 0x14, 0x00), size <= 16 ? 2.6 : 2.2);
    smile.setCapStyle(Qt::RoundCap);
    p.setPen(smile);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(8, 8, 16, 15), 200 * 16, 140 * 16);
    return img.convertToFormat(QImage::Format_ARGB32);
}

} // namespace cardart
