#pragma once

#include "MessageBoxes.h"

#include <functional>

class QWidget;

namespace trivanta {

// Shows each message as a QMessageBox owned by the window. Before a box opens
// it lets the window bring the table on screen up to date, since a box often
// talks about what the table shows at that moment.
class QtMessageBoxes final : public MessageBoxes {
public:
    QtMessageBoxes(QWidget* owner, std::function<void()> beforeShowing);

    Answer show(const Message& message) override;

private:
    QWidget* owner_;
    std::function<void()> beforeShowing_;
};

} // namespace trivanta
