#include "QtMessageBoxes.h"

#include "Testi.h"

#include <QMessageBox>
#include <QPushButton>

namespace trivanta {

namespace {

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QtMessageBoxes::QtMessageBoxes(QWidget* owner, std::function<void()> beforeShowing)
    : owner_(owner), beforeShowing_(std::move(beforeShowing)) {}

namespace {

// The keyboard goes back to the window once a box is closed, also where no
// window manager hands it back.
void returnFocus(QWidget* owner) {
    if (owner != nullptr && owner->isVisible()) {
        owner->activateWindow();
    }
}

} // namespace

Answer QtMessageBoxes::show(const Message& message) {
    if (beforeShowing_) {
        beforeShowing_();
    }
    QMessageBox box(owner_);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(QString::fromStdString(message.title.value_or(testi::TitoloFinestra)));
    // Lines come joined the Windows way; Qt breaks lines at "\n" only.
    QString text = QString::fromStdString(message.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(qtIcon(message.icon));

    if (message.buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        // Escape and the close box answer No.
        box.setEscapeButton(QMessageBox::No);
        box.exec();
        returnFocus(owner_);
        return box.clickedButton() == box.button(QMessageBox::Yes) ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    returnFocus(owner_);
    return Answer::Ok;
}

} // namespace trivanta
