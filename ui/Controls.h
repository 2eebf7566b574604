#pragma once

#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <string>

namespace trivanta {

class Cards;

// Draws the keyboard focus frame just inside `outer`: two pixels of black
// and one of white within them, which show on the green table and buttons,
// on the grey window and on the cards' faces alike.
void paintFocusFrame(QPainter& painter, const QRect& outer);

// A card place: a picture inside a 2-pixel sunken border. The place fits its
// size to the picture it holds; without a picture it shows only its
// background and border, at the size it had.
class CardPlace : public QWidget {
    Q_OBJECT

public:
    CardPlace(QWidget* parent, const QRect& geometry);

    // nome is the picture's name in the store, "" for none, and picture the
    // store's picture of that name. On a screen whose device pixel ratio is
    // not 1 the place asks the store for the large one.
    void setPicture(const std::string& nome, const QPixmap& picture, Cards* store);

signals:
    // A press and release of the left button on the place.
    void clicked();
    // The keyboard came to the place with Tab or Shift+Tab.
    void reachedByTab();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    const QPixmap& pictureForScreen();

    std::string immagine_;
    QPixmap picture_;
    QPointer<Cards> store_;
    QPixmap large_;  // the store's large picture, once a screen asked for it
    QPixmap scaled_; // large_ smoothly scaled to a ratio between or above
    bool pressed_ = false;
};

// A push button that shows the keyboard focus with the frame of the card
// places.
class FramedButton : public QPushButton {
    Q_OBJECT

public:
    FramedButton(const QString& text, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A red rectangle outline; it lies behind the card it surrounds and lets the
// mouse through.
class Outline : public QWidget {
    Q_OBJECT

public:
    Outline(QWidget* parent, const QRect& geometry);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace trivanta
