#include "CardPictures.h"

#include <QGuiApplication>
#include <QPixmapCache>
#include <QString>

namespace trivanta {
namespace {

// Only the 41 names of the store reach the resource system: a card is a
// suit letter and a value digit ("0" for 10).
bool isPictureName(std::string_view name) {
    if (name == "vuota") {
        return true;
    }
    return name.size() == 2 && std::string_view("oscb").find(name[0]) != std::string_view::npos &&
           name[1] >= '0' && name[1] <= '9';
}

} // namespace

QPixmap cardPicture(std::string_view name) {
    if (!isPictureName(name) ||
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return {};
    }
    const QString file =
        QStringLiteral(":/cards/%1.gif")
            .arg(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    // The path is the key: the cache goes with the application, so no pixmap
    // outlives the QGuiApplication it belongs to.
    QPixmap picture;
    if (!QPixmapCache::find(file, &picture)) {
        picture.load(file, "GIF");
        if (!picture.isNull()) {
            QPixmapCache::insert(file, picture);
        }
    }
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
