#pragma once

#include "Carte.h"
#include "MessageBoxes.h"
#include "Random.h"
#include "Tavolo.h"
#include "avversari/Avversario.h"
#include "avversari/Conoscenza.h"

#include <array>
#include <cstdint>
#include <string>

namespace trivanta {

// A trick as it was played: who led it and the two cards (card indices).
struct PresaGiocata {
    int Guida = 0; // TurnoUser or TurnoPc
    std::int8_t CartaUser = -1;
    std::int8_t CartaPc = -1;

    bool operator==(const PresaGiocata&) const = default;
};

// The whole state of the program: the location of every card, the globals of
// the game and the variables that the window shares with it.
struct StatoGioco {
    // Indexed by value 0..10 and suit 0..4; row 0 and column 0 hold no card.
    std::array<std::array<std::int16_t, NumeroSemi + 1>, NumeroValori + 1> StatoCarte{};
    std::int16_t MazziereUser = 0; // 1: the user deals
    int Turno = 0;                 // who leads the trick: TurnoUser or TurnoPc
    int ContaMazzo = 0;            // covered cards at the last refill; -1, -2 once empty
    bool PartitaFinita = false;
    std::int16_t ValoreCarta = 0; // last card decoded by DecodificaCarta
    std::int16_t SemeCarta = 0;
    std::array<std::int16_t, 5> ManoUserValore{}; // card shown in user(i); -1 ends the hand
    std::array<std::int16_t, 5> ManoUserSeme{};
    int SemeBriscola = 0; // the trump suit, kept after the trump card is drawn
    // The tricks of this game in order, which both players have seen.
    std::array<PresaGiocata, 20> Prese{};
    int NumeroPrese = 0;

    // Shared with the window.
    bool SceltoDiChiudere = false; // the user declined another game
    int currentindex = 0;          // selected slot of the user's hand, -1 none
    bool WaitingForUser = false;
    bool WaitingForPC = false;
};

// The game: every procedure of the rules, the computer opponent and the
// drawing procedures that keep the table value current. The window forwards
// its events here and renders tavolo(); it carries out a close request after
// the event that made it has returned.
class Briscola {
public:
    // The computer's card comes from `avversario`; none means a card at
    // random from the game's own generator, as the game was first made.
    Briscola(MessageBoxes& boxes, Random& random, Avversario* avversario = nullptr);
    Briscola(const Briscola&) = delete;
    Briscola& operator=(const Briscola&) = delete;

    // Takes effect from the computer's next card; null goes back to chance.
    void ImpostaAvversario(Avversario* avversario) { avversario_ = avversario; }

    const StatoGioco& stato() const { return s_; }
    StatoGioco& stato() { return s_; }
    const Tavolo& tavolo() const { return tavolo_; }
    // Set when the program must end: unload the picture store, then the window.
    bool ChiusuraRichiesta() const { return chiusuraRichiesta_; }

    // Events of the window.
    void Form_Load();
    void Form_Activate();
    void user_Click(int Index);
    void giocatautente_Click();
    void newpart_Click();
    void esci_Click();
    void Info_Click();

    // Setting up a game.
    void NuovaPartita();
    void ScegliMazziere();
    void CambiaMazziere();
    void ImpostaTurno();
    void AzzeraCarte();
    void ScegliBriscola();
    void DistribuisciCarte();

    // A trick.
    int VincitoreCalata();
    bool CartaDiBriscola(const std::string& codice);
    std::string CodiceBriscola();
    int PuntiCarta(const std::string& codice);
    void GiocataPc();
    void PescaCarte();
    void TerminaPartita();
    void FinePartita();

    // What the side `lato` (TurnoUser or TurnoPc) may know right now.
    Conoscenza ConoscenzaDi(int lato) const;

    // Card codes, through the shared ValoreCarta and SemeCarta.
    void DecodificaCarta(const std::string& codice);

    // Drawing the table into tavolo().
    void Ridisegna();
    void SvuotaTerra();
    void ShapeUserInvisibili();
    void AggiornaStatusBar();
    void DisegnaCartaUtente(int i, int j, int ter);
    void DisegnaCartaTerraUser(int i, int j);
    void DisegnaCartaTerraPc(int i, int j);
    void DisegnaCartaBriscola(int i, int j);

private:
    // Draws a card still in the deck, each equally likely.
    bool PescaDalMazzo(int& valore, int& seme);
    int ContaCarte(std::int16_t posizione) const;
    void MostraCarta(Posto& posto, int i, int j);

    void RegistraPresa(int valoreUser, int semeUser, int valorePc, int semePc);

    MessageBoxes& boxes_;
    Random& random_;
    Casuale casuale_{random_};
    Avversario* avversario_;
    StatoGioco s_;
    Tavolo tavolo_;
    bool chiusuraRichiesta_ = false;
};

} // namespace trivanta
