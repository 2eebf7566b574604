#include "CardPictures.h"

#include "Carte.h"
#include "Tavolo.h"

#include <QGuiApplication>
#include <QString>

namespace trivanta {

QPixmap cardPicture(std::string_view name) {
    // Only the names of the store reach the resource system.
    const bool known = name == Vuota || CartaDaImmagine(name).valore != 0;
    if (!known || qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return {};
    }
    QPixmap picture;
    picture.load(QStringLiteral(":/cards/%1.gif")
                     .arg(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()))),
                 "GIF");
    return picture;
}

QIcon windowIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) {
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/trivanta.png").arg(size),
                     QSize(size, size));
    }
    return icon;
}

} // namespace trivanta
