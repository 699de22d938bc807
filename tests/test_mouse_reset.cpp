// The reset to the default options after a game that changed everything it names, the
// personalities it takes from the settings, the queues and the World map it rebuilds, the
// dialogs it closes, the return to the start state when Cancel stops a demonstration, and the
// question that closes the program for a display setting.

#include "TestSupport.h"

#include "ai/AiState.h"
#include "app/DialogState.h"
#include "app/GameLoop.h"
#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "app/ScreenSize.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "persist/SavedGame.h"
#include "persist/Settings.h"
#include "rules/GameStart.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "setup/ResetDefaults.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapLoading.h"
#include "state/SpriteQueue.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QDialog>

#include <functional>
#include <memory>

namespace {

using Check = std::function<bool()>;

template <class Table, class Value>
bool allOf(const Table &table, int first, int last, const Value &value)
{
    for (int i = first; i <= last; ++i)
        if (!(table[i] == value))
            return false;
    return true;
}

bool onlyWorldSelected()
{
    for (int f = 0; f < MapFlagCount; ++f)
        if (builtinMapFlags[f] != (f == MapWorld ? 1 : 0))
            return false;
    return true;
}

bool noPhaseSet()
{
    return !(strongholdPhase || initialPlacementPhase || territoryBonusPhase || continentBonusPhase || cardBonusPhase
             || attackTargetPhase || attackSourcePhase || moveTargetPhase || moveSourcePhase);
}

// A network campaign game on Europe well under way, with every option and mark the reset names
// away from its default.
void playSomeGame()
{
    selectMap(MapEurope);
    loadSelectedBuiltinMap();
    neutralArmyActive = topFiveGame = rankGame = internetGame = 1;
    rankAtGameStart = 4;
    rankFlagAtGameStart = 1;
    settingsReloadPending = saveHotseatNamesFlag = saveHighScoreNameFlag = partialSaveFlag = 1;
    spriteAnimationActive = tradeNoticeShown = 1;
    troopExperience.fill(160);
    for (auto &row : troopExperienceShown)
        row.fill(130);
    cardSetValue = 35;
    attackMissiles[7] = defenceMissiles[8] = 2;
    displayedAttackMissiles[200] = displayedDefenceMissiles[9] = 1;
    territoryChanged.fill('j');
    currentPlayer = 4;
    lossCount = 12;
    gameMode = ModeHost;
    campaignId = CampaignWestPacific;
    campaignMapCount = 5;
    campaignMapIndex = 3;
    campaignEnded = campaignCompleted = 1;
    difficulty = 0;
    avengeTarget.fill(2);
    personalitySetting.fill(6);
    attackRule = 'j';
    aiMinAttackArmies = 3;
    humanPlayerCount = 2;
    playerCount = 6;
    turnsTaken.fill(9);
    gameOver = attackMadeThisTurn = noWinner = 1;
    placementRound = 3;
    mapName = QStringLiteral("Europe");
    strongholdPhase = initialPlacementPhase = territoryBonusPhase = continentBonusPhase = cardBonusPhase = 1;
    attackTargetPhase = attackSourcePhase = moveTargetPhase = moveSourcePhase = 1;
    selectOwnTerritory = 1;
    highlightedContinent = 3;
    turnStarted = 0;
    for (PlayerRecord &record : playerTable) {
        record.infantry() = 3;
        record.battleLosses() = 7;
    }
    cardDeckCounts = {0, 4, 5, 6};
    pairs10[3] = {2, 40};
    strongholdsEnabled = troopExperienceEnabled = 1;
    missionType = 3;
    missionContinentIndex = 4;
    missionFailed = moveBlocked = 1;
    escortTarget = 5;
    saveAllowed = 1;
    inGameButtonEnabled.fill(1);
    hostAddressText = QStringLiteral("10.1.1.1");
    lobbyOpen = 1;
    networkSeat = 1;
    humanSeatCount = 3;
    clientCount = 2;
    msgTerritory = msgArmies = msgOwner = msgFlag = 6;
    cardTradeValues.fill(3);
    mapLoadOutsideSetup = 0;
    mapLoadSucceeded = 1;
    gameListSlot = 3;
    playTimeSeconds = 900;
    spriteAnimationDone = 0;
    gameLoaded = gameSaved = 1;
    resolveUnstableOnLoad = 0;
    resumedGameMark = 'j';
    useStoredMapPath = 'j';
    localGameRunning = 1;
    recordedOptionFlag = 1;
    awaitedAckCode = 1007;
    pendingAttackCount = 1;
    for (int i = 1; i <= 5; ++i)
        pushActionStep(makeStep(1, i));
    pushMessageStep(makeStep(19, 3));
    statusText = QStringLiteral("Attack from ?");
    displayedTerritoryState[1] = {9, 99};
    mapPaintState = QStringLiteral("1");
}

} // namespace

Q_DECLARE_METATYPE(Check)

class TestMouseReset : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;
    void (*originalQuit)() = nullptr;
    std::unique_ptr<ViewArea> window;
    MapTables worldTables;

    void makeWindow()
    {
        window = std::make_unique<ViewArea>();
        setInteraction(&ui);
        demoRunning = 0;
    }

    static int quitRequests;
    static int chatCloses;
    static int chatMinimises;

private slots:
    void initTestCase()
    {
        originalQuit = quitEventLoop;
        resetAllGameState();
        selectMap(MapWorld);
        loadSelectedBuiltinMap();
        worldTables = mapTables;
    }

    void init()
    {
        resetAllGameState();
        resetMouseInputState();
        ui = ScriptedInteraction();
        setInteraction(&ui);
        QFile::remove(settingsFileName());
        quitRequests = chatCloses = chatMinimises = 0;
        quitEventLoop = [] { ++quitRequests; };
        chatDialogCloser = [] { ++chatCloses; };
        chatDialogMinimiser = [] { ++chatMinimises; };
        makeWindow();
    }

    void cleanup()
    {
        window.reset();
        setInteraction(nullptr);
        quitEventLoop = originalQuit;
        chatDialogCloser = nullptr;
        chatDialogMinimiser = nullptr;
    }

    void resetRestoresEveryDefault_data()
    {
        QTest::addColumn<Check>("isDefault");
        const auto row = [](const char *name, Check check) { QTest::newRow(name) << check; };
        row("single player", [] { return gameMode == ModeSinglePlayer && difficulty == 1 && localGameRunning == 0; });
        row("no special game", [] {
            return !neutralArmyActive && !topFiveGame && !rankGame && !internetGame && rankAtGameStart == 99
                && rankFlagAtGameStart == 99;
        });
        row("no campaign", [] {
            return campaignId == NoCampaign && campaignMapCount == 1 && campaignMapIndex == 1 && !campaignEnded
                && !campaignCompleted;
        });
        row("no one-shot request", [] {
            return !settingsReloadPending && !saveHotseatNamesFlag && !saveHighScoreNameFlag && !partialSaveFlag;
        });
        row("dice-like without options", [] {
            return attackRule == 'n' && aiMinAttackArmies == 2 && !strongholdsEnabled && !troopExperienceEnabled
                && !recordedOptionFlag;
        });
        row("Conquer All", [] {
            return missionType == 0 && missionContinentIndex == 1 && !missionFailed && escortTarget == 0;
        });
        row("three players, one human", [] {
            return playerCount == 3 && humanPlayerCount == 1 && currentPlayer == 0 && lossCount == 0;
        });
        row("players fresh", [] {
            return allOf(troopExperience, 1, 10, 100) && allOf(turnsTaken, 1, 10, 0) && allOf(avengeTarget, 1, 10, 0)
                && allOf(personalitySetting, 1, 10, 0);
        });
        row("experience shown at 100", [] {
            for (int p = 1; p <= kMaxPlayers; ++p)
                if (!allOf(troopExperienceShown[p], 1, 10, 100))
                    return false;
            return true;
        });
        row("no card or loss carried over", [] {
            for (int p = 1; p <= kMaxPlayers; ++p)
                if (playerTable[p].cardCount() != 0 || playerTable[p].battleLosses() != 0)
                    return false;
            return playerTableAtTurnStart[4].cardCount() == 0;
        });
        row("turn-start copy", [] {
            for (int p = 1; p <= kMaxPlayers; ++p)
                if (playerTableAtTurnStart[p].f != playerTable[p].f)
                    return false;
            return true;
        });
        row("no pair remembered", [] { return pairs10[3].id == 0 && pairs10[3].value == 0; });
        row("full deck, set value 11", [] {
            return cardDeckCounts[CardArtillery] == 17 && cardDeckCounts[CardInfantry] == 17
                && cardDeckCounts[CardCavalry] == 17 && cardDeckCounts[CardWild] == 2 && cardSetValue == 11;
        });
        row("World the only map", [] { return onlyWorldSelected() && territoryCount == 42; });
        row("the map shown as it was built", [] { return displayedTerritoryState == territoryState; });
        row("a first paint to come", [] { return mapPaintState == QLatin1String("0"); });
        row("no territory marked", [] {
            return allOf(territoryChanged, 1, 200, 'n') && allOf(attackMissiles, 1, 200, 0)
                && allOf(defenceMissiles, 1, 200, 0) && allOf(displayedAttackMissiles, 1, 200, 0)
                && allOf(displayedDefenceMissiles, 1, 200, 0) && highlightedContinent == 0;
        });
        row("no phase, turn begun", [] {
            return noPhaseSet() && turnStarted == 1 && !gameOver && !attackMadeThisTurn && placementRound == 0
                && !noWinner && !moveBlocked && pendingAttackCount == 0;
        });
        row("buttons off, no saving", [] { return allOf(inGameButtonEnabled, 1, 6, 0) && !saveAllowed; });
        row("queues empty", [] {
            return actionQueueCount == 0 && actionQueueIndex == 0 && messageQueueCount == 0 && messageQueueIndex == 0;
        });
        row("status text blank", [] { return statusText == QLatin1String(" "); });
        row("saved-game marks", [] {
            return !gameLoaded && !gameSaved && resolveUnstableOnLoad == 1 && resumedGameMark == 'n'
                && useStoredMapPath == 'n' && mapLoadOutsideSetup == 1 && mapLoadSucceeded == 0;
        });
        row("no network game", [] {
            return networkSeat == 0 && clientCount == 0 && humanSeatCount == 0 && lobbyOpen == 0 && awaitedAckCode == 0
                && gameListSlot == 99 && hostAddressText == QLatin1String(" ");
        });
        row("no message values", [] {
            return msgTerritory == 0 && msgArmies == 0 && msgOwner == 0 && msgFlag == 0
                && allOf(cardTradeValues, 1, 6, 0);
        });
        row("play time from now", [] {
            const QDateTime now = interaction().now();
            return playTimeStamp == now && gameStartTime == now && playTimeSeconds == 0;
        });
        row("no animation, no notice", [] {
            return !spriteAnimationActive && spriteAnimationDone == 1 && !tradeNoticeShown;
        });
    }

    void resetRestoresEveryDefault()
    {
        QFETCH(Check, isDefault);
        playSomeGame();
        QVERIFY(!isDefault());
        window->resetGameDefaults();
        QVERIFY(isDefault());
    }

    void theOwnTerritoryChoiceStays()
    {
        for (quint8 choice : {quint8(1), quint8(0)}) {
            selectOwnTerritory = choice;
            window->resetGameDefaults();
            QCOMPARE(selectOwnTerritory, choice);
        }
    }

    void personalitiesComeFromTheSettingsNotTheFile()
    {
        // The file holds Normal players; the settings read at start-up hold the player's choice.
        QVERIFY(saveSettings());
        for (int p = 1; p <= kMaxPlayers; ++p)
            settingsRecord.personalities[p] = (p + 2) % 6;
        settingsRecord.randomMixPersonalities = 1;
        personality.fill(0);
        window->resetGameDefaults();
        for (int p = 1; p <= kMaxPlayers; ++p)
            QCOMPARE(personality[p], (p + 2) % 6);
        QCOMPARE(randomMixPersonalities, quint8(1));
    }

    void queueRecordsAreClearedToThePlaceholder()
    {
        for (QueueStep &step : actionQueue)
            step = makeStep(5, 1, 2, 3, 4, 5, 6, QStringLiteral("old"));
        for (QueueStep &step : messageQueue)
            step = makeStep(19, 1, 2, 3, 4, 5, 6, QStringLiteral("old"));
        window->resetGameDefaults();
        QCOMPARE(kClearedStepText.size(), 100);
        QVERIFY(kClearedStepText.startsWith(QLatin1String("01234567890123")));
        const auto cleared = [](const QueueStep &step) {
            return step.type == 0 && step.arg == std::array<qint32, 7>{} && step.text == kClearedStepText;
        };
        for (int i = 0; i <= kMessageQueueCapacity; ++i)
            QVERIFY2(cleared(messageQueue[i]), qPrintable(QString::number(i)));
        for (int i = 0; i <= kActionRecordsCleared; ++i)
            QVERIFY2(cleared(actionQueue[i]), qPrintable(QString::number(i)));
        QCOMPARE(actionQueue[kActionRecordsCleared + 1].text, QStringLiteral("old"));
    }

    void theWorldMapIsBuiltAgain()
    {
        selectMap(MapNorthAmerica);
        loadSelectedBuiltinMap();
        QVERIFY(territoryCount != 42);
        window->resetGameDefaults();
        QCOMPARE(territoryCount, worldTables.territoryCount);
        QCOMPARE(continentCount, worldTables.continentCount);
        QVERIFY(territoryNeighbours == worldTables.territoryNeighbours);
        for (int t = 1; t <= territoryCount; ++t)
            QCOMPARE(territoryState[t].armies, 1);
    }

    void openDialogsAreClosed()
    {
        window->cardTradeNotice->show();
        tradeNoticeShown = 1;
        window->armyCountDialog->show();
        dialogOpen = armyCountDialogOpen = 1;
        pendingAttackCount = 1;
        window->resetGameDefaults();
        QCOMPARE(chatCloses, 1);
        QVERIFY(!window->cardTradeNotice->isVisible());
        QVERIFY(!window->armyCountDialog->isVisible());
        QCOMPARE(tradeNoticeShown, quint8(0));
        QCOMPARE(dialogOpen, quint8(0));
        QCOMPARE(armyCountDialogOpen, quint8(0));
        QCOMPARE(pendingAttackCount, quint8(0));
    }

    void anAnimationInFlightEnds()
    {
        animationsEnabled = 1;
        QVERIFY(queueTerritoryAnimation(5, true, SpriteExplosion, 6));
        QVERIFY(spriteAnimationActive);
        window->gameTick();
        QVERIFY(window->gameTimerInterval() != 288);
        window->resetGameDefaults();
        QCOMPARE(spriteAnimationActive, quint8(0));
        QCOMPARE(window->gameTimerInterval(), 288);
        window->gameTick();
        QCOMPARE(messageQueueCount, 0);
    }

    // Cancel while a demonstration plays: the turn flow hands the return to the window.
    void cancelInADemoReturnsToTheStartState()
    {
        fastSpeed = 0;
        displaySizeClass = 3;
        QVERIFY(saveSettings());
        screenWidth = 1366;
        screenHeight = 768;
        demoRunning = 1;
        gameMode = ModeDemo;
        fastSpeed = 1;
        for (int i = 0; i < 4; ++i)
            pushActionStep(makeStep(12));
        inGameButtonEnabled[ButtonCancel] = 1;
        endHumanTurn();
        QCOMPARE(demoRunning, quint8(0));
        QCOMPARE(gameMode, int(ModeSinglePlayer));
        QCOMPARE(actionQueueCount, 0);
        QCOMPARE(fastSpeed, quint8(0));
        QCOMPARE(displaySizeClass, 2);
        QCOMPARE(hoverSkipOnce, quint8(1));
        QCOMPARE(inGameButtonEnabled[ButtonCancel], quint8(0));
        QCOMPARE(settingsReloadPending, quint8(0));
    }

    void restartQuestionForADisplaySetting_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("sizeClass");
        QTest::addColumn<int>("quits");
        QTest::newRow("OK") << 0 << 3 << 1;
        QTest::newRow("Cancel") << 1 << 2 << 0;
    }

    void restartQuestionForADisplaySetting()
    {
        QFETCH(int, answer);
        QFETCH(int, sizeClass);
        QFETCH(int, quits);
        displaySizeClass = 2;
        QVERIFY(saveSettings());
        ui.choiceAnswers = {answer};
        confirmRestartForSetting();
        QCOMPARE(ui.questionsAsked, QStringList{QStringLiteral("Click OK to close Tarvan GX and apply the new setting.")});
        QCOMPARE(chatMinimises, 1);
        QCOMPARE(displaySizeClass, sizeClass);
        QCOMPARE(quitRequests, quits);
        displaySizeClass = 1;
        QVERIFY(loadSettings());
        QCOMPARE(displaySizeClass, sizeClass); // what the next start reads
    }
};

int TestMouseReset::quitRequests = 0;
int TestMouseReset::chatCloses = 0;
int TestMouseReset::chatMinimises = 0;

TARVAN_TEST_MAIN(TestMouseReset)
#include "test_mouse_reset.moc"
