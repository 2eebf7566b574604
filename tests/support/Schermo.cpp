#include "Schermo.h"

#include "Tavolo.h"

#include <QAccessible>
#include <QLabel>
#include <QMainWindow>
#include <QtGui/private/qguiapplication_p.h>
#include <cmath>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <utility>

namespace trivanta::test {

namespace {

// Whether the place, as drawn, shows exactly this picture inside its border
// ("" for none), pixel for pixel as committed: the GIF at device pixel ratio 1, else the
// picture drawn at twice the size, smoothly scaled to the place's size on the
// screen. Where the place has the keyboard, its frame over the card's edge is
// left out.
bool Mostra(QWidget* place, std::string_view nome) {
    const QImage drawn = place->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = drawn.devicePixelRatio();
    const int frame = place->hasFocus() ? qRound(4 * ratio) : 0, edge = qRound(2 * ratio) + frame;
    const QImage inside = drawn.copy(drawn.rect().adjusted(edge, edge, -edge, -edge));
    if (nome.empty()) { // the place's background alone
        return inside == inside.copy(0, 0, 1, 1).scaled(inside.size());
    }
    const QString file = TRIVANTA_ASSETS_DIR "/cards/" + QLatin1String(nome.data(), nome.size());
    const QImage gif(file + QStringLiteral(".gif"));
    const QImage picture =
        (ratio == 1 ? gif : QImage(file + QStringLiteral("@2x.png")))
            .scaled(gif.size() * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    return picture.copy(picture.rect().adjusted(frame, frame, -frame, -frame)) == inside;
}

// What a screen reader reads as the control's name.
QString Sentito(QWidget* control) {
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

Lettore* lettore = nullptr;

} // namespace

Lettore::Lettore() {
    lettore = this;
    QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
        auto* control = qobject_cast<QWidget*>(event->object());
        if (event->type() == QAccessible::NameChanged && control != nullptr &&
            qobject_cast<QMainWindow*>(control->window()) != nullptr &&
            std::exchange(lettore->detto[control], Sentito(control)) == Sentito(control)) {
            lettore->ripetuti << control->objectName() + ": " + Sentito(control);
        }
    });
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
}

Lettore::~Lettore() {
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
    QAccessible::installUpdateHandler(nullptr);
}

bool CorniceVisibile(const QImage& plain, const QImage& focused) {
    const QImage a = plain.convertToFormat(QImage::Format_RGB32);
    const QImage b = focused.convertToFormat(QImage::Format_RGB32);
    const qreal ratio = b.devicePixelRatio();
    const int w = a.width(), h = a.height(), reach = qRound(8 * ratio);
    // A colour's relative luminance as WCAG defines it (the sRGB curve taken
    // as the power 2.2), plus the 0.05 of its contrast ratio.
    const auto luce = [](QRgb c) {
        const auto l = [](int v) { return std::pow(v / 255.0, 2.2); };
        return 0.2126 * l(qRed(c)) + 0.7152 * l(qGreen(c)) + 0.0722 * l(qBlue(c)) + 0.05;
    };
    // Whether at least two pixels of the screen's size changed at 3:1 or more
    // on the way in from (x, y).
    const auto cambia = [&](int x, int y, int dx, int dy) {
        int n = 0;
        for (int d = 0; d < reach; ++d, x += dx, y += dy) {
            const double la = luce(a.pixel(x, y)), lb = luce(b.pixel(x, y));
            n += std::max(la, lb) >= 3 * std::min(la, lb) ? 1 : 0;
        }
        return n >= 2 * ratio;
    };
    // At every place along each side, the rounded corners left out.
    bool ok = a.size() == b.size();
    for (int i = reach; ok && i < std::max(w, h) - reach; ++i) {
        ok = (i >= w - reach || (cambia(i, 0, 0, 1) && cambia(i, h - 1, 0, -1))) &&
             (i >= h - reach || (cambia(0, i, 1, 0) && cambia(w - 1, i, -1, 0)));
    }
    return ok;
}

QString DifferenzeDalTavolo(MainWindow& w, bool pixel) {
    const Tavolo& t = w.briscola().tavolo();
    QStringList diff;
    const auto confronta = [&](const QString& name, const Posto& atteso, bool manoPc = false) {
        QWidget* p = Controllo(w, name);
        if (p->isHidden() == atteso.visibile ||
            (atteso.visibile && !(pixel ? Mostra(p, atteso.immagine)
                                        : Sentito(p).endsWith(QString::fromStdString(
                                              NomeAccessibile(atteso.immagine, manoPc)))))) {
            diff << name;
        }
    };
    for (std::size_t k = 0; k < 3; ++k) {
        confronta(QStringLiteral("user(%1)").arg(k), t.user[k]);
        confronta(QStringLiteral("pc(%1)").arg(k), t.pc[k], true);
        if (Controllo(w, QStringLiteral("Shape2(%1)").arg(k))->isHidden() == t.Shape2[k]) {
            diff << QStringLiteral("Shape2(%1)").arg(k);
        }
    }
    confronta(QStringLiteral("terrauser"), t.terrauser);
    confronta(QStringLiteral("terrapc"), t.terrapc);
    confronta(QStringLiteral("cartabriscola"), t.cartabriscola);
    // A screen reader reads the counts in the bar's name.
    auto* bar = Controllo<QLabel>(w, QStringLiteral("StatusBar1"));
    const QString testo = QString::fromStdString(t.StatusBar1), nome = Sentito(bar);
    if (bar->text() != testo || !nome.startsWith("barra di stato") || !nome.endsWith(testo)) {
        diff << QStringLiteral("StatusBar1");
    }
    return diff.join(QStringLiteral(", "));
}

} // namespace trivanta::test
