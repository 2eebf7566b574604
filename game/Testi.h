#pragma once

// Every text that the program shows, each in one place.
namespace trivanta::testi {

inline constexpr const char* TitoloFinestra = "Trivanta";

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
inline constexpr const char* Prodotto = "Trivanta 1.0";
inline constexpr const char* Autore = "by Trivanta Team";
inline constexpr const char* Contatto = "trivanta@example.org";
inline constexpr const char* PaginaWeb = "www.example.org/trivanta";

// The donation page, until the project has one of its own.
inline constexpr const char* IndirizzoDonazione = "https://www.example.org/trivanta/donazione";
inline constexpr const char* TitoloBrowserNonTrovato = "Browser Not Found";
inline constexpr const char* BrowserNonTrovato =
    "Impossibile aprire il browser. Per fare una donazione andare su ";

inline constexpr const char* FineRiga = "\r\n";

} // namespace trivanta::testi
