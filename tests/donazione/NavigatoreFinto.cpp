// A browser that only writes down how it was started: the number of its
// arguments and each of them in brackets, into argomenti.txt beside itself.
// The file appears whole, so that a reader never sees half of it.
#include <cstdio>
#include <string>
#include <windows.h>

int main(int argc, char** argv) {
    char self[MAX_PATH + 1] = {};
    if (GetModuleFileNameA(nullptr, self, MAX_PATH) == 0) {
        return 1;
    }
    std::string folder(self);
    folder.erase(folder.find_last_of("\\/") + 1);
    const std::string partial = folder + "argomenti.tmp", whole = folder + "argomenti.txt";
    std::FILE* out = std::fopen(partial.c_str(), "wb");
    if (out == nullptr) {
        return 1;
    }
    std::fprintf(out, "%d\n", argc - 1);
    for (int i = 1; i < argc; ++i) {
        std::fprintf(out, "[%s]\n", argv[i]);
    }
    std::fclose(out);
    return MoveFileExA(partial.c_str(), whole.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
