#include "MainWindow.h"

#include "CardPictures.h"
#include "Cards.h"
#include "Controls.h"
#include "Donazione.h"
#include "Layout.h"
#include "QtMessageBoxes.h"
#include "Testi.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>
#include <QStyle>
#include <QStyleFactory>
#include <QWindow>
#include <algorithm>

namespace trivanta {

namespace {

// The window's own font, at the size the layout was drawn for, from a face
// that scales: Windows still has "MS Sans Serif", but only as a bitmap font
// whose smallest size is too wide for the buttons' texts and which cannot
// grow with the screen's scale. The first face that scales stands in for it.
QFont fontFinestra(bool bold) {
    static const QString famiglia = [] {
        for (const char* nome :
             {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans"}) {
            const QString candidata = QString::fromLatin1(nome);
            if (QFontDatabase::isSmoothlyScalable(candidata)) {
                return candidata;
            }
        }
        return QStringLiteral("MS Sans Serif");
    }();
    QFont font(famiglia);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

QLabel* tableLabel(QWidget* frame, const char* name, const char* text, layout::Twips place) {
    auto* label = new QLabel(QString::fromUtf8(text), frame);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(layout::pixels(place));
    label->setFont(fontFinestra(true));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

QPushButton* donationButton(QWidget* client, const char* name, layout::Twips place) {
    auto* button = new FramedButton(QString::fromUtf8(testi::InvitoDonazione), client);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(layout::pixels(place));
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, QColor(0, 255, 0));
    button->setPalette(palette);
    // Green everywhere: a native style such as Windows' own draws a button
    // in the system's colours, whatever its palette says. The button keeps
    // the style as its child; it holds the style by a guarded pointer.
    QStyle* painted = QStyleFactory::create(QStringLiteral("Fusion"));
    painted->setParent(button);
    button->setStyle(painted);
    return button;
}

CardPlace* cardPlace(QWidget* parent, const QString& name, layout::Twips place) {
    auto* card = new CardPlace(parent, layout::pixels(place));
    card->setObjectName(name);
    return card;
}

QString indexed(const char* name, std::size_t index) {
    return QStringLiteral("%1(%2)").arg(QString::fromLatin1(name)).arg(index);
}

// Qt tells assistive technology of every name and description it is given
// as a change; only real changes are passed on, so that a screen reader
// hears what changed and nothing else.
void nameIfChanged(QWidget* control, const QString& name) {
    if (control->accessibleName() != name) {
        control->setAccessibleName(name);
    }
}

void descriptionIfChanged(QWidget* control, const QString& description) {
    if (control->accessibleDescription() != description) {
        control->setAccessibleDescription(description);
    }
}

} // namespace

MainWindow::MainWindow(MessageBoxes* boxes, Random* random, BrowserPlatform* platform,
                       Avversario* avversario)
    : ownBoxes_(boxes ? nullptr : std::make_unique<QtMessageBoxes>(this, [this] { Disegna(); })),
      ownRandom_(random ? nullptr : std::make_unique<PcgRandom>()),
      ownPlatform_(platform ? nullptr : systemBrowserPlatform()),
      boxes_(boxes ? boxes : ownBoxes_.get()), random_(random ? random : ownRandom_.get()),
      platform_(platform ? platform : ownPlatform_.get()),
      briscola_(*boxes_, *random_, avversario) {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QString::fromUtf8(avversario != nullptr ? testi::TitoloFinestraEsperto
                                                           : testi::TitoloFinestra));
    setWindowIcon(trivanta::windowIcon());
    setFont(fontFinestra(false));
    // A fixed border: it can be moved and minimised, never resized or maximised.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(layout::ClientWidth / layout::TwipsPerPixel,
                         layout::ClientHeight / layout::TwipsPerPixel);
    setCentralWidget(client);
    buildControls(client);
    buildMenus();
    buildKeyboard();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    watchActivation();
    Disegna();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls(QWidget* client) {
    Command1 = donationButton(client, "Command1", layout::Command1);
    for (std::size_t k = 0; k < pc.size(); ++k) {
        pc[k] = cardPlace(client, indexed("pc", k), layout::pc[k]);
    }

    Frame1 = new QWidget(client);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(layout::pixels(layout::Frame1));
    Frame1->setAutoFillBackground(true);
    QPalette green = Frame1->palette();
    green.setColor(QPalette::Window, QColor(0, 128, 0));
    Frame1->setPalette(green);
    terrauser = cardPlace(Frame1, QStringLiteral("terrauser"), layout::terrauser);
    terrapc = cardPlace(Frame1, QStringLiteral("terrapc"), layout::terrapc);
    Label1 = tableLabel(Frame1, "Label1", testi::EtichettaUtente, layout::Label1);
    Label2 = tableLabel(Frame1, "Label2", testi::EtichettaPc, layout::Label2);
    Label4 = tableLabel(Frame1, "Label4", testi::EtichettaBriscola, layout::Label4);

    // Created after Frame1 so that it lies in front of the table.
    cartabriscola = cardPlace(client, QStringLiteral("cartabriscola"), layout::cartabriscola);

    giocatautente = new FramedButton(QString::fromUtf8(testi::Gioca), client);
    giocatautente->setObjectName(QStringLiteral("giocatautente"));
    giocatautente->setGeometry(layout::pixels(layout::giocatautente));
    giocatautente->setFont(fontFinestra(true));
    connect(giocatautente, &QPushButton::clicked, this, &MainWindow::giocatautente_Click);

    // The markers come before the user's cards, so the cards cover all of
    // them but the frame.
    for (std::size_t k = 0; k < Shape2.size(); ++k) {
        Shape2[k] = new Outline(client, layout::pixels(layout::Shape2[k]));
        Shape2[k]->setObjectName(indexed("Shape2", k));
    }
    for (std::size_t k = 0; k < user.size(); ++k) {
        user[k] = cardPlace(client, indexed("user", k), layout::user[k]);
        const auto choose = [this, k] { user_Click(static_cast<int>(k)); };
        connect(user[k], &CardPlace::clicked, this, choose);
        // The keyboard goes through the hand card by card, and the card it
        // reaches is the one chosen: the framed card is the one Enter plays.
        // A click on a card does not take the keyboard from a button.
        user[k]->setFocusPolicy(Qt::TabFocus);
        connect(user[k], &CardPlace::reachedByTab, this, choose);
    }

    Command2 = donationButton(client, "Command2", layout::Command2);
    connect(Command1, &QPushButton::clicked, this, &MainWindow::ApriDonazione);
    connect(Command2, &QPushButton::clicked, this, &MainWindow::ApriDonazione);

    StatusBar1 = new QLabel(client);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(layout::pixels(layout::StatusBar1));
    StatusBar1->setFont(fontFinestra(true));
    StatusBar1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusBar1->setIndent(2);

    // Tab goes from the hand to "Gioca", then to the donation buttons at the
    // top and the bottom; the game starts with the keyboard on the hand.
    const std::array<QWidget*, 6> order{user[0],       user[1],  user[2],
                                        giocatautente, Command1, Command2};
    for (std::size_t k = 1; k < order.size(); ++k) {
        QWidget::setTabOrder(order[k - 1], order[k]);
    }
    user[0]->setFocus();
}

void MainWindow::buildMenus() {
    // Access keys only: none of the entries has a shortcut.
    file = menuBar()->addMenu(QString::fromUtf8(testi::MenuFile));
    file->setObjectName(QStringLiteral("file"));
    newpart = file->addAction(QString::fromUtf8(testi::VoceNuovaPartita), this,
                              &MainWindow::newpart_Click);
    newpart->setObjectName(QStringLiteral("newpart"));
    esci = file->addAction(QString::fromUtf8(testi::VoceEsci), this, &MainWindow::esci_Click);
    esci->setObjectName(QStringLiteral("esci"));

    helpami = menuBar()->addMenu(QString::fromUtf8(testi::MenuAiuto));
    helpami->setObjectName(QStringLiteral("helpami"));
    Info = helpami->addAction(QString::fromUtf8(testi::VoceInformazioni), this,
                              &MainWindow::Info_Click);
    Info->setObjectName(QStringLiteral("Info"));
    cmdDonazione = helpami->addAction(QString::fromUtf8(testi::VoceDonazione), this,
                                      &MainWindow::ApriDonazione);
    cmdDonazione->setObjectName(QStringLiteral("cmdDonazione"));
}

void MainWindow::buildKeyboard() {
    // Keys that do what a click on a card of the hand does.
    const auto shortcut = [this](const QKeySequence& keys, auto action) {
        auto* s = new QShortcut(keys, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, action);
    };
    shortcut(QKeySequence(Qt::Key_Left), [this] { moveSelection(-1); });
    shortcut(QKeySequence(Qt::Key_Right), [this] { moveSelection(+1); });
    shortcut(QKeySequence(Qt::Key_1), [this] { selectIfShown(0); });
    shortcut(QKeySequence(Qt::Key_2), [this] { selectIfShown(1); });
    shortcut(QKeySequence(Qt::Key_3), [this] { selectIfShown(2); });
}

void MainWindow::watchActivation() {
    // The window counts as activated when it is first shown and when the
    // focus comes back to it from another window of this program, such as a
    // message box; coming back from another program does not count.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](const QWindow* focus) {
        const bool ours = focus != nullptr && focus == windowHandle();
        const bool activate = ours && (!activatedBefore_ || programHadFocus_);
        programHadFocus_ = focus != nullptr;
        if (activate) {
            activatedBefore_ = true;
            Form_Activate();
        }
    });
}

// Every event reaches the game the same way: not once the window is closing,
// and followed by a redraw and, if the game asks, the close.
template <typename Event> void MainWindow::forward(Event event) {
    if (closing_) {
        return;
    }
    event();
    afterEvent();
}

void MainWindow::Form_Load() {
    forward([this] { briscola_.Form_Load(); });
}

void MainWindow::Form_Activate() {
    forward([this] { briscola_.Form_Activate(); });
}

void MainWindow::user_Click(int Index) {
    forward([this, Index] { briscola_.user_Click(Index); });
}

void MainWindow::giocatautente_Click() {
    forward([this] { briscola_.giocatautente_Click(); });
}

void MainWindow::newpart_Click() {
    forward([this] { briscola_.newpart_Click(); });
}

void MainWindow::esci_Click() {
    forward([this] { briscola_.esci_Click(); });
}

void MainWindow::Info_Click() {
    forward([this] { briscola_.Info_Click(); });
}

void MainWindow::ApriDonazione() {
    forward([this] {
        // The owner is the native window id, cut to the 32 bits the shell takes.
        const auto owner = static_cast<std::int32_t>(static_cast<std::uint32_t>(winId()));
        trivanta::ApriDonazione(*boxes_, *platform_, owner);
    });
}

void MainWindow::afterEvent() {
    Disegna();
    if (briscola_.ChiusuraRichiesta() && !closing_) {
        unloadCards();
        close();
    }
}

void MainWindow::Disegna() {
    const Tavolo& t = briscola_.tavolo();
    // The keyboard belongs to the hand when it is on a card, or on "Gioca"
    // only because the hand was empty.
    const QWidget* focus = focusWidget();
    const bool keyboardOnHand = std::find(user.begin(), user.end(), focus) != user.end() ||
                                (parkedOnGioca_ && focus == giocatautente);
    Cards& cards = store();
    // The names and descriptions are the game's, as every view says them.
    const TavoloAccessibile a = DescriviTavolo(t);
    const auto render = [&cards](CardPlace* place, const Posto& posto, const Accessibile& nome) {
        place->setPicture(posto.immagine, cards.picture(posto.immagine), &cards);
        place->setVisible(posto.visibile);
        nameIfChanged(place, QString::fromStdString(nome.nome));
        descriptionIfChanged(place, QString::fromStdString(nome.descrizione));
    };
    for (std::size_t k = 0; k < 3; ++k) {
        render(pc[k], t.pc[k], a.pc[k]);
        render(user[k], t.user[k], a.user[k]);
        Shape2[k]->setVisible(t.Shape2[k]);
    }
    render(terrauser, t.terrauser, a.terrauser);
    render(terrapc, t.terrapc, a.terrapc);
    render(cartabriscola, t.cartabriscola, a.cartabriscola);
    StatusBar1->setText(QString::fromStdString(t.StatusBar1));
    // A screen reader reads the counts in the bar's name, and hears each new count.
    nameIfChanged(StatusBar1, QString::fromStdString(a.StatusBar1.nome));
    parkedOnGioca_ = false;
    if (keyboardOnHand) {
        keyboardToSelectedCard();
    }
}

void MainWindow::keyboardToSelectedCard() {
    // The keyboard stays on the chosen card as the hand is sorted again,
    // shrinks and is refilled; with no card in the hand it waits on "Gioca"
    // and comes back with the next deal.
    const Tavolo& t = briscola_.tavolo();
    QWidget* target = giocatautente;
    for (std::size_t k = 0; k < user.size(); ++k) {
        if (t.Shape2[k] && t.user[k].visibile) {
            target = user[k];
            break;
        }
    }
    parkedOnGioca_ = target == giocatautente;
    if (focusWidget() != target) {
        target->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::moveSelection(int step) {
    selectIfShown(briscola_.stato().currentindex + step);
}

void MainWindow::selectIfShown(int Index) {
    if (Index >= 0 && Index < static_cast<int>(user.size()) &&
        !user[static_cast<std::size_t>(Index)]->isHidden()) {
        user_Click(Index);
    }
}

void MainWindow::showEvent(QShowEvent* event) {
    // Centred once, when the frame around the window is known.
    if (!centred_ && !event->spontaneous()) {
        centred_ = true;
        if (const QScreen* display = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(display->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QMainWindow::showEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void MainWindow::Form_Unload() {
    // Whatever closes the window, the picture store goes with it and nothing
    // is asked.
    closing_ = true;
    unloadCards();
}

Cards& MainWindow::store() {
    if (cards_ == nullptr) {
        cards_ = new Cards(this);
    }
    return *cards_;
}

void MainWindow::unloadCards() {
    delete cards_;
    cards_ = nullptr;
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        // A focused button takes Enter as its own click; otherwise Enter and
        // Space play the selected card.
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button != nullptr && key != Qt::Key_Space) {
            button->click();
        } else {
            giocatautente->click();
        }
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace trivanta
