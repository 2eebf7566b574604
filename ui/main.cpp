#include "MainWindow.h"
#include "Opzioni.h"
#include "Sistema.h"
#include "Testi.h"

#include <QApplication>
#include <QMessageBox>
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
    using namespace trivanta;
    // Who the program is, once for everything that asks: --version, and the
    // desktop entry that gives its window the dock's icon and launcher (the
    // application id on Wayland; the window class on X11 is "Trivanta").
    QCoreApplication::setApplicationName(QString::fromUtf8(testi::TitoloFinestra));
    QCoreApplication::setApplicationVersion(QStringLiteral(TRIVANTA_VERSIONE));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Trivanta"));
    // The command line is read before the toolkit opens a display: --help
    // and a mistake need none, and end before any window or box.
    const RigaDiComando riga = [&] {
        const QCoreApplication lettore(argc, argv);
        return LeggiRigaDiComando(QCoreApplication::arguments());
    }();
    if (!riga.opzioni) {
        if (!ScriviRisposta(riga.testo, riga.uscita != 0)) {
            // Started from the Windows desktop: no console to write to.
            QApplication app(argc, argv);
            CaricaTraduzioneQt(app);
            QMessageBox box(riga.uscita == 0 ? QMessageBox::Information : QMessageBox::Warning,
                            QString::fromUtf8(testi::TitoloFinestra),
                            QStringLiteral("<pre>%1</pre>").arg(riga.testo.toHtmlEscaped()));
            box.exec();
        }
        return riga.uscita;
    }
    SegnaInEsecuzione();

    QApplication app(argc, argv);
    CaricaTraduzioneQt(app);
    QApplication::setStyle(new PlainButtonsStyle); // the application owns it
    const Giocatori giocatori = CreaGiocatori(riga.opzioni->esperto, riga.opzioni->seme);
    MainWindow window(nullptr, giocatori.random.get(), nullptr, giocatori.avversario.get());
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
