#include "avversari/Sfida.h"

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
    // The user's pile and the computer's, as the user's seat sees them.
    const Conoscenza k = gioco.ConoscenzaDi(TurnoUser);
    EsitoSfida esito;
    esito.PuntiUser = PuntiDi(k.PreseMie);
    esito.PuntiPc = PuntiDi(k.PreseSue);
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
