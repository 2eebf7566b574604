#include "Donazione.h"

#include "PosixFiles.h"
#include "ProvaDonazione.h"
#include "Testi.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace trivanta {
namespace {

namespace fs = std::filesystem;

const std::string Indirizzo = "https://www.example.org/trivanta/donazione";
const std::string TestoBrowser =
    "Impossibile aprire il browser. Per fare una donazione andare su " + Indirizzo;

Message ErroreAtteso(int number) {
    return Message{"Error " + std::to_string(number) + " (" + std::strerror(number) +
                       ") in procedure LaunchBrowser",
                   std::nullopt, Buttons::Ok, Icon::None};
}

class LaunchBrowserTest : public ::testing::Test {
protected:
    CartellaTemporanea cartella;
    ScatoleRegistrate boxes;
    PiattaformaProva platform{cartella.path()};

    fs::path fileProva() const { return cartella.path() / "test.htm"; }
};

TEST_F(LaunchBrowserTest, emptyAddressTouchesNothingAndShowsNothing) {
    LaunchBrowser("", 7, boxes, platform);

    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(platform.calls.empty());
    EXPECT_TRUE(fs::is_empty(cartella.path()));
}

TEST_F(LaunchBrowserTest, browserGetsExactlyTheAddressAndTheFileIsGoneAfterwards) {
    platform.found = {ShellOk, "/usr/bin/browser"};

    LaunchBrowser(Indirizzo, 1234, boxes, platform);

    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(platform.fileAsked, fileProva().string());
    EXPECT_EQ(platform.contentsWhenAsked, "\"<HTML> <\\HTML>\"\r\n");
    ASSERT_EQ(platform.launches.size(), 1u);
    EXPECT_EQ(platform.launches[0].owner, 1234);
    EXPECT_EQ(platform.launches[0].executable, "/usr/bin/browser");
    EXPECT_EQ(platform.launches[0].address, Indirizzo);
    EXPECT_FALSE(fs::exists(fileProva()));
    EXPECT_EQ(platform.calls,
              (std::vector<std::string>{"directory", "write", "find", "launch", "delete"}));
}

TEST_F(LaunchBrowserTest, anOldFileIsReplacedNotAppendedTo) {
    { std::ofstream(fileProva()) << "a much longer file left over from an earlier run\n"; }
    platform.found = {ShellOk, "/usr/bin/browser"};

    LaunchBrowser(Indirizzo, 0, boxes, platform);

    EXPECT_EQ(platform.contentsWhenAsked, "\"<HTML> <\\HTML>\"\r\n");
    EXPECT_FALSE(fs::exists(fileProva()));
}

// Result codes of the two shell steps and the one box each pair must give.
struct EsitoShell {
    ShellResult find;
    ShellResult launch;
    bool launched;
    std::optional<Message> box;
};

std::ostream& operator<<(std::ostream& out, const EsitoShell& e) {
    return out << "find=" << e.find << " launch=" << e.launch;
}

const Message NonTrovato{TestoBrowser, "Browser Not Found", Buttons::Ok, Icon::Exclamation};
const Message NonAvviato{TestoBrowser, std::nullopt, Buttons::Ok, Icon::Exclamation};

class ShellResultTest : public LaunchBrowserTest,
                        public ::testing::WithParamInterface<EsitoShell> {};

TEST_P(ShellResultTest, eachOutcomeGivesItsOneBoxAndTheFileIsAlwaysDeleted) {
    const EsitoShell& e = GetParam();
    platform.found = {e.find, "/usr/bin/browser"};
    platform.launchResult = e.launch;

    LaunchBrowser(Indirizzo, 0, boxes, platform);

    EXPECT_EQ(platform.launches.size(), e.launched ? 1u : 0u);
    if (e.box) {
        EXPECT_EQ(boxes.shown, std::vector<Message>{*e.box});
        EXPECT_TRUE(boxes.shown.front().text.ends_with(Indirizzo));
    } else {
        EXPECT_TRUE(boxes.shown.empty());
    }
    EXPECT_FALSE(fs::exists(fileProva()));
}

INSTANTIATE_TEST_SUITE_P(
    AtAndAroundThirtyTwo, ShellResultTest,
    ::testing::Values(EsitoShell{0, 42, false, NonTrovato},  // out of memory
                      EsitoShell{2, 42, false, NonTrovato},  // file not found
                      EsitoShell{31, 42, false, NonTrovato}, // no association
                      EsitoShell{32, 42, false, NonTrovato}, // 32 is still a failure
                      EsitoShell{33, 0, true, NonAvviato}, EsitoShell{33, 31, true, NonAvviato},
                      EsitoShell{33, 32, true, NonAvviato}, EsitoShell{33, 33, true, std::nullopt},
                      EsitoShell{42, 42, true, std::nullopt}));

TEST(ShellSucceeded, onlyResultsAboveThirtyTwoAreSuccess) {
    for (ShellResult r : {-1, 0, 2, 31, 32}) {
        EXPECT_FALSE(ShellSucceeded(r)) << r;
    }
    for (ShellResult r : {33, 42, 0x7fff'ffff}) {
        EXPECT_TRUE(ShellSucceeded(r)) << r;
    }
}

// What a link, a pipe or a second name at the file's place must never lose.
enum class Intruso { LinkToFile, DanglingLink, HardLink, Fifo };

class NonSeguireTest : public LaunchBrowserTest, public ::testing::WithParamInterface<Intruso> {};

TEST_P(NonSeguireTest, refusesWhatIsNotOurOwnFileAndLeavesItAlone) {
    const fs::path vittima = cartella.path() / "vittima.txt";
    int errore = 0;
    switch (GetParam()) {
    case Intruso::LinkToFile:
        std::ofstream(vittima) << "precious";
        fs::create_symlink(vittima, fileProva());
        errore = ELOOP;
        break;
    case Intruso::DanglingLink:
        fs::create_symlink(vittima, fileProva());
        errore = ELOOP;
        break;
    case Intruso::HardLink:
        std::ofstream(vittima) << "precious";
        fs::create_hard_link(vittima, fileProva());
        errore = EEXIST;
        break;
    case Intruso::Fifo:
        ASSERT_EQ(::mkfifo(fileProva().c_str(), 0600), 0);
        errore = ENXIO; // no reader: opening does not wait for one
        break;
    }
    platform.found = {ShellOk, "/usr/bin/browser"};

    LaunchBrowser(Indirizzo, 0, boxes, platform);

    EXPECT_EQ(boxes.shown, std::vector<Message>{ErroreAtteso(errore)});
    EXPECT_TRUE(platform.launches.empty());
    EXPECT_TRUE(fs::exists(fs::symlink_status(fileProva()))) << "the intruder was removed";
    if (GetParam() == Intruso::DanglingLink) {
        EXPECT_FALSE(fs::exists(vittima)) << "the link's target was created";
    } else if (GetParam() != Intruso::Fifo) {
        EXPECT_EQ(LeggiFile(vittima), "precious");
    }
}

std::string NomeIntruso(Intruso intruso) {
    switch (intruso) {
    case Intruso::LinkToFile:
        return "LinkToFile";
    case Intruso::DanglingLink:
        return "DanglingLink";
    case Intruso::HardLink:
        return "HardLink";
    case Intruso::Fifo:
        return "Fifo";
    }
    return "Unknown";
}

void PrintTo(Intruso intruso, std::ostream* out) {
    *out << NomeIntruso(intruso);
}

INSTANTIATE_TEST_SUITE_P(AtTheFilesPlace, NonSeguireTest,
                         ::testing::Values(Intruso::LinkToFile, Intruso::DanglingLink,
                                           Intruso::HardLink, Intruso::Fifo),
                         [](const auto& info) { return NomeIntruso(info.param); });

TEST_F(LaunchBrowserTest, missingDirectoryGivesTheErrorMessageNotBrowserNotFound) {
    PiattaformaProva altrove(cartella.path() / "gone");
    altrove.found = {ShellOk, "/usr/bin/browser"};

    LaunchBrowser(Indirizzo, 0, boxes, altrove);

    EXPECT_EQ(boxes.shown, std::vector<Message>{ErroreAtteso(ENOENT)});
    EXPECT_EQ(altrove.calls, (std::vector<std::string>{"directory", "write"}));
}

// Root may write anywhere, so the attempt runs in a child without privileges.
TEST_F(LaunchBrowserTest, unwritableDirectoryGivesTheErrorMessageNotBrowserNotFound) {
    fs::permissions(cartella.path(), fs::perms::owner_read | fs::perms::owner_exec |
                                         fs::perms::group_read | fs::perms::group_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
    platform.found = {ShellOk, "/usr/bin/browser"};

    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipe[0]);
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            ::_exit(2);
        }
        LaunchBrowser(Indirizzo, 0, boxes, platform);
        std::string report;
        for (const Message& m : boxes.shown) {
            report += m.text + (m.title ? "|" + *m.title : "|-") + "\n";
        }
        report += platform.launches.empty() ? "not launched\n" : "launched\n";
        const bool ok =
            ::write(pipe[1], report.data(), report.size()) == static_cast<ssize_t>(report.size());
        ::_exit(ok ? 0 : 3);
    }
    ::close(pipe[1]);
    const std::string report = LeggiTutto(pipe[0]);
    ::close(pipe[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    EXPECT_EQ(report, ErroreAtteso(EACCES).text + "|-\nnot launched\n");
    EXPECT_FALSE(fs::exists(fileProva()));
}

TEST_F(LaunchBrowserTest, laterStepsThatFailShowTheirOwnNumberAndDescription) {
    platform.found = {ShellOk, "/usr/bin/browser"};
    platform.findError = PlatformError(5, "Input/output error");

    LaunchBrowser(Indirizzo, 0, boxes, platform);

    const Message atteso{"Error 5 (Input/output error) in procedure LaunchBrowser", std::nullopt,
                         Buttons::Ok, Icon::None};
    EXPECT_EQ(boxes.shown, std::vector<Message>{atteso});
    EXPECT_TRUE(platform.launches.empty());
    // The course ends at the failure, so nothing is deleted.
    EXPECT_TRUE(fs::exists(fileProva()));
}

TEST_F(LaunchBrowserTest, aFileThatCannotBeDeletedIsReportedAfterTheLaunch) {
    platform.found = {ShellOk, "/usr/bin/browser"};
    platform.beforeDelete = [this] { fs::remove(fileProva()); };

    LaunchBrowser(Indirizzo, 0, boxes, platform);

    EXPECT_EQ(platform.launches.size(), 1u);
    EXPECT_EQ(boxes.shown, std::vector<Message>{ErroreAtteso(ENOENT)});
}

TEST(ApriDonazione, opensOurHttpsPageUnderExampleOrgFromTheGivenWindow) {
    CartellaTemporanea cartella;
    ScatoleRegistrate boxes;
    PiattaformaProva platform(cartella.path());
    platform.found = {ShellOk, "/usr/bin/browser"};

    ApriDonazione(boxes, platform, 99);

    ASSERT_EQ(platform.launches.size(), 1u);
    EXPECT_EQ(platform.launches[0].owner, 99);
    EXPECT_EQ(platform.launches[0].address, testi::IndirizzoDonazione);
    const std::string address = platform.launches[0].address;
    ASSERT_TRUE(address.starts_with("https://")) << address;
    const std::string host = address.substr(8, address.find('/', 8) - 8);
    EXPECT_TRUE(host == "example.org" || host.ends_with(".example.org")) << host;
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
} // namespace trivanta
