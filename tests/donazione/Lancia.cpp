// Opens the address given as its argument the way the window does, through
// this system's real browser layer, and prints every box shown, one line
// each: the title ("-" for none), "|", the text. Ends with status 3 when a
// process it started is still its child: a browser it would have to reap.
#include "Donazione.h"
#include "Scatole.h"

#include <cerrno>
#include <cstdio>
#include <sys/wait.h>

int main(int, char** argv) {
    trivanta::test::ScatoleScriptate boxes;
    trivanta::LaunchBrowser(argv[1], 0, boxes, *trivanta::systemBrowserPlatform());
    for (const trivanta::Message& m : boxes.mostrate) {
        std::printf("%s|%s\n", m.title.value_or("-").c_str(), m.text.c_str());
    }
    return ::waitpid(-1, nullptr, WNOHANG) != -1 || errno != ECHILD ? 3 : 0;
}
