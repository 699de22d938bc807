// A network game of three programs (test_net_table.h): every machine plays through the window's
// own calls (the set-up's host and join steps, Launch, clicks on the map and the buttons, the
// army-count and card dialogs, the game loop's ticks); after every hand-over the three must hold
// the same owners, armies, current player and names. Then the ways of leaving, each in a game of
// its own.

#include "test_net_table.h"

class TestNetPlay : public NetTable {
    Q_OBJECT

private slots:
    void init() { openTable(); }
    void cleanup() { closeTable(); }

    void aWholeGamePlaysTheSameOnThreeMachines_data()
    {
        QTest::addColumn<bool>("hostAttacks");
        QTest::newRow("the host plays to win") << true;
        QTest::newRow("the host never attacks: a client wins") << false;
    }
    void aWholeGamePlaysTheSameOnThreeMachines()
    {
        QFETCH(bool, hostAttacks);
        player->attacks = hostAttacks;
        openLobbyWithTwoPlayers();
        QCOMPARE(playerName[2].trimmed(), QStringLiteral("Alice"));
        QCOMPARE(playerName[3].trimmed(), QStringLiteral("Bob"));
        launch();
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
                QVERIFY2(allAgree(), qPrintable(QStringLiteral("hand-over %1 (%2)").arg(handOvers).arg(key)));
                int out = 0;
                for (int p = 1; p <= 3; ++p)
                    out += playerOutOfGame(p) ? 1 : 0;
                eliminations = out;
                rounds = turnsTaken[1];
                if (currentPlayer == 1)
                    player->mayAct = true;
                else
                    copyOfSeat(currentPlayer)->send(QStringLiteral("go"));
            }
            // Play goes on: the host's own player acts, or the others' messages come. While
            // another machine acts, the host shows each of its actions as it is taken.
            QVERIFY(runUntil([&] {
                if (currentPlayer != 1 && queuesIdle() && displayedTerritoryState != territoryState)
                    ++shownBehind;
                return gameOver || !queuesIdle() || awaitedAckCode != 0 || player->act();
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
            QTRY_VERIFY_WITH_TIMEOUT(alice->ended && bob->ended, 20000);
            QCOMPARE(alice->boxes, QStringList{told});
            QCOMPARE(bob->boxes, QStringList{told});
            return;
        }
        Copy *staying = copyOfSeat(leaver == 2 ? 3 : 2);
        Copy *leaving = leave(leaver, how);
        QVERIFY(runUntil([] { return networkSeat == 0; }, 20000));
        QCOMPARE(screenMode, 1);
        QCOMPARE(seat.messageTexts(), QStringList{QStringLiteral("%1 has left the game. End of game.").arg(leaving->name)});
        // Nothing was sent to the seat that had gone.
        QVERIFY2(!statusLine.contains(QLatin1String("ERROR")), qPrintable(statusLine));
        QVERIFY(runUntil([staying] { return staying->ended; }, 20000));
        QCOMPARE(staying->boxes, QStringList{QStringLiteral("The host has left the game. End of game.")});
        QCOMPARE(hostQuits, 0); // the host's program stays, at the start state
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
        QVERIFY(runUntil([] { return joinedPlayers == 2; }, 20000));
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
        QTRY_VERIFY_WITH_TIMEOUT(alice->ended && bob->ended, 20000);
        QCOMPARE(alice->boxes, QStringList{QStringLiteral("The host has left the game. End of game.")});
        QCOMPARE(bob->boxes, alice->boxes);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestNetPlay tests;
    return runNetTable(argc, argv, tests);
}

#include "test_net_play.moc"
