// The real platform layer against a real desktop database: a stub browser is
// registered for web pages in private XDG directories and the program is run
// as a child process that reads them.
#include "ProvaDonazione.h"
#include "Testi.h"

#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace trivanta {
namespace {

namespace fs = std::filesystem;

const std::string TestoBrowser =
    std::string("Impossibile aprire il browser. Per fare una donazione andare su ") +
    testi::IndirizzoDonazione;

enum class Browser { Working, NoneRegistered, NotInstalled, CannotStart, LinkInThePlace };

struct Caso {
    const char* name;
    Browser browser;
    std::string boxes; // as the program prints them
    bool stubRuns;
};

std::ostream& operator<<(std::ostream& out, const Caso& c) {
    return out << c.name;
}
std::string NomeCaso(const ::testing::TestParamInfo<Caso>& info) {
    return info.param.name;
}

class EsecuzioneReale : public ::testing::TestWithParam<Caso> {
protected:
    CartellaTemporanea cartella;
    fs::path base() const { return cartella.path(); }
    fs::path uscitaStub() const { return base() / "stub-argv"; }

    void scrivi(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }

    // The stub writes the count of its arguments and each of them, then
    // renames the file so that the test never reads it half written.
    void registraBrowser(const std::string& interpreter, bool install) {
        const fs::path stub = base() / "stub browser";
        if (install) {
            scrivi(stub, "#!" + interpreter + "\n" + "out='" + uscitaStub().string() +
                             "'\n"
                             "{ printf '%s\\n' \"$#\"; printf '[%s]\\n' \"$@\"; } > \"$out.tmp\"\n"
                             "mv \"$out.tmp\" \"$out\"\n");
            fs::permissions(stub, fs::perms::owner_all);
        }
        scrivi(base() / "data/applications/trivanta-stub.desktop",
               "[Desktop Entry]\nType=Application\nName=Stub browser\n"
               "Exec=\"" +
                   stub.string() + "\" %u\nMimeType=text/html;\n");
        scrivi(base() / "config/mimeapps.list",
               "[Default Applications]\ntext/html=trivanta-stub.desktop\n");
    }

    std::vector<std::string> ambiente() const {
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry(*e);
            if (!entry.starts_with("XDG_") && !entry.starts_with("HOME=")) {
                env.push_back(entry);
            }
        }
        env.push_back("HOME=" + base().string());
        env.push_back("XDG_DATA_HOME=" + (base() / "data").string());
        env.push_back("XDG_CONFIG_HOME=" + (base() / "config").string());
        // The system's MIME database, but none of the system's applications.
        env.push_back("XDG_DATA_DIRS=" + (base() / "sysdata").string());
        env.push_back("XDG_CONFIG_DIRS=" + (base() / "sysconfig").string());
        return env;
    }

    // Runs a copy of the program from its own directory, so that its
    // throw-away file is private to this test; returns what it printed.
    std::string esegui() {
        fs::create_directories(base() / "sysdata");
        fs::create_directories(base() / "sysconfig");
        fs::create_directory_symlink("/usr/share/mime", base() / "sysdata/mime");
        const fs::path program = base() / "bin/donazione_real_run";
        fs::create_directories(program.parent_path());
        fs::copy_file(DONAZIONE_PROVA_REALE, program);

        std::vector<std::string> env = ambiente();
        std::vector<char*> envp;
        for (std::string& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        std::string path = program.string();
        char* argv[] = {path.data(), nullptr};

        int pipe[2];
        if (::pipe(pipe) != 0) {
            throw std::runtime_error("pipe failed");
        }
        const pid_t child = ::fork();
        if (child == 0) {
            ::dup2(pipe[1], STDOUT_FILENO);
            ::close(pipe[0]);
            ::close(pipe[1]);
            ::execve(argv[0], argv, envp.data());
            ::_exit(127);
        }
        ::close(pipe[1]);
        std::string printed = LeggiTutto(pipe[0]);
        ::close(pipe[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        return printed;
    }

    // The browser is not waited for, so give it a while to write.
    bool attendiStub() const {
        for (int i = 0; i < 200 && !fs::exists(uscitaStub()); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return fs::exists(uscitaStub());
    }
};

TEST_P(EsecuzioneReale, theRegisteredBrowserGetsExactlyTheAddressOrTheUserIsTold) {
    const Caso& c = GetParam();
    switch (c.browser) {
    case Browser::Working:
        registraBrowser("/bin/sh", true);
        break;
    case Browser::NoneRegistered:
        break;
    case Browser::NotInstalled:
        registraBrowser("/bin/sh", false);
        break;
    case Browser::CannotStart:
        registraBrowser("/nonexistent/interpreter", true);
        break;
    case Browser::LinkInThePlace:
        // Also proves that the file goes beside the executable.
        registraBrowser("/bin/sh", true);
        fs::create_directories(base() / "bin");
        fs::create_symlink(base() / "victim", base() / "bin/test.htm");
        break;
    }

    const std::string printed = esegui();

    EXPECT_EQ(printed, c.boxes + "no child left\n");
    if (c.browser == Browser::LinkInThePlace) {
        EXPECT_TRUE(fs::is_symlink(base() / "bin/test.htm"));
        EXPECT_FALSE(fs::exists(base() / "victim"));
    } else {
        EXPECT_FALSE(fs::exists(base() / "bin/test.htm"));
    }
    if (c.stubRuns) {
        ASSERT_TRUE(attendiStub()) << "the browser was not started";
        EXPECT_EQ(LeggiFile(uscitaStub()), std::string("1\n[") + testi::IndirizzoDonazione + "]\n");
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_FALSE(fs::exists(uscitaStub()));
    }
}

const std::string NonTrovato = "Browser Not Found|2|" + TestoBrowser + "\n";
const std::string NonAvviato = "-|2|" + TestoBrowser + "\n";
const std::string ErroreLink = "-|0|Error " + std::to_string(ELOOP) + " (" + std::strerror(ELOOP) +
                               ") in procedure LaunchBrowser\n";

INSTANTIATE_TEST_SUITE_P(
    ThroughGio, EsecuzioneReale,
    ::testing::Values(Caso{"Working", Browser::Working, "", true},
                      Caso{"NoneRegistered", Browser::NoneRegistered, NonTrovato, false},
                      Caso{"NotInstalled", Browser::NotInstalled, NonTrovato, false},
                      Caso{"CannotStart", Browser::CannotStart, NonAvviato, false},
                      Caso{"LinkInThePlace", Browser::LinkInThePlace, ErroreLink, false}),
    NomeCaso);

} // namespace
} // namespace trivanta
