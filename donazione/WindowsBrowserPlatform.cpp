// The donation link on Windows: the shell itself finds the program associated
// with .htm files and starts it.
#ifdef _WIN32

#include "Donazione.h"

#include <cstring>
#include <memory>
#include <windows.h>
// Needs the types of windows.h first.
#include <shellapi.h>

namespace trivanta {

namespace {

[[noreturn]] void ThrowLastError() {
    const DWORD number = GetLastError();
    const bool closed = number == ERROR_ACCESS_DENIED || number == ERROR_WRITE_PROTECT;
    char text[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, number, 0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                          text[length - 1] == '.' || text[length - 1] == ' ')) {
        text[--length] = '\0';
    }
    throw PlatformError(static_cast<long>(number), text,
                        closed ? PlatformError::Kind::NotWritable : PlatformError::Kind::Other);
}

class HandleCloser {
public:
    explicit HandleCloser(HANDLE handle) : handle_(handle) {}
    HandleCloser(const HandleCloser&) = delete;
    HandleCloser& operator=(const HandleCloser&) = delete;
    ~HandleCloser() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

class WindowsBrowserPlatform final : public BrowserPlatform {
public:
    std::string programDirectory() override {
        char path[MAX_PATH + 1] = {};
        const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH + 1);
        if (length == 0) {
            ThrowLastError();
        }
        if (length > MAX_PATH) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            ThrowLastError();
        }
        std::string directory(path, length);
        directory.erase(directory.find_last_of("\\/"));
        return directory;
    }

    char pathSeparator() const override { return '\\'; }

    // Under Program Files the program's directory is closed to a user; the
    // user's own temporary folder is not, and nobody else's files are in it.
    std::string privateDirectory() override {
        char temp[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathA(MAX_PATH + 1, temp);
        if (length == 0) {
            ThrowLastError();
        }
        if (length > MAX_PATH) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            ThrowLastError();
        }
        const std::string folder = std::string(temp, length) + "trivanta";
        if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            ThrowLastError();
        }
        const DWORD attributes = GetFileAttributesA(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            ThrowLastError();
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            SetLastError(ERROR_DIRECTORY);
            ThrowLastError();
        }
        return folder;
    }

    void removeDirectory(const std::string& path) override {
        if (!RemoveDirectoryA(path.c_str())) {
            ThrowLastError();
        }
    }

    void writeFile(const std::string& path, std::string_view contents) override {
        // FILE_FLAG_OPEN_REPARSE_POINT opens a link itself instead of its
        // target; a link found there is refused before anything is written.
        HandleCloser file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) {
            ThrowLastError();
        }
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(file.get(), &info)) {
            ThrowLastError();
        }
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
            info.nNumberOfLinks > 1) {
            SetLastError(ERROR_FILE_EXISTS);
            ThrowLastError();
        }
        if (!SetEndOfFile(file.get())) {
            ThrowLastError();
        }
        DWORD written = 0;
        if (!WriteFile(file.get(), contents.data(), static_cast<DWORD>(contents.size()), &written,
                       nullptr) ||
            written != contents.size()) {
            ThrowLastError();
        }
    }

    FoundExecutable findExecutable(const std::string& file) override {
        // FindExecutableA writes up to MAX_PATH characters; the buffer starts
        // as blanks and the path ends at the NUL that the shell writes.
        char buffer[MAX_PATH + 1];
        std::memset(buffer, ' ', MAX_PATH);
        buffer[MAX_PATH] = '\0';
        const auto result =
            reinterpret_cast<ShellResult>(FindExecutableA(file.c_str(), "", buffer));
        if (!ShellSucceeded(result)) {
            return {result, {}};
        }
        return {result, std::string(buffer)};
    }

    ShellResult launch(std::int32_t owner, const std::string& executable,
                       const std::string& address) override {
        const HWND window = reinterpret_cast<HWND>(static_cast<std::intptr_t>(owner));
        return reinterpret_cast<ShellResult>(
            ShellExecuteA(window, "open", executable.c_str(), address.c_str(), "", SW_SHOWNORMAL));
    }

    void deleteFile(const std::string& path) override {
        if (!DeleteFileA(path.c_str())) {
            ThrowLastError();
        }
    }
};

} // namespace

std::unique_ptr<BrowserPlatform> systemBrowserPlatform() {
    return std::make_unique<WindowsBrowserPlatform>();
}

} // namespace trivanta

#endif // _WIN32
