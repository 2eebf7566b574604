#include "Cards.h"

#include "CardPictures.h"

namespace trivanta {

Cards::Cards(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("cards"));
}

QPixmap Cards::picture(std::string_view nome) {
    if (nome.empty()) {
        return {};
    }
    auto it = pictures_.find(nome);
    if (it == pictures_.end()) {
        it = pictures_.emplace(std::string(nome), cardPicture(nome)).first;
    }
    return it->second;
}

} // namespace trivanta
