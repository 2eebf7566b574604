#pragma once

#include "Briscola.h"

#include <QMainWindow>
#include <array>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace trivanta {

class BrowserPlatform;
class CardPlace;
class Cards;
class Outline;

// The game window `main`. It forwards every event to the game, renders the
// table value that the game keeps, and closes when the game asks it to.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    // Null arguments stand for the real message boxes, random generator and
    // browser platform, and for the computer that plays at random; tests and
    // the command line pass their own. An opponent other than the random one
    // is named in the title.
    explicit MainWindow(MessageBoxes* boxes = nullptr, Random* random = nullptr,
                        BrowserPlatform* platform = nullptr, Avversario* avversario = nullptr);
    ~MainWindow() override;

    Briscola& briscola() { return briscola_; }

    // Events of the window and its controls.
    void Form_Load();
    void Form_Activate();
    void user_Click(int Index);
    void giocatautente_Click();
    void newpart_Click();
    void esci_Click();
    void Info_Click();
    // The one procedure behind the three donation controls.
    void ApriDonazione();

    // Brings every control in line with the game's table value.
    void Disegna();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Unload();
    void buildControls(QWidget* client);
    void buildMenus();
    void buildKeyboard();
    template <typename Event> void forward(Event event);
    void afterEvent();
    void moveSelection(int step);
    void selectIfShown(int Index);
    void keyboardToSelectedCard();
    void watchActivation();
    // The picture store, created when a picture is first read.
    Cards& store();
    void unloadCards();

    std::unique_ptr<MessageBoxes> ownBoxes_;
    std::unique_ptr<Random> ownRandom_;
    std::unique_ptr<BrowserPlatform> ownPlatform_;
    MessageBoxes* boxes_;
    Random* random_;
    BrowserPlatform* platform_;
    Briscola briscola_;
    Cards* cards_ = nullptr; // a child of the window while it exists
    bool closing_ = false;
    bool centred_ = false;
    bool activatedBefore_ = false;
    bool programHadFocus_ = false;
    bool parkedOnGioca_ = false; // the keyboard waits there for the next hand

    // Controls, in the order of the layout from top to bottom; later ones lie
    // in front of earlier ones.
    QPushButton* Command1 = nullptr;
    std::array<CardPlace*, 3> pc{};
    QWidget* Frame1 = nullptr;
    CardPlace* terrauser = nullptr;
    CardPlace* terrapc = nullptr;
    CardPlace* cartabriscola = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QPushButton* giocatautente = nullptr;
    std::array<Outline*, 3> Shape2{};
    std::array<CardPlace*, 3> user{};
    QPushButton* Command2 = nullptr;
    QLabel* StatusBar1 = nullptr;

    QMenu* file = nullptr;
    QAction* newpart = nullptr;
    QAction* esci = nullptr;
    QMenu* helpami = nullptr;
    QAction* Info = nullptr;
    QAction* cmdDonazione = nullptr;
};

} // namespace trivanta
