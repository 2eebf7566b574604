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
// pixel for pixel as committed: the GIF on a screen of device pixel ratio 1,
// the picture drawn at twice the size at 2, that one smoothly scaled at any
// other ratio. "" means no picture at all. Where the place has the keyboard,
// its frame is left out.
bool Mostra(QWidget* place, std::string_view nome);

// Empty when every control shows what the game's table value says;
// otherwise the names of the controls that differ. With `pixel` the pictures
// are compared as drawn, without only what a screen reader hears of them.
QString DifferenzeDalTavolo(MainWindow& w, bool pixel = true);

// What a screen reader reads as the control's name, through Qt's
// accessibility interface.
QString Sentito(QWidget* control);

// Assistive technology switched on, as when a screen reader runs, for as long
// as it lives: every name change that Qt announces for one of `watched` is
// recorded with the name the reader then reads.
class Lettore {
public:
    explicit Lettore(std::vector<QWidget*> watched);
    ~Lettore();
    Lettore(const Lettore&) = delete;
    Lettore& operator=(const Lettore&) = delete;

    struct Annuncio {
        QWidget* control;
        QString nome;
    };
    std::vector<Annuncio> annunci;
    const std::vector<QWidget*> watched;
};

// Whether `focused`, drawn with the keyboard focus, shows against `plain`, the
// same control without it, a frame all round at least two pixels thick in
// colours of at least 3:1 contrast against what they cover: what WCAG 2.2
// asks of a focus indicator. Both are grabs at the screen's ratio.
bool CorniceVisibile(const QImage& plain, const QImage& focused);

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
