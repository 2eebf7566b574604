#pragma once

#include <QRect>
#include <array>
#include <string_view>

namespace trivanta::layout {

// Every place is designed in twips; at 96 dpi 15 twips make one pixel.
inline constexpr int TwipsPerPixel = 15;

struct Twips {
    int left;
    int top;
    int width;
    int height;
};

constexpr QRect pixels(Twips t) {
    return {t.left / TwipsPerPixel, t.top / TwipsPerPixel, t.width / TwipsPerPixel,
            t.height / TwipsPerPixel};
}

// The client area under the menu bar.
inline constexpr int ClientWidth = 11910;
inline constexpr int ClientHeight = 7680;

// Positions are relative to the control's container: Frame1 for the five
// controls inside it, the client area for the rest.
inline constexpr Twips Command1{7680, 120, 3975, 375};
inline constexpr std::array<Twips, 3> pc{
    {{7635, 600, 1170, 2010}, {9075, 600, 1170, 2010}, {10515, 600, 1170, 2010}}};
inline constexpr Twips Frame1{360, 2040, 5655, 2655};
inline constexpr Twips terrauser{195, 240, 1170, 2010};
inline constexpr Twips terrapc{1560, 240, 1170, 2010};
inline constexpr Twips cartabriscola{4440, 2280, 1170, 2010};
inline constexpr Twips Label1{600, 2280, 735, 255};
inline constexpr Twips Label2{2040, 2280, 735, 255};
inline constexpr Twips Label4{4200, 2280, 1095, 255};
inline constexpr Twips giocatautente{8880, 3120, 1695, 1095};
inline constexpr std::array<Twips, 3> Shape2{
    {{7560, 4680, 1305, 2130}, {9000, 4680, 1305, 2130}, {10440, 4680, 1305, 2130}}};
inline constexpr std::array<Twips, 3> user{
    {{7635, 4755, 1170, 2010}, {9075, 4755, 1170, 2010}, {10515, 4755, 1170, 2010}}};
inline constexpr Twips Command2{7800, 6960, 3975, 375};
inline constexpr Twips StatusBar1{0, 7425, 11910, 255};

// The card places have a 2-pixel sunken border around their picture.
inline constexpr int CardBorder = 2;
// The selection markers are red outlines this wide.
inline constexpr int ShapeBorder = 3;

} // namespace trivanta::layout
