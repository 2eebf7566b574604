#include "Cartella.h"
#include "Donazione.h"
#include "Scatole.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <thread>
#include <windows.h>

namespace trivanta {
namespace {

namespace fs = std::filesystem;
using test::LeggiFile;

// What cmd.exe would act on is in it, so that a shell on the way shows.
const std::string Indirizzo = "https://example.org/altra?a=1&b=2|c^d%PATH%";
const std::string Testo =
    "Impossibile aprire il browser. Per fare una donazione andare su " + Indirizzo;

fs::path CartellaProgramma() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path();
}

fs::path CartellaTemp() {
    char path[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH + 1, path);
    return fs::path(path);
}

void Imposta(const std::string& key, const std::string& value, bool* created = nullptr) {
    HKEY handle = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &handle, &disposition),
              ERROR_SUCCESS)
        << "the test registers a class of its own (an administrator's right on Windows)";
    ASSERT_EQ(RegSetValueExA(handle, nullptr, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
    RegCloseKey(handle);
    if (created != nullptr) {
        *created = disposition == REG_CREATED_NEW_KEY;
    }
}

// .htm files handed to a class of ours for as long as this lives, opened by
// `command` when there is one; the association before comes back afterwards.
class Associazione {
public:
    explicit Associazione(const std::optional<std::string>& command) {
        char value[512] = {};
        LONG size = sizeof value;
        if (RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", value, &size) == ERROR_SUCCESS) {
            before_ = value;
        }
        Imposta(".htm", "TrivantaProva.htm", &created_);
        if (command) {
            Imposta("TrivantaProva.htm\\shell\\open\\command", *command);
        } else {
            Imposta("TrivantaProva.htm", "a class that nothing opens");
        }
    }
    Associazione(const Associazione&) = delete;
    Associazione& operator=(const Associazione&) = delete;
    ~Associazione() {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "TrivantaProva.htm");
        if (created_) {
            RegDeleteTreeA(HKEY_CLASSES_ROOT, ".htm");
        } else {
            Imposta(".htm", before_);
        }
    }

private:
    std::string before_;
    bool created_ = false;
};

// The Windows layer with the real shell: the association decides between
// the browser and the two boxes, and the file is gone from both places.
TEST(WindowsShell, theAssociationDecidesAndNothingIsLeftBehind) {
    enum class Ostacolo { None, Folder, HardLink };
    const fs::path navigatore = CartellaProgramma() / "navigatore_finto.exe";
    const fs::path registro = CartellaProgramma() / "argomenti.txt";
    const fs::path file = CartellaProgramma() / "test.htm";
    const fs::path vittima = CartellaProgramma() / "vittima.txt";
    const std::string apre = "\"" + navigatore.string() + "\" \"%1\"";
    const Message nonTrovato{Testo, "Browser Not Found", Buttons::Ok, Icon::Exclamation};
    const Message nonAvviato{Testo, std::nullopt, Buttons::Ok, Icon::Exclamation};
    const struct {
        const char* nome;
        std::optional<std::string> comando;
        Ostacolo ostacolo;
        std::vector<Message> boxes;
        std::string errore; // the start of the error box's text
    } casi[] = {
        {"an association found", apre, Ostacolo::None, {}, ""},
        {"none found", std::nullopt, Ostacolo::None, {nonTrovato}, ""},
        // The shell names the program without looking for it: the launch fails.
        {"32 or less from the launch",
         "\"" + (CartellaProgramma() / "assente.exe").string() + "\" \"%1\"",
         Ostacolo::None,
         {nonAvviato},
         ""},
        // The shell refuses to write there with Access denied, as it does
        // under Program Files: the file goes to the user's Temp folder.
        {"the program's folder closed", apre, Ostacolo::Folder, {}, ""},
        {"a hard link at the file's place", apre, Ostacolo::HardLink, {}, "Error 80 ("},
    };
    // What a failed earlier run may have left.
    fs::remove_all(CartellaTemp() / "trivanta");
    for (const auto& c : casi) {
        SCOPED_TRACE(c.nome);
        fs::remove(registro);
        std::ofstream(vittima) << "precious";
        if (c.ostacolo == Ostacolo::Folder) {
            fs::create_directory(file);
        } else if (c.ostacolo == Ostacolo::HardLink) {
            fs::create_hard_link(vittima, file);
        }
        test::ScatoleScriptate boxes;
        {
            const Associazione associazione(c.comando);
            LaunchBrowser(Indirizzo, 0, boxes, *systemBrowserPlatform());
        }

        if (c.errore.empty()) {
            EXPECT_EQ(boxes.mostrate, c.boxes);
        } else {
            ASSERT_EQ(boxes.mostrate.size(), 1u);
            const Message& box = boxes.mostrate[0];
            EXPECT_EQ(box.text.rfind(c.errore, 0), 0u) << box.text;
            EXPECT_TRUE(box.text.ends_with(") in procedure LaunchBrowser")) << box.text;
            EXPECT_EQ(box.title, std::nullopt);
            EXPECT_EQ(box.icon, Icon::None);
        }
        EXPECT_EQ(LeggiFile(vittima), "precious");
        EXPECT_FALSE(fs::exists(CartellaTemp() / "trivanta"));
        if (c.ostacolo == Ostacolo::None) {
            EXPECT_FALSE(fs::exists(file));
        }
        fs::remove(file);
        fs::remove(vittima);
        const bool avviato = c.boxes.empty() && c.errore.empty();
        // The browser is not waited for.
        for (int i = 0; i < 200 && avviato && !fs::exists(registro); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_EQ(LeggiFile(registro), avviato ? "1\n[" + Indirizzo + "]\n" : "");
    }
}

} // namespace
} // namespace trivanta
