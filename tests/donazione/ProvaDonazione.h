#pragma once

// Stand-ins for the donation link's tests: a temporary directory, a box
// recorder, and a platform whose shell steps answer as scripted while its file
// steps really touch the directory.
#include "BrowserPlatform.h"
#include "MessageBoxes.h"
#include "PosixFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace trivanta {

inline std::string LeggiFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void PrintTo(const Message& m, std::ostream* out) {
    *out << "{\"" << m.text << "\", title " << m.title.value_or("none") << ", icon "
         << static_cast<int>(m.icon) << "}";
}

// Removed with everything in it, even after its permissions were taken away.
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
    ~CartellaTemporanea() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
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
    explicit PiattaformaProva(std::filesystem::path dir) : directory(std::move(dir)) {}
    const std::filesystem::path directory;
    ShellResult findResult = ShellOk, launchResult = ShellOk;
    // The throw-away file as the shell found it in the program's directory.
    std::string contentsWhenAsked;
    std::vector<std::pair<std::string, std::string>> launched; // executable, address

    std::string programDirectory() override { return directory.string(); }
    char pathSeparator() const override { return '/'; }
    void writeFile(const std::string& path, std::string_view contents) override {
        posix::WriteFileNoFollow(path, contents);
    }
    FoundExecutable findExecutable(const std::string&) override {
        contentsWhenAsked = LeggiFile(directory / "test.htm");
        return {findResult, "/usr/bin/browser"};
    }
    ShellResult launch(std::int32_t, const std::string& executable,
                       const std::string& address) override {
        launched.emplace_back(executable, address);
        return launchResult;
    }
    void deleteFile(const std::string& path) override { posix::DeleteFile(path); }
};

} // namespace trivanta
