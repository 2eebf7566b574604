#include "Schermo.h"

#include "Controls.h"
#include "Tavolo.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace trivanta::test {

bool Mostra(QWidget* place, std::string_view nome) {
    const QImage drawn = place->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = drawn.devicePixelRatio();
    const int border = qRound(2 * ratio);
    const QImage inside = drawn.copy(drawn.rect().adjusted(border, border, -border, -border));
    if (nome.empty()) {
        QImage plain(inside.size(), QImage::Format_RGB32);
        plain.fill(inside.pixel(0, 0));
        return inside == plain;
    }
    const QString file = QStringLiteral(":/cards/%1.gif")
                             .arg(QString::fromLatin1(nome.data(), qsizetype(nome.size())));
    const QImage picture = QImage(file).convertToFormat(QImage::Format_RGB32);
    return !picture.isNull() &&
           inside == picture.scaled(picture.size() * ratio, Qt::IgnoreAspectRatio,
                                    Qt::FastTransformation);
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
