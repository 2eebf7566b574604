#include "Donazione.h"

#include "Browser.h"
#include "PosixFiles.h"
#include "Scatole.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trivanta {
namespace {

namespace fs = std::filesystem;

// Not the donation page: the address given must be the one used. What a shell
// would act on is in it, so that a shell anywhere on the way shows.
const std::string Indirizzo = "https://example.org/altra?a=1&b=$(id);c='d'";
const std::string Testo =
    "Impossibile aprire il browser. Per fare una donazione andare su " + Indirizzo;
const std::string Contenuto = "\"<HTML> <\\HTML>\"\r\n";

Message Errore(int number, const std::string& description) {
    return {"Error " + std::to_string(number) + " (" + description + ") in procedure LaunchBrowser",
            std::nullopt, Buttons::Ok, Icon::None};
}

std::string LeggiFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Root may write anywhere: what needs a closed folder is made and run as nobody.
const uid_t Io = ::geteuid(), Nessuno = Io == 0 ? 65534 : Io;

// A fresh folder of the given user, as whom the suite runs until the folder
// is removed with all it holds. Running on as the wrong user would be worse
// than stopping.
struct Radice {
    std::string path = (fs::temp_directory_path() / "trivanta-prova-XXXXXX").string();

    explicit Radice(uid_t utente = Io) {
        if (::mkdtemp(path.data()) == nullptr ||
            ::chown(path.c_str(), utente, static_cast<gid_t>(-1)) != 0 || ::seteuid(utente) != 0) {
            std::abort();
        }
    }
    ~Radice() {
        if (::seteuid(Io) != 0) {
            std::abort();
        }
        std::error_code ignorato;
        fs::remove_all(path, ignorato);
    }
};

// The scripted shell with the file steps of this system, in the folders
// "programma" and "tmp" of a root and the given runtime folder. `trovato` is
// the throw-away file as the shell found it: its path, its contents.
struct FileVeri final : test::BrowserScriptato {
    FileVeri(const fs::path& r, fs::path runtime)
        : programma(r / "programma"), runtime(std::move(runtime)), temporanea(r / "tmp") {}
    const fs::path programma, runtime, temporanea;
    std::string trovato;

    std::string programDirectory() override { return programma; }
    std::string privateDirectory() override {
        return posix::PrivateDirectory(runtime.c_str(), temporanea.c_str());
    }
    void writeFile(const std::string& path, std::string_view contents) override {
        posix::WriteFileNoFollow(path, contents);
    }
    FoundExecutable findExecutable(const std::string& file) override {
        trovato = file + "\n" + LeggiFile(file);
        return BrowserScriptato::findExecutable(file);
    }
    void deleteFile(const std::string& path) override { posix::DeleteFile(path); }
    void removeDirectory(const std::string& path) override { posix::RemoveDirectory(path); }
};

// Where the throw-away file goes, what is refused there, and the box that the
// shell's answers decide: above 32 is success for both calls. An installed
// program's folder is closed to its user, by permission or by a read-only
// mount: the file goes to a folder of the user's own in the session's runtime
// folder, else in the temporary one. The rows that expect the temporary one
// give a relative runtime folder, which counts as none. What stands at the
// file's place, or at the private folder's when the program's is closed, is
// neither written through nor used: a link, a hard link, a pipe, a folder
// that the group or the others may enter, or another user's.
TEST(LaunchBrowser, besideTheProgramElseInAFolderOfTheUsersOwnAndNeverThroughALink) {
    enum Programma { Aperta, Chiusa, SolaLettura };
    enum Cosa { Niente, Vecchio, Link, HardLink, Pipe, DelGruppo, DegliAltri, Altrui };
    const Message nonTrovato{Testo, "Browser Not Found", Buttons::Ok, Icon::Exclamation};
    const Message nonAvviato{Testo, std::nullopt, Buttons::Ok, Icon::Exclamation};
    const struct {
        Programma programma;
        Cosa cosa;        // put there beforehand
        std::string dove; // where the shell finds the file, below the root
        std::vector<Message> boxes;
        ShellResult ricerca = 33, avvio = 33;
        std::string indirizzo = Indirizzo;
    } casi[] = {
        {Aperta, Vecchio, "programma", {nonTrovato}, 32},
        {Aperta, Niente, "programma", {nonAvviato}, 33, 32},
        {Chiusa, Niente, "", {}, 33, 33, ""},
        {Chiusa, Niente, "runtime/trivanta", {}},
        {Chiusa, Niente, "tmp/trivanta-" + std::to_string(Nessuno), {}},
        {SolaLettura, Niente, "runtime/trivanta", {}},
        {Aperta, Link, "", {Errore(40, "Too many levels of symbolic links")}},
        {Aperta, HardLink, "", {Errore(17, "File exists")}},
        {Aperta, Pipe, "", {Errore(17, "File exists")}},
        {Chiusa, Link, "", {Errore(40, "Too many levels of symbolic links")}},
        {Chiusa, DelGruppo, "", {Errore(1, "Operation not permitted")}},
        {Chiusa, DegliAltri, "", {Errore(1, "Operation not permitted")}},
        {SolaLettura, Altrui, "", {Errore(1, "Operation not permitted")}},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - casi);
        const bool montata = c.programma == SolaLettura;
        if (montata && Io != 0) {
            continue; // only root can mount, and only a mount keeps root out
        }
        const Radice radice(montata ? Io : Nessuno);
        const fs::path r = radice.path, vittima = r / "vittima";
        const fs::path posto =
            r / (c.programma == Aperta ? "programma/test.htm" : "runtime/trivanta");
        for (const char* cartella : {"programma", "runtime", "tmp"}) {
            fs::create_directory(r / cartella);
        }
        std::ofstream(vittima) << "precious";
        std::fstream lettore; // a pipe with a reader takes what is written
        const std::function<void()> metti[] = {
            [] {},
            // From an earlier run, longer: emptied, not appended to.
            [&] { std::ofstream(posto) << "left over from an earlier run\n"; },
            [&] { fs::create_symlink(vittima, posto); },
            [&] { fs::create_hard_link(vittima, posto); },
            [&] {
                ::mkfifo(posto.c_str(), 0600), lettore.open(posto, std::ios::in | std::ios::out);
            },
            [&] { fs::create_directory(posto), fs::permissions(posto, fs::perms(0750)); },
            [&] { fs::create_directory(posto), fs::permissions(posto, fs::perms(0705)); },
            // Nobody's, while root, who may write in it, runs the row.
            [&] {
                fs::create_directory(posto), fs::permissions(posto, fs::perms::owner_all);
                ASSERT_EQ(::chown(posto.c_str(), Nessuno, static_cast<gid_t>(-1)), 0);
            },
        };
        metti[c.cosa]();
        FileVeri platform(r, c.dove.starts_with("tmp") ? "runtime" : r / "runtime");
        platform.risultatoRicerca = c.ricerca;
        platform.risultatoAvvio = c.avvio;
        const char* prog = platform.programma.c_str();
        if (c.programma == Chiusa) {
            fs::permissions(prog, fs::perms::owner_read | fs::perms::owner_exec);
        }
        ASSERT_TRUE(!montata || (::mount(prog, prog, nullptr, MS_BIND, nullptr) == 0 &&
                                 ::mount(nullptr, prog, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                                         nullptr) == 0));
        test::ScatoleScriptate boxes;
        LaunchBrowser(c.indirizzo, 0, boxes, platform);
        if (montata) {
            ::umount(prog);
        }

        EXPECT_EQ(boxes.mostrate, c.boxes);
        EXPECT_EQ(platform.trovato,
                  c.dove.empty() ? "" : (r / c.dove / "test.htm").string() + "\n" + Contenuto);
        EXPECT_EQ(platform.avviati, decltype(platform.avviati)(!c.dove.empty() && c.ricerca > 32,
                                                               {platform.eseguibile, c.indirizzo}));
        EXPECT_EQ(LeggiFile(vittima), "precious");
        // Nothing left but the three folders, the victim and what was put there.
        EXPECT_EQ(std::distance(fs::recursive_directory_iterator(r), {}),
                  c.cosa <= Vecchio ? 4 : 5);
    }
}

// Real runs through GIO in a desktop of their own, with a stub browser for web
// pages under the shapes its entry may take: wrapped in env with a list of
// URIs, with the markers of flatpak's file forwarding, taking only local
// files, in a terminal that is not there.
TEST(EsecuzioneReale, theEntrysCommandStartsTheBrowserWithTheAddressOnly) {
    const Radice radice;
    const std::string base = radice.path, stub = base + "/stub browser";
    // A blank in its path, which the entries must quote. It writes down its
    // arguments and one variable beside itself, whole or not at all.
    std::ofstream(stub)
        << "#!/bin/sh\n{ printf '[%s]\\n' \"$@\"; echo \"TRIVANTA_PROVA=$TRIVANTA_PROVA\"; "
           "} >\"$0.tmp\" && exec /bin/mv \"$0.tmp\" \"$0.argv\"\n";
    fs::permissions(stub, fs::perms::owner_all);
    std::ofstream(base + "/mimeapps.list") << "[Default Applications]\ntext/html=stub.desktop\n";
    fs::create_directory(base + "/applications");
    // The system's MIME types, none of its applications.
    fs::create_directory_symlink("/usr/share/mime", base + "/mime");
    // Nothing of this session but the sanitizers' settings, and no program on
    // the path: no terminal emulator of this machine.
    // NOLINTNEXTLINE(concurrency-mt-unsafe): the suite has one thread
    ::setenv("TRIVANTA_INDIRIZZO", Indirizzo.c_str(), 1);
    const std::string comando =
        "cd '" + base +
        R"(' && env -i PATH="$PWD" HOME="$PWD" XDG_DATA_HOME="$PWD" )"
        R"(XDG_CONFIG_HOME="$PWD" XDG_DATA_DIRS="$PWD" ASAN_OPTIONS="$ASAN_OPTIONS" )"
        R"(LSAN_OPTIONS="$LSAN_OPTIONS" UBSAN_OPTIONS="$UBSAN_OPTIONS" ')" TRIVANTA_LANCIA
        R"(' "$TRIVANTA_INDIRIZZO" >boxes)";
    const struct {
        std::string exec;             // and any key after it
        std::string boxes, argomenti; // what the stub wrote down, if started
    } casi[] = {
        {"/usr/bin/env TRIVANTA_PROVA=valore \"" + stub + "\" --new-window %U", "",
         "[--new-window]\n[" + Indirizzo + "]\nTRIVANTA_PROVA=valore\n"},
        {"\"" + stub + "\" --file-forwarding @@u %u @@", "",
         "[--file-forwarding]\n[@@u]\n[" + Indirizzo + "]\n[@@]\nTRIVANTA_PROVA=\n"},
        {"\"" + stub + "\" %f", "Browser Not Found|" + Testo + "\n", ""},
        {"\"" + stub + "\" %u\nTerminal=true", "-|" + Testo + "\n", ""},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.exec);
        fs::remove(stub + ".argv");
        std::ofstream(base + "/applications/stub.desktop")
            << "[Desktop Entry]\nType=Application\nName=Stub\nExec=" + c.exec +
                   "\nMimeType=text/html;\n";
        // NOLINTNEXTLINE(concurrency-mt-unsafe): the suite has one thread
        EXPECT_EQ(std::system(comando.c_str()), 0) << "the run failed or left a child behind";
        EXPECT_EQ(LeggiFile(base + "/boxes"), c.boxes);
        // The browser is not waited for.
        for (int i = 0; i < 200 && !c.argomenti.empty() && !fs::exists(stub + ".argv"); ++i) {
            ::usleep(50000);
        }
        EXPECT_EQ(LeggiFile(stub + ".argv"), c.argomenti);
    }
}

} // namespace
} // namespace trivanta
