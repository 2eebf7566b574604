#pragma once

#include <QString>
#include <string_view>

namespace trivanta {

// What a screen reader says for a card place that shows the picture immagine
// ("o7" is "7 di ori"). An empty place is "posto vuoto"; the picture "vuota"
// is "carta coperta" in the computer's hand and an empty place elsewhere.
QString nomeAccessibile(std::string_view immagine, bool manoPc = false);

} // namespace trivanta
