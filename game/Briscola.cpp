#include "Briscola.h"

#include "Testi.h"

#include <algorithm>
#include <bit>

namespace trivanta {

namespace {

Message Annuncio(std::string testo) {
    return {std::move(testo), std::string(testi::TitoloFinestra), Buttons::Ok, Icon::None};
}

// The integer part of r * n, r uniform over [0, 1).
int Estrai(Random& random, int n) {
    return static_cast<int>(random.next() * n);
}

// Walks the 40 cards in the order every rule uses: value outside, suit inside.
template <typename F> void PerOgniCarta(F&& f) {
    for (int v = 1; v <= NumeroValori; ++v) {
        for (int s = 1; s <= NumeroSemi; ++s) {
            f(v, s);
        }
    }
}

using Tabella = decltype(StatoGioco::StatoCarte);

// The cards whose location passes `dove`, one bit each. The bits rise in the
// order of PerOgniCarta, so walking them is the same scan without visiting
// the cards that play no part; the table is scanned many times a trick.
template <typename P> std::uint64_t Insieme(const Tabella& t, P dove) {
    std::uint64_t bits = 0;
    for (int v = 1; v <= NumeroValori; ++v) {
        for (int s = 1; s <= NumeroSemi; ++s) {
            bits |= std::uint64_t{dove(t[v][s])} << ((v - 1) * NumeroSemi + (s - 1));
        }
    }
    return bits;
}

template <typename F> void PerOgniCartaIn(std::uint64_t insieme, F&& f) {
    while (insieme != 0) {
        const int i = std::countr_zero(insieme);
        insieme &= insieme - 1;
        f(i / NumeroSemi + 1, i % NumeroSemi + 1);
    }
}

auto In(std::int16_t posizione) {
    return [posizione](std::int16_t p) { return p == posizione; };
}

bool SulTavolo(std::int16_t p) {
    return p == PosTerraPc || p == PosTerraUser;
}

// Gives a place its picture. Names are short and mostly unchanged from one
// redraw to the next, so compare by hand before copying.
void Imposta(std::string& immagine, std::string_view nome) {
    bool uguale = immagine.size() == nome.size();
    for (std::size_t i = 0; uguale && i < nome.size(); ++i) {
        uguale = immagine[i] == nome[i];
    }
    if (!uguale) {
        immagine.assign(nome);
    }
}

} // namespace

Briscola::Briscola(MessageBoxes& boxes, Random& random, Avversario* avversario)
    : boxes_(boxes), random_(random), avversario_(avversario) {}

// ---------------------------------------------------------------- events

void Briscola::Form_Load() {
    if (s_.SceltoDiChiudere) {
        return;
    }
    s_.ContaMazzo = 0;
    s_.Turno = 0;
    s_.currentindex = 0;
    s_.PartitaFinita = false;
    s_.MazziereUser = 0;
    s_.ValoreCarta = 0;
    s_.SemeCarta = 0;
    s_.ManoUserValore.fill(0);
    s_.ManoUserSeme.fill(0);
    for (auto& riga : s_.StatoCarte) {
        for (int seme = 1; seme <= NumeroSemi; ++seme) {
            riga[seme] = PosMazzo;
        }
    }
    s_.SemeBriscola = 0;
    s_.Prese = {};
    s_.NumeroPrese = 0;
    s_.WaitingForUser = false;
    s_.WaitingForPC = false;

    ShapeUserInvisibili();
    s_.currentindex = -1;
    ScegliMazziere();
    NuovaPartita();
    user_Click(0);
    s_.WaitingForUser = true;
    s_.WaitingForPC = true;
    if (s_.Turno == TurnoPc) {
        GiocataPc();
    }
    user_Click(0);
}

void Briscola::Form_Activate() {
    if (s_.SceltoDiChiudere) {
        chiusuraRichiesta_ = true;
    }
}

void Briscola::user_Click(int Index) {
    if (Index < 0 || Index >= static_cast<int>(tavolo_.Shape2.size())) {
        return;
    }
    ShapeUserInvisibili();
    tavolo_.Shape2[Index] = true;
    s_.currentindex = Index;
}

void Briscola::giocatautente_Click() {
    if (s_.WaitingForUser) {
        const int slot = s_.currentindex;
        // A press with nothing playable selected changes nothing.
        if (slot < 0 || slot > 2) {
            return;
        }
        const int valore = s_.ManoUserValore[slot];
        const int seme = s_.ManoUserSeme[slot];
        if (NomeImmagine(valore, seme).empty() || s_.StatoCarte[valore][seme] != PosManoUser) {
            return;
        }
        s_.StatoCarte[valore][seme] = PosTerraUser;
        Ridisegna();
        AggiornaStatusBar();
        s_.WaitingForUser = false;
        if (s_.WaitingForPC) {
            GiocataPc();
        }
        Ridisegna();
    }

    if (!s_.WaitingForUser && !s_.WaitingForPC) {
        Ridisegna();
        std::string codicePc;
        std::string codiceUser;
        PerOgniCartaIn(Insieme(s_.StatoCarte, SulTavolo), [&](int v, int s) {
            if (s_.StatoCarte[v][s] == PosTerraPc) {
                codicePc = CodificaCarta(v, s);
            }
            if (s_.StatoCarte[v][s] == PosTerraUser) {
                codiceUser = CodificaCarta(v, s);
            }
        });
        const CartaDecodificata user = DecodificaCodice(codiceUser);
        const CartaDecodificata pc = DecodificaCodice(codicePc);
        RegistraPresa(user.valore, user.seme, pc.valore, pc.seme);

        const int vincitore = VincitoreCalata();
        if (vincitore == TurnoUser || vincitore == TurnoPc) {
            boxes_.show(Annuncio(vincitore == TurnoUser ? testi::PrendeUtente : testi::PrendePc));
            const std::int16_t pila = vincitore == TurnoUser ? PosPresaUser : PosPresaPc;
            DecodificaCarta(codiceUser);
            s_.StatoCarte[s_.ValoreCarta][s_.SemeCarta] = pila;
            DecodificaCarta(codicePc);
            s_.StatoCarte[s_.ValoreCarta][s_.SemeCarta] = pila;
        } else {
            boxes_.show({testi::ErroreVincitore, std::nullopt, Buttons::Ok, Icon::None});
        }

        s_.Turno = vincitore;
        PescaCarte();
        SvuotaTerra();
        s_.WaitingForPC = true;
        s_.WaitingForUser = true;
        if (s_.Turno == TurnoPc && !s_.PartitaFinita && !s_.SceltoDiChiudere) {
            GiocataPc();
        }
        AggiornaStatusBar();
        if (s_.PartitaFinita && !s_.SceltoDiChiudere) {
            Form_Load();
        }
    }

    if (s_.SceltoDiChiudere) {
        chiusuraRichiesta_ = true;
    }
}

void Briscola::newpart_Click() {
    const Answer risposta =
        boxes_.show({testi::Sicuro, std::string(testi::TitoloSicuro), Buttons::YesNo, Icon::None});
    if (risposta != Answer::No) {
        Form_Load();
    }
}

void Briscola::esci_Click() {
    chiusuraRichiesta_ = true;
}

void Briscola::Info_Click() {
    const std::string a = testi::FineRiga;
    boxes_.show(
        {testi::Prodotto + a + a + testi::Autore + a + testi::Contatto + a + testi::PaginaWeb,
         std::string(testi::TitoloInformazioni), Buttons::Ok, Icon::Information});
}

// ---------------------------------------------------------------- a new game

void Briscola::NuovaPartita() {
    CambiaMazziere();
    boxes_.show(Annuncio(s_.MazziereUser != 0 ? testi::DaraCarteUser : testi::DaraCartePc));
    // Nothing of the old game may stay on the table once its cards are back
    // in the deck.
    SvuotaTerra();
    tavolo_.cartabriscola.immagine.clear();
    AzzeraCarte();
    ScegliBriscola();
    DistribuisciCarte();
    ShapeUserInvisibili();
    Ridisegna();
    AggiornaStatusBar();
}

void Briscola::ScegliMazziere() {
    random_.reseed();
    int x = 0;
    do {
        x = Estrai(random_, 4);
    } while (x == 0 || x == 3);
    s_.MazziereUser = x == 1 ? 1 : 0;
    ImpostaTurno();
}

void Briscola::CambiaMazziere() {
    s_.MazziereUser = s_.MazziereUser == 1 ? 0 : 1;
    ImpostaTurno();
}

void Briscola::ImpostaTurno() {
    s_.Turno = s_.MazziereUser == 1 ? TurnoPc : TurnoUser;
}

void Briscola::AzzeraCarte() {
    PerOgniCarta([&](int v, int s) { s_.StatoCarte[v][s] = PosMazzo; });
}

void Briscola::ScegliBriscola() {
    random_.reseed();
    int valore = 0;
    int seme = 0;
    if (PescaDalMazzo(valore, seme)) {
        s_.StatoCarte[valore][seme] = PosBriscola;
        s_.SemeBriscola = seme;
    }
}

void Briscola::DistribuisciCarte() {
    random_.reseed();
    for (const std::int16_t mano :
         {PosManoPc, PosManoPc, PosManoPc, PosManoUser, PosManoUser, PosManoUser}) {
        int valore = 0;
        int seme = 0;
        if (PescaDalMazzo(valore, seme)) {
            s_.StatoCarte[valore][seme] = mano;
        }
    }
    Ridisegna();
}

bool Briscola::PescaDalMazzo(int& valore, int& seme) {
    // Rejection only ends when the deck holds a card.
    if (ContaCarte(PosMazzo) == 0) {
        return false;
    }
    do {
        do {
            valore = Estrai(random_, 11);
        } while (valore == 0 || valore == 11);
        do {
            seme = Estrai(random_, 5);
        } while (seme == 0 || seme == 5);
    } while (s_.StatoCarte[valore][seme] != PosMazzo);
    return true;
}

int Briscola::ContaCarte(std::int16_t posizione) const {
    return Quante(Insieme(s_.StatoCarte, In(posizione)));
}

// ---------------------------------------------------------------- a trick

int Briscola::VincitoreCalata() {
    int valorePc = 0;
    int semePc = 0;
    int valoreUser = 0;
    int semeUser = 0;
    PerOgniCartaIn(Insieme(s_.StatoCarte, SulTavolo), [&](int v, int s) {
        if (s_.StatoCarte[v][s] == PosTerraPc) {
            valorePc = v;
            semePc = s;
        }
        if (s_.StatoCarte[v][s] == PosTerraUser) {
            valoreUser = v;
            semeUser = s;
        }
    });
    // Both cards go through the trump test as they always did, which leaves
    // the computer's card in ValoreCarta and SemeCarta; the rule itself is
    // the one the simulations use.
    CartaDiBriscola(CodificaCarta(valoreUser, semeUser));
    CartaDiBriscola(CodificaCarta(valorePc, semePc));
    switch (Confronta(valoreUser, semeUser, valorePc, semePc, s_.SemeBriscola)) {
    case Esito::Prima:
        return TurnoUser;
    case Esito::Seconda:
        return TurnoPc;
    case Esito::Nessuna:
        break;
    }
    // Neither follows the other: the card led takes the trick.
    return s_.Turno;
}

bool Briscola::CartaDiBriscola(const std::string& codice) {
    // The trump suit was fixed when the trump card was turned up and lasts
    // the whole game, also once that card has been drawn into a hand.
    DecodificaCarta(codice);
    return s_.SemeCarta != 0 && s_.SemeCarta == s_.SemeBriscola;
}

std::string Briscola::CodiceBriscola() {
    std::string codice;
    PerOgniCartaIn(Insieme(s_.StatoCarte, In(PosBriscola)),
                   [&](int v, int s) { codice = CodificaCarta(v, s); });
    return codice;
}

int Briscola::PuntiCarta(const std::string& codice) {
    DecodificaCarta(codice);
    return PuntiValore(s_.ValoreCarta);
}

void Briscola::GiocataPc() {
    // Without a card in hand there is nothing to choose from.
    if (ContaCarte(PosManoPc) == 0) {
        return;
    }
    Ridisegna();
    Avversario* avversario = avversario_ != nullptr ? avversario_ : &casuale_;
    const Conoscenza k = ConoscenzaDi(TurnoPc);
    int scelta = avversario->Scegli(k);
    // A card the computer does not hold would take another card's place:
    // play its first card instead.
    if (scelta < 0 || scelta >= NumeroCarte || !Contiene(k.Mano, scelta)) {
        scelta = Prima(k.Mano);
    }
    s_.StatoCarte[ValoreIndice(scelta)][SemeIndice(scelta)] = PosTerraPc;
    Ridisegna();
    s_.WaitingForPC = false;
}

Conoscenza Briscola::ConoscenzaDi(int lato) const {
    const bool pc = lato == TurnoPc;
    // One pass over the table, one set per location code, without a branch
    // per card: the opponent is asked ten times a game.
    std::array<Maschera, 16> dove{};
    for (int v = 1; v <= NumeroValori; ++v) {
        for (int seme = 1; seme <= NumeroSemi; ++seme) {
            const auto codice = static_cast<std::size_t>(s_.StatoCarte[v][seme] & 15);
            dove[codice] |= Bit(IndiceCarta(v, seme));
        }
    }
    const auto una = [](Maschera m) { return m != 0 ? Prima(m) : -1; };
    Conoscenza k;
    k.SemeBriscola = s_.SemeBriscola;
    k.CarteCoperte = Quante(dove[PosMazzo]);
    k.CartaScoperta = una(dove[PosBriscola]);
    k.Mano = dove[pc ? PosManoPc : PosManoUser];
    k.PreseMie = dove[pc ? PosPresaPc : PosPresaUser];
    k.PreseSue = dove[pc ? PosPresaUser : PosPresaPc];
    k.CartaMia = una(dove[pc ? PosTerraPc : PosTerraUser]);
    k.CartaAvversario = una(dove[pc ? PosTerraUser : PosTerraPc]);
    k.NumeroPrese = std::min(s_.NumeroPrese, static_cast<int>(k.Storia.size()));
    for (int t = 0; t < k.NumeroPrese; ++t) {
        const PresaGiocata& p = s_.Prese[static_cast<std::size_t>(t)];
        PresaVista& v = k.Storia[static_cast<std::size_t>(t)];
        v.guidavoIo = p.Guida == lato;
        v.mia = pc ? p.CartaPc : p.CartaUser;
        v.sua = pc ? p.CartaUser : p.CartaPc;
    }
    return k;
}

void Briscola::RegistraPresa(int valoreUser, int semeUser, int valorePc, int semePc) {
    // Only whole tricks of real cards, and never more than a game holds.
    if (NomeImmagine(valoreUser, semeUser).empty() || NomeImmagine(valorePc, semePc).empty() ||
        s_.NumeroPrese >= static_cast<int>(s_.Prese.size()) || s_.NumeroPrese < 0) {
        return;
    }
    s_.Prese[static_cast<std::size_t>(s_.NumeroPrese++)] = {
        s_.Turno, static_cast<std::int8_t>(IndiceCarta(valoreUser, semeUser)),
        static_cast<std::int8_t>(IndiceCarta(valorePc, semePc))};
}

void Briscola::PescaCarte() {
    if (s_.ContaMazzo == -1) {
        s_.ContaMazzo = -2;
        return;
    }
    if (s_.ContaMazzo == -2) {
        TerminaPartita();
        return;
    }
    s_.ContaMazzo = ContaCarte(PosMazzo);
    if (s_.ContaMazzo == 0) {
        s_.ContaMazzo = -1;
        return;
    }
    if (s_.ContaMazzo == 1) {
        // The taker gets the face-up trump card, the other side the last
        // covered card.
        const auto daDare = [](std::int16_t p) { return p == PosMazzo || p == PosBriscola; };
        PerOgniCartaIn(Insieme(s_.StatoCarte, daDare), [&](int v, int s) {
            auto& posizione = s_.StatoCarte[v][s];
            if (posizione == PosMazzo) {
                posizione = s_.Turno == TurnoUser ? PosManoPc : PosManoUser;
            }
            if (posizione == PosBriscola) {
                posizione = s_.Turno == TurnoPc ? PosManoPc : PosManoUser;
            }
        });
        tavolo_.cartabriscola.immagine.clear();
        Ridisegna();
        return;
    }
    random_.reseed();
    for (const std::int16_t mano : {PosManoPc, PosManoUser}) {
        int valore = 0;
        int seme = 0;
        if (PescaDalMazzo(valore, seme)) {
            s_.StatoCarte[valore][seme] = mano;
        }
    }
    Ridisegna();
}

void Briscola::TerminaPartita() {
    s_.PartitaFinita = true;
    FinePartita();
}

void Briscola::FinePartita() {
    AggiornaStatusBar();
    int PuntiPc = 0;
    int PuntiUser = 0;
    const auto preso = [](std::int16_t p) { return p == PosPresaPc || p == PosPresaUser; };
    PerOgniCartaIn(Insieme(s_.StatoCarte, preso), [&](int v, int s) {
        if (s_.StatoCarte[v][s] == PosPresaPc) {
            PuntiPc += PuntiCarta(CodificaCarta(v, s));
        } else if (s_.StatoCarte[v][s] == PosPresaUser) {
            PuntiUser += PuntiCarta(CodificaCarta(v, s));
        }
    });

    const char* verdetto = testi::Patta;
    if (PuntiPc > PuntiUser) {
        verdetto = testi::VincePc;
    } else if (PuntiPc < PuntiUser) {
        verdetto = testi::VinceUtente;
    }
    const std::string a = testi::FineRiga;
    const std::string testo = testi::Punteggio + a + a + testi::PuntiPc + NumeroInTesto(PuntiPc) +
                              a + testi::PuntiUser + NumeroInTesto(PuntiUser) + a + a + verdetto +
                              a + a + testi::AltraPartita;

    const Answer risposta =
        boxes_.show({testo, std::string(testi::TitoloFinePartita), Buttons::YesNo, Icon::None});
    if (risposta == Answer::Yes) {
        s_.SceltoDiChiudere = false;
        return;
    }
    boxes_.show({testi::Saluto, std::nullopt, Buttons::Ok, Icon::None});
    s_.SceltoDiChiudere = true;
}

void Briscola::DecodificaCarta(const std::string& codice) {
    const CartaDecodificata carta = DecodificaCodice(codice);
    s_.ValoreCarta = carta.valore;
    s_.SemeCarta = carta.seme;
}

// ---------------------------------------------------------------- drawing

void Briscola::MostraCarta(Posto& posto, int i, int j) {
    posto.visibile = true;
    // A pair that is no card leaves the picture as it was.
    const std::string_view nome = NomeImmagine(i, j);
    if (!nome.empty()) {
        Imposta(posto.immagine, nome);
    }
}

void Briscola::DisegnaCartaUtente(int i, int j, int ter) {
    if (ter >= 0 && ter < static_cast<int>(tavolo_.user.size())) {
        MostraCarta(tavolo_.user[ter], i, j);
    }
}

void Briscola::DisegnaCartaTerraUser(int i, int j) {
    MostraCarta(tavolo_.terrauser, i, j);
}

void Briscola::DisegnaCartaTerraPc(int i, int j) {
    MostraCarta(tavolo_.terrapc, i, j);
}

void Briscola::DisegnaCartaBriscola(int i, int j) {
    MostraCarta(tavolo_.cartabriscola, i, j);
}

void Briscola::Ridisegna() {
    for (std::size_t k = 0; k < 3; ++k) {
        tavolo_.pc[k].visibile = false;
        tavolo_.user[k].visibile = false;
    }
    int cartePc = 0;
    int libero = 0;
    // Cards in the stock and in the piles draw nothing.
    const auto inVista = [](std::int16_t p) {
        return p == PosManoPc || p == PosManoUser || p == PosBriscola || SulTavolo(p);
    };
    PerOgniCartaIn(Insieme(s_.StatoCarte, inVista), [&](int v, int s) {
        switch (s_.StatoCarte[v][s]) {
        case PosTerraUser:
            DisegnaCartaTerraUser(v, s);
            break;
        case PosTerraPc:
            DisegnaCartaTerraPc(v, s);
            break;
        case PosBriscola:
            DisegnaCartaBriscola(v, s);
            break;
        case PosManoPc:
            ++cartePc;
            break;
        case PosManoUser:
            // A hand has three places; the arrays end with a -1 after them.
            if (libero < 3) {
                DisegnaCartaUtente(v, s, libero);
                s_.ManoUserValore[libero] = static_cast<std::int16_t>(v);
                s_.ManoUserSeme[libero] = static_cast<std::int16_t>(s);
                ++libero;
            }
            break;
        default:
            break;
        }
    });
    // The place after the last card marks the end of the hand.
    s_.ManoUserValore[libero] = -1;
    s_.ManoUserSeme[libero] = -1;
    for (std::size_t k = 0; k < 3; ++k) {
        Imposta(tavolo_.pc[k].immagine, Vuota);
        tavolo_.pc[k].visibile = cartePc >= 1 && cartePc <= 3 && static_cast<int>(k) < cartePc;
    }
    if (tavolo_.user[0].visibile) {
        user_Click(0);
    } else {
        tavolo_.Shape2[0] = false;
    }
}

void Briscola::SvuotaTerra() {
    tavolo_.terrauser.immagine.clear();
    tavolo_.terrapc.immagine.clear();
}

void Briscola::ShapeUserInvisibili() {
    tavolo_.Shape2.fill(false);
}

void Briscola::AggiornaStatusBar() {
    // Rebuilt in place: the text is refreshed several times a trick.
    std::string& testo = tavolo_.StatusBar1;
    testo.assign(testi::CartePresePc);
    testo.append(NumeroInTesto(ContaCarte(PosPresaPc)));
    testo.append(testi::CartePreseUser);
    testo.append(NumeroInTesto(ContaCarte(PosPresaUser)));
}

} // namespace trivanta
