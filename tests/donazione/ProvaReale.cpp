// Opens the donation page through the real platform layer and prints every
// box it would show, one per line as "title|icon|text", then whether a child
// process was left behind. Run by the tests with their own XDG directories,
// which GIO reads once per process.
#include "Donazione.h"

#include <cerrno>
#include <cstdio>
#include <sys/wait.h>

namespace {

class ScatoleStampate : public trivanta::MessageBoxes {
public:
    trivanta::Answer show(const trivanta::Message& message) override {
        std::printf("%s|%d|%s\n", message.title.value_or("-").c_str(),
                    static_cast<int>(message.icon), message.text.c_str());
        return trivanta::Answer::Ok;
    }
};

} // namespace

int main() {
    ScatoleStampate boxes;
    const auto platform = trivanta::systemBrowserPlatform();
    trivanta::ApriDonazione(boxes, *platform, 0);
    int status = 0;
    const bool childLeft = ::waitpid(-1, &status, WNOHANG) != -1 || errno != ECHILD;
    std::printf("%s\n", childLeft ? "child left" : "no child left");
    return 0;
}
