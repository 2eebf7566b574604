#include "Schermo.h"

#include "Controls.h"
#include "Tavolo.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>
#include <algorithm>
#include <cmath>
#include <map>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace trivanta::test {

namespace {

// A picture file as committed, read once.
const QImage& Committed(const QString& file) {
    static std::map<QString, QImage> files;
    auto it = files.find(file);
    if (it == files.end()) {
        const QImage image(QStringLiteral(TRIVANTA_ASSETS_DIR "/cards/") + file);
        it = files.emplace(file, image.convertToFormat(QImage::Format_RGB32)).first;
    }
    return it->second;
}

// What a screen of this device pixel ratio must show for the picture: the
// GIF at 1, the picture drawn at twice the size at 2, and at any other ratio
// that one smoothly scaled to the place's size on the screen.
QImage Atteso(std::string_view nome, qreal ratio) {
    const QString name = QString::fromLatin1(nome.data(), qsizetype(nome.size()));
    const QImage& gif = Committed(name + QStringLiteral(".gif"));
    if (qFuzzyCompare(ratio, 1.0)) {
        return gif;
    }
    const QImage& large = Committed(name + QStringLiteral("@2x.png"));
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

void Accendi(bool on) {
    QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(on);
}
} // namespace

Lettore::Lettore(std::vector<QWidget*> controls) : watched(std::move(controls)) {
    lettore = this;
    QAccessible::installUpdateHandler(Ascolta);
    Accendi(true);
}

Lettore::~Lettore() {
    Accendi(false);
    QAccessible::installUpdateHandler(nullptr);
    lettore = nullptr;
}

namespace {
// Relative luminance and contrast ratio as WCAG defines them.
double Luminanza(QRgb c) {
    const auto lineare = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lineare(qRed(c)) + 0.7152 * lineare(qGreen(c)) + 0.0722 * lineare(qBlue(c));
}

double Contrasto(QRgb a, QRgb b) {
    const double la = Luminanza(a), lb = Luminanza(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
} // namespace

bool CorniceVisibile(const QImage& plainGrab, const QImage& focusedGrab) {
    const QImage plain = plainGrab.convertToFormat(QImage::Format_RGB32);
    const QImage focused = focusedGrab.convertToFormat(QImage::Format_RGB32);
    if (plain.size() != focused.size()) {
        return false;
    }
    const qreal ratio = focused.devicePixelRatio();
    const int thick = static_cast<int>(2 * ratio); // at least this many pixels
    const int depth = qRound(8 * ratio);           // within this far of the edge
    const int corner = qRound(8 * ratio);          // rounded corners left out
    const int w = plain.width(), h = plain.height();
    const auto changed = [&](int x, int y) {
        return Contrasto(plain.pixel(x, y), focused.pixel(x, y)) >= 3.0;
    };
    // Across the edge at every place along each side.
    for (int x = corner; x < w - corner; ++x) {
        int top = 0, bottom = 0;
        for (int d = 0; d < depth; ++d) {
            top += changed(x, d) ? 1 : 0;
            bottom += changed(x, h - 1 - d) ? 1 : 0;
        }
        if (top < thick || bottom < thick) {
            return false;
        }
    }
    for (int y = corner; y < h - corner; ++y) {
        int left = 0, right = 0;
        for (int d = 0; d < depth; ++d) {
            left += changed(d, y) ? 1 : 0;
            right += changed(w - 1 - d, y) ? 1 : 0;
        }
        if (left < thick || right < thick) {
            return false;
        }
    }
    return true;
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
