#include "avversari/Avversario.h"
#include "avversari/Esperto.h"

#include <random>

namespace trivanta {

namespace {

// What a greedy player gives up with a card: points first, then whether it
// is a trump, then its strength, then its suit, packed so that the smallest
// key is the card it plays. No two cards share a key.
struct ChiaviGolose {
    std::array<std::array<std::uint16_t, NumeroCarte>, NumeroSemi + 1> chiave{};

    constexpr ChiaviGolose() {
        for (int b = 0; b <= NumeroSemi; ++b) {
            for (int i = 0; i < NumeroCarte; ++i) {
                const int briscola = SemeIndice(i) == b ? 1 : 0;
                chiave[static_cast<std::size_t>(b)][static_cast<std::size_t>(i)] =
                    static_cast<std::uint16_t>((PuntiIndice(i) << 7) | (briscola << 6) |
                                               (ForzaIndice(i) << 2) | (SemeIndice(i) - 1));
            }
        }
    }
};

constexpr ChiaviGolose Chiavi{};

int PiuEconomica(Maschera carte, int briscola) {
    const auto& chiave = Chiavi.chiave[static_cast<std::size_t>(briscola)];
    int scelta = -1;
    unsigned migliore = ~0U;
    for (; carte != 0; carte &= carte - 1) {
        const int i = Prima(carte);
        if (chiave[static_cast<std::size_t>(i)] < migliore) {
            migliore = chiave[static_cast<std::size_t>(i)];
            scelta = i;
        }
    }
    return scelta;
}

} // namespace

int SceltaGolosa(Maschera mano, int guida, int briscola) {
    if (briscola < 1 || briscola > NumeroSemi) {
        briscola = 0;
    }
    if (guida >= 0 && guida < NumeroCarte) {
        const Maschera prendono = mano & Prese.Battono(briscola, guida);
        if (prendono != 0) {
            return PiuEconomica(prendono, briscola);
        }
    }
    return PiuEconomica(mano, briscola);
}

int Goloso::Scegli(const Conoscenza& k) {
    return SceltaGolosa(k.Mano, k.CartaAvversario, k.SemeBriscola);
}

int Casuale::Scegli(const Conoscenza& k) {
    if (k.Mano == 0) {
        return -1;
    }
    random_.reseed();
    for (;;) {
        const auto valore = static_cast<int>(random_.next() * 11);
        const auto seme = static_cast<int>(random_.next() * 5);
        if (valore == 0 || valore > NumeroValori || seme == 0 || seme > NumeroSemi) {
            continue;
        }
        if (Contiene(k.Mano, IndiceCarta(valore, seme))) {
            return IndiceCarta(valore, seme);
        }
    }
}

Giocatori CreaGiocatori(bool esperto, std::optional<std::uint64_t> seme) {
    Giocatori g;
    if (seme) {
        g.random = std::make_unique<PcgRandom>(*seme, ContatoreReseed());
    } else {
        g.random = std::make_unique<PcgRandom>();
    }
    if (esperto) {
        std::random_device entropia;
        const std::uint64_t suo =
            seme ? *seme : (std::uint64_t{entropia()} << 32 | std::uint64_t{entropia()});
        g.avversario = std::make_unique<Esperto>(suo);
    }
    return g;
}

} // namespace trivanta
