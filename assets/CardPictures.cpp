#include "CardPictures.h"

#include "Carte.h"
#include "Tavolo.h"

#include <QGuiApplication>
#include <QString>

namespace trivanta {

namespace {

QPixmap load(std::string_view name, const char* file, const char* format) {
    // Only the names of the store reach the resource system.
    const bool known = name == Vuota || CartaDaImmagine(name).valore != 0;
    if (!known || qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return {};
    }
    QPixmap picture;
    picture.load(QString::fromLatin1(file).arg(
                     QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()))),
                 format);
    return picture;
}

} // namespace

QPixmap cardPicture(std::string_view name) {
    return load(name, ":/cards/%1.gif", "GIF");
}

QPixmap largeCardPicture(std::string_view name) {
    QPixmap picture = load(name, ":/cards/%1@2x.png", "PNG");
    picture.setDevicePixelRatio(2);
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
