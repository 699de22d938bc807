// Attacks: the two battle rules, the refusals, conquest with its card and move-in, the records
// and continent flags, eliminations, the card deck, and the human's attack step.

#include "TestSupport.h"
#include "RulesTestMap.h"

#include "rules/Attack.h"
#include "rules/Battle.h"
#include "rules/Cards.h"
#include "rules/GameEnd.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/StepQueues.h"

#include <QList>

namespace {

struct Snapshot {
    std::array<TerritoryState, kMaxTerritories + 1> territories;
    std::array<PlayerRecord, kMaxPlayers + 1> players;
    std::array<qint32, 4> deck;
    qint32 actions;
    qint32 messages;

    static Snapshot take()
    {
        return {territoryState, playerTable, cardDeckCounts, actionQueueCount, messageQueueCount};
    }
    bool operator==(const Snapshot &o) const
    {
        for (int p = 0; p <= kMaxPlayers; ++p)
            if (players[p].f != o.players[p].f)
                return false;
        return territories == o.territories && deck == o.deck && actions == o.actions
            && messages == o.messages;
    }
};

// The message steps queued, as type and first argument.
QList<QPair<int, int>> messageSteps()
{
    QList<QPair<int, int>> steps;
    for (int i = 1; i <= messageQueueCount; ++i)
        steps.append({messageQueue[i].type, messageQueue[i].arg[1]});
    return steps;
}

// Every record count that follows from the map agrees with it.
bool recordsMatchMap()
{
    for (int p = 1; p <= kMaxPlayers; ++p) {
        PlayerRecord expected = playerTable[p];
        recountPlayer(p);
        if (expected.f != playerTable[p].f)
            return false;
    }
    return true;
}

} // namespace

class TestAttack : public QObject {
    Q_OBJECT

private:
    ScriptedInteraction ui;
    char cardFlag = 'n';

    // Three players on the test map; player 1 is the human.
    void setUpGame(char rule)
    {
        QVERIFY(loadRulesTestMap());
        playerCount = 3;
        humanPlayerCount = 1;
        currentPlayer = 1;
        attackRule = rule;
        fastSpeed = 0;
        cardFlag = 'n';
    }

private slots:
    void init()
    {
        resetAllGameState(11);
        // The battles without their animations, which only the game loop plays.
        animationsEnabled = 0;
        ui = ScriptedInteraction();
        setInteraction(&ui);
    }
    void cleanup() { setInteraction(nullptr); }

    // ---- The battle rules ----

    void oneForOneOutcomes_data()
    {
        QTest::addColumn<int>("attackers");
        QTest::addColumn<int>("defenders");
        QTest::addColumn<int>("attackerExperience");
        QTest::addColumn<int>("defenderExperience");
        QTest::addColumn<int>("attackerLosses");
        QTest::addColumn<int>("defenderLosses");
        QTest::newRow("5 against 3 takes it for 3") << 5 << 3 << 100 << 100 << 3 << 3;
        QTest::newRow("3 against 3: the defender holds") << 3 << 3 << 100 << 100 << 3 << 2;
        QTest::newRow("2 against 5 costs 2 each") << 2 << 5 << 100 << 100 << 2 << 2;
        QTest::newRow("1 against 1: the defender keeps its army") << 1 << 1 << 100 << 100 << 1 << 0;
        QTest::newRow("the winner keeps its last army") << 10 << 9 << 100 << 100 << 9 << 9;
        QTest::newRow("experience lets 3 beat 5") << 3 << 5 << 200 << 100 << 2 << 5;
        QTest::newRow("experience lets 3 hold against 4") << 4 << 3 << 100 << 150 << 4 << 2;
        QTest::newRow("equal strength through experience") << 3 << 2 << 100 << 150 << 3 << 1;
        QTest::newRow("losses convert rounded up") << 7 << 4 << 150 << 100 << 3 << 4;
        QTest::newRow("no experience still fights") << 2 << 3 << 100 << 0 << 1 << 3;
    }

    void oneForOneOutcomes()
    {
        QFETCH(int, attackers);
        QFETCH(int, defenders);
        QFETCH(int, attackerExperience);
        QFETCH(int, defenderExperience);
        const BattleResult result = fightOneForOne(attackers, defenders, attackerExperience, defenderExperience);
        QTEST(int(result.attackerLosses), "attackerLosses");
        QTEST(int(result.defenderLosses), "defenderLosses");
    }

    void troopExperienceCountsOnlyWhenOn()
    {
        setUpGame('j');
        troopExperience[1] = 200;
        troopExperience[2] = 100;
        layOut({{1, 4}, {1, 1}, {2, 5}, {2, 1}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});
        resolveAttack(1, 3, 3, &cardFlag);
        QCOMPARE(territoryState[3].owner, 2); // 3 against 5 without experience
        troopExperienceEnabled = 1;
        territoryState[1].armies = 4;
        territoryState[3].armies = 5;
        resolveAttack(1, 3, 3, &cardFlag);
        QCOMPARE(territoryState[3].owner, 1); // 3 x 200 against 5 x 100
    }

    void diceLikeRepeatsWithTheSameSeed()
    {
        auto battles = [] {
            QList<int> losses;
            for (int attackers = 1; attackers <= 12; ++attackers)
                for (int defenders = 1; defenders <= 6; ++defenders) {
                    const BattleResult r = fightDiceLike(attackers, defenders, 100, 100);
                    losses << r.attackerLosses << r.defenderLosses << r.rounds;
                }
            return losses;
        };
        randomSource().seed(99);
        const QList<int> first = battles();
        randomSource().seed(99);
        QCOMPARE(battles(), first);
        randomSource().seed(100);
        QVERIFY(battles() != first);
    }

    // One die against one: the odds of the pair rule, ties going to the defender.
    void diceLikeOneDieAgainstOne_data()
    {
        QTest::addColumn<int>("attackerExperience");
        QTest::addColumn<int>("defenderExperience");
        QTest::addColumn<int>("winsIn36");
        QTest::newRow("plain dice") << 100 << 100 << 15;
        QTest::newRow("seasoned attacker") << 200 << 100 << 27;
        QTest::newRow("half as seasoned again") << 150 << 100 << 24;
        QTest::newRow("seasoned defender") << 100 << 200 << 6;
    }

    void diceLikeOneDieAgainstOne()
    {
        QFETCH(int, attackerExperience);
        QFETCH(int, defenderExperience);
        QFETCH(int, winsIn36);
        const int battles = 9000;
        int won = 0;
        for (int i = 0; i < battles; ++i)
            won += fightDiceLike(1, 1, attackerExperience, defenderExperience).defenderLosses;
        const double expected = winsIn36 / 36.0;
        QVERIFY2(qAbs(double(won) / battles - expected) < 0.03,
                 qPrintable(QStringLiteral("%1 of %2").arg(won).arg(battles)));
    }

    void diceLikeFavoursTheLargerForce()
    {
        // Conquests out of 4000 battles against 4 defenders grow with the force sent.
        int previous = -1;
        for (int attackers : {1, 2, 4, 6, 10, 20}) {
            int won = 0;
            for (int i = 0; i < 4000; ++i)
                won += fightDiceLike(attackers, 4, 100, 100).defenderLosses == 4 ? 1 : 0;
            QVERIFY2(won > previous, qPrintable(QStringLiteral("%1 attackers won %2").arg(attackers).arg(won)));
            previous = won;
        }
        QVERIFY(previous > 3800);
        // Experience weighs in the same way.
        int plain = 0, seasoned = 0;
        for (int i = 0; i < 4000; ++i) {
            plain += fightDiceLike(4, 4, 100, 100).defenderLosses == 4 ? 1 : 0;
            seasoned += fightDiceLike(4, 4, 180, 100).defenderLosses == 4 ? 1 : 0;
        }
        QVERIFY(seasoned > plain + 400);
    }

    // ---- What resolveAttack refuses ----

    void refusedAttacksChangeNothing_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("armies");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("over");
        QTest::newRow("onto itself") << 5 << 2 << 5 << false;
        QTest::newRow("not a neighbour") << 1 << 3 << 6 << false;
        QTest::newRow("back along a one-way link") << 1 << 3 << 7 << false;
        QTest::newRow("own territory") << 1 << 3 << 2 << false;
        QTest::newRow("from one army") << 4 << 1 << 5 << false;
        QTest::newRow("no army committed") << 1 << 0 << 3 << false;
        QTest::newRow("armies below zero") << 1 << -4 << 3 << false;
        QTest::newRow("territory 0") << 0 << 3 << 3 << false;
        QTest::newRow("beyond the map") << 1 << 3 << 9 << false;
        QTest::newRow("far beyond the tables") << 1 << 3 << 999 << false;
        QTest::newRow("the game is over") << 1 << 3 << 3 << true;
    }

    void refusedAttacksChangeNothing()
    {
        QFETCH(int, from);
        QFETCH(int, armies);
        QFETCH(int, to);
        QFETCH(bool, over);
        setUpGame('n');
        layOut({{1, 5}, {1, 1}, {2, 3}, {1, 1}, {2, 4}, {3, 2}, {3, 2}, {3, 1}});
        gameOver = over ? 1 : 0;
        const Snapshot before = Snapshot::take();
        resolveAttack(from, armies, to, &cardFlag);
        QVERIFY(Snapshot::take() == before);
        QCOMPARE(attackMadeThisTurn, quint8(0));
        QCOMPARE(cardFlag, 'n');
    }

    void oneWayLinkAttacksForward()
    {
        setUpGame('j');
        layOut({{1, 1}, {1, 1}, {1, 1}, {1, 1}, {1, 1}, {3, 1}, {3, 4}, {3, 1}});
        currentPlayer = 3;
        resolveAttack(7, 3, 1, &cardFlag);
        QCOMPARE(territoryState[1].owner, 3);
    }

    void commitsAtMostAllArmiesButOne()
    {
        setUpGame('j');
        layOut({{1, 4}, {1, 1}, {2, 5}, {2, 1}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});
        resolveAttack(1, 50, 3, &cardFlag);
        QCOMPARE(playerTable[1].armiesCommitted(), 3);
        QCOMPARE(attackArmies, 3);
        QCOMPARE(territoryState[1].armies, 1); // 3 against 5 lose all three
        QCOMPARE(territoryState[3], (TerritoryState{2, 2}));
    }

    // ---- Armies are neither made nor lost outside the battle ----

    void randomGamesKeepEveryArmyAccountedFor_data()
    {
        QTest::addColumn<char>("rule");
        QTest::addColumn<bool>("experience");
        QTest::addColumn<quint32>("seed");
        QTest::newRow("dice-like") << 'n' << false << 5u;
        QTest::newRow("dice-like with experience") << 'n' << true << 6u;
        QTest::newRow("1-for-1") << 'j' << false << 7u;
        QTest::newRow("1-for-1 with experience") << 'j' << true << 8u;
    }

    void randomGamesKeepEveryArmyAccountedFor()
    {
        QFETCH(char, rule);
        QFETCH(bool, experience);
        QFETCH(quint32, seed);
        selectMap(MapWorld);
        loadSelectedBuiltinMap();
        QCOMPARE(int(territoryCount), 42);
        randomSource().seed(seed);
        playerCount = 4;
        humanPlayerCount = 0;
        attackRule = rule;
        troopExperienceEnabled = experience;
        for (int p = 1; p <= playerCount; ++p)
            troopExperience[p] = 60 + 30 * p;
        for (int t = 1; t <= territoryCount; ++t)
            territoryState[t] = {(t - 1) % playerCount + 1, randomSource().between(1, 9)};
        recountAllPlayers();
        qint64 armiesGiven = armiesOnMap();
        std::array<char, kMaxPlayers + 1> flags;
        flags.fill('n');

        int attacks = 0;
        int conquests = 0;
        for (int step = 0; step < 3000 && !gameOver; ++step) {
            currentPlayer = step / 20 % playerCount + 1;
            if (step % 20 == 0) {
                // A new turn: a fresh card flag and some armies to fight with.
                flags[currentPlayer] = 'n';
                for (int t = 1; t <= territoryCount; ++t)
                    if (territoryState[t].owner == currentPlayer) {
                        const int extra = randomSource().between(0, 3);
                        territoryState[t].armies += extra;
                        armiesGiven += extra;
                    }
                recountAllPlayers();
            }
            QList<QPair<int, int>> choices;
            for (int t = 1; t <= territoryCount; ++t)
                for (int i = 1; i <= kMaxNeighbours && territoryNeighbours[t][i] != 0; ++i) {
                    const int u = territoryNeighbours[t][i];
                    if (territoryState[t].owner == currentPlayer && territoryState[t].armies >= 2
                        && territoryState[u].owner != currentPlayer)
                        choices.append({t, u});
                }
            if (choices.isEmpty())
                continue;
            const auto [from, to] = choices[randomSource().below(choices.size())];
            const int armies = randomSource().between(1, territoryState[from].armies);
            const int defenders = territoryState[to].armies;
            const qint64 lossesBefore = battleLossesOfAll();
            const qint64 onMapBefore = armiesOnMap();
            resolveAttack(from, armies, to, &flags[currentPlayer]);
            if (territoryState[to].owner == currentPlayer && conquestMovePending) {
                ++attacks;
                ++conquests;
                // Both sides keep at least one army after a conquest.
                QVERIFY(territoryState[from].armies >= 1);
                QCOMPARE(territoryState[to].armies, 1);
                resolveAttack(from, randomSource().between(0, territoryState[from].armies + 2), to,
                              &flags[currentPlayer]);
                QVERIFY(territoryState[from].armies >= 1);
            } else {
                ++attacks;
                QVERIFY(battleLossesOfAll() > lossesBefore);
                QVERIFY(territoryState[to].armies >= 1);
                QVERIFY(territoryState[to].armies <= defenders);
            }
            QCOMPARE(armiesOnMap(), onMapBefore - (battleLossesOfAll() - lossesBefore));
            QCOMPARE(armiesOnMap(), armiesGiven - battleLossesOfAll());
            clearStepQueues();
            for (int t = 1; t <= territoryCount; ++t)
                QVERIFY(territoryState[t].armies >= 1 && isValidPlayer(territoryState[t].owner));
            QVERIFY(recordsMatchMap());
            QCOMPARE(cardsInPlay(), 53);
        }
        QVERIFY2(attacks > 150 && conquests > 50, qPrintable(QStringLiteral("%1 %2").arg(attacks).arg(conquests)));
        // A game played to its end was won by conquering every territory.
        if (gameOver)
            QCOMPARE(playerTable[currentPlayer].territoriesHeld(), 42);
    }

    // ---- Conquest, cards and the move in ----

    void aTurnEarnsOneCardAtMost()
    {
        setUpGame('j');
        layOut({{1, 9}, {1, 9}, {2, 1}, {2, 1}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});
        resolveAttack(1, 4, 3, &cardFlag);
        QCOMPARE(cardFlag, 'j');
        QCOMPARE(playerTable[1].cardCount(), 1);
        resolveAttack(2, 4, 4, &cardFlag);
        QCOMPARE(territoryState[4].owner, 1);
        QCOMPARE(playerTable[1].cardCount(), 1);
        QCOMPARE(cardsInPlay(), 53);
        resolveAttack(2, 5, 4, &cardFlag); // the move in
        QCOMPARE(territoryState[4].armies, 6);
        // The next turn starts with the flag cleared and may earn the next card.
        cardFlag = 'n';
        resolveAttack(4, 3, 5, &cardFlag);
        QCOMPARE(playerTable[1].cardCount(), 2);
        QCOMPARE(cardsInPlay(), 53);
    }

    void anEmptyDeckGivesNoCard()
    {
        setUpGame('j');
        layOut({{1, 9}, {1, 1}, {2, 1}, {2, 1}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});
        playerTable[2].cavalry() = cardDeckCounts[CardCavalry];
        playerTable[2].infantry() = cardDeckCounts[CardInfantry];
        playerTable[2].artillery() = cardDeckCounts[CardArtillery];
        playerTable[2].wild() = cardDeckCounts[CardWild];
        cardDeckCounts.fill(0);
        resolveAttack(1, 4, 3, &cardFlag);
        QCOMPARE(territoryState[3].owner, 1);
        QCOMPARE(playerTable[1].cardCount(), 0);
        QCOMPARE(cardFlag, 'j');
        QCOMPARE(cardsInPlay(), 53);
    }

    void theMoveInFollowsOnlyTheConquest_data()
    {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("moved");
        QTest::newRow("three") << 3 << 3;
        QTest::newRow("everything but one") << 4 << 4;
        QTest::newRow("more than there is") << 40 << 4;
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("below zero") << -2 << 0;
    }

    void theMoveInFollowsOnlyTheConquest()
    {
        QFETCH(int, asked);
        QFETCH(int, moved);
        setUpGame('j');
        layOut({{1, 8}, {1, 1}, {2, 2}, {2, 1}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});
        resolveAttack(1, 3, 3, &cardFlag); // 3 against 2 costs 2: 8 - 2 - 1 = 5 stay behind
        QCOMPARE(territoryState[1].armies, 5);
        resolveAttack(1, asked, 3, &cardFlag);
        QCOMPARE(territoryState[1].armies, 5 - moved);
        QCOMPARE(territoryState[3].armies, 1 + moved);
        QCOMPARE(playerTable[1].totalArmies(), 7);
        // Once made (or declined), the move cannot be repeated, and no other own pair moves.
        resolveAttack(1, 1, 3, &cardFlag);
        resolveAttack(1, 1, 2, &cardFlag);
        QCOMPARE(territoryState[1].armies, 5 - moved);
        QCOMPARE(territoryState[2].armies, 1);
    }

    // ---- Records and continents ----

    void bothRecordsFollowTheBattle()
    {
        setUpGame('j');
        layOut({{1, 7}, {1, 1}, {2, 4}, {2, 3}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});
        resolveAttack(1, 3, 3, &cardFlag); // 3 against 4: lost, costs 3 and 3
        resolveAttack(1, 1, 3, &cardFlag); // 1 against 1: lost, costs 1 and 0
        QCOMPARE(territoryState[1].armies, 3);
        PlayerRecord &a = playerTable[1];
        PlayerRecord &d = playerTable[2];
        QCOMPARE(a.attacksMade(), 2);
        QCOMPARE(a.armiesCommitted(), 4);
        QCOMPARE(a.battles(), 2);
        QCOMPARE(a.battlesLost(), 2);
        QCOMPARE(a.battlesWon(), 0);
        QCOMPARE(a.battleLosses(), 4);
        QCOMPARE(d.battles(), 2);
        QCOMPARE(d.battlesWon(), 2);
        QCOMPARE(d.battleLosses(), 3);
        QCOMPARE(d.attacksMade(), 0);
        QVERIFY(recordsMatchMap());
        QCOMPARE(attackMadeThisTurn, quint8(1));
        // Lost battles leave no move in and earn no card.
        QVERIFY(!conquestMovePending);
        QCOMPARE(cardFlag, 'n');
    }

    void aContinentCompletedFlashesAndCounts()
    {
        setUpGame('j');
        // Player 2 holds South whole; player 1 takes 4 and breaks it, then completes North.
        layOut({{1, 9}, {1, 9}, {3, 1}, {2, 1}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});
        QCOMPARE(playerTable[2].continentHeld(2), 1);
        QCOMPARE(playerTable[2].continentBonus(), 2);
        resolveAttack(2, 3, 4, &cardFlag);
        QCOMPARE(playerTable[2].continentHeld(2), 0);
        QCOMPARE(playerTable[2].continentBonus(), 0);
        QCOMPARE(playerTable[2].continentsLost(), 1);
        QCOMPARE(playerTable[1].continentHeld(1), 0);
        QVERIFY(!actionQueueTypes().contains(5));

        clearStepQueues();
        resolveAttack(1, 3, 3, &cardFlag);
        QCOMPARE(playerTable[1].continentHeld(1), 1);
        QCOMPARE(playerTable[1].continentBonus(), 3);
        QCOMPARE(continentReinforcement(1), 3);
        // The flash is a pair for continent 1, after the territory steps.
        const QList<int> types = actionQueueTypes();
        const int five = types.indexOf(5);
        QVERIFY(five > types.lastIndexOf(1));
        QCOMPARE(types.value(five + 1), 6);
        QCOMPARE(actionQueue[five + 1].arg[1], 1);
        QCOMPARE(actionQueue[five + 2].arg[1], 1);
        QCOMPARE(types.count(5), 1);
    }

    void theBattleIsQueuedForTheMap()
    {
        setUpGame('j');
        currentPlayer = 3;
        layOut({{1, 1}, {1, 1}, {2, 1}, {2, 1}, {2, 1}, {3, 6}, {3, 1}, {3, 1}});
        resolveAttack(6, 2, 5, &cardFlag);
        // Source, then target (with the conquest's sound, a computer's attack), not highlighted.
        QCOMPARE(actionQueue[1].type, 1);
        QCOMPARE(actionQueue[1].arg[1], 6);
        QCOMPARE(actionQueue[1].arg[2], 4);
        QCOMPARE(actionQueue[2].type, 1);
        QCOMPARE(actionQueue[2].arg[1], 5);
        QCOMPARE(actionQueue[2].arg[3], 3);
        QCOMPARE(actionQueue[2].arg[4], 0);
        QCOMPARE(actionQueue[2].arg[5], 3);
        QCOMPARE(actionQueueTexts(), QStringList{QStringLiteral("%1 loses 1, %2 loses 1.")
                                                .arg(playerName[3].trimmed(), playerName[2].trimmed())});
        QCOMPARE(territoryChanged[5], 'n');
    }

    // ---- Eliminations ----

    void anEliminatedPlayersCardsPassOn()
    {
        setUpGame('j');
        layOut({{1, 9}, {1, 1}, {2, 2}, {1, 1}, {1, 1}, {3, 1}, {3, 1}, {3, 1}});
        playerTable[2].infantry() = 2;
        playerTable[2].wild() = 1;
        playerTable[1].cavalry() = 1;
        cardDeckCounts[CardInfantry] -= 2;
        cardDeckCounts[CardWild] -= 1;
        cardDeckCounts[CardCavalry] -= 1;
        currentPlayer = 1;
        humanPlayerCount = 0;
        resolveAttack(1, 5, 3, &cardFlag);
        QCOMPARE(playerTable[2].territoriesHeld(), 0);
        QVERIFY(playerOutOfGame(2));
        QCOMPARE(playerTable[2].cardCount(), 0);
        QCOMPARE(playerTable[1].infantry(), 2);
        QCOMPARE(playerTable[1].wild(), 1);
        QCOMPARE(playerTable[1].cardCount(), 5); // with the card of the conquest
        QCOMPARE(cardsInPlay(), 53);
        QVERIFY(actionQueueTexts().contains(QStringLiteral("%1 is out of the game.").arg(playerName[2].trimmed())));
        QCOMPARE(actionQueue[2].arg[5], 5); // the player-out sound
    }

    // ---- The card deck across trades ----

    void cardsEarnedAndTradedReturnToTheDeck()
    {
        setUpGame('j');
        layOut({{1, 30}, {1, 1}, {2, 1}, {2, 1}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});
        const std::array<qint32, 4> fullDeck = cardDeckCounts;
        // Cards earned turn after turn by conquests...
        for (int turn = 0; turn < 6; ++turn) {
            cardFlag = 'n';
            territoryState[3] = {2, 1};
            territoryState[1].armies = 30;
            recountAllPlayers();
            resolveAttack(1, 3, 3, &cardFlag);
            resolveAttack(1, 0, 3, &cardFlag);
        }
        QCOMPARE(playerTable[1].cardCount(), 6);
        QCOMPARE(cardsInPlay(), 53);
        // ...and traded by the human through the card dialog until none is worth anything.
        int traded = 0;
        while (true) {
            const CardHand before = handOf(1);
            openCardTradeDialog();
            if (offeredCardSetCount < 1)
                break;
            const CardSet offered = offeredCardSets[1];
            kaartidlg1();
            const CardHand after = handOf(1);
            QCOMPARE(before.total() - after.total(), offered.handedIn.total());
            QCOMPARE(cardsInPlay(), 53);
            traded += offered.handedIn.total();
            QVERIFY(traded <= 6);
        }
        QVERIFY(traded >= 2);
        const CardHand left = handOf(1);
        QCOMPARE(cardDeckCounts[CardArtillery], fullDeck[CardArtillery] - left.artillery);
        QCOMPARE(cardDeckCounts[CardInfantry], fullDeck[CardInfantry] - left.infantry);
        QCOMPARE(cardDeckCounts[CardCavalry], fullDeck[CardCavalry] - left.cavalry);
        QCOMPARE(cardDeckCounts[CardWild], fullDeck[CardWild] - left.wild);
    }

    // ---- The human's attack step ----

    void theHumansConquestAsksForTheMoveIn()
    {
        setUpGame('j');
        layOut({{1, 9}, {1, 1}, {2, 2}, {2, 1}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});
        soundEnabled.fill(1);
        soundEnabled[1] = 0;
        animationsEnabled = 0;
        sourceTerritory = 1;
        targetTerritory = 3;
        territoryMark[1] = territoryMark[3] = 'j';
        attackTargetPhase = 1;
        pendingAttackCount = 1;
        saveAllowed = 1;
        applyArmyCount(3); // 3 against 2 costs 2; 9 - 2 - 1 = 6 stay behind
        QCOMPARE(territoryState[3], (TerritoryState{1, 1}));
        QCOMPARE(attackMadeThisTurn, quint8(1));
        QCOMPARE(saveAllowed, quint8(0));
        QCOMPARE(ui.soundsPlayed, QStringList{QStringLiteral("sounds/aanval3.wav")});
        // The question comes behind a pause, offering all but one army.
        QCOMPARE(messageSteps(), (QList<QPair<int, int>>{{100, 0}, {22, 0}}));
        QCOMPARE(messageQueue[2].arg[3], 5);
        QCOMPARE(cardEarnedThisTurn, 'j');

        // The game loop plays step 22; the answer moves the armies and prompts again.
        clearStepQueues();
        pendingConquestMoveCount = 1;
        attackTargetPhase = 1;
        saveAllowed = 1;
        applyArmyCount(4);
        QCOMPARE(territoryState[1].armies, 2);
        QCOMPARE(territoryState[3].armies, 5);
        QCOMPARE(saveAllowed, quint8(0));
        QCOMPARE(ui.soundsPlayed.count(), 2);
        QCOMPARE(messageQueueTexts(), QStringList{QStringLiteral("Attack from ? or choose Move or Next.")});
        QCOMPARE(messageSteps().last().first, 4);
        QCOMPARE(attackSourcePhase, quint8(1));
        QCOMPARE(attackTargetPhase, quint8(0));
        QCOMPARE(territoryMark[1], 'n');
        QCOMPARE(territoryMark[3], 'n');
    }

    // Without a move-in to ask for, the attack step prompts for the next attack at once; with
    // animations on the human's rocket is in the air, and its landing concludes the step.
    void theAttackStepPromptsForTheNextAttack_data()
    {
        QTest::addColumn<int>("armies"); // on territory 1, which attacks territory 3
        QTest::addColumn<int>("committed");
        QTest::addColumn<int>("defenders");
        QTest::addColumn<bool>("rocket");
        QTest::addColumn<int>("attackPossible"); // step 4's argument
        QTest::addColumn<QString>("sound");
        // 2 against 5 costs 2: two armies are left next to an enemy.
        QTest::newRow("failed attack") << 4 << 2 << 5 << false << 1 << "sounds/aanval2.wav";
        // 2 against 1 costs 1: one army is left.
        QTest::newRow("conquest, no army left to move") << 3 << 2 << 1 << false << 0 << "sounds/aanval3.wav";
        QTest::newRow("a rocket in the air") << 4 << 2 << 5 << true << 1 << "sounds/aanval2.wav";
    }

    void theAttackStepPromptsForTheNextAttack()
    {
        QFETCH(int, armies);
        QFETCH(int, committed);
        QFETCH(int, defenders);
        QFETCH(bool, rocket);
        QFETCH(int, attackPossible);
        QFETCH(QString, sound);
        setUpGame('j');
        layOut({{1, armies}, {1, 1}, {2, defenders}, {2, 1}, {2, 1}, {3, 1}, {3, 1}, {3, 1}});
        soundEnabled.fill(1);
        soundEnabled[1] = 0;
        sourceTerritory = 1;
        targetTerritory = 3;
        animationsEnabled = rocket ? 1 : 0;
        resolveAttack(1, committed, 3, &cardEarnedThisTurn);
        concludeAttack();
        if (rocket) {
            // Only the rocket and the explosion are queued; the landing is the loop's.
            QVERIFY(rocketInFlight);
            QCOMPARE(messageQueueTypes(), QVector<int>(13 + 17, 19).toList());
            QVERIFY(ui.soundsPlayed.isEmpty());
            return;
        }
        QVERIFY(!conquestMovePending);
        QCOMPARE(ui.soundsPlayed, QStringList{sound});
        QCOMPARE(messageQueueTexts(), QStringList{QStringLiteral("Attack from ? or choose Move or Next.")});
        QCOMPARE(messageSteps().last(), qMakePair(4, attackPossible));
        QVERIFY(!messageQueueTypes().contains(22));
    }
};

TARVAN_TEST_MAIN(TestAttack)
#include "test_attack.moc"
