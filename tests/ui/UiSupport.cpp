#include "UiSupport.h"

#include "CardPictures.h"
#include "Carte.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace trivanta::prova {

Risponditore::Risponditore(QWidget* window, Handler handler)
    : window_(window), handler_(std::move(handler)) {
    connect(&timer_, &QTimer::timeout, this, &Risponditore::poll);
    timer_.start(5);
}

void Risponditore::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || box->property("risposto").toBool()) {
        return;
    }
    box->setProperty("risposto", true);
    BoxVisto visto;
    visto.text = box->text();
    visto.title = box->windowTitle();
    visto.buttons = box->standardButtons();
    visto.defaultButton =
        box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
    visto.icon = box->icon();
    if (QAbstractButton* yes = box->button(QMessageBox::Yes)) {
        QAbstractButton* no = box->button(QMessageBox::No);
        visto.yesBeforeNo =
            no != nullptr && yes->mapToGlobal(QPoint()).x() < no->mapToGlobal(QPoint()).x();
    }
    visto.modalToWindow = box->isModal() && box->parentWidget() == window_;
    visti_.push_back(visto);

    QMessageBox::StandardButton answer =
        handler_ ? handler_(visto)
                 : (visto.defaultButton != QMessageBox::NoButton ? visto.defaultButton
                                                                 : QMessageBox::Ok);
    if (answer == visto.defaultButton) {
        QTest::keyClick(box, Qt::Key_Return);
    } else if (QAbstractButton* button = box->button(answer)) {
        button->click();
    } else {
        box->reject();
    }
}

CardPlace* posto(MainWindow& w, const QString& name) {
    return w.findChild<CardPlace*>(name);
}

QWidget* controllo(MainWindow& w, const QString& name) {
    return w.findChild<QWidget*>(name);
}

namespace {

QString confronta(MainWindow& w, const QString& name, const Posto& atteso) {
    CardPlace* place = posto(w, name);
    if (place == nullptr) {
        return name + QStringLiteral(" missing");
    }
    if (place->immagine() != atteso.immagine || place->isHidden() == atteso.visibile) {
        return QStringLiteral("%1 shows '%2'%3, the table says '%4'%5")
            .arg(name, QString::fromStdString(place->immagine()),
                 place->isHidden() ? QStringLiteral(" hidden") : QString(),
                 QString::fromStdString(atteso.immagine),
                 atteso.visibile ? QString() : QStringLiteral(" hidden"));
    }
    return {};
}

} // namespace

QString differenzeDalTavolo(MainWindow& w) {
    const Tavolo& t = w.briscola().tavolo();
    QStringList diff;
    for (std::size_t k = 0; k < 3; ++k) {
        diff << confronta(w, QStringLiteral("user(%1)").arg(k), t.user[k]);
        diff << confronta(w, QStringLiteral("pc(%1)").arg(k), t.pc[k]);
        QWidget* shape = controllo(w, QStringLiteral("Shape2(%1)").arg(k));
        if (shape == nullptr || shape->isHidden() == t.Shape2[k]) {
            diff << QStringLiteral("Shape2(%1) differs").arg(k);
        }
    }
    diff << confronta(w, QStringLiteral("terrauser"), t.terrauser);
    diff << confronta(w, QStringLiteral("terrapc"), t.terrapc);
    diff << confronta(w, QStringLiteral("cartabriscola"), t.cartabriscola);
    auto* bar = w.findChild<QLabel*>(QStringLiteral("StatusBar1"));
    if (bar == nullptr || bar->text() != QString::fromStdString(t.StatusBar1)) {
        diff << QStringLiteral("StatusBar1 reads '%1'").arg(bar ? bar->text() : QString());
    }
    diff.removeAll(QString());
    return diff.join(QStringLiteral("; "));
}

bool mostra(CardPlace* place, std::string_view nome) {
    const QImage drawn = place->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = drawn.devicePixelRatio();
    const int border = qRound(2 * ratio);
    if (nome.empty()) {
        // Only the background: every pixel inside the border has one colour.
        const QRgb face = drawn.pixel(border, border);
        for (int y = border; y < drawn.height() - border; ++y) {
            for (int x = border; x < drawn.width() - border; ++x) {
                if (drawn.pixel(x, y) != face) {
                    return false;
                }
            }
        }
        return true;
    }
    QImage expected = cardPicture(nome).toImage().convertToFormat(QImage::Format_RGB32);
    if (expected.isNull()) {
        return false;
    }
    if (ratio != 1.0) {
        expected =
            expected.scaled(expected.size() * ratio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    if (drawn.width() != expected.width() + 2 * border ||
        drawn.height() != expected.height() + 2 * border) {
        return false;
    }
    return drawn.copy(border, border, expected.width(), expected.height()) == expected;
}

int conta(const StatoGioco& s, std::int16_t posizione) {
    int n = 0;
    for (int v = 1; v <= NumeroValori; ++v) {
        for (int m = 1; m <= NumeroSemi; ++m) {
            n += s.StatoCarte[v][m] == posizione ? 1 : 0;
        }
    }
    return n;
}

} // namespace trivanta::prova
