#include "Schermo.h"

#include "Controls.h"
#include "Tavolo.h"

#include <QAccessible>
#include <QApplication>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>
#include <algorithm>
#include <cmath>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace trivanta::test {

namespace {

// A picture file as committed, read once.
QImage Committed(const QString& file) {
    static QHash<QString, QImage> files;
    if (!files.contains(file)) {
        const QImage image(QStringLiteral(TRIVANTA_ASSETS_DIR "/cards/") + file);
        files.insert(file, image.convertToFormat(QImage::Format_RGB32));
    }
    return files.value(file);
}

// What a screen of this device pixel ratio must show for the picture: the
// GIF at 1, the picture drawn at twice the size at 2, and at any other ratio
// that one smoothly scaled to the place's size on the screen.
QImage Atteso(std::string_view nome, qreal ratio) {
    const QString name = QString::fromLatin1(nome.data(), qsizetype(nome.size()));
    QImage gif = Committed(name + QStringLiteral(".gif"));
    if (qFuzzyCompare(ratio, 1.0)) {
        return gif;
    }
    QImage large = Committed(name + QStringLiteral("@2x.png"));
    if (qFuzzyCompare(ratio, 2.0) || gif.isNull()) {
        return large;
    }
    const QSize size(qRound(gif.width() * ratio), qRound(gif.height() * ratio));
    return large.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

bool Mostra(QWidget* place, std::string_view nome) {
    const QImage drawn = place->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = drawn.devicePixelRatio();
    const int border = qRound(2 * ratio);
    QImage inside = drawn.copy(drawn.rect().adjusted(border, border, -border, -border));
    if (nome.empty()) {
        QImage plain(inside.size(), QImage::Format_RGB32);
        plain.fill(inside.pixel(0, 0));
        return inside == plain;
    }
    QImage picture = Atteso(nome, ratio);
    if (picture.isNull() || picture.size() != inside.size()) {
        return false;
    }
    if (place->hasFocus()) {
        // The keyboard's frame covers the card's edge; the rest is the picture.
        const int frame = qRound(4 * ratio);
        const QRect within = inside.rect().adjusted(frame, frame, -frame, -frame);
        inside = inside.copy(within);
        picture = picture.copy(within);
    }
    return inside == picture;
}

QString Sentito(QWidget* control) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    return face != nullptr ? face->text(QAccessible::Name) : QString();
}

namespace {
Lettore* lettore = nullptr;

void Ascolta(QAccessibleEvent* event) {
    auto* control = qobject_cast<QWidget*>(event->object());
    const auto& watched = lettore->watched;
    if (event->type() == QAccessible::NameChanged &&
        std::find(watched.begin(), watched.end(), control) != watched.end()) {
        lettore->annunci.push_back({control, Sentito(control)});
    }
}

QPlatformAccessibility* Piattaforma() {
    return QGuiApplicationPrivate::platformIntegration()->accessibility();
}
} // namespace

Lettore::Lettore(std::vector<QWidget*> controls) : watched(std::move(controls)) {
    lettore = this;
    QAccessible::installUpdateHandler(Ascolta);
    Piattaforma()->setActive(true);
}

Lettore::~Lettore() {
    Piattaforma()->setActive(false);
    QAccessible::installUpdateHandler(nullptr);
    lettore = nullptr;
}

namespace {
// The contrast ratio of two colours as WCAG defines it, from 1 to 21.
double Contrasto(QRgb a, QRgb b) {
    const auto luminanza = [](QRgb c) {
        double sum = 0;
        for (const auto& [v, weight] : {std::pair{qRed(c), 0.2126}, std::pair{qGreen(c), 0.7152},
                                        std::pair{qBlue(c), 0.0722}}) {
            const double s = v / 255.0;
            sum += weight * (s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    const double la = luminanza(a), lb = luminanza(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
} // namespace

bool CorniceVisibile(const QImage& plainGrab, const QImage& focusedGrab) {
    const QImage a = plainGrab.convertToFormat(QImage::Format_RGB32);
    const QImage b = focusedGrab.convertToFormat(QImage::Format_RGB32);
    const qreal ratio = b.devicePixelRatio();
    const int w = a.width(), h = a.height(), reach = qRound(8 * ratio);
    // How many pixels changed at 3:1 or more on the way in from (x, y).
    const auto changed = [&](int x, int y, int dx, int dy) {
        int n = 0;
        for (int d = 0; d < reach; ++d, x += dx, y += dy) {
            n += Contrasto(a.pixel(x, y), b.pixel(x, y)) >= 3.0 ? 1 : 0;
        }
        return n;
    };
    // At every place along each side, the rounded corners left out.
    bool ok = a.size() == b.size();
    for (int x = reach; ok && x < w - reach; ++x) {
        ok = std::min(changed(x, 0, 0, 1), changed(x, h - 1, 0, -1)) >= 2 * ratio;
    }
    for (int y = reach; ok && y < h - reach; ++y) {
        ok = std::min(changed(0, y, 1, 0), changed(w - 1, y, -1, 0)) >= 2 * ratio;
    }
    return ok;
}

QString DifferenzeDalTavolo(MainWindow& w, bool pixel) {
    const Tavolo& t = w.briscola().tavolo();
    QStringList diff;
    const auto confronta = [&](const QString& name, const Posto& atteso, bool manoPc) {
        auto* p = Controllo<CardPlace>(w, name);
        const bool mostra = pixel ? Mostra(p, atteso.immagine)
                                  : p->accessibleName().endsWith(QString::fromStdString(
                                        NomeAccessibile(atteso.immagine, manoPc)));
        if (p->isHidden() == atteso.visibile || (atteso.visibile && !mostra)) {
            diff << name;
        }
    };
    int marcatori = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        confronta(QStringLiteral("user(%1)").arg(k), t.user[k], false);
        confronta(QStringLiteral("pc(%1)").arg(k), t.pc[k], true);
        const QWidget* shape = Controllo(w, QStringLiteral("Shape2(%1)").arg(k));
        const QWidget* card = Controllo(w, QStringLiteral("user(%1)").arg(k));
        marcatori += shape->isVisible() ? 1 : 0;
        // A marker frames a card that is shown, and only where the game says.
        if (shape->isHidden() == t.Shape2[k] || (shape->isVisible() && !card->isVisible())) {
            diff << QStringLiteral("Shape2(%1)").arg(k);
        }
    }
    if (marcatori > 1) {
        diff << QStringLiteral("%1 markers").arg(marcatori);
    }
    confronta(QStringLiteral("terrauser"), t.terrauser, false);
    confronta(QStringLiteral("terrapc"), t.terrapc, false);
    confronta(QStringLiteral("cartabriscola"), t.cartabriscola, false);
    if (Controllo<QLabel>(w, QStringLiteral("StatusBar1"))->text() !=
        QString::fromStdString(t.StatusBar1)) {
        diff << QStringLiteral("StatusBar1");
    }
    return diff.join(QStringLiteral(", "));
}

Risponditore::Risponditore(QWidget* window) : window_(window) {
    connect(&timer_, &QTimer::timeout, this, &Risponditore::Guarda);
    timer_.start(5);
}

void Risponditore::Guarda() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || box->property("risposto").toBool()) {
        return;
    }
    box->setProperty("risposto", true);
    const auto def =
        box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
    const bool yesNo = box->standardButtons() == (QMessageBox::Yes | QMessageBox::No);
    const Icon icon = box->icon() == QMessageBox::Information ? Icon::Information
                      : box->icon() == QMessageBox::Warning   ? Icon::Exclamation
                                                              : Icon::None;
    // The game joins lines the Windows way; the box shows them broken.
    QString text = box->text();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    BoxVisto visto;
    visto.message = {text.toStdString(), box->windowTitle().toStdString(),
                     yesNo ? Buttons::YesNo : Buttons::Ok, icon};
    visto.predefinito = def;
    visto.modaleSullaFinestra = box->isModal() && box->parentWidget() == window_;
    visti.push_back(visto);
    const auto answer = scegli ? scegli(visti.back()) : def;
    if (answer == def) {
        QTest::keyClick(box, Qt::Key_Return);
    } else {
        box->button(answer)->click();
    }
}

} // namespace trivanta::test
