#include "PosixFiles.h"

#include "BrowserPlatform.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace trivanta::posix {

namespace {

[[noreturn]] void ThrowErrno(int number) {
    const bool closed = number == EACCES || number == EPERM || number == EROFS;
    throw PlatformError(number, std::generic_category().message(number),
                        closed ? PlatformError::Kind::NotWritable : PlatformError::Kind::Other);
}

// A usable base is an absolute path; anything else in the environment is
// treated as unset, as the base directory rules say.
const char* Assoluta(const char* path) {
    return path != nullptr && path[0] == '/' ? path : nullptr;
}

// Closes the descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    // Closes now, so that a failed close is reported as well.
    void close() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) {
            ThrowErrno(errno);
        }
    }

private:
    int fd_;
};

} // namespace

std::string ExecutableDirectory() {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            ThrowErrno(errno);
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            const std::string path(buffer.data(), static_cast<std::size_t>(length));
            const auto slash = path.rfind('/');
            return slash == 0 ? std::string("/") : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2); // the path may have been cut short
    }
}

void WriteFileNoFollow(const std::string& path, std::string_view contents) {
    // No O_TRUNC yet: what is at the path is checked before anything is lost.
    // O_NONBLOCK keeps a FIFO without a reader from hanging the window.
    Descriptor file(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644));
    if (file.get() < 0) {
        ThrowErrno(errno);
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        ThrowErrno(errno);
    }
    if (!S_ISREG(info.st_mode) || info.st_nlink > 1) {
        ThrowErrno(EEXIST);
    }
    if (::ftruncate(file.get(), 0) != 0) {
        ThrowErrno(errno);
    }
    while (!contents.empty()) {
        const ssize_t written = ::write(file.get(), contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowErrno(errno);
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    file.close();
}

std::string PrivateDirectory(const char* runtimeDir, const char* tempDir) {
    runtimeDir = Assoluta(runtimeDir);
    tempDir = Assoluta(tempDir);
    std::string folder = runtimeDir != nullptr
                             ? std::string(runtimeDir) + "/trivanta"
                             : std::string(tempDir != nullptr ? tempDir : "/tmp") + "/trivanta-" +
                                   std::to_string(::geteuid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        ThrowErrno(errno);
    }
    // Made now or found: in a shared temporary directory anyone may have made
    // it first, so it has to be a real directory that only we can enter.
    // Nobody else can swap it afterwards: the temporary directory is sticky
    // and the runtime directory is ours.
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        ThrowErrno(errno);
    }
    if (S_ISLNK(info.st_mode)) {
        ThrowErrno(ELOOP);
    }
    if (!S_ISDIR(info.st_mode)) {
        ThrowErrno(ENOTDIR);
    }
    if (info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
        ThrowErrno(EPERM);
    }
    return folder;
}

void RemoveDirectory(const std::string& path) {
    if (::rmdir(path.c_str()) != 0) {
        ThrowErrno(errno);
    }
}

void DeleteFile(const std::string& path) {
    if (::unlink(path.c_str()) != 0) {
        ThrowErrno(errno);
    }
}

} // namespace trivanta::posix
