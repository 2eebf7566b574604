#pragma once

#include "BrowserPlatform.h"
#include "PosixFiles.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace trivanta::test {

// A browser layer whose shell steps answer as scripted. With a directory its
// file steps are the real ones of this system, there and in the private
// folder that `runtime` or `temporanea` stand for ($XDG_RUNTIME_DIR, $TMPDIR);
// without one they touch nothing. `prima` runs before every step and may
// throw PlatformError or change the scripted results, so that any step can
// fail in any way.
class BrowserScriptato final : public BrowserPlatform {
public:
    enum class Passo { Cartella, Scrivi, Trova, Avvia, Cancella, CartellaPrivata, RimuoviCartella };

    explicit BrowserScriptato(std::filesystem::path dir = {}) : cartella(std::move(dir)) {}

    const std::filesystem::path cartella;
    std::filesystem::path runtime, temporanea; // empty: unset
    ShellResult risultatoRicerca = ShellOk;
    ShellResult risultatoAvvio = ShellOk;
    std::string eseguibile = "/usr/bin/browser";
    std::function<void(Passo)> prima;

    int richieste = 0;                // one for every donation request
    std::string fileAllaRicerca;      // where the shell was asked about the file
    std::string contenutoAllaRicerca; // the throw-away file as the shell found it
    std::vector<std::pair<std::string, std::string>> avviati; // executable, address

    std::string programDirectory() override {
        ++richieste;
        passo(Passo::Cartella);
        return cartella.empty() ? std::string("/nessuna/cartella") : cartella.string();
    }
    char pathSeparator() const override { return '/'; }
    std::string privateDirectory() override {
        passo(Passo::CartellaPrivata);
        if (cartella.empty()) {
            return "/nessuna/cartella-privata";
        }
        return posix::PrivateDirectory(runtime.empty() ? nullptr : runtime.c_str(),
                                       temporanea.empty() ? nullptr : temporanea.c_str());
    }
    void removeDirectory(const std::string& path) override {
        passo(Passo::RimuoviCartella);
        if (!cartella.empty()) {
            posix::RemoveDirectory(path);
        }
    }
    void writeFile(const std::string& path, std::string_view contents) override {
        passo(Passo::Scrivi);
        if (!cartella.empty()) {
            posix::WriteFileNoFollow(path, contents);
        }
    }
    FoundExecutable findExecutable(const std::string& file) override {
        passo(Passo::Trova);
        fileAllaRicerca = file;
        if (!cartella.empty()) {
            std::ifstream in(file, std::ios::binary);
            contenutoAllaRicerca.assign(std::istreambuf_iterator<char>(in), {});
        }
        return {risultatoRicerca, ShellSucceeded(risultatoRicerca) ? eseguibile : ""};
    }
    ShellResult launch(std::int32_t, const std::string& executable,
                       const std::string& address) override {
        passo(Passo::Avvia);
        avviati.emplace_back(executable, address);
        return risultatoAvvio;
    }
    void deleteFile(const std::string& path) override {
        passo(Passo::Cancella);
        if (!cartella.empty()) {
            posix::DeleteFile(path);
        }
    }

private:
    void passo(Passo p) {
        if (prima) {
            prima(p);
        }
    }
};

} // namespace trivanta::test
