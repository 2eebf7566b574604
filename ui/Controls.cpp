#include "Controls.h"

#include "Layout.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <qdrawutil.h>

namespace trivanta {

CardPlace::CardPlace(QWidget* parent, const QRect& geometry) : QWidget(parent) {
    setGeometry(geometry);
    // An empty place shows the face colour of the window, also on the green
    // table.
    QPalette own = palette();
    own.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    setPalette(own);
}

void CardPlace::setPicture(const std::string& nome, const QPixmap& picture) {
    if (nome == immagine_ && picture.cacheKey() == picture_.cacheKey()) {
        return;
    }
    immagine_ = nome;
    picture_ = picture;
    scaled_ = QPixmap();
    if (!picture_.isNull()) {
        const QSize inside = picture_.deviceIndependentSize().toSize();
        resize(inside + QSize(2 * layout::CardBorder, 2 * layout::CardBorder));
    }
    update();
}

const QPixmap& CardPlace::pictureForScreen() {
    const qreal ratio = devicePixelRatioF();
    if (qFuzzyCompare(ratio, picture_.devicePixelRatio())) {
        return picture_;
    }
    // Nearest-neighbour enlargement keeps the card's pixels sharp; letting the
    // painter scale it would blur them.
    if (scaled_.isNull() || !qFuzzyCompare(scaled_.devicePixelRatio(), ratio)) {
        const QSizeF inside = picture_.deviceIndependentSize();
        const QSize device(static_cast<int>(std::lround(inside.width() * ratio)),
                           static_cast<int>(std::lround(inside.height() * ratio)));
        scaled_ = picture_.scaled(device, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        scaled_.setDevicePixelRatio(ratio);
    }
    return scaled_;
}

void CardPlace::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QBrush face = palette().brush(QPalette::Window);
    qDrawWinPanel(&painter, rect(), palette(), true, &face);
    if (!picture_.isNull()) {
        painter.drawPixmap(layout::CardBorder, layout::CardBorder, pictureForScreen());
    }
}

void CardPlace::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void CardPlace::mouseReleaseEvent(QMouseEvent* event) {
    // A hidden place holds no card: whatever delivers it a click, it selects
    // nothing.
    const bool click = pressed_ && isVisible() && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) {
        emit clicked();
    }
}

Outline::Outline(QWidget* parent, const QRect& geometry) : QWidget(parent) {
    setGeometry(geometry);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Outline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor red(255, 0, 0);
    const int b = layout::ShapeBorder;
    const int w = width();
    const int h = height();
    painter.fillRect(0, 0, w, b, red);
    painter.fillRect(0, h - b, w, b, red);
    painter.fillRect(0, b, b, h - 2 * b, red);
    painter.fillRect(w - b, b, b, h - 2 * b, red);
}

} // namespace trivanta
