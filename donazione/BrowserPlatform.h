#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace trivanta {

// A failed operation of the platform: the number and the description that the
// error message of LaunchBrowser shows (errno and its text for a file).
class PlatformError : public std::runtime_error {
public:
    PlatformError(long number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    long number() const { return number_; }

private:
    long number_;
};

// Result codes of the shell steps follow the Windows shell: a value above 32
// is success, 32 or less a failure. The other platforms use the same codes so
// that one rule decides for all of them.
using ShellResult = std::intptr_t;
inline constexpr ShellResult ShellOk = 42;
inline constexpr ShellResult ShellFileNotFound = 2;   // SE_ERR_FNF
inline constexpr ShellResult ShellNoAssociation = 31; // SE_ERR_NOASSOC

constexpr bool ShellSucceeded(ShellResult result) {
    return result > 32;
}

struct FoundExecutable {
    ShellResult result = ShellNoAssociation;
    std::string executable; // meaningful only when result is success
};

// The steps by which the donation page reaches a browser, one call each, so
// that every step can be made to succeed or fail on its own. Steps that fail
// in an unexpected way throw PlatformError; the two shell steps report the
// ordinary "no browser" outcomes through their result code.
class BrowserPlatform {
public:
    virtual ~BrowserPlatform() = default;

    // The directory that holds the program's own executable.
    virtual std::string programDirectory() = 0;
    // Separator between that directory and a file name.
    virtual char pathSeparator() const = 0;
    // Creates the file or empties an existing one, and writes the contents.
    // Never follows a symbolic link at that path.
    virtual void writeFile(const std::string& path, std::string_view contents) = 0;
    // The program associated with the type of the given file.
    virtual FoundExecutable findExecutable(const std::string& file) = 0;
    // Starts the executable with the address as its one argument; does not
    // wait for it.
    virtual ShellResult launch(std::int32_t owner, const std::string& executable,
                               const std::string& address) = 0;
    virtual void deleteFile(const std::string& path) = 0;
};

} // namespace trivanta
