#include "Donazione.h"

#include "Testi.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace trivanta {

namespace {

// The file whose type tells which program opens web pages.
constexpr std::string_view NomeFileProva = "test.htm";
constexpr std::string_view ContenutoFileProva = "\"<HTML> <\\HTML>\"\r\n";

Message MessaggioBrowserNonTrovato(const std::string& address, std::optional<std::string> title) {
    return Message{std::string(testi::BrowserNonTrovato) + address, std::move(title), Buttons::Ok,
                   Icon::Exclamation};
}

Message MessaggioErrore(const PlatformError& error) {
    return Message{"Error " + std::to_string(error.number()) + " (" + error.what() +
                       ") in procedure LaunchBrowser",
                   std::nullopt, Buttons::Ok, Icon::None};
}

// Where the throw-away file was written; the private directory, when it went
// there, is removed with it.
struct FileProva {
    std::string path;
    std::optional<std::string> cartellaPrivata;
};

// Beside the program first. An installed program's directory belongs to the
// system, so a user who may not write there gets a folder of his own instead;
// any other failure (a link or a pipe at the file's place) is not a reason to
// look elsewhere.
FileProva ScriviFileProva(BrowserPlatform& platform) {
    const auto dentro = [&platform](const std::string& cartella) {
        return cartella + platform.pathSeparator() + std::string(NomeFileProva);
    };
    const std::string accanto = dentro(platform.programDirectory());
    try {
        platform.writeFile(accanto, ContenutoFileProva);
        return {accanto, std::nullopt};
    } catch (const PlatformError& error) {
        if (!error.notWritable()) {
            throw;
        }
    }
    std::string cartella = platform.privateDirectory();
    std::string file = dentro(cartella);
    platform.writeFile(file, ContenutoFileProva);
    return {std::move(file), std::move(cartella)};
}

} // namespace

void ApriDonazione(MessageBoxes& boxes, BrowserPlatform& platform, std::int32_t owner) {
    LaunchBrowser(testi::IndirizzoDonazione, owner, boxes, platform);
}

void LaunchBrowser(const std::string& address, std::int32_t owner, MessageBoxes& boxes,
                   BrowserPlatform& platform) {
    if (address.empty()) {
        return;
    }
    try {
        const FileProva prova = ScriviFileProva(platform);

        const FoundExecutable found = platform.findExecutable(prova.path);
        if (!ShellSucceeded(found.result)) {
            boxes.show(
                MessaggioBrowserNonTrovato(address, std::string(testi::TitoloBrowserNonTrovato)));
        } else if (!ShellSucceeded(platform.launch(owner, found.executable, address))) {
            boxes.show(MessaggioBrowserNonTrovato(address, std::nullopt));
        }
        platform.deleteFile(prova.path);
        if (prova.cartellaPrivata) {
            platform.removeDirectory(*prova.cartellaPrivata);
        }
    } catch (const PlatformError& error) {
        // The file stays where it is: the failure may have been in deleting it.
        boxes.show(MessaggioErrore(error));
    }
}

} // namespace trivanta
