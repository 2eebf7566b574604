#pragma once

#include "MessageBoxes.h"

#include <deque>
#include <functional>
#include <ostream>
#include <vector>

namespace trivanta {

// How GoogleTest prints a box in a failure.
inline void PrintTo(const Message& m, std::ostream* out) {
    *out << "{\"" << m.text << "\", title " << m.title.value_or("none") << ", buttons "
         << static_cast<int>(m.buttons) << ", icon " << static_cast<int>(m.icon) << "}";
}

} // namespace trivanta

namespace trivanta::test {

// Message boxes that answer at once. Each box is recorded; it is answered by
// the next of `risposte`, else by `decidi`, else OK or Yes. `mentreAperta`
// sees the game as the user would while the box is on screen.
class ScatoleScriptate : public MessageBoxes {
public:
    std::vector<Message> mostrate;
    std::deque<Answer> risposte;
    std::function<Answer(const Message&)> decidi;
    std::function<void(const Message&)> mentreAperta;
    bool registra = true; // off for runs too long to keep every box

    Answer show(const Message& message) override {
        if (registra) {
            mostrate.push_back(message);
        }
        if (mentreAperta) {
            mentreAperta(message);
        }
        if (risposte.empty()) {
            return decidi                              ? decidi(message)
                   : message.buttons == Buttons::YesNo ? Answer::Yes
                                                       : Answer::Ok;
        }
        const Answer a = risposte.front();
        risposte.pop_front();
        return a;
    }
};

} // namespace trivanta::test
