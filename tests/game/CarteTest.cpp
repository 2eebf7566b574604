#include "Carte.h"

#include "Support.h"

#include <gtest/gtest.h>
#include <set>

namespace trivanta {
namespace {

TEST(CardCodes, encodeValueDigitThenSuitLetter) {
    const struct {
        int valore, seme;
        const char* codice;
    } casi[] = {{10, 4, "0b"}, {1, 1, "1o"}, {9, 3, "9c"}, {7, 2, "7s"},
                {3, 0, "3"},   {3, 5, "3"},  {0, 0, "0"},  {-3, 1, "-3o"}};
    for (const auto& c : casi) {
        EXPECT_EQ(CodificaCarta(c.valore, c.seme), c.codice) << c.valore << "," << c.seme;
    }
}

TEST(CardCodes, decodeReadsOnlyFirstAndLastCharacterAndNeverLeavesTheTable) {
    const struct {
        const char* codice;
        int valore, seme;
    } casi[] = {{"0c", 10, 3}, {"5x", 5, 0}, {"", 0, 0},      {"1O", 1, 0},
                {"7", 7, 0},   {"b", 0, 4},  {"2zzzb", 2, 4}, {"-3o", 0, 1}};
    for (const auto& c : casi) {
        const CartaDecodificata carta = DecodificaCodice(c.codice);
        EXPECT_EQ(carta.valore, c.valore) << '"' << c.codice << '"';
        EXPECT_EQ(carta.seme, c.seme) << '"' << c.codice << '"';
    }
    // Through the game the result lands in the shared globals.
    test::Gioco g;
    g.gioco.DecodificaCarta("0c");
    EXPECT_EQ(g.s.ValoreCarta, 10);
    EXPECT_EQ(g.s.SemeCarta, 3);
    EXPECT_EQ(g.gioco.PuntiCarta("zz"), 0);
    EXPECT_EQ(g.s.SemeCarta, 0);
}

TEST(CardCodes, everyCardRoundTripsAndHasAPictureNamedSuitFirst) {
    std::set<std::string> nomi;
    for (int v = 1; v <= 10; ++v) {
        for (int s = 1; s <= 4; ++s) {
            const std::string codice = CodificaCarta(v, s);
            const CartaDecodificata carta = DecodificaCodice(codice);
            EXPECT_TRUE(carta.valore == v && carta.seme == s) << codice;
            const std::string nome(NomeImmagine(v, s));
            EXPECT_EQ(nome, (std::string{codice[1], codice[0]}));
            nomi.insert(nome);
        }
    }
    EXPECT_EQ(nomi.size(), 40U);
    for (auto [v, s] : {std::pair{0, 1}, {11, 1}, {1, 0}, {1, 5}}) {
        EXPECT_EQ(NomeImmagine(v, s), "") << v << "," << s;
    }
}

TEST(CardCodes, pointsAndNumbers) {
    const int punti[] = {0, 11, 0, 10, 0, 0, 0, 0, 2, 3, 4, 0};
    int mazzo = 0;
    for (int v = 0; v <= 11; ++v) {
        EXPECT_EQ(PuntiValore(v), punti[v]) << v;
        mazzo += 4 * PuntiValore(v);
    }
    EXPECT_EQ(mazzo, 120);
    EXPECT_EQ(NumeroInTesto(0), "0");
    EXPECT_EQ(NumeroInTesto(42), "42");
    EXPECT_EQ(NumeroInTesto(-3), "-3");
}

} // namespace
} // namespace trivanta
