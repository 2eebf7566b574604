#include "Carte.h"

#include <array>

namespace trivanta {

namespace {

constexpr char LettereSemi[NumeroSemi] = {'o', 's', 'c', 'b'};

constexpr bool EUnaCarta(int valore, int seme) {
    return valore >= 1 && valore <= NumeroValori && seme >= 1 && seme <= NumeroSemi;
}

constexpr int IndiceCarta(int valore, int seme) {
    return (valore - 1) * NumeroSemi + (seme - 1);
}

// The picture names of all 40 cards side by side, in the order in which the
// table is scanned, so that a name is a view and costs no allocation.
constexpr auto NomiImmagini = [] {
    std::array<char, std::size_t{2} * NumeroValori * NumeroSemi> nomi{};
    for (int valore = 1; valore <= NumeroValori; ++valore) {
        for (int seme = 1; seme <= NumeroSemi; ++seme) {
            const auto i = 2 * static_cast<std::size_t>(IndiceCarta(valore, seme));
            nomi[i] = LettereSemi[seme - 1];
            nomi[i + 1] = valore == 10 ? '0' : static_cast<char>('0' + valore);
        }
    }
    return nomi;
}();

} // namespace

std::string NumeroInTesto(long n) {
    return std::to_string(n);
}

std::string CodificaCarta(int valore, int seme) {
    std::string codice = valore == 10 ? "0" : NumeroInTesto(valore);
    if (seme >= 1 && seme <= NumeroSemi) {
        codice += LettereSemi[seme - 1];
    }
    return codice;
}

CartaDecodificata DecodificaCodice(std::string_view codice) {
    CartaDecodificata carta;
    if (codice.empty()) {
        return carta;
    }
    const char primo = codice.front();
    if (primo == '0') {
        carta.valore = 10;
    } else if (primo >= '1' && primo <= '9') {
        carta.valore = static_cast<std::int16_t>(primo - '0');
    }
    const char ultimo = codice.back();
    for (int seme = 1; seme <= NumeroSemi; ++seme) {
        if (ultimo == LettereSemi[seme - 1]) {
            carta.seme = static_cast<std::int16_t>(seme);
        }
    }
    return carta;
}

std::string_view NomeImmagine(int valore, int seme) {
    if (!EUnaCarta(valore, seme)) {
        return {};
    }
    return {NomiImmagini.data() + 2 * static_cast<std::ptrdiff_t>(IndiceCarta(valore, seme)), 2};
}

CartaDecodificata CartaDaImmagine(std::string_view nome) {
    if (nome.size() != 2) {
        return {};
    }
    const CartaDecodificata carta = DecodificaCodice(std::string{nome[1], nome[0]});
    return EUnaCarta(carta.valore, carta.seme) ? carta : CartaDecodificata{};
}

} // namespace trivanta
