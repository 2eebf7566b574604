#pragma once

#include "Controls.h"
#include "MainWindow.h"
#include "Random.h"

#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <vector>

namespace trivanta::prova {

// The clock of a reproducible game.
inline float orologioFisso() {
    return 43200.25f;
}

// What a message box looked like when it came up.
struct BoxVisto {
    QString text, title;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool modalToWindow = false;

    bool operator==(const BoxVisto&) const = default;
};

// Answers every QMessageBox from a timer, as a user does: the default button
// with Enter, any other with a click. The handler looks at the box and the
// window and chooses; without one, the default button.
class Risponditore : public QObject {
public:
    explicit Risponditore(QWidget* window);
    std::function<QMessageBox::StandardButton(const BoxVisto&)> handler;
    std::vector<BoxVisto> visti;

private:
    void poll();
    QWidget* window_;
    QTimer timer_;
};

// A window on a reproducible game, its boxes answered.
struct Finestra {
    explicit Finestra(quint64 seed);
    void apri(); // deals, shows and waits for the window

    PcgRandom random;
    MainWindow w;
    Risponditore answerer;
};

template <class T = QWidget> T* trova(MainWindow& w, const QString& name) {
    return w.findChild<T*>(name);
}
inline CardPlace* posto(MainWindow& w, const QString& name) {
    return trova<CardPlace>(w, name);
}
QString statusBar(MainWindow& w);

// Empty when every control shows, on screen, what the game's table value
// says; otherwise the names of the controls that differ.
QString differenzeDalTavolo(MainWindow& w);

// Whether the place, as drawn, shows exactly this picture inside its border;
// "" means no picture, only the background.
bool mostra(CardPlace* place, std::string_view nome);

// The pictures of the cards at one location, and how many they are.
std::vector<std::string> carte(const StatoGioco& s, std::int16_t posizione);
inline int conta(const StatoGioco& s, std::int16_t posizione) {
    return static_cast<int>(carte(s, posizione).size());
}

} // namespace trivanta::prova
