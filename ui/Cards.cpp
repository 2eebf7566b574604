#include "Cards.h"

#include "CardPictures.h"

namespace trivanta {

QPixmap Cards::picture(std::string_view nome) {
    if (nome.empty()) {
        return {};
    }
    loaded_ = true;
    auto it = pictures_.find(nome);
    if (it == pictures_.end()) {
        it = pictures_.emplace(std::string(nome), cardPicture(nome)).first;
    }
    return it->second;
}

void Cards::unload() {
    pictures_.clear();
    loaded_ = false;
}

} // namespace trivanta
