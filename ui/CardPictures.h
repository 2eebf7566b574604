#pragma once

#include <QIcon>
#include <QPixmap>
#include <string_view>

namespace trivanta {

// The picture of the store by its name: "o1".."b0" or "vuota". A null
// QPixmap for any other name. Loaded once, then served from a cache.
// Like every QPixmap, only from the GUI thread of a running QGuiApplication;
// without one the answer is a null QPixmap.
QPixmap cardPicture(std::string_view name);

// The window icon (all sizes).
QIcon windowIcon();

} // namespace trivanta
