// The host's check of the acting seat's state takes every turn the rules can play: a conquest,
// a player put out and the forced trade of the cards taken from him, a stronghold taken. Alice's
// machine plays each turn with the rules and sends its state after every action; the host holds
// the game as it stood before that state came.

#include "TestSupport.h"
#include "RulesTestMap.h"

#include "net/StateSnapshot.h"
#include "net/TurnCheck.h"
#include "rules/Attack.h"
#include "rules/Cards.h"
#include "rules/GameEnd.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/GameState.h"

#include <functional>

namespace {

constexpr int kHost = 1, kAlice = 2, kBob = 3;

// The host's side: the game it holds, and which of Alice's states it refused.
struct Host {
    StateSnapshot held;
    QStringList refused;

    void handOver()
    {
        held = captureSnapshot(false);
        recordTurnStart(kAlice, false);
    }
    // Alice's machine sends what it has now; she plays on from it whatever the host says.
    void send(const QString &what)
    {
        const StateSnapshot sent = captureSnapshot(false);
        applySnapshot(held, true);
        recountAllPlayers();
        if (!snapshotWithinTurn(sent, kAlice))
            refused << what;
        applySnapshot(sent, true);
        recountAllPlayers();
        held = sent;
    }
};

// Alice's reinforcement, as her turn begins, on territory t.
void reinforce(int t)
{
    territoryState[t].armies += territoryReinforcement(kAlice) + continentReinforcement(kAlice);
}

// Attacks from `from` until `to` falls, then moves in all but one army.
bool conquer(int from, int to, char &card)
{
    const int attacker = territoryState[from].owner;
    for (int guard = 0; guard < 200 && territoryState[to].owner != attacker && territoryState[from].armies > 1; ++guard)
        resolveAttack(from, territoryState[from].armies - 1, to, &card);
    if (territoryState[to].owner != attacker)
        return false;
    if (territoryState[from].armies > 1)
        resolveAttack(from, territoryState[from].armies - 1, to, &card);
    return true;
}

void drawCards(int player, int count)
{
    for (int i = 0; i < count; ++i)
        drawCard(player);
}

// Each player's stronghold chosen in his placement.
void chooseStrongholds(std::initializer_list<int> territories)
{
    int p = 0;
    for (int t : territories) {
        currentPlayer = ++p;
        placeStronghold(t);
    }
}

} // namespace

using Turn = std::function<void(Host &host)>;
Q_DECLARE_METATYPE(Turn)

class TestNetTurnCheck : public QObject {
    Q_OBJECT
    ScriptedInteraction ui;

private slots:
    void init()
    {
        resetAllGameState(11);
        ui = ScriptedInteraction();
        setInteraction(&ui);
        animationsEnabled = 0;
        QVERIFY(loadRulesTestMap());
        playerCount = 3;
        humanPlayerCount = 1;
        attackRule = 'n';
    }
    void cleanup() { setInteraction(nullptr); }

    void everyLegalTurnIsTaken_data()
    {
        QTest::addColumn<bool>("strongholds");
        QTest::addColumn<Turn>("turn");

        // Map: 1-2, 1-3, 2-3, 2-4, 3-6, 4-5, 5-6, 6-7, 6-8, 7-8.
        QTest::newRow("a conquest") << false << Turn([](Host &host) {
            layOut({{kAlice, 5}, {kAlice, 9}, {kHost, 3}, {kHost, 2}, {kHost, 3}, {kBob, 3}, {kBob, 3}, {kBob, 3}});
            host.handOver();
            reinforce(2);
            host.send("reinforcement");
            char card = 'n';
            QVERIFY(conquer(2, 4, card));
            host.send("conquest");
            QCOMPARE(int(handOf(kAlice).total()), 1);
        });
        QTest::newRow("a player put out, then the forced trade of his cards next turn") << false << Turn([](Host &host) {
            layOut({{kAlice, 3}, {kAlice, 30}, {kHost, 3}, {kBob, 1}, {kHost, 3}, {kHost, 3}, {kHost, 3}, {kHost, 3}});
            drawCards(kBob, 4);
            drawCards(kAlice, 1);
            host.handOver();
            reinforce(2);
            host.send("reinforcement");
            char card = 'n';
            QVERIFY(conquer(2, 4, card));
            QVERIFY(playerOutOfGame(kBob));
            QCOMPARE(int(handOf(kAlice).total()), 6);
            host.send("elimination");
            // Her next turn begins with the trade, made through the card dialog's answer, and
            // its armies placed.
            host.handOver();
            openCardTradeDialog();
            QVERIFY(offeredCardSetCount > 0);
            kaartidlg1();
            QVERIFY(cardArmiesDue > 0);
            host.send("trade");
            selectedTerritory = 4;
            placeCardBonusArmies(cardArmiesDue);
            host.send("card bonus");
        });
        // Placements, a trade and its armies in one state; two moves in another, the second
        // going on from where the first arrived (1-2-4: six of the seven armies a turn moves).
        QTest::newRow("several actions in one state") << false << Turn([](Host &host) {
            layOut({{kAlice, 5}, {kAlice, 9}, {kAlice, 2}, {kHost, 2}, {kHost, 3}, {kBob, 3}, {kBob, 3}, {kBob, 3}});
            cardDeckCounts[CardArtillery] -= 3;
            playerTable[kAlice].artillery() += 3;
            host.handOver();
            reinforce(1);
            openCardTradeDialog();
            kaartidlg1();
            selectedTerritory = 2;
            placeCardBonusArmies(cardArmiesDue);
            host.send("reinforcement, trade and its armies");
            char card = 'n';
            QVERIFY(conquer(2, 4, card));
            host.send("conquest");
            reopenTurnButtons();
            sourceTerritory = 1;
            targetTerritory = 2;
            beginMovePhase(3);
            sourceTerritory = 2;
            targetTerritory = 4;
            beginMovePhase(3);
            QCOMPARE(moveAllowance, kMoveAllowance - 6);
            host.send("two moves");
        });
        QTest::newRow("a stronghold taken") << true << Turn([](Host &host) {
            layOut({{kAlice, 3}, {kAlice, 60}, {kHost, 3}, {kBob, 1}, {kHost, 3}, {kHost, 3}, {kBob, 3}, {kBob, 3}});
            chooseStrongholds({3, 1, 4});
            drawCards(kBob, 2);
            currentPlayer = kAlice;
            host.handOver();
            char card = 'n';
            QVERIFY(conquer(2, 4, card));
            QCOMPARE(playerTable[kBob].stronghold(), 0);
            QVERIFY(playerOutOfGame(kBob));
            host.send("stronghold");
        });
    }

    void everyLegalTurnIsTaken()
    {
        QFETCH(bool, strongholds);
        QFETCH(Turn, turn);
        strongholdsEnabled = strongholds ? 1 : 0;
        currentPlayer = kAlice;
        Host host;
        turn(host);
        QVERIFY2(host.refused.isEmpty(), qPrintable(QStringLiteral("refused: ") + host.refused.join(QStringLiteral(", "))));
    }
};

TARVAN_TEST_MAIN(TestNetTurnCheck)
#include "test_net_turncheck.moc"
