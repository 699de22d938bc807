// The network steps of the set-up: the game-type questions, the network name, an Internet
// host's address, the host's lobby, joining by a typed name or by searching this machine's own
// addresses (loopback only), browsing the game list and publishing a host's game on it, the
// list slot a host takes, the rows of the game list, and the hosting settings dialog.

#include "test_net_support.h"

#include "app/NetworkState.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "net/NetState.h"
#include "persist/Settings.h"
#include "persist/SharedGlobals.h"
#include "rules/TurnState.h"
#include "setup/ChoiceDialog.h"
#include "setup/NetworkSetup.h"
#include "setup/SetupState.h"
#include "setup/SetupSteps.h"
#include "state/GameState.h"
#include "app/GameLoop.h"
#include "state/MapPicture.h"
#include "state/MapView.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace {

// An address that fills its field of an entry.
const QString kOwnAddress = QStringLiteral("2001:db8:aaaa:bbbb:cccc:1");

QString entry(const QString &address, const QString &name, const QString &time)
{
    QString e = address.leftJustified(25) + QString(53, QLatin1Char(' ')) + name.leftJustified(20);
    return e.leftJustified(114) + time.leftJustified(12);
}

} // namespace

class TestNetSetup : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;
    std::unique_ptr<ViewArea> window;
    QList<int> answers;      // choice answers in order; 0 cancels
    QStringList texts;       // the text fields' answers in order
    QStringList asked;       // the labels and buttons of every dialog run, joined by "|"
    QStringList pagesOpened;
    int listAnswer = kListCancelled; // the row chosen in the game list
    QString listInfo;                // what the game list said above its rows
    QStringList listRows;
    std::unique_ptr<ListServer> server;

private slots:
    void init()
    {
        window = freshNetWindow(6, ui);
        answers.clear();
        texts.clear();
        asked.clear();
        pagesOpened.clear();
        listAnswer = kListCancelled;
        listInfo.clear();
        listRows.clear();
        server = std::make_unique<ListServer>();
        writeOnlineConfig(server->port());
        setChoiceDialogRunner([this](ViewArea &, const ChoiceDialogSpec &spec) {
            QStringList items;
            for (const DialogItem &item : spec.items)
                items.append(item.text);
            asked.append(items.join(QLatin1Char('|')));
            ChoiceOutcome outcome;
            const int answer = answers.isEmpty() ? 0 : answers.takeFirst();
            outcome.result = answer != 0;
            outcome.choice = answer;
            for (const DialogItem &item : spec.items)
                if (item.kind == DialogItem::TextField)
                    outcome.text = texts.isEmpty() ? QString() : texts.takeFirst();
            return outcome;
        });
        useLoopbackMachine();
        NetworkEnvironment &env = networkEnvironment();
        env.searchWaitMs = kHangGuardMs;
        env.askHostName = [](ViewArea &, const QString &, QString &text) {
            text.clear();
            return true;
        };
        env.openWebPage = [this](const QUrl &page) { pagesOpened.append(page.toString()); };
        env.chooseListedGame = [this](ViewArea &, const QString &info, const QString &, const QStringList &rows, bool) {
            listInfo = info;
            listRows = rows;
            return listAnswer;
        };
        configuredPlayerName[1] = QStringLiteral("Kim");
    }

    void cleanup()
    {
        setChoiceDialogRunner({});
        server.reset();
        if (tcpServer)
            tcpServer->close();
        window.reset();
        setInteraction(nullptr);
    }

    void theGameTypeQuestionsSetTheFlow_data()
    {
        QTest::addColumn<QList<int>>("script");
        QTest::addColumn<bool>("small");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("marker");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("internet");
        QTest::addColumn<QString>("hostButton"); // empty: the question was not asked
        const QString host = QStringLiteral("Create and host a Game");
        const int goOn = int(SetupStepResult::Continue);
        QTest::newRow("hotseat") << QList<int>{1} << false << goOn << 22 << 0 << 0 << "";
        QTest::newRow("LAN host") << QList<int>{2, 1} << false << goOn << 55 << 1 << 0 << host;
        QTest::newRow("LAN host on a small screen") << QList<int>{2, 1} << true << goOn << 55 << 1 << 0 << host;
        QTest::newRow("Internet join") << QList<int>{3, 2} << false << goOn << 66 << 2 << 1 << host;
        QTest::newRow("Internet on a small screen") << QList<int>{3, 1} << true << goOn << 55 << 2 << 1
                                                    << host + QStringLiteral(" (WiFi)");
        QTest::newRow("cancel the kind") << QList<int>{0} << false << int(SetupStepResult::EndSetup) << 22 << 0 << 0
                                         << "";
        QTest::newRow("cancel host or join") << QList<int>{2, 0} << false << int(SetupStepResult::RestartSetup) << 55
                                             << 1 << 0 << host;
    }
    void theGameTypeQuestionsSetTheFlow()
    {
        QFETCH(QList<int>, script);
        QFETCH(bool, small);
        QFETCH(int, result);
        QFETCH(int, marker);
        QFETCH(int, kind);
        QFETCH(int, internet);
        QFETCH(QString, hostButton);
        smallScreen = small;
        answers = script;
        QCOMPARE(int(askNetworkGameType(*window)), result);
        QCOMPARE(aiPlayerCount, marker);
        QCOMPARE(networkKind, kind);
        QCOMPARE(int(internetGame), internet);
        const QString lan = small ? QStringLiteral("LAN Game (WiFi)") : QStringLiteral("LAN Game");
        QCOMPARE(asked.value(0), QStringLiteral("Hotseat|%1|Internet Game|Cancel").arg(lan));
        QCOMPARE(asked.value(1), hostButton.isEmpty() ? QString() : hostButton + QStringLiteral("|Join a Game|Cancel"));
    }

    void theNetworkName_data()
    {
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("name");
        QTest::newRow("short") << "Kim" << "Kim";
        QTest::newRow("a computer player's") << "pc II" << "apc";
        QTest::newRow("cut to 18") << "Abcdefghijklmnopqrstuvwxy" << "Abcdefghijklmnopqr";
        QTest::newRow("blank") << "          " << "Player";
        QTest::newRow("a line break") << "Ho\nst" << "Ho st";
        QTest::newRow("an emoji across 18") << letters(17) + twoUnitCharacter() << letters(17);
    }
    void theNetworkName()
    {
        QFETCH(QString, configured);
        QFETCH(QString, name);
        QCOMPARE(networkNameFor(configured), name.leftJustified(18));
    }

    void announcedAddresses_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("refused");
        QTest::newRow("public") << "81.20.3.4" << false;
        QTest::newRow("home network") << "192.168.1.5" << true;
        QTest::newRow("private 10") << "10.0.0.7" << true;
        QTest::newRow("loopback") << "127.0.0.1" << true;
        QTest::newRow("IPv6 loopback") << "::1" << true;
        QTest::newRow("link-local") << "fe80::1" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("a name") << "noname" << true;
    }
    void announcedAddresses()
    {
        QFETCH(QString, address);
        QFETCH(bool, refused);
        QCOMPARE(announcedAddressRefused(address), refused);
    }

    void theHostsListSlot_data()
    {
        QTest::addColumn<QList<ListFile>>("files");
        QTest::addColumn<QString>("gameName");
        QTest::addColumn<int>("slot");
        const QString mine = kOwnAddress;
        const ListFile absent = listFile(ListFileState::Absent);
        const ListFile failed = listFile(ListFileState::Failed);
        QTest::newRow("its own address wins, filling its field") << QList<ListFile>{came(entry("1.1.1.1", "Friday", " 1")), came(entry(mine, "x", " 900"))}
                                             << "Friday" << 1;
        QTest::newRow("a free slot before a live namesake's")
            << QList<ListFile>{came(entry("   ", "", " 1")), came(entry("2.2.2.2", "Friday", " 5")), came(entry("3.3.3.3", "y", " 0"))}
            << "Friday" << 0;
        QTest::newRow("a closed game before a live namesake's")
            << QList<ListFile>{came(entry("2.2.2.2", "Friday", " 1")), came(entry("Closed", "b", " 9"))} << "Friday" << 1;
        QTest::newRow("a closed namesake first among the closed")
            << QList<ListFile>{came(entry("Closed", "b", " 1")), came(entry("Closed", "Friday", " 9")), came(entry("2.2.2.2", "Friday", " 0"))}
            << "Friday" << 1;
        QTest::newRow("a namesake by the whole name, not its first 18")
            << QList<ListFile>{came(entry("2.2.2.2", "Friday night gamesA", " 1")), came(entry("3.3.3.3", "Friday night gamesB", " 9"))}
            << "Friday night gamesA" << 0;
        QTest::newRow("a namesake by the whole name, not the oldest live game of the same start")
            << QList<ListFile>{came(entry("2.2.2.2", "Tesla", " 1")), came(entry("3.3.3.3", "Tester", " 9"))} << "Tester" << 1;
        QTest::newRow("an address after blanks is a live game, not a free slot")
            << QList<ListFile>{came(entry("2.2.2.2", "a", " 1")), came(entry("    9.9.9.9", "b", " 9"))} << "Z" << 0;
        QTest::newRow("the default name is nobody's")
            << QList<ListFile>{came(entry("2.2.2.2", "a", " 5")), came(entry("3.3.3.3", "noname", " 7"))} << "noname" << 0;
        QTest::newRow("then a blank slot")
            << QList<ListFile>{came(entry("2.2.2.2", "a", " 1")), came(entry("   ", "", " 9")), came(entry("3.3.3.3", "b", " 3"))}
            << "Z" << 1;
        QTest::newRow("then the oldest")
            << QList<ListFile>{came(entry("2.2.2.2", "a", " 12")), came(entry("3.3.3.3", "b", " 4")), came(entry("4.4.4.4", "c", " 4"))}
            << "Z" << 1;
        QTest::newRow("a time without digits is the oldest")
            << QList<ListFile>{came(entry("2.2.2.2", "a", " 1")), came(entry("3.3.3.3", "b", " x12"))} << "Z" << 1;
        QTest::newRow("a time past 32 bits is late")
            << QList<ListFile>{came(entry("2.2.2.2", "a", " 2200000000")), came(entry("3.3.3.3", "b", " 2100000000"))} << "Z" << 1;
        QTest::newRow("a file that did not come is left alone")
            << QList<ListFile>{failed, came(entry("2.2.2.2", "a", " 9"))} << "Z" << int(kNoGameListSlot);
        // Either failed slot may be free: no live game's slot, not even a namesake's.
        QTest::newRow("live games only where the rest failed")
            << QList<ListFile>{came(entry("2.2.2.2", "Friday", " 1")), failed, came(entry("3.3.3.3", "b", " 0")), failed,
                               came(entry("4.4.4.4", "c", " 5"))}
            << "Friday" << int(kNoGameListSlot);
        QTest::newRow("a slot without a file is free, not the live game's")
            << QList<ListFile>{absent, absent, came(entry("2.2.2.2", "a", " 9")), absent, failed} << "Z" << 3;
        QTest::newRow("an empty file is free")
            << QList<ListFile>{came(entry("2.2.2.2", "a", " 9")), came(QString()), came(entry("3.3.3.3", "b", " 1"))} << "Z" << 1;
        QTest::newRow("a closed game's slot before the oldest live game's")
            << QList<ListFile>{came(entry("2.2.2.2", "a", " 1")), came(entry("Closed", "b", " 9")), came(entry("Closed", "c", " 5")),
                               came(entry("3.3.3.3", "d", " 2"))}
            << "Z" << 2;
    }
    void theHostsListSlot()
    {
        QFETCH(QList<ListFile>, files);
        QFETCH(QString, gameName);
        QFETCH(int, slot);
        QCOMPARE(chooseListSlot(files, kOwnAddress, gameName), slot);
    }

    // Blind, any slot could be a live game's.
    void whenNoSlotsFileCameNoneIsTaken_data()
    {
        QTest::addColumn<QList<ListFile>>("files");
        QTest::newRow("no list") << QList<ListFile>();
        QTest::newRow("every file failed") << QList<ListFile>(QVector<ListFile>(kGameListSlots, listFile(ListFileState::Failed)).toList());
    }
    void whenNoSlotsFileCameNoneIsTaken()
    {
        QFETCH(QList<ListFile>, files);
        QCOMPARE(chooseListSlot(files, kOwnAddress, QStringLiteral("Z")), kNoGameListSlot);
    }

    void theListShowsOpenGamesFirst()
    {
        const QStringList entries = {entry("1.1.1.1", "a", "1"), entry("Closed", "b", "2"), entry("3.3.3.3", "c", "3")};
        const QList<ListFile> files = {came(entries[0]), came(entries[1]), listFile(ListFileState::Failed), came(QString()),
                                       came(entries[2]), listFile(ListFileState::Absent)};
        int open = 0;
        const QStringList rows = listedGameRows(files, &open);
        QCOMPARE(open, 2);
        QCOMPARE(rows, (QStringList{entries[0].left(99), entries[2].left(99), entries[1].left(99)}));
    }

    void aLanHostOpensItsLobby_data()
    {
        QTest::addColumn<bool>("portTaken");
        QTest::newRow("port free") << false;
        QTest::newRow("port taken: said, and the lobby opens anyway") << true;
    }
    void aLanHostOpensItsLobby()
    {
        QFETCH(bool, portTaken);
        QTcpServer other;
        QVERIFY(other.listen(QHostAddress::LocalHost, 0));
        gamePort = portTaken ? other.serverPort() : 0;
        QCOMPARE(runHostSteps(*window), SetupStepResult::Continue);
        QCOMPARE(tcpServer->isListening(), !portTaken);
        QCOMPARE(screenMode, 102);
        QCOMPARE(networkSeat, 1);
        QCOMPARE(int(lobbyOpen), 1);
        QCOMPARE(joinedPlayers, 1);
        QCOMPARE(statusText, QStringLiteral("Waiting for others to join...   Hostname:  testbox"));
        QCOMPARE(ui.messages.size(), portTaken ? 1 : 0);
        if (portTaken) {
            QCOMPARE(ui.messages[0].title, QStringLiteral("Server"));
            QVERIFY(ui.messages[0].text.startsWith(QStringLiteral("Unable to start the server: ")));
        }
    }

    void anInternetHostWithoutAnAddressIsSentToTheSettings()
    {
        internetGame = 1;
        settingsRecord.hostExternalIp = QStringLiteral("noname");
        QCOMPARE(runHostSteps(*window), SetupStepResult::RestartSetup);
        QCOMPARE(ui.messageTexts(), QStringList{QStringLiteral(
                                        "Please go to Options -> Hosting Internet Games\nand enter settings for online gaming.")});
        QVERIFY(!tcpServer->isListening());
        QCOMPARE(networkSeat, 0);
    }

    void joiningByATypedNameQueuesTheJoinStep()
    {
        networkPlayerName = networkNameFor(QStringLiteral("Kim"));
        texts = QStringList{QStringLiteral("  127.0.0.1 ")};
        answers = {1};
        QCOMPARE(runJoinSteps(*window), SetupStepResult::Continue);
        QCOMPARE(hostName, QStringLiteral("127.0.0.1"));
        QCOMPARE(lastLanHost, QStringLiteral("127.0.0.1"));
        QCOMPARE(messageQueueTypes(), (QList<int>{100, 100, 101}));
        QCOMPARE(messageQueue[3].text, networkPlayerName);
        QCOMPARE(messageQueue[3].arg[1], 18);
        QCOMPARE(networkSeat, 2);
        QCOMPARE(screenMode, 101);
        // The remembered host is in the settings file.
        loadSettings();
        QCOMPARE(settingsRecord.lastLanHost.trimmed(), QStringLiteral("127.0.0.1"));
    }

    // Nothing of the host's game comes before Launch: the joining player's lobby shows the map the
    // set-up built dealt to nobody, no panel, and holds a state the host reads in his farewell.
    void aJoiningPlayersLobbyShowsNoGameYet()
    {
        window->resetGameDefaults(); // as the set-up begins after a game
        networkPlayerName = networkNameFor(QStringLiteral("Kim"));
        texts = QStringList{QStringLiteral("127.0.0.1")};
        answers = {1};
        QCOMPARE(runJoinSteps(*window), SetupStepResult::Continue);
        QCOMPARE(screenMode, 101);
        QCOMPARE(statusText, QStringLiteral("Waiting for host to start game... "));
        QCOMPARE(territoryCount, 42);
        for (int t = 1; t <= territoryCount; ++t) {
            QCOMPARE(territoryState[t].owner, 0);
            QCOMPARE(displayedTerritoryState[t], territoryState[t]);
        }
        QCOMPARE(playerPanelShown().toPlay, 0);
        StateSnapshot farewell;
        QVERIFY(decodeSnapshot(encodeSnapshot(captureSnapshot(false)), farewell));
    }

    void anEmptyAnswerSearchesThisMachine()
    {
        QTcpServer game;
        QVERIFY(game.listen(QHostAddress::LocalHost, 0));
        gamePort = game.serverPort();
        texts = QStringList{QString()};
        answers = {1};
        QCOMPARE(runJoinSteps(*window), SetupStepResult::Continue);
        // The probe, which came first, carries "9999" alone and closes; the real connection follows.
        QVERIFY(game.waitForNewConnection(kHangGuardMs));
        QTcpSocket *probe = game.nextPendingConnection();
        QByteArray probed;
        while (probe->bytesAvailable() > 0 || probe->waitForReadyRead(kHangGuardMs))
            probed += probe->readAll();
        QCOMPARE(probed, QByteArray("9999"));
        QCOMPARE(hostName, QStringLiteral("127.0.0.1"));
        QCOMPARE(networkSeat, 2);
    }

    void aSearchThatFindsNothingAsksThenGivesUp()
    {
        // A port bound without listening refuses every connection, and no other program can take it.
        QTcpSocket reserved;
        QVERIFY(reserved.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
        gamePort = reserved.localPort();
        texts = QStringList{QString()};
        answers = {1};
        QCOMPARE(runJoinSteps(*window), SetupStepResult::RestartSetup);
        QCOMPARE(networkSeat, 0);
        QCOMPARE(statusText, QStringLiteral(" "));
        QVERIFY(messageQueueTypes().isEmpty());
    }

    void browsingTheGameList_data()
    {
        QTest::addColumn<QStringList>("files"); // agame0.txt, agame1.txt, ...; empty: not there
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("joined");
        QTest::addColumn<QString>("firstLine");
        const QString open = entry("127.0.0.1", "Friday", " 5");
        const QString closed = entry("Closed", "Old", " 3");
        const QString info = QStringLiteral("Press Ok to Join.");
        const QString none = QStringLiteral("No games available at this moment.");
        QTest::newRow("an open game, joined without its padding") << QStringList{QString(), open} << 0 << true << info;
        QTest::newRow("a closed game leads back") << QStringList{closed, open} << 1 << false << info;
        QTest::newRow("only closed games") << QStringList{closed} << 0 << false << none;
        QTest::newRow("cancelled") << QStringList{open} << int(kListCancelled) << false << info;
        QTest::newRow("the server disabled") << QStringList{QStringLiteral("E")} << 0 << false << QString();
        QTest::newRow("no configuration") << QStringList() << 0 << false << QString();
    }
    void browsingTheGameList()
    {
        QFETCH(QStringList, files);
        QFETCH(int, row);
        QFETCH(bool, joined);
        QFETCH(QString, firstLine);
        if (files.isEmpty())
            writeOnlineConfig(0);
        const bool disabled = files == QStringList{QStringLiteral("E")};
        server->files[QStringLiteral("agame+.txt")] = disabled ? "E" : "A";
        for (int i = 0; i < files.size() && !disabled; ++i)
            if (!files[i].isEmpty())
                server->files[QStringLiteral("agame%1.txt").arg(i)] = files[i].toLatin1();
        gamePort = 1; // nothing listens there: the join is only started
        internetGame = 1;
        networkPlayerName = networkNameFor(QStringLiteral("Kim"));
        listAnswer = row;
        answers = {1};
        QCOMPARE(runJoinSteps(*window),
                 joined ? SetupStepResult::Continue : SetupStepResult::RestartSetup);
        QVERIFY(everyFetchFinished(*window));
        QCOMPARE(listInfo.section(QLatin1Char('\n'), 0, 0), firstLine);
        if (!firstLine.isEmpty())
            QVERIFY(listInfo.endsWith(QStringLiteral(
                "\n\nIP/Closed - Map - Version - Dice - Strongh. - Troop Exp. - Started(UT) - Name")));
        QCOMPARE(networkSeat, joined ? 2 : 0);
        if (joined) {
            QCOMPARE(hostName, QStringLiteral("127.0.0.1"));
            QCOMPARE(lastInternetHost, QStringLiteral("127.0.0.1"));
        } else {
            QCOMPARE(statusText, QStringLiteral(" "));
        }
    }

    void publishingTheHostsGame_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("control");
        QTest::addColumn<bool>("lobby");
        QTest::addColumn<QString>("uploaded");
        QTest::newRow("on the list, in its old slot") << 1 << QByteArray("A") << true << "agame3.txt";
        QTest::newRow("friends know the address") << 2 << QByteArray("A") << true << "";
        QTest::newRow("cancelled") << 0 << QByteArray("A") << false << "";
        QTest::newRow("the server disabled") << 1 << QByteArray("E") << false << "";
    }
    void publishingTheHostsGame()
    {
        QFETCH(int, answer);
        QFETCH(QByteArray, control);
        QFETCH(bool, lobby);
        QFETCH(QString, uploaded);
        server->files[QStringLiteral("agame+.txt")] = control;
        server->files[QStringLiteral("agame0.txt")] = entry("   ", "", " 1").toLatin1();
        server->files[QStringLiteral("agame3.txt")] = entry("81.20.3.4", "x", " 9").toLatin1();
        internetGame = 1;
        settingsRecord.hostExternalIp = QStringLiteral("81.20.3.4");
        gamePort = 0;
        answers = {answer};
        QCOMPARE(runHostSteps(*window), lobby ? SetupStepResult::Continue : SetupStepResult::RestartSetup);
        QVERIFY(everyFetchFinished(*window));
        QCOMPARE(tcpServer->isListening(), lobby);
        QCOMPARE(networkSeat, lobby ? 1 : 0);
        if (!uploaded.isEmpty()) {
            QVERIFY(waitUntil(gameListManager(), &QNetworkAccessManager::finished,
                              [&] { return server->uploaded.contains(uploaded); }));
            QVERIFY(server->uploaded[uploaded].startsWith("81.20.3.4 "));
        } else {
            // An upload would be on its way from the call on.
            QVERIFY(onlineTransfers(*window, true).isEmpty());
        }
    }

    // The new host's announcement never goes over a live game while a slot is free or closed, or
    // may be (its file failed), and never blind: nothing is sent, the host is told, and his game
    // goes on unlisted (no "Closed" entry will follow).
    void aHostAnnouncesWithoutLosingALiveGame_data()
    {
        QTest::addColumn<QList<ListFile>>("listed"); // a failed file answers 500
        QTest::addColumn<QString>("failure");       // of every request: "no reply", "refused"
        QTest::addColumn<QString>("uploaded");      // "": nothing
        QTest::addColumn<QString>("told");
        const ListFile absent = listFile(ListFileState::Absent);
        const ListFile failed = listFile(ListFileState::Failed);
        const ListFile namesake = came(entry("10.9.9.9", "Tester", " 1"));
        const auto live = [](const char *name, const char *time) { return came(entry("82.1.1.1", name, time)); };
        const QString whole = QStringLiteral("The game list could not be fetched from the server, so your game was not added to it.");
        const QString part = QStringLiteral("Part of the game list could not be fetched from the server, so your game was not added to it.");
        QTest::newRow("a free slot") << QList<ListFile>{absent, absent, live("a", " 5"), came(QString()), absent} << ""
                                     << "agame4.txt" << "";
        QTest::newRow("a namesake's live game stays while slots are free")
            << QList<ListFile>{namesake, came(entry("Closed", "x", " 2")), came(QString()), absent, absent} << ""
            << "agame4.txt" << "";
        QTest::newRow("a closed slot before a namesake's live game")
            << QList<ListFile>{namesake, live("a", " 2"), live("b", " 3"), came(entry("Closed", "x", " 4")), live("c", " 5")} << ""
            << "agame3.txt" << "";
        QTest::newRow("every file 500") << QList<ListFile>{failed, failed, failed, failed, failed} << "" << "" << whole;
        QTest::newRow("two files 500, live games in the rest")
            << QList<ListFile>{live("a", " 2"), failed, namesake, failed, live("b", " 3")} << "" << "" << part;
        QTest::newRow("no reply") << QList<ListFile>{namesake, absent, absent, absent, absent} << "no reply" << "" << whole;
        QTest::newRow("refused") << QList<ListFile>{namesake, absent, absent, absent, absent} << "refused" << "" << whole;
    }
    void aHostAnnouncesWithoutLosingALiveGame()
    {
        QFETCH(QList<ListFile>, listed);
        QFETCH(QString, failure);
        QFETCH(QString, uploaded);
        QFETCH(QString, told);
        server->files[QStringLiteral("agame+.txt")] = "A";
        for (int i = 0; i < listed.size(); ++i) {
            if (listed[i].state == ListFileState::Came)
                server->files[gameListFileName(i)] = listed[i].text.toLatin1();
            else if (listed[i].state == ListFileState::Failed)
                server->failing[gameListFileName(i)] = 500;
        }
        QTcpSocket refusing; // bound without listening: it refuses every connection
        QVERIFY(refusing.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
        if (failure == QLatin1String("refused"))
            writeOnlineConfig(refusing.localPort(), loopbackAddress("http", server->port(), "up/"), kTestListWaitMs);
        if (failure == QLatin1String("no reply")) {
            writeOnlineConfig(server->port(), 20);
            for (int i = -1; i < kGameListSlots; ++i)
                server->failing[i < 0 ? QStringLiteral("agame+.txt") : gameListFileName(i)] = ListServer::kNeverAnswered;
        }
        internetGame = 1;
        settingsRecord.hostExternalIp = QStringLiteral("81.20.3.4");
        settingsRecord.hostGameName = QStringLiteral("Tester");
        gamePort = 0;
        answers = {1};
        QCOMPARE(runHostSteps(*window), SetupStepResult::Continue);
        QVERIFY(tcpServer->isListening());
        if (uploaded.isEmpty()) {
            QCOMPARE(ui.messageTexts(), QStringList{told});
            // An upload would be on its way from the call on.
            QVERIFY(onlineTransfers(*window, true).isEmpty());
            QCOMPARE(gameListSlot, kNoGameListSlot);
            return;
        }
        QVERIFY(waitUntil(gameListManager(), &QNetworkAccessManager::finished, [&] { return !server->uploaded.isEmpty(); }));
        QCOMPARE(server->uploaded.keys(), QStringList{uploaded});
        QCOMPARE(gameListSlot, uploaded.mid(5, 1).toInt());
        QVERIFY(ui.messages.isEmpty());
    }

    void hostingSettingsAreKeptOnlyWhenChanged_data()
    {
        QTest::addColumn<QString>("ip");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("written");
        QTest::addColumn<bool>("invalid");
        QTest::newRow("unchanged") << "" << "noname" << false << false;
        QTest::newRow("a new name") << "" << "Friday" << true << true;
        QTest::newRow("a new address") << "81.20.3.4" << "noname" << true << false;
        QTest::newRow("not an address") << "abc" << "noname" << true << true;
    }
    void hostingSettingsAreKeptOnlyWhenChanged()
    {
        QFETCH(QString, ip);
        QFETCH(QString, name);
        QFETCH(bool, written);
        QFETCH(bool, invalid);
        QFile::remove(settingsFileName());
        settingsRecord.hostExternalIp = QString(18, QLatin1Char(' '));
        settingsRecord.hostGameName = QStringLiteral("noname").leftJustified(18);
        hostGameName = settingsRecord.hostGameName;
        QString shownIp;
        QString shownName;
        networkEnvironment().hostingSettings = [&](ViewArea &, const QString &externalIp, const QString &,
                                                   const QString &gameName) {
            shownIp = externalIp;
            shownName = gameName;
            return HostingSettingsAnswer{true, ip, name};
        };
        window->hostingSettingsDialog();
        // The fields start without the file's padding.
        QCOMPARE(shownIp, QString());
        QCOMPARE(shownName, QStringLiteral("noname"));
        QCOMPARE(QFile::exists(settingsFileName()), written);
        QCOMPARE(ui.messageTexts().contains(QStringLiteral("Invalid IP")), invalid && written);
        if (written) {
            QCOMPARE(hostExternalIp, ip);
            QCOMPARE(hostGameName, name);
        }
    }

    // The game name typed in the hosting settings is the one the list shows: on the one line of
    // its entry, which keeps its 126 characters and its start time when it is read back.
    void aTypedGameNameKeepsItsListEntryWhole_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        const QString wide = twoUnitCharacter();
        QTest::newRow("a line break") << "Fri\nday" << "Fri day";
        QTest::newRow("an emoji across the settings' 19") << letters(18) + wide << letters(18);
        QTest::newRow("an ordinary name") << "Friday night" << "Friday night";
    }
    void aTypedGameNameKeepsItsListEntryWhole()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        networkEnvironment().hostingSettings = [&](ViewArea &, const QString &, const QString &, const QString &) {
            return HostingSettingsAnswer{true, QStringLiteral("81.20.3.4"), typed};
        };
        window->hostingSettingsDialog();
        QCOMPARE(hostGameName, kept);

        server->files[QStringLiteral("agame+.txt")] = "A";
        server->files[QStringLiteral("agame1.txt")] = entry("1.1.1.1", "x", " 1").toLatin1();
        server->files[QStringLiteral("agame3.txt")] = entry("81.20.3.4", "x", " 9").toLatin1();
        // No slot is free: the next host takes the oldest game's.
        for (int slot : {0, 2, 4})
            server->files[gameListFileName(slot)] = entry(QStringLiteral("4.4.4.%1").arg(slot), "y", " 5").toLatin1();
        internetGame = 1;
        gamePort = 0;
        answers = {1};
        QCOMPARE(runHostSteps(*window), SetupStepResult::Continue);
        QVERIFY(waitUntil(gameListManager(), &QNetworkAccessManager::finished,
                          [&] { return server->uploaded.contains(QStringLiteral("agame3.txt")); }));
        server->files[QStringLiteral("agame3.txt")] = server->uploaded[QStringLiteral("agame3.txt")];
        QString letter = QStringLiteral(" ");
        QCOMPARE(fetchGameList(window.get(), letter), FetchOutcome::AllAnswered);
        const QString listed = downloadedLines.value(3).text;
        QCOMPARE(listed.size(), kGameListEntryLength);
        QCOMPARE(listed.mid(78, 20), kept.leftJustified(20));
        QCOMPARE(entryTimeOfDay(listed), ui.clock.toUTC().toString(QStringLiteral("hhmmsszzz")).toLongLong() * 10);
        // The next host takes the slot of the older game, not this one.
        QCOMPARE(chooseListSlot(downloadedLines, QStringLiteral("2.2.2.2"), QStringLiteral("Other")), 1);
    }

    void theHostingDialogWalksThroughItsSteps_data()
    {
        QTest::addColumn<bool>("small");
        QTest::newRow("normal screen") << false;
        QTest::newRow("small screen") << true;
    }
    void theHostingDialogWalksThroughItsSteps()
    {
        QFETCH(bool, small);
        smallScreen = small;
        QStringList fields;
        bool maximised = false;
        bool internalReadOnly = false;
        QString typedName;
        // Looks at the dialog once it runs, opens both help pages, names the game and says Ok.
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, this, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            watcher.stop();
            maximised = dialog->windowState() & Qt::WindowMaximized;
            const QList<QLineEdit *> edits = dialog->findChildren<QLineEdit *>();
            for (QLineEdit *edit : edits)
                fields.append(edit->text());
            internalReadOnly = edits.size() == 3 && edits[1]->isReadOnly();
            if (edits.size() == 3) {
                // The name field takes the 19 characters the settings keep, on one line.
                edits[2]->setText(QStringLiteral("Friday\nnight, the long one"));
                typedName = edits[2]->text();
                edits[2]->setText(QStringLiteral("Friday"));
            }
            const QList<QPushButton *> buttons = dialog->findChildren<QPushButton *>();
            for (int i = 0; i < 2 && i < buttons.size(); ++i)
                buttons[i]->click();
            for (QPushButton *button : buttons)
                if (button->text() == QLatin1String("Ok"))
                    button->click();
        });
        watcher.start(0);
        const HostingSettingsAnswer answer =
            runHostingSettingsDialog(*window, QStringLiteral("81.20.3.4"), QStringLiteral("192.168.1.9"),
                                     QStringLiteral("noname"));
        QVERIFY(answer.accepted);
        QCOMPARE(answer.externalIp, QStringLiteral("81.20.3.4"));
        QCOMPARE(answer.gameName, QStringLiteral("Friday"));
        QCOMPARE(maximised, small);
        QCOMPARE(fields, (QStringList{QStringLiteral("81.20.3.4"), QStringLiteral("192.168.1.9"), QStringLiteral("noname")}));
        QVERIFY(internalReadOnly);
        QCOMPARE(typedName, QStringLiteral("Friday night, the l"));
        // The two help pages, different ones, in the browser.
        QCOMPARE(pagesOpened.size(), 2);
        QVERIFY(pagesOpened[0] != pagesOpened[1]);
    }

    void theInternalAddressIsTheLastPrivateOne()
    {
        const QList<QHostAddress> addresses = {QHostAddress(QStringLiteral("192.168.1.4")), QHostAddress::LocalHost,
                                               QHostAddress(QStringLiteral("10.0.0.2")),
                                               QHostAddress(QStringLiteral("81.2.3.4")), QHostAddress::LocalHostIPv6};
        QCOMPARE(internalAddressOf(addresses), QStringLiteral("10.0.0.2"));
        QCOMPARE(internalAddressOf({QHostAddress::LocalHost}), QString());
    }
};

TARVAN_TEST_MAIN(TestNetSetup)
#include "test_net_setup.moc"
