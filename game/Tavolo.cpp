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

TavoloAccessibile DescriviTavolo(const Tavolo& t) {
    TavoloAccessibile a;
    for (std::size_t k = 0; k < 3; ++k) {
        a.pc[k] = {NomeAccessibile(t.pc[k].immagine, true), testi::DescrizioneManoPc};
        a.user[k] = {NomeAccessibile(t.user[k].immagine),
                     testi::DescrizioneManoUser + std::to_string(k + 1) +
                         (t.Shape2[k] ? testi::DescrizioneScelta : "")};
    }
    a.terrauser = {NomeAccessibile(t.terrauser.immagine), testi::DescrizioneTerraUser};
    a.terrapc = {NomeAccessibile(t.terrapc.immagine), testi::DescrizioneTerraPc};
    a.cartabriscola = {testi::PrefissoBriscola + NomeAccessibile(t.cartabriscola.immagine), ""};
    // The counts are in the bar's name, so that a screen reader hears each new count.
    a.StatusBar1 = {t.StatusBar1.empty() ? testi::NomeBarraDiStato
                                         : testi::PrefissoBarraDiStato + t.StatusBar1,
                    ""};
    return a;
}

} // namespace trivanta
