#include "UiSupport.h"

#include "CardPictures.h"
#include "Carte.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace trivanta::prova {

Risponditore::Risponditore(QWidget* window) : window_(window) {
    connect(&timer_, &QTimer::timeout, this, &Risponditore::poll);
    timer_.start(5);
}

void Risponditore::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || box->property("risposto").toBool()) {
        return;
    }
    box->setProperty("risposto", true);
    const auto def =
        box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
    const BoxVisto visto{
        box->text(), box->windowTitle(), box->standardButtons(),
        def,         box->icon(),        box->isModal() && box->parentWidget() == window_};
    visti.push_back(visto);
    const auto answer = handler ? handler(visto) : def;
    if (answer == def) {
        QTest::keyClick(box, Qt::Key_Return);
    } else {
        box->button(answer)->click();
    }
}

Finestra::Finestra(quint64 seed) : random(seed, orologioFisso), w(nullptr, &random), answerer(&w) {}

void Finestra::apri() {
    w.Form_Load();
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

QString statusBar(MainWindow& w) {
    return trova<QLabel>(w, "StatusBar1")->text();
}

QString differenzeDalTavolo(MainWindow& w) {
    const Tavolo& t = w.briscola().tavolo();
    QStringList diff;
    const auto confronta = [&](const QString& name, const Posto& atteso) {
        CardPlace* p = posto(w, name);
        if (p->isHidden() == atteso.visibile || (atteso.visibile && !mostra(p, atteso.immagine))) {
            diff << name;
        }
    };
    for (std::size_t k = 0; k < 3; ++k) {
        confronta(QStringLiteral("user(%1)").arg(k), t.user[k]);
        confronta(QStringLiteral("pc(%1)").arg(k), t.pc[k]);
        if (trova(w, QStringLiteral("Shape2(%1)").arg(k))->isHidden() == t.Shape2[k]) {
            diff << QStringLiteral("Shape2(%1)").arg(k);
        }
    }
    confronta("terrauser", t.terrauser);
    confronta("terrapc", t.terrapc);
    confronta("cartabriscola", t.cartabriscola);
    if (statusBar(w) != QString::fromStdString(t.StatusBar1)) {
        diff << "StatusBar1";
    }
    return diff.join(", ");
}

bool mostra(CardPlace* place, std::string_view nome) {
    const QImage drawn = place->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = drawn.devicePixelRatio();
    const int border = qRound(2 * ratio);
    const QImage inside = drawn.copy(drawn.rect().adjusted(border, border, -border, -border));
    if (nome.empty()) {
        // Only the background: one colour inside the border.
        QImage plain(inside.size(), QImage::Format_RGB32);
        plain.fill(inside.pixel(0, 0));
        return inside == plain;
    }
    // Enlarged pixel by pixel on a HiDPI screen: a smoothed picture differs.
    const QImage picture = cardPicture(nome).toImage().convertToFormat(QImage::Format_RGB32);
    return !picture.isNull() &&
           inside == picture.scaled(picture.size() * ratio, Qt::IgnoreAspectRatio,
                                    Qt::FastTransformation);
}

std::vector<std::string> carte(const StatoGioco& s, std::int16_t posizione) {
    std::vector<std::string> found;
    for (int v = 1; v <= NumeroValori; ++v) {
        for (int m = 1; m <= NumeroSemi; ++m) {
            if (s.StatoCarte[v][m] == posizione) {
                found.emplace_back(NomeImmagine(v, m));
            }
        }
    }
    return found;
}

} // namespace trivanta::prova
