#include "Donazione.h"

#include "Browser.h"
#include "Cartella.h"
#include "Scatole.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <optional>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace trivanta {
namespace {

namespace fs = std::filesystem;
using test::CartellaTemporanea;
using test::LeggiFile;

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

// Root writes anywhere: a run that needs a closed folder is made as nobody.
const bool Root = ::geteuid() == 0;
constexpr uid_t Nessuno = 65534;

// Takes the user that the run is made as for as long as it lives.
class ComeUtente {
public:
    explicit ComeUtente(uid_t uid) : cambia_(Root && uid != 0) {
        if (cambia_ && ::seteuid(uid) != 0) {
            throw std::runtime_error("seteuid failed");
        }
    }
    ComeUtente(const ComeUtente&) = delete;
    ComeUtente& operator=(const ComeUtente&) = delete;
    ~ComeUtente() {
        if (cambia_ && ::seteuid(0) != 0) {
            std::abort(); // every later test would run as nobody
        }
    }

private:
    bool cambia_;
};

// A folder of the given user with the given mode, inside a root that
// everyone may pass through.
fs::path Cartella(const fs::path& path, uid_t uid, unsigned mode = 0700) {
    fs::create_directories(path);
    if (Root && ::chown(path.c_str(), uid, static_cast<gid_t>(-1)) != 0) {
        throw std::runtime_error("chown failed");
    }
    fs::permissions(path, static_cast<fs::perms>(mode));
    return path;
}

// The folder mounted read-only onto itself for as long as this lives.
class MontaturaSolaLettura {
public:
    explicit MontaturaSolaLettura(const fs::path& path) : path_(path) {
        if (::mount(path_.c_str(), path_.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
                0) {
            throw std::runtime_error("mount failed");
        }
    }
    MontaturaSolaLettura(const MontaturaSolaLettura&) = delete;
    MontaturaSolaLettura& operator=(const MontaturaSolaLettura&) = delete;
    ~MontaturaSolaLettura() { ::umount(path_.c_str()); }

private:
    fs::path path_;
};

std::size_t Voci(const fs::path& dir) {
    return fs::exists(dir) ? static_cast<std::size_t>(std::distance(fs::directory_iterator(dir),
                                                                    fs::directory_iterator{}))
                           : 0;
}

// The program's folder, the session's runtime folder and the temporary
// folder of one request, each empty and owned by the user it is made as.
struct Luoghi {
    explicit Luoghi(uid_t u) : utente(u) {
        fs::permissions(radice.path(), static_cast<fs::perms>(0755));
        Cartella(programma, utente);
        Cartella(runtime, utente);
        Cartella(temporanea, utente, 01777);
    }
    uid_t utente;
    CartellaTemporanea radice;
    fs::path programma = radice.path() / "programma", runtime = radice.path() / "runtime",
             temporanea = radice.path() / "tmp";
};

TEST(LaunchBrowser, emptyAddressWritesNoFileAndShowsNoBox) {
    CartellaTemporanea cartella;
    test::ScatoleScriptate boxes;
    test::BrowserScriptato platform(cartella.path());
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
        EXPECT_EQ(platform.contenutoAllaRicerca, Contenuto);
        EXPECT_EQ(platform.avviati,
                  decltype(platform.avviati)(c.launches, {platform.eseguibile, Indirizzo}));
        EXPECT_FALSE(fs::exists(fs::symlink_status(cartella.path() / "test.htm")));
    }
}

// Where the throw-away file goes and what is refused there. An installed
// program's folder is closed to its user: the file goes to a folder of the
// user's own, and only when that is closed too comes the error box. What
// someone put at the file's place, at either place, is neither written
// through nor replaced.
TEST(LaunchBrowser, besideTheProgramElseInTheUsersOwnFolderAndNeverThroughALink) {
    enum class Programma { Aperta, Chiusa, SolaLettura };
    enum class Runtime { Unset, Set, Relative, Closed };
    enum class Cosa { Niente, Link, Pipe, HardLink, FolderLink, FolderOpen };
    using enum Programma;
    using enum Runtime;
    using enum Cosa;
    const std::string tmpUtente = "tmp/trivanta-" + std::to_string(Root ? Nessuno : ::geteuid());
    const Message negato = Errore(13, "Permission denied"),
                  link = Errore(40, "Too many levels of symbolic links"),
                  esiste = Errore(17, "File exists");
    const struct {
        Programma programma;
        Runtime runtime;
        bool tmpChiusa;
        Cosa cosa;        // put at the file's place beforehand
        std::string dove; // that place, below the root
        std::optional<Message> box;
    } casi[] = {
        {Aperta, Set, false, Niente, "programma", {}},
        {Chiusa, Set, false, Niente, "runtime/trivanta", {}},
        {Chiusa, Unset, false, Niente, tmpUtente, {}},
        {Chiusa, Relative, false, Niente, tmpUtente, {}},
        {SolaLettura, Set, false, Niente, "runtime/trivanta", {}},
        {Chiusa, Closed, false, Niente, "", negato},
        {Chiusa, Unset, true, Niente, "", negato},
        {Aperta, Set, false, Link, "programma", link},
        {Aperta, Set, false, Pipe, "programma", esiste},
        {Aperta, Set, false, HardLink, "programma", esiste},
        {Chiusa, Set, false, Link, "runtime/trivanta", link},
        {Chiusa, Set, false, Pipe, "runtime/trivanta", esiste},
        {Chiusa, Set, false, HardLink, "runtime/trivanta", esiste},
        {Chiusa, Set, false, FolderLink, "runtime/trivanta", link},
        {Chiusa, Set, false, FolderOpen, "runtime/trivanta", Errore(1, "Operation not permitted")},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(::testing::Message() << "row " << &c - casi);
        if (c.programma == SolaLettura && !Root) {
            continue; // only root can mount a folder read-only
        }
        Luoghi luoghi(c.programma == SolaLettura || !Root ? ::geteuid() : Nessuno);
        fs::permissions(luoghi.programma,
                        static_cast<fs::perms>(c.programma == Chiusa ? 0555 : 0700));
        fs::permissions(luoghi.runtime, static_cast<fs::perms>(c.runtime == Closed ? 0555 : 0700));
        fs::permissions(luoghi.temporanea, static_cast<fs::perms>(c.tmpChiusa ? 0555 : 01777));
        // The user of the run could write the victim: only the refusal keeps it.
        const fs::path vittima = luoghi.radice.path() / "vittima";
        std::ofstream(vittima) << "precious";
        fs::permissions(vittima, static_cast<fs::perms>(0666));
        const fs::path altrove = Cartella(luoghi.radice.path() / "altrove", luoghi.utente);
        const fs::path cartella = luoghi.radice.path() / c.dove, posto = cartella / "test.htm";
        if (c.cosa != Niente && cartella != luoghi.programma) {
            c.cosa == FolderLink
                ? fs::create_directory_symlink(altrove, cartella)
                : void(Cartella(cartella, luoghi.utente, c.cosa == FolderOpen ? 0777 : 0700));
        }
        int lettore = -1; // a pipe with a reader takes what is written
        if (c.cosa == Link) {
            fs::create_symlink(vittima, posto);
        } else if (c.cosa == HardLink) {
            fs::create_hard_link(vittima, posto);
        } else if (c.cosa == Pipe) {
            ASSERT_EQ(::mkfifo(posto.c_str(), 0666), 0);
            fs::permissions(posto, static_cast<fs::perms>(0666)); // past the umask
            lettore = ::open(posto.c_str(), O_RDONLY | O_NONBLOCK);
        }
        std::optional<MontaturaSolaLettura> montata;
        if (c.programma == SolaLettura) {
            montata.emplace(luoghi.programma);
        }
        test::ScatoleScriptate boxes;
        test::BrowserScriptato platform(luoghi.programma);
        platform.runtime = c.runtime == Unset      ? fs::path()
                           : c.runtime == Relative ? fs::path("runtime")
                                                   : luoghi.runtime;
        platform.temporanea = luoghi.temporanea;
        struct stat trovata {}; // the folder as the browser would find it
        platform.prima = [&](test::BrowserScriptato::Passo passo) {
            if (passo == test::BrowserScriptato::Passo::Avvia) {
                ::lstat(fs::path(platform.fileAllaRicerca).parent_path().c_str(), &trovata);
            }
        };
        {
            const ComeUtente come(luoghi.utente);
            LaunchBrowser(Indirizzo, 0, boxes, platform);
        }
        montata.reset();

        if (c.box) {
            EXPECT_EQ(boxes.mostrate, std::vector<Message>{*c.box});
            EXPECT_TRUE(platform.avviati.empty());
        } else {
            EXPECT_TRUE(boxes.mostrate.empty());
            EXPECT_EQ(fs::path(platform.fileAllaRicerca), posto);
            EXPECT_EQ(platform.contenutoAllaRicerca, Contenuto);
            EXPECT_EQ(platform.avviati,
                      decltype(platform.avviati)(1, {platform.eseguibile, Indirizzo}));
            EXPECT_EQ(trovata.st_uid, luoghi.utente);
            EXPECT_TRUE(cartella == luoghi.programma || (trovata.st_mode & 07777) == 0700);
        }
        EXPECT_EQ(LeggiFile(vittima), "precious");
        EXPECT_TRUE(fs::is_empty(altrove));
        if (c.cosa == Niente) { // nothing left anywhere, not even the private folder
            EXPECT_EQ(Voci(luoghi.programma) + Voci(luoghi.runtime) + Voci(luoghi.temporanea), 0u);
        }
        if (lettore >= 0) {
            char byte = 0;
            EXPECT_EQ(::read(lettore, &byte, 1), 0) << "something was written into the pipe";
            ::close(lettore);
        }
        EXPECT_TRUE(c.cosa != Link || fs::is_symlink(posto));
        EXPECT_TRUE(c.cosa != HardLink || fs::hard_link_count(vittima) == 2);
    }
}

// The same program the window uses, run as its own process (GIO reads the
// desktop database once per process) with the given environment; its
// output goes to the file `uscita`. Gives its exit status.
int Esegui(const std::vector<std::string>& ambiente, const std::string& uscita) {
    std::vector<char*> env;
    env.reserve(ambiente.size() + 4);
    for (const std::string& v : ambiente) {
        env.push_back(const_cast<char*>(v.c_str()));
    }
    // The sanitizers' settings of the suite hold for the child as well.
    for (char** v = environ; *v != nullptr; ++v) {
        if (std::string_view(*v).find("SAN_OPTIONS=") != std::string_view::npos) {
            env.push_back(*v);
        }
    }
    env.push_back(nullptr);
    std::string programma = TRIVANTA_LANCIA, indirizzo = Indirizzo;
    char* argv[] = {programma.data(), indirizzo.data(), nullptr};
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_addopen(&azioni, 1, uscita.c_str(), O_WRONLY | O_CREAT, 0600);
    pid_t pid = 0;
    int status = -1;
    if (::posix_spawn(&pid, argv[0], &azioni, nullptr, argv, env.data()) != 0 ||
        ::waitpid(pid, &status, 0) != pid) {
        status = -1;
    }
    posix_spawn_file_actions_destroy(&azioni);
    return status;
}

// Real runs through GIO, with a stub browser registered for web pages in
// private XDG folders under each of the shapes that desktop entries take:
// plain, wrapped in env, with a list of URIs, run by flatpak.
TEST(EsecuzioneReale, theEntrysCommandStartsTheBrowserWithTheAddressOnce) {
    const std::string nonTrovato = "Browser Not Found|" + Testo + "\n";
    const std::string nonAvviato = "-|" + Testo + "\n";
    const struct {
        const char* nome;
        std::string exec; // @STUB@ and @BIN@ stand for the stub and its folder
        bool terminale;
        std::vector<std::string> argomenti; // as the stub gets them
        std::string variabile;
        std::string boxes;
    } casi[] = {
        {"plain", "\"@STUB@\" %u", false, {Indirizzo}, "unset", ""},
        {"env", "env TRIVANTA_PROVA=valore \"@STUB@\" %u", false, {Indirizzo}, "valore", ""},
        {"list of URIs",
         "\"@STUB@\" --new-window %U",
         false,
         {"--new-window", Indirizzo},
         "unset",
         ""},
        {"flatpak",
         "@BIN@/flatpak run --branch=stable --arch=x86_64 \"--command=@STUB@\" "
         "--file-forwarding org.example.Stub @@u %u @@",
         false,
         {Indirizzo},
         "unset",
         ""},
        {"local files only", "\"@STUB@\" %f", false, {}, "", nonTrovato},
        {"no entry", "", false, {}, "", nonTrovato},
        {"in a terminal that is not there", "\"@STUB@\" %u", true, {}, "", nonAvviato},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        CartellaTemporanea cartella;
        const std::string base = cartella.path().string(), uscita = base + "/stub-argv";
        const auto scrivi = [&](const std::string& path, const std::string& text) {
            fs::create_directories(fs::path(base + path).parent_path());
            std::ofstream(base + path) << text;
        };
        const auto sostituisci = [&](std::string text) {
            for (const auto& [da, a] :
                 {std::pair<std::string, std::string>{"@STUB@", base + "/stub browser"},
                  {"@BIN@", base + "/bin"}}) {
                for (std::size_t at = 0; (at = text.find(da)) != std::string::npos;) {
                    text.replace(at, da.size(), a);
                }
            }
            return text;
        };
        // A blank in the stub's path: the entries must quote it. It writes
        // stub-argv beside itself, whole or not at all.
        scrivi("/stub browser",
               "#!/bin/sh\nout=\"${0%/*}/stub-argv\"\n"
               "{ printf '%s\\n' \"$#\"; printf '[%s]\\n' \"$@\"; "
               "printf 'TRIVANTA_PROVA=%s\\n' \"${TRIVANTA_PROVA-unset}\"; } > \"$out.tmp\" "
               "&& exec /bin/mv \"$out.tmp\" \"$out\"\n");
        // flatpak run --file-forwarding hands what stands between @@u and @@
        // to --command as its arguments.
        scrivi("/bin/flatpak",
               "#!/bin/sh\n[ \"$1\" = run ] || exit 2; shift\ncmd=\n"
               "while [ $# -gt 0 ]; do case $1 in --command=*) cmd=${1#--command=};; --*) ;; "
               "*) break;; esac; shift; done\nshift\n"
               "for a; do shift; case $a in @@u|@@) ;; *) set -- \"$@\" \"$a\";; esac; done\n"
               "exec \"$cmd\" \"$@\"\n");
        fs::permissions(base + "/stub browser", fs::perms::owner_all);
        fs::permissions(base + "/bin/flatpak", fs::perms::owner_all);
        fs::create_symlink("/usr/bin/env", base + "/bin/env");
        if (!c.exec.empty()) {
            scrivi("/data/applications/trivanta-stub.desktop",
                   "[Desktop Entry]\nType=Application\nName=Stub\nExec=" + sostituisci(c.exec) +
                       "\nTerminal=" + (c.terminale ? "true" : "false") +
                       "\nMimeType=text/html;\n");
            scrivi("/config/mimeapps.list",
                   "[Default Applications]\ntext/html=trivanta-stub.desktop\n");
        }
        // The system's MIME types, none of the system's applications.
        fs::create_directories(base + "/sysdata");
        fs::create_directory_symlink("/usr/share/mime", base + "/sysdata/mime");
        const fs::path runtime = Cartella(base + "/run", ::geteuid());

        // Only our folder on the path: no terminal emulator of this machine.
        const int status = Esegui(
            {"HOME=" + base, "PATH=" + base + "/bin", "XDG_DATA_HOME=" + base + "/data",
             "XDG_CONFIG_HOME=" + base + "/config", "XDG_DATA_DIRS=" + base + "/sysdata",
             "XDG_CONFIG_DIRS=" + base + "/sysconfig", "XDG_RUNTIME_DIR=" + runtime.string()},
            base + "/boxes");

        EXPECT_EQ(status, 0) << "the run failed or left a child process behind";
        EXPECT_EQ(LeggiFile(base + "/boxes"), c.boxes);
        EXPECT_FALSE(fs::exists(fs::path(TRIVANTA_LANCIA).parent_path() / "test.htm"));
        EXPECT_TRUE(fs::is_empty(runtime));
        if (c.argomenti.empty()) {
            EXPECT_FALSE(fs::exists(uscita));
            continue;
        }
        // The browser is not waited for.
        for (int i = 0; i < 200 && !fs::exists(uscita); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::string attesa = std::to_string(c.argomenti.size()) + "\n";
        for (const std::string& a : c.argomenti) {
            attesa += "[" + a + "]\n";
        }
        EXPECT_EQ(LeggiFile(uscita), attesa + "TRIVANTA_PROVA=" + c.variabile + "\n");
    }
}

} // namespace
} // namespace trivanta
