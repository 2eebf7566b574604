#pragma once

#include <QPixmap>
#include <map>
#include <string>
#include <string_view>

namespace trivanta {

// The picture store of the window: the 41 pictures fetched by name. It is
// filled when a picture is first read and emptied when the window unloads.
class Cards {
public:
    // The picture called nome ("o1", "vuota"); null for "" or an unknown name.
    QPixmap picture(std::string_view nome);
    bool loaded() const { return loaded_; }
    void unload();

private:
    std::map<std::string, QPixmap, std::less<>> pictures_;
    bool loaded_ = false;
};

} // namespace trivanta
