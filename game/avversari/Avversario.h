#pragma once

#include "Random.h"
#include "avversari/Conoscenza.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace trivanta {

// Chooses the card that one side of the table plays. It sees only what that
// side may know. The answer is a card index (Maschere.h) that should be in
// k.Mano; the game does not trust it blindly.
class Avversario {
public:
    virtual ~Avversario() = default;
    virtual int Scegli(const Conoscenza& k) = 0;
};

// A card of the hand at random, each equally likely: reseeds the generator,
// then draws a value from r * 11 and a suit from r * 5 until the pair is a
// card of the hand. Drawn this way so that, over the game's own generator,
// it takes exactly the numbers the computer has always taken.
class Casuale final : public Avversario {
public:
    explicit Casuale(Random& random) : random_(random) {}
    int Scegli(const Conoscenza& k) override;

private:
    Random& random_;
};

// The yardstick: plays the cheapest card that takes the trick when it can,
// and otherwise gives away as little as possible.
class Goloso final : public Avversario {
public:
    int Scegli(const Conoscenza& k) override;
};

// The greedy choice on bare sets, for Goloso and for the simulations that
// model such a player. Leading (guida < 0) it plays the card with the fewest
// points; answering, the cheapest card that takes the trick, else the card
// with the fewest points. Cheapest: fewest points, then a plain card before a
// trump, then the weaker card, then the lower suit.
int SceltaGolosa(Maschera mano, int guida, int briscola);

// The game's generator and the computer's player for one run of the
// program. With a seed, the dealer, the deal and every choice of the
// computer follow from it in every game until the program ends: the
// generator is seeded with it and reseeded from a counter instead of the
// clock, and the expert is seeded with it too. Without one, both start from
// the system's entropy. No player (null) is the random choice over the
// game's generator.
struct Giocatori {
    std::unique_ptr<Random> random;
    std::unique_ptr<Avversario> avversario;
};
Giocatori CreaGiocatori(bool esperto, std::optional<std::uint64_t> seme);

} // namespace trivanta
