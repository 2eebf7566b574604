#pragma once

// The window as a user sees it: its controls by name, what a card place
// shows, what a screen reader hears and the keyboard's frame.
#include "MainWindow.h"

#include <QStringList>
#include <map>

namespace trivanta::test {

template <class T = QWidget> T* Controllo(QWidget& w, const QString& name) {
    return w.findChild<T*>(name);
}

// Empty when every control shows what the game's table value says;
// otherwise the names of the controls that differ. With `pixel` the pictures
// are compared as drawn, pixel for pixel with the committed files: the GIF on
// a screen of device pixel ratio 1, the picture drawn at twice the size at 2,
// that one smoothly scaled at any other ratio. Without, only what a screen
// reader hears of them. The status bar by its text and by the name a screen
// reader reads.
QString DifferenzeDalTavolo(MainWindow& w, bool pixel = true);

// Assistive technology switched on, as when a screen reader runs, for as long
// as it lives. It keeps what the reader was last told of each control of a
// main window, and the announcements that told it again what it already had.
struct Lettore {
    Lettore();
    ~Lettore();
    std::map<QWidget*, QString> detto;
    QStringList ripetuti;
};

// Whether `focused`, drawn with the keyboard focus, shows against `plain`, the
// same control without it, a frame all round at least two pixels thick in
// colours of at least 3:1 contrast against what they cover: what WCAG 2.2
// asks of a focus indicator. Both are grabs at the screen's ratio.
bool CorniceVisibile(const QImage& plain, const QImage& focused);

} // namespace trivanta::test
