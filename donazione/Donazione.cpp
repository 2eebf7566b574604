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
        const std::string file =
            platform.programDirectory() + platform.pathSeparator() + std::string(NomeFileProva);
        platform.writeFile(file, ContenutoFileProva);

        const FoundExecutable found = platform.findExecutable(file);
        if (!ShellSucceeded(found.result)) {
            boxes.show(
                MessaggioBrowserNonTrovato(address, std::string(testi::TitoloBrowserNonTrovato)));
        } else if (!ShellSucceeded(platform.launch(owner, found.executable, address))) {
            boxes.show(MessaggioBrowserNonTrovato(address, std::nullopt));
        }
        platform.deleteFile(file);
    } catch (const PlatformError& error) {
        // The file stays where it is: the failure may have been in deleting it.
        boxes.show(MessaggioErrore(error));
    }
}

} // namespace trivanta
