#include "Sistema.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

namespace trivanta {

#ifdef _WIN32

namespace {

// The installer looks for this name (packaging/windows/trivanta.nsi).
constexpr wchar_t NomeInEsecuzione[] = L"Trivanta.InEsecuzione";

bool Scrivi(HANDLE handle, const QString& testo) {
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        // A console shows UTF-16 as it is, whatever its code page.
        const std::wstring wide = testo.toStdWString();
        DWORD written = 0;
        return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written,
                             nullptr) != 0;
    }
    // A file or a pipe gets UTF-8.
    const QByteArray bytes = testo.toUtf8();
    DWORD written = 0;
    return WriteFile(handle, bytes.constData(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) != 0 &&
           written == static_cast<DWORD>(bytes.size());
}

} // namespace

bool ScriviRisposta(const QString& testo, bool errore) {
    const HANDLE own = GetStdHandle(errore ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (own != nullptr && own != INVALID_HANDLE_VALUE && GetFileType(own) != FILE_TYPE_UNKNOWN) {
        return Scrivi(own, testo);
    }
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) {
        return false;
    }
    const HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    bool written = false;
    if (console != INVALID_HANDLE_VALUE) {
        // The prompt does not wait for a desktop program and is already back
        // on its line: the answer starts on a line of its own.
        written = Scrivi(console, QLatin1Char('\n') + testo);
        CloseHandle(console);
    }
    FreeConsole();
    return written;
}

void SegnaInEsecuzione() {
    // Never closed: the system closes it when the process ends.
    (void)CreateMutexW(nullptr, FALSE, NomeInEsecuzione);
}

#else

bool ScriviRisposta(const QString& testo, bool errore) {
    (void)std::fputs(testo.toLocal8Bit().constData(), errore ? stderr : stdout);
    return true;
}

void SegnaInEsecuzione() {}

#endif

void CaricaTraduzioneQt(QCoreApplication& app) {
    // Debian's translations on Linux; on Windows the "translations" folder
    // beside the program, which its qt.conf makes Qt's own.
    auto* traduzione = new QTranslator(&app);
    if (traduzione->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(traduzione);
    } else {
        delete traduzione;
    }
}

} // namespace trivanta
