// The end of a game as the loop plays it: the fanfare, the mission's box, the end messages of a
// network game, the next demo game, and a campaign carried on to its next map.

#include "test_gameloop_support.h"

#include "app/NetworkState.h"
#include "maps/MapTexts.h"
#include "persist/Scores.h"
#include "rules/GameEnd.h"
#include "state/Campaign.h"
#include "state/MapFile.h"
#include "state/MapLoading.h"
#include "state/SpriteQueue.h"
#include "state/StatusLine.h"

#include <QFile>

using namespace loop_test;

namespace {

struct Ending {
    bool wonHere = false;
    int mission = 0;
    bool failed = false;
    bool noWinner = false;
    bool campaignLost = false;
    bool campaignLastMap = false;
};

} // namespace

Q_DECLARE_METATYPE(Ending)

class TestGameLoopEnd : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;
    RecordingSockets sockets;
    std::unique_ptr<ViewArea> window;

    // Queues the end of the game as the rules do and plays it.
    void playEnding(const Ending &ending)
    {
        missionType = ending.mission;
        missionFailed = ending.failed ? 1 : 0;
        noWinner = ending.noWinner ? 1 : 0;
        campaignEnded = ending.campaignLost ? 1 : 0;
        if (ending.campaignLost || ending.campaignLastMap) {
            campaignId = CampaignWorlds;
            campaignMapCount = 2;
            campaignMapIndex = ending.campaignLastMap ? 2 : 1;
        }
        gameOver = 1;
        if (ending.wonHere)
            pushMessageStep(makeStep(8));
        else
            pushActionStep(makeStep(9));
        window->gameTick();
    }

    int territoriesMarked(char mark)
    {
        int n = 0;
        for (int t = 1; t <= territoryCount; ++t)
            n += territoryChanged[t] == mark ? 1 : 0;
        return n;
    }

private slots:
    void init()
    {
        resetForLoopTest(ui);
        window = makeLoopWindow(ui);
        dealRoundRobin(3);
        sockets = RecordingSockets();
        sockets.install();
        currentPlayer = 1;
        humanPlayerCount = 1;
        QFile::remove(scoresFileName());
    }

    void cleanup() { window.reset(); }

    void theEndShowsTheResultOfTheGameAndItsMission_data()
    {
        QTest::addColumn<Ending>("ending");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<bool>("fanfare");
        QTest::addColumn<int>("lit"); // territories drawn highlighted; -1: the map left as it was
        QTest::newRow("a computer player won") << Ending{} << QStringList{} << true << 42;
        QTest::newRow("the human won") << Ending{true} << QStringList{} << true << 42;
        QTest::newRow("Continents completed") << Ending{true, 1} << QStringList{"Mission Completed"} << true << 42;
        QTest::newRow("Continents failed, seen by the human")
            << Ending{true, 1, true} << QStringList{"Conquer  Europe - Mission Failed"} << false << -1;
        QTest::newRow("Continents failed, another player won")
            << Ending{false, 1, true} << QStringList{"Mission Failed"} << false << 0;
        QTest::newRow("Hold Continents failed, seen by the human") << Ending{true, 2, true} << QStringList{} << false
                                                                   << -1;
        QTest::newRow("Hold Continents failed, another player won")
            << Ending{false, 2, true} << QStringList{"Mission Failed"} << false << 0;
        QTest::newRow("Escort failed") << Ending{true, 3, true} << QStringList{"Escort Ann  - Mission Failed"} << false
                                       << -1;
        QTest::newRow("Escort completed") << Ending{true, 3} << QStringList{"Mission Completed"} << true << 42;
        QTest::newRow("stalemate") << Ending{false, 0, false, true} << QStringList{} << false << 42;
        QTest::newRow("campaign lost")
            << Ending{false, 1, true, false, true} << QStringList{"Campaign Mission Failed"} << false << 0;
        QTest::newRow("campaign lost, seen by the human") << Ending{true, 1, true, false, true}
                                                          << QStringList{"Conquer  Europe - Campaign Mission Failed"}
                                                          << false << -1;
        QTest::newRow("campaign's last map won")
            << Ending{true, 2, false, false, false, true} << QStringList{"Campaign Mission Completed"} << true << 42;
    }

    void theEndShowsTheResultOfTheGameAndItsMission()
    {
        QFETCH(Ending, ending);
        QFETCH(QStringList, boxes);
        QFETCH(bool, fanfare);
        QFETCH(int, lit);
        playerName[2] = QStringLiteral("Ann");
        escortTarget = 2;
        missionContinentIndex = 1;
        missionContinents[1][1] = 4; // Europe
        territoryChanged[7] = 'j';
        playEnding(ending);
        QCOMPARE(ui.messageTexts(), boxes);
        QCOMPARE(ui.soundsPlayed.contains(QStringLiteral("sounds/overwinning.wav")), fanfare);
        if (lit < 0) {
            QCOMPARE(territoriesMarked('j'), 1);
            QCOMPARE(territoryChanged[7], 'j');
        } else {
            QCOMPARE(territoriesMarked('j'), lit);
        }
        QCOMPARE(highlightChanges, quint8(0));
        QCOMPARE(gameEnded, quint8(1));
        QCOMPARE(campaignId, ending.campaignLost ? 0 : (ending.campaignLastMap ? int(CampaignWorlds) : 0));
        // Only the end that another player decided reads the scores file again.
        QCOMPARE(QFile::exists(scoresFileName()), !ending.wonHere);
        QVERIFY(sockets.written.isEmpty());
    }

    void aNetworkGameTellsTheOthersInsteadOfEnding_data()
    {
        QTest::addColumn<int>("seat");
        QTest::addColumn<bool>("wonHere");
        QTest::addColumn<QList<QByteArray>>("codes");
        QTest::addColumn<QList<int>>("written");
        QTest::newRow("host, a client won") << 1 << false << QList<QByteArray>{"1027", "1027"} << QList<int>{1, 2};
        QTest::newRow("host won") << 1 << true << QList<QByteArray>{"1027", "1027"} << QList<int>{1, 2};
        QTest::newRow("client won") << 3 << true << QList<QByteArray>{"1028"} << QList<int>{1};
        QTest::newRow("client, another won") << 3 << false << QList<QByteArray>{} << QList<int>{};
    }

    void aNetworkGameTellsTheOthersInsteadOfEnding()
    {
        QFETCH(int, seat);
        QFETCH(bool, wonHere);
        QFETCH(QList<QByteArray>, codes);
        QFETCH(QList<int>, written);
        networkSeat = seat;
        joinClientSeats(2);
        Ending ending;
        ending.wonHere = wonHere;
        playEnding(ending);
        QCOMPARE(sockets.codes(), codes);
        QCOMPARE(sockets.writtenSockets(), written);
        QCOMPARE(gameEnded, quint8(0));
    }

    void aDemoGameThatEndsIsFollowedByANewOne()
    {
        demoRunning = 1;
        gameMode = ModeDemo;
        territoryMark[3] = 'j';
        pushActionStep(makeStep(9));
        pushActionStep(makeStep(2, 5, 0, 0, 0, 0, 0, QStringLiteral("left over")));
        gameOver = 1;
        window->gameTick();
        // The demo stage has already blinked; the end step has been played.
        QCOMPARE(gameOver, quint8(0));
        QCOMPARE(gameMode, int(ModeSinglePlayer));
        QCOMPARE(gameEnded, quint8(0));
        QCOMPARE(territoriesMarked('j'), 0);
        QCOMPARE(territoryMark[3], 'n');
        window->gameTick();
        QCOMPARE(gameMode, int(ModeDemo));
        QCOMPARE(playerCount, 9);
        QVERIFY(!messageQueueTexts().contains(QStringLiteral("left over")));
        for (int i = 1; i <= actionQueueCount; ++i)
            QVERIFY(actionQueue[i].text != QStringLiteral("left over"));
    }

    void aCampaignGoesOnToItsNextMap_data()
    {
        QTest::addColumn<bool>("wonHere");
        QTest::addColumn<bool>("strongholds");
        QTest::addColumn<int>("mission");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QList<int>>("missionSteps"); // message types before the prompt
        const QString placement = QStringLiteral("Select a territory for initial army placement, available: %1");
        QTest::newRow("won by the human") << true << false << 0 << placement << QList<int>{};
        QTest::newRow("with strongholds") << true << true << 0 << "Choose your stronghold" << QList<int>{};
        QTest::newRow("Continents mission") << true << false << 1 << placement << QList<int>{100, 2, 100, 100, 3};
        QTest::newRow("Continents mission, action step") << false << false << 1 << placement << QList<int>{};
    }

    void aCampaignGoesOnToItsNextMap()
    {
        QFETCH(bool, wonHere);
        QFETCH(bool, strongholds);
        QFETCH(int, mission);
        QFETCH(QString, prompt);
        QFETCH(QList<int>, missionSteps);
        // The size of the campaign's next map, built on its own.
        QVERIFY(builtinMapFor(MapThreeNationsB));
        QCOMPARE(buildBuiltinMap(*builtinMapFor(MapThreeNationsB)), 0);
        const int nextMapTerritories = territoryCount;
        selectMap(MapWorld);
        loadSelectedBuiltinMap();
        dealRoundRobin(3);
        QVERIFY(territoryCount != nextMapTerritories);
        campaignId = CampaignThreeNations;
        campaignMapCount = 2;
        campaignMapIndex = 1;
        campaignPlayer = 0;
        strongholdsEnabled = strongholds ? 1 : 0;
        troopExperienceEnabled = 1;
        troopExperience.fill(40);
        playerTable[1].battleLosses() = 17;
        playerTable[2].battleLosses() = 3;
        missionType = mission;
        missionContinentIndex = 3;
        missionContinents[1][1] = 2;
        spriteAnimationActive = 1;
        rocketInFlight = 1;
        pushActionStep(makeStep(wonHere ? 2 : 9, 0, 0, 0, 0, 0, 0, QStringLiteral("the end")));
        if (wonHere)
            pushMessageStep(makeStep(8));
        pushMessageStep(makeStep(1, 4, 0, 0, 0, 0, 0, QStringLiteral("stale")));
        gameOver = 1;
        window->gameTick();
        if (wonHere)
            window->gameTick();

        QCOMPARE(campaignPlayer, 1);
        QCOMPARE(campaignMapIndex, 2);
        QCOMPARE(selectedMap(), MapThreeNationsB);
        QCOMPARE(territoryCount, nextMapTerritories);
        QCOMPARE(gameOver, quint8(0));
        QCOMPARE(saveAllowed, quint8(0));
        QCOMPARE(spriteAnimationActive, quint8(0));
        QCOMPARE(rocketInFlight, quint8(0));
        for (int t = 1; t <= territoryCount; ++t) {
            QVERIFY(territoryState[t].owner >= 1 && territoryState[t].owner <= playerCount);
            QCOMPARE(displayedTerritoryState[t], territoryState[t]);
        }
        QCOMPARE(troopExperience[2], 100);
        QCOMPARE(playerTable[2].battleLosses(), 17);
        QCOMPARE(playerTable[1].battleLosses(), 17);
        QCOMPARE(missionContinentIndex, wonHere ? 1 : 3);
        // The queues hold the new map's placement only.
        QCOMPARE(currentPlayer, 1);
        QCOMPARE(placementRound, 1);
        QCOMPARE(actionQueueIndex, 0);
        QCOMPARE(actionQueue[1].type, 7);
        QCOMPARE(actionQueue[1].arg[1], 1);
        const QString expected = strongholds ? prompt : prompt.arg(initialArmies);
        QCOMPARE(messageQueueTexts(), QStringList{expected});
        QCOMPARE(messageQueueTypes().mid(0, missionSteps.size()), missionSteps);
        QCOMPARE(ui.messageTexts(), QStringList{});
    }

    void aCampaignMapFileThatCannotBeReadEndsTheCampaignOnTheWorldMap()
    {
        const QString campaign = writeTextFile(QStringLiteral("Isles.cmpgn"),
                                               "[campaign]\nIsles\n\n[maps]\nIreland\nMissing\n");
        mapFileLines.clear();
        mapTextIreland();
        writeTextFile(QStringLiteral("Ireland.txt"), mapFileLines.join(QLatin1Char('\n')).toLatin1());
        // The campaign's first map is being played.
        mapFilePath = QDir::current().filePath(QStringLiteral("Ireland.txt"));
        useStoredMapPath = 'j';
        loadMap();
        QVERIFY(territoryCount != 42);
        campaignId = CampaignFromFile;
        campaignFilePath = campaign;
        campaignMapCount = 2;
        campaignMapNames[1] = QStringLiteral("Ireland");
        campaignMapNames[2] = QStringLiteral("Missing");
        campaignMapIndex = 1;
        pushActionStep(makeStep(9));
        gameOver = 1;
        window->gameTick();

        QCOMPARE(ui.messageTexts(), QStringList{"Map File Not Found - Map File Error"});
        QCOMPARE(campaignId, 0);
        QCOMPARE(campaignMapCount, 1);
        QCOMPARE(selectedMap(), MapWorld);
        // A World map that is really there: its territories, neighbours and continents.
        QCOMPARE(territoryCount, 42);
        QCOMPARE(continentCount, 6);
        for (int t = 1; t <= territoryCount; ++t) {
            QVERIFY(territoryNeighbours[t][1] != 0);
            QVERIFY(territoryState[t].owner >= 1);
        }
        QCOMPARE(actionQueue[1].type, 7);
    }

};

TARVAN_TEST_MAIN(TestGameLoopEnd)
#include "test_gameloop_end.moc"
