#include "Sfida.h"

#include "Briscola.h"

namespace trivanta {

namespace {

// The player at the user's seat never wants another game: one game a call.
class RisposteSfida final : public MessageBoxes {
public:
    Answer show(const Message& m) override {
        return m.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
};

int PuntiIn(const StatoGioco& s, std::int16_t pila) {
    int punti = 0;
    for (int i = 0; i < NumeroCarte; ++i) {
        if (s.StatoCarte[ValoreIndice(i)][SemeIndice(i)] == pila) {
            punti += PuntiIndice(i);
        }
    }
    return punti;
}

} // namespace

EsitoSfida GiocaSfida(Avversario& user, Avversario& pc, Random& random) {
    RisposteSfida boxes;
    Briscola gioco(boxes, random, &pc);
    const StatoGioco& s = gioco.stato();
    gioco.Form_Load();
    // Twenty presses make a game; the bound only keeps a broken opponent
    // from spinning for ever.
    for (int premute = 0; premute < 40 && !s.SceltoDiChiudere; ++premute) {
        const int carta = user.Scegli(gioco.ConoscenzaDi(TurnoUser));
        int slot = 0;
        for (int i = 0; i < 3; ++i) {
            if (carta >= 0 &&
                s.ManoUserValore[static_cast<std::size_t>(i)] == ValoreIndice(carta) &&
                s.ManoUserSeme[static_cast<std::size_t>(i)] == SemeIndice(carta)) {
                slot = i;
            }
        }
        gioco.user_Click(slot);
        gioco.giocatautente_Click();
    }
    EsitoSfida esito;
    esito.PuntiUser = PuntiIn(s, PosPresaUser);
    esito.PuntiPc = PuntiIn(s, PosPresaPc);
    esito.Prese = s.NumeroPrese;
    esito.Completa = s.PartitaFinita && s.SceltoDiChiudere;
    return esito;
}

std::array<EsitoSfida, 2> GiocaSmazzata(Avversario& a, Avversario& b, std::uint64_t seme) {
    PcgRandom prima(seme, ContatoreReseed());
    const EsitoSfida andata = GiocaSfida(a, b, prima);
    PcgRandom seconda(seme, ContatoreReseed());
    const EsitoSfida ritorno = GiocaSfida(b, a, seconda);
    return {andata, ritorno};
}

} // namespace trivanta
