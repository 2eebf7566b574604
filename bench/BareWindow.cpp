// The smallest Qt 6 Widgets program that shows a window: the yardstick for
// the program's start-up time and memory (bench/run.sh). With --text the
// window shows one line of text, so the toolkit also loads its fonts, which
// a window without any text never does.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool text = QCoreApplication::arguments().contains(QStringLiteral("--text"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(794, 531);
    if (text) {
        auto* label = new QLabel(QStringLiteral("Sarai tu a dare carte"), &window);
        label->move(20, 20);
    }
    window.show();
    return QApplication::exec();
}
