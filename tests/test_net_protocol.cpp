// The wire of a network game: messages cut out of each socket's input by their code's length
// however TCP splits or merges them, and the state snapshot read back exactly as written, or
// refused whole when any field is damaged or out of range.

#include "TestSupport.h"

#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "net/NetFraming.h"
#include "net/NetPlay.h"
#include "net/NetState.h"
#include "net/StateSnapshot.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"

#include <QRandomGenerator>

namespace {

// A dealt three-player game on the World map, with a little history in the records.
void dealWorldGame()
{
    selectMap(MapWorld);
    loadSelectedBuiltinMap();
    playerCount = 3;
    humanSeatCount = 3;
    for (int p = 1; p <= 3; ++p)
        playerName[p] = QStringLiteral("Player %1").arg(p);
    dealTerritories();
    territoryState[7].armies = 12345;
    displayedTerritoryState[7].armies = 3;
    playerTable[2].battleLosses() = 77;
    currentPlayer = 2;
    msgTerritory = 7;
    highlightedContinent = 2;
    cardTradeValues = {0, 1, 1, 1, 0, 10, 2};
}

QByteArray sampleStream()
{
    QByteArray stream;
    stream += plainMessage(2007);
    stream += plainMessage(1000, QByteArray("Kim").leftJustified(kJoinNameLength, ' '));
    stream += snapshotMessage(1003);
    stream += plainMessage(9999);
    stream += snapshotMessage(1002);
    stream += plainMessage(3000, QByteArray("hello").leftJustified(kChatTextLength, ' '));
    stream += plainMessage(1001, " 3");
    return stream;
}

bool sameRecords(const std::array<PlayerRecord, kMaxPlayers + 1> &a, const std::array<PlayerRecord, kMaxPlayers + 1> &b)
{
    for (int p = 1; p <= kMaxPlayers; ++p)
        if (a[p].f != b[p].f)
            return false;
    return true;
}

QList<QByteArray> cutInto(const QByteArray &stream, const QList<int> &sizes)
{
    QByteArray pending;
    QList<QByteArray> messages;
    int at = 0;
    for (int i = 0; at < stream.size(); ++i) {
        const int size = sizes.isEmpty() ? stream.size() : sizes[i % sizes.size()];
        pending += stream.mid(at, size);
        at += size;
        messages += takeMessages(pending);
    }
    if (!pending.isEmpty())
        messages.append("left over: " + pending);
    return messages;
}

// Replaces the field of `width` characters at `at` in the snapshot text of a message.
QByteArray withField(QByteArray message, int at, const QByteArray &field)
{
    message.replace(4 + at, field.size(), field);
    return message;
}

} // namespace

class TestNetProtocol : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        resetAllGameState(5);
        resetNetworkPlay();
        dealWorldGame();
    }

    void messagesAreCutOutWhateverTheReadsAre_data()
    {
        QTest::addColumn<QList<int>>("readSizes");
        QTest::newRow("all in one read") << QList<int>{};
        QTest::newRow("byte by byte") << QList<int>{1};
        QTest::newRow("three bytes at a time") << QList<int>{3};
        QTest::newRow("split inside codes and snapshots") << QList<int>{2, 5, 4000, 7, 1461, 9};
        QTest::newRow("a TCP segment at a time") << QList<int>{1448};
        QList<int> random;
        QRandomGenerator generator(11);
        for (int i = 0; i < 40; ++i)
            random.append(1 + generator.bounded(900));
        QTest::newRow("random reads") << random;
    }
    void messagesAreCutOutWhateverTheReadsAre()
    {
        QFETCH(QList<int>, readSizes);
        const QList<QByteArray> messages = cutInto(sampleStream(), readSizes);
        QList<int> codes;
        for (const QByteArray &m : messages)
            codes.append(messageCode(m));
        QCOMPARE(codes, (QList<int>{2007, 1000, 1003, 9999, 1002, 3000, 1001}));
        QCOMPARE(messages.join(), sampleStream());
        QCOMPARE(messages[2].size(), 4 + kSnapshotLength);
        QCOMPARE(messages[4].size(), 4 + kSnapshotLength + kSnapshotNamesLength);
    }

    void bytesThatAreNoMessageAreDropped_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<int>("messagesBefore");
        QTest::newRow("unknown code") << plainMessage(2005) + QByteArray("4711abc") << 1;
        QTest::newRow("letters for a code") << QByteArray("10x3") + plainMessage(2004) << 0;
        QTest::newRow("bad names flag") << plainMessage(2011) + QByteArray("1003x") + plainMessage(2004) << 1;
    }
    void bytesThatAreNoMessageAreDropped()
    {
        QFETCH(QByteArray, stream);
        QFETCH(int, messagesBefore);
        bool garbled = false;
        const QList<QByteArray> messages = takeMessages(stream, &garbled);
        QVERIFY(garbled);
        QCOMPARE(messages.size(), messagesBefore);
        QVERIFY(stream.isEmpty());
    }

    void aSnapshotReadsBackAsWritten_data()
    {
        QTest::addColumn<bool>("names");
        QTest::newRow("plain") << false;
        QTest::newRow("with the names block") << true;
    }
    void aSnapshotReadsBackAsWritten()
    {
        QFETCH(bool, names);
        const QByteArray text = encodeSnapshot(captureSnapshot(names));
        QCOMPARE(text.size(), names ? kSnapshotLength + kSnapshotNamesLength : kSnapshotLength);
        StateSnapshot read;
        QVERIFY(decodeSnapshot(text, read));
        QCOMPARE(encodeSnapshot(read), text);

        // Taken into a machine that knows nothing of the game, it gives the same state.
        const auto rules = territoryState;
        const auto shown = displayedTerritoryState;
        const auto records = playerTable;
        const auto names0 = playerName;
        territoryState.fill({});
        displayedTerritoryState.fill({});
        playerTable.fill({});
        playerName.fill(QString());
        currentPlayer = 0;
        applySnapshot(read, true);
        QCOMPARE(territoryState, rules);
        QCOMPARE(displayedTerritoryState, shown);
        QVERIFY(sameRecords(playerTable, records));
        QCOMPARE(currentPlayer, 2);
        QCOMPARE(playerName[1], names ? names0[1].leftJustified(20) : QString());
        QVERIFY(snapshotFitsMap(read));
    }

    void aDamagedSnapshotIsRefusedWhole_data()
    {
        QTest::addColumn<int>("at");
        QTest::addColumn<QByteArray>("field");
        // Offsets into the snapshot text: 0 names flag, 1 current player, 3 the rules'
        // territories (owner 2, armies 5 each), 1403 the shown ones, 2803 the records, then deck
        // and counts (5451: map, territories, continents, players, seats).
        QTest::newRow("names flag") << 0 << QByteArray("2");
        QTest::newRow("current player above the players") << 1 << QByteArray(" 4");
        QTest::newRow("owner above the players") << 3 << QByteArray(" 4");
        QTest::newRow("owner beyond any table") << 3 << QByteArray("99");
        QTest::newRow("negative armies") << 5 << QByteArray("   -5");
        QTest::newRow("armies with a letter") << 5 << QByteArray("  1x3");
        QTest::newRow("blank shown armies") << 1405 << QByteArray("     ");
        QTest::newRow("territory beyond the map") << 3 + 42 * 7 << QByteArray(" 1    1");
        QTest::newRow("continent held flag 2") << 2803 << QByteArray("     2");
        QTest::newRow("stronghold beyond the map") << 2803 + 43 * 6 << QByteArray("    43");
        QTest::newRow("map flag") << 5451 << QByteArray("16");
        QTest::newRow("no territories") << 5453 << QByteArray("  0");
        QTest::newRow("eleven players") << 5458 << QByteArray("11");
        QTest::newRow("six seats") << 5460 << QByteArray(" 6");
        QTest::newRow("attack rule") << 5462 << QByteArray("x");
        QTest::newRow("mission type") << 5465 << QByteArray("4");
        QTest::newRow("message territory beyond the map") << 5513 << QByteArray(" 43");
        QTest::newRow("highlighted continent beyond the map") << 5547 << QByteArray(" 7");
    }
    void aDamagedSnapshotIsRefusedWhole()
    {
        QFETCH(int, at);
        QFETCH(QByteArray, field);
        const QByteArray good = snapshotMessage(1017);
        StateSnapshot read;
        QVERIFY(decodeSnapshot(good.mid(4), read));
        const QByteArray bad = withField(good, at, field);
        QVERIFY(bad != good);
        QVERIFY(!decodeSnapshot(bad.mid(4), read));

        // A client takes nothing of it.
        networkSeat = 2;
        const auto rules = territoryState;
        const auto shown = displayedTerritoryState;
        const auto records = playerTable;
        territoryState[1].armies = 999;
        const auto before = territoryState;
        handleMessage(1, bad);
        QCOMPARE(territoryState, before);
        QCOMPARE(displayedTerritoryState, shown);
        QVERIFY(sameRecords(playerTable, records));
        QCOMPARE(highlightedContinent, 2);
        // The same message undamaged is taken.
        handleMessage(1, good);
        QCOMPARE(territoryState, rules);
    }

    void aNamesBlockWithUnsafeTextIsRefused_data()
    {
        QTest::addColumn<int>("at");
        QTest::addColumn<QByteArray>("field");
        // The block follows the snapshot: ten names of 20, then the map file name.
        QTest::newRow("control character in a name") << kSnapshotLength + 3 << QByteArray("\n");
        QTest::newRow("map file in another folder") << kSnapshotLength + 200 << QByteArray("../../x.map");
        QTest::newRow("map file by a backslash path") << kSnapshotLength + 200 << QByteArray("..\\x.map");
        QTest::newRow("map file name of the parent folder") << kSnapshotLength + 200 << QByteArray("..");
    }
    void aNamesBlockWithUnsafeTextIsRefused()
    {
        QFETCH(int, at);
        QFETCH(QByteArray, field);
        const QByteArray message = snapshotMessage(1002);
        StateSnapshot read;
        QVERIFY(decodeSnapshot(message.mid(4), read));
        QVERIFY(!decodeSnapshot(message.mid(4, kSnapshotLength), read)); // the block cut off
        QVERIFY(decodeSnapshot(withField(message, kSnapshotLength + 200, "my.map").mid(4), read));
        QCOMPARE(read.mapFileName, QStringLiteral("my.map"));
        QVERIFY(!decodeSnapshot(withField(message, at, field).mid(4), read));
    }

    void aSnapshotOfAnotherMapIsNotTaken()
    {
        const QByteArray message = snapshotMessage(1003);
        selectMap(MapEurope);
        loadSelectedBuiltinMap();
        networkSeat = 2;
        const auto before = territoryState;
        handleMessage(1, message);
        QCOMPARE(territoryState, before);
    }
};

TARVAN_TEST_MAIN(TestNetProtocol)
#include "test_net_protocol.moc"
