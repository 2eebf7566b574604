// The smallest Qt 6 Widgets program that shows a window: the yardstick for
// the program's start-up time and memory (bench/run.sh). With --text the
// window shows one line of text, so the toolkit also loads its fonts, which
// a window without any text never does. With --box it shows a message box of
// one line instead, as the game's first sight is (scripts/test-windows.sh).
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const QString line = QStringLiteral("Sarai tu a dare carte");
    if (arguments.contains(QStringLiteral("--box"))) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Bare"), line, QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok ? 0 : 1;
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(794, 531);
    if (arguments.contains(QStringLiteral("--text"))) {
        auto* label = new QLabel(line, &window);
        label->move(20, 20);
    }
    window.show();
    return QApplication::exec();
}
