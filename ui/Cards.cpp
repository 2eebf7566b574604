#include "Cards.h"

#include "CardPictures.h"

namespace trivanta {

Cards::Cards(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("cards"));
}

namespace {

template <typename Load>
QPixmap cached(std::map<std::string, QPixmap, std::less<>>& store, std::string_view nome,
               Load load) {
    if (nome.empty()) {
        return {};
    }
    auto it = store.find(nome);
    if (it == store.end()) {
        it = store.emplace(std::string(nome), load(nome)).first;
    }
    return it->second;
}

} // namespace

QPixmap Cards::picture(std::string_view nome) {
    return cached(pictures_, nome, cardPicture);
}

QPixmap Cards::large(std::string_view nome) {
    return cached(large_, nome, largeCardPicture);
}

} // namespace trivanta
