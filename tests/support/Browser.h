#pragma once

#include "BrowserPlatform.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace trivanta::test {

// A browser layer whose shell steps answer as scripted and whose file steps
// touch nothing (the donation tests put this system's under it). `prima` runs
// before every step and may throw PlatformError or change the scripted
// results, so that any step can fail in any way.
class BrowserScriptato : public BrowserPlatform {
public:
    enum class Passo { Cartella, Scrivi, Trova, Avvia, Cancella, CartellaPrivata, RimuoviCartella };

    ShellResult risultatoRicerca = ShellOk;
    ShellResult risultatoAvvio = ShellOk;
    std::string eseguibile = "/usr/bin/browser";
    std::function<void(Passo)> prima = [](Passo) {};

    int richieste = 0;                                        // one for every donation request
    std::vector<std::pair<std::string, std::string>> avviati; // executable, address

    std::string programDirectory() override {
        ++richieste;
        prima(Passo::Cartella);
        return "/nessuna/cartella";
    }
    char pathSeparator() const override { return '/'; }
    std::string privateDirectory() override {
        prima(Passo::CartellaPrivata);
        return "/nessuna/cartella-privata";
    }
    void removeDirectory(const std::string&) override { prima(Passo::RimuoviCartella); }
    void writeFile(const std::string&, std::string_view) override { prima(Passo::Scrivi); }
    FoundExecutable findExecutable(const std::string&) override {
        prima(Passo::Trova);
        return {risultatoRicerca, ShellSucceeded(risultatoRicerca) ? eseguibile : ""};
    }
    ShellResult launch(std::int32_t, const std::string& executable,
                       const std::string& address) override {
        prima(Passo::Avvia);
        avviati.emplace_back(executable, address);
        return risultatoAvvio;
    }
    void deleteFile(const std::string&) override { prima(Passo::Cancella); }
};

} // namespace trivanta::test
