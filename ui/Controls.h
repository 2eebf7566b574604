#pragma once

#include <QPixmap>
#include <QWidget>
#include <string>

namespace trivanta {

// A card place: a picture inside a 2-pixel sunken border. The place fits its
// size to the picture it holds; without a picture it shows only its
// background and border, at the size it had.
class CardPlace : public QWidget {
    Q_OBJECT

public:
    CardPlace(QWidget* parent, const QRect& geometry);

    // nome is the picture's name in the store, "" for none.
    void setPicture(const std::string& nome, const QPixmap& picture);

signals:
    // A press and release of the left button on the place.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const QPixmap& pictureForScreen();

    std::string immagine_;
    QPixmap picture_;
    QPixmap scaled_; // picture_ enlarged pixel by pixel for a HiDPI screen
    bool pressed_ = false;
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
