// How a network game ends, played by three programs (test_net_table.h): the stalemate counts the
// conquests of every machine, a stronghold game ends without a winner only once no human seat of
// any machine is left, and a seat that a computer player plays for its absent player is a computer
// seat on every machine. Every machine must show the same end.

#include "test_net_table.h"

#include "dialogs/SavedGameDialogs.h"
#include "persist/SavedGame.h"
#include "persist/Scores.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnState.h"
#include "state/SpriteQueue.h"

namespace {

const QString kStalemate = QStringLiteral("Stalemate: no territory has changed hands in 30 rounds.");
const QString kLastStronghold = QStringLiteral("The last stronghold has fallen.");

// A board of World: every territory is `rest`'s with 3 armies, but for these.
struct Holding {
    int territory;
    int owner;
    int armies;
};

struct Board {
    QStringList names;      // seats 1.. ("pc..." is a computer player's seat)
    int rest = 2;
    QList<Holding> holdings;
    QList<int> strongholds; // per seat, 0 for a player already out; empty: no strongholds
    int toMove = 1;
};

// The host's saved LAN game of `board`, written by the game's own writer.
void writeSavedBoard(const QString &path, const Board &board)
{
    selectMap(MapWorld);
    loadSelectedBuiltinMap();
    gameMode = ModeHost;
    playerCount = board.names.size();
    humanPlayerCount = 1;
    strongholdsEnabled = board.strongholds.isEmpty() ? 0 : 1;
    for (int t = 1; t <= territoryCount; ++t)
        territoryState[t] = {board.rest, 3};
    for (const Holding &h : board.holdings)
        territoryState[h.territory] = {h.owner, h.armies};
    displayedTerritoryState = territoryState;
    for (int p = 1; p <= playerCount; ++p) {
        playerName[p] = board.names[p - 1];
        playerTable[p].stronghold() = board.strongholds.value(p - 1);
        turnsTaken[p] = 5;
    }
    recountAllPlayers();
    currentPlayer = board.toMove;
    QVERIFY(writeSavedGame(path));
}

// The helicopters that bring a placement, queued for the game loop.
int helicopterFramesQueued()
{
    int frames = 0;
    for (int i = actionQueueIndex + 1; i <= actionQueueCount && i <= kActionQueueCapacity; ++i)
        if (actionQueue[i].type == kActionSpriteStep
            && (actionQueue[i].arg[3] == SpriteLargeHelicopter || actionQueue[i].arg[3] == SpriteSmallHelicopter))
            ++frames;
    return frames;
}

QList<ScoresRecord> scoresHere()
{
    QList<ScoresRecord> records;
    scanScoresFile([&records](const ScoresRecord &r) { records << r; });
    return records;
}

} // namespace

class TestNetEndings : public NetTable {
    Q_OBJECT

    // A fresh host loads `board` from its file and waits in its lobby on a port of 127.0.0.1; the
    // players of `joining` take their saved seats.
    void resumeWith(const Board &board, const QStringList &joining)
    {
        const QString path = QDir::current().filePath(QStringLiteral("LAN_Board.TrvGX"));
        writeSavedBoard(path, board);
        closeTable();
        openTable();
        lobbyListenAddress = QHostAddress::LocalHost;
        gamePort = 0;
        seat.fileNames << path;
        window->loadSavedGame();
        QCOMPARE(screenMode, 102);
        makeCopyFolders();
        for (const QString &name : joining) {
            std::unique_ptr<Copy> &copy = name == QLatin1String("Alice") ? alice : bob;
            copy = std::make_unique<Copy>();
            copy->name = name;
            copy->start(QCoreApplication::applicationFilePath(), tcpServer->serverPort(), 30 + joinedPlayers,
                        (name == QLatin1String("Alice") ? aliceFolder : bobFolder)->path());
            const int joined = joinedPlayers;
            QVERIFY(runUntil([joined] { return joinedPlayers > joined; }));
        }
    }

    // Launch of the resumed game. The copies take the start before the host's loop ticks on: its
    // watchdog counts ticks, and this loop ticks faster than the game's timer would.
    void launchResumed()
    {
        window->startNewGame();
        QVERIFY(runEventsUntil([] { return awaitedAckCode == 0; }));
    }

    // The host has played the end of the game (a client's win comes after its last move).
    void showsTheEnd(const QString &endText)
    {
        runUntil([&endText] { return queuesIdle() && statusLine.trimmed() == endText; });
        QCOMPARE(statusLine.trimmed(), endText);
    }

    // Play goes on until the game is over on every machine, which shows the same end.
    void playToTheSameEnd(const QString &endText)
    {
        QVERIFY(playOn([] { return false; }));
        QVERIFY(gameOver);
        showsTheEnd(endText);
        QVERIFY(allAgree());
    }

private slots:
    void init() { openTable(); }
    void cleanup() { closeTable(); }

    void onlyTheHostCountsTheQuietRoundsOfEveryMachine_data()
    {
        QTest::addColumn<int>("clientConquests"); // a turn, at each client
        QTest::newRow("the host only passes, the joined players conquer") << 1;
        QTest::newRow("nobody conquers") << 0;
    }
    void onlyTheHostCountsTheQuietRoundsOfEveryMachine()
    {
        QFETCH(int, clientConquests);
        openLobbyWithTwoPlayers();
        launch();
        player->attacks = false;
        for (Copy *c : {alice.get(), bob.get()})
            c->send(QStringLiteral("conquests %1").arg(clientConquests));
        const auto fortyRounds = [] { return turnsTaken[2] >= 40; };
        QVERIFY(playOn(fortyRounds));
        if (clientConquests > 0) {
            QVERIFY2(!gameOver, qPrintable(statusLine));
            QVERIFY(allAgree());
            return;
        }
        QVERIFY(gameOver);
        QCOMPARE(int(noWinner), 1);
        QVERIFY(turnsTaken[2] >= 29 && turnsTaken[2] <= 31);
        playToTheSameEnd(kStalemate);
    }

    // A computer player of a resumed game takes the host's stronghold while Alice and Bob are in:
    // the host watches on, and Alice takes the last two strongholds.
    void theHostsFallEndsNothingWhileJoinedPlayersAreIn()
    {
        Board board;
        board.names = QStringList{QStringLiteral("Hosty"), QStringLiteral("Alice"), QStringLiteral("Bob"),
                                  QStringLiteral("pcZed")};
        board.holdings = {{13, 1, 1}, {10, 4, 1}, {11, 4, 1}, {12, 4, 60}, {14, 4, 1}, {42, 3, 1},
                          {9, 2, 300}, {40, 2, 40}, {41, 2, 40}, {37, 2, 50}};
        board.strongholds = {13, 37, 42, 12};
        board.toMove = 4;
        resumeWith(board, {QStringLiteral("Alice"), QStringLiteral("Bob")});
        launchResumed();
        QVERIFY(runUntil([] { return queuesIdle() && awaitedAckCode == 0; }));
        QVERIFY(playerOutOfGame(1));
        QVERIFY2(!gameOver, qPrintable(statusLine));
        QCOMPARE(currentPlayer, 2);
        QVERIFY(allAgree());
        playToTheSameEnd(QStringLiteral("Alice wins the game."));
    }

    // The last human seat falls to a computer player: Alice's seat is played by the computer for
    // her, and Bob is out already.
    void theLastHumanStrongholdEndsTheGameOnEveryMachine()
    {
        Board board;
        board.names = QStringList{QStringLiteral("Hosty"), QStringLiteral("Alice"), QStringLiteral("Bob"),
                                  QStringLiteral("pcZed")};
        board.holdings = {{13, 1, 1}, {10, 4, 1}, {11, 4, 1}, {12, 4, 60}, {14, 4, 1}, {42, 3, 1}, {37, 2, 50}};
        board.strongholds = {13, 37, 0, 12};
        board.toMove = 4;
        resumeWith(board, {QStringLiteral("Bob")});
        launchResumed();
        QCOMPARE(playerName[2].trimmed(), QStringLiteral("Alice (pc)"));
        QVERIFY(gameOver);
        showsTheEnd(kLastStronghold);
        QVERIFY(allAgree());
    }

    // Alice did not come back: the computer plays her seat as it plays any computer seat, and its
    // win is no human's.
    void aComputerPlayedSeatIsAComputerSeat()
    {
        Board board;
        board.names = QStringList{QStringLiteral("Hosty"), QStringLiteral("Alice"), QStringLiteral("Bob")};
        board.holdings = {{13, 1, 1}, {12, 2, 30}, {42, 3, 1}, {41, 2, 30}};
        board.toMove = 2;
        resumeWith(board, {QStringLiteral("Bob")});
        const int recorded = scoresHere().size();
        launchResumed();
        QVERIFY2(helicopterFramesQueued() > 0, "her placement is brought as a computer's is");
        QVERIFY(gameOver);
        showsTheEnd(QStringLiteral("Alice (pc) wins the game."));
        QVERIFY(allAgree());
        const QList<ScoresRecord> records = scoresHere();
        QCOMPARE(records.size(), recorded + 1);
        QCOMPARE(records.last().humanWon, 0);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestNetEndings tests;
    return runNetTable(argc, argv, tests);
}

#include "test_net_endings.moc"
