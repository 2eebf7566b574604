#include "Valori.h"

#include "Testi.h"

#include <limits>

namespace trivanta {

std::optional<bool> LeggiAvversario(std::string_view nome) {
    if (nome == testi::AvversarioCasuale) {
        return false;
    }
    if (nome == testi::AvversarioEsperto) {
        return true;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> LeggiSeme(std::string_view testo) {
    if (testo.empty()) {
        return std::nullopt;
    }
    constexpr std::uint64_t massimo = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t n = 0;
    for (const char c : testo) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        const auto cifra = static_cast<std::uint64_t>(c - '0');
        if (n > (massimo - cifra) / 10) {
            return std::nullopt;
        }
        n = n * 10 + cifra;
    }
    return n;
}

std::string Sbaglio(std::string_view cosa, std::string_view valide) {
    std::string riga(cosa);
    riga += "; ";
    riga += valide;
    return riga;
}

std::string SbaglioAvversario(std::string_view nome) {
    return Sbaglio(std::string(testi::AvversarioSconosciuto) + std::string(nome),
                   testi::ValoriValidiAvversario);
}

std::string SbaglioSeme(std::string_view testo) {
    return Sbaglio(std::string(testi::SemeNonValido) + std::string(testo), testi::ValoriValidiSeme);
}

} // namespace trivanta
