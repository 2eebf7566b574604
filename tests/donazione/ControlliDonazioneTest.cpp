// The three donation controls of the game window, clicked for real on an
// offscreen display.
#include "MainWindow.h"
#include "ProvaDonazione.h"
#include "Testi.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

namespace trivanta {
namespace {

TEST(ControlliDonazione, eachOfTheThreeControlsOpensTheSamePageFromTheWindow) {
    int argc = 1;
    char name[] = "donazione_window_tests";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    CartellaTemporanea cartella;
    ScatoleRegistrate boxes;
    PiattaformaProva platform(cartella.path());
    platform.found = {ShellOk, "/usr/bin/browser"};
    MainWindow window(&boxes, nullptr, &platform);
    window.Form_Load();
    window.show();
    const std::size_t boxesBefore = boxes.shown.size();

    auto* Command1 = window.findChild<QPushButton*>(QStringLiteral("Command1"));
    auto* Command2 = window.findChild<QPushButton*>(QStringLiteral("Command2"));
    auto* cmdDonazione = window.findChild<QAction*>(QStringLiteral("cmdDonazione"));
    ASSERT_NE(Command1, nullptr);
    ASSERT_NE(Command2, nullptr);
    ASSERT_NE(cmdDonazione, nullptr);

    Command1->click();
    Command2->click();
    cmdDonazione->trigger();

    ASSERT_EQ(platform.launches.size(), 3u);
    for (const auto& launch : platform.launches) {
        EXPECT_EQ(launch.address, testi::IndirizzoDonazione);
        EXPECT_EQ(launch.executable, "/usr/bin/browser");
        EXPECT_EQ(launch.owner, platform.launches.front().owner);
    }
    EXPECT_EQ(boxes.shown.size(), boxesBefore) << "a successful launch shows no box";
    EXPECT_FALSE(std::filesystem::exists(cartella.path() / "test.htm"));
}

} // namespace
} // namespace trivanta
