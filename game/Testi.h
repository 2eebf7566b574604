#pragma once

#include "Versione.h"

// Every text that the program shows or says, each in one place.
namespace trivanta::testi {

// The window's title, also the title of every box without one of its own.
inline constexpr const char* TitoloFinestra = "Trivanta";
// The window's title when the computer plays as an expert.
inline constexpr const char* TitoloFinestraEsperto = "Trivanta - avversario esperto";

inline constexpr const char* DaraCarteUser = "Sarai tu a dare carte";
inline constexpr const char* DaraCartePc = "Darà carte il computer";

inline constexpr const char* PrendeUtente = "Le carte le prende l'utente";
inline constexpr const char* PrendePc = "Le carte le prende il PC";
inline constexpr const char* ErroreVincitore =
    "errore imprevisto nel calcolo del winner della calata, contattare l'autore";

inline constexpr const char* TitoloFinePartita = "Fine partita";
inline constexpr const char* Punteggio = "Punteggio di questa partita: ";
inline constexpr const char* PuntiPc = "Punti PC=";
inline constexpr const char* PuntiUser = "Punti USER=";
inline constexpr const char* VincePc = "Questa partita la vince il PC";
inline constexpr const char* VinceUtente = "Questa partita la vince l'utente";
inline constexpr const char* Patta = "Questa partita è patta";
inline constexpr const char* AltraPartita = "Vuoi giocare un'altra partita?";
inline constexpr const char* Saluto = "Grazie per aver giocato con Trivanta";

inline constexpr const char* CartePresePc = "Carte prese dal PC: ";
inline constexpr const char* CartePreseUser = " Carte prese da USER: ";

inline constexpr const char* TitoloSicuro = "Sicuro?";
inline constexpr const char* Sicuro = "Sei sicuro di voler interrompere la partita in corso?";

inline constexpr const char* TitoloInformazioni = "Informazioni";
inline constexpr const char* Prodotto = "Trivanta " TRIVANTA_VERSIONE;
inline constexpr const char* Autore = "by Trivanta Team";
inline constexpr const char* Contatto = "trivanta@example.org";
inline constexpr const char* PaginaWeb = "www.example.org/trivanta";

// The donation page, until the project has one of its own.
inline constexpr const char* IndirizzoDonazione = "https://www.example.org/trivanta/donazione";
inline constexpr const char* TitoloBrowserNonTrovato = "Browser Not Found";
inline constexpr const char* BrowserNonTrovato =
    "Impossibile aprire il browser. Per fare una donazione andare su ";

inline constexpr const char* FineRiga = "\r\n";

// The controls of the window.
inline constexpr const char* InvitoDonazione = "Ti piace questo programma? Fai una donazione!";
inline constexpr const char* EtichettaUtente = "Utente";
inline constexpr const char* EtichettaPc = "PC";
inline constexpr const char* EtichettaBriscola = "BRISCOLA";
inline constexpr const char* Gioca = "Gioca";

// The menus; the letter after "&" is the entry's access key.
inline constexpr const char* MenuFile = "&File";
inline constexpr const char* VoceNuovaPartita = "&Nuova partita";
inline constexpr const char* VoceEsci = "&Esci";
inline constexpr const char* MenuAiuto = "&?";
inline constexpr const char* VoceInformazioni = "&Informazioni";
inline constexpr const char* VoceDonazione = "Fai una &donazione";

// What a screen reader says of the table.
inline constexpr const char* NomiValori[] = {"asso", "2", "3",     "4",       "5",
                                             "6",    "7", "fante", "cavallo", "re"};
inline constexpr const char* NomiSemi[] = {"ori", "spade", "coppe", "bastoni"};
inline constexpr const char* ValoreDiSeme = " di ";
inline constexpr const char* CartaCoperta = "carta coperta";
inline constexpr const char* PostoVuoto = "posto vuoto";
inline constexpr const char* PrefissoBriscola = "briscola: ";
inline constexpr const char* DescrizioneManoPc = "mano del PC";
inline constexpr const char* DescrizioneTerraUser = "la tua carta in tavola";
inline constexpr const char* DescrizioneTerraPc = "la carta del PC in tavola";
inline constexpr const char* DescrizioneManoUser = "la tua mano, posto ";
inline constexpr const char* DescrizioneScelta = ", scelta";
inline constexpr const char* NomeBarraDiStato = "barra di stato";
inline constexpr const char* PrefissoBarraDiStato = "barra di stato: ";

// The command line: the options, what --help says of them, and the one line
// that a mistake prints before the program ends with status 2.
inline constexpr const char* NomeProgramma = "trivanta";
inline constexpr const char* Uso = "Uso: ";
inline constexpr const char* UsoOpzioni = " [opzioni]";
inline constexpr const char* Opzioni = "Opzioni:";
inline constexpr const char* DescrizioneProgramma = "Briscola contro il computer.";
inline constexpr const char* OpzioneAvversario = "avversario";
inline constexpr const char* AvversarioCasuale = "casuale";
inline constexpr const char* AvversarioEsperto = "esperto";
inline constexpr const char* ValoriAvversario = "casuale|esperto";
inline constexpr const char* AiutoAvversario =
    "L'avversario: casuale (gioca una carta a caso, il predefinito) o esperto.";
inline constexpr const char* OpzioneSeme = "seme";
inline constexpr const char* ValoriSeme = "N";
inline constexpr const char* AiutoSeme =
    "Un intero da 0 a 18446744073709551615: il mazziere, le carte e ogni scelta del computer "
    "ne seguono, così una partita si può rigiocare.";
inline constexpr const char* OpzioneAiuto = "help";
inline constexpr const char* AiutoAiuto = "Mostra le opzioni ed esce.";
inline constexpr const char* OpzioneVersione = "version";
inline constexpr const char* AiutoVersione = "Mostra la versione ed esce.";
inline constexpr const char* OpzioniValide =
    "opzioni valide: --avversario casuale|esperto, --seme N, --help, --version";
inline constexpr const char* OpzioneSconosciuta = "opzione sconosciuta: ";
inline constexpr const char* ArgomentoSconosciuto = "argomento sconosciuto: ";
inline constexpr const char* ValoreMancante = "manca il valore di --";
inline constexpr const char* AvversarioSconosciuto = "avversario sconosciuto: ";
inline constexpr const char* ValoriValidiAvversario = "valori validi: casuale, esperto";
inline constexpr const char* SemeNonValido = "seme non valido: ";
inline constexpr const char* ValoriValidiSeme =
    "valori validi: gli interi da 0 a 18446744073709551615";
// A value given twice where only one may be: "seme dato più volte".
inline constexpr const char* DatoPiuVolte = " dato più volte";

// Where the program cannot close its own window, what stays when it ends.
inline constexpr const char* ProgrammaFinito = "Il gioco è terminato.";

} // namespace trivanta::testi
