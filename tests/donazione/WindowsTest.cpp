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

// .htm files opened by this program for as long as this lives; the
// association before comes back afterwards.
struct Associazione {
    char prima[512] = {};
    LONG size = sizeof prima;
    const bool cera = RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", prima, &size) == ERROR_SUCCESS;

    Associazione() {
        Imposta(".htm", "TrivantaProva.htm");
        Imposta("TrivantaProva.htm\\shell\\open\\command", "\"" + Questo.string() + "\" \"%1\"");
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
// folder an earlier run left there, which goes as well.
TEST(WindowsShell, theBrowserGetsTheWholeAddressAndNothingIsLeftBehind) {
    enum Ostacolo { Vecchio, HardLink, Cartella };
    const fs::path file = Qui / "test.htm", vittima = Qui / "vittima.txt";
    const fs::path privata = fs::temp_directory_path() / "trivanta";
    const Associazione associazione;
    fs::remove_all(privata);
    for (const Ostacolo o : {Vecchio, HardLink, Cartella}) {
        SCOPED_TRACE(o);
        fs::remove(Registro);
        std::ofstream(vittima) << "precious";
        if (o == Vecchio) {
            std::ofstream(file) << "left over from an earlier run";
        } else if (o == HardLink) {
            fs::create_hard_link(vittima, file);
        } else {
            fs::create_directory(file);
            fs::create_directory(privata);
        }
        test::ScatoleScriptate boxes;
        LaunchBrowser(Indirizzo, 0, boxes, *systemBrowserPlatform());

        const std::string box = boxes.mostrate.empty() ? "" : boxes.mostrate[0].text;
        EXPECT_EQ(box.substr(0, 10), o == HardLink ? "Error 80 (" : "");
        EXPECT_EQ(Leggi(vittima), "precious");
        EXPECT_FALSE(fs::exists(privata));
        EXPECT_EQ(fs::exists(file), o != Vecchio);
        // The browser is not waited for.
        for (int i = 0; i < 200 && o != HardLink && !fs::exists(Registro); ++i) {
            Sleep(50);
        }
        EXPECT_EQ(Leggi(Registro), o == HardLink ? "" : "1 [" + Indirizzo + "]");
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
