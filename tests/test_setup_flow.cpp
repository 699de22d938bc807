// The set-up flow of the start menu, each game type scripted through its questions to the first
// turn, and every way out of it.

#include "test_net_support.h"
#include "test_screen_support.h"
#include "test_setup_support.h"

#include "app/DialogState.h"
#include "app/GameSpeed.h"
#include "app/NetworkState.h"
#include "app/PaintSideMenus.h"
#include "app/WindowState.h"
#include "net/NetFraming.h"
#include "persist/Ranks.h"
#include "persist/SavedGame.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnFlow.h"
#include "setup/SetupRules.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/MapView.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace setup_test;

Q_DECLARE_METATYPE(QList<setup_test::Answer>)

namespace {

// A map file of `territories` in a ring, in continents of six.
QString writeRingMap(const QString &name, int territories)
{
    QByteArray text = "[map]\n" + name.toLatin1() + "\n\n[player names]\n20 20\n\n[smilies and codes]\nN\n\n[continents]\n";
    for (int c = 0; c * 6 < territories; ++c) {
        text += "3 Part" + QByteArray::number(c + 1);
        for (int t = c * 6 + 1; t <= std::min(territories, c * 6 + 6); ++t)
            text += ' ' + QByteArray::number(t);
        text += '\n';
    }
    text += "\n[territories]\n";
    for (int t = 1; t <= territories; ++t) {
        const int before = t == 1 ? territories : t - 1;
        const int after = t == territories ? 1 : t + 1;
        text += QStringLiteral("%1 t%2 %3 %4 %5 %6\n")
                    .arg(t)
                    .arg(t, 2, 10, QLatin1Char('0'))
                    .arg(100 + (t % 8) * 90)
                    .arg(100 + (t / 8) * 120)
                    .arg(before)
                    .arg(after)
                    .toLatin1();
    }
    return writeTextFile(name + QStringLiteral(".txt"), text);
}

QString writeCampaign()
{
    writeRingMap(QStringLiteral("Ring"), 24);
    writeRingMap(QStringLiteral("Ring2"), 30);
    return writeTextFile(QStringLiteral("Isles.cmpgn"), "[campaign]\nIsles\n\n[maps]\nRing\nRing2\n");
}

QString countLabel(int n, bool marked)
{
    return marked ? QStringLiteral("> %1 ai players <").arg(n) : QStringLiteral("%1 ai players  ").arg(n);
}

// The players whose placement the start queued, in order (the type-7 steps).
QList<int> playersShownInTurn()
{
    QList<int> players;
    for (int i = 1; i <= actionQueueCount; ++i)
        if (actionQueue[i].type == 7)
            players.append(actionQueue[i].arg[1]);
    return players;
}

// Every territory dealt to a player of the game, one army each, and nobody far ahead.
bool dealtFairly()
{
    QVector<int> held(playerCount + 1);
    for (int t = 1; t <= territoryCount; ++t) {
        const TerritoryState s = territoryState[t];
        if (s.owner < 1 || s.owner > playerCount || s.armies != 1)
            return false;
        ++held[s.owner];
    }
    const auto [low, high] = std::minmax_element(held.begin() + 1, held.end());
    return *high - *low <= 1;
}

// The computer players from the first player on up to the first human are queued to place, the
// human last with his own prompt.
void verifyFirstTurnQueued()
{
    const QList<int> shown = playersShownInTurn();
    QVERIFY(!shown.isEmpty());
    QCOMPARE(shown.last(), currentPlayer);
    QVERIFY(currentPlayer >= 1 && currentPlayer <= humanPlayerCount);
    for (int i = 0; i + 1 < shown.size(); ++i) {
        QVERIFY(shown[i] > humanPlayerCount);
        QCOMPARE(shown[i + 1], shown[i] == playerCount ? 1 : shown[i] + 1);
    }
    QVERIFY(initialArmies > 0);
    const QString prompt = strongholdsEnabled ? QStringLiteral("Choose your stronghold") : placementPrompt(initialArmies);
    QVERIFY(messageQueueTexts().contains(prompt));
}

// Where a joiner looks for his host: a port that refuses, a host that takes no connection yet, or
// one that seats him and goes.
enum JoinersHost { Refuses, Silent, Seats };

// A host that gives the one player who joins seat 2, and goes.
struct SeatingHost {
    QTcpServer server;
    bool seatGiven = false;

    SeatingHost()
    {
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            QTcpSocket *joiner = server.nextPendingConnection();
            QObject::connect(joiner, &QTcpSocket::readyRead, [this, joiner] {
                if (seatGiven || joiner->bytesAvailable() < kCodeLength + kJoinNameLength)
                    return;
                seatGiven = joiner->readAll().startsWith("1000");
                joiner->write("1001 2");
                joiner->disconnectFromHost();
            });
        });
    }
};

} // namespace

class TestSetupFlow : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;
    ScriptedDialogs dialogs;
    std::unique_ptr<ViewArea> view;
    QString startText;
    std::unique_ptr<ListServer> listServer;
    QTcpSocket refusingPort; // bound without listening: it refuses every connection
    // A host's machine that takes no connection yet, and the connections that keep it so.
    std::unique_ptr<QTcpServer> silentHost;
    std::vector<std::unique_ptr<QTcpSocket>> silentHostQueue;

    // A loopback listener whose queue of connections not yet taken is full: the system leaves a
    // new connection half made, retrying it now and then. Linux holds one more than the backlog.
    // Its port, 0 when it could not be made.
    quint16 openSilentHost()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
            || ::listen(fd, 1) != 0) {
            if (fd >= 0)
                ::close(fd);
            return 0;
        }
        silentHost = std::make_unique<QTcpServer>();
        if (!silentHost->setSocketDescriptor(fd)) {
            ::close(fd);
            return 0;
        }
        silentHost->pauseAccepting();
        for (int n = 0; n < 2; ++n) {
            silentHostQueue.push_back(std::make_unique<QTcpSocket>());
            QTcpSocket *waiting = silentHostQueue.back().get();
            waiting->connectToHost(QHostAddress::LocalHost, silentHost->serverPort());
            if (!waitUntil(waiting, &QAbstractSocket::stateChanged,
                           [waiting] { return waiting->state() == QAbstractSocket::ConnectedState; }))
                return 0;
        }
        return silentHost->serverPort();
    }

    // The silent host takes connections again, until it has taken `later`, begun after the
    // joiner's: the system retries half-made connections in the order they were begun, so a
    // joiner's left being made comes before `later` or with it. The ports it took them from.
    QList<quint16> portsTakenBySilentHostUpTo(QTcpSocket &later)
    {
        QList<quint16> taken;
        silentHost->resumeAccepting();
        const auto takeWaiting = [&] {
            while (silentHost->hasPendingConnections())
                taken << silentHost->nextPendingConnection()->peerPort();
            return taken.contains(later.localPort());
        };
        const bool made = waitUntil(&later, &QAbstractSocket::stateChanged,
                                    [&later] { return later.state() == QAbstractSocket::ConnectedState; });
        if (!made || !waitUntil(silentHost.get(), &QTcpServer::newConnection, takeWaiting))
            return {};
        return taken;
    }

    void runSetup(int entry, const QList<Answer> &answers)
    {
        menuAction = entry;
        dialogs.answers = answers;
        view->setupNewGame();
        QVERIFY2(dialogs.problems.isEmpty(), qPrintable(dialogs.problems.join(QStringLiteral("; "))));
        QVERIFY2(dialogs.answers.isEmpty(), "an answer was left over: a question was not asked");
        QCOMPARE(setupRunning, quint8(0));
        QCOMPARE(quickLaunch, quint8(0));
    }

    // Multiplayer, the start menu's second entry, clicked where the window draws it on a wide
    // display: the set-up runs as the click starts it, its questions answered from the script.
    void clickMultiplayer(const QList<Answer> &answers)
    {
        dialogs = ScriptedDialogs();
        dialogs.install();
        dialogs.answers = answers;
        screen_test::paintWindow(*view);
        QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, menuRowRect(2, false, false).center());
        screen_test::paintWindow(*view);
        QVERIFY2(dialogs.problems.isEmpty(), qPrintable(dialogs.problems.join(QStringLiteral("; "))));
        QVERIFY2(dialogs.answers.isEmpty(), "an answer was left over: a question was not asked");
    }

    // The real network steps on loopback, with an online list server that answers `control`
    // ("" none: no online.ini), and an Internet host's address typed in the hosting settings.
    void useNetworkSteps(const QByteArray &control)
    {
        resetSetupHooks();
        useLoopbackMachine();
        networkEnvironment().hostingSettings = [](ViewArea &, const QString &, const QString &, const QString &) {
            return HostingSettingsAnswer{true, QStringLiteral("81.20.3.4"), QStringLiteral("Tester")};
        };
        listServer = std::make_unique<ListServer>();
        listServer->files[QStringLiteral("agame+.txt")] = control;
        writeOnlineConfig(control.isEmpty() ? 0 : listServer->port());
        view->hostingSettingsDialog();
    }

    // A joining player's connection settles (refused), then the loop plays the steps the set-up
    // queued, as its timer would. A host that takes no connection yet leaves it being made: the
    // loop plays the join with the events between its ticks handled, and the join step finds no
    // game while the connection is still being made.
    void playTheQueuedJoin(bool hostSilent)
    {
        if (!hostSilent && clientSocket1 && clientSocket1->state() != QAbstractSocket::UnconnectedState)
            QVERIFY(waitUntil(clientSocket1, &QAbstractSocket::stateChanged,
                              [] { return clientSocket1->state() == QAbstractSocket::UnconnectedState; }));
        for (int tick = 0; tick < 10 && messageQueueCount > 0; ++tick) {
            if (hostSilent && networkSeat == 2) {
                QCoreApplication::processEvents();
                QCOMPARE(clientSocket1->state(), QAbstractSocket::ConnectingState);
            }
            view->gameTick();
        }
    }

    // A joining player's connection is made, the loop plays the join the set-up queued, the host
    // gives him seat 2 and goes: the game ends here.
    void playTheQueuedJoinUntilTheHostGoes()
    {
        QVERIFY(clientSocket1);
        QVERIFY(waitUntil(clientSocket1, &QAbstractSocket::stateChanged,
                          [] { return clientSocket1->state() == QAbstractSocket::ConnectedState; }));
        for (int tick = 0; tick < 10 && messageQueueIndex < messageQueueCount; ++tick)
            view->gameTick();
        QVERIFY(waitUntil(clientSocket1, &QAbstractSocket::stateChanged,
                          [] { return clientSocket1->state() == QAbstractSocket::UnconnectedState; }));
        QCoreApplication::processEvents();
    }

    // The game speed as the window shows and runs it: the marked entry's interval, the timer's.
    QString speedInUse() const
    {
        return QStringLiteral("marked %1 ms, timer %2 ms").arg(gameSpeedInterval()).arg(view->gameTimerInterval());
    }

    // The program started again over its files: the speed its menu marks (the demo has its own).
    int speedAfterARestart()
    {
        view.reset();
        resetAllGameState(7);
        view = std::make_unique<ViewArea>();
        setInteraction(&ui);
        return gameSpeedInterval();
    }

    // A finished game: the next set-up replaces it without asking.
    void finishGame()
    {
        gameEnded = 1;
        clearStepQueues();
    }

private slots:
    void init()
    {
        resetAllGameState(7);
        QFile::remove(settingsFileName());
        QFile::remove(scoresFileName());
        ui = ScriptedInteraction();
        setInteraction(&ui);
        view = std::make_unique<ViewArea>();
        setInteraction(&ui);
        demoRunning = 0;
        gameMode = ModeSinglePlayer;
        screenMode = 2;
        dialogs = ScriptedDialogs();
        dialogs.install();
        FakeNetworkSteps::install();
        startText = formatStartText(ui.clock);
    }

    void cleanup()
    {
        view.reset();
        listServer.reset();
        refusingPort.close();
        silentHostQueue.clear();
        silentHost.reset();
        resetNetworkEnvironment();
        setScreenMeasure(nullptr);
        setChoiceDialogRunner({});
        setInteraction(nullptr);
    }

    void aSingleMapGameStartsOnEveryOfferedMap_data()
    {
        QTest::addColumn<QString>("map");
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("suggested");
        QTest::addColumn<QString>("word");
        QTest::newRow("World") << "World" << int(MapWorld) << 3 << "World";
        QTest::newRow("Europe") << "Europe" << int(MapEurope) << 3 << "Europe";
        QTest::newRow("North America") << "North America" << int(MapNorthAmerica) << 5 << "America";
        QTest::newRow("China") << "China" << int(MapChina) << 3 << "China";
        QTest::newRow("Japan") << "Japan" << int(MapJapan) << 5 << "Japan";
        QTest::newRow("World II") << "World II" << int(MapWorldII) << 5 << "WorldII";
        QTest::newRow("Swamp") << "Swamp" << int(MapSwamp) << 9 << "Swamp";
        QTest::newRow("Australia") << "Australia" << int(MapAustralia) << 5 << "Australia";
    }

    void aSingleMapGameStartsOnEveryOfferedMap()
    {
        QFETCH(QString, map);
        QFETCH(int, flag);
        QFETCH(int, suggested);
        QFETCH(QString, word);
        runSetup(21, {click(map), options(true, false, false), click(QStringLiteral("Conquer All")),
                      click(countLabel(suggested, true))});

        QCOMPARE(dialogs.firstLabels(),
                 (QStringList{"World", "Dice", "Conquer All", countLabel(2, suggested == 2)}));
        const ChoiceDialogSpec &count = dialogs.asked.last();
        QVERIFY(count.find(countLabel(suggested, true))->focus);
        QCOMPARE(int(selectedMap()), flag);
        QCOMPARE(playerCount, suggested + 1);
        QCOMPARE(humanPlayerCount, 1);
        for (int p = 2; p <= playerCount; ++p)
            QCOMPARE(playerName[p], configuredPlayerName[p]);
        QVERIFY(dealtFairly());
        QCOMPARE(gameMode, int(ModeSinglePlayer));
        QCOMPARE(screenMode, 9);
        QCOMPARE(localGameRunning, quint8(1));
        QCOMPARE(attackRule, 'n');
        QCOMPARE(aiMinAttackArmies, 2);
        QCOMPARE(missionType, 0);
        QCOMPARE(defaultSaveName, word + startText + QStringLiteral(".TrvGX"));
        QCOMPARE(FakeNetworkSteps::nameSteps, 1);
        verifyFirstTurnQueued();
    }

    void theLoopPlaysTheComputersPlacementUpToTheHuman()
    {
        animationsEnabled = 0;
        installMapPicture(QImage(currentMapPicturePath()));
        runSetup(21, {click("World"), options(true, false, false), click("Conquer All"), click(countLabel(5, false))});
        const QList<int> before = playersShownInTurn();
        const QString prompt = placementPrompt(initialArmies);
        for (int tick = 0; tick < 3000 && statusText != prompt; ++tick)
            view->gameTick();
        QCOMPARE(statusText, prompt);
        // Each computer player before the human has put all his initial armies down.
        recountAllPlayers();
        for (int p : before)
            QCOMPARE(playerTable[p].totalArmies(), playerTable[p].territoriesHeld() + (p == 1 ? 0 : initialArmies));
        QCOMPARE(initialPlacementPhase, quint8(1));
        QCOMPARE(currentPlayer, 1);
    }

    void aCampaignStartsOnItsFirstMapWithPlayerOne_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("maps");
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("suggested");
        QTest::addColumn<QString>("word");
        QTest::newRow("Worlds") << "Worlds          (World - World II)" << 1 << 2 << int(MapWorld) << 3
                                << "CMPGN_Worlds";
        QTest::newRow("West Pacific") << "West Pacific    (Australia - China - Japan)" << 2 << 3 << int(MapAustralia)
                                      << 5 << "CMPGN_WPacif";
        QTest::newRow("North Atlantic") << "North Atlantic  (Europe - North America)" << 3 << 2 << int(MapEurope) << 3
                                        << "CMPGN_NAtlan";
        QTest::newRow("Tarvan GX") << "Tarvan GX       (Swamp - World II - Japan - North America)" << 5 << 4
                                   << int(MapSwamp) << 9 << "CMPGN_Tarvan";
    }

    void aCampaignStartsOnItsFirstMapWithPlayerOne()
    {
        QFETCH(QString, label);
        QFETCH(int, id);
        QFETCH(int, maps);
        QFETCH(int, flag);
        QFETCH(int, suggested);
        QFETCH(QString, word);
        runSetup(25, {click(label), options(true, false, false), click("Conquer All"), click(countLabel(suggested, true))});
        QCOMPARE(campaignId, id);
        QCOMPARE(campaignMapCount, maps);
        QCOMPARE(campaignMapIndex, 1);
        QCOMPARE(int(selectedMap()), flag);
        // A campaign always begins with player 1.
        QCOMPARE(playersShownInTurn(), QList<int>{1});
        verifyFirstTurnQueued();
        QCOMPARE(defaultSaveName, word + startText + QStringLiteral(".TrvGX"));
    }

    void mapAndCampaignFilesAreLoadedAndNameTheSavedGame_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("campaign");
        QTest::addColumn<int>("territories");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("afterMapFile");
        QTest::newRow("map file") << 21 << "Load a Map..." << 0 << 30 << "MyRing2" << false;
        QTest::newRow("campaign file") << 25 << "Load Campaign..." << 6 << 24 << "My_CMPGN_Isles" << false;
        // The campaign's first map replaces the map file still on the table.
        QTest::newRow("campaign file after a map file") << 25 << "Load Campaign..." << 6 << 24 << "My_CMPGN_Isles"
                                                        << true;
    }

    void mapAndCampaignFilesAreLoadedAndNameTheSavedGame()
    {
        QFETCH(int, entry);
        QFETCH(QString, button);
        QFETCH(int, campaign);
        QFETCH(int, territories);
        QFETCH(QString, name);
        QFETCH(bool, afterMapFile);
        const QString campaignFile = writeCampaign();
        const QString mapFile = QDir::current().filePath(QStringLiteral("Ring2.txt"));
        if (afterMapFile) {
            ui.fileNames = QStringList{mapFile};
            runSetup(21, {click("Load a Map..."), options(true, false, false), click("Conquer All"),
                          click(countLabel(2, true))});
            QCOMPARE(territoryCount, 30);
            finishGame();
        }
        ui.fileNames = QStringList{campaign ? campaignFile : mapFile};
        // A map file of 24 or 30 territories suggests a single computer player: the lowest count is marked.
        runSetup(entry, {click(button), options(true, false, false), click("Conquer All"), click(countLabel(2, true))});
        QCOMPARE(campaignId, campaign);
        QCOMPARE(mapCustomFlag, quint8(1));
        QCOMPARE(int(selectedMap()), int(MapCustom));
        QCOMPARE(territoryCount, territories);
        QCOMPARE(playerCount, 3);
        QVERIFY(dealtFairly());
        QCOMPARE(defaultSaveName, name + startText + QStringLiteral(".TrvGX"));
        if (campaign)
            QCOMPARE(campaignMapCount, 2);
        verifyFirstTurnQueued();
    }

    void aHighScoreGameHasItsFixedRules_data()
    {
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<int>("troopExperience");
        QTest::addColumn<int>("mission");
        QTest::addColumn<QList<int>>("computers");
        const QList<int> mixed{1, 1, 2, 2, 4, 4, 5, 5, 0};
        const Answer single = click("Single Map Game");
        QTest::newRow("Europe") << QList<Answer>{single, click("Europe")} << 0 << 0 << mixed;
        QTest::newRow("North America") << QList<Answer>{single, click("North America")} << 1 << 0
                                       << QList<int>{1, 1, 1, 1, 1, 1, 1, 1, 1};
        QTest::newRow("China") << QList<Answer>{single, click("China")} << 0 << 2 << mixed;
        // The rules of North America are its single map's: the campaign keeps the common ones.
        QTest::newRow("campaign on North America")
            << QList<Answer>{click("Campaign Game"), click("North Atlantic  (Europe - North America)")} << 0 << 0
            << mixed;
    }

    void aHighScoreGameHasItsFixedRules()
    {
        QFETCH(QList<Answer>, answers);
        QFETCH(int, troopExperience);
        QFETCH(int, mission);
        QFETCH(QList<int>, computers);
        runSetup(23, answers);
        QVERIFY(ui.messageTexts().first().startsWith(QStringLiteral("Play a single player game with:")));
        QCOMPARE(dialogs.asked.size(), 2);
        QVERIFY(!dialogs.asked.last().find(QStringLiteral("Load a Map...")));
        QVERIFY(!dialogs.asked.last().find(QStringLiteral("Load Campaign...")));
        QCOMPARE(topFiveGame, quint8(1));
        QCOMPARE(FakeNetworkSteps::topFiveShown, 1);
        QCOMPARE(playerCount, 10);
        QCOMPARE(attackRule, 'j');
        QCOMPARE(aiMinAttackArmies, 3);
        QCOMPARE(strongholdsEnabled, quint8(0));
        QCOMPARE(int(troopExperienceEnabled), troopExperience);
        QCOMPARE(missionType, mission);
        QList<int> shown;
        for (int p = 2; p <= 10; ++p)
            shown.append(personality[p]);
        QCOMPARE(shown, computers);
        QCOMPARE(playersShownInTurn(), QList<int>{1});
        verifyFirstTurnQueued();
    }

    void eachRankGameEarnsTheNextRank()
    {
        // Won one after the other, the rank games climb the whole ladder; Colonel needs World II
        // beside Europe, so the rank game offers it once Europe is won.
        const QList<int> ranks{0, 1, 2, 3, 4, 5, 6, 6, 7, 8, 9, 10, 11};
        for (int step = 0; step < ranks.size(); ++step) {
            runSetup(24, {});
            QCOMPARE(dialogs.asked.size(), 0);
            QCOMPARE(rankGame, quint8(1));
            QCOMPARE(rankAtGameStart, ranks[step]);
            QCOMPARE(aiMinAttackArmies, attackRule == 'n' ? 2 : 3);
            if (step == 6)
                QVERIFY(mapEuropeFlag);
            if (step == 7)
                QVERIFY(mapWorldIIFlag);
            if (ranks[step] >= 8)
                QVERIFY(campaignId > 0);
            verifyFirstTurnQueued();
            QVERIFY(appendScoreRecord(buildScoreRecord(playerCount, attackRule, 0, 1, playerName[1])));
            finishGame();
        }
        qint32 rank = 0;
        qint32 second = 0;
        computeSinglePlayerRank(&rank, &second);
        QCOMPARE(rank, 12);
        runSetup(24, {});
        QCOMPARE(ui.messageTexts().last(), QStringLiteral("***** You are General of the Army *****"));
        QCOMPARE(rankGame, quint8(0));
        QCOMPARE(localGameRunning, quint8(0));
    }

    void quickLaunchWithoutASavedGameSaysSo()
    {
        runSetup(27, {});
        QVERIFY(ui.messageTexts().last().startsWith(QStringLiteral("You haven't saved a game yet.")));
        QCOMPARE(dialogs.asked.size(), 0);
        QCOMPARE(localGameRunning, quint8(0));
    }

    void quickLaunchTakesTheOptionsOfTheLastSavedGame()
    {
        // A hotseat game of two with its neutral army, saved with options of its own.
        gameMode = ModeHotseat;
        playerCount = 3;
        humanPlayerCount = 2;
        neutralArmyActive = 1;
        attackRule = 'j';
        troopExperienceEnabled = 1;
        missionType = 3;
        difficulty = 0;
        recordedOptionFlag = 1;
        personality[2] = 4;
        personality[3] = 5;
        playerName[1] = QStringLiteral("Alma");
        dealTerritories();
        currentPlayer = 1;
        lastSaveFileName = QDir::current().filePath(QStringLiteral("last.TrvGX"));
        QVERIFY(writeSavedGame(lastSaveFileName));
        finishGame();

        runSetup(27, {click("Japan"), click(countLabel(5, true))});
        QCOMPARE(dialogs.firstLabels(), (QStringList{"World", countLabel(2, false)}));
        QCOMPARE(FakeNetworkSteps::nameSteps, 0);
        QCOMPARE(gameMode, int(ModeSinglePlayer));
        QCOMPARE(playerCount, 6);
        QCOMPARE(attackRule, 'j');
        QCOMPARE(aiMinAttackArmies, 3);
        QCOMPARE(troopExperienceEnabled, quint8(1));
        QCOMPARE(missionType, 3);
        QCOMPARE(difficulty, 0);
        QCOMPARE(recordedOptionFlag, quint8(1));
        QCOMPARE(neutralArmyActive, quint8(0));
        QCOMPARE(personality[2], 4);
        QCOMPARE(personality[3], 5);
        QCOMPARE(playerName[1], QStringLiteral("Alma"));
        QCOMPARE(playerName[2], configuredPlayerName[2]);
        QVERIFY(escortTarget >= 2 && escortTarget <= playerCount);
        QCOMPARE(defaultSaveName, QStringLiteral("Japan") + startText + QStringLiteral(".TrvGX"));
        verifyFirstTurnQueued();
    }

    void hotseatPlayersAreNamedAndCounted_data()
    {
        QTest::addColumn<QList<Answer>>("players");
        QTest::addColumn<bool>("strongholds");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("neutral");
        const QString more = QStringLiteral("+ Add more players");
        QTest::newRow("three names, two computer players")
            << QList<Answer>{type("Ann", more), type("pcBob", more), type("  Cy ", "Proceed"), click("2 ai players")}
            << false << QStringList{"Ann", "apc", "Cy", "pc IV", "pc V"} << 0;
        QTest::newRow("two names, no computer player")
            << QList<Answer>{type("Ann", more), type("Bo", "Proceed"), click("0 ai players")} << false
            << QStringList{"Ann", "Bo", "pc III"} << 1;
        QList<Answer> ten;
        QStringList tenNames;
        for (int p = 1; p <= 10; ++p) {
            ten.append(type(QStringLiteral("P%1").arg(p), more));
            tenNames.append(QStringLiteral("P%1").arg(p));
        }
        QTest::newRow("ten names, no count question") << ten << false << tenNames << 0;
        // World has six continents: six names fill a stronghold game.
        QTest::newRow("strongholds seat a player per continent")
            << ten.mid(0, 6) << true << QStringList(tenNames.mid(0, 6)) << 0;
    }

    void hotseatPlayersAreNamedAndCounted()
    {
        QFETCH(QList<Answer>, players);
        QFETCH(bool, strongholds);
        QFETCH(QStringList, names);
        QFETCH(int, neutral);
        runSetup(3, QList<Answer>{click("World"), options(true, strongholds, false)} + players);
        QCOMPARE(gameMode, int(ModeHotseat));
        QVERIFY(!dialogs.firstLabels().contains(QStringLiteral("Conquer All")));
        QCOMPARE(missionType, 0);
        QCOMPARE(FakeNetworkSteps::nameSteps, 0);
        QCOMPARE(playerCount, names.size());
        QCOMPARE(int(neutralArmyActive), neutral);
        QCOMPARE(ui.messageTexts().contains(QStringLiteral("A non-attacking neutral army is assigned.")), neutral == 1);
        for (int p = 1; p <= names.size(); ++p)
            QCOMPARE(playerName[p], names[p - 1]);
        QVERIFY(dealtFairly());
        QCOMPARE(localGameRunning, quint8(1));
        QCOMPARE(defaultSaveName, QStringLiteral("World") + startText + QStringLiteral(".TrvGX"));
        verifyFirstTurnQueued();
    }

    void hotseatNamesAreRememberedForTheNextGame()
    {
        const QString more = QStringLiteral("+ Add more players");
        runSetup(3, {click("World"), options(true, false, false), type("Ann", more), type("Bo", "Proceed"),
                     click("1 ai players")});
        finishGame();
        // The names are offered again; a set-up cancelled at a name changes none of them.
        runSetup(3, {click("World"), options(true, false, false), type("Zed", more), click("Cancel"), click("Cancel")});
        const QList<ChoiceDialogSpec> &asked = dialogs.asked;
        QCOMPARE(asked[asked.size() - 3].items[1].text, QStringLiteral("Ann"));
        QCOMPARE(asked[asked.size() - 2].items[1].text, QStringLiteral("Bo"));
        QCOMPARE(asked[asked.size() - 3].pauseBefore, 500);
        loadSettings();
        QCOMPARE(settingsRecord.hotseatNames[1], QStringLiteral("Ann"));
        QCOMPARE(settingsRecord.hotseatNames[2], QStringLiteral("Bo"));
        QCOMPARE(settingsRecord.hotseatNames[3], QStringLiteral(" "));
    }

    // A hotseat name is played as the settings and the saved games keep it: one line, whole
    // characters, at most 19; a save and a load give back the name that was played.
    void aHotseatNameComesBackFromASavedGameAsItWasPlayed_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("played");
        const QString wide = twoUnitCharacter();
        QTest::newRow("25 characters") << letters(25) << letters(19);
        QTest::newRow("a line break") << "Ab\ncd" << "Ab cd";
        QTest::newRow("an emoji across the cut") << letters(18) + wide << letters(18);
        QTest::newRow("an ordinary name") << "Ann-Sofie d'Arc" << "Ann-Sofie d'Arc";
    }

    void aHotseatNameComesBackFromASavedGameAsItWasPlayed()
    {
        QFETCH(QString, typed);
        QFETCH(QString, played);
        const QString more = QStringLiteral("+ Add more players");
        runSetup(3, {click("World"), options(true, false, false), type(typed, more), type("Bo", "Proceed"),
                     click("1 ai players")});
        QCOMPARE(playerName[1], played);
        const QString path = QDir::current().filePath(defaultSaveName);
        ui.fileNames = QStringList{path};
        view->saveGameDialog();
        QVERIFY(QFile::exists(path));
        loadSettings();
        QCOMPARE(settingsRecord.hotseatNames[1], played);

        // Another game in between, then the saved one again.
        finishGame();
        runSetup(3, {click("World"), options(true, false, false), type("Cy", more), type("Di", "Proceed"),
                     click("1 ai players")});
        QCOMPARE(playerName[1], QStringLiteral("Cy"));
        ui.fileNames = QStringList{path};
        ui.questionAnswers = {true};
        view->loadSavedGame();
        QCOMPARE(gameMode, int(ModeHotseat));
        QCOMPARE(playerName[1], played);
        QCOMPARE(playerName[2], QStringLiteral("Bo"));
    }

    void theDemoPlaysTheComputerPlayersAlone_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("marked");
        QTest::newRow("three") << 3 << true;
        QTest::newRow("nine") << 9 << false;
    }

    void theDemoPlaysTheComputerPlayersAlone()
    {
        QFETCH(int, count);
        QFETCH(bool, marked);
        runSetup(26, {click("Single Map Game"), click("World"), click(countLabel(count, marked))});
        const ChoiceDialogSpec &map = dialogs.asked[1];
        QVERIFY(!map.grayPalette);
        QCOMPARE(map.pauseBefore + map.pauseAfter, 0);
        QVERIFY(!dialogs.asked[2].find(countLabel(2, false))->enabled);
        QCOMPARE(gameMode, int(ModeDemo));
        QCOMPARE(playerCount, count);
        QCOMPARE(currentPlayer, 2);
        QCOMPARE(playerName[1], QString(6, QLatin1Char(' ')));
        QCOMPARE(attackRule, 'j');
        QCOMPARE(aiMinAttackArmies, 3);
        QCOMPARE(statusText, QLatin1String(kDemoPrompt));
        QCOMPARE(localGameRunning, quint8(0));
        QCOMPARE(screenMode, 2);
        QCOMPARE(FakeNetworkSteps::nameSteps, 0);
        QVERIFY(dealtFairly());
    }

    // However a demonstration stops, the bar under the map no longer asks to stop it.
    void theDemoPromptGoesWithTheDemo_data()
    {
        QTest::addColumn<bool>("fromMenu"); // a Demo Mode game, or the demonstration at start-up
        QTest::addColumn<bool>("cancel");   // stopped by the turn flow's Cancel, or by a click
        QTest::newRow("Demo Mode game, a click") << true << false;
        QTest::newRow("Demo Mode game, Cancel") << true << true;
        QTest::newRow("start-up demo, a click") << false << false;
        QTest::newRow("start-up demo, Cancel") << false << true;
    }

    void theDemoPromptGoesWithTheDemo()
    {
        QFETCH(bool, fromMenu);
        QFETCH(bool, cancel);
        if (fromMenu) {
            runSetup(26, {click("Single Map Game"), click("World"), click(countLabel(3, true))});
        } else {
            demoRunning = 1;
            view->gameTick();
        }
        QCOMPARE(statusLine, QLatin1String(kDemoPrompt));
        for (int tick = 0; tick < 5; ++tick)
            view->gameTick();

        if (cancel)
            endHumanTurn();
        else
            QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));

        QCOMPARE(demoRunning, quint8(0));
        QVERIFY(gameMode != ModeDemo);
        QCOMPARE(statusLine.trimmed(), QString());
        QCOMPARE(statusText.trimmed(), QString());
        for (int tick = 0; tick < 5; ++tick)
            view->gameTick();
        QCOMPARE(statusLine.trimmed(), QString());
    }

    void hostAndJoinReachTheNetworkSteps()
    {
        FakeNetworkSteps::networkAnswer = 55;
        runSetup(3, {click("Europe"), options(false, true, false)});
        QCOMPARE(FakeNetworkSteps::hostSteps, 1);
        QCOMPARE(gameMode, int(ModeHost));
        QCOMPARE(attackRule, 'j');
        QCOMPARE(aiMinAttackArmies, 3);
        QCOMPARE(strongholdsEnabled, quint8(1));
        QCOMPARE(humanPlayerCount, 1);
        QCOMPARE(FakeNetworkSteps::nameSteps, 1);
        QCOMPARE(view->gameTimerInterval(), 512);
        QCOMPARE(defaultSaveName, QStringLiteral("LAN_Europe") + startText + QStringLiteral(".TrvGX"));
        QCOMPARE(localGameRunning, quint8(0));

        FakeNetworkSteps::networkAnswer = 66;
        runSetup(3, {});
        QCOMPARE(FakeNetworkSteps::joinSteps, 1);
        QCOMPARE(gameMode, int(ModeClient));
        QCOMPARE(humanPlayerCount, 1);
    }

    void everyCancelLeavesAsItShould_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QList<int>>("boxAnswers");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("worldReset");
        const Answer cancel = click("Cancel");
        const QString count = countLabel(2, false);
        QTest::newRow("map question") << 21 << QList<Answer>{cancel} << QList<int>{} << QStringList{"World"} << false;
        QTest::newRow("options: asked again from the map")
            << 21 << QList<Answer>{click("Europe"), cancel, cancel} << QList<int>{}
            << QStringList{"World", "Dice", "World"} << false;
        QTest::newRow("missions with a map file: reset and end")
            << 21 << QList<Answer>{click("Load a Map..."), options(true, false, false), cancel} << QList<int>{}
            << QStringList{"World", "Dice", "Conquer All"} << true;
        QTest::newRow("count: asked again from the map")
            << 21 << QList<Answer>{click("World"), options(true, false, false), click("Conquer All"), cancel, cancel}
            << QList<int>{} << QStringList{"World", "Dice", "Conquer All", count, "World"} << false;
        QTest::newRow("count with a map file: reset and end")
            << 21 << QList<Answer>{click("Load a Map..."), options(true, false, false), click("Conquer All"), cancel}
            << QList<int>{} << QStringList{"World", "Dice", "Conquer All", countLabel(2, true)} << true;
        QTest::newRow("campaign from its menu entry")
            << 25 << QList<Answer>{cancel} << QList<int>{} << QStringList{"Worlds          (World - World II)"}
            << false;
        // The four-button box: "Campaign Game", Cancel there restarts; "Back" restarts; closed
        // without a button it is a single map game.
        QTest::newRow("campaign through the game-type box")
            << 20 << QList<Answer>{cancel, cancel} << QList<int>{1, 3}
            << QStringList{"Worlds          (World - World II)", "World"} << false;
        QTest::newRow("high-score choice") << 23 << QList<Answer>{cancel} << QList<int>{}
                                           << QStringList{"Single Map Game"} << false;
        QTest::newRow("high-score map") << 23 << QList<Answer>{click("Single Map Game"), cancel} << QList<int>{}
                                        << QStringList{"Single Map Game", "World"} << false;
        QTest::newRow("demo choice") << 26 << QList<Answer>{cancel} << QList<int>{} << QStringList{"Single Map Game"}
                                     << false;
        QTest::newRow("hotseat: proceed after one name")
            << 3 << QList<Answer>{click("World"), options(true, false, false), type("Ann", "Proceed"), cancel}
            << QList<int>{} << QStringList{"World", "Dice", "", "World"} << false;
        QTest::newRow("hotseat: a name below A ends the names")
            << 3
            << QList<Answer>{click("World"), options(true, false, false), type("Ann", "+ Add more players"),
                             type("1st", "+ Add more players"), cancel}
            << QList<int>{} << QStringList{"World", "Dice", "", "", "World"} << false;
        QTest::newRow("not a set-up entry") << 22 << QList<Answer>{} << QList<int>{} << QStringList{} << false;
    }

    void everyCancelLeavesAsItShould()
    {
        QFETCH(int, entry);
        QFETCH(QList<Answer>, answers);
        QFETCH(QList<int>, boxAnswers);
        QFETCH(QStringList, asked);
        QFETCH(bool, worldReset);
        writeRingMap(QStringLiteral("Ring"), 24);
        ui.fileNames = QStringList{QDir::current().filePath(QStringLiteral("Ring.txt"))};
        ui.choiceAnswers = boxAnswers;
        const int playersBefore = playerCount;
        runSetup(entry, answers);
        QStringList labels = dialogs.firstLabels();
        // The name question begins with its prompt label: shown here as an empty first label.
        for (QString &label : labels)
            if (label.startsWith(QStringLiteral("Player ")))
                label.clear();
        QCOMPARE(labels, asked);
        QCOMPARE(localGameRunning, quint8(0));
        QCOMPARE(topFiveGame, quint8(0));
        // No demo is taken for running: the next click is a menu click.
        QVERIFY(gameMode != ModeDemo);
        QCOMPARE(playerCount, playersBefore);
        QCOMPARE(actionQueueCount, 0);
        if (worldReset) {
            QCOMPARE(int(selectedMap()), int(MapWorld));
            QCOMPARE(territoryCount, 42);
        }
    }

    // However the network set-up goes back or ends without a lobby, the window is at the start
    // menu as after any cancelled set-up, nothing of the lobby or the network is left, and a game
    // starts from it. A joiner whose host is not there is told so in the status line.
    void everyWayBackFromTheNetworkSetUpEndsAtAWorkingStartMenu_data()
    {
        QTest::addColumn<QByteArray>("control"); // the list server's control file; "": no online.ini
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("status");
        QTest::addColumn<int>("host"); // where the joiner looks for his host
        const Answer cancel = click("Cancel");
        const QList<Answer> host{click("Internet Game"), click("Create and host a Game"), click("World"),
                                 options(true, false, false)};
        const Answer addToList = click("Add your game to the server list (anyone can connect)");
        const QList<Answer> internetJoin{click("Internet Game"), click("Join a Game"),
                                         click("Type in the host's IP address"), type("127.0.0.1", "Ok")};
        const QList<Answer> lanJoin{click("LAN Game"), click("Join a Game"), type("127.0.0.1", "Ok")};
        const QString noLanGame = QStringLiteral("ERROR - Can't find the host's game. Be sure to start a host game first.");
        // After a way back the set-up asks its first question again: Cancel there.
        QTest::newRow("Cancel at the publish question") << QByteArray("A") << host + QList<Answer>{cancel, cancel}
                                                        << "" << " " << int(Refuses);
        QTest::newRow("the services unavailable") << QByteArray() << host + QList<Answer>{addToList, cancel}
                                                  << onlineUnavailableText() << " " << int(Refuses);
        QTest::newRow("the server disabled") << QByteArray("E") << host + QList<Answer>{addToList, cancel}
                                             << "Tarvan GX server disabled, view website for more info." << " "
                                             << int(Refuses);
        QTest::newRow("no game at the typed Internet address") << QByteArray() << internetJoin << ""
                                                                << "ERROR - Can't find the host's game." << int(Refuses);
        QTest::newRow("no game at the typed LAN name") << QByteArray() << lanJoin << "" << noLanGame << int(Refuses);
        // Given up while the connection is still being made, the join leaves nothing that reaches
        // the host later.
        QTest::newRow("no answer yet at the typed LAN name") << QByteArray() << lanJoin << "" << noLanGame << int(Silent);
        QTest::newRow("seated by the host, who goes") << QByteArray() << internetJoin
                                                      << "The connection to the host was lost. End of game." << " "
                                                      << int(Seats);
    }

    void everyWayBackFromTheNetworkSetUpEndsAtAWorkingStartMenu()
    {
        QFETCH(QByteArray, control);
        QFETCH(QList<Answer>, answers);
        QFETCH(QString, told);
        QFETCH(QString, status);
        QFETCH(int, host);
        // The start menu on a wide display; the player has chosen the slowest speed.
        screen_test::useScreen(1920, 1080, 510);
        view->resize(1920, 1080);
        screenMode = 1;
        view->setGameSpeed512();
        useNetworkSteps(control);
        // A host listens on an ephemeral port; where a joiner looks for his host, the port refuses
        // or takes no connection yet.
        QVERIFY(refusingPort.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
        SeatingHost seating;
        QVERIFY(seating.server.listen(QHostAddress::LocalHost, 0));
        const bool joins = std::any_of(answers.begin(), answers.end(),
                                       [](const Answer &a) { return a.button == QLatin1String("Join a Game"); });
        const quint16 seatingPort = seating.server.serverPort();
        gamePort = !joins ? 0 : host == Silent ? openSilentHost() : host == Seats ? seatingPort : refusingPort.localPort();
        QVERIFY(!joins || gamePort != 0);
        ui.messages.clear();

        clickMultiplayer(answers);
        QTcpSocket later; // begun after the joiner's connection, while the host takes none
        if (host == Silent)
            later.connectToHost(QHostAddress::LocalHost, gamePort);
        if (host == Seats)
            playTheQueuedJoinUntilTheHostGoes();
        else
            playTheQueuedJoin(host == Silent);
        QCOMPARE(seating.seatGiven, host == Seats);
        if (host == Silent) {
            // The host's machine takes connections again: none comes from the joiner.
            QList<quint16> taken = portsTakenBySilentHostUpTo(later);
            QVERIFY2(taken.removeOne(later.localPort()), "the host took no connection begun after the joiner's");
            for (const auto &waiting : silentHostQueue)
                QVERIFY(taken.removeOne(waiting->localPort()));
            QVERIFY2(taken.isEmpty(), "the host took a connection of the joiner after he gave up");
        }

        QCOMPARE(ui.messageTexts(), told.isEmpty() ? QStringList() : QStringList{told});
        // The start menu: its screen, no title, the status line, no panel of a lobby.
        QCOMPARE(screenMode, 1);
        QCOMPARE(windowTitleText.trimmed(), QString());
        QCOMPARE(statusText, status);
        QCOMPARE(playerPanelShown().toPlay, 0);
        // Nothing listens or connects.
        QVERIFY(!tcpServer->isListening());
        QVERIFY(!clientSocket1 || clientSocket1->state() == QAbstractSocket::UnconnectedState);
        QCOMPARE(lobbyOpen, quint8(0));
        QCOMPARE(networkSeat, 0);
        // The network pace is gone with the network: the player's own speed is in use, narration and all.
        QCOMPARE(speedInUse(), QStringLiteral("marked 512 ms, timer 512 ms"));
        QCOMPARE(fastSpeed, quint8(0));

        // Its entries work: a hotseat game starts.
        clickMultiplayer({click("Hotseat"), click("World"), options(true, false, false), type("Ann", "+ Add more players"),
                          type("Bo", "Proceed"), click("1 ai players")});
        QCOMPARE(screenMode, 9);
        QCOMPARE(gameMode, int(ModeHotseat));
        QCOMPARE(localGameRunning, quint8(1));
        verifyFirstTurnQueued();
        // Quit, and start again: the settings file kept the slowest speed.
        QCOMPARE(speedAfterARestart(), 512);
    }

    void theCompactGameTypeMenuRoutesItsEntries_data()
    {
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<int>("rank");
        QTest::newRow("Cancel") << QList<Answer>{click("Cancel")} << QStringList{"Single Map Game"} << 0;
        QTest::newRow("Move Up in Rank") << QList<Answer>{click("Move Up in Rank")} << QStringList{"Single Map Game"}
                                         << 1;
        QTest::newRow("Single Map Game, then Cancel")
            << QList<Answer>{click("Single Map Game"), click("Cancel")} << QStringList{"Single Map Game", "World"} << 0;
    }

    void theCompactGameTypeMenuRoutesItsEntries()
    {
        QFETCH(QList<Answer>, answers);
        QFETCH(QStringList, asked);
        QFETCH(int, rank);
        smallScreen = 1;
        runSetup(20, answers);
        QCOMPARE(dialogs.firstLabels(), asked);
        QCOMPARE(dialogs.asked.first().items.size(), 7);
        QCOMPARE(int(rankGame), rank);
        // The map question fills a small screen.
        if (asked.size() > 1)
            QVERIFY(dialogs.asked.last().maximised);
    }

    void theCurrentMapStaysShownWhileAMapIsChosen_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QList<Answer>>("answers");
        const Answer cancel = click("Cancel");
        QTest::newRow("map question") << 21 << QList<Answer>{cancel};
        QTest::newRow("campaign question") << 25 << QList<Answer>{cancel};
        QTest::newRow("high-score map") << 23 << QList<Answer>{click("Single Map Game"), cancel};
        QTest::newRow("demo map") << 26 << QList<Answer>{click("Single Map Game"), cancel};
    }

    void theCurrentMapStaysShownWhileAMapIsChosen()
    {
        QFETCH(int, entry);
        QFETCH(QList<Answer>, answers);
        selectMap(MapEurope);
        loadSelectedBuiltinMap();
        settingsReloadPending = 0;
        const int europeTerritories = territoryCount;
        runSetup(entry, answers);
        QCOMPARE(dialogs.mapsWhileAsked.last(), int(MapEurope));
        // Left without a map, the map stays; the next set-up still begins afresh.
        QCOMPARE(int(selectedMap()), int(MapEurope));
        QCOMPARE(territoryCount, europeTerritories);
        QCOMPARE(settingsReloadPending, quint8(1));
    }

    void aRunningGameIsReplacedOnlyWhenThePlayerSaysSo()
    {
        localGameRunning = 1;
        playerCount = 6;
        ui.questionAnswers = {false};
        runSetup(21, {});
        QCOMPARE(ui.questionsAsked, QStringList{"Start a new game ? (and quit current game)"});
        QCOMPARE(playerCount, 6);
        QCOMPARE(localGameRunning, quint8(1));

        ui.questionAnswers = {true};
        runSetup(21, {click("Cancel")});
        QCOMPARE(dialogs.asked.size(), 1);
        QCOMPARE(localGameRunning, quint8(0));

        // A finished game goes without a question.
        localGameRunning = 1;
        gameEnded = 1;
        runSetup(21, {click("Cancel")});
        QCOMPARE(ui.questionsAsked.size(), 2);
        QCOMPARE(gameEnded, quint8(0));
    }

    void aMapFileThatFailsLeavesAWholeWorldMap()
    {
        writeTextFile(QStringLiteral("Bad.txt"), "[territories]\n1 aaa 1 1 2\n");
        ui.fileNames = QStringList{QDir::current().filePath(QStringLiteral("Bad.txt"))};
        // Europe is built first; the set-up then starts over and the map file fails.
        runSetup(21, {click("Europe"), click("Cancel"), click("Load a Map...")});
        QVERIFY(!ui.messages.isEmpty());
        QCOMPARE(int(selectedMap()), int(MapWorld));
        QCOMPARE(territoryCount, 42);
        QCOMPARE(localGameRunning, quint8(0));

        runSetup(21, {click("World"), options(true, false, false), click("Conquer All"), click(countLabel(3, true))});
        QCOMPARE(territoryCount, 42);
        QVERIFY(dealtFairly());
        for (int t = 1; t <= territoryCount; ++t)
            QVERIFY(territoryNeighbours[t][1] != 0);
    }

    void strongholdsNarrowTheMissionsAndPlayers()
    {
        Answer withInfo = options(true, true, false);
        withInfo.infoFirst = QStringList{"Dice", "Strongholds"};
        runSetup(21, {click("World"), withInfo, click("Escort"), click(countLabel(3, true))});
        // "Info..." shows its box on top of the open question, which goes on as it was.
        QCOMPARE(ui.messages.size(), 2);
        QCOMPARE(ui.messages[0].title, QStringLiteral("Tarvan GX"));
        QCOMPARE(ui.messages[1].title, QStringLiteral("Strongholds"));
        QCOMPARE(strongholdsEnabled, quint8(1));
        const ChoiceDialogSpec &missions = dialogs.asked[2];
        QCOMPARE(missions.title, QStringLiteral("Missions"));
        QVERIFY(!missions.find(QStringLiteral("Continents"))->enabled);
        QVERIFY(!missions.find(QStringLiteral("Hold Continents"))->enabled);
        QVERIFY(missions.find(QStringLiteral("Escort"))->enabled);
        // World has six continents: two to five computer players.
        const ChoiceDialogSpec &count = dialogs.asked[3];
        for (int n = 2; n <= 9; ++n)
            QCOMPARE(count.find(countLabel(n, n == 3))->enabled, n <= 5);
        QCOMPARE(missionType, 3);
        QVERIFY(escortTarget >= 2 && escortTarget <= playerCount);
        verifyFirstTurnQueued();
    }
};

TARVAN_TEST_MAIN(TestSetupFlow)
#include "test_setup_flow.moc"
