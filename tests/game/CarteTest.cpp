#include "Carte.h"

#include "Briscola.h"
#include "Support.h"

#include <gtest/gtest.h>

namespace trivanta {
namespace {

TEST(CardCodes, encodeValueDigitThenSuitLetter) {
    const struct {
        int valore, seme;
        const char* codice;
    } casi[] = {
        {10, 4, "0b"}, {1, 1, "1o"}, {9, 3, "9c"}, {7, 2, "7s"},
        {3, 0, "3"},   {3, 5, "3"},  {0, 0, "0"},  {10, 0, "0"},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(CodificaCarta(c.valore, c.seme), c.codice) << c.valore << "," << c.seme;
    }
}

TEST(CardCodes, decodeReadsOnlyFirstAndLastCharacter) {
    const struct {
        const char* codice;
        int valore, seme;
    } casi[] = {
        {"0c", 10, 3}, {"5x", 5, 0}, {"", 0, 0},      {"1O", 1, 0},  {"x", 0, 0},
        {"7", 7, 0},   {"b", 0, 4},  {"2zzzb", 2, 4}, {"-3o", 0, 1}, {" 4s", 0, 2},
    };
    for (const auto& c : casi) {
        const CartaDecodificata carta = DecodificaCodice(c.codice);
        EXPECT_EQ(carta.valore, c.valore) << '"' << c.codice << '"';
        EXPECT_EQ(carta.seme, c.seme) << '"' << c.codice << '"';
    }
}

TEST(CardCodes, everyCardSurvivesARoundTripAndHasItsOwnPicture) {
    std::set<std::string> codici, immagini;
    for (int v = 1; v <= 10; ++v) {
        for (int s = 1; s <= 4; ++s) {
            const std::string codice = CodificaCarta(v, s);
            const CartaDecodificata carta = DecodificaCodice(codice);
            EXPECT_EQ(CodificaCarta(carta.valore, carta.seme), codice);
            EXPECT_EQ(carta.valore, v);
            EXPECT_EQ(carta.seme, s);
            const std::string nome(NomeImmagine(v, s));
            ASSERT_EQ(nome.size(), 2U);
            EXPECT_EQ(nome[0], codice[1]) << "pictures are named suit first";
            EXPECT_EQ(nome[1], codice[0]);
            codici.insert(codice);
            immagini.insert(nome);
        }
    }
    EXPECT_EQ(codici.size(), 40U);
    EXPECT_EQ(immagini.size(), 40U);
    EXPECT_EQ(NomeImmagine(8, 4), "b8");
    EXPECT_EQ(NomeImmagine(10, 2), "s0");
    for (auto [v, s] : {std::pair{0, 1}, {11, 1}, {1, 0}, {1, 5}, {-1, -1}}) {
        EXPECT_EQ(NomeImmagine(v, s), "") << v << "," << s;
    }
}

TEST(CardCodes, numbersAsTextHaveNoBlanks) {
    EXPECT_EQ(NumeroInTesto(0), "0");
    EXPECT_EQ(NumeroInTesto(7), "7");
    EXPECT_EQ(NumeroInTesto(42), "42");
    EXPECT_EQ(NumeroInTesto(-3), "-3");
    EXPECT_EQ(NumeroInTesto(120), "120");
}

TEST(CardCodes, pointsFollowTheBriscolaScaleAndTotal120) {
    const int attesi[] = {0, 11, 0, 10, 0, 0, 0, 0, 2, 3, 4};
    int totale = 0;
    for (int v = 0; v <= 10; ++v) {
        EXPECT_EQ(PuntiValore(v), attesi[v]) << v;
        totale += 4 * PuntiValore(v);
    }
    EXPECT_EQ(totale, 120);
    EXPECT_EQ(PuntiValore(11), 0);
    EXPECT_EQ(PuntiValore(-1), 0);
}

TEST(CardCodes, decodingThroughTheGameSetsTheSharedGlobals) {
    test::ScriptedBoxes boxes;
    PcgRandom random(1, test::fixedClock);
    Briscola gioco(boxes, random);
    gioco.DecodificaCarta("0c");
    EXPECT_EQ(gioco.stato().ValoreCarta, 10);
    EXPECT_EQ(gioco.stato().SemeCarta, 3);
    // Points of a code that does not decode: value 0 gives nothing.
    EXPECT_EQ(gioco.PuntiCarta("zz"), 0);
    EXPECT_EQ(gioco.stato().ValoreCarta, 0);
    EXPECT_EQ(gioco.stato().SemeCarta, 0);
    EXPECT_EQ(gioco.PuntiCarta("1b"), 11);
}

} // namespace
} // namespace trivanta
