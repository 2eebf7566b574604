#include "Controls.h"

#include "Cards.h"
#include "Layout.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <qdrawutil.h>

namespace trivanta {

namespace {

// A band `width` pixels wide along the inside of `outer`.
void fillFrame(QPainter& painter, const QRect& outer, int width, const QColor& colour) {
    const int w = outer.width();
    const int h = outer.height();
    painter.fillRect(outer.left(), outer.top(), w, width, colour);
    painter.fillRect(outer.left(), outer.top() + h - width, w, width, colour);
    painter.fillRect(outer.left(), outer.top() + width, width, h - 2 * width, colour);
    painter.fillRect(outer.left() + w - width, outer.top() + width, width, h - 2 * width, colour);
}

} // namespace

void paintFocusFrame(QPainter& painter, const QRect& outer) {
    fillFrame(painter, outer, 2, Qt::black);
    fillFrame(painter, outer.adjusted(2, 2, -2, -2), 1, Qt::white);
}

CardPlace::CardPlace(QWidget* parent, const QRect& geometry) : QWidget(parent) {
    setGeometry(geometry);
    // An empty place shows the face colour of the window, also on the green
    // table.
    QPalette own = palette();
    own.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    setPalette(own);
}

void CardPlace::setPicture(const std::string& nome, const QPixmap& picture, Cards* store) {
    store_ = store;
    if (nome == immagine_ && picture.cacheKey() == picture_.cacheKey()) {
        return;
    }
    immagine_ = nome;
    picture_ = picture;
    large_ = QPixmap();
    scaled_ = QPixmap();
    if (!picture_.isNull()) {
        const QSize inside = picture_.deviceIndependentSize().toSize();
        resize(inside + QSize(2 * layout::CardBorder, 2 * layout::CardBorder));
    }
    update();
}

const QPixmap& CardPlace::pictureForScreen() {
    // Asked at every paint: the window may move to a screen of another ratio.
    const qreal ratio = devicePixelRatioF();
    if (qFuzzyCompare(ratio, picture_.devicePixelRatio())) {
        return picture_;
    }
    if (large_.isNull() && store_ != nullptr) {
        large_ = store_->large(immagine_);
    }
    if (large_.isNull()) {
        return picture_; // the painter stretches it
    }
    if (qFuzzyCompare(ratio, large_.devicePixelRatio())) {
        return large_;
    }
    // Any other ratio, 1.25, 1.5 or 3: the large picture, which has detail to
    // spare, smoothly scaled to the place's size on this screen.
    if (scaled_.isNull() || !qFuzzyCompare(scaled_.devicePixelRatio(), ratio)) {
        const QSizeF inside = large_.deviceIndependentSize();
        const QSize device(static_cast<int>(std::lround(inside.width() * ratio)),
                           static_cast<int>(std::lround(inside.height() * ratio)));
        scaled_ = large_.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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
    if (hasFocus()) {
        // On the card's face, inside its own edge.
        const int inset = layout::CardBorder + 1;
        paintFocusFrame(painter, rect().adjusted(inset, inset, -inset, -inset));
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

void CardPlace::focusInEvent(QFocusEvent* event) {
    update();
    // Only the user moving through the controls chooses a card; the focus
    // coming back with the window, or put here by the program, chooses none.
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
        emit reachedByTab();
    }
}

void CardPlace::focusOutEvent(QFocusEvent*) {
    update();
}

FramedButton::FramedButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void FramedButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (hasFocus()) {
        // Inside the style's own edge, clear of the text.
        QPainter painter(this);
        paintFocusFrame(painter, rect().adjusted(2, 2, -2, -2));
    }
}

Outline::Outline(QWidget* parent, const QRect& geometry) : QWidget(parent) {
    setGeometry(geometry);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Outline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    fillFrame(painter, rect(), layout::ShapeBorder, QColor(255, 0, 0));
}

} // namespace trivanta
