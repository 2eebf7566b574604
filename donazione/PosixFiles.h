#pragma once

#include <string>
#include <string_view>

// The file operations of the donation link on POSIX systems. Each throws
// trivanta::PlatformError with errno and its text when it fails.
namespace trivanta::posix {

// The directory of the running executable, from /proc/self/exe.
std::string ExecutableDirectory();

// Creates the file or empties an existing regular file, then writes the
// contents. Refuses a symbolic link, a device, a pipe and a file with other
// hard links, so that nothing but our own throw-away file is ever written.
void WriteFileNoFollow(const std::string& path, std::string_view contents);

void DeleteFile(const std::string& path);

// A folder for the throw-away file that only this user can enter: "trivanta"
// in the session's runtime directory, else "trivanta-UID" in the temporary
// directory (default /tmp); relative paths count as unset. Made with mode 0700
// when missing; a link, a non-directory, another user's folder or one open to
// others is refused.
std::string PrivateDirectory(const char* runtimeDir, const char* tempDir);

void RemoveDirectory(const std::string& path);

} // namespace trivanta::posix
