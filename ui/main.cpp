#include "MainWindow.h"
#include "Testi.h"

#include <QApplication>
#include <QProxyStyle>

namespace {

// Plain buttons in the message boxes: an icon on them would make the first
// box look up the desktop's whole icon theme, a third of the start-up.
class PlainButtonsStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Who the program is, once for everything that asks: the desktop entry
    // gives its window the dock's icon and launcher (the application id on
    // Wayland, the window class on X11 is "Trivanta").
    QApplication::setApplicationName(QString::fromUtf8(trivanta::testi::TitoloFinestra));
    QApplication::setApplicationVersion(QStringLiteral(TRIVANTA_VERSIONE));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Trivanta"));
    QApplication::setStyle(new PlainButtonsStyle); // the application owns it
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
