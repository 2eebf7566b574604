#include "Donazione.h"
#include "Scatole.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <windows.h>

namespace trivanta {
namespace {

namespace fs = std::filesystem;

// What cmd.exe would act on is in it, so that a shell on the way shows.
const std::string Indirizzo = "https://example.org/altra?a=1&b=2|c^d%PATH%";

const fs::path Questo = _pgmptr, Qui = Questo.parent_path(), Registro = Qui / "argomenti.txt";

std::string Leggi(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Imposta(const char* key, const std::string& value) {
    ASSERT_EQ(RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, value.c_str(), 0), ERROR_SUCCESS)
        << "the test registers a class of its own (an administrator's right on Windows)";
}

// .htm files handed to `comando`, or to a class that does not exist when it
// is empty, for as long as this lives; the association before comes back
// afterwards.
struct Associazione {
    char prima[512] = {};
    LONG size = sizeof prima;
    const bool cera = RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", prima, &size) == ERROR_SUCCESS;

    explicit Associazione(const std::string& comando) {
        Imposta(".htm", comando.empty() ? "TrivantaNessuna.htm" : "TrivantaProva.htm");
        Imposta("TrivantaProva.htm\\shell\\open\\command", comando);
    }
    ~Associazione() {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "TrivantaProva.htm");
        cera ? Imposta(".htm", prima) : void(RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm"));
    }
};

// The Windows layer with the real shell, this program as the browser. An old
// file at the throw-away file's place is used; a hard link is refused with
// ERROR_FILE_EXISTS; a folder makes the shell refuse with Access denied, as
// under Program Files, and the file goes to the user's Temp folder, into the
// folder an earlier run left there, which goes as well. Without a program for
// .htm files comes the box titled for that; with one that is not there the
// shell names it without looking, the launch fails, and the box has no title.
TEST(WindowsShell, theBrowserGetsTheWholeAddressAndNothingIsLeftBehind) {
    enum Caso { Vecchio, HardLink, Cartella, NessunProgramma, ProgrammaAssente };
    // The title of the one box and the start of its text.
    const std::string attese[] = {"", "-|Error 80 (", "", "Browser Not Found|Impossibil",
                                  "-|Impossibil"};
    const fs::path file = Qui / "test.htm", vittima = Qui / "vittima.txt";
    const fs::path privata = fs::temp_directory_path() / "trivanta";
    fs::remove_all(privata);
    for (const Caso o : {Vecchio, HardLink, Cartella, NessunProgramma, ProgrammaAssente}) {
        SCOPED_TRACE(o);
        fs::remove(Registro);
        std::ofstream(vittima) << "precious";
        if (o == Vecchio) {
            std::ofstream(file) << "left over from an earlier run";
        } else if (o == HardLink) {
            fs::create_hard_link(vittima, file);
        } else if (o == Cartella) {
            fs::create_directory(file);
            fs::create_directory(privata);
        }
        const fs::path programma = o == ProgrammaAssente ? Qui / "assente.exe" : Questo;
        const Associazione associazione(
            o == NessunProgramma ? "" : "\"" + programma.string() + "\" \"%1\"");
        test::ScatoleScriptate boxes;
        LaunchBrowser(Indirizzo, 0, boxes, *systemBrowserPlatform());

        const Message* box = boxes.mostrate.empty() ? nullptr : &boxes.mostrate[0];
        EXPECT_EQ(box ? box->title.value_or("-") + "|" + box->text.substr(0, 10) : "", attese[o]);
        EXPECT_EQ(Leggi(vittima), "precious");
        EXPECT_FALSE(fs::exists(privata));
        // The browser is not waited for; under Wine a file just renamed may
        // still read empty for a moment.
        for (int i = 0; i < 200 && attese[o].empty() && Leggi(Registro).empty(); ++i) {
            Sleep(50);
        }
        EXPECT_EQ(Leggi(Registro), attese[o].empty() ? "1 [" + Indirizzo + "]" : "");
        fs::remove(file);
        fs::remove(vittima);
    }
}

} // namespace
} // namespace trivanta

// Started by the shell with the address, this program is the browser: it
// writes down its arguments beside itself, whole or not at all.
int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]).starts_with("https:")) {
        std::ofstream(trivanta::Registro.string() + ".tmp") << argc - 1 << " [" << argv[1] << "]";
        std::filesystem::rename(trivanta::Registro.string() + ".tmp", trivanta::Registro);
        return 0;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
