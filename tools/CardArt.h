#pragma once

#include <QImage>
#include <QRgb>

namespace cardart {

inline constexpr int CardWidth = 74;
inline constexpr int CardHeight = 130;
// Outside the rounded outline, close to the table's green, so a card looks
// rounded when it lies on the table.
inline constexpr QRgb CornerGreen = 0xff008400;

// Suits in the order of their letters "o", "s", "c", "b".
enum Suit { Ori = 1, Spade = 2, Coppe = 3, Bastoni = 4 };

// The face of one card: value 1..10 (8 fante, 9 cavallo, 10 re), opaque,
// CardWidth x CardHeight pixels times `scale` (1 or 2), for screens of that
// device pixel ratio.
QImage drawCard(int value, Suit suit, int scale = 1);

// An empty card place, also the back of the computer's cards.
QImage drawVuota(int scale = 1);

// The smiling window icon at size x size pixels, with alpha.
QImage drawIcon(int size);

} // namespace cardart
