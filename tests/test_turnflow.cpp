// The start of a game and the flow of a turn, played through the rules the way the window's
// clicks and dialogs drive them: the deal, the initial placement, strongholds, reinforcement,
// moves, the hand-over, the neutral army, troop experience, card trades and sounds.

#include "TestSupport.h"

#include "rules/Cards.h"
#include "rules/GameEnd.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/Sound.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QSet>

#include <initializer_list>

namespace {

class TurnUi : public ScriptedInteraction {
public:
    int cardDialogs = 0;
    void showCardTradeDialog() override { ++cardDialogs; }
};

void loadWorld()
{
    selectMap(MapWorld);
    loadSelectedBuiltinMap();
}

// A line of five territories in two continents; 3 lists itself and 5 reaches 4 one way only.
void loadLineMap()
{
    mapFileLines = QStringList{"[map]", "Line", "", "[player names]", "10 10", "", "[smilies and codes]", "N", "",
                               "[continents]", "2 West 1 2", "3 East 3 4 5", "", "[territories]",
                               "1 aaa 10 10 2", "2 bbb 20 10 1 3", "3 ccc 30 10 2 3 4", "4 ddd 40 10 3",
                               "5 eee 50 10 4"};
    int result = -1;
    loadMapFile(result);
    QCOMPARE(result, 0);
}

// A chain of `territories` territories, each next to the one before and after it, in two or
// more continents (each must border another) of up to 20.
bool loadChainMap(int territories)
{
    QStringList lines{"[map]", "Chain", "", "[player names]", "10 10", "", "[smilies and codes]", "N", "", "[continents]"};
    const int size = qMin(kMaxContinentMembers, (territories + 1) / 2);
    for (int first = 1; first <= territories; first += size) {
        QString members;
        for (int t = first; t < first + size && t <= territories; ++t)
            members += QStringLiteral(" %1").arg(t);
        lines << QStringLiteral("1 C%1%2").arg(first).arg(members);
    }
    lines << QString() << QStringLiteral("[territories]");
    for (int t = 1; t <= territories; ++t) {
        QString line = QStringLiteral("%1 %2 %3 10").arg(t).arg(t, 3, 10, QLatin1Char('0')).arg(t * 4);
        for (int u : {t - 1, t + 1})
            if (u >= 1 && u <= territories)
                line += QStringLiteral(" %1").arg(u);
        lines << line;
    }
    mapFileLines = lines;
    int result = -1;
    loadMapFile(result);
    return result == MapFileOk && territoryCount == territories;
}

void setUpPlayers(int humans, int players, int mode)
{
    humanPlayerCount = humans;
    playerCount = players;
    gameMode = mode;
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerName[p] = QStringLiteral("P%1").arg(p);
}

// A hotseat game of two on the line map, territories 1..5 as given; player 1 to play.
void playLineGame(std::initializer_list<TerritoryState> territories)
{
    loadLineMap();
    setUpPlayers(2, 2, ModeHotseat);
    int t = 1;
    for (const TerritoryState &state : territories)
        territoryState[t++] = state;
    recountAllPlayers();
    currentPlayer = 1;
}

int messageSteps(int type)
{
    return messageQueueTypes().count(type);
}

int ownedBy(int player)
{
    int n = 0;
    for (int t = 1; t <= territoryCount; ++t)
        n += territoryState[t].owner == player ? 1 : 0;
    return n;
}

int armiesOf(int player)
{
    int n = 0;
    for (int t = 1; t <= territoryCount; ++t)
        if (territoryState[t].owner == player)
            n += territoryState[t].armies;
    return n;
}

// The first territory of `player` that `accept` takes, or 0.
template <typename Accept>
int ownTerritoryWhere(int player, Accept accept)
{
    for (int t = 1; t <= territoryCount; ++t)
        if (territoryState[t].owner == player && accept(t))
            return t;
    return 0;
}

// The map click of a placement phase: the territory is picked, then the army count answered.
bool clickAndAnswer(int t, quint8 &pending, int count)
{
    selectOwnTerritory = 1;
    selectPlacementTerritory(t);
    if (selectedTerritory == 0)
        return false;
    pending = 1;
    applyArmyCount(count);
    return true;
}

// The human whose turn it is places all his initial armies, as many a click as allowed.
void placeAllInitialArmies()
{
    const int player = currentPlayer;
    for (int guard = 0; guard < 200 && initialPlacementPhase && currentPlayer == player; ++guard) {
        int t = 1;
        while (t <= territoryCount && initialPlacementLimit(t) < 1)
            ++t;
        QVERIFY(t <= territoryCount);
        QVERIFY(clickAndAnswer(t, pendingPlacementCount, initialPlacementLimit(t)));
    }
}

} // namespace

class TestTurnFlow : public QObject {
    Q_OBJECT

    TurnUi ui;

private slots:
    void init()
    {
        resetAllGameState(7);
        // Armies placed and moved arrive at once: the animations that carry them are the game
        // loop's (its own tests).
        animationsEnabled = 0;
        ui = TurnUi();
        setInteraction(&ui);
    }
    void cleanup() { setInteraction(nullptr); }

    // ---- Sounds ----

    void soundFiles_data()
    {
        QTest::addColumn<int>("event");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("animations");
        QTest::addColumn<int>("switchedOff");
        QTest::addColumn<QString>("file");
        QTest::newRow("placement plain") << 1 << 1 << false << 0 << "sounds/plaatsen9.wav";
        QTest::newRow("placement big heli") << 1 << 4 << true << 0 << "sounds/helis3.wav";
        QTest::newRow("placement small heli of the colour") << 1 << 3 << true << 0 << "sounds/heli2.wav";
        // Attack, conquest, continent and victory are heard in the battle, loop and end tests.
        QTest::newRow("move by plane") << 4 << 5 << true << 0 << "sounds/prop.wav";
        QTest::newRow("move plain") << 4 << 5 << false << 0 << "sounds/schuiven4.wav";
        QTest::newRow("player out") << 5 << 0 << false << 0 << "sounds/oooh2.wav";
        QTest::newRow("next player") << 6 << 0 << false << 0 << "sounds/volgendesp3.wav";
        QTest::newRow("missile") << 11 << 0 << true << 0 << "sounds/missile3.wav";
        QTest::newRow("missile without animations") << 11 << 0 << false << 0 << "";
        QTest::newRow("nuke") << 12 << 0 << true << 0 << "sounds/nuke4.wav";
        QTest::newRow("event 8 is silent") << 8 << 0 << true << 0 << "";
        QTest::newRow("all off") << 2 << 0 << true << int(SwitchAllOff) << "";
        QTest::newRow("attack switch") << 3 << 0 << true << int(SwitchAttack) << "";
        QTest::newRow("victory switch") << 9 << 0 << false << int(SwitchVictory) << "";
        QTest::newRow("another switch") << 9 << 0 << false << int(SwitchMove) << "sounds/overwinning.wav";
    }

    void soundFiles()
    {
        QFETCH(int, event);
        QFETCH(int, count);
        QFETCH(bool, animations);
        QFETCH(int, switchedOff);
        QFETCH(QString, file);
        animationsEnabled = animations;
        soundEnabled[switchedOff] = switchedOff == SwitchAllOff ? 1 : 0;
        playSound(event, 2, count);
        QCOMPARE(ui.soundsPlayed, file.isEmpty() ? QStringList() : QStringList{file});
        // The helicopters are not heard at the fastest speeds.
        speedFlag160 = 1;
        QCOMPARE(soundFileFor(SoundPlacement, 2, count).isEmpty(), true);
    }

    // ---- The deal ----

    void dealIsEvenAndRepeatable_data()
    {
        QTest::addColumn<int>("players");
        QTest::addColumn<int>("armies");
        QTest::newRow("3 players") << 3 << 21;
        QTest::newRow("4 players") << 4 << 20;
        QTest::newRow("6 players") << 6 << 13;
        QTest::newRow("10 players") << 10 << 8;
    }

    void dealIsEvenAndRepeatable()
    {
        QFETCH(int, players);
        QFETCH(int, armies);
        loadWorld();
        setUpPlayers(1, players, ModeSinglePlayer);
        dealTerritories();
        QCOMPARE(initialArmies, armies);
        const auto first = territoryState;
        int least = 99, most = 0;
        for (int p = 1; p <= players; ++p) {
            least = std::min(least, ownedBy(p));
            most = std::max(most, ownedBy(p));
            QCOMPARE(playerTable[p].territoriesHeld(), ownedBy(p));
        }
        QVERIFY(most - least <= 1);
        for (int t = 1; t <= territoryCount; ++t)
            QCOMPARE(territoryState[t].armies, 1);
        QVERIFY(displayedTerritoryState == territoryState);
        QVERIFY(!dealGivesAwayContinent());
        QCOMPARE(settingsReloadPending, quint8(1));

        randomSource().seed(7);
        dealTerritories();
        QVERIFY(territoryState == first);
        randomSource().seed(8);
        dealTerritories();
        QVERIFY(territoryState != first);
    }

    void redealGivesUpAndKeepsTheLastDeal()
    {
        // One player holds every continent whatever the deal: the deal still ends, and stands.
        loadLineMap();
        setUpPlayers(1, 1, ModeSinglePlayer);
        playerTable[1].stronghold() = 3;
        dealTerritories();
        QVERIFY(dealGivesAwayContinent());
        QCOMPARE(ownedBy(1), 5);
        QCOMPARE(playerTable[1].stronghold(), 0);
    }

    // ---- Start of play and the initial placement ----

    void firstPlayerIsNeverTheNeutralArmy()
    {
        loadWorld();
        QSet<int> seen;
        for (quint32 seed = 1; seed <= 40; ++seed) {
            resetAllGameState(seed);
            setInteraction(&ui);
            loadWorld();
            setUpPlayers(2, 3, ModeHotseat);
            neutralArmyActive = 1;
            dealTerritories();
            startLocalGame();
            QVERIFY(initialPlacementPhase);
            // The placement prompt is for a human; the neutral army places as a computer player.
            QVERIFY(currentPlayer == 1 || currentPlayer == 2);
            seen.insert(currentPlayer);
        }
        QCOMPARE(seen.size(), 2);
    }

    void campaignBeginsWithPlayerOne()
    {
        loadWorld();
        setUpPlayers(1, 4, ModeSinglePlayer);
        campaignId = 1;
        turnsTaken[1] = 12; // left from an earlier game
        troopExperience[2] = 40;
        dealTerritories();
        startLocalGame();
        QCOMPARE(currentPlayer, 1);
        QCOMPARE(turnsTaken[1], 0);
        QCOMPARE(troopExperience[2], 100);
        QCOMPARE(messageQueueTexts().last(), QStringLiteral("Select a territory for initial army placement, available: 20"));
        QCOMPARE(messageQueue[messageQueueCount].arg[2], int(SoundNextPlayer));
    }

    void demoIsPlayedByTheComputersAlone()
    {
        loadWorld();
        setUpPlayers(1, 4, ModeDemo);
        demoRunning = 1;
        dealTerritories();
        QCOMPARE(playerCount, 9);
        QCOMPARE(initialArmies, 9);
        startLocalGame();
        QVERIFY(!initialPlacementPhase);

        // Seat 1's turn is handed on at once, without reinforcement.
        clearStepQueues();
        currentPlayer = 1;
        beginTurn();
        QCOMPARE(currentPlayer, 2);
        QCOMPARE(turnStarted, quint8(1));
        QCOMPARE(messageSteps(5), 1);
        QCOMPARE(messageQueueTexts(), QStringList{"TO STOP THE DEMO, click anywhere on the game window."});
        QCOMPARE(territoryArmiesDue, 0);
    }

    void computerPlayersBeforeTheFirstHumanPlaceFirst()
    {
        loadWorld();
        setUpPlayers(1, 4, ModeSinglePlayer);
        dealTerritories();
        // Find a seed whose first player is a computer player.
        for (quint32 seed = 1; seed < 50; ++seed) {
            randomSource().seed(seed);
            clearStepQueues();
            startLocalGame();
            if (actionQueueTypes().contains(8))
                break;
        }
        const QList<int> types = actionQueueTypes();
        QVERIFY(types.contains(8));
        QCOMPARE(currentPlayer, 1);
        const int computers = types.count(8);
        QCOMPARE(placementRound, 1 + computers);
        // Each computer placement: 7, then 8, 11, four pauses and 10; then 7 for the human.
        QCOMPARE(types.mid(0, 8), (QList<int>{7, 8, 11, 12, 12, 12, 12, 10}));
        QCOMPARE(types.last(), 7);
        QCOMPARE(actionQueue[actionQueueCount].arg[1], 1);

        // Once the human has placed, the computer players after him place, and the first to
        // place begins.
        const int first = 5 - computers;
        clearStepQueues();
        placeAllInitialArmies();
        QCOMPARE(actionQueueTypes().count(8), 3 - computers);
        QVERIFY(!initialPlacementPhase);
        QCOMPARE(placementRound, 0);
        QCOMPARE(currentPlayer, first);
        QCOMPARE(actionQueue[actionQueueCount].type, 7);
        QCOMPARE(actionQueue[actionQueueCount].arg[1], first);
        QCOMPARE(messageSteps(5), 1);
    }

    void placementEndsWhenNoTerritoryCanTakeMore()
    {
        // Player 1 holds a single territory: it fills up at 4 and the rest of his armies lapse.
        // An answer above the limit places no more than the limit.
        playLineGame({{1, 1}, {2, 1}, {2, 1}, {2, 1}, {2, 1}});
        initialArmies = 10;
        placementRound = 1;
        initialPlacementPhase = 1;
        armiesToPlace = initialArmies;
        QVERIFY(clickAndAnswer(1, pendingPlacementCount, 8));
        QCOMPARE(territoryState[1].armies, 4);
        QCOMPARE(currentPlayer, 2);
        QCOMPARE(armiesToPlace, 10);
        QVERIFY(initialPlacementPhase);
    }

    void hotseatGameOnWorld()
    {
        loadWorld();
        setUpPlayers(3, 3, ModeHotseat);
        dealTerritories();
        startLocalGame();
        const int first = currentPlayer;
        QCOMPARE(initialArmies, 21);
        QCOMPARE(statusLine, QStringLiteral("P%1, initial placement of 21 armies.").arg(first));

        // Every human places his 21 armies; the placement goes round the table once.
        QList<int> order;
        for (int i = 0; i < 3; ++i) {
            order.append(currentPlayer);
            const int before = armiesOf(currentPlayer);
            placeAllInitialArmies();
            QCOMPARE(armiesOf(order.last()), before + 21);
        }
        QCOMPARE(order, (QList<int>{first, first % 3 + 1, (first + 1) % 3 + 1}));
        for (int t = 1; t <= territoryCount; ++t)
            QVERIFY(territoryState[t].armies <= 4);
        QVERIFY(!initialPlacementPhase);
        QCOMPARE(currentPlayer, first);
        QCOMPARE(turnStarted, quint8(0));
        QCOMPARE(saveAllowed, quint8(0));

        // The first turn: South America held in full adds its bonus of 2 to 14 / 3 territories.
        const int p = first;
        const int other = p % 3 + 1;
        // Trade territories so that the player still holds 14 with South America among them.
        for (int i = 1; i <= continentTable[2].memberCount; ++i) {
            const int t = continentTable[2].members[i];
            if (territoryState[t].owner == p)
                continue;
            const int owner = territoryState[t].owner;
            for (int u = 1; u <= territoryCount; ++u)
                if (territoryState[u].owner == p && continentOfTerritory(u) != 2) {
                    territoryState[u].owner = owner;
                    break;
                }
            territoryState[t].owner = p;
        }
        recountAllPlayers();
        QCOMPARE(playerTable[p].territoriesHeld(), 14);
        const int armiesAtTurnStart = armiesOf(p);
        clearStepQueues();
        beginTurn();
        QCOMPARE(turnStarted, quint8(1));
        QCOMPARE(territoryArmiesDue, 4);
        QCOMPARE(continentArmiesDue, 2);
        QCOMPARE(saveAllowed, quint8(1));
        QVERIFY(continentBonusPhase);
        QCOMPARE(messageQueueTexts(), (QStringList{QStringLiteral("P%1 to play..").arg(p),
                                             QStringLiteral("Add 2 armies based on your continents.")}));
        QCOMPARE(messageQueue[1].arg[2], int(SoundNextPlayer));

        // Continent armies first: two clicks of one army each.
        const int inSouthAmerica = continentTable[2].members[1];
        const int start = territoryState[inSouthAmerica].armies;
        QVERIFY(clickAndAnswer(inSouthAmerica, pendingContinentBonusCount, 1));
        QVERIFY(continentBonusPhase);
        QVERIFY(clickAndAnswer(inSouthAmerica, pendingContinentBonusCount, 5));
        QCOMPARE(territoryState[inSouthAmerica].armies, start + 2);
        QVERIFY(!continentBonusPhase);
        QCOMPARE(saveAllowed, quint8(0));
        QCOMPARE(messageQueueTexts().last(), QStringLiteral("Choose Add or Attack"));
        QCOMPARE(inGameButtonEnabled[ButtonAdd], quint8(1));
        QCOMPARE(inGameButtonEnabled[ButtonNext], quint8(1));
        QCOMPARE(inGameButtonEnabled[ButtonMove], quint8(0));

        // Add: the territory armies.
        enterTerritoryBonusPhase();
        QCOMPARE(messageQueueTexts().last(), QStringLiteral("Add 4 armies based on your territories."));
        QVERIFY(clickAndAnswer(inSouthAmerica, pendingTerritoryBonusCount, 3));
        QCOMPARE(messageQueueTexts().last(), QStringLiteral("Add 1 army based on your territories."));
        QVERIFY(clickAndAnswer(inSouthAmerica, pendingTerritoryBonusCount, 1));
        QCOMPARE(territoryState[inSouthAmerica].armies, start + 6);
        QCOMPARE(territoryArmiesDue, 0);
        QVERIFY(!territoryBonusPhase);
        QCOMPARE(inGameButtonEnabled[ButtonAdd], quint8(0));
        QCOMPARE(armiesOf(p), armiesAtTurnStart + 6);

        // Next Player: the turn passes to the next human.
        resetTurnCounters();
        QCOMPARE(turnsTaken[p], 1);
        QCOMPARE(currentPlayer, other);
        QCOMPARE(turnStarted, quint8(0));
        QCOMPARE(moveAllowance, 0);
        for (int b = ButtonNext; b <= ButtonCancel; ++b)
            QCOMPARE(inGameButtonEnabled[b], quint8(0));
    }

    // On a map of any size and with any number of players, every player who holds a territory
    // that can take an army places at least one, a player with nothing to place is passed over
    // at once, and the first turn begins.
    void everyPlayerPlacesOnAMapOfAnySize_data()
    {
        QTest::addColumn<int>("players");
        QTest::addColumn<bool>("strongholds");
        for (int players = 2; players <= kMaxPlayers; ++players)
            for (bool strongholds : {false, true})
                QTest::newRow(qPrintable(QStringLiteral("%1 players%2").arg(players).arg(strongholds ? ", strongholds" : "")))
                    << players << strongholds;
    }
    void everyPlayerPlacesOnAMapOfAnySize()
    {
        QFETCH(int, players);
        QFETCH(bool, strongholds);
        for (int territories = 2; territories <= kMaxTerritories; ++territories) {
            const QString where = QStringLiteral("%1 territories").arg(territories);
            QVERIFY2(loadChainMap(territories), qPrintable(where));
            setUpPlayers(players, players, ModeHotseat);
            strongholdsEnabled = strongholds;
            dealTerritories();
            QVERIFY2(initialArmies >= 1, qPrintable(where));
            startLocalGame();
            std::array<int, kMaxPlayers + 1> placed{};
            for (int turn = 0; turn < players && initialPlacementPhase; ++turn) {
                const int p = currentPlayer;
                if (strongholdPhase) {
                    selectOwnTerritory = 1;
                    selectPlacementTerritory(ownTerritoryWhere(p, strongholdAllowed));
                    chooseStronghold(selectedTerritory);
                }
                const int before = armiesOf(p);
                if (currentPlayer == p)
                    placeAllInitialArmies();
                placed[p] = armiesOf(p) - before;
                clearStepQueues();
            }
            QVERIFY2(!initialPlacementPhase && !strongholdPhase, qPrintable(where));
            for (int p = 1; p <= players; ++p) {
                const bool roomToPlace = ownTerritoryWhere(p, [p](int t) { return t != playerTable[p].stronghold(); }) != 0;
                QVERIFY2(placed[p] >= (roomToPlace ? 1 : 0), qPrintable(where + QStringLiteral(", player %1").arg(p)));
            }
        }
    }

    void strongholdGame()
    {
        loadWorld();
        setUpPlayers(3, 3, ModeHotseat);
        strongholdsEnabled = 1;
        dealTerritories();
        startLocalGame();
        QVERIFY(strongholdPhase);
        QCOMPARE(messageQueueTexts().last(), QStringLiteral("Choose your stronghold"));

        const int first = currentPlayer;
        int s = 1;
        while (territoryState[s].owner != first)
            ++s;
        chooseStronghold(s);
        QCOMPARE(playerTable[first].stronghold(), s);
        QVERIFY(!strongholdPhase && initialPlacementPhase);
        QCOMPARE(messageSteps(6), 1);
        // The stronghold's 15 take no initial armies on top.
        placeAllInitialArmies();
        QCOMPARE(territoryState[s].armies, 15);

        // The next human chooses a stronghold too.
        QVERIFY(currentPlayer != first);
        QVERIFY(strongholdPhase);
    }

    void strongholdNotNextToAGuardedTerritoryUnlessNothingElseIsLeft()
    {
        playLineGame({{2, 1}, {2, 1}, {1, 15}, {2, 1}, {2, 1}});
        strongholdsEnabled = 1;
        currentPlayer = 2;
        strongholdPhase = initialPlacementPhase = 1;
        selectOwnTerritory = 1;
        // 2 and 4 list 3; 5 lists only 4, so it is free.
        selectPlacementTerritory(2);
        QCOMPARE(selectedTerritory, 0);
        QCOMPARE(ui.beeps, 1);
        selectPlacementTerritory(5);
        QCOMPARE(selectedTerritory, 5);
        territoryState[5].owner = 1;
        selectPlacementTerritory(4);
        QCOMPARE(selectedTerritory, 0);
        territoryState[1].owner = 1;
        // Every territory he still has borders the guarded one: then it is allowed.
        selectPlacementTerritory(2);
        QCOMPARE(selectedTerritory, 2);
    }

    void twoPlayerGameWithTheNeutralArmy()
    {
        loadWorld();
        setUpPlayers(2, 3, ModeHotseat);
        neutralArmyActive = 1;
        dealTerritories();
        QCOMPARE(initialArmies, 21);
        startLocalGame();
        const int first = currentPlayer;
        const int second = 3 - first;
        placeAllInitialArmies();
        if (first == 2) {
            // The neutral army places its armies like a computer player, between the humans.
            QCOMPARE(actionQueueTypes().count(8), 1);
            QCOMPARE(actionQueue[actionQueueTypes().indexOf(8) + 1].arg[1], 3);
        }
        QCOMPARE(currentPlayer, second);
        placeAllInitialArmies();
        QCOMPARE(actionQueueTypes().count(8), 1);
        QVERIFY(!initialPlacementPhase);
        QCOMPARE(currentPlayer, first);

        // Play goes back and forth between the humans; the neutral army never has a turn.
        QList<int> turns;
        for (int i = 0; i < 4; ++i) {
            beginTurn();
            QVERIFY(turnStarted);
            turns.append(currentPlayer);
            resetTurnCounters();
        }
        QCOMPARE(turns, (QList<int>{first, second, first, second}));
        QCOMPARE(turnsTaken[3], 0);
        QCOMPARE(messageSteps(5), 0);

        // With player 1 out, play stays with player 2.
        for (int t = 1; t <= territoryCount; ++t)
            if (territoryState[t].owner == 1)
                territoryState[t].owner = 2;
        recountAllPlayers();
        currentPlayer = 2;
        nextPlayer();
        QCOMPARE(currentPlayer, 2);
    }

    void turnOrderSkipsPlayersWhoAreOut_data()
    {
        QTest::addColumn<bool>("strongholds");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("next");
        QTest::newRow("wraps") << false << 4 << 1;
        QTest::newRow("skips the player without territory") << false << 1 << 3;
        QTest::newRow("skips the player without stronghold") << true << 3 << 1;
    }

    void turnOrderSkipsPlayersWhoAreOut()
    {
        QFETCH(bool, strongholds);
        QFETCH(int, from);
        QFETCH(int, next);
        loadWorld();
        setUpPlayers(1, 4, ModeSinglePlayer);
        dealTerritories();
        strongholdsEnabled = strongholds;
        for (int p = 1; p <= 3; ++p)
            playerTable[p].stronghold() = 1;
        for (int t = 1; t <= territoryCount; ++t)
            if (territoryState[t].owner == 2)
                territoryState[t].owner = 3;
        recountAllPlayers();
        QCOMPARE(followingPlayer(from), next);
    }

    void nextPlayerHandsOverToComputersAndCountsRounds()
    {
        loadWorld();
        setUpPlayers(1, 3, ModeSinglePlayer);
        dealTerritories();
        currentPlayer = 1;
        turnStarted = 1;
        nextPlayer();
        QCOMPARE(currentPlayer, 2);
        QCOMPARE(messageSteps(5), 1);
        QCOMPARE(messageQueue[messageQueueCount].arg[1], 1);
        QCOMPARE(turnStarted, quint8(1)); // the hand-over check must not begin player 1 again
        QCOMPARE(quietRounds, 0);
        passTurnToNextPlayer();
        passTurnToNextPlayer();
        QCOMPARE(currentPlayer, 1);
        QCOMPARE(quietRounds, 1);
        QCOMPARE(turnStarted, quint8(0));
        QCOMPARE(turnsTaken[1], 1);
        QCOMPARE(turnsTaken[2], 1);
        QCOMPARE(turnsTaken[3], 1);
    }

    // ---- Troop experience ----

    void troopExperienceByRound_data()
    {
        QTest::addColumn<int>("turns");
        QTest::addColumn<int>("losses1");
        QTest::addColumn<int>("losses2");
        QTest::addColumn<int>("expected1");
        QTest::addColumn<int>("expected2");
        QTest::newRow("before round 10 unchanged") << 8 << 30 << 10 << 100 << 100;
        QTest::newRow("round 10 recomputed") << 9 << 30 << 10 << 150 << 50;
        QTest::newRow("low raised to 50 before 13") << 12 << 39 << 1 << 195 << 50;
        QTest::newRow("low kept from 13") << 13 << 39 << 1 << 195 << 5;
        QTest::newRow("no losses unchanged") << 20 << 0 << 0 << 100 << 100;
    }

    void troopExperienceByRound()
    {
        QFETCH(int, turns);
        QFETCH(int, losses1);
        QFETCH(int, losses2);
        QFETCH(int, expected1);
        QFETCH(int, expected2);
        loadWorld();
        setUpPlayers(2, 2, ModeHotseat);
        troopExperienceEnabled = 1;
        dealTerritories();
        currentPlayer = 1;
        turnsTaken[1] = turns;
        playerTable[1].battleLosses() = losses1;
        playerTable[2].battleLosses() = losses2;
        beginTurn();
        QCOMPARE(troopExperience[1], expected1);
        QCOMPARE(troopExperience[2], expected2);
        QCOMPARE(troopExperienceShown[1][1], expected1);
        QCOMPARE(troopExperienceShown[1][2], expected2);
    }

    void troopExperienceOfPlayersOutAndTheNeutralArmy()
    {
        loadWorld();
        setUpPlayers(2, 3, ModeHotseat);
        neutralArmyActive = 1;
        strongholdsEnabled = 1;
        troopExperienceEnabled = 1;
        dealTerritories();
        playerTable[1].stronghold() = 1;
        playerTable[2].stronghold() = 0; // lost
        playerTable[3].stronghold() = 5;
        playerTable[1].battleLosses() = 10;
        playerTable[2].battleLosses() = 10;
        playerTable[3].battleLosses() = 1;
        currentPlayer = 1;
        turnsTaken[1] = 15;
        updateTroopExperience();
        QCOMPARE(troopExperience[2], 0);
        QCOMPARE(troopExperience[3], 100);
        QCOMPARE(troopExperience[1], 10 * 3 * 100 / 21);
    }

    // ---- Buttons, phases, cancel ----

    void actionFlagsReadAdjacencyOneWay()
    {
        playLineGame({{1, 1}, {1, 1}, {1, 5}, {1, 1}, {2, 9}});
        // 3 lists itself and 2 and 4, all own: a move, no attack. 4 does not list 5.
        updateActionFlags();
        QCOMPARE(canAttackFlag, 'p');
        QCOMPARE(canMoveFlag, 'j');
        currentPlayer = 2;
        updateActionFlags();
        QCOMPARE(canAttackFlag, 'a');
        QCOMPARE(canMoveFlag, 'n');
    }

    void cancelDropsTheSelection()
    {
        playLineGame({{1, 3}, {1, 3}, {1, 3}, {2, 3}, {2, 3}});
        territoryArmiesDue = 3;
        enterAttackPhase();
        QCOMPARE(inGameButtonEnabled[ButtonCancel], quint8(1));
        QCOMPARE(inGameButtonEnabled[ButtonAdd], quint8(0));
        selectOwnTerritory = 1;
        selectPlacementTerritory(3);
        QCOMPARE(territoryChanged[3], 'j');
        attackSourcePhase = 0;
        attackTargetPhase = 1;
        endHumanTurn();
        QVERIFY(!attackTargetPhase && !attackSourcePhase);
        QCOMPARE(territoryChanged[3], 'n');
        QCOMPARE(territoryMark[3], 'n');
        QCOMPARE(inGameButtonEnabled[ButtonAdd], quint8(1));
        QCOMPARE(inGameButtonEnabled[ButtonAttack], quint8(1));
        QCOMPARE(inGameButtonEnabled[ButtonCancel], quint8(0));
        QCOMPARE(messageQueueTexts().last(), QStringLiteral("Choose Add or Attack"));
        speedFlag224 = 1;
        endHumanTurn();
        QCOMPARE(messageQueueTexts().last(), QStringLiteral(" "));
    }

    void moveNeedsANeighbourAndNotItself()
    {
        playLineGame({{1, 4}, {1, 4}, {1, 4}, {2, 4}, {2, 4}});
        attackMadeThisTurn = 1;
        moveAllowance = 7;
        // 3 lists itself: a move onto itself is refused and moves nothing.
        sourceTerritory = targetTerritory = 3;
        pendingMoveCount = 1;
        applyArmyCount(2);
        QCOMPARE(territoryState[3].armies, 4);
        QCOMPARE(moveAllowance, 7);
        QCOMPARE(ui.beeps, 1);
        // 1 and 3 are not neighbours.
        sourceTerritory = 1;
        targetTerritory = 3;
        pendingMoveCount = 1;
        applyArmyCount(2);
        QCOMPARE(territoryState[1].armies, 4);
        QCOMPARE(ui.beeps, 2);
        // A move is held to what is left of the allowance.
        moveAllowance = 2;
        sourceTerritory = 2;
        targetTerritory = 3;
        pendingMoveCount = 1;
        applyArmyCount(3);
        QCOMPARE(territoryState[2].armies, 2);
        QCOMPARE(territoryState[3].armies, 6);
        QCOMPARE(moveAllowance, 0);
    }

    void humanAttackAnswers()
    {
        playLineGame({{1, 3}, {1, 3}, {1, 3}, {2, 1}, {2, 1}});
        attackRule = 'j';
        // The answer 0 drops the target but keeps the source.
        sourceTerritory = 3;
        targetTerritory = 4;
        attackTargetPhase = 1;
        pendingAttackCount = 1;
        applyArmyCount(0);
        QVERIFY(attackTargetPhase);
        QCOMPARE(territoryState[4].owner, 2);
        // 1 does not list 4: refused, nothing fought.
        sourceTerritory = 1;
        pendingAttackCount = 1;
        applyArmyCount(2);
        QCOMPARE(ui.beeps, 1);
        QVERIFY(!attackMadeThisTurn);
        QVERIFY(attackSourcePhase && !attackTargetPhase);
        // An answer that is fought is the attack rules' own test.
    }

    // ---- Cards ----

    void cardSetsOfferedToAHuman_data()
    {
        QTest::addColumn<int>("artillery");
        QTest::addColumn<int>("infantry");
        QTest::addColumn<int>("cavalry");
        QTest::addColumn<int>("wild");
        QTest::addColumn<int>("sets");
        QTest::addColumn<int>("bestValue");
        QTest::addColumn<int>("bestCards");
        QTest::newRow("no set") << 1 << 1 << 1 << 0 << 0 << 0 << 0;
        QTest::newRow("a pair") << 2 << 1 << 0 << 0 << 1 << 5 << 2;
        QTest::newRow("wild with one single card") << 0 << 1 << 0 << 1 << 1 << 5 << 2;
        QTest::newRow("wild and two singles") << 1 << 1 << 0 << 1 << 2 << 5 << 2;
        QTest::newRow("three and two: 15 traded") << 3 << 2 << 0 << 0 << 3 << 15 << 5;
        QTest::newRow("two pairs") << 2 << 0 << 2 << 0 << 3 << 10 << 4;
        QTest::newRow("many cards") << 3 << 3 << 2 << 2 << 6 << 45 << 10;
    }

    void cardSetsOfferedToAHuman()
    {
        QFETCH(int, artillery);
        QFETCH(int, infantry);
        QFETCH(int, cavalry);
        QFETCH(int, wild);
        QFETCH(int, sets);
        QFETCH(int, bestValue);
        QFETCH(int, bestCards);
        CardHand hand;
        hand.artillery = artillery;
        hand.infantry = infantry;
        hand.cavalry = cavalry;
        hand.wild = wild;
        std::array<CardSet, kMaxOfferedCardSets + 1> offered;
        QCOMPARE(collectCardSets(hand, offered), sets);
        if (sets == 0)
            return;
        QCOMPARE(offered[1].valueTraded, bestValue);
        QCOMPARE(offered[1].handedIn.total(), bestCards);
        for (int i = 1; i <= sets; ++i) {
            const CardHand &in = offered[i].handedIn;
            QVERIFY(in.artillery <= artillery && in.infantry <= infantry && in.cavalry <= cavalry && in.wild <= wild);
            QVERIFY(in.total() >= 2);
            QCOMPARE(offered[i].valueTraded, evaluateCardSet(in).valueTraded);
            if (i > 1)
                QVERIFY(offered[i].valueTraded <= offered[i - 1].valueTraded);
        }
    }

    void fiveCardsMustBeTradedAtTheStartOfTheTurn()
    {
        loadWorld();
        setUpPlayers(2, 2, ModeHotseat);
        dealTerritories();
        currentPlayer = 1;
        playerTable[1].artillery() = 3;
        playerTable[1].infantry() = 2;
        cardDeckCounts = {2, 17, 15, 14};
        QCOMPARE(cardsInPlay(), 53);
        beginTurn();
        QCOMPARE(ui.cardDialogs, 1);
        QCOMPARE(cardTradeRequired, quint8(1));
        QVERIFY(offeredCardSetCount >= 1);
        for (int b = ButtonNext; b <= ButtonCancel; ++b)
            QCOMPARE(inGameButtonEnabled[b], quint8(0));
        QCOMPARE(offeredCardSets[1].valueTraded, 15);
        kaartidlg1();
        QCOMPARE(handOf(1).total(), 0);
        QCOMPARE(cardsInPlay(), 53);
        QCOMPARE(cardArmiesDue, 15);
        QCOMPARE(cardTradeMarker, 177);
        QCOMPARE(playerTable[1].cardBonusReceived(), 15);
        QVERIFY(cardBonusPhase);
        QCOMPARE(messageQueueTexts().last(), QStringLiteral("Add 15 armies based on your cards."));
        int own = 1;
        while (territoryState[own].owner != 1)
            ++own;
        QVERIFY(clickAndAnswer(own, pendingCardBonusCount, 15));
        QVERIFY(!cardBonusPhase);
        QCOMPARE(territoryState[own].armies, 16);
        QCOMPARE(messageQueueTexts().last(), QStringLiteral("Choose Add or Attack"));
        QCOMPARE(inGameButtonEnabled[ButtonAdd], quint8(1));
    }

    void voluntaryTradeBeforeAttacking()
    {
        loadWorld();
        setUpPlayers(2, 2, ModeHotseat);
        dealTerritories();
        currentPlayer = 1;
        playerTable[1].cavalry() = 2;
        cardDeckCounts[CardCavalry] = 15;
        beginTurn();
        QCOMPARE(ui.cardDialogs, 0);
        QCOMPARE(inGameButtonEnabled[ButtonCards], quint8(1));
        openCardTradeDialog();
        QCOMPARE(ui.cardDialogs, 1);
        kaartidlg0();
        QCOMPARE(ui.beeps, 0);
        QCOMPARE(handOf(1).cavalry, 2);
        openCardTradeDialog();
        kaartidlg2(); // not offered
        QCOMPARE(ui.beeps, 1);
        kaartidlg1();
        QCOMPARE(cardArmiesDue, 5);
        QCOMPARE(cardDeckCounts[CardCavalry], 17);
        // Once attacked, no more trades this turn.
        playerTable[1].cavalry() = 2;
        attackMadeThisTurn = 1;
        refreshTurnButtons();
        QCOMPARE(inGameButtonEnabled[ButtonCards], quint8(0));
    }
};

TARVAN_TEST_MAIN(TestTurnFlow)
#include "test_turnflow.moc"
