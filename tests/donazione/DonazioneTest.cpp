#include "Donazione.h"

#include "Browser.h"
#include "Cartella.h"
#include "Scatole.h"
#include "Testi.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace trivanta {
namespace {

namespace fs = std::filesystem;
using test::CartellaTemporanea;
using test::LeggiFile;

// Not the donation page: the address given must be the one used.
const std::string Indirizzo = "https://example.org/altra?a=1&b=2";
const std::string Testo =
    "Impossibile aprire il browser. Per fare una donazione andare su " + Indirizzo;

class LaunchBrowserTest : public ::testing::Test {
protected:
    CartellaTemporanea cartella;
    test::ScatoleScriptate boxes;
    test::BrowserScriptato platform{cartella.path()};

    static Message errore(int number, const std::string& description) {
        return {"Error " + std::to_string(number) + " (" + description +
                    ") in procedure LaunchBrowser",
                std::nullopt, Buttons::Ok, Icon::None};
    }
};

TEST_F(LaunchBrowserTest, emptyAddressWritesNoFileAndShowsNoBox) {
    LaunchBrowser("", 0, boxes, platform);
    EXPECT_TRUE(boxes.mostrate.empty());
    EXPECT_TRUE(platform.avviati.empty());
    EXPECT_TRUE(fs::is_empty(cartella.path()));
}

// Above 32 is success for both shell calls; 32 itself is a failure.
TEST(LaunchBrowser, shellResultsDecideTheOneBoxAndTheFileIsAlwaysDeleted) {
    const Message nonTrovato{Testo, "Browser Not Found", Buttons::Ok, Icon::Exclamation};
    const Message nonAvviato{Testo, std::nullopt, Buttons::Ok, Icon::Exclamation};
    const struct {
        ShellResult find, launch;
        std::size_t launches;
        std::vector<Message> boxes;
    } casi[] = {
        {ShellNoAssociation, 33, 0, {nonTrovato}},
        {32, 33, 0, {nonTrovato}},
        {33, 32, 1, {nonAvviato}},
        {33, 33, 1, {}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(::testing::Message() << "find " << c.find << " launch " << c.launch);
        CartellaTemporanea cartella;
        // An old, longer file is replaced, not appended to.
        std::ofstream(cartella.path() / "test.htm") << "left over from an earlier run\n";
        test::ScatoleScriptate boxes;
        test::BrowserScriptato platform(cartella.path());
        platform.risultatoRicerca = c.find;
        platform.risultatoAvvio = c.launch;

        LaunchBrowser(Indirizzo, 0, boxes, platform);

        EXPECT_EQ(boxes.mostrate, c.boxes);
        EXPECT_EQ(platform.contenutoAllaRicerca, "\"<HTML> <\\HTML>\"\r\n");
        EXPECT_EQ(platform.avviati,
                  decltype(platform.avviati)(c.launches, {platform.eseguibile, Indirizzo}));
        EXPECT_FALSE(fs::exists(fs::symlink_status(cartella.path() / "test.htm")));
    }
}

// Root writes anywhere, so the attempt is made as nobody.
TEST_F(LaunchBrowserTest, unwritableDirectoryGivesTheErrorMessageNotBrowserNotFound) {
    fs::permissions(cartella.path(), static_cast<fs::perms>(0555));
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || ::seteuid(65534) == 0);
    LaunchBrowser(Indirizzo, 0, boxes, platform);
    ASSERT_TRUE(!root || ::seteuid(0) == 0);

    EXPECT_EQ(boxes.mostrate, std::vector<Message>{errore(13, "Permission denied")});
    EXPECT_TRUE(fs::is_empty(cartella.path()));
}

// A link at the file's place is refused; neither it nor its target is touched.
TEST_F(LaunchBrowserTest, neverWritesThroughALinkAtTheFilesPlace) {
    const fs::path vittima = cartella.path() / "vittima.txt";
    std::ofstream(vittima) << "precious";
    fs::create_symlink(vittima, cartella.path() / "test.htm");

    LaunchBrowser(Indirizzo, 0, boxes, platform);

    EXPECT_EQ(boxes.mostrate,
              std::vector<Message>{errore(40, "Too many levels of symbolic links")});
    EXPECT_TRUE(fs::is_symlink(cartella.path() / "test.htm"));
    EXPECT_EQ(LeggiFile(vittima), "precious");
}

// One real run through GIO, with a stub browser registered for web pages in
// private XDG directories. GIO reads them once per process: the run is a child.
TEST(EsecuzioneReale, theRegisteredBrowserIsStartedWithExactlyTheAddress) {
    CartellaTemporanea cartella;
    const std::string base = cartella.path().string(), uscita = base + "/stub-argv";
    const auto scrivi = [&](const std::string& path, const std::string& text) {
        fs::create_directories(fs::path(base + path).parent_path());
        std::ofstream(base + path) << text;
    };
    // A blank in the path: the desktop entry must quote it.
    scrivi("/stub browser", "#!/bin/sh\n{ printf '%s\\n' \"$#\"; printf '[%s]\\n' \"$@\"; } > '" +
                                uscita + ".tmp' && mv '" + uscita + ".tmp' '" + uscita + "'\n");
    fs::permissions(base + "/stub browser", fs::perms::owner_all);
    scrivi("/data/applications/trivanta-stub.desktop",
           "[Desktop Entry]\nType=Application\nName=Stub\nExec=\"" + base +
               "/stub browser\" %u\nMimeType=text/html;\n");
    scrivi("/config/mimeapps.list", "[Default Applications]\ntext/html=trivanta-stub.desktop\n");
    // The system's MIME types, none of the system's applications.
    fs::create_directories(base + "/sysdata");
    fs::create_directory_symlink("/usr/share/mime", base + "/sysdata/mime");

    const pid_t child = ::fork();
    if (child == 0) {
        // The child is single-threaded until GIO starts, so setenv is safe here.
        // NOLINTBEGIN(concurrency-mt-unsafe)
        ::setenv("HOME", base.c_str(), 1);
        ::setenv("XDG_DATA_HOME", (base + "/data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (base + "/config").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (base + "/sysdata").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (base + "/sysconfig").c_str(), 1);
        // NOLINTEND(concurrency-mt-unsafe)
        test::ScatoleScriptate boxes;
        ApriDonazione(boxes, *systemBrowserPlatform(), 0);
        for (const Message& m : boxes.mostrate) {
            (void)std::fprintf(stderr, "box: %s\n", m.text.c_str());
        }
        const bool childLeft = ::waitpid(-1, nullptr, WNOHANG) != -1 || errno != ECHILD;
        ::_exit(boxes.mostrate.empty() && !childLeft ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(status, 0) << "a box was shown or a child process was left behind";
    EXPECT_FALSE(fs::exists(posix::ExecutableDirectory() + "/test.htm"));
    // The browser is not waited for.
    for (int i = 0; i < 200 && !fs::exists(uscita); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(LeggiFile(uscita), std::string("1\n[") + testi::IndirizzoDonazione + "]\n");
}

} // namespace
} // namespace trivanta
