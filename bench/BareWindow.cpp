// The smallest Qt 6 Widgets program that shows a window: the yardstick for
// the program's start-up time and memory (bench/run.sh).
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(794, 531);
    window.show();
    return QApplication::exec();
}
