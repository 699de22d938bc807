// A saved network game played on (test_net_table.h): a game of three programs is saved at the
// host, all three end, a new host loads the save, the players join again in the other order,
// Launch, and every machine goes on with the saved game to its end. And the player who finds no
// seat, in a saved game or a full lobby, is told so.

#include "test_net_table.h"

#include "app/GameSpeed.h"
#include "dialogs/SavedGameDialogs.h"
#include "persist/SavedGame.h"

#include <QFile>

namespace {

const QString kTurnOfSeat2 = QStringLiteral("LAN_SeatTwo.TrvGX");
const QString kLaterRound = QStringLiteral("LAN_Later.TrvGX");

SavedGameRecord readGame(const QString &path)
{
    QFile file(path);
    SavedGameRecord game;
    if (!file.open(QIODevice::ReadOnly) || !decodeSavedGame(file.readAll(), game))
        qWarning("%s cannot be read", qPrintable(path));
    return game;
}

} // namespace

class TestNetResume : public NetTable {
    Q_OBJECT

    std::vector<std::unique_ptr<Copy>> others; // players who join a lobby beside Alice and Bob
    std::vector<std::unique_ptr<QTemporaryDir>> otherFolders;

    QString savedPath(const QString &name) const { return QDir::current().filePath(name); }

    // The host's player opens the in-game menu and chooses Save Game, then goes back to the map.
    bool saveThroughMenu()
    {
        player->mayAct = false;
        return saveThroughGameMenu(*window, [this](const std::function<bool()> &done) { return runUntil(done); });
    }

    // A game of three, saved at the host in a turn of seat 2 once Alice has acted in it, and again
    // at the start of the host's turn a round later; the first save is kept under its own name.
    void playAndSaveTwice()
    {
        QFile::remove(savedPath(kLaterRound));
        QFile::remove(savedPath(kTurnOfSeat2));
        // The host's player has chosen the slowest speed; the network holds its own pace.
        window->setGameSpeed512();
        openLobbyWithTwoPlayers();
        launch();
        seat.fileNames << savedPath(kLaterRound);
        QVERIFY(playOn([] { return currentPlayer == 2 && turnsTaken[1] >= 1 && placementRound == 0; }));
        QVERIFY(!gameOver);
        QVERIFY(runUntil([] { return queuesIdle() && awaitedAckCode == 0; }));
        const auto atHandOver = territoryState;
        // Alice plays her turn one action at a time until she has attacked (what a client tells
        // the host in the middle of a turn), and waits while the host saves.
        while (alice->attacks < 1 && currentPlayer == 2) {
            const int actions = alice->actions;
            alice->send(QStringLiteral("step"));
            QVERIFY(runUntil([&] { return alice->actions > actions; }));
        }
        QVERIFY(agrees(*alice));
        QVERIFY(territoryState != atHandOver);
        QCOMPARE(currentPlayer, 2);
        seat.clock = seat.clock.addSecs(600);
        QVERIFY(saveThroughMenu());
        QVERIFY(QFile::copy(savedPath(kLaterRound), savedPath(kTurnOfSeat2)));
        QCOMPARE(readGame(savedPath(kTurnOfSeat2)).currentPlayer, 2);
        // The file holds her turn as it was handed to her: loaded, it begins again whole.
        QVERIFY(readGame(savedPath(kTurnOfSeat2)).territoryState == atHandOver);
        const int hostRound = turnsTaken[1];
        QVERIFY(playOn([&] { return currentPlayer == 1 && turnsTaken[1] > hostRound && turnStarted && saveAllowed && queuesIdle(); }));
        QVERIFY2(!gameOver, "the game ended before the second save");
        QVERIFY(saveThroughMenu());
        QCOMPARE(readGame(savedPath(kLaterRound)).currentPlayer, 1);
    }

    // Every program ends; the host starts again as a program that has just opened.
    void endAllThree()
    {
        leaveGame(*window);
        verifyThePlayersOptionsInUse();
        QVERIFY(runUntil([this] { return alice->ended && bob->ended; }));
        closeTable();
        openTable();
        // Started again, the program reads the speed its player chose: no save of the network
        // game stored the network's pace.
        QCOMPARE(gameSpeedInterval(), 512);
    }

    // Back at the start menu, the slowest speed is in use again, narration and all, and the
    // animations the network game went without.
    void verifyThePlayersOptionsInUse()
    {
        QCOMPARE(screenMode, 1);
        QCOMPARE(gameSpeedInterval(), 512);
        QCOMPARE(window->gameTimerInterval(), 512);
        QCOMPARE(fastSpeed, quint8(0));
        QCOMPARE(animationsEnabled, quint8(1));
    }

    // The new host loads `name`, answers Yes, and waits in its lobby on a port of 127.0.0.1.
    void loadAtHost(const QString &name)
    {
        lobbyListenAddress = QHostAddress::LocalHost;
        gamePort = 0;
        seat.fileNames << savedPath(name);
        window->loadSavedGame();
        QCOMPARE(screenMode, 102);
        QCOMPARE(int(lobbyOpen), 1);
        QVERIFY(tcpServer->isListening());
    }

    Copy *rejoin(std::unique_ptr<Copy> &copy, std::unique_ptr<QTemporaryDir> &folder, const QString &name, quint32 seed)
    {
        folder = std::make_unique<QTemporaryDir>();
        copy = std::make_unique<Copy>();
        copy->name = name;
        copy->start(QCoreApplication::applicationFilePath(), tcpServer->serverPort(), seed, folder->path());
        return copy.get();
    }

    // Another player joins under `name`, and the host has taken his join.
    Copy *joinAs(const QString &name)
    {
        const int joined = joinedPlayers;
        others.emplace_back();
        otherFolders.emplace_back();
        Copy *c = rejoin(others.back(), otherFolders.back(), name, 40 + quint32(others.size()));
        if (!runUntil([joined] { return joinedPlayers > joined; }))
            qWarning("%s was not given a seat", qPrintable(name));
        return c;
    }

    // The ended game's machines are still connected when the host loads a save: the lobby starts
    // from a clean seat table, and their going later takes no seat from the players who join.
    void loadAgainWithTheOldConnectionsOpen()
    {
        std::unique_ptr<Copy> oldAlice = std::move(alice);
        std::unique_ptr<Copy> oldBob = std::move(bob);
        loadAtHost(kTurnOfSeat2);
        QCOMPARE(int(joinedPlayers), 1);
        rejoin(alice, aliceFolder, QStringLiteral("Alice"), 51);
        QVERIFY(runUntil([] { return joinedPlayers == 2; }));
        rejoin(bob, bobFolder, QStringLiteral("Bob"), 52);
        QVERIFY(runUntil([] { return joinedPlayers == 3; }));
        oldAlice->process.kill();
        oldBob->process.kill();
        QVERIFY(runUntil([&] { return oldAlice->process.state() == QProcess::NotRunning
                                      && oldBob->process.state() == QProcess::NotRunning; }));
        QCOMPARE(seatOf(*alice), QStringLiteral("2 0"));
        QCOMPARE(seatOf(*bob), QStringLiteral("3 0"));
        QCOMPARE(int(joinedPlayers), 3);
    }

    // A saved game of this network, made once by playing one.
    void haveSavedGame()
    {
        if (QFile::exists(savedPath(kTurnOfSeat2)) && QFile::exists(savedPath(kLaterRound)))
            return;
        playAndSaveTwice();
        if (!QTest::currentTestFailed()) {
            endAllThree();
            return;
        }
        // Half a pair of saves is none.
        QFile::remove(savedPath(kLaterRound));
        QFile::remove(savedPath(kTurnOfSeat2));
    }

    // What the host's lobby shows and holds: who sits where, the connections, the board, the panel.
    QString lobbyAsItStands()
    {
        QStringList seats;
        for (int n = 1; n <= kMaxClients; ++n)
            seats << QStringLiteral("%1:%2").arg(clientSocket(n) != nullptr).arg(netSession.seatOfSocket[n]);
        return QStringList{QString::number(joinedPlayers), QString::number(clientCount), seats.join(QLatin1Char(' ')),
                           statusText, lobbyPanelNames().join(QLatin1Char(',')), gameRecordText(),
                           mapOf(displayedTerritoryState)}
            .join(QLatin1Char('|'));
    }

    // The saved board stands in the lobby whoever joins: owners, armies, records, on the map too.
    static bool savedBoardStands(const SavedGameRecord &saved)
    {
        bool recordsStand = true;
        for (int p = 1; p <= kMaxPlayers; ++p)
            recordsStand = recordsStand && playerTable[p].f == saved.playerTable[p].f;
        return territoryState == saved.territoryState && displayedTerritoryState == territoryState && recordsStand
            && currentPlayer == saved.currentPlayer
            && playerCount == saved.playerCount && cardDeckCounts == saved.cardDeckCounts;
    }

private slots:
    void init() { openTable(); }
    void cleanup()
    {
        for (auto &c : others)
            closeCopy(*c);
        others.clear();
        otherFolders.clear();
        closeTable();
    }

    void aSavedGameGoesOnOnEveryMachine_data()
    {
        QTest::addColumn<QString>("save");
        QTest::addColumn<bool>("aliceBack");
        QTest::addColumn<bool>("loadAgain"); // at the same host once the game has ended
        QTest::newRow("saved in seat 2's turn, both back") << kTurnOfSeat2 << true << false;
        QTest::newRow("saved in a later round, both back, loaded again") << kLaterRound << true << true;
        QTest::newRow("saved in seat 2's turn, Alice stays away") << kTurnOfSeat2 << false << false;
    }
    void aSavedGameGoesOnOnEveryMachine()
    {
        QFETCH(QString, save);
        QFETCH(bool, aliceBack);
        QFETCH(bool, loadAgain);
        haveSavedGame();
        if (QTest::currentTestFailed())
            return;
        const SavedGameRecord saved = readGame(savedPath(save));
        const QString savedText = gameRecordText(saved);
        loadAtHost(save);
        QVERIFY(savedBoardStands(saved));
        QCOMPARE(playerName[2], QStringLiteral("Al.."));

        // The players come back in the other order; each takes his own seat.
        rejoin(bob, bobFolder, QStringLiteral("Bob"), 32);
        QVERIFY(runUntil([] { return joinedPlayers == 2; }));
        QCOMPARE(seatOf(*bob), QStringLiteral("3 0"));
        if (aliceBack) {
            rejoin(alice, aliceFolder, QStringLiteral("Alice"), 31);
            QVERIFY(runUntil([] { return joinedPlayers == 3; }));
            QCOMPARE(seatOf(*alice), QStringLiteral("2 0"));
            QCOMPARE(playerName[2].trimmed(), QStringLiteral("Alice"));
        }
        QVERIFY(savedBoardStands(saved));

        window->startNewGame();
        QCOMPARE(screenMode, 9);
        QCOMPARE(int(lobbyOpen), 0);
        // The play time goes on from the saved one.
        QVERIFY(saved.playTimeSeconds >= 600);
        QCOMPARE(playTimeSeconds, saved.playTimeSeconds);
        if (aliceBack) {
            // Every machine holds the saved game, and the saved player is to move.
            QCOMPARE(gameRecordText(), savedText);
            QCOMPARE(turnsTaken, saved.turnsTaken);
            QVERIFY(runEventsUntil([this] { return !alice->launched.isEmpty() && !bob->launched.isEmpty(); }));
            QCOMPARE(alice->launched, savedText);
            QCOMPARE(bob->launched, savedText);
            if (saved.currentPlayer == 2) {
                // Seat 2's turn begins again at seat 2's machine, under the host's checks: handed to
                // her, and taken.
                QVERIFY(runUntil([] { return queuesIdle() && awaitedAckCode == 0; }));
                QCOMPARE(seatOf(*alice), QStringLiteral("2 1"));
            } else {
                QVERIFY(runUntil([] { return turnStarted && currentPlayer == 1 && queuesIdle(); }));
                QCOMPARE(int(saveAllowed), 1);
            }
        } else {
            // The seat nobody came back to plays on as a computer player, under its marked name,
            // from the saved turn on; the others see it so.
            QCOMPARE(playerName[2].trimmed(), QStringLiteral("Alice (pc)"));
            QCOMPARE(turnsTaken[2], saved.turnsTaken[2] + 1);
            QCOMPARE(humanSeatCount, 3);
            QVERIFY(!alice);
            QVERIFY(runUntil([] { return queuesIdle(); }));
        }
        QVERIFY(allAgree());

        // And the game is played to its end.
        QVERIFY(playOn([] { return false; }));
        QVERIFY(gameOver);
        const auto endPlayed = [] { return queuesIdle() && statusLine.trimmed().endsWith(QLatin1String("wins the game.")); };
        QVERIFY2(runUntil(endPlayed), qPrintable(statusLine));
        QVERIFY(allAgree());
        if (loadAgain) {
            loadAgainWithTheOldConnectionsOpen();
            return;
        }
        // The finished game left by Main Menu.
        leaveGame(*window);
        verifyThePlayersOptionsInUse();
    }

    // The players who join a loaded game take the seats that wait for them; one who leaves
    // before Launch frees his seat, which waits for him again.
    void aReturningPlayerTakesHisSeat_data()
    {
        QTest::addColumn<QStringList>("joiners"); // in the order they join
        QTest::addColumn<QString>("seats");       // what each is given
        QTest::addColumn<int>("leaver");          // the joiner who leaves and comes back, or -1
        const QStringList otherOrder{QStringLiteral("Bob"), QStringLiteral("Alice")};
        QTest::newRow("full names") << otherOrder << QStringLiteral("3 2") << -1;
        QTest::newRow("the two characters shown") << QStringList{QStringLiteral("Bobby"), QStringLiteral("Alfred")}
                                                  << QStringLiteral("3 2") << -1;
        QTest::newRow("a name no seat holds: the first seat waiting")
            << QStringList{QStringLiteral("Carl"), QStringLiteral("Bob")} << QStringLiteral("2 3") << -1;
        QTest::newRow("a player leaves before Launch") << otherOrder << QStringLiteral("3 2") << 0;
    }
    void aReturningPlayerTakesHisSeat()
    {
        QFETCH(QStringList, joiners);
        QFETCH(QString, seats);
        QFETCH(int, leaver);
        haveSavedGame();
        if (QTest::currentTestFailed())
            return;
        const SavedGameRecord saved = readGame(savedPath(kLaterRound));
        loadAtHost(kLaterRound);
        QStringList given;
        for (const QString &name : joiners)
            given << seatOf(*joinAs(name)).section(QLatin1Char(' '), 0, 0);
        QCOMPARE(given.join(QLatin1Char(' ')), seats);
        QCOMPARE(int(joinedPlayers), 3);
        // Each seat shows its saved name whole, whoever took it.
        QCOMPARE(playerName[2].trimmed(), QStringLiteral("Alice"));
        QCOMPARE(playerName[3].trimmed(), QStringLiteral("Bob"));
        if (leaver >= 0) {
            const int seatLeft = given[leaver].toInt();
            others[std::size_t(leaver)]->send(QStringLiteral("lobbyquit"));
            QVERIFY(runUntil([] { return joinedPlayers == 2; }));
            QCOMPARE(playerName[seatLeft], joiners[leaver].left(2) + QStringLiteral(".."));
            // The others keep their seats; he comes back to his.
            QCOMPARE(seatOf(*others[std::size_t(1 - leaver)]).section(QLatin1Char(' '), 0, 0), given[1 - leaver]);
            QCOMPARE(seatOf(*joinAs(joiners[leaver])), QStringLiteral("%1 0").arg(seatLeft));
            QCOMPARE(int(joinedPlayers), 3);
        }
        QVERIFY(savedBoardStands(saved));
    }

    // A join that cannot be seated is told so on the joining machine, and his connection is
    // closed; the host's lobby stays as it was. The host answers the join as it reads it: its game
    // loop does not tick before the joining machine has been told.
    void aJoinWithoutASeatIsToldSo_data()
    {
        QTest::addColumn<bool>("savedGame");
        QTest::newRow("a full lobby: the sixth player") << false;
        QTest::newRow("a saved game with no seat waiting") << true;
    }
    void aJoinWithoutASeatIsToldSo()
    {
        QFETCH(bool, savedGame);
        if (savedGame) {
            haveSavedGame();
            if (QTest::currentTestFailed())
                return;
            loadAtHost(kLaterRound);
            joinAs(QStringLiteral("Alice"));
            joinAs(QStringLiteral("Bob"));
        } else {
            openLobbyWithTwoPlayers();
            joinAs(QStringLiteral("Carl"));
            joinAs(QStringLiteral("Dora"));
        }
        QCOMPARE(joinedPlayers, savedGame ? 3 : 5);
        const QString lobby = lobbyAsItStands();

        others.emplace_back();
        otherFolders.emplace_back();
        Copy *late = rejoin(others.back(), otherFolders.back(), QStringLiteral("Eve"), 60);
        QVERIFY(runEventsUntil([late] { return late->ended; }));
        QCOMPARE(late->boxes, QStringList{QStringLiteral("The host's game has no seat for you: it is full, it has "
                                                         "begun, or it is a saved game with no seat waiting for you.")});
        QCOMPARE(seatOf(*late), QStringLiteral("0 0"));
        QCOMPARE(lobbyAsItStands(), lobby);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestNetResume tests;
    return runNetTable(argc, argv, tests);
}

#include "test_net_resume.moc"
