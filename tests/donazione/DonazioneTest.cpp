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
class SolaLettura {
public:
    explicit SolaLettura(const fs::path& path) : path_(path) {
        if (::mount(path_.c_str(), path_.c_str(), nullptr, MS_BIND, nullptr) != 0 ||
            ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
                0) {
            throw std::runtime_error("mount failed");
        }
    }
    SolaLettura(const SolaLettura&) = delete;
    SolaLettura& operator=(const SolaLettura&) = delete;
    ~SolaLettura() { ::umount(path_.c_str()); }

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

// An installed program's folder is closed to its user: the file goes to a
// folder of the user's own, and only when that is closed too comes the error.
TEST(LaunchBrowser, aClosedProgramFolderSendsTheFileToTheUsersOwnFolder) {
    enum class Runtime { Unset, Set, Relative, Closed };
    const std::string tmpUtente = "tmp/trivanta-" + std::to_string(Root ? Nessuno : ::geteuid());
    const struct {
        const char* nome;
        bool programmaChiuso, solaLettura, temporaneaChiusa;
        Runtime runtime;
        std::string dove; // below the root; empty: the error box
    } casi[] = {
        {"program folder writable", false, false, false, Runtime::Set, "programma"},
        {"closed, runtime folder", true, false, false, Runtime::Set, "runtime/trivanta"},
        {"closed, no runtime folder", true, false, false, Runtime::Unset, tmpUtente},
        {"closed, relative runtime folder", true, false, false, Runtime::Relative, tmpUtente},
        {"read-only file system", false, true, false, Runtime::Set, "runtime/trivanta"},
        {"closed, runtime folder closed", true, false, false, Runtime::Closed, ""},
        {"closed, temporary folder closed", true, false, true, Runtime::Unset, ""},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        if (c.solaLettura && !Root) {
            continue; // only root can mount a folder read-only
        }
        Luoghi luoghi(c.solaLettura || !Root ? ::geteuid() : Nessuno);
        fs::permissions(luoghi.programma, static_cast<fs::perms>(c.programmaChiuso ? 0555 : 0700));
        fs::permissions(luoghi.runtime,
                        static_cast<fs::perms>(c.runtime == Runtime::Closed ? 0555 : 0700));
        fs::permissions(luoghi.temporanea,
                        static_cast<fs::perms>(c.temporaneaChiusa ? 0555 : 01777));
        std::optional<SolaLettura> montata;
        if (c.solaLettura) {
            montata.emplace(luoghi.programma);
        }
        test::ScatoleScriptate boxes;
        test::BrowserScriptato platform(luoghi.programma);
        platform.runtime = c.runtime == Runtime::Unset      ? fs::path()
                           : c.runtime == Runtime::Relative ? fs::path("runtime")
                                                            : luoghi.runtime;
        platform.temporanea = luoghi.temporanea;
        // The folder as the browser would find it.
        struct stat cartella {};
        platform.prima = [&](test::BrowserScriptato::Passo passo) {
            if (passo == test::BrowserScriptato::Passo::Avvia) {
                ASSERT_EQ(
                    ::lstat(fs::path(platform.fileAllaRicerca).parent_path().c_str(), &cartella),
                    0);
            }
        };
        {
            const ComeUtente come(luoghi.utente);
            LaunchBrowser(Indirizzo, 0, boxes, platform);
        }
        montata.reset();

        if (c.dove.empty()) {
            EXPECT_EQ(boxes.mostrate, std::vector<Message>{Errore(13, "Permission denied")});
            EXPECT_TRUE(platform.avviati.empty());
        } else {
            EXPECT_TRUE(boxes.mostrate.empty());
            EXPECT_EQ(fs::path(platform.fileAllaRicerca),
                      luoghi.radice.path() / c.dove / "test.htm");
            EXPECT_EQ(platform.contenutoAllaRicerca, Contenuto);
            EXPECT_EQ(platform.avviati,
                      decltype(platform.avviati)(1, {platform.eseguibile, Indirizzo}));
            EXPECT_EQ(cartella.st_uid, luoghi.utente);
            if (c.dove != "programma") {
                EXPECT_EQ(cartella.st_mode & 07777, 0700u);
            }
        }
        // Nothing left anywhere, not even the private folder.
        EXPECT_EQ(Voci(luoghi.programma) + Voci(luoghi.runtime) + Voci(luoghi.temporanea), 0u);
    }
}

// Whatever someone put at the file's place, beside the program or in the
// user's own folder, is neither written through nor replaced.
TEST(LaunchBrowser, refusesLinksPipesAndHardLinksAtEitherPlace) {
    enum class Cosa { Link, Pipe, HardLink, FolderLink, FolderOpen };
    const struct {
        bool privata;
        Cosa cosa;
        Message box;
    } casi[] = {
        {false, Cosa::Link, Errore(40, "Too many levels of symbolic links")},
        {false, Cosa::Pipe, Errore(17, "File exists")},
        {false, Cosa::HardLink, Errore(17, "File exists")},
        {true, Cosa::Link, Errore(40, "Too many levels of symbolic links")},
        {true, Cosa::Pipe, Errore(17, "File exists")},
        {true, Cosa::HardLink, Errore(17, "File exists")},
        {true, Cosa::FolderLink, Errore(40, "Too many levels of symbolic links")},
        {true, Cosa::FolderOpen, Errore(1, "Operation not permitted")},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(::testing::Message()
                     << (c.privata ? "private folder, " : "beside, ") << static_cast<int>(c.cosa));
        Luoghi luoghi(Root ? Nessuno : ::geteuid());
        // The user of the run could write the victim: only the refusal keeps it.
        const fs::path vittima = luoghi.radice.path() / "vittima";
        std::ofstream(vittima) << "precious";
        fs::permissions(vittima, static_cast<fs::perms>(0666));
        const fs::path altrove = Cartella(luoghi.radice.path() / "altrove", luoghi.utente);
        const fs::path cartella = c.privata ? luoghi.runtime / "trivanta" : luoghi.programma;
        if (c.privata) {
            fs::permissions(luoghi.programma, static_cast<fs::perms>(0555));
            if (c.cosa == Cosa::FolderLink) {
                fs::create_directory_symlink(altrove, cartella);
            } else {
                Cartella(cartella, luoghi.utente, c.cosa == Cosa::FolderOpen ? 0777 : 0700);
            }
        }
        const fs::path posto = cartella / "test.htm";
        int lettore = -1; // a pipe with a reader takes what is written
        switch (c.cosa) {
        case Cosa::Link:
            fs::create_symlink(vittima, posto);
            break;
        case Cosa::HardLink:
            fs::create_hard_link(vittima, posto);
            break;
        case Cosa::Pipe:
            ASSERT_EQ(::mkfifo(posto.c_str(), 0666), 0);
            fs::permissions(posto, static_cast<fs::perms>(0666)); // past the umask
            lettore = ::open(posto.c_str(), O_RDONLY | O_NONBLOCK);
            ASSERT_GE(lettore, 0);
            break;
        case Cosa::FolderLink:
        case Cosa::FolderOpen:
            break;
        }
        test::ScatoleScriptate boxes;
        test::BrowserScriptato platform(luoghi.programma);
        platform.runtime = luoghi.runtime;
        {
            const ComeUtente come(luoghi.utente);
            LaunchBrowser(Indirizzo, 0, boxes, platform);
        }

        EXPECT_EQ(boxes.mostrate, std::vector<Message>{c.box});
        EXPECT_TRUE(platform.avviati.empty());
        EXPECT_EQ(LeggiFile(vittima), "precious");
        EXPECT_TRUE(fs::is_empty(altrove));
        if (c.privata) {
            EXPECT_TRUE(fs::is_empty(luoghi.programma));
        }
        if (lettore >= 0) {
            char byte = 0;
            EXPECT_EQ(::read(lettore, &byte, 1), 0) << "something was written into the pipe";
            ::close(lettore);
            EXPECT_TRUE(fs::is_fifo(posto));
        }
        if (c.cosa == Cosa::Link) {
            EXPECT_TRUE(fs::is_symlink(posto));
        }
        if (c.cosa == Cosa::HardLink) {
            EXPECT_EQ(fs::hard_link_count(vittima), 2u);
        }
    }
}

// The same program the window uses, run as its own process: GIO reads the
// desktop database once per process.
struct Esito {
    int status = -1;
    std::string uscita;
};

Esito Esegui(const std::vector<std::string>& ambiente) {
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
    int tubo[2];
    if (::pipe(tubo) != 0) {
        return {};
    }
    posix_spawn_file_actions_t azioni;
    posix_spawn_file_actions_init(&azioni);
    posix_spawn_file_actions_adddup2(&azioni, tubo[1], 1);
    posix_spawn_file_actions_addclose(&azioni, tubo[0]);
    pid_t pid = 0;
    const int errore = ::posix_spawn(&pid, argv[0], &azioni, nullptr, argv, env.data());
    posix_spawn_file_actions_destroy(&azioni);
    ::close(tubo[1]);
    Esito esito;
    char buffer[512];
    for (ssize_t n = 0; (n = ::read(tubo[0], buffer, sizeof buffer)) > 0;) {
        esito.uscita.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(tubo[0]);
    if (errore == 0 && ::waitpid(pid, &esito.status, 0) != pid) {
        esito.status = -1;
    }
    return esito;
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
        const Esito esito = Esegui(
            {"HOME=" + base, "PATH=" + base + "/bin", "XDG_DATA_HOME=" + base + "/data",
             "XDG_CONFIG_HOME=" + base + "/config", "XDG_DATA_DIRS=" + base + "/sysdata",
             "XDG_CONFIG_DIRS=" + base + "/sysconfig", "XDG_RUNTIME_DIR=" + runtime.string()});

        EXPECT_EQ(esito.status, 0) << "the run failed or left a child process behind";
        EXPECT_EQ(esito.uscita, c.boxes);
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
