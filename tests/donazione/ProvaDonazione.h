#pragma once

// Scripted stand-ins for the donation link's tests: a message box recorder, a
// platform whose shell steps answer as told while its file steps really touch
// a temporary directory, and that directory.
#include "BrowserPlatform.h"
#include "MessageBoxes.h"
#include "PosixFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace trivanta {

inline std::string LeggiFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string LeggiTutto(int fd) {
    std::string text;
    char buffer[512];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

inline void PrintTo(const Message& m, std::ostream* out) {
    *out << "{\"" << m.text << "\", title " << (m.title ? "\"" + *m.title + "\"" : "none")
         << ", buttons " << static_cast<int>(m.buttons) << ", icon " << static_cast<int>(m.icon)
         << "}";
}

class CartellaTemporanea {
public:
    CartellaTemporanea() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "trivanta-donazione-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
    }
    CartellaTemporanea(const CartellaTemporanea&) = delete;
    CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;
    ~CartellaTemporanea() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

class ScatoleRegistrate : public MessageBoxes {
public:
    std::vector<Message> shown;
    Answer show(const Message& message) override {
        shown.push_back(message);
        return Answer::Ok;
    }
};

class PiattaformaProva : public BrowserPlatform {
public:
    struct Avvio {
        std::int32_t owner;
        std::string executable;
        std::string address;
    };

    explicit PiattaformaProva(std::filesystem::path directory) : directory_(std::move(directory)) {}

    // The script.
    FoundExecutable found{ShellNoAssociation, {}};
    ShellResult launchResult = ShellOk;
    std::optional<PlatformError> findError;
    std::function<void()> beforeDelete;

    // What happened.
    std::vector<std::string> calls;
    std::string fileAsked;
    std::string contentsWhenAsked;
    std::vector<Avvio> launches;

    std::string programDirectory() override {
        calls.push_back("directory");
        return directory_.string();
    }
    char pathSeparator() const override { return '/'; }
    void writeFile(const std::string& path, std::string_view contents) override {
        calls.push_back("write");
        posix::WriteFileNoFollow(path, contents);
    }
    FoundExecutable findExecutable(const std::string& file) override {
        calls.push_back("find");
        fileAsked = file;
        contentsWhenAsked = LeggiFile(file);
        if (findError) {
            throw *findError;
        }
        return found;
    }
    ShellResult launch(std::int32_t owner, const std::string& executable,
                       const std::string& address) override {
        calls.push_back("launch");
        launches.push_back({owner, executable, address});
        return launchResult;
    }
    void deleteFile(const std::string& path) override {
        calls.push_back("delete");
        if (beforeDelete) {
            beforeDelete();
        }
        posix::DeleteFile(path);
    }

private:
    std::filesystem::path directory_;
};

} // namespace trivanta
