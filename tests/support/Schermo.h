#pragma once

// The window as a user sees it: its controls by name, what a card place
// shows, and real message boxes answered as a user answers them.
#include "MainWindow.h"
#include "MessageBoxes.h"

#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <functional>
#include <string_view>
#include <vector>

namespace trivanta::test {

template <class T = QWidget> T* Controllo(QWidget& w, const QString& name) {
    return w.findChild<T*>(name);
}

// Whether the place, as drawn, shows exactly this picture inside its border,
// pixel for pixel at the screen's scale; "" means no picture at all.
bool Mostra(QWidget* place, std::string_view nome);

// Empty when every control shows what the game's table value says;
// otherwise the names of the controls that differ. With `pixel` the pictures
// are compared as drawn, without only what a screen reader hears of them.
QString DifferenzeDalTavolo(MainWindow& w, bool pixel = true);

// A real box as it came up: what the game asked for, and how Qt shows it.
struct BoxVisto {
    Message message;
    QMessageBox::StandardButton predefinito = QMessageBox::NoButton;
    bool modaleSullaFinestra = false;
};

// Answers every QMessageBox from a timer, as a user does: the default button
// with Enter, any other with a click. `scegli` sees the box while it is open
// and picks the answer; without it, the default button.
class Risponditore : public QObject {
public:
    explicit Risponditore(QWidget* window);
    std::function<QMessageBox::StandardButton(const BoxVisto&)> scegli;
    std::vector<BoxVisto> visti;

private:
    void Guarda();
    QWidget* window_;
    QTimer timer_;
};

} // namespace trivanta::test
