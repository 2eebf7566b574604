#pragma once

#include <QObject>
#include <QPixmap>
#include <map>
#include <string>
#include <string_view>

namespace trivanta {

// The picture store `cards` of the window: the 41 pictures fetched by name,
// each loaded the first time it is read. The window creates it when it first
// needs a picture and deletes it when it unloads.
class Cards : public QObject {
    Q_OBJECT

public:
    explicit Cards(QObject* parent);

    // The picture called nome ("o1", "vuota"); null for "" or an unknown name.
    QPixmap picture(std::string_view nome);
    // The same picture drawn at twice the size, for screens whose device
    // pixel ratio is not 1; loaded only when such a screen asks for it.
    QPixmap large(std::string_view nome);

private:
    std::map<std::string, QPixmap, std::less<>> pictures_;
    std::map<std::string, QPixmap, std::less<>> large_;
};

} // namespace trivanta
