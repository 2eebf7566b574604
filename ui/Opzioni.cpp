#include "Opzioni.h"

#include "Testi.h"
#include "Valori.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace trivanta {

namespace {

QString Testo(const char* testo) {
    return QString::fromUtf8(testo);
}

RigaDiComando Sbaglio(const std::string& riga) {
    return {std::nullopt,
            Testo(testi::NomeProgramma) + QStringLiteral(": ") + QString::fromStdString(riga) +
                QLatin1Char('\n'),
            2};
}

RigaDiComando Sbaglio(const QString& cosa, const char* valide) {
    return Sbaglio(trivanta::Sbaglio(cosa.toStdString(), valide));
}

} // namespace

RigaDiComando LeggiRigaDiComando(const QStringList& argomenti) {
    QCommandLineParser parser;
    parser.setApplicationDescription(Testo(testi::DescrizioneProgramma));
    const QCommandLineOption avversario(Testo(testi::OpzioneAvversario),
                                        Testo(testi::AiutoAvversario),
                                        Testo(testi::ValoriAvversario));
    const QCommandLineOption seme(Testo(testi::OpzioneSeme), Testo(testi::AiutoSeme),
                                  Testo(testi::ValoriSeme));
    const QCommandLineOption aiuto(Testo(testi::OpzioneAiuto), Testo(testi::AiutoAiuto));
    const QCommandLineOption versione(Testo(testi::OpzioneVersione), Testo(testi::AiutoVersione));
    parser.addOptions({avversario, seme, aiuto, versione});

    if (!parser.parse(argomenti)) {
        if (!parser.unknownOptionNames().isEmpty()) {
            const QString nome = parser.unknownOptionNames().first();
            return Sbaglio(Testo(testi::OpzioneSconosciuta) +
                               (nome.size() > 1 ? QStringLiteral("--") : QStringLiteral("-")) +
                               nome,
                           testi::OpzioniValide);
        }
        // The only other mistake the parser knows: a value option at the end.
        const QString ultimo = argomenti.last().section(QLatin1Char('-'), -1);
        const bool diSeme = ultimo == Testo(testi::OpzioneSeme);
        return Sbaglio(Testo(testi::ValoreMancante) + ultimo,
                       diSeme ? testi::ValoriValidiSeme : testi::ValoriValidiAvversario);
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Sbaglio(Testo(testi::ArgomentoSconosciuto) + parser.positionalArguments().first(),
                       testi::OpzioniValide);
    }
    if (parser.isSet(aiuto)) {
        // Qt's help in the program's language: its first line and heading.
        QString testo = parser.helpText();
        testo.replace(0, testo.indexOf(QLatin1Char('\n')),
                      Testo(testi::Uso) + Testo(testi::NomeProgramma) + Testo(testi::UsoOpzioni));
        testo.replace(QStringLiteral("\nOptions:\n"),
                      QLatin1Char('\n') + Testo(testi::Opzioni) + QLatin1Char('\n'));
        return {std::nullopt, testo, 0};
    }
    if (parser.isSet(versione)) {
        return {std::nullopt,
                QCoreApplication::applicationName() + QLatin1Char(' ') +
                    QCoreApplication::applicationVersion() + QLatin1Char('\n'),
                0};
    }

    Opzioni opzioni;
    if (parser.isSet(avversario)) {
        const std::string nome = parser.value(avversario).toStdString();
        const std::optional<bool> esperto = LeggiAvversario(nome);
        if (!esperto) {
            return Sbaglio(SbaglioAvversario(nome));
        }
        opzioni.esperto = *esperto;
    }
    if (parser.isSet(seme)) {
        const std::string testo = parser.value(seme).toStdString();
        opzioni.seme = LeggiSeme(testo);
        if (!opzioni.seme) {
            return Sbaglio(SbaglioSeme(testo));
        }
    }
    return {opzioni, {}, 0};
}

} // namespace trivanta
