#pragma once

#include "MessageBoxes.h"

namespace trivanta {

// Answers every box at once: Yes to "another game?", so games follow one
// another inside the same press, as for a player who keeps playing.
class InstantBoxes final : public MessageBoxes {
public:
    Answer show(const Message& m) override {
        return m.buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
};

} // namespace trivanta
