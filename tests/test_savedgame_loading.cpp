// Loading a saved game without the window: what a file's name says about its game, which map a
// saved game is played on, and what a resumed game queues for its player.

#include "TestSupport.h"

#include "persist/SavedGame.h"
#include "persist/SavedGameLoading.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/MapLoading.h"
#include "state/StepQueues.h"

namespace {

QString kindText(const SavedGameKind &kind)
{
    QStringList parts;
    if (kind.lanHost)
        parts << QStringLiteral("LAN");
    if (kind.internetHost)
        parts << QStringLiteral("Internet");
    if (kind.builtinCampaign)
        parts << QStringLiteral("campaign");
    if (kind.mapFile)
        parts << QStringLiteral("map file");
    if (kind.campaignFile)
        parts << QStringLiteral("campaign file");
    return parts.isEmpty() ? QStringLiteral("built-in map") : parts.join(QStringLiteral(", "));
}

} // namespace

class TestSavedGameLoading : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;

private slots:
    void init()
    {
        resetAllGameState(9);
        ui = ScriptedInteraction();
        setInteraction(&ui);
    }

    void fileNameTellsTheKind_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("built-in map") << "World Sunday.TrvGX" << "built-in map" << "";
        QTest::newRow("LAN host") << "LAN_World.TrvGX" << "LAN" << "LAN_";
        QTest::newRow("Internet host") << "INT_Europe.TrvGX" << "Internet" << "INT_";
        QTest::newRow("built-in campaign") << "CMPGN_WPacif.TrvGX" << "campaign" << "CMPGN_";
        QTest::newRow("map file") << "MyIreland.TrvGX" << "map file" << "My";
        QTest::newRow("campaign file") << "My_CMPGN_Isles.TrvGX" << "map file, campaign file" << "My_CMPGN_";
        QTest::newRow("LAN host on a map file") << "LAN_MyIreland.TrvGX" << "LAN, map file" << "LAN_My";
        QTest::newRow("Internet host on a map file") << "INT_MyIreland.TrvGX" << "Internet, map file" << "INT_My";
        // The campaign test looks at the start of the name only.
        QTest::newRow("LAN then campaign") << "LAN_CMPGN_x.TrvGX" << "LAN" << "LAN_";
        QTest::newRow("lower case") << "my game.TrvGX" << "built-in map" << "";
    }

    void fileNameTellsTheKind()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, prefix);
        QCOMPARE(kindText(classifySavedGameName(name)), kind);
        QCOMPARE(savedGameKindPrefix(classifySavedGameName(name)), prefix);
    }

    void builtinCampaignMaps_data()
    {
        QTest::addColumn<int>("campaign");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("map");
        QTest::newRow("1/1") << 1 << 1 << int(MapWorld);
        QTest::newRow("2/1") << 2 << 1 << int(MapAustralia);
        QTest::newRow("2/2") << 2 << 2 << int(MapChina);
        QTest::newRow("3/2") << 3 << 2 << int(MapNorthAmerica);
        QTest::newRow("5/1") << 5 << 1 << int(MapSwamp);
        QTest::newRow("5/2") << 5 << 2 << int(MapWorldII);
        QTest::newRow("5/3") << 5 << 3 << int(MapJapan);
        QTest::newRow("no third Worlds map") << 1 << 3 << int(MapFlagCount);
        QTest::newRow("campaign file") << 6 << 1 << int(MapFlagCount);
        QTest::newRow("no campaign") << 0 << 1 << int(MapFlagCount);
        QTest::newRow("map 0") << 2 << 0 << int(MapFlagCount);
    }

    // The campaign and map number of a "CMPGN_" file give its map (the window's round trips load
    // the others); the running game's campaign and map stay as they are.
    void builtinCampaignMaps()
    {
        QFETCH(int, campaign);
        QFETCH(int, index);
        QFETCH(int, map);
        selectMap(MapGreatBritain);
        campaignId = CampaignFromFile;
        campaignMapIndex = 2;
        campaignMapCount = 3;
        QCOMPARE(int(builtinCampaignMap(campaign, index)), map);
        QCOMPARE(int(selectedMap()), int(MapGreatBritain));
        QCOMPARE(campaignId, int(CampaignFromFile));
        QCOMPARE(campaignMapIndex, 2);
        QCOMPARE(campaignMapCount, 3);
        QCOMPARE(int(campaignCompleted), 0);
    }

    void resumedGameRemindsOfItsMission_data()
    {
        QTest::addColumn<int>("mission");
        QTest::addColumn<QList<int>>("steps");
        QTest::newRow("Conquer All") << 0 << QList<int>{};
        QTest::newRow("Continents") << 1 << QList<int>{100, 2, 100, 100, 3};
        QTest::newRow("Hold Continents") << 2 << QList<int>{};
        QTest::newRow("Escort") << 3 << QList<int>{18};
    }

    // A local game plays on at once: the mission's reminder comes first, then the current
    // player's turn begins.
    void resumedGameRemindsOfItsMission()
    {
        QFETCH(int, mission);
        QFETCH(QList<int>, steps);
        dealWorldGame(3);
        missionType = mission;
        missionContinents[1][2] = 5;
        missionContinentIndex = 2;
        escortTarget = 2;
        currentPlayer = 1;
        savedGameMirror.playTimeSeconds = 4321;
        resumeLocalGame();
        QCOMPARE(messageQueueTypes().mid(0, steps.size()), steps);
        if (mission == 1) {
            QCOMPARE(messageQueue[2].arg[1], 5);
            QCOMPARE(messageQueue[2].arg[2], 100);
            QCOMPARE(messageQueue[5].arg[1], 5);
        }
        QCOMPARE(int(turnStarted), 1);
        QCOMPARE(playTimeSeconds, 4321.0);
        QCOMPARE(gameStartTime, ui.clock);
        QVERIFY(messageQueueTexts().contains(shownPlayerName(1) + QStringLiteral(" to play..")));
    }

    void restoreRefusesWhatDoesNotFit_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("result");
        QTest::newRow("as saved") << "World.TrvGX" << 0 << int(SavedGameRestore::Restored);
        QTest::newRow("territory of no player") << "World.TrvGX" << 1 << int(SavedGameRestore::Misfit);
        QTest::newRow("mission continent off the map") << "World.TrvGX" << 2 << int(SavedGameRestore::Misfit);
        QTest::newRow("stronghold off the map") << "World.TrvGX" << 3 << int(SavedGameRestore::Misfit);
        QTest::newRow("campaign without that map") << "CMPGN_Worlds.TrvGX" << 4 << int(SavedGameRestore::Misfit);
        QTest::newRow("map file gone") << "MyGone.TrvGX" << 0 << int(SavedGameRestore::MapFailed);
    }

    // A stored game that names what its map does not have is refused before it is taken.
    void restoreRefusesWhatDoesNotFit()
    {
        QFETCH(QString, name);
        QFETCH(int, change);
        QFETCH(int, result);
        dealWorldGame(3);
        mapFilePath = QDir::current().filePath(QStringLiteral("Gone.txt"));
        QVERIFY(writeSavedGame(QDir::current().filePath(name)));
        SavedGameRecord &game = savedGameMirror;
        switch (change) {
        case 1:
            game.territoryState[7].owner = 4;
            break;
        case 2:
            game.missionContinents[2][1] = 7;
            break;
        case 3:
            game.playerTable[2].stronghold() = 43;
            break;
        case 4:
            game.campaignId = 1;
            game.campaignMapIndex = 3;
            game.campaignMapCount = 3;
            break;
        default:
            break;
        }
        QCOMPARE(int(restoreSavedGame(QDir::current().filePath(name))), result);
        QCOMPARE(ui.messages.size(), result == int(SavedGameRestore::Restored) ? 0 : 1);
        if (result == int(SavedGameRestore::Restored)) {
            QCOMPARE(territoryState, game.territoryState);
            QCOMPARE(displayedTerritoryState[42], game.territoryState[42]);
            QCOMPARE(int(gameLoaded), 1);
        }
    }
};

TARVAN_TEST_MAIN(TestSavedGameLoading)
#include "test_savedgame_loading.moc"
