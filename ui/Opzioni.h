#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace trivanta {

// What the command line asks of the game.
struct Opzioni {
    bool esperto = false;              // --avversario esperto
    std::optional<std::uint64_t> seme; // --seme N
};

// The command line as read: the options to play with; or, for --help and
// --version, the text for standard output and status 0; or, for a mistake,
// one line for standard error that names the valid values, and status 2.
struct RigaDiComando {
    std::optional<Opzioni> opzioni;
    QString testo;
    int uscita = 0;
};

// Reads the arguments, the program's name first. Needs a QCoreApplication,
// whose name and version --help and --version print.
RigaDiComando LeggiRigaDiComando(const QStringList& argomenti);

} // namespace trivanta
