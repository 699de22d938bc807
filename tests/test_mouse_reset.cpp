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
#include "app/PendingStateGlobals.h"
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

#include <algorithm>
#include <functional>
#include <memory>

namespace {

using Action = std::function<void()>;
using Check = std::function<bool()>;

template <class Table, class Value>
bool allOf(const Table &table, int first, int last, const Value &value)
{
    for (int i = first; i <= last; ++i)
        if (!(table[i] == value))
            return false;
    return true;
}

template <class T>
struct Same {
    using type = T;
};

// One value a game leaves behind and the one the reset gives it back.
template <class T>
void value(const char *name, T &global, typename Same<T>::type played, typename Same<T>::type fresh)
{
    T *at = &global;
    QTest::newRow(name) << Action([at, played] { *at = played; }) << Check([at, fresh] { return *at == fresh; });
}
#define VALUE(global, played, fresh) value(#global, global, played, fresh)

void table(const char *name, Action play, Check isDefault)
{
    QTest::newRow(name) << play << isDefault;
}

// Globals a game sets that the reset clears to 0, one row for the lot.
template <class T>
void cleared(const char *name, std::initializer_list<T *> globals, T played)
{
    const QVector<T *> all(globals);
    table(name, [all, played] {
        for (T *g : all)
            *g = played;
    }, [all] { return std::all_of(all.begin(), all.end(), [](const T *g) { return *g == 0; }); });
}

bool onlyWorldSelected()
{
    for (int f = 0; f < MapFlagCount; ++f)
        if (builtinMapFlags[f] != (f == MapWorld ? 1 : 0))
            return false;
    return true;
}

} // namespace

Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(Check)

class TestMouseReset : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;
    void (*originalQuit)() = nullptr;
    std::unique_ptr<ViewArea> window;
    MapTables worldTables;

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
        // One window serves every case: the reset is what is tried, not the window's start.
        window = std::make_unique<ViewArea>();
    }

    void cleanupTestCase() { window.reset(); }

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
    }

    void cleanup()
    {
        setInteraction(nullptr);
        quitEventLoop = originalQuit;
        chatDialogCloser = nullptr;
        chatDialogMinimiser = nullptr;
    }

    void resetRestoresEveryDefault_data()
    {
        QTest::addColumn<Action>("play");
        QTest::addColumn<Check>("isDefault");
        cleared<quint8>("flags", {
                &neutralArmyActive, &topFiveGame, &rankGame, &internetGame, &settingsReloadPending,
                &saveHotseatNamesFlag, &saveHighScoreNameFlag, &partialSaveFlag, &spriteAnimationActive,
                &tradeNoticeShown, &localGameRunning, &campaignEnded, &campaignCompleted, &recordedOptionFlag,
                &gameOver, &attackMadeThisTurn, &noWinner, &pendingAttackCount, &strongholdsEnabled,
                &troopExperienceEnabled, &missionFailed, &moveBlocked, &territoryPaintFlagA, &territoryPaintFlagB,
                &saveAllowed, &gameLoaded, &gameSaved, &mapLoadSucceeded, &lobbyOpen}, 1);
        cleared<quint8>("phases", {
                &strongholdPhase, &initialPlacementPhase, &territoryBonusPhase, &continentBonusPhase, &cardBonusPhase,
                &attackTargetPhase, &attackSourcePhase, &moveTargetPhase, &moveSourcePhase}, 1);
        cleared<qint32>("counts and seats", {
                &currentPlayer, &lossCount, &placementRound, &highlightedContinent, &escortTarget, &networkSeat,
                &humanSeatCount, &clientCount, &msgTerritory, &msgArmies, &msgOwner, &msgFlag, &missionType,
                &awaitedAckCode}, 3);
        VALUE(rankAtGameStart, 4, 99);
        VALUE(rankFlagAtGameStart, 1, 99);
        VALUE(spriteAnimationDone, 0, 1);
        VALUE(cardSetValue, 35, 11);
        VALUE(gameMode, ModeHost, ModeSinglePlayer);
        VALUE(campaignId, CampaignWestPacific, NoCampaign);
        VALUE(campaignMapCount, 5, 1);
        VALUE(campaignMapIndex, 3, 1);
        VALUE(difficulty, 0, 1);
        VALUE(attackRule, 'j', 'n');
        VALUE(aiMinAttackArmies, 3, 2);
        VALUE(humanPlayerCount, 2, 1);
        VALUE(playerCount, 6, 3);
        VALUE(turnStarted, 0, 1);
        VALUE(missionContinentIndex, 4, 1);
        VALUE(mapPaintState, QStringLiteral("1"), QStringLiteral("0"));
        VALUE(statusText, QStringLiteral("Attack from ?"), QStringLiteral(" "));
        VALUE(resolveUnstableOnLoad, 0, 1);
        VALUE(resumedGameMark, 'j', 'n');
        VALUE(useStoredMapPath, 'j', 'n');
        VALUE(mapLoadOutsideSetup, 0, 1);
        VALUE(hostAddressText, QStringLiteral("10.1.1.1"), QStringLiteral(" "));
        VALUE(gameListSlot, 3, 99);
        VALUE(playTimeSeconds, 900, 0);

        table("players' values", [] {
            troopExperience.fill(160);
            turnsTaken.fill(9);
            avengeTarget.fill(2);
            personalitySetting.fill(6);
        }, [] {
            return allOf(troopExperience, 1, 10, 100) && allOf(turnsTaken, 1, 10, 0) && allOf(avengeTarget, 1, 10, 0)
                && allOf(personalitySetting, 1, 10, 0);
        });
        table("experience shown", [] {
            for (auto &row : troopExperienceShown)
                row.fill(130);
        }, [] {
            for (int p = 1; p <= kMaxPlayers; ++p)
                if (!allOf(troopExperienceShown[p], 1, 10, 100))
                    return false;
            return true;
        });
        table("no card or loss carried over, turn-start copy", [] {
            for (PlayerRecord &record : playerTable) {
                record.infantry() = 3;
                record.battleLosses() = 7;
            }
            playerTableAtTurnStart = playerTable;
        }, [] {
            for (int p = 1; p <= kMaxPlayers; ++p)
                if (playerTable[p].cardCount() != 0 || playerTable[p].battleLosses() != 0
                    || playerTableAtTurnStart[p].f != playerTable[p].f)
                    return false;
            return true;
        });
        table("pairs", [] { pairs10[3] = {2, 40}; }, [] { return pairs10[3].id == 0 && pairs10[3].value == 0; });
        table("full deck", [] { cardDeckCounts = {0, 4, 5, 6}; }, [] {
            return cardDeckCounts[CardArtillery] == 17 && cardDeckCounts[CardInfantry] == 17
                && cardDeckCounts[CardCavalry] == 17 && cardDeckCounts[CardWild] == 2;
        });
        table("the map shown as it was built", [] { displayedTerritoryState[1] = {9, 99}; },
              [] { return displayedTerritoryState == territoryState; });
        table("territory marks", [] {
            attackMissiles[7] = defenceMissiles[8] = 2;
            displayedAttackMissiles[200] = displayedDefenceMissiles[9] = 1;
            territoryChanged.fill('j');
        }, [] {
            return allOf(territoryChanged, 1, 200, 'n') && allOf(attackMissiles, 1, 200, 0)
                && allOf(defenceMissiles, 1, 200, 0) && allOf(displayedAttackMissiles, 1, 200, 0)
                && allOf(displayedDefenceMissiles, 1, 200, 0);
        });
        table("buttons", [] { inGameButtonEnabled.fill(1); }, [] { return allOf(inGameButtonEnabled, 1, 6, 0); });
        table("queues", [] {
            for (int i = 1; i <= 5; ++i)
                pushActionStep(makeStep(1, i));
            pushMessageStep(makeStep(19, 3));
        }, [] {
            return actionQueueCount == 0 && actionQueueIndex == 0 && messageQueueCount == 0 && messageQueueIndex == 0;
        });
        table("card-trade values", [] { cardTradeValues.fill(3); }, [] { return allOf(cardTradeValues, 1, 6, 0); });
        table("play time from now", [] { playTimeStamp = gameStartTime = QDateTime(); }, [] {
            const QDateTime now = interaction().now();
            return playTimeStamp == now && gameStartTime == now;
        });
    }

    void resetRestoresEveryDefault()
    {
        QFETCH(Action, play);
        QFETCH(Check, isDefault);
        play();
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
        QVERIFY(onlyWorldSelected());
        QCOMPARE(territoryCount, worldTables.territoryCount);
        QCOMPARE(continentCount, worldTables.continentCount);
        QCOMPARE(mapName, worldTables.mapName);
        QVERIFY(territoryNeighbours == worldTables.territoryNeighbours);
        for (int t = 1; t <= territoryCount; ++t)
            QCOMPARE(territoryState[t].armies, 1);
    }

    void openDialogsAreClosed()
    {
        // Brought up as the game brings them up.
        window->showCardTradeBonus();
        tradeNoticeShown = 1;
        window->showArmyCountDialog(0, 3);
        QVERIFY(window->cardTradeNotice->isVisible() && window->armyCountDialog->isVisible());
        QCOMPARE(armyCountDialogOpen, quint8(1));
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
        demoRunning = 1;
        gameMode = ModeDemo;
        for (int i = 0; i < 4; ++i)
            pushActionStep(makeStep(12));
        inGameButtonEnabled[ButtonCancel] = 1;
        settingsReloadPending = 1;
        endHumanTurn();
        QCOMPARE(demoRunning, quint8(0));
        QCOMPARE(gameMode, int(ModeSinglePlayer));
        QCOMPARE(actionQueueCount, 0);
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
