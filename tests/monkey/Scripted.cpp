#include "Scripted.h"

#include "Testi.h"

#include <cerrno>

namespace trivanta::monkey {

Answer ScatoleACaso::show(const Message& message) {
    if (guarda) {
        guarda(message);
    }
    Answer answer = Answer::Ok;
    if (message.buttons == Buttons::YesNo) {
        const bool fine = message.title && *message.title == testi::TitoloFinePartita;
        answer = dado_.chance(fine ? siAltraPartita_ : siNuovaPartita_) ? Answer::Yes : Answer::No;
    }
    visti.push_back({message, answer});
    return answer;
}

std::string BrowserACaso::programDirectory() {
    ++richieste;
    forseFallisce(0.03, "directory");
    return "/monkey/trivanta";
}

void BrowserACaso::writeFile(const std::string& path, std::string_view) {
    forseFallisce(0.1, "write");
    file_.insert(path);
}

FoundExecutable BrowserACaso::findExecutable(const std::string& file) {
    if (file_.count(file) == 0) {
        errori.push_back("browser looked up for " + file + ", which was never written");
    }
    forseFallisce(0.05, "find");
    trovato_.clear();
    switch (dado_.below(4)) {
    case 0:
        return {ShellNoAssociation, {}};
    case 1:
        return {ShellFileNotFound, {}};
    default:
        trovato_ = "/usr/bin/monkey-browser";
        return {ShellOk, trovato_};
    }
}

ShellResult BrowserACaso::launch(std::int32_t, const std::string& executable,
                                 const std::string& address) {
    if (trovato_.empty() || executable != trovato_) {
        errori.push_back("launched '" + executable + "', which no lookup found");
    }
    if (address != indirizzoAtteso_) {
        errori.push_back("opened '" + address + "' instead of the donation page");
    }
    forseFallisce(0.05, "launch");
    ++avvii;
    return dado_.chance(0.7) ? ShellOk : ShellFileNotFound;
}

void BrowserACaso::deleteFile(const std::string& path) {
    forseFallisce(0.05, "delete");
    if (file_.erase(path) == 0) {
        errori.push_back("deleted " + path + ", which was never written");
    }
}

void BrowserACaso::forseFallisce(double p, const char* passo) {
    if (dado_.chance(p)) {
        throw PlatformError(EACCES, std::string("monkey: ") + passo + " refused");
    }
}

} // namespace trivanta::monkey
