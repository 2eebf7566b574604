#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace trivanta {

// A failed operation of the platform: the number and the description that the
// error message of LaunchBrowser shows (errno and its text for a file).
// NotWritable marks a place closed to this user: no permission, or a
// read-only file system. An installed program's own folder is such a place.
class PlatformError : public std::runtime_error {
public:
    enum class Kind { Other, NotWritable };

    PlatformError(long number, const std::string& description, Kind kind = Kind::Other)
        : std::runtime_error(description), number_(number), kind_(kind) {}
    long number() const { return number_; }
    bool notWritable() const { return kind_ == Kind::NotWritable; }

private:
    long number_;
    Kind kind_;
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

// What opens web pages: on Windows the browser's executable; on freedesktop
// systems the desktop entry that says how to start the browser.
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
    // A folder of this user's own, for when the program's directory cannot be
    // written: made if missing, refused when it is a link or open to others.
    virtual std::string privateDirectory() = 0;
    // Creates the file or empties an existing one, and writes the contents.
    // Refuses a link, a pipe and a file with other hard links at that path.
    virtual void writeFile(const std::string& path, std::string_view contents) = 0;
    // The program associated with the type of the given file.
    virtual FoundExecutable findExecutable(const std::string& file) = 0;
    // Starts what findExecutable found with the address as the one page to
    // open, the way its association says; does not wait for it.
    virtual ShellResult launch(std::int32_t owner, const std::string& executable,
                               const std::string& address) = 0;
    virtual void deleteFile(const std::string& path) = 0;
    // Removes the private directory once the throw-away file has left it.
    virtual void removeDirectory(const std::string& path) = 0;
};

} // namespace trivanta
