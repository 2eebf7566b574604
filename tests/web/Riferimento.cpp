// The desktop's record of a seeded run, which the page must reproduce: the
// games of `trivanta --seme N` played through the game's events with scripted
// boxes, Yes to "another game?" until the last game, then No. The user plays
// the first card of the hand (prima), or at the n-th press of "Gioca" the
// card in place n modulo the hand's size (giro). Prints as JSON, in order,
// every box and every moment the user is about to play, each with what the
// table shows then.
//
//   web_riferimento SEED [casuale|esperto] [GAMES] [prima|giro]
#include "Briscola.h"
#include "Scatole.h"
#include "Testi.h"
#include "avversari/Avversario.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace trivanta;

std::string Json(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out + '"';
}

std::string JsonPosto(const Posto& p) {
    return p.visibile ? Json(p.immagine) : "null";
}

// The table as the page shows it: the user's places with their pictures, the
// computer's covered places shown or not, the table, the trump card, the
// markers and the status bar.
std::string Vista(const Tavolo& t) {
    const auto lista = [](auto&& voce) {
        std::string l = "[";
        for (std::size_t k = 0; k < 3; ++k) {
            l += k ? "," : "";
            l += voce(k);
        }
        return l + "]";
    };
    const auto vero = [](bool b) { return std::string(b ? "true" : "false"); };
    std::string v = "{\"user\":";
    v += lista([&](std::size_t k) { return JsonPosto(t.user[k]); });
    v += ",\"pc\":";
    v += lista([&](std::size_t k) { return vero(t.pc[k].visibile); });
    v += ",\"terrauser\":" + JsonPosto(t.terrauser);
    v += ",\"terrapc\":" + JsonPosto(t.terrapc);
    v += ",\"cartabriscola\":" + JsonPosto(t.cartabriscola);
    v += ",\"shape\":";
    v += lista([&](std::size_t k) { return vero(t.Shape2[k]); });
    v += ",\"status\":" + Json(t.StatusBar1);
    return v + "}";
}

const char* NomeIcona(Icon icon) {
    switch (icon) {
    case Icon::Information:
        return "information";
    case Icon::Exclamation:
        return "exclamation";
    case Icon::None:
        break;
    }
    return "none";
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        (void)std::fputs("usage: web_riferimento SEED [casuale|esperto] [GAMES] [prima|giro]\n",
                         stderr);
        return 2;
    }
    const std::uint64_t seme = std::strtoull(argv[1], nullptr, 10);
    const bool esperto = argc > 2 && std::string(argv[2]) == testi::AvversarioEsperto;
    const long partite = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 1;
    const bool giro = argc > 4 && std::string(argv[4]) == "giro";

    const Giocatori giocatori = CreaGiocatori(esperto, seme);
    test::ScatoleScriptate boxes;
    Briscola gioco(boxes, *giocatori.random, giocatori.avversario.get());
    std::string record;
    const auto evento = [&](const std::string& e) {
        record += (record.empty() ? "[\n" : ",\n") + e;
    };
    int finite = 0;
    boxes.decidi = [&](const Message& m) {
        if (m.buttons == Buttons::Ok) {
            return Answer::Ok;
        }
        return ++finite < partite ? Answer::Yes : Answer::No;
    };
    boxes.mentreAperta = [&](const Message& m) {
        evento("{\"box\":{\"testo\":" + Json(m.text) +
               ",\"titolo\":" + Json(m.title.value_or(testi::TitoloFinestra)) + ",\"pulsanti\":\"" +
               (m.buttons == Buttons::YesNo ? "yesno" : "ok") + "\",\"icona\":\"" +
               NomeIcona(m.icon) + "\"},\"vista\":" + Vista(gioco.tavolo()) + "}");
    };
    gioco.Form_Load();
    // A whole game is 20 presses; anything beyond means the run never ended.
    for (int premute = 0; !gioco.ChiusuraRichiesta() && premute < 25 * partite; ++premute) {
        int mano = 0;
        for (const auto& p : gioco.tavolo().user) {
            mano += p.visibile ? 1 : 0;
        }
        const int scelta = giro && mano > 0 ? premute % mano : 0;
        gioco.user_Click(scelta);
        evento("{\"pausa\":" + Vista(gioco.tavolo()) + ",\"scelta\":" + std::to_string(scelta) +
               "}");
        gioco.giocatautente_Click();
    }
    std::printf("%s\n]\n", record.c_str());
    return gioco.ChiusuraRichiesta() ? 0 : 1;
}
