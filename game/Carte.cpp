#include "Carte.h"

#include <array>

namespace trivanta {

namespace {

constexpr char LettereSemi[NumeroSemi] = {'o', 's', 'c', 'b'};

constexpr bool EUnaCarta(int valore, int seme) {
    return valore >= 1 && valore <= NumeroValori && seme >= 1 && seme <= NumeroSemi;
}

constexpr char CifraValore(int valore) {
    return valore == 10 ? '0' : static_cast<char>('0' + valore);
}

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

int PuntiValore(int valore) {
    switch (valore) {
    case 1:
        return 11;
    case 3:
        return 10;
    case 10:
        return 4;
    case 9:
        return 3;
    case 8:
        return 2;
    default:
        return 0;
    }
}

std::string_view NomeImmagine(int valore, int seme) {
    // The table is drawn many times a trick: the names are made once.
    static constexpr auto nomi = [] {
        std::array<std::array<char, 2>, NumeroValori * NumeroSemi> t{};
        for (int v = 1; v <= NumeroValori; ++v) {
            for (int s = 1; s <= NumeroSemi; ++s) {
                t[(v - 1) * NumeroSemi + (s - 1)] = {LettereSemi[s - 1], CifraValore(v)};
            }
        }
        return t;
    }();
    if (!EUnaCarta(valore, seme)) {
        return {};
    }
    const auto& nome = nomi[(valore - 1) * NumeroSemi + (seme - 1)];
    return {nome.data(), nome.size()};
}

} // namespace trivanta
