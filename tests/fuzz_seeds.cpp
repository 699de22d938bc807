// Writes the seed corpus of every fuzz target with the game's own writers: settings and scores
// files, saved games, network messages, campaign files, the built-in text map, and the map files,
// campaign and map pictures that the build wrote into a run folder. The map files go into the
// folder "campaign-maps" as well, where the campaign target loads a campaign's maps from.
//
//     fuzz_seeds CORPUS_FOLDER [RUN_FOLDER]

#include "GameReset.h"

#include "app/AppReset.h"
#include "maps/MapTexts.h"
#include "net/NetPlay.h"
#include "persist/DataFolder.h"
#include "persist/SavedGame.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "persist/SharedGlobals.h"
#include "rules/Attack.h"
#include "rules/GameEnd.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/MapFile.h"
#include "state/StateReset.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QDir corpus;

void resetGame()
{
    resetGameTablesAndRules();
    resetAllAppState();
    resetPersistState();
    takeDataFolderFromWorkingFolder();
}

bool put(const QString &target, const QString &name, const QByteArray &bytes)
{
    corpus.mkpath(target);
    QFile file(corpus.filePath(target + QLatin1Char('/') + name));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The built-in text map; the map files the build writes come from the run folder.
void mapTextSeeds()
{
    mapFileLines.clear();
    mapTextSwampII();
    const QByteArray text = mapFileLines.join(QLatin1Char('\n')).toUtf8() + '\n';
    put(QStringLiteral("maptext"), QStringLiteral("SwampII-builtin.txt"), text);
    put(QStringLiteral("campaign-maps"), QStringLiteral("SwampII.txt"), text);
}

// Campaigns of the maps in "campaign-maps": three isles and countries, the longest a campaign can
// be, and one whose second map is missing.
void campaignSeeds()
{
    put(QStringLiteral("campaign"), QStringLiteral("Isles.cmpgn"),
        "[campaign]\nIsles\n\n[maps]\nIreland\nFrance\nRomania\n");
    put(QStringLiteral("campaign"), QStringLiteral("Ten.cmpgn"),
        "[campaign]\nTen\n\n[maps]\ne2\n107\nLines\nRings\nJustNeedTwo\nOK83\nNeighbourhood\ncoconutz\n"
        "WorldII\nSwampII\n");
    put(QStringLiteral("campaign"), QStringLiteral("Gap.cmpgn"), "[campaign]\nGap\n\n[maps]\nFrance\nAtlantis\nRussia\n");
}

void runFolderSeeds(const QString &runFolder)
{
    const QDir maps(QDir(runFolder).filePath(QStringLiteral("maps")));
    for (const QFileInfo &file : maps.entryInfoList(QDir::Files)) {
        const QString suffix = file.suffix();
        const QString target = suffix == QLatin1String("png")   ? QStringLiteral("mappicture")
            : suffix == QLatin1String("cmpgn")                   ? QStringLiteral("campaign")
            : suffix == QLatin1String("txt")                     ? QStringLiteral("maptext")
                                                                 : QString();
        if (!target.isEmpty())
            put(target, file.fileName(), fileBytes(file.filePath()));
        if (suffix == QLatin1String("txt"))
            put(QStringLiteral("campaign-maps"), file.fileName(), fileBytes(file.filePath()));
    }
}

void settingsSeeds()
{
    resetGame();
    loadSettings();
    put(QStringLiteral("settings"), QStringLiteral("fresh.dat"), fileBytes(settingsFileName()));
    for (int p = 1; p <= kMaxPlayers; ++p) {
        personality[p] = p % 7;
        configuredPlayerName[p] = QStringLiteral("Player with a long name %1").arg(p);
    }
    randomMixPersonalities = 1;
    speedFlag96 = 1;
    displaySizeClass = 4;
    savesUsed = 50;
    lastLanHost = QStringLiteral("192.168.1.200");
    hostGameName = QStringLiteral("Evening game");
    lastSaveFileName = QDir::current().filePath(QStringLiteral("World game.TrvGX"));
    saveHotseatNamesFlag = 1;
    saveSettings();
    saveHotseatNamesFlag = 0;
    put(QStringLiteral("settings"), QStringLiteral("changed.dat"), fileBytes(settingsFileName()));
}

// A game on `map` of `players`, dealt, with a few counters, the first player to move.
void dealGame(MapFlag map, int players, int humans)
{
    resetGame();
    selectMap(map);
    loadSelectedBuiltinMap();
    playerCount = players;
    humanPlayerCount = humans;
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerName[p] = QStringLiteral("Player %1").arg(p);
    dealTerritories();
    for (int t = 1; t <= territoryCount; ++t)
        territoryState[t].armies = 1 + t % 7;
    for (int p = 1; p <= players; ++p) {
        playerTable[p].battleLosses() = 3 * p;
        turnsTaken[p] = 4 + p;
    }
    recountAllPlayers();
    currentPlayer = 1;
}

void scoresSeeds()
{
    dealGame(MapWorld, 5, 1);
    strongholdsEnabled = 1;
    recordScore(0, 5, 'n', 17, 1, playerName[1]);
    put(QStringLiteral("scores"), QStringLiteral("one.dat"), fileBytes(scoresFileName()));
    gameMode = ModeHotseat;
    humanPlayerCount = 2;
    recordScore(0, 5, 'j', 30, 1, playerName[2]);
    gameMode = ModeHost;
    internetGame = 1;
    joinedPlayers = 3;
    recordScore(0, 4, 'n', 9, 0, playerName[4]);
    gameMode = ModeSinglePlayer;
    campaignId = CampaignWorlds;
    recordScore(0, 10, 'j', 120, 1, playerName[1]);
    put(QStringLiteral("scores"), QStringLiteral("four.dat"), fileBytes(scoresFileName()));
}

void savedGameSeeds()
{
    const struct {
        MapFlag map;
        int players;
        int humans;
        int mission;
    } games[] = {{MapWorld, 3, 1, 0}, {MapEurope, 10, 2, 1}, {MapSwamp, 6, 1, 3}, {MapWorms, 4, 0, 2}};
    for (const auto &g : games) {
        dealGame(g.map, g.players, g.humans);
        missionType = g.mission;
        assignMissions();
        const QString name = QStringLiteral("%1-%2.TrvGX").arg(g.map).arg(g.players);
        if (writeSavedGame(QDir::current().filePath(name)))
            put(QStringLiteral("savedgame"), name, fileBytes(QDir::current().filePath(name)));
    }
    dealGame(MapWorldII, 5, 1);
    campaignId = CampaignWorlds;
    campaignMapIndex = campaignMapCount = 2;
    rankGame = 1;
    rankAtGameStart = 8;
    rankFlagAtGameStart = 0;
    if (writeSavedGame(QDir::current().filePath(QStringLiteral("CMPGN_Worlds.TrvGX"))))
        put(QStringLiteral("savedgame"), QStringLiteral("CMPGN_Worlds.TrvGX"),
            fileBytes(QDir::current().filePath(QStringLiteral("CMPGN_Worlds.TrvGX"))));
}

void networkSeeds()
{
    dealGame(MapWorld, 4, 4);
    const QByteArray start = snapshotMessage(1002);
    const QByteArray update = snapshotMessage(1003);
    put(QStringLiteral("netmessage"), QStringLiteral("1002"), start);
    put(QStringLiteral("netmessage"), QStringLiteral("1003"), update);
    put(QStringLiteral("netmessage"), QStringLiteral("join-and-updates"),
        QByteArray("1000") + QByteArray("Ann").leftJustified(18, ' ') + update + snapshotMessage(1006) + "2004");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: fuzz_seeds CORPUS_FOLDER [RUN_FOLDER]\n");
        return 2;
    }
    corpus = QDir(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    corpus.mkpath(QStringLiteral("."));
    const QString runFolder = argc > 2 ? QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath() : QString();
    // The game's writers write into the working folder: a scratch one.
    QTemporaryDir work;
    if (!work.isValid() || !QDir::setCurrent(work.path()))
        return 1;
    mapTextSeeds();
    campaignSeeds();
    if (!runFolder.isEmpty())
        runFolderSeeds(runFolder);
    settingsSeeds();
    scoresSeeds();
    savedGameSeeds();
    networkSeeds();
    return 0;
}
