// The end of a game: victory, the missions, lost strongholds, stalemate, the campaign's marks,
// which games reach the scores file, and the human's side of a game his attack decided.

#include "TestSupport.h"
#include "RulesTestMap.h"

#include "persist/Scores.h"
#include "rules/Attack.h"
#include "rules/GameEnd.h"
#include "rules/Seats.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/StepQueues.h"

#include <algorithm>

namespace {

int countMessageSteps(int type)
{
    return messageQueueTypes().count(type);
}

QList<ScoresRecord> scoresOnFile()
{
    QList<ScoresRecord> records;
    scanScoresFile([&](const ScoresRecord &r) { records.append(r); });
    return records;
}

// The end step queued: 8 (message step 8), 9 (action step 9), 0 none; -1 for both.
int endStepQueued()
{
    const int message = countMessageSteps(8);
    const int action = actionQueueTypes().count(9);
    if (message + action > 1)
        return -1;
    return message ? 8 : (action ? 9 : 0);
}

} // namespace

class TestGameEnd : public QObject {
    Q_OBJECT

private:
    ScriptedInteraction ui;

    void setUpGame(int humans = 1, int mode = ModeSinglePlayer)
    {
        QVERIFY(loadRulesTestMap());
        playerCount = 3;
        humanPlayerCount = humans;
        gameMode = mode;
        attackRule = 'j';
        // The rules alone: no rocket to wait for before an attack step concludes.
        animationsEnabled = 0;
        assignMissions();
    }

    // A human's attack step goes on after the battle as in the game: the loop asks the move
    // question of a conquest (message step 22, whose answer is a conquest move) and the player
    // moves in all he can.
    void concludeHumanAttack(int from, int to)
    {
        sourceTerritory = from;
        targetTerritory = to;
        concludeAttack();
        if (countMessageSteps(22) == 0)
            return;
        pendingConquestMoveCount = 1;
        applyArmyCount(territoryState[from].armies - 1);
    }

    bool humanAttacks(int attacker) { return isHumanOfThisMachine(attacker) && !isDemoGame(); }

    // `winner` holds everything but territory 3, which `loser` holds with one army, and takes it.
    void decideByConquest(int winner, int loser)
    {
        layOut({{winner, 9}, {winner, 1}, {loser, 1}, {winner, 1}, {winner, 1}, {winner, 1}, {winner, 1},
                {winner, 1}});
        playerTable[winner].battleLosses() = 17;
        currentPlayer = winner;
        resolveAttack(1, 5, 3, &cardEarnedThisTurn);
        if (humanAttacks(winner))
            concludeHumanAttack(1, 3);
    }

    // The owner of `from` attacks `to` with all armies but one and moves in all he can.
    void conquer(int from, int to)
    {
        const int attacker = territoryState[from].owner;
        currentPlayer = attacker;
        resolveAttack(from, territoryState[from].armies - 1, to, &cardEarnedThisTurn);
        if (territoryState[to].owner != attacker)
            return;
        if (humanAttacks(attacker))
            concludeHumanAttack(from, to);
        else
            resolveAttack(from, territoryState[from].armies - 1, to, &cardEarnedThisTurn);
    }

private slots:
    void init()
    {
        resetAllGameState(3);
        ui = ScriptedInteraction();
        setInteraction(&ui);
        QVERIFY(clearScoresFile());
    }
    void cleanup() { setInteraction(nullptr); }

    // ---- Missions are dealt at the start ----

    void missionsAreDealtAtTheStart()
    {
        QVERIFY(loadRulesTestMap());
        playerCount = 5;
        QList<std::array<qint32, kMaxContinents + 1>> first;
        for (quint32 seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
            randomSource().seed(seed);
            missionContinentIndex = 4;
            missionFailed = noWinner = 1;
            assignMissions();
            QCOMPARE(missionContinentIndex, 1);
            QCOMPARE(missionFailed, quint8(0));
            QCOMPARE(noWinner, quint8(0));
            QVERIFY(escortTarget >= 2 && escortTarget <= 5);
            for (int p = 1; p <= kMaxPlayers; ++p) {
                auto list = missionContinents[p];
                std::sort(list.begin() + 1, list.begin() + 4);
                QCOMPARE(list[1], 1);
                QCOMPARE(list[2], 2);
                QCOMPARE(list[3], 3);
                QVERIFY(std::all_of(list.begin() + 4, list.end(), [](qint32 c) { return c == 0; }));
            }
            first.append(missionContinents[1]);
        }
        // The order is random, and the same seed deals it again.
        QVERIFY(std::any_of(first.begin(), first.end(), [&](const auto &l) { return l != first[0]; }));
        randomSource().seed(1);
        assignMissions();
        QCOMPARE(missionContinents[1], first[0]);

        // The neutral army is never the one to escort.
        playerCount = 3;
        neutralArmyActive = 1;
        for (quint32 seed = 1; seed <= 30; ++seed) {
            randomSource().seed(seed);
            assignMissions();
            QCOMPARE(escortTarget, 2);
        }
    }

    // ---- Victory and the scores file ----

    void aDecidedGameEndsOnce_data()
    {
        QTest::addColumn<int>("humans");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("mission");
        QTest::addColumn<int>("winner");
        QTest::addColumn<int>("endStep");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("humanWon");
        const int single = ModeSinglePlayer;
        QTest::newRow("the human wins") << 1 << single << 0 << 1 << 8 << 1 << 1;
        QTest::newRow("a computer wins") << 1 << single << 0 << 2 << 9 << 1 << 0;
        QTest::newRow("the second human of a hotseat game wins") << 2 << int(ModeHotseat) << 0 << 2 << 8 << 1 << 1;
        QTest::newRow("a demo game") << 1 << int(ModeDemo) << 0 << 2 << 9 << 0 << 0;
        QTest::newRow("the demo's empty seat") << 1 << int(ModeDemo) << 0 << 1 << 9 << 0 << 0;
        QTest::newRow("Hold Continents is completed by winning") << 1 << single << 2 << 1 << 8 << 1 << 1;
    }

    void aDecidedGameEndsOnce()
    {
        QFETCH(int, humans);
        QFETCH(int, mode);
        QFETCH(int, mission);
        QFETCH(int, winner);
        QFETCH(int, endStep);
        QFETCH(int, records);
        QFETCH(int, humanWon);
        setUpGame(humans, mode);
        missionType = mission;
        const int loser = winner == 1 ? 2 : 1;
        decideByConquest(winner, loser);
        QCOMPARE(gameOver, quint8(1));
        QCOMPARE(noWinner, quint8(0));
        QCOMPARE(missionFailed, quint8(0));
        QCOMPARE(endStepQueued(), endStep);
        QList<ScoresRecord> onFile = scoresOnFile();
        QCOMPARE(onFile.size(), records);
        if (records == 1) {
            QCOMPARE(onFile[0].humanWon, humanWon);
            QCOMPARE(onFile[0].losses, 18); // with the army the last battle cost
            QCOMPARE(onFile[0].oneForOne, 1);
        }
        // Nothing moves once the game is over.
        layOut({{winner, 9}, {loser, 1}, {winner, 1}, {winner, 1}, {winner, 1}, {winner, 1}, {winner, 1},
                {winner, 1}});
        resolveAttack(1, 5, 2, &cardEarnedThisTurn);
        QCOMPARE(territoryState[2].owner, loser);
        QCOMPARE(scoresOnFile().size(), records);
        QCOMPARE(endStepQueued(), endStep);
    }

    void theHumansEliminationLeavesTheComputersPlaying()
    {
        setUpGame();
        layOut({{2, 9}, {2, 1}, {1, 1}, {3, 1}, {3, 1}, {3, 1}, {2, 1}, {2, 1}});
        conquer(1, 3);
        QVERIFY(playerOutOfGame(1));
        QCOMPARE(gameOver, quint8(0));
        QCOMPARE(endStepQueued(), 0);
    }

    // ---- Stalemate ----

    void thirtyQuietRoundsEndTheGameUnrecorded()
    {
        setUpGame();
        missionType = 1;
        campaignId = CampaignWorlds;
        campaignMapCount = 2;
        layOut({{1, 9}, {1, 1}, {2, 3}, {2, 1}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});
        currentPlayer = 1;
        for (int pass = 0; pass < 60; ++pass)
            passTurnToNextPlayer();
        QCOMPARE(quietRounds, 20);
        QCOMPARE(currentPlayer, 1);
        conquer(1, 3); // a change of owner starts the count again
        QCOMPARE(quietRounds, 0);
        currentPlayer = 1;
        for (int pass = 0; pass < 89; ++pass)
            passTurnToNextPlayer();
        QCOMPARE(gameOver, quint8(0));
        passTurnToNextPlayer();
        QCOMPARE(gameOver, quint8(1));
        QCOMPARE(noWinner, quint8(1));
        // A stalemate fails the mission and the campaign.
        QCOMPARE(missionFailed, quint8(1));
        QCOMPARE(campaignEnded, quint8(1));
        QCOMPARE(campaignCompleted, quint8(0));
        QCOMPARE(endStepQueued(), 9);
        QCOMPARE(scoresOnFile().size(), 0);
        endGameInStalemate();
        QCOMPARE(endStepQueued(), 9);
    }

    // ---- The missions ----

    void theContinentsMissionInItsOrder()
    {
        setUpGame();
        missionType = 1;
        missionContinents[1] = {0, 2, 3, 1};
        QCOMPARE(missionContinentsToConquer(), 2);
        layOut({{1, 9}, {2, 1}, {2, 1}, {1, 9}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});

        conquer(1, 3); // North is not asked for (and is not whole)
        conquer(4, 5); // South is asked for first
        QCOMPARE(missionContinentIndex, 2);
        QCOMPARE(moveBlocked, quint8(1));
        QCOMPARE(countMessageSteps(2), 1);
        QCOMPARE(countMessageSteps(3), 1);
        for (int i = 1; i <= messageQueueCount; ++i)
            if (messageQueue[i].type == 2 || messageQueue[i].type == 3) {
                QCOMPARE(messageQueue[i].arg[1], 2);
                QCOMPARE(messageQueue[i].arg[2], 100);
            }
        QCOMPARE(gameOver, quint8(0));

        conquer(3, 6);
        conquer(6, 7);
        QCOMPARE(gameOver, quint8(0));
        conquer(7, 8); // East completes the second of two continents
        QCOMPARE(gameOver, quint8(1));
        QCOMPARE(missionFailed, quint8(0));
        QCOMPARE(playerTable[2].territoriesHeld(), 1); // not a win by conquering everything
        QCOMPARE(endStepQueued(), 8);
        QCOMPARE(scoresOnFile().size(), 1);
        QCOMPARE(scoresOnFile()[0].mission, 1);
    }

    void continentsCountOnlyInTheirTurn_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("over");
        // The player already holds East and conquers South.
        QTest::newRow("a continent not yet asked for") << 1 << 2 << 1 << false;
        QTest::newRow("the one asked for") << 2 << 1 << 2 << false;
        QTest::newRow("then one already held counts at once") << 2 << 3 << 3 << true;
    }

    void continentsCountOnlyInTheirTurn()
    {
        QFETCH(int, first);
        QFETCH(int, second);
        setUpGame();
        missionType = 1;
        missionContinents[1] = {0, first, second, 6 - first - second};
        layOut({{2, 1}, {2, 1}, {2, 1}, {1, 9}, {2, 1}, {1, 1}, {1, 1}, {1, 1}});
        conquer(4, 5);
        QTEST(int(missionContinentIndex), "index");
        QTEST(bool(gameOver), "over");
        QCOMPARE(playerTable[2].territoriesHeld(), 3);
    }

    void missionOutcomes_data()
    {
        QTest::addColumn<int>("mission");
        QTest::addColumn<int>("attacker");
        QTest::addColumn<int>("victim");
        QTest::addColumn<bool>("failed");
        QTest::addColumn<int>("endStep");
        QTest::newRow("continents: the player is out") << 1 << 2 << 1 << true << 9;
        QTest::newRow("hold continents: the player is out") << 2 << 2 << 1 << true << 9;
        QTest::newRow("escort: the escorted player falls to a computer") << 3 << 3 << 2 << true << 9;
        QTest::newRow("escort: the player puts his ally out himself") << 3 << 1 << 2 << true << 8;
        QTest::newRow("escort: the player is out") << 3 << 3 << 1 << true << 9;
        // The player wins an escort whoever makes the last conquest.
        QTest::newRow("escort completed by the player") << 3 << 1 << 3 << false << 8;
        QTest::newRow("escort completed by the escorted player") << 3 << 2 << 3 << false << 8;
    }

    void missionOutcomes()
    {
        QFETCH(int, mission);
        QFETCH(int, attacker);
        QFETCH(int, victim);
        QFETCH(bool, failed);
        QFETCH(int, endStep);
        setUpGame();
        missionType = mission;
        escortTarget = 2;
        const int third = 6 - attacker - victim;
        layOut({{attacker, 9}, {attacker, 1}, {victim, 1}, {third, 1}, {third, 1}, {attacker, 1}, {third, 1},
                {attacker, 1}});
        conquer(1, 3);
        QCOMPARE(gameOver, quint8(1));
        QCOMPARE(bool(missionFailed), failed);
        QCOMPARE(bool(noWinner), failed);
        QCOMPARE(endStepQueued(), endStep);
        const QList<ScoresRecord> onFile = scoresOnFile();
        QCOMPARE(onFile.size(), failed ? 0 : 1);
        if (!failed)
            QCOMPARE(onFile[0].humanWon, 1);
    }

    void holdingContinents()
    {
        setUpGame();
        missionType = 2;
        layOut({{2, 9}, {1, 1}, {1, 1}, {1, 9}, {3, 1}, {3, 1}, {3, 1}, {3, 1}});
        conquer(1, 2); // no continent was held: nothing is lost
        QCOMPARE(gameOver, quint8(0));
        conquer(4, 5); // the player completes South
        QCOMPARE(playerTable[1].continentHeld(2), 1);
        QCOMPARE(gameOver, quint8(0));
        territoryState[6].armies = 20;
        recountAllPlayers();
        conquer(6, 5); // a computer breaks South
        QCOMPARE(gameOver, quint8(1));
        QCOMPARE(missionFailed, quint8(1));
        QCOMPARE(endStepQueued(), 9);
        QCOMPARE(scoresOnFile().size(), 0);
    }

    // ---- Strongholds ----

    void theHumansStrongholdFalls()
    {
        setUpGame();
        strongholdsEnabled = 1;
        layOut({{2, 9}, {1, 1}, {1, 1}, {1, 1}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});
        playerTable[1].stronghold() = 3;
        playerTable[2].stronghold() = 1;
        playerTable[3].stronghold() = 6;
        playerTable[1].infantry() = 2;
        cardDeckCounts[CardInfantry] -= 2;
        conquer(1, 3);
        QCOMPARE(playerTable[1].stronghold(), 0);
        QVERIFY(playerOutOfGame(1));
        // His other territories stay his, as neutral ground.
        QCOMPARE(territoryState[2].owner, 1);
        QCOMPARE(territoryState[4].owner, 1);
        QCOMPARE(playerTable[1].cardCount(), 0);
        QCOMPARE(playerTable[2].cardCount(), 3); // his two and the card of the conquest
        QCOMPARE(gameOver, quint8(1));
        QCOMPARE(noWinner, quint8(1));
        QCOMPARE(endStepQueued(), 9);
        QCOMPARE(scoresOnFile().size(), 0);
    }

    void aStrongholdGameIsWonWhenEveryoneElseIsOut()
    {
        setUpGame();
        strongholdsEnabled = 1;
        layOut({{2, 1}, {1, 9}, {1, 9}, {1, 1}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});
        playerTable[1].stronghold() = 4;
        playerTable[2].stronghold() = 1;
        playerTable[3].stronghold() = 6;
        conquer(3, 6);
        QVERIFY(playerOutOfGame(3));
        QCOMPARE(territoryState[7].owner, 3);
        QCOMPARE(gameOver, quint8(0));
        conquer(6, 7); // the territories of a player who is out can still be taken
        QCOMPARE(gameOver, quint8(0));
        conquer(2, 1); // the last stronghold: 2 still holds territory 5, but is out
        QCOMPARE(territoryState[5].owner, 2);
        QCOMPARE(gameOver, quint8(1));
        QCOMPARE(noWinner, quint8(0));
        QCOMPARE(endStepQueued(), 8);
        QCOMPARE(scoresOnFile().size(), 1);
    }

    // ---- Campaigns ----

    void campaignMarks_data()
    {
        QTest::addColumn<int>("mapIndex");
        QTest::addColumn<int>("mapCount");
        QTest::addColumn<int>("winner");
        QTest::addColumn<bool>("completed");
        QTest::addColumn<bool>("ended");
        QTest::addColumn<int>("records");
        QTest::newRow("first of two maps won by the human") << 1 << 2 << 1 << false << false << 0;
        QTest::newRow("first map won by a computer") << 1 << 2 << 2 << false << true << 0;
        QTest::newRow("middle map won by the campaign's player") << 2 << 3 << 1 << false << false << 0;
        QTest::newRow("later map won by a computer") << 2 << 3 << 3 << false << true << 0;
        QTest::newRow("last map won by the campaign's player") << 2 << 2 << 1 << true << false << 1;
        QTest::newRow("a one-map campaign won") << 1 << 1 << 1 << true << false << 1;
    }

    void campaignMarks()
    {
        QFETCH(int, mapIndex);
        QFETCH(int, mapCount);
        QFETCH(int, winner);
        QFETCH(bool, completed);
        QFETCH(bool, ended);
        QFETCH(int, records);
        setUpGame();
        campaignId = CampaignWorlds;
        campaignMapIndex = mapIndex;
        campaignMapCount = mapCount;
        campaignPlayer = 1;
        decideByConquest(winner, winner == 1 ? 2 : 1);
        QCOMPARE(bool(campaignCompleted), completed);
        QCOMPARE(bool(campaignEnded), ended);
        QCOMPARE(scoresOnFile().size(), records);
        QCOMPARE(endStepQueued(), winner == 1 ? 8 : 9);
    }

    // ---- The human's side of the end ----

    void theHumansDecidingAttackEndsHisTurn()
    {
        setUpGame();
        layOut({{1, 9}, {1, 1}, {2, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}});
        currentPlayer = 1;
        sourceTerritory = 1;
        targetTerritory = 3;
        saveAllowed = 1;
        inGameButtonEnabled.fill(1);
        attackTargetPhase = 1;
        pendingAttackCount = 1;
        applyArmyCount(5);
        QCOMPARE(gameOver, quint8(1));
        // The last conquest asks its move question like any other; the turn's buttons and phases
        // are off, and the end waits for the answer.
        QCOMPARE(countMessageSteps(22), 1);
        QCOMPARE(saveAllowed, quint8(0));
        for (int b = ButtonNext; b <= ButtonCancel; ++b)
            QCOMPARE(inGameButtonEnabled[b], quint8(0));
        QCOMPARE(attackSourcePhase + attackTargetPhase + moveSourcePhase + moveTargetPhase, 0);
        QCOMPARE(endStepQueued(), 0);
        QCOMPARE(scoresOnFile().size(), 1);
        // The answer moves the armies in, and the end of the game follows it.
        const int before = territoryState[1].armies;
        pendingConquestMoveCount = 1;
        applyArmyCount(3);
        QCOMPARE(territoryState[1].armies, before - 3);
        QCOMPARE(territoryState[3].armies, 4);
        QCOMPARE(endStepQueued(), 8);
        for (int b = ButtonNext; b <= ButtonCancel; ++b)
            QCOMPARE(inGameButtonEnabled[b], quint8(0));
        QCOMPARE(scoresOnFile().size(), 1);
        // Concluding again does nothing more.
        inGameButtonEnabled[ButtonNext] = 1;
        concludeAttack();
        QCOMPARE(inGameButtonEnabled[ButtonNext], quint8(1));
    }

    void aHighScoreAboveTheListsLimit_data()
    {
        QTest::addColumn<int>("losses");
        QTest::addColumn<bool>("topFive");
        QTest::addColumn<int>("boxes");
        // The deciding battle costs one more army.
        QTest::newRow("too many losses") << 9999 << true << 1;
        QTest::newRow("within the limit") << 9998 << true << 0;
        QTest::newRow("not a high-score game") << 9999 << false << 0;
    }

    void aHighScoreAboveTheListsLimit()
    {
        QFETCH(int, losses);
        QFETCH(bool, topFive);
        QFETCH(int, boxes);
        setUpGame();
        topFiveGame = topFive;
        layOut({{1, 9}, {1, 1}, {2, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}});
        playerTable[1].battleLosses() = losses;
        currentPlayer = 1;
        sourceTerritory = 1;
        targetTerritory = 3;
        resolveAttack(1, 5, 3, &cardEarnedThisTurn);
        concludeHumanAttack(1, 3);
        QStringList expected;
        for (int i = 0; i < boxes; ++i)
            expected << QStringLiteral("Sorry, this is not good enough for a top5 listing.");
        QCOMPARE(ui.messageTexts(), expected);
    }

    void topFiveLists_data()
    {
        QTest::addColumn<int>("map");
        QTest::addColumn<int>("campaign");
        QTest::addColumn<int>("set");
        QTest::newRow("World") << int(MapWorld) << 0 << 1;
        QTest::newRow("a map without a list shares World's") << int(MapGreatBritain) << 0 << 1;
        QTest::newRow("Australia") << int(MapAustralia) << 0 << 8;
        QTest::newRow("a campaign") << int(MapJapan) << int(CampaignWestPacific) << 0;
    }

    void topFiveLists()
    {
        QFETCH(int, map);
        QFETCH(int, campaign);
        selectMap(static_cast<MapFlag>(map));
        campaignId = campaign;
        QTEST(topFiveMapSet(), "set");
    }
};

TARVAN_TEST_MAIN(TestGameEnd)
#include "test_gameend.moc"
