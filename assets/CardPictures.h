#pragma once

#include <QIcon>
#include <QPixmap>
#include <string_view>

namespace trivanta {

// Loads the picture called name from the pictures built into the program:
// a card's picture ("o1".."b0") or "vuota"; a null QPixmap for any other
// name. Like every QPixmap, only from the GUI thread of a running
// QGuiApplication; without one the answer is a null QPixmap.
QPixmap cardPicture(std::string_view name);

// The same picture drawn at twice the size, for screens whose device pixel
// ratio is not 1: its device pixel ratio is 2, so it covers the place of
// the GIF. A null QPixmap where cardPicture gives one.
QPixmap largeCardPicture(std::string_view name);

// The window icon (all sizes).
QIcon windowIcon();

} // namespace trivanta
