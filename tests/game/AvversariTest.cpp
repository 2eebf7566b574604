#include "Arbitro.h"
#include "avversari/Esperto.h"
#include "avversari/Sfida.h"

#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <tuple>

namespace trivanta {
namespace {

constexpr int O = 1, S = 2, C = 3, B = 4; // ori, spade, coppe, bastoni

// Cards by their codes: "1o 3s" is the ace of ori and the three of spade.
Maschera Carte(const std::string& codici) {
    Maschera m = 0;
    for (std::size_t i = 0; i + 1 < codici.size(); i += 3) {
        const CartaDecodificata c = DecodificaCodice(codici.substr(i, 2));
        m |= Bit(IndiceCarta(c.valore, c.seme));
    }
    return m;
}
int Carta(const std::string& codice) {
    return codice.empty() ? -1 : Prima(Carte(codice));
}

// Stands between the game and a player. Counts the calls whose knowledge does
// not add up by the referee's rules or whose answer is no card of the hand;
// notes, a game at a time, every card the hand got up to the last draw,
// which goes by who took the trick before it; and the whole game at each call
// when it is given one. Told a card, it answers that card, held or not.
class Spia final : public Avversario {
public:
    explicit Spia(Avversario& dentro) : dentro_(dentro) {}
    int Scegli(const Conoscenza& k) override {
        const auto prende = [&k](int guida, int risposta) {
            return test::oracolo::SecondaPrende(test::CartaDi(guida), test::CartaDi(risposta),
                                                k.SemeBriscola);
        };
        Maschera storia = 0;
        Maschera avute = k.Mano;
        for (int t = 0; t < k.NumeroPrese; ++t) {
            // Both cards of a trick lie in the pile of the side that took it.
            const PresaVista& p = k.Storia[t];
            const bool mia = p.guidavoIo ? !prende(p.mia, p.sua) : prende(p.sua, p.mia);
            storia |= Bit(p.mia) | Bit(p.sua);
            avute |= Bit(p.mia);
            storte += ((Bit(p.mia) | Bit(p.sua)) & ~(mia ? k.PreseMie : k.PreseSue)) != 0;
        }
        const int sue = Quante(k.Mano) - (k.CartaAvversario >= 0 ? 1 : 0);
        storte += storia != (k.PreseMie | k.PreseSue) || Quante(storia) != 2 * k.NumeroPrese ||
                  Quante(k.NonViste()) != sue + k.CarteCoperte ||
                  (k.CartaScoperta >= 0) != (k.CarteCoperte > 0) || k.CartaMia >= 0;
        if (k.NumeroPrese == 16) {
            pescate.push_back(avute);
        }
        if (gioco != nullptr) {
            stati.push_back(gioco->stato());
        }
        const int carta = sbaglia.value_or(dentro_.Scegli(k));
        storte += carta < 0 || carta >= NumeroCarte || !Contiene(k.Mano, carta);
        return carta;
    }
    int storte = 0;
    std::vector<Maschera> pescate;
    const Briscola* gioco = nullptr;
    std::vector<StatoGioco> stati;
    std::optional<int> sbaglia;

private:
    Avversario& dentro_;
};

// Plays `partite` whole games through the window's events, the user pressing
// the card in its first place each time. Returns the computer's card of every
// trick, by its code.
std::string Gioca(Briscola& gioco, test::ScatoleScriptate& boxes, int partite) {
    std::string giocate;
    boxes.mentreAperta = [&](const Message& m) {
        const test::Carta c = test::Trova(gioco.stato(), PosTerraPc);
        giocate += m.text.rfind("Le carte", 0) == 0 ? CodificaCarta(c.valore, c.seme) + " " : "";
    };
    gioco.Form_Load();
    for (int premuta = 0; premuta < 20 * partite; ++premuta) {
        gioco.giocatautente_Click();
    }
    return giocate;
}

TEST(Avversari, aCardTheComputerDoesNotHoldNeverLeavesItsPlace) {
    // No card, past the deck, the user's card on the table, a card of the
    // user's hand, of the stock.
    for (const int carta : {-1, NumeroCarte, Carta("1o"), Carta("3s"), Carta("7c")}) {
        test::Gioco g;
        Goloso goloso;
        Spia spia(goloso);
        spia.sbaglia = carta;
        g.gioco.ImpostaAvversario(&spia);
        test::Disponi(
            g.s, {{1, O, PosTerraUser}, {3, S, PosManoUser}, {9, C, PosManoPc}, {4, O, PosManoPc}});
        auto atteso = g.s.StatoCarte;
        atteso[4][O] = PosTerraPc; // the first card of its hand in the scan
        g.gioco.GiocataPc();
        EXPECT_EQ(g.s.StatoCarte, atteso) << carta;
    }
}

TEST(Avversari, theRandomComputerDrawsTheNumbersItAlwaysDrew) {
    // A seeded game as the computer played it before it had opponents to
    // choose from, by default and when named.
    for (const bool esplicito : {false, true}) {
        test::Gioco g;
        Casuale casuale(g.random);
        g.gioco.ImpostaAvversario(esplicito ? &casuale : nullptr);
        EXPECT_EQ(Gioca(g.gioco, g.boxes, 1),
                  "5o 0s 9b 4b 5c 1o 8s 4o 8o 8c 5b 2s 7s 4c 8b 7c 2b 1s 9c 1b ")
            << esplicito;
    }
}

TEST(Avversari, greedyPlaysTheCheapestCardThatTakesElseTheCheapest) {
    const std::tuple<const char*, const char*, const char*, int, const char*> casi[] = {
        {"leads fewest points", "1o 8s 5c", "", B, "5c"},
        {"leads a plain card before a trump", "2b 4o", "", B, "4o"},
        {"leads the weaker of two plain cards", "7s 4c", "", B, "4c"},
        {"leads the lower suit on a full tie", "6c 6s", "", B, "6s"},
        {"leads the cheapest trump", "1b 3b 0b", "", B, "0b"},
        {"takes with a plain card before a trump", "1c 5c 2b", "4c", B, "5c"},
        {"takes an ace with its lowest trump", "3c 2b 0b", "1c", B, "2b"},
        {"takes even with ten points", "3c 8s 4o", "2c", B, "3c"},
        {"takes a 0-point card with a trump", "8s 4b", "2c", B, "4b"},
        {"cannot take a higher trump: fewest points", "1c 8s 5b", "3b", B, "5b"},
        {"cannot take another suit: fewest points", "1s 3s 2c", "7o", B, "2c"},
        {"a lower card of the suit led does not take", "0o 9s", "3o", C, "9s"},
    };
    Goloso goloso;
    for (const auto& [caso, mano, guida, briscola, attesa] : casi) {
        const Conoscenza k{
            .Mano = Carte(mano), .SemeBriscola = briscola, .CartaAvversario = Carta(guida)};
        EXPECT_EQ(goloso.Scegli(k), Carta(attesa)) << caso;
    }
}

TEST(Avversari, theExpertChoosesFromWhatItMayKnowNotFromTheHiddenCards) {
    // Positions of real games; in each, the user's hand and the stock are
    // dealt again among themselves. What the computer may know stays the
    // same, and so must its card.
    Esperto esperto(9, 60);
    test::Gioco g;
    Spia spia(esperto);
    spia.gioco = &g.gioco;
    g.gioco.ImpostaAvversario(&spia);
    Gioca(g.gioco, g.boxes, 3);
    std::mt19937 rimescola(4);
    int mossi = 0;
    for (const StatoGioco& stato : spia.stati) {
        for (int variante = 0; variante < 3; ++variante) {
            test::Gioco uno, due;
            uno.s = due.s = stato;
            for (int i = 0; i < NumeroCarte; ++i) {
                std::int16_t& a = due.s.StatoCarte[ValoreIndice(i)][SemeIndice(i)];
                std::int16_t& b = due.s.StatoCarte[rimescola() % 10 + 1][rimescola() % 4 + 1];
                if ((a == PosManoUser || a == PosMazzo) && (b == PosManoUser || b == PosMazzo)) {
                    std::swap(a, b);
                }
            }
            mossi += stato.StatoCarte != due.s.StatoCarte;
            ASSERT_EQ(uno.gioco.ConoscenzaDi(TurnoPc), due.gioco.ConoscenzaDi(TurnoPc));
            for (test::Gioco* x : {&uno, &due}) {
                x->gioco.ImpostaAvversario(&esperto);
                x->gioco.GiocataPc();
            }
            EXPECT_EQ(test::Trova(uno.s, PosTerraPc), test::Trova(due.s, PosTerraPc));
        }
    }
    EXPECT_GT(mossi, 100); // the hidden cards did move
}

TEST(Sfida, pairedDealsGiveBothSeatsTheSameCardsAndTheExpertBeatsTheGreedyPlayer) {
    PcgRandom suo(8);
    Casuale casuale(suo);
    Goloso goloso;
    Esperto esperto(1, 40);
    const std::tuple<Avversario*, Avversario*, int> incontri[] = {{&esperto, &goloso, 100},
                                                                  {&casuale, &esperto, 4}};
    for (const auto& [a, b, smazzate] : incontri) {
        Spia sa(*a), sb(*b);
        double punteggio = 0;
        for (std::size_t d = 0; d < static_cast<std::size_t>(smazzate); ++d) {
            const auto esiti = GiocaSmazzata(sa, sb, d);
            for (const EsitoSfida& e : esiti) {
                ASSERT_TRUE(e.Completa && e.Prese == 20 && e.PuntiUser + e.PuntiPc == 120);
            }
            for (const int p : {esiti[0].PuntiUser, esiti[1].PuntiPc}) {
                punteggio += p > 60 ? 1.0 : p == 60 ? 0.5 : 0.0;
            }
            // Seat by seat, the deal and every draw but the last.
            EXPECT_EQ(sa.pescate.at(2 * d), sb.pescate.at(2 * d + 1));
            EXPECT_EQ(sb.pescate.at(2 * d), sa.pescate.at(2 * d + 1));
        }
        EXPECT_EQ(sa.storte + sb.storte, 0);
        // The greedy player wins about one game in five against the expert
        // with this little effort, and half of them against an equal.
        EXPECT_TRUE(b != &goloso || punteggio / (2 * smazzate) > 0.7) << punteggio;
    }
}

// What the command line's seed promises: the dealer, the deal and every
// choice of the computer follow from it, game after game, for either
// opponent; without a seed two runs differ.
TEST(Giocatori, aSeedReplaysTheSameGamesAndItsAbsenceDoesNot) {
    const auto gioca = [](bool esperto, std::optional<std::uint64_t> seme, int partite) {
        const Giocatori g = CreaGiocatori(esperto, seme);
        test::ScatoleScriptate boxes;
        Briscola gioco(boxes, *g.random, g.avversario.get());
        return Gioca(gioco, boxes, partite);
    };
    EXPECT_EQ(gioca(false, 7, 3), gioca(false, 7, 3));
    EXPECT_NE(gioca(false, 7, 1), gioca(false, 8, 1));
    EXPECT_NE(gioca(false, std::nullopt, 1), gioca(false, std::nullopt, 1));
    const auto esperto = gioca(true, 7, 1);
    EXPECT_EQ(esperto.size(), 3U * 20);
    EXPECT_EQ(esperto, gioca(true, 7, 1));
}

} // namespace
} // namespace trivanta
