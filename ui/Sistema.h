#pragma once

#include <QString>

class QCoreApplication;

namespace trivanta {

// Writes the answer to --help, --version or a mistake where the user who
// typed the command sees it: standard output, or standard error for a
// mistake. A Windows desktop program has neither unless it was started with
// them redirected; it then writes to the console of the command prompt that
// started it. False when there is nowhere to write: started from the desktop.
bool ScriviRisposta(const QString& testo, bool errore);

// Marks the program as running for as long as the process lives, so that the
// Windows installer can refuse to replace a game in play. Nothing elsewhere.
void SegnaInEsecuzione();

// Qt's own words, the buttons of the boxes among them, in the system's
// language, as every other program of the desktop shows them: "Sì" and "No"
// on an Italian system. Where Qt has no translation for that language they
// stay English, quietly. Call once the application exists.
void CaricaTraduzioneQt(QCoreApplication& app);

} // namespace trivanta
