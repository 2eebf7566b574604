// A stand-in for the browser that the Windows tests register for .htm files:
// it adds what it was started with to "avvii.txt" beside itself and ends.
// Each start is one line per argument after the program's name, in UTF-8,
// then an empty line.
#include <cstdio>
#include <string>
#include <windows.h>

namespace {

std::string Utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    bytes.resize(bytes.size() - 1);
    return bytes;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring registro = argv[0];
    registro.erase(registro.find_last_of(L"\\/") + 1);
    registro += L"avvii.txt";
    FILE* out = _wfopen(registro.c_str(), L"ab");
    if (out == nullptr) {
        return 1;
    }
    for (int i = 1; i < argc; ++i) {
        (void)std::fprintf(out, "%s\n", Utf8(argv[i]).c_str());
    }
    (void)std::fputs("\n", out);
    return std::fclose(out) == 0 ? 0 : 1;
}
