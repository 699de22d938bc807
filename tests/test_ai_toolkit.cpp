// The computer players' toolkit: neighbour sums, the pair sort, gateway look-ups, how many
// armies follow a conquest, and card sets.

#include "TestSupport.h"
#include "test_ai_support.h"

#include "ai/AiState.h"
#include "ai/Evaluation.h"
#include "ai/Toolkit.h"
#include "rules/Cards.h"
#include "rules/TurnState.h"

using namespace aitest;

namespace {

// Owners as one digit per territory; every territory gets `armies`.
void setOwners(const QString &owners, int armies = 3)
{
    for (int t = 1; t <= owners.size(); ++t)
        put(t, owners.at(t - 1).digitValue(), armies);
    recountAllPlayers();
}

void giveCards(int player, const CardHand &hand)
{
    PlayerRecord &record = playerTable[player];
    record.artillery() += hand.artillery;
    record.infantry() += hand.infantry;
    record.cavalry() += hand.cavalry;
    record.wild() += hand.wild;
    cardDeckCounts[CardArtillery] -= hand.artillery;
    cardDeckCounts[CardInfantry] -= hand.infantry;
    cardDeckCounts[CardCavalry] -= hand.cavalry;
    cardDeckCounts[CardWild] -= hand.wild;
}

} // namespace

Q_DECLARE_METATYPE(CardHand)

class TestAiToolkit : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        resetAllGameState(7);
        playerCount = 3;
        currentPlayer = aiPlayer = 1;
        aiPlayersLeft = 3;
        fastSpeed = 0;
        playerName[1] = QStringLiteral("Ava");
    }

    void neighbourSums_data()
    {
        QTest::addColumn<int>("territory");
        QTest::addColumn<int>("enemySum");
        QTest::addColumn<int>("balance");
        QTest::addColumn<int>("enemyCount");
        // Territory t holds t armies; odd territories are the player's.
        QTest::newRow("eleven neighbours read to the last slot") << 1 << (2 + 4 + 6 + 8 + 10 + 12)
                                                                 << (42 - (3 + 5 + 7 + 9 + 11)) << 6;
        QTest::newRow("a short list stops at its 0, links to it from elsewhere do not count")
            << 2 << 0 << -1 << 0;
        QTest::newRow("a territory is not its own neighbour") << 13 << 2 << 2 << 1;
    }
    void neighbourSums()
    {
        QFETCH(int, territory);
        Adjacency lists(14);
        lists[1] = {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        for (int t = 2; t <= 12; ++t)
            lists[t] = {1};
        lists[13] = {13, 2};
        QVERIFY(loadMap({{1, {1, 2, 3, 4, 5, 6}}, {1, {7, 8, 9, 10, 11, 12, 13}}}, lists));
        for (int t = 1; t <= 13; ++t)
            put(t, t % 2 == 1 ? 1 : 2, t);
        int enemySum = -1, balance = -1, enemyCount = -1;
        sumNeighbourArmies(territory, enemySum, balance, enemyCount);
        QTEST(enemySum, "enemySum");
        QTEST(balance, "balance");
        QTEST(enemyCount, "enemyCount");
    }

    void sortPairsKeepsFillOrder_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QVector<int>>("expectedIds");
        // Filled as ids 1..5 with values 3, 1, 3, 2, 1.
        QTest::newRow("ascending, ties in fill order") << 2 << QVector<int>{2, 5, 4, 1, 3};
        QTest::newRow("descending, ties in fill order") << 4 << QVector<int>{1, 3, 4, 2, 5};
        QTest::newRow("no such mode leaves the list alone") << 0 << QVector<int>{1, 2, 3, 4, 5};
    }
    void sortPairsKeepsFillOrder()
    {
        QFETCH(int, mode);
        const int values[] = {3, 1, 3, 2, 1};
        TerritoryPairList &list = mode == 2 ? reinforceCandidates : breakTargets;
        for (int i = 1; i <= 5; ++i) {
            reinforceCandidates[i] = {i, values[i - 1]};
            breakTargets[i] = {i, values[i - 1]};
        }
        sortPairs(mode, 5);
        QVector<int> ids;
        for (int i = 1; i <= 5; ++i)
            ids << list[i].id;
        QTEST(ids, "expectedIds");
        QCOMPARE(list[6].id, 0);
    }

    void gatewayLookups_data()
    {
        QTest::addColumn<QString>("owners");
        QTest::addColumn<int>("territory");
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("outpost");
        QTest::addColumn<int>("borderContinent");
        QTest::newRow("own gateway in front of a held continent") << "111112233" << 4 << 5 << false << 1;
        QTest::newRow("the gateway itself is the outpost") << "111112233" << 5 << 0 << true << 2;
        QTest::newRow("an enemy beyond the border is no entry") << "111112233" << 1 << 0 << false << 1;
        QTest::newRow("gateway into a held continent") << "111111133" << 4 << -1 << false << 1;
        QTest::newRow("no outpost once its continent is held") << "111111133" << 5 << -1 << false << 2;
        QTest::newRow("an enemy territory is nobody's outpost") << "111122233" << 5 << 0 << false << 2;
        QTest::newRow("an inland territory") << "111112233" << 2 << 0 << false << 0;
    }
    void gatewayLookups()
    {
        QFETCH(QString, owners);
        QFETCH(int, territory);
        QVERIFY(loadRingMap());
        setOwners(owners);
        QTEST(findTargetContinentEntry(territory), "entry");
        QTEST(isContinentOutpost(territory), "outpost");
        QTEST(borderContinentOfTerritory(territory), "borderContinent");
    }

    void armiesToMove_data()
    {
        QTest::addColumn<QString>("owners");
        QTest::addColumn<int>("stronghold");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("available");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("expected");
        const QString base = QStringLiteral("111112233");
        QTest::newRow("nothing available") << base << 0 << 3 << 2 << 0 << 5 << 0;
        QTest::newRow("151 leave a stronghold as 75") << base << 2 << 2 << 3 << 151 << 0 << 75;
        QTest::newRow("150 stay in a stronghold") << base << 2 << 2 << 3 << 150 << 5 << 0;
        QTest::newRow("all go to the outpost") << base << 0 << 4 << 5 << 10 << 0 << 10;
        QTest::newRow("half between borders of a held continent") << base << 0 << 1 << 4 << 11 << 0 << 5;
        QTest::newRow("one army between borders stays in mode 0") << base << 0 << 1 << 4 << 1 << 0 << 0;
        QTest::newRow("one army between borders goes in mode 5") << base << 0 << 1 << 4 << 1 << 5 << 1;
        QTest::newRow("mode 4 within one continent") << base << 0 << 3 << 2 << 10 << 4 << 0;
        QTest::newRow("held continent keeps 20") << base << 0 << 3 << 2 << 30 << 5 << 10;
        QTest::newRow("held continent, 20 or fewer: one") << base << 0 << 3 << 2 << 20 << 5 << 1;
        QTest::newRow("mode 0 inside a held continent") << base << 0 << 3 << 2 << 30 << 0 << 0;
        QTest::newRow("quiet outpost keeps 20") << "111111233" << 0 << 5 << 6 << 30 << 0 << 10;
        QTest::newRow("threatened outpost sends one") << base << 0 << 5 << 6 << 30 << 0 << 1;
        QTest::newRow("outpost, 26 armies, not forced") << "111111233" << 0 << 5 << 6 << 26 << 0 << 1;
        QTest::newRow("outpost, forced, a third") << base << 0 << 5 << 6 << 12 << 5 << 4;
        QTest::newRow("outpost, forced, all but 20") << base << 0 << 5 << 6 << 40 << 5 << 20;
        QTest::newRow("elsewhere every army in mode 5") << "111112213" << 0 << 8 << 9 << 9 << 5 << 9;
        QTest::newRow("elsewhere none in mode 0") << "111112213" << 0 << 8 << 9 << 9 << 0 << 0;
    }
    void armiesToMove()
    {
        QFETCH(QString, owners);
        QFETCH(int, stronghold);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, available);
        QFETCH(int, mode);
        QVERIFY(loadRingMap());
        setOwners(owners);
        playerTable[1].stronghold() = stronghold;
        QTEST(chooseArmiesToMove(from, to, available, mode), "expected");
    }

    void moveAfterConquest_data()
    {
        // Territory 4 took territory 5; 3 stands behind 4, 6 beyond 5.
        QTest::addColumn<Cells>("around"); // territories 3, 4, 5 and 6
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("fromStronghold");
        QTest::addColumn<int>("moved");
        QTest::newRow("152 armies move 75") << Cells{{1, 3}, {1, 152}, {1, 1}, {1, 3}} << 0 << true << 75;
        QTest::newRow("151 armies move all but one") << Cells{{1, 3}, {1, 151}, {1, 1}, {2, 3}} << 0 << false << 150;
        QTest::newRow("nothing leaves a stronghold") << Cells{{1, 3}, {1, 100}, {1, 1}, {2, 3}} << 0 << true << 0;
        QTest::newRow("quiet on both sides") << Cells{{1, 3}, {1, 20}, {1, 1}, {1, 3}} << 0 << false << 0;
        QTest::newRow("front moves forward") << Cells{{1, 3}, {1, 20}, {1, 1}, {2, 3}} << 0 << false << 19;
        QTest::newRow("threatened behind, mode 4") << Cells{{2, 2}, {1, 5}, {1, 3}, {2, 10}} << 4 << false << 0;
        QTest::newRow("threatened behind, quiet ahead") << Cells{{2, 2}, {1, 5}, {1, 3}, {1, 10}} << 0 << false << 0;
        QTest::newRow("ahead threatened, behind safe") << Cells{{2, 2}, {1, 5}, {1, 3}, {2, 10}} << 0 << false << 4;
        QTest::newRow("ahead more threatened") << Cells{{2, 10}, {1, 5}, {1, 1}, {2, 20}} << 0 << false << 4;
        QTest::newRow("behind more threatened") << Cells{{2, 20}, {1, 5}, {1, 1}, {2, 20}} << 0 << false << 0;
        QTest::newRow("ahead even, behind safe") << Cells{{2, 2}, {1, 5}, {1, 5}, {2, 5}} << 0 << false << 4;
        QTest::newRow("two armies: nothing worth moving") << Cells{{1, 3}, {1, 2}, {1, 1}, {2, 3}} << 0 << false << 0;
    }
    void moveAfterConquest()
    {
        QFETCH(Cells, around);
        QFETCH(int, mode);
        QFETCH(bool, fromStronghold);
        QFETCH(int, moved);
        QVERIFY(loadRingMap());
        setOwners(QStringLiteral("111112233"));
        for (int i = 0; i < around.size(); ++i)
            put(3 + i, around[i].first, around[i].second);
        const int armies4 = around[1].second, armies5 = around[2].second;
        playerTable[1].stronghold() = fromStronghold ? 4 : 0;
        moveIntoConquered(4, 5, mode);
        QCOMPARE(territoryState[4].armies, armies4 - moved);
        QCOMPARE(territoryState[5].armies, armies5 + moved);
        if (moved == 0) {
            QCOMPARE(actionQueueCount, 0);
            return;
        }
        QCOMPARE(actionQueueTexts(), QStringList{QStringLiteral("Moving %1 armies into the territory.").arg(moved)});
        QCOMPARE(actionQueueTypes(), (QList<int>{2, 1, 1}));
        QCOMPARE(actionQueue[2].arg[1], 4);
        QCOMPARE(actionQueue[3].arg[1], 5);
        QCOMPARE(actionQueue[3].arg[2], armies5 + moved);
    }

    void fastSpeedQueuesNoText()
    {
        QVERIFY(loadRingMap());
        setOwners(QStringLiteral("111112233"));
        put(4, 1, 20);
        fastSpeed = 1;
        moveIntoConquered(4, 5, 0);
        QCOMPARE(actionQueueTypes(), (QList<int>{1, 1}));
    }

    void cardSets_data()
    {
        QTest::addColumn<CardHand>("hand");
        QTest::addColumn<int>("evaluated");
        QTest::addColumn<int>("traded");
        QTest::addColumn<int>("counted");
        QTest::addColumn<CardHand>("handedIn");
        // Hands are artillery, infantry, cavalry, wild.
        QTest::newRow("wild with one infantry") << CardHand{0, 1, 0, 1} << 5 << 5 << 1 << CardHand{0, 1, 0, 1};
        QTest::newRow("wild takes the first single kind") << CardHand{1, 1, 1, 1} << 5 << 5 << 1 << CardHand{1, 0, 0, 1};
        QTest::newRow("a pair") << CardHand{2, 0, 0, 0} << 5 << 5 << 2 << CardHand{2, 0, 0, 0};
        QTest::newRow("three of a kind") << CardHand{0, 0, 3, 0} << 10 << 10 << 3 << CardHand{0, 0, 3, 0};
        QTest::newRow("pair and wild, singles kept") << CardHand{2, 1, 1, 1} << 10 << 10 << 3 << CardHand{2, 0, 0, 1};
        QTest::newRow("two pairs") << CardHand{0, 2, 2, 0} << 10 << 10 << 4 << CardHand{0, 2, 2, 0};
        QTest::newRow("two wild and a pair") << CardHand{0, 0, 2, 2} << 15 << 15 << 4 << CardHand{0, 0, 2, 2};
        QTest::newRow("four of a kind") << CardHand{4, 0, 0, 0} << 15 << 15 << 4 << CardHand{4, 0, 0, 0};
        QTest::newRow("three and a pair") << CardHand{3, 2, 0, 0} << 20 << 15 << 5 << CardHand{3, 2, 0, 0};
        QTest::newRow("two pairs and a wild") << CardHand{2, 0, 2, 1} << 20 << 15 << 5 << CardHand{2, 0, 2, 1};
        QTest::newRow("three, wild pair") << CardHand{3, 0, 0, 2} << 20 << 20 << 5 << CardHand{3, 0, 0, 2};
        QTest::newRow("two threes") << CardHand{3, 3, 0, 0} << 25 << 25 << 6 << CardHand{3, 3, 0, 0};
        QTest::newRow("nothing to trade") << CardHand{1, 1, 0, 0} << 0 << 0 << 0 << CardHand{0, 0, 0, 0};
    }
    void cardSets()
    {
        QFETCH(CardHand, hand);
        QFETCH(CardHand, handedIn);
        giveCards(1, hand);
        aiCards = hand;
        bestCardSetValue();
        QTEST(cardSetValue, "evaluated");
        QTEST(lastCardSetValue, "evaluated");
        QCOMPARE(handOf(1), hand);

        tradeCardSet();
        QTEST(cardSetValue, "traded");
        QTEST(lastCardSetValue, "traded");
        QTEST(cardsTraded, "counted");
        const CardHand left = handOf(1);
        QCOMPARE(left.artillery, hand.artillery - handedIn.artillery);
        QCOMPARE(left.infantry, hand.infantry - handedIn.infantry);
        QCOMPARE(left.cavalry, hand.cavalry - handedIn.cavalry);
        QCOMPARE(left.wild, hand.wild - handedIn.wild);
        QCOMPARE(cardsInPlay(), 53);
    }

    void secondTradeUsesTheCurrentHand()
    {
        giveCards(1, CardHand{3, 2, 0, 0});
        aiCards = handOf(1);
        tradeCardSet();
        QCOMPARE(cardSetValue, 15);
        // A conquest later in the turn brings a card; the snapshot still shows the old hand.
        giveCards(1, CardHand{0, 0, 1, 0});
        tradeCardSet();
        QCOMPARE(cardsTraded, 0);
        QCOMPARE(cardSetValue, 0);
        QCOMPARE(handOf(1), (CardHand{0, 0, 1, 0}));
        QCOMPARE(cardsInPlay(), 53);
    }

    void queuedTrade_data()
    {
        QTest::addColumn<CardHand>("hand");
        QTest::addColumn<QVector<int>>("shown"); // artillery, infantry, cavalry, wild, value
        QTest::newRow("single cards are not shown") << CardHand{3, 1, 0, 1} << QVector<int>{3, 0, 0, 1, 15};
        QTest::newRow("the card going with a wild card shows") << CardHand{0, 1, 0, 1}
                                                               << QVector<int>{0, 1, 0, 1, 5};
    }
    void queuedTrade()
    {
        QFETCH(CardHand, hand);
        giveCards(1, hand);
        aiCards = handOf(1);
        tradeCardSet();
        queueCardTrade();
        QCOMPARE(cardTradeMarker, 177);
        QCOMPARE(actionQueueTypes(), (QList<int>{3, 12, 12, 12, 4}));
        QVector<int> args;
        for (int i = 1; i <= 5; ++i)
            args << actionQueue[1].arg[i];
        QTEST(args, "shown");
        QCOMPARE(actionQueue[1].arg[6], 1);
    }

    void poolFromBonusAndCards_data()
    {
        QTest::addColumn<int>("bonus");
        QTest::addColumn<CardHand>("hand");
        QTest::addColumn<int>("pool");
        QTest::addColumn<int>("cardArmies");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QList<int>>("types");
        QTest::newRow("continent bonus announced") << 3 << CardHand{} << 3 << 0
                                                   << QStringList{"Ava places 3 armies based on continents."}
                                                   << QList<int>{2};
        QTest::newRow("one army announced") << 1 << CardHand{0, 1, 0, 0} << 1 << 0
                                            << QStringList{"Ava places 1 army based on continents."}
                                            << QList<int>{2};
        QTest::newRow("four cards are kept for later") << 2 << CardHand{3, 1, 0, 0} << 2 << 10
                                                       << QStringList{"Ava places 2 armies based on continents."}
                                                       << QList<int>{2};
        QTest::newRow("five cards are traded and shown") << 2 << CardHand{3, 2, 0, 0} << 17 << 0 << QStringList{}
                                                         << QList<int>{3, 12, 12, 12, 4};
        QTest::newRow("nothing to place") << 0 << CardHand{1, 1, 0, 0} << 0 << 0 << QStringList{} << QList<int>{};
    }
    void poolFromBonusAndCards()
    {
        QFETCH(int, bonus);
        QFETCH(CardHand, hand);
        playerTable[1].continentBonus() = bonus;
        giveCards(1, hand);
        aiPlaceContinentBonus();
        QTEST(aiArmiesToPlace, "pool");
        QTEST(aiCardArmies, "cardArmies");
        QTEST(actionQueueTexts(), "texts");
        QTEST(actionQueueTypes(), "types");
        QCOMPARE(cardsInPlay(), 53);
    }
};

TARVAN_TEST_MAIN(TestAiToolkit)
#include "test_ai_toolkit.moc"
