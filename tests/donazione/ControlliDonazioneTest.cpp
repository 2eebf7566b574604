// The three donation controls of the real window, on an offscreen display.
#include "MainWindow.h"
#include "ProvaDonazione.h"
#include "Testi.h"

#include <QAction>
#include <QApplication>
#include <gtest/gtest.h>

namespace trivanta {
namespace {

TEST(ControlliDonazione, eachOfTheThreeControlsOpensTheSamePage) {
    int argc = 1;
    char name[] = "donazione_window_tests";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    CartellaTemporanea cartella;
    ScatoleRegistrate boxes;
    PiattaformaProva platform(cartella.path());
    MainWindow window(&boxes, nullptr, &platform);
    window.Form_Load();
    window.show();

    for (const char* nome : {"Command1", "Command2", "cmdDonazione"}) {
        QObject* control = window.findChild<QObject*>(QString::fromLatin1(nome));
        ASSERT_NE(control, nullptr) << nome;
        QMetaObject::invokeMethod(control, qobject_cast<QAction*>(control) ? "trigger" : "click");
    }

    const std::pair<std::string, std::string> page{"/usr/bin/browser", testi::IndirizzoDonazione};
    EXPECT_EQ(platform.launched, decltype(platform.launched)(3, page));
}

} // namespace
} // namespace trivanta
