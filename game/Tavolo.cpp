#include "Tavolo.h"

#include "Carte.h"
#include "Testi.h"

namespace trivanta {

std::string NomeAccessibile(std::string_view immagine, bool manoPc) {
    if (immagine == Vuota && manoPc) {
        return testi::CartaCoperta;
    }
    const CartaDecodificata carta = CartaDaImmagine(immagine);
    if (carta.valore == 0) {
        return testi::PostoVuoto;
    }
    return std::string(testi::NomiValori[carta.valore - 1]) + testi::ValoreDiSeme +
           testi::NomiSemi[carta.seme - 1];
}

} // namespace trivanta
