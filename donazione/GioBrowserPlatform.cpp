// The donation link on freedesktop systems: GIO names the default application
// for the content type of the throw-away file, the way the Windows shell does
// for its file associations, and starts it through its desktop entry.
#include "Donazione.h"
#include "PosixFiles.h"

#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <memory>

namespace trivanta {

namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectUnref>;
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;

class GioBrowserPlatform final : public BrowserPlatform {
public:
    std::string programDirectory() override { return posix::ExecutableDirectory(); }
    char pathSeparator() const override { return '/'; }
    std::string privateDirectory() override {
        return posix::PrivateDirectory(g_getenv("XDG_RUNTIME_DIR"), g_getenv("TMPDIR"));
    }
    void removeDirectory(const std::string& path) override { posix::RemoveDirectory(path); }
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
        // Only a program that takes an address: one that takes only local
        // files would be started without the page.
        const GObjectPtr<GAppInfo> application(g_app_info_get_default_for_type(type, TRUE));
        const char* entry =
            G_IS_DESKTOP_APP_INFO(application.get())
                ? g_desktop_app_info_get_filename(G_DESKTOP_APP_INFO(application.get()))
                : nullptr;
        if (entry == nullptr) {
            return {ShellNoAssociation, {}};
        }
        return {ShellOk, entry};
    }

    ShellResult launch(std::int32_t, const std::string& entry,
                       const std::string& address) override {
        // The entry's command line as it stands, with the address as its one
        // URI: whatever wraps the browser (env VAR=..., flatpak run with its
        // @@u markers) keeps working. GIO parses the line itself, no shell
        // sees the address, and it spawns through an intermediate child, so
        // the browser is never a child of ours to reap.
        const GObjectPtr<GDesktopAppInfo> application(
            g_desktop_app_info_new_from_filename(entry.c_str()));
        if (!application) {
            return ShellFileNotFound;
        }
        std::string uri = address;
        GList uris{};
        uris.data = uri.data();
        GError* rawError = nullptr;
        if (!g_app_info_launch_uris(G_APP_INFO(application.get()), &uris, nullptr, &rawError)) {
            const GErrorPtr error(rawError);
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
