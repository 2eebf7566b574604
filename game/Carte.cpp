#include "Carte.h"

namespace trivanta {

namespace {

constexpr char LettereSemi[NumeroSemi] = {'o', 's', 'c', 'b'};

constexpr bool EUnaCarta(int valore, int seme) {
    return valore >= 1 && valore <= NumeroValori && seme >= 1 && seme <= NumeroSemi;
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

std::string_view NomeImmagine(int valore, int seme) {
    // Value outside, suit inside, as the table is scanned.
    static constexpr std::string_view nomi = "o1s1c1b1o2s2c2b2o3s3c3b3o4s4c4b4o5s5c5b5"
                                             "o6s6c6b6o7s7c7b7o8s8c8b8o9s9c9b9o0s0c0b0";
    if (!EUnaCarta(valore, seme)) {
        return {};
    }
    const int indice = (valore - 1) * NumeroSemi + (seme - 1);
    return nomi.substr(2 * static_cast<std::size_t>(indice), 2);
}

} // namespace trivanta
