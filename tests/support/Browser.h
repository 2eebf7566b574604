#pragma once

#include "BrowserPlatform.h"

#include <string>
#include <utility>
#include <vector>

namespace trivanta::test {

// A browser layer whose shell steps answer as scripted and whose file steps
// touch nothing (the donation tests put this system's under it).
class BrowserScriptato : public BrowserPlatform {
public:
    ShellResult risultatoRicerca = ShellOk;
    ShellResult risultatoAvvio = ShellOk;
    std::string eseguibile = "/usr/bin/browser";

    int richieste = 0;                                        // one for every donation request
    std::vector<std::pair<std::string, std::string>> avviati; // executable, address

    std::string programDirectory() override {
        ++richieste;
        return "/nessuna/cartella";
    }
    char pathSeparator() const override { return '/'; }
    std::string privateDirectory() override { return "/nessuna/cartella-privata"; }
    void removeDirectory(const std::string&) override {}
    void writeFile(const std::string&, std::string_view) override {}
    FoundExecutable findExecutable(const std::string&) override {
        return {risultatoRicerca, ShellSucceeded(risultatoRicerca) ? eseguibile : ""};
    }
    ShellResult launch(std::int32_t, const std::string& executable,
                       const std::string& address) override {
        avviati.emplace_back(executable, address);
        return risultatoAvvio;
    }
    void deleteFile(const std::string&) override {}
};

} // namespace trivanta::test
