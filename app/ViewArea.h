#pragma once
// The one main window of the game: it owns the game timer and the member dialogs answered
// through its slots, creates the sockets (the network managers when first used, the file
// dialogs each time one is asked), and takes every event. Its member definitions are spread
// over one source per concern.

#include <QBasicTimer>
#include <QMainWindow>
#include <QStringList>

#include <array>

class QComboBox;
class QDialog;
class QGestureEvent;
class QLabel;
class QLineEdit;
class QNetworkReply;
class QPinchGesture;
class QPushButton;
class QTcpSocket;
class QVBoxLayout;
class QHBoxLayout;

class ViewArea : public QMainWindow {
    Q_OBJECT
public:
    explicit ViewArea(QWidget *parent = nullptr);
    ~ViewArea() override;

    // One tick of the game loop; timerEvent only forwards here.
    void gameTick();

    // Game speed and display options.
    void restartGameTimer();
    // The timer at the network pace, `fastSpeed` forced (the settings keep the player's speed).
    void runAtNetworkPace();
    // The game that forced the pace or the animations is over: the player's own are in use.
    void returnToChosenOptions();
    void setGameSpeed512();
    void setGameSpeed384();
    void setGameSpeed288();
    void setGameSpeed224();
    void setGameSpeedFast();
    void setGameSpeedFastest();
    void setOptionOn();
    void setOptionOff();
    // The interval the game timer runs at now, in milliseconds (0 when stopped).
    int gameTimerInterval() const { return gameTimer.isActive() ? gameTimerIntervalMs : 0; }

    // Rebuilds `windowTitleText` from the game globals and repaints.
    void updateWindowTitle();

    // Appends the game-state snapshot to `outMessage` (the network protocol fills it in).
    void writeStateSnapshot();
    // The farewell of a network game by `exitReason` (1019 from the host, 1020 from a client),
    // flushed, then every connection closed (ViewAreaShutdown.cpp).
    void sendFarewell();

    // Gestures: the pinch zoom.
    bool gestureEvent(QGestureEvent *event);
    void handlePinchGesture(QPinchGesture *gesture);

    // ---- Entry points of the start menu, the dialogs, saved games and network play; each is
    // defined in the folder of the work that owns it.
    void resetGameDefaults();                      // setup/ResetDefaults.cpp
    void setupNewGame();                           // setup/
    void showAiNamesDialog();                      // setup/
    void hostingSettingsDialog();                  // setup/ (network hosting)
    void startNewGame();                           // net/: Launch on the host-waiting screen
    void loadSavedGame();                          // dialogs/ (saved games)
    void saveGameDialog();                         // dialogs/ (saved games)
    void chooseScoresView();                       // dialogs/ (scores)
    void showRankDialog();                         // dialogs/ (rank)
    void showAboutDialog();                        // dialogs/
    void showAnimationSettingsDialog();            // dialogs/
    void showSoundSettings();                      // dialogs/
    void showPersonalities();                      // dialogs/
    void showStatisticsDialog();                   // dialogs/
    void showCardsDialog();                        // dialogs/
    void showContinentBonusDialog();               // dialogs/
    void showTopFiveDialog();                      // dialogs/
    void showArmyCountDialog(int mode, int limit); // dialogs/ArmyCountDialog.cpp
    void showCardTradeDialog();                    // dialogs/CardDialogs.cpp
    void showCardTradeBonus();                     // dialogs/CardDialogs.cpp
    // A click on the game screen that hit no button: the map click of the current phase,
    // at `clickX`, `clickY` (app/MapClicks.cpp).
    void handleMapClick();

public slots:
    void OnAccept();
    void OnReceive();
    void OnReceive1();
    void OnReceive2();
    void OnReceive3();
    void OnReceive4();
    void soundsettFinished();
    void persondlgFinished();
    void hostingsettFinished();
    void persresetten();
    void persinfo();
    void whatismyip();
    void portforward();
    void ainameresdef();
    void ainamen();
    void ainamen2();
    void ainamerej();
    void mvwebsite();
    void gzendstr();
    void finishedSlot(QNetworkReply *reply);
    void finishedSlotT5(QNetworkReply *reply);
    void uploadDone();
    void uploadDoneT5();
    void mplaykeuze1();
    void mplaykeuze2();
    void mplaykeuze3();
    void mplaykeuze4();
    void mplaykeuze5();
    void mplaykeuze6();
    void mplaykeuze7();
    void mplaykeuze8();
    void mplaykeuze9();
    void mplaykeuze10();
    void mplaykeuze11();
    void opties1info();
    void opties1info1();
    void opties1info2();
    void opties1info3();
    void missioninfo1();
    void mplayinfo1();
    void mplayrefresh();
    void modaaluit();
    void legerdlg0();
    void legerdlg1();
    void legerdlg2();
    void legerdlg3();
    void legerdlg4();
    void legerdlg5();
    void legerdlg6();
    void legerdlg7();
    void legerdlg8();
    void legerdlg9();
    void kaartidlg1();
    void kaartidlg2();
    void kaartidlg3();
    void kaartidlg4();
    void kaartidlg5();
    void kaartidlg6();
    void kaartidlg0();
    void legersokdlg();

protected:
    bool event(QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

public:
    // Members, in the order the window creates them.
    qint32 clickX = 0; // last click or hover position, the map offset taken off
    qint32 clickY = 0;
    QBasicTimer gameTimer;

    QDialog *armyCountDialog = nullptr;
    QVBoxLayout *armyCountLayout = nullptr;
    std::array<QPushButton *, 10> armyCountButton{}; // 1..9; texts set when shown
    QPushButton *armyCountCancelButton = nullptr;

    QDialog *armyComboDialog = nullptr;
    QStringList armyComboItems;
    QComboBox *armyCombo = nullptr;
    QVBoxLayout *armyComboLayout = nullptr;
    QPushButton *armyComboOkButton = nullptr;

    QDialog *aiNamesDialog = nullptr;
    QVBoxLayout *aiNamesLayout = nullptr;
    QHBoxLayout *aiNamesButtonLayout = nullptr;
    QPushButton *aiNamesOkButton = nullptr;
    QPushButton *aiNamesCancelButton = nullptr;
    QPushButton *aiNamesDefaultsButton = nullptr;
    std::array<QLineEdit *, 11> aiNameEdit{}; // 1..10

    QDialog *cardDialog = nullptr;
    QVBoxLayout *cardLayout = nullptr;
    std::array<QPushButton *, 7> cardSetButton{}; // 1..6
    QPushButton *cardCancelButton = nullptr;

    QDialog *cardTradeNotice = nullptr;
    QVBoxLayout *cardTradeLayout = nullptr;
    QHBoxLayout *cardTradeCardsLayout = nullptr;
    std::array<QLabel *, 8> cardTradeLabel{}; // 1..7

private:
    // Start-up, in the order the constructor runs it (ViewAreaStartup.cpp).
    void resetEverySubsystem();
    void setScreenAndMenuStartValues();
    void setGameOptionStartValues();
    void setTurnAndTableStartValues();
    void buildSelectedMap();
    void createNetworkObjects();
    // The member dialogs, each built the first time it is shown (ViewAreaDialogs.cpp).
    void buildArmyCountDialog();
    void buildArmyComboDialog();
    void buildAiNamesDialog();
    void buildCardDialog();
    void buildCardTradeNotice();
    void deleteMemberDialogs();

    // Speed entries share one body (SpeedOptions.cpp).
    void startGameTimer(int milliseconds);
    bool refuseSpeedChangeInNetworkGame();
    void chooseGameSpeed(int milliseconds, quint8 flag288, quint8 flag224, quint8 flag160,
                         quint8 flag96, quint8 fast);
    void setDisplayOption(quint8 on);

    void onReceiveFrom(int socketIndex);

    // Game loop (GameLoop*.cpp).
public:
    // The step at the index of its queue, played once.
    void playActionStep();
    void playMessageStep();
    // The code and the state snapshot: to every client (the host), the host's mirror of an
    // action step, and a client's message to the host.
    void broadcastToClients(int code);
    void mirrorToClients(int code);
    void sendToHost(int code);
    // The end of a game: message step 8 (won at this machine) or action step 9.
    void playEndOfGame(bool wonHere);
    // Sets up and starts a new demonstration game.
    void startDemoGame();
    // Runs the game timer at a sprite animation's frame time.
    void runGameTimerAt(int milliseconds);

private:
    void runTickStages();
    bool tickInProgress = false;

    // Map clicks and the army-count and card dialogs (MapClicks.cpp, dialogs/ArmyCountDialog.cpp).
public:
    // Makes the game loop's army-count question (the armies to move into a conquest) open this
    // window's dialog; the constructor calls it.
    void installArmyCountQuestion();

private:
    int gameTimerIntervalMs = 0;
};
