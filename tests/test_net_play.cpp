// A network game of three programs (test_net_table.h): every machine plays through the window's
// own calls (the set-up's host and join steps, Launch, clicks on the map and the buttons, the
// army-count and card dialogs, the game loop's ticks); after every hand-over the three must hold
// the same owners, armies, current player and names. Then a client's actions one by one, the ways
// of leaving and a machine gone silent, each in a game of its own.

#include "test_net_table.h"

#include "net/NetLiveness.h"
#include "setup/SetupRules.h"

#include <QSet>

class TestNetPlay : public NetTable {
    Q_OBJECT

    // The map file "maps/<name>" that the game ships, put into the maps folder of every
    // machine's run folder, and chosen by the host as the set-up's map question does.
    void chooseShippedMapFile(const QString &name)
    {
        makeCopyFolders();
        const QDir shipped(QDir(QString::fromLocal8Bit(qgetenv("TARVAN_RUN_DIR"))).filePath(QStringLiteral("maps")));
        const QString base = QFileInfo(name).completeBaseName();
        for (const QString &folder : {QDir::currentPath(), aliceFolder->path(), bobFolder->path()}) {
            QVERIFY(QDir(folder).mkpath(QStringLiteral("maps")));
            for (const QString &file : {base + QStringLiteral(".txt"), base + QStringLiteral(".png")}) {
                QFile::remove(QDir(folder).filePath(QStringLiteral("maps/") + file)); // an earlier game's
                QVERIFY2(QFile::copy(shipped.filePath(file), QDir(folder).filePath(QStringLiteral("maps/") + file)),
                         qPrintable(shipped.filePath(file)));
            }
        }
        seat.fileNames = QStringList{QDir::current().filePath(QStringLiteral("maps/") + name)};
        useStoredMapPath = 'n';
        loadMap();
        QVERIFY(mapLoadSucceeded);
    }

    // Alice's player is at his placement or turn (she answers once her own steps have played).
    bool aliceActs() { return seatOf(*alice) == QLatin1String("2 1"); }

    // Waits for what a copy says, without a turn of the host's own event loop: the host reads
    // nothing and answers nothing meanwhile.
    template <typename Condition>
    static bool waitForCopyAlone(Copy &c, Condition done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && c.process.waitForReadyRead(int(qMax(qint64(1), kHangGuardMs - clock.elapsed())))) {
        }
        return done();
    }

    // The copies' clocks move on by `ms`, half a second at a time, each step seen by a tick of
    // theirs; the host's own loop does not run meanwhile.
    bool copyClocksMoveOn(int ms)
    {
        for (int moved = 0; moved < ms; moved += 500) {
            for (Copy *c : {alice.get(), bob.get()}) {
                c->clocked = false;
                c->send(QStringLiteral("clock 500"));
                c->process.waitForBytesWritten(kHangGuardMs);
            }
            for (Copy *c : {alice.get(), bob.get()})
                if (!waitForCopyAlone(*c, [c] { return c->clocked || c->ended; }))
                    return false;
        }
        return true;
    }

private slots:
    void init() { openTable(); }
    void cleanup() { closeTable(); }

    void aWholeGamePlaysTheSameOnThreeMachines_data()
    {
        QTest::addColumn<bool>("hostAttacks");
        QTest::addColumn<QString>("mapFile"); // of maps/, or none: the World built into the game
        QTest::newRow("the host plays to win") << true << QString();
        QTest::newRow("the host never attacks: a client wins") << false << QString();
        QTest::newRow("a map file of maps/") << true << QStringLiteral("ParisByNight.txt");
    }
    void aWholeGamePlaysTheSameOnThreeMachines()
    {
        QFETCH(bool, hostAttacks);
        QFETCH(QString, mapFile);
        player->attacks = hostAttacks;
        if (!mapFile.isEmpty())
            chooseShippedMapFile(mapFile);
        const int territories = territoryCount;
        openLobbyWithTwoPlayers();
        QCOMPARE(playerName[2].trimmed(), QStringLiteral("Alice"));
        QCOMPARE(playerName[3].trimmed(), QStringLiteral("Bob"));
        launch();
        QCOMPARE(territoryCount, territories);
        QVERIFY(allAgree());

        // Every hand-over: the three agree, then the player whose turn it is plays it.
        int handOvers = 0;
        int rounds = 0;
        int eliminations = 0;
        int shownBehind = 0;
        QString lastKey;
        for (int guard = 0; guard < 4000 && !gameOver; ++guard) {
            const bool ok = runUntil([] { return gameOver || (queuesIdle() && awaitedAckCode == 0); });
            QVERIFY2(ok, "the game stood still");
            if (gameOver)
                break;
            const QString key = QStringLiteral("%1 %2 %3 %4")
                                    .arg(currentPlayer)
                                    .arg(placementRound)
                                    .arg(initialPlacementPhase)
                                    .arg(turnsTaken[1] + turnsTaken[2] + turnsTaken[3]);
            if (key != lastKey) {
                lastKey = key;
                player->mayAct = false;
                ++handOvers;
                const QString handOver = QStringLiteral("hand-over %1 (%2)").arg(handOvers).arg(key);
                QVERIFY2(allAgree(), qPrintable(handOver));
                // What they agree on is a game still played, not the start screen that a machine
                // giving up or leaving leaves everywhere (nobody's turn, and no game over).
                QVERIFY2(tableStillPlays(), qPrintable(handOver));
                int out = 0;
                for (int p = 1; p <= 3; ++p)
                    out += playerOutOfGame(p) ? 1 : 0;
                eliminations = out;
                rounds = turnsTaken[1];
                QVERIFY2(handOnPlay(), qPrintable(handOver));
            }
            // Play goes on: the host's own player acts, or the others' messages come (or the end
            // of the game here, told at the next hand-over). While another machine acts, the
            // host shows each of its actions as it is taken.
            QVERIFY(runUntil([&] {
                if (currentPlayer != 1 && queuesIdle() && displayedTerritoryState != territoryState)
                    ++shownBehind;
                return gameOver || networkSeat != 1 || !queuesIdle() || awaitedAckCode != 0 || player->act();
            }));
        }
        QVERIFY2(gameOver, "the game did not end");
        QCOMPARE(shownBehind, 0);
        // Every machine plays the end once, the winner's and the others' alike.
        const auto endPlayed = [] {
            return queuesIdle() && sharedState().endsWith(QStringLiteral("|end drawn, fanfares 1, %1 wins the game.").arg(shownPlayerName(currentPlayer)));
        };
        QVERIFY2(runUntil(endPlayed), qPrintable(sharedState()));
        QVERIFY(allAgree());
        if (!hostAttacks)
            QVERIFY(playerOutOfGame(1));
        QVERIFY2(rounds >= 3, qPrintable(QString::number(rounds)));
        QVERIFY(handOvers >= 9);
        QVERIFY(eliminations >= 1);
        // Cards were traded somewhere at the table.
        QVERIFY(player->trades + alice->trades + bob->trades >= 1);
        QVERIFY(alice->boxes.isEmpty() && bob->boxes.isEmpty());

        // Alice leaves the finished game for the main menu: her connection closes, and the
        // others keep their finished game on screen, told nothing.
        alice->send(QStringLiteral("menu"));
        QVERIFY(runUntil([] { return netSession.socketOfSeat[2] == 0; }));
        QCOMPARE(screenMode, 9);
        QVERIFY(seat.messageTexts().isEmpty());
        QVERIFY(agrees(*bob));
        QVERIFY(bob->boxes.isEmpty());
    }

    // A client's every action (a placement, an attack, a move, a bonus) is on the host's map and
    // the third machine's before the client takes its next one.
    void aClientsActionsShowOnTheOtherMachinesAtOnce()
    {
        openLobbyWithTwoPlayers();
        launch();
        alice->send(QStringLiteral("moves"));
        QSet<QString> kinds;
        QStringList sequence;
        for (int turn = 0; turn < 8 && !(kinds.contains(QStringLiteral("add")) && kinds.contains(QStringLiteral("move")));
             ++turn) {
            // The table plays on until Alice's next placement or turn is handed to her.
            QVERIFY(playOn([] { return currentPlayer == 2; }));
            QVERIFY(!gameOver);
            QVERIFY(runUntil([] { return queuesIdle() && awaitedAckCode == 0; }));
            // Her machine has begun it; she acts one step at a time while it lasts.
            QVERIFY(aliceActs());
            do {
                const int actions = alice->actions;
                alice->send(QStringLiteral("step"));
                QVERIFY(runUntil([&] { return alice->actions > actions; }));
                const QString kind = alice->acted.section(QLatin1Char(' '), 0, 0);
                const QString hers = alice->acted.section(QLatin1Char(' '), 1);
                QVERIFY2(kind != QLatin1String("none"), qPrintable(sequence.join(QLatin1Char(' '))));
                kinds.insert(kind);
                sequence << kind;
                QVERIFY2(runUntil([&] { return mapOf(territoryState) == hers && mapOf(displayedTerritoryState) == hers; }),
                         qPrintable(QStringLiteral("the host after Alice's %1").arg(kind)));
                // Bob holds and shows what the host does, her action among it.
                QVERIFY(agrees(*bob));
            } while (aliceActs());
            // The host takes back the turn she has ended.
            QVERIFY(runUntil([] { return currentPlayer != 2 || gameOver; }));
        }
        QVERIFY2(kinds.contains(QStringLiteral("place")) && kinds.contains(QStringLiteral("add"))
                     && kinds.contains(QStringLiteral("move")) && kinds.contains(QStringLiteral("next")),
                 qPrintable(sequence.join(QLatin1Char(' '))));
    }

    // Alice's step ends her turn while the host's next words are on their way to her (they go in
    // the same write as the step, "seat" last): they are answered once her turn has ended, for
    // what it then is. A step asked of the ended turn is none, and she no longer acts.
    void wordsThatComeAsTheTurnEndsMeetItEnded_data()
    {
        QTest::addColumn<QStringList>("between"); // the words between the step and "seat"
        QTest::newRow("whether she acts") << QStringList{};
        QTest::newRow("another step") << QStringList{QStringLiteral("step")};
    }
    void wordsThatComeAsTheTurnEndsMeetItEnded()
    {
        QFETCH(QStringList, between);
        const int stepsAfter = between.count(QStringLiteral("step"));
        openLobbyWithTwoPlayers();
        launch();
        QVERIFY(playOn([] { return currentPlayer == 2 && placementRound == 0; }));
        QVERIFY(!gameOver);
        QVERIFY(runUntil([] { return queuesIdle() && awaitedAckCode == 0; }));
        QVERIFY(aliceActs());
        bool ended = false;
        while (!ended) {
            const int before = alice->actedKinds.size();
            const QString seatSaid = seatOf(*alice, QStringList{QStringLiteral("step")} + between);
            // Every step was answered before the seat, in the order asked.
            const QStringList kinds = alice->actedKinds.mid(before);
            QCOMPARE(kinds.size(), 1 + stepsAfter);
            const int next = kinds.indexOf(QStringLiteral("next"));
            ended = next >= 0;
            for (int i = 0; i < kinds.size(); ++i)
                QVERIFY2((kinds[i] == QLatin1String("none")) == (ended && i > next), qPrintable(kinds.join(QLatin1Char(' '))));
            QCOMPARE(seatSaid, ended ? QStringLiteral("2 0") : QStringLiteral("2 1"));
        }
        // The turn she ended is handed on to Bob, as any other.
        QVERIFY(runUntil([] { return currentPlayer == 3 && queuesIdle() && awaitedAckCode == 0; }));
        QVERIFY(allAgree());
    }

    // ---- Leaving ----

    void leavingEndsTheGameForTheOthers_data()
    {
        QTest::addColumn<int>("leaver"); // 1 the host, 2 Alice, 3 Bob
        QTest::addColumn<QString>("how");
        QTest::newRow("host: Main Menu, Yes") << 1 << "menu";
        QTest::newRow("host: window closed") << 1 << "close";
        QTest::newRow("host: connection lost") << 1 << "lost";
        QTest::newRow("client: Main Menu, Yes") << 2 << "menu";
        QTest::newRow("client: window closed") << 3 << "close";
        QTest::newRow("client: connection lost") << 3 << "lost";
    }
    void leavingEndsTheGameForTheOthers()
    {
        QFETCH(int, leaver);
        QFETCH(QString, how);
        openLobbyWithTwoPlayers();
        launch();
        // Into the placement: the host's own is done, Alice's is handed to her.
        player->mayAct = true;
        QVERIFY(runUntil([] { return currentPlayer == 2 && awaitedAckCode == 0 && queuesIdle(); }));
        QVERIFY(allAgree());

        if (leaver == 1) {
            const QString told = how == QLatin1String("lost") ? QStringLiteral("The connection to the host was lost. End of game.")
                                                              : QStringLiteral("The host has left the game. End of game.");
            if (how == QLatin1String("menu")) {
                leaveGame(*window);
                QCOMPARE(hostQuits, 1); // the host's program closes
            } else if (how == QLatin1String("close")) {
                window.reset();
            } else {
                for (int n = 1; n <= kMaxClients; ++n)
                    if (QTcpSocket *socket = clientSocket(n)) {
                        socket->disconnect();
                        socket->abort();
                    }
            }
            QTRY_VERIFY_WITH_TIMEOUT(alice->ended && bob->ended, kHangGuardMs);
            QCOMPARE(alice->boxes, QStringList{told});
            QCOMPARE(bob->boxes, QStringList{told});
            return;
        }
        Copy *staying = copyOfSeat(leaver == 2 ? 3 : 2);
        Copy *leaving = leave(leaver, how);
        QVERIFY(runUntil([] { return networkSeat == 0; }));
        QCOMPARE(screenMode, 1);
        // The host and the third machine alike name who has gone.
        const QStringList told{QStringLiteral("%1 has left the game. End of game.").arg(leaving->name)};
        QCOMPARE(seat.messageTexts(), told);
        // Nothing was sent to the seat that had gone.
        QVERIFY2(!statusLine.contains(QLatin1String("ERROR")), qPrintable(statusLine));
        QVERIFY(runUntil([staying] { return staying->ended; }));
        QCOMPARE(staying->boxes, told);
        QCOMPARE(hostQuits, 0); // the host's program stays, at the start state
    }

    // ---- A machine gone silent: its connection open, nothing read or answered ----

    void aSilentMachineEndsTheGameWithinTheBound_data()
    {
        QTest::addColumn<int>("silent"); // 1 the host, 2 Alice
        QTest::newRow("a client: the others name him") << 2;
        QTest::newRow("the host: both clients let it go") << 1;
    }
    void aSilentMachineEndsTheGameWithinTheBound()
    {
        QFETCH(int, silent);
        openLobbyWithTwoPlayers();
        launch();
        // The host places first: nobody awaits an answer from anybody.
        QVERIFY(runUntil([] { return queuesIdle(); }));
        QVERIFY(allAgree());
        QCOMPARE(awaitedAckCode, 0);
        if (silent == 1) {
            // The host reads and sends nothing more. At the bound both clients still play; just
            // past it both have ended.
            QVERIFY(copyClocksMoveOn(kSilenceLimitMs));
            QVERIFY(!alice->ended && !bob->ended);
            QVERIFY(copyClocksMoveOn(1000));
            for (Copy *c : {alice.get(), bob.get()})
                QVERIFY(waitForCopyAlone(*c, [c] { return c->ended; }));
            const QStringList told{QStringLiteral("The connection to the host was lost. End of game.")};
            QCOMPARE(alice->boxes, told);
            QCOMPARE(bob->boxes, told);
            return;
        }
        alice->send(QStringLiteral("freeze"));
        QVERIFY(runUntil([this] { return alice->frozen; }));
        // Time passes on the host's clock, half a second a tick; Bob answers every probe before
        // the clock moves on.
        const int bobSocket = netSession.socketOfSeat[3];
        constexpr int kTickMs = 500;
        int waited = 0;
        while (networkSeat > 0 && waited <= kSilenceLimitMs + kProbeIntervalMs) {
            seat.clock = seat.clock.addMSecs(kTickMs);
            waited += kTickMs;
            window->gameTick();
            if (networkSeat > 0 && netSession.lastProbe == seat.clock)
                QVERIFY(runUntil([&] { return networkSeat == 0 || netSession.lastHeard[bobSocket] == seat.clock; }));
        }
        QCOMPARE(networkSeat, 0);
        QVERIFY2(waited > kSilenceLimitMs, qPrintable(QString::number(waited)));
        const QStringList told{QStringLiteral("Alice has left the game. End of game.")};
        QCOMPARE(seat.messageTexts(), told);
        QVERIFY(runUntil([this] { return bob->ended; }));
        QCOMPARE(bob->boxes, told);
    }

    void aSeatIsFreedWhenItsPlayerGoesBeforeLaunch_data()
    {
        QTest::addColumn<int>("leaver");
        QTest::addColumn<QString>("how");
        QTest::newRow("Bob's lobby Quit") << 3 << "lobbyquit";
        QTest::newRow("Alice's connection lost") << 2 << "lost";
    }
    void aSeatIsFreedWhenItsPlayerGoesBeforeLaunch()
    {
        QFETCH(int, leaver);
        QFETCH(QString, how);
        openLobbyWithTwoPlayers(true);
        // The panel shows who has joined.
        QCOMPARE(playerCount, 3);
        QCOMPARE(lobbyPanelNames(), (QStringList{QStringLiteral("Hosty 1"), QStringLiteral("Alice 1"), QStringLiteral("Bob 1")}));
        Copy *staying = copyOfSeat(leaver == 2 ? 3 : 2);
        leave(leaver, how);
        QVERIFY(runUntil([] { return joinedPlayers == 2; }));
        QCOMPARE(playerCount, 2);
        QCOMPARE(playerName[2].trimmed(), staying->name);
        QCOMPARE(lobbyPanelNames(), (QStringList{QStringLiteral("Hosty 1"), staying->name + QStringLiteral(" 1")}));
        QCOMPARE(netSession.socketOfSeat[3], 0);
        // Launch deals to the two players still there; the one who stayed plays seat 2.
        launch2();
        QVERIFY(agrees(*staying));
        QVERIFY(staying->boxes.isEmpty());
    }

    void theHostLeavingTheLobbyTellsThoseWhoJoined()
    {
        openLobbyWithTwoPlayers();
        window.reset(); // the lobby's Quit closes the program
        QTRY_VERIFY_WITH_TIMEOUT(alice->ended && bob->ended, kHangGuardMs);
        QCOMPARE(alice->boxes, QStringList{QStringLiteral("The host has left the game. End of game.")});
        QCOMPARE(bob->boxes, alice->boxes);
    }

    // A joined player's Save Game proposes the name of the map the host's start brought, with
    // the start that a network game's save takes.
    void aClientsSaveIsProposedUnderTheMapInPlay_data()
    {
        QTest::addColumn<QString>("mapFile"); // of maps/, or none: Europe built into the game
        QTest::addColumn<QString>("word");
        QTest::newRow("a map file of maps/") << QStringLiteral("ParisByNight.txt") << QStringLiteral("LAN_MyParisByNight");
        QTest::newRow("a built-in map") << QString() << QStringLiteral("LAN_Europe");
    }
    void aClientsSaveIsProposedUnderTheMapInPlay()
    {
        QFETCH(QString, mapFile);
        QFETCH(QString, word);
        if (mapFile.isEmpty()) {
            selectMap(MapEurope);
            loadSelectedBuiltinMap();
        } else {
            chooseShippedMapFile(mapFile);
            if (QTest::currentTestFailed())
                return;
        }
        openLobbyWithTwoPlayers();
        launch();
        QVERIFY(playOn([] { return currentPlayer == 2 && placementRound == 0; }));
        alice->send(QStringLiteral("save"));
        QVERIFY(runUntil([this] { return !alice->proposed.isEmpty(); }));
        QCOMPARE(alice->proposed, word + formatStartText(seat.clock) + QStringLiteral(".TrvGX"));
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestNetPlay tests;
    return runNetTable(argc, argv, tests);
}

#include "test_net_play.moc"
