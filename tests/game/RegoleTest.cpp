// The rules at their edges, on positions laid out by hand: card codes and
// picture names, the winner of a trick, the refill and the last draw, the
// computer's card and the drawing of the table.
#include "Arbitro.h"
#include "Testi.h"

#include <gtest/gtest.h>
#include <set>

namespace trivanta {
namespace {

using test::Conta;
using test::Disponi;

constexpr int O = 1, S = 2, C = 3, B = 4; // ori, spade, coppe, bastoni

class Regole : public ::testing::Test, protected test::Gioco {};

TEST_F(Regole, cardCodesAndPictureNamesReadBackAndNeverLeaveTheTable) {
    const struct {
        int valore, seme;
        const char* codice;
    } codifiche[] = {{10, B, "0b"}, {1, O, "1o"}, {9, C, "9c"}, {3, 0, "3"}, {3, 5, "3"}};
    for (const auto& c : codifiche) {
        EXPECT_EQ(CodificaCarta(c.valore, c.seme), c.codice) << c.valore << "," << c.seme;
    }
    // Only the first and the last character count; what does not decode is 0.
    const struct {
        const char* codice;
        int valore, seme;
    } decodifiche[] = {{"0c", 10, C}, {"5x", 5, 0}, {"", 0, 0},      {"1O", 1, 0},
                       {"b", 0, B},   {"7", 7, 0},  {"2zzzb", 2, B}, {"-3o", 0, O}};
    for (const auto& d : decodifiche) {
        gioco.DecodificaCarta(d.codice);
        EXPECT_TRUE(s.ValoreCarta == d.valore && s.SemeCarta == d.seme) << '"' << d.codice << '"';
    }
    std::set<std::string_view> nomi;
    for (int v = 1; v <= 10; ++v) {
        for (int m = 1; m <= 4; ++m) {
            const std::string codice = CodificaCarta(v, m);
            gioco.DecodificaCarta(codice);
            EXPECT_TRUE(s.ValoreCarta == v && s.SemeCarta == m) << codice;
            // The picture's name is the code the other way round, and leads back.
            const std::string_view nome = NomeImmagine(v, m);
            EXPECT_EQ(nome, (std::string{codice[1], codice[0]}));
            const CartaDecodificata carta = CartaDaImmagine(nome);
            EXPECT_TRUE(carta.valore == v && carta.seme == m) << nome;
            nomi.insert(nome);
        }
    }
    EXPECT_EQ(nomi.size(), 40U);
    for (const char* nome : {"vuota", "", "o", "O1", "x1", "1o", "o10"}) {
        EXPECT_EQ(CartaDaImmagine(nome).valore, 0) << '"' << nome << '"';
    }
    EXPECT_EQ(NomeImmagine(11, O), "");
    EXPECT_EQ(NomeImmagine(1, 0), "");
}

// The figures by their names, and never a covered card given away.
TEST(NomiParlati, cardsAreNamedAsPlayersCallThem) {
    const struct {
        const char* immagine;
        bool manoPc;
        const char* nome;
    } casi[] = {{"o7", false, "7 di ori"},       {"s1", false, "asso di spade"},
                {"c8", false, "fante di coppe"}, {"b9", true, "cavallo di bastoni"},
                {"o0", false, "re di ori"},      {"vuota", true, "carta coperta"},
                {"vuota", false, "posto vuoto"}, {"", false, "posto vuoto"},
                {"x7", false, "posto vuoto"}};
    for (const auto& c : casi) {
        EXPECT_EQ(NomeAccessibile(c.immagine, c.manoPc), c.nome) << c.immagine;
    }
}

TEST_F(Regole, winnerOfATrick) {
    const struct {
        const char* caso;
        int valoreUser, semeUser, valorePc, semePc, briscola, turno, vincitore;
    } casi[] = {
        {"trump beats a plain ace", 1, O, 2, S, S, TurnoUser, TurnoPc},
        {"user's trump beats a plain three", 2, B, 3, C, B, TurnoPc, TurnoUser},
        {"3 of trumps beats 10 of trumps", 3, S, 10, S, S, TurnoPc, TurnoUser},
        {"10 of trumps beats 9 of trumps", 9, S, 10, S, S, TurnoUser, TurnoPc},
        {"7 of trumps beats 2 of trumps", 7, S, 2, S, S, TurnoPc, TurnoUser},
        {"same plain suit: 7 beats 4", 4, C, 7, C, O, TurnoUser, TurnoPc},
        {"same plain suit: ace beats 3", 1, C, 3, C, O, TurnoPc, TurnoUser},
        {"equal points, higher value: 6 beats 5", 6, C, 5, C, S, TurnoPc, TurnoUser},
        {"plain suits differ: the user's 2 led", 2, O, 1, C, B, TurnoUser, TurnoUser},
        {"plain suits differ: the computer's 2 led", 1, C, 2, O, B, TurnoPc, TurnoPc},
    };
    for (const auto& c : casi) {
        Disponi(s, {{c.valoreUser, c.semeUser, PosTerraUser}, {c.valorePc, c.semePc, PosTerraPc}});
        s.SemeBriscola = c.briscola;
        s.Turno = c.turno;
        EXPECT_EQ(gioco.VincitoreCalata(), c.vincitore) << c.caso;
    }
}

TEST_F(Regole, scriptedDrawsRejectWhatNamesNoCardAndServeTheComputerFirst) {
    // 0.5 names value 5 (r*11) and suit 2 (r*5); 0.0 names 0 and is drawn
    // again; 0.7 and 0.9 name (7, 4).
    test::RandomScriptato scripted({0.5, 0.5, 0.0, 0.7, 0.9});
    Briscola g(boxes, scripted);
    g.AzzeraCarte();
    g.stato().Turno = TurnoUser;
    g.PescaCarte();
    EXPECT_EQ(g.stato().StatoCarte[5][S], PosManoPc);
    EXPECT_EQ(g.stato().StatoCarte[7][B], PosManoUser);
    EXPECT_EQ(scripted.reseeds, 1);

    // Dealer: 0 and 3 are drawn again, 1 names the user, then the swap
    // before the announcement hands the deal to the computer.
    test::RandomScriptato dealer({0.0, 0.8, 0.3});
    Briscola d(boxes, dealer);
    d.ScegliMazziere();
    EXPECT_EQ(d.stato().MazziereUser, 1);
    EXPECT_EQ(d.stato().Turno, TurnoPc);
    d.CambiaMazziere();
    EXPECT_EQ(d.stato().Turno, TurnoUser);
}

TEST_F(Regole, computerPlaysOneCardOfItsHandOrNothingWithoutOne) {
    Disponi(s, {{9, C, PosManoPc}, {1, O, PosTerraUser}});
    s.WaitingForPC = false;
    gioco.GiocataPc();
    EXPECT_EQ(s.StatoCarte[9][C], PosTerraPc);
    EXPECT_EQ(s.StatoCarte[1][O], PosTerraUser);
    EXPECT_FALSE(s.WaitingForPC);
    EXPECT_EQ(t.terrapc.immagine, "c9");

    Disponi(s, {{1, O, PosTerraUser}});
    s.WaitingForPC = true;
    const Tavolo tavolo = t;
    gioco.GiocataPc(); // must return, and change nothing
    EXPECT_EQ(Conta(s, PosTerraPc), 0);
    EXPECT_TRUE(s.WaitingForPC);
    EXPECT_EQ(t, tavolo);
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
    EXPECT_EQ(s.currentindex, 1);
    EXPECT_EQ(t.Shape2, (std::array<bool, 3>{false, true, false}));
    EXPECT_EQ(s.StatoCarte, carte);

    // The user's last card played: no hand, no marker, -1 at place 0.
    Disponi(s, {{5, C, PosTerraUser}});
    gioco.Ridisegna();
    EXPECT_FALSE(t.user[0].visibile || t.Shape2[0]);
    EXPECT_EQ(s.ManoUserValore[0], -1);

    // A pair that is no card shows the place and keeps its picture.
    gioco.DisegnaCartaBriscola(6, O);
    for (auto [v, m] : {std::pair{11, 1}, {3, 0}, {0, 0}}) {
        gioco.DisegnaCartaBriscola(v, m);
        EXPECT_EQ(t.cartabriscola, (Posto{"o6", true}));
    }
    const Tavolo tavolo = t;
    gioco.DisegnaCartaUtente(1, 1, 3); // no such place
    EXPECT_EQ(t, tavolo);
}

} // namespace
} // namespace trivanta
