// The donation link on freedesktop systems: GIO names the default application
// for the content type of the throw-away file, the way the Windows shell does
// for its file associations.
#include "Donazione.h"
#include "PosixFiles.h"

#include <gio/gio.h>
#include <memory>

namespace trivanta {

namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct GFreeDeleter {
    void operator()(gpointer memory) const { g_free(memory); }
};
struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;
using GCharPtr = std::unique_ptr<gchar, GFreeDeleter>;
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;

// The program that a desktop entry runs, unquoted. GIO's own executable name
// is the command line cut at the first blank, which breaks a quoted path.
gchar* ProgramOf(GAppInfo* application) {
    const char* commandLine = g_app_info_get_commandline(application);
    gchar** argv = nullptr;
    if (commandLine == nullptr || !g_shell_parse_argv(commandLine, nullptr, &argv, nullptr)) {
        return nullptr;
    }
    gchar* program = g_strdup(argv[0]);
    g_strfreev(argv);
    return program;
}

class GioBrowserPlatform final : public BrowserPlatform {
public:
    std::string programDirectory() override { return posix::ExecutableDirectory(); }
    char pathSeparator() const override { return '/'; }
    void writeFile(const std::string& path, std::string_view contents) override {
        posix::WriteFileNoFollow(path, contents);
    }
    void deleteFile(const std::string& path) override { posix::DeleteFile(path); }

    FoundExecutable findExecutable(const std::string& file) override {
        const GObjectPtr<GFile> location(g_file_new_for_path(file.c_str()));
        GError* rawError = nullptr;
        const GObjectPtr<GFileInfo> info(
            g_file_query_info(location.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                              G_FILE_QUERY_INFO_NONE, nullptr, &rawError));
        if (!info) {
            const GErrorPtr error(rawError);
            throw PlatformError(error->code, error->message);
        }
        const char* type = g_file_info_get_content_type(info.get());
        if (type == nullptr) {
            return {ShellNoAssociation, {}};
        }
        const GObjectPtr<GAppInfo> application(g_app_info_get_default_for_type(type, FALSE));
        if (!application) {
            return {ShellNoAssociation, {}};
        }
        const GCharPtr executable(ProgramOf(application.get()));
        if (!executable) {
            return {ShellNoAssociation, {}};
        }
        // A desktop entry may name its program without a directory.
        const GCharPtr path(g_find_program_in_path(executable.get()));
        if (!path) {
            return {ShellFileNotFound, {}};
        }
        return {ShellOk, std::string(path.get())};
    }

    ShellResult launch(std::int32_t, const std::string& executable,
                       const std::string& address) override {
        // Straight to the program, no shell: the address is one argument
        // whatever it holds. Without G_SPAWN_DO_NOT_REAP_CHILD GLib starts
        // the browser through an intermediate child, so it leaves no zombie.
        std::string program = executable;
        std::string argument = address;
        gchar* argv[] = {program.data(), argument.data(), nullptr};
        GError* rawError = nullptr;
        if (!g_spawn_async(nullptr, argv, nullptr, G_SPAWN_DEFAULT, nullptr, nullptr, nullptr,
                           &rawError)) {
            g_error_free(rawError);
            return ShellFileNotFound;
        }
        return ShellOk;
    }
};

} // namespace

std::unique_ptr<BrowserPlatform> systemBrowserPlatform() {
    return std::make_unique<GioBrowserPlatform>();
}

} // namespace trivanta
