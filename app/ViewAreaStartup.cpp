// The window's construction: the whole program brought into its start state, in the order
// the game relies on (the settings are read after the start values and before the map is
// built; the screen class is fitted once before and once after the settings). What it finds
// wrong with a data file is told once the event loop runs: a box shown here would run the loop,
// and the game timer would start the demo in a window half built.

#include "app/ViewArea.h"

#include "app/AppReset.h"
#include "app/DialogState.h"
#include "app/NetworkState.h"
#include "app/OnlineManagers.h"
#include "app/ScreenSize.h"
#include "app/WindowInteraction.h"
#include "app/WindowState.h"
#include "ai/AiState.h"
#include "persist/DataFolder.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "persist/WholeFile.h"
#include "persist/SharedGlobals.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapLoading.h"
#include "state/MapView.h"
#include "state/Seams.h"
#include "state/StateReset.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QDir>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

constexpr int kStartTimerInterval = 288;

} // namespace

ViewArea::ViewArea(QWidget *parent) : QMainWindow(parent)
{
    installWindowInteraction(this);
    setAttribute(Qt::WA_StaticContents, true);
    startGameTimer(kStartTimerInterval);
    resetEverySubsystem();

    setScreenAndMenuStartValues();
    setGameOptionStartValues();
    setTurnAndTableStartValues();
    takeDataFolderFromWorkingFolder();
    removeLeftoverCopies(dataDirPath);
    mapFilePath = QDir(dataDirPath).filePath(QStringLiteral("*.txt"));
    lastSaveFileName = QDir(dataDirPath).filePath(QStringLiteral("*.TrvGX"));
    displaySizeClass = displaySizeClassForScreen(screenWidth, screenHeight);

    displayOptionA = 1;
    loadSettings();
    displayOptionB = displayOptionA;
    fitDisplaySizeClassToScreen();

    buildSelectedMap();
    resetStepQueueRecords();
    statusText = QStringLiteral(" ");
    readScoresFile();
    mapPaintState = QStringLiteral("0");

    createNetworkObjects();
    playTimeStamp = interaction().now();
    playTimeSeconds = 0;

    grabGesture(Qt::PinchGesture);
    QPalette black = palette();
    black.setBrush(QPalette::Window, QBrush(Qt::black));
    setPalette(black);
    setAutoFillBackground(true);

    installArmyCountQuestion();
    windowBuilt();
}

void ViewArea::resetEverySubsystem()
{
    // Every folder first gives its globals their own start values; the window's start differs
    // from a plain reset in a few values only, which the steps below set.
    resetStateSubsystem();
    resetTurnState();
    resetAiState();
    resetSettingsState();
    resetScoresState();
    resetSharedGlobals();
    resetMapView();
    resetAppState();
}

void ViewArea::setScreenAndMenuStartValues()
{
    applyScreenInfo(measureScreen());
    statusLine = QString(46, QLatin1Char(' '));
    windowTitleText = QString(46, QLatin1Char(' '));
    demoRunning = 1;
}

void ViewArea::setGameOptionStartValues()
{
    playerCount = 3;
    humanPlayerCount = 1;
    currentPlayer = 0;
    gameMode = ModeSinglePlayer;
    difficulty = 1;
    randomMixPersonalities = 0;
    savesUsed = 0;
    selectMap(MapWorld);
    setBuiltinMapParameters();
}

void ViewArea::setTurnAndTableStartValues()
{
    turnStarted = 1;
    placementRound = 0;
    lossCount = 0;
    gameOver = 0;
    nextArmyDelta = 0;
    exitReason = 0;
    playerTableAtTurnStart = playerTable;
    for (int t = 1; t <= territoryCount; ++t) {
        territoryChanged[t] = 'n';
        displayedTerritoryState[t] = territoryState[t];
    }
}

void ViewArea::buildSelectedMap()
{
    // The settings carry no map: the World map stays selected, whatever the file holds.
    if (mapCustomFlag)
        resetGameCounters();
    else
        loadSelectedBuiltinMap();
    clearTurnPhases();
    playerTableAtTurnStart = playerTable;
}

void ViewArea::createNetworkObjects()
{
    gamePort = kDefaultGamePort;
    tcpServer = new QTcpServer(this);
    clientSocket1 = new QTcpSocket(this);
    clientSocket2 = new QTcpSocket(this);
    clientSocket3 = new QTcpSocket(this);
    clientSocket4 = new QTcpSocket(this);
    connect(clientSocket1, SIGNAL(readyRead()), this, SLOT(OnReceive1()));
    connect(clientSocket2, SIGNAL(readyRead()), this, SLOT(OnReceive2()));
    connect(clientSocket3, SIGNAL(readyRead()), this, SLOT(OnReceive3()));
    connect(clientSocket4, SIGNAL(readyRead()), this, SLOT(OnReceive4()));
    armOnlineManagers(this);
}
