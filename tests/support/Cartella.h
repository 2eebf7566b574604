#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace trivanta::test {

inline std::string LeggiFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

#ifndef _WIN32
// A fresh directory, removed with everything in it, even after its
// permissions were taken away.
class CartellaTemporanea {
public:
    CartellaTemporanea() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "trivanta-prova-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
    }
    CartellaTemporanea(const CartellaTemporanea&) = delete;
    CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;
    ~CartellaTemporanea() {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
            if (entry.is_directory(ignored)) {
                std::filesystem::permissions(entry, std::filesystem::perms::owner_all, ignored);
            }
        }
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};
#endif

} // namespace trivanta::test
