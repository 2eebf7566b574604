#pragma once

#include <optional>
#include <string>

namespace trivanta {

enum class Buttons { Ok, YesNo };
enum class Icon { None, Information, Exclamation };
enum class Answer { Ok, Yes, No };

// One modal message box: everything the program ever says to the user.
// Lines of a multi-line text are joined by "\r\n".
struct Message {
    std::string text;
    std::optional<std::string> title; // none: the box shows the window's title
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;

    bool operator==(const Message&) const = default;
};

// Shows a box and waits until the user closes it. For a Yes/No box the
// answer says which button was chosen; closing it any other way is No.
// Yes is the first and the default button of a Yes/No box.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual Answer show(const Message& message) = 0;
};

} // namespace trivanta
