#include "NomiCarte.h"

#include "Tavolo.h"

namespace trivanta {

namespace {

QString nomeValore(char cifra) {
    switch (cifra) {
    case '1':
        return QStringLiteral("asso");
    case '8':
        return QStringLiteral("fante");
    case '9':
        return QStringLiteral("cavallo");
    case '0':
        return QStringLiteral("re");
    default:
        return QString(QChar(cifra));
    }
}

QString nomeSeme(char lettera) {
    switch (lettera) {
    case 'o':
        return QStringLiteral("ori");
    case 's':
        return QStringLiteral("spade");
    case 'c':
        return QStringLiteral("coppe");
    case 'b':
        return QStringLiteral("bastoni");
    default:
        return {};
    }
}

} // namespace

QString nomeAccessibile(std::string_view immagine, bool manoPc) {
    if (immagine == Vuota) {
        return manoPc ? QStringLiteral("carta coperta") : QStringLiteral("posto vuoto");
    }
    if (immagine.size() == 2 && immagine[1] >= '0' && immagine[1] <= '9') {
        const QString seme = nomeSeme(immagine[0]);
        if (!seme.isEmpty()) {
            return nomeValore(immagine[1]) + QStringLiteral(" di ") + seme;
        }
    }
    return QStringLiteral("posto vuoto");
}

} // namespace trivanta
