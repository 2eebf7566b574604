#pragma once

#include "Controls.h"
#include "MainWindow.h"

#include <QMessageBox>
#include <QString>
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
    QString text;
    QString title;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool yesBeforeNo = false; // Yes lies left of No
    bool modalToWindow = false;
};

// Answers every QMessageBox that comes up, from a timer, the way a user does:
// the default button with Enter, any other button with a click. The handler
// looks at the box and at the window and says which button to choose.
class Risponditore : public QObject {
public:
    using Handler = std::function<QMessageBox::StandardButton(const BoxVisto&)>;

    explicit Risponditore(QWidget* window, Handler handler = {});

    void setHandler(Handler handler) { handler_ = std::move(handler); }
    const std::vector<BoxVisto>& visti() const { return visti_; }

private:
    void poll();

    QWidget* window_;
    Handler handler_;
    std::vector<BoxVisto> visti_;
    QTimer timer_;
};

// The controls of the window, found by their names.
CardPlace* posto(MainWindow& w, const QString& name);
QWidget* controllo(MainWindow& w, const QString& name);

// Empty when every control shows what the game's table value says; otherwise
// the first difference.
QString differenzeDalTavolo(MainWindow& w);

// Whether the place, as drawn on screen, shows exactly this picture inside its
// border; an empty nome means no picture, just the background.
bool mostra(CardPlace* place, std::string_view nome);

// Cards of the state at one location.
int conta(const StatoGioco& s, std::int16_t posizione);

// Collects failed checks made inside timer callbacks, where QVERIFY cannot
// stop the test.
struct Errori {
    QStringList list;
    void check(bool ok, const QString& what) {
        if (!ok) {
            list << what;
        }
    }
};

} // namespace trivanta::prova
