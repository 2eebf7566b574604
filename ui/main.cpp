#include "MainWindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    trivanta::MainWindow window;
    // The first game is dealt, and its dealer announced, before the window
    // is first shown.
    window.Form_Load();
    if (window.briscola().ChiusuraRichiesta()) {
        return 0;
    }
    window.show();
    // The keyboard starts on the table, also where no window manager hands
    // it over.
    window.activateWindow();
    return QApplication::exec();
}
