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

// The window icon (all sizes).
QIcon windowIcon();

} // namespace trivanta
