// The page's binding over the game: the page's events reach Briscola here,
// its boxes wait for the page's <dialog> (Asyncify), and the page reads back
// what to show as one JSON text. No rule and no word of the game is decided
// here; everything comes from the core and from Testi.h.
#include "Briscola.h"
#include "Testi.h"
#include "Valori.h"
#include "avversari/Avversario.h"

#include <emscripten.h>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace trivanta;

// The page renders the table it is given, announces what changed, opens its
// modal dialog and resolves with the button: 0 OK, 1 Yes, 2 No. The table
// comes along because the core, while it waits, is not to be called.
EM_ASYNC_JS(int, trivanta_box,
            (const char* tavolo, const char* testo, const char* titolo, int siNo, int icona), {
                return await Module.mostraBox(UTF8ToString(tavolo), UTF8ToString(testo),
                                              UTF8ToString(titolo), siNo, icona);
            });

// A new tab with the address, without a way back to this page; false when the
// browser blocked it.
EM_JS(int, trivanta_apri, (const char* indirizzo),
      { return Module.apriScheda(UTF8ToString(indirizzo)) ? 1 : 0; });

std::string TavoloJson(const Briscola* b);

class BoxPagina final : public MessageBoxes {
public:
    // The game whose table stands behind the boxes; none before a game.
    const Briscola* briscola = nullptr;

    Answer show(const Message& m) override {
        const std::string tavolo = TavoloJson(briscola);
        const std::string titolo = m.title.value_or(testi::TitoloFinestra);
        const int icona = m.icon == Icon::Information ? 1 : m.icon == Icon::Exclamation ? 2 : 0;
        const int risposta = trivanta_box(tavolo.c_str(), m.text.c_str(), titolo.c_str(),
                                          m.buttons == Buttons::YesNo, icona);
        if (m.buttons == Buttons::Ok) {
            return Answer::Ok;
        }
        return risposta == 1 ? Answer::Yes : Answer::No;
    }
};

// The expert as the game asks it, with the time of each of its decisions
// kept for whoever measures the page.
class Cronometrato final : public Avversario {
public:
    explicit Cronometrato(std::unique_ptr<Avversario> dentro) : dentro_(std::move(dentro)) {}
    int Scegli(const Conoscenza& k) override {
        const double inizio = emscripten_get_now();
        const int scelta = dentro_->Scegli(k);
        tempi.push_back(emscripten_get_now() - inizio);
        return scelta;
    }
    std::vector<double> tempi;

private:
    std::unique_ptr<Avversario> dentro_;
};

struct Opzioni {
    bool esperto = false;
    std::optional<std::uint64_t> seme;
};

// The players of a run, the expert timed.
Giocatori Cronometra(Giocatori g) {
    if (g.avversario) {
        g.avversario = std::make_unique<Cronometrato>(std::move(g.avversario));
    }
    return g;
}

// One run of the program: what the desktop's `trivanta --avversario ...
// --seme N` builds, made anew for each fresh start.
struct Partita {
    explicit Partita(const Opzioni& o)
        : giocatori(Cronometra(CreaGiocatori(o.esperto, o.seme))),
          cronometro(static_cast<Cronometrato*>(giocatori.avversario.get())) {
        boxes.briscola = &briscola;
    }
    BoxPagina boxes;
    Giocatori giocatori;
    Cronometrato* cronometro; // null when the computer plays at random
    Briscola briscola{boxes, *giocatori.random, giocatori.avversario.get()};
};

Opzioni opzioni;
std::unique_ptr<Partita> partita;
std::vector<double> tempiPassati; // the expert's times in earlier runs of this page
std::string uscita;               // the last text handed to the page

// A JSON string: the texts are the game's own, quotes and line breaks included.
void Stringa(std::string& j, std::string_view s) {
    j += '"';
    for (const char c : s) {
        switch (c) {
        case '"':
            j += "\\\"";
            break;
        case '\\':
            j += "\\\\";
            break;
        case '\n':
            j += "\\n";
            break;
        case '\r':
            j += "\\r";
            break;
        default:
            j += c;
        }
    }
    j += '"';
}

void Campo(std::string& j, std::string_view nome, std::string_view valore) {
    Stringa(j, nome);
    j += ':';
    Stringa(j, valore);
    j += ',';
}

void Luogo(std::string& j, std::string_view id, const trivanta::Posto& p, const Accessibile& a) {
    Stringa(j, id);
    j += ":{";
    Campo(j, "immagine", p.immagine);
    Campo(j, "nome", a.nome);
    Campo(j, "descrizione", a.descrizione);
    j += "\"visibile\":";
    j += p.visibile ? "true" : "false";
    j += "},";
}

std::string& Chiudi(std::string& j) {
    if (!j.empty() && j.back() == ',') {
        j.pop_back();
    }
    j += '}';
    return j;
}

const char* Fine(std::string& j) {
    uscita = std::move(Chiudi(j));
    return uscita.c_str();
}

// What the page shows: every place with its picture, whether it is shown
// and what a screen reader says of it; the markers, the status bar, the
// selected place and whether the program has ended.
std::string TavoloJson(const Briscola* b) {
    std::string j = "{";
    if (b != nullptr) {
        const Tavolo& t = b->tavolo();
        const TavoloAccessibile a = DescriviTavolo(t);
        for (std::size_t k = 0; k < 3; ++k) {
            Luogo(j, "user" + std::to_string(k), t.user[k], a.user[k]);
            Luogo(j, "pc" + std::to_string(k), t.pc[k], a.pc[k]);
        }
        Luogo(j, "terrauser", t.terrauser, a.terrauser);
        Luogo(j, "terrapc", t.terrapc, a.terrapc);
        Luogo(j, "cartabriscola", t.cartabriscola, a.cartabriscola);
        j += "\"Shape2\":[";
        for (std::size_t k = 0; k < 3; ++k) {
            j += t.Shape2[k] ? "true" : "false";
            j += k < 2 ? "," : "],";
        }
        Campo(j, "StatusBar1", t.StatusBar1);
        Campo(j, "nomeStatusBar1", a.StatusBar1.nome);
        j += "\"currentindex\":" + std::to_string(b->stato().currentindex) + ",";
        j += "\"chiusura\":";
        j += b->ChiusuraRichiesta() ? "true" : "false";
    }
    return Chiudi(j);
}

// The page's events, numbered as the page sends them.
enum Evento {
    FormLoad,
    UserClick,
    GiocaClick,
    NewpartClick,
    EsciClick,
    InfoClick,
    Donazione,
};

} // namespace

extern "C" {

// Every word that the page shows around the table.
EMSCRIPTEN_KEEPALIVE const char* trivanta_testi() {
    std::string j = "{";
    Campo(j, "TitoloFinestra", testi::TitoloFinestra);
    Campo(j, "TitoloFinestraEsperto", testi::TitoloFinestraEsperto);
    Campo(j, "InvitoDonazione", testi::InvitoDonazione);
    Campo(j, "EtichettaUtente", testi::EtichettaUtente);
    Campo(j, "EtichettaPc", testi::EtichettaPc);
    Campo(j, "EtichettaBriscola", testi::EtichettaBriscola);
    Campo(j, "Gioca", testi::Gioca);
    Campo(j, "MenuFile", testi::MenuFile);
    Campo(j, "VoceNuovaPartita", testi::VoceNuovaPartita);
    Campo(j, "VoceEsci", testi::VoceEsci);
    Campo(j, "MenuAiuto", testi::MenuAiuto);
    Campo(j, "VoceInformazioni", testi::VoceInformazioni);
    Campo(j, "VoceDonazione", testi::VoceDonazione);
    Campo(j, "ProgrammaFinito", testi::ProgrammaFinito);
    Campo(j, "Versione", TRIVANTA_VERSIONE);
    return Fine(j);
}

// Reads the values of the page's address as the command line reads its
// options: how many times each was given and the first value. A mistake is
// shown in a box and leaves no game; otherwise the run is ready for
// Form_Load. Returns 1 when a game may start.
EMSCRIPTEN_KEEPALIVE int trivanta_opzioni(int quantiAvversario, const char* avversario,
                                          int quantiSeme, const char* seme) {
    std::string sbaglio;
    if (quantiAvversario > 1) {
        sbaglio = Sbaglio(std::string(testi::OpzioneAvversario) + testi::DatoPiuVolte,
                          testi::ValoriValidiAvversario);
    } else if (quantiSeme > 1) {
        sbaglio =
            Sbaglio(std::string(testi::OpzioneSeme) + testi::DatoPiuVolte, testi::ValoriValidiSeme);
    } else if (quantiAvversario == 1 && !LeggiAvversario(avversario)) {
        sbaglio = SbaglioAvversario(avversario);
    } else if (quantiSeme == 1 && !LeggiSeme(seme)) {
        sbaglio = SbaglioSeme(seme);
    }
    if (!sbaglio.empty()) {
        BoxPagina().show({sbaglio, std::string(testi::TitoloFinestra), Buttons::Ok, Icon::None});
        return 0;
    }
    opzioni.esperto = quantiAvversario == 1 && *LeggiAvversario(avversario);
    opzioni.seme = quantiSeme == 1 ? LeggiSeme(seme) : std::nullopt;
    return 1;
}

// A fresh run, as if the program had been started again with the same
// options: a seeded run replays from its start.
EMSCRIPTEN_KEEPALIVE void trivanta_nuova() {
    if (partita && partita->cronometro != nullptr) {
        const auto& t = partita->cronometro->tempi;
        tempiPassati.insert(tempiPassati.end(), t.begin(), t.end());
    }
    partita = std::make_unique<Partita>(opzioni);
}

EMSCRIPTEN_KEEPALIVE int trivanta_esperto() {
    return opzioni.esperto ? 1 : 0;
}

// One event of the page, handled to its end: its boxes wait for the page.
EMSCRIPTEN_KEEPALIVE void trivanta_evento(int evento, int indice) {
    if (!partita) {
        return;
    }
    Briscola& b = partita->briscola;
    switch (evento) {
    case FormLoad:
        b.Form_Load();
        break;
    case UserClick:
        b.user_Click(indice);
        break;
    case GiocaClick:
        b.giocatautente_Click();
        break;
    case NewpartClick:
        b.newpart_Click();
        break;
    case EsciClick:
        b.esci_Click();
        break;
    case InfoClick:
        b.Info_Click();
        break;
    case Donazione:
        // The page cannot ask the system for a browser; a blocked tab is
        // the browser that could not be found.
        if (trivanta_apri(testi::IndirizzoDonazione) == 0) {
            partita->boxes.show({std::string(testi::BrowserNonTrovato) + testi::IndirizzoDonazione,
                                 std::string(testi::TitoloBrowserNonTrovato), Buttons::Ok,
                                 Icon::Exclamation});
        }
        break;
    default:
        break;
    }
}

// What the page shows now: every place with its picture, whether it is shown
// and what a screen reader says of it; the markers, the status bar, the
// selected place and whether the program has ended.
EMSCRIPTEN_KEEPALIVE const char* trivanta_tavolo() {
    uscita = TavoloJson(partita ? &partita->briscola : nullptr);
    return uscita.c_str();
}

// The expert's decisions so far, in milliseconds each.
EMSCRIPTEN_KEEPALIVE const char* trivanta_tempi() {
    std::vector<double> tutti = tempiPassati;
    if (partita && partita->cronometro != nullptr) {
        const auto& t = partita->cronometro->tempi;
        tutti.insert(tutti.end(), t.begin(), t.end());
    }
    std::string j = "[";
    for (const double t : tutti) {
        j += std::to_string(t) + ",";
    }
    if (j.back() == ',') {
        j.pop_back();
    }
    j += ']';
    uscita = std::move(j);
    return uscita.c_str();
}

} // extern "C"
