// The rules at their edges, on positions laid out by hand: card codes and
// picture names, the winner of every trick, the refill, the computer's card
// and the drawing of the table.
#include "Arbitro.h"
#include "Testi.h"

#include <gtest/gtest.h>

namespace trivanta {
namespace {

using test::Conta;
using test::Disponi;
using test::oracolo::SecondaPrende;

constexpr int O = 1, S = 2, C = 3, B = 4; // ori, spade, coppe, bastoni

class Regole : public ::testing::Test, protected test::Gioco {};

TEST_F(Regole, cardCodesPictureNamesAndSpokenNamesReadBackAndNeverLeaveTheTable) {
    const char* valori[] = {"asso", "2", "3", "4", "5", "6", "7", "fante", "cavallo", "re"};
    const char* semi[] = {"ori", "spade", "coppe", "bastoni"};
    for (int v = 1; v <= 10; ++v) {
        for (int m = 1; m <= 4; ++m) {
            // The value's digit, "0" for the king, then the suit's letter; the
            // picture's name is the same the other way round.
            const std::string codice{static_cast<char>('0' + v % 10), "oscb"[m - 1]};
            EXPECT_EQ(CodificaCarta(v, m), codice);
            EXPECT_EQ(NomeImmagine(v, m), (std::string{codice[1], codice[0]}));
            gioco.DecodificaCarta(codice);
            const CartaDecodificata carta = CartaDaImmagine(NomeImmagine(v, m));
            EXPECT_TRUE(s.ValoreCarta == v && s.SemeCarta == m && carta.valore == v &&
                        carta.seme == m)
                << codice;
            EXPECT_EQ(NomeAccessibile(NomeImmagine(v, m), v % 2 == 0),
                      std::string(valori[v - 1]) + " di " + semi[m - 1]);
        }
    }
    EXPECT_TRUE(CodificaCarta(3, 0) == "3" && CodificaCarta(3, 5) == "3");
    // Only the first and the last character count; what does not decode is 0.
    const std::tuple<const char*, int, int> codici[] = {{"5x", 5, 0},   {"", 0, 0},  {"1O", 1, 0},
                                                        {"b", 0, B},    {"7", 7, 0}, {"-3o", 0, O},
                                                        {"2zzzb", 2, B}};
    for (const auto& [codice, valore, seme] : codici) {
        gioco.DecodificaCarta(codice);
        EXPECT_TRUE(s.ValoreCarta == valore && s.SemeCarta == seme) << '"' << codice << '"';
    }
    EXPECT_TRUE(NomeImmagine(11, O).empty() && NomeImmagine(1, 0).empty());
    // What is no card's picture names an empty place, and a covered card in
    // the computer's hand is never given away.
    for (const char* nome : {"vuota", "", "o", "O1", "x1", "1o", "o10"}) {
        EXPECT_TRUE(CartaDaImmagine(nome).valore == 0 && NomeAccessibile(nome) == "posto vuoto")
            << '"' << nome << '"';
    }
    EXPECT_EQ(NomeAccessibile("vuota", true), "carta coperta");
}

// Every pair of cards under every trump suit, led by either side, against
// the rules as players say them.
TEST_F(Regole, everyTrickGoesToTheSideTheRulesName) {
    for (int i = 0; i < 40 * 40 * 4 * 2; ++i) {
        const test::Carta u = test::CartaDi(i % 40), p = test::CartaDi(i / 40 % 40);
        const int briscola = i / 1600 % 4 + 1, guida = i < 6400 ? TurnoUser : TurnoPc;
        Disponi(s, {{u.valore, u.seme, PosTerraUser}, {p.valore, p.seme, PosTerraPc}});
        s.SemeBriscola = briscola;
        s.Turno = guida;
        const bool seconda =
            guida == TurnoPc ? SecondaPrende(p, u, briscola) : SecondaPrende(u, p, briscola);
        ASSERT_TRUE(u == p ||
                    gioco.VincitoreCalata() == (seconda ? TurnoUser + TurnoPc - guida : guida))
            << "user " << u.valore << "/" << u.seme << ", computer " << p.valore << "/" << p.seme
            << ", trumps " << briscola << ", led by " << guida;
    }
}

// Dealer: 0 and 3 are drawn again, 1 names the user, then the swap before the
// announcement hands the deal to the computer.
TEST_F(Regole, theDealerDrawnIsSwappedBeforeTheAnnouncement) {
    test::RandomScriptato dealer({0.0, 0.8, 0.3});
    Briscola d(boxes, dealer);
    d.ScegliMazziere();
    EXPECT_TRUE(d.stato().MazziereUser == 1 && d.stato().Turno == TurnoPc);
    d.CambiaMazziere();
    EXPECT_TRUE(d.stato().MazziereUser == 0 && d.stato().Turno == TurnoUser);
}

TEST_F(Regole, redrawSortsTheHandEndsItWithMinusOneAndClicksOnlySelect) {
    Disponi(s, {{7, O, PosManoUser}, {3, B, PosManoUser}, {3, S, PosManoUser}});
    gioco.user_Click(2);
    gioco.Ridisegna();
    EXPECT_EQ(s.ManoUserValore, (std::array<std::int16_t, 5>{3, 3, 7, -1, 0}));
    EXPECT_EQ(s.ManoUserSeme, (std::array<std::int16_t, 5>{2, 4, 1, -1, 0}));
    EXPECT_EQ(s.currentindex, 0);
    const auto carte = s.StatoCarte;
    for (int i : {2, 1, 5, -1}) {
        gioco.user_Click(i);
    }
    EXPECT_TRUE(s.currentindex == 1 && t.Shape2 == (std::array<bool, 3>{false, true, false}) &&
                s.StatoCarte == carte);

    // The user's last card played: no hand, no marker, -1 at place 0; the
    // computer, without a card, plays nothing.
    Disponi(s, {{5, C, PosTerraUser}});
    gioco.Ridisegna();
    const Tavolo vuoto = t;
    gioco.GiocataPc();
    EXPECT_TRUE(!t.user[0].visibile && !t.Shape2[0] && s.ManoUserValore[0] == -1 && t == vuoto &&
                Conta(s, PosTerraPc) == 0);
}

} // namespace
} // namespace trivanta
