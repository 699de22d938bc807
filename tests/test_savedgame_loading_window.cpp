// Saving and loading games at the window: a game saved through the Save Game entry and loaded
// through Load Game plays on exactly where it stood, on every kind of map and campaign and as a
// network host; refused files change nothing; the rank game's save counter and reset.

#include "TestSupport.h"
#include "test_dialogs_support.h"
#include "test_net_waits.h"

#include "ai/AiState.h"
#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "dialogs/SavedGameDialogs.h"
#include "maps/MapTexts.h"
#include "net/NetFraming.h"
#include "net/NetPlay.h"
#include "net/NetState.h"
#include "persist/DataFolder.h"
#include "persist/DataStream.h"
#include "persist/Ranks.h"
#include "persist/SavedGame.h"
#include "persist/SavedGameLoading.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "persist/SharedGlobals.h"
#include "rules/GameEnd.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "setup/ChoiceDialog.h"
#include "setup/ResetDefaults.h"
#include "setup/SetupState.h"
#include "setup/SetupSteps.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/MapFile.h"
#include "state/MapLoading.h"
#include "state/StatusLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>

#include <memory>

using namespace dialog_test;

// Two games line by line: a difference names the line it is in.
#define COMPARE_GAMES(actual, expected)                                                              \
    do {                                                                                         \
        const QStringList actualLines = (actual);                                                \
        const QStringList expectedLines = (expected);                                            \
        QCOMPARE(actualLines.size(), expectedLines.size());                                      \
        for (int line = 0; line < actualLines.size(); ++line)                                    \
            QCOMPARE(actualLines[line], expectedLines[line]);                                    \
    } while (false)

namespace {

// ---- The game as the rules see it, as text lines, so that a difference names itself ----

QString cut(const QString &name)
{
    return name.left(kStoredTextLength);
}

// What a saved game holds, and the map it is played on.
QStringList storedGame(int shortenedSeats = 0)
{
    QStringList lines;
    lines << QStringLiteral("map %1 %2 %3 %4").arg(selectedMap()).arg(territoryCount).arg(continentCount).arg(mapName);
    for (int t = 1; t <= kMaxTerritories; ++t)
        lines << QStringLiteral("t%1 %2/%3").arg(t).arg(territoryState[t].owner).arg(territoryState[t].armies);
    for (int p = 1; p <= kMaxPlayers; ++p) {
        QStringList fields;
        for (int f = 1; f < PlayerRecord::FieldCount; ++f)
            fields << QString::number(playerTable[p].f[f]);
        lines << QStringLiteral("p%1 %2").arg(p).arg(fields.join(QLatin1Char(',')));
        QString name = cut(playerName[p]);
        if (p >= 2 && p <= shortenedSeats && !name.startsWith(QLatin1String("pc")))
            name = name.left(2) + QStringLiteral("..");
        lines << QStringLiteral("p%1 name %2 pers %3/%4 avenge %5 turns %6 pair %7/%8")
                     .arg(p)
                     .arg(name)
                     .arg(personality[p])
                     .arg(personalitySetting[p])
                     .arg(avengeTarget[p])
                     .arg(turnsTaken[p])
                     .arg(pairs10[p].id)
                     .arg(pairs10[p].value);
        QStringList mission;
        for (int c = 1; c <= kMaxContinents; ++c)
            mission << QString::number(missionContinents[p][c]);
        lines << QStringLiteral("p%1 mission %2").arg(p).arg(mission.join(QLatin1Char(',')));
    }
    lines << QStringLiteral("players %1 humans %2 current %3").arg(playerCount).arg(humanPlayerCount).arg(currentPlayer);
    lines << QStringLiteral("deck %1 %2 %3 %4 marker %5")
                 .arg(cardDeckCounts[CardArtillery])
                 .arg(cardDeckCounts[CardInfantry])
                 .arg(cardDeckCounts[CardCavalry])
                 .arg(cardDeckCounts[CardWild])
                 .arg(cardTradeMarker);
    lines << QStringLiteral("rule %1 %2 strongholds %3 te %4 neutral %5 spare %6 difficulty %7 mix %8 mode %9")
                 .arg(QLatin1Char(attackRule))
                 .arg(aiMinAttackArmies)
                 .arg(strongholdsEnabled)
                 .arg(troopExperienceEnabled)
                 .arg(neutralArmyActive)
                 .arg(recordedOptionFlag)
                 .arg(difficulty)
                 .arg(randomMixPersonalities)
                 .arg(gameMode);
    lines << QStringLiteral("campaign %1 %2/%3 player %4 name %5")
                 .arg(campaignId)
                 .arg(campaignMapIndex)
                 .arg(campaignMapCount)
                 .arg(campaignPlayer)
                 .arg(cut(campaignName));
    lines << QStringLiteral("mission %1 index %2 escort %3").arg(missionType).arg(missionContinentIndex).arg(escortTarget);
    lines << QStringLiteral("rank %1 %2 %3").arg(rankGame).arg(rankAtGameStart).arg(rankFlagAtGameStart);
    return lines;
}

// The turn as a human's turn begins it.
QStringList turnState()
{
    QStringList lines;
    QStringList buttons;
    for (int b = ButtonNext; b <= ButtonCancel; ++b)
        buttons << QString::number(inGameButtonEnabled[b]);
    lines << QStringLiteral("buttons %1 save %2").arg(buttons.join(QLatin1Char(','))).arg(saveAllowed);
    lines << QStringLiteral("due %1 %2 %3 attacked %4 card %5")
                 .arg(territoryArmiesDue)
                 .arg(continentArmiesDue)
                 .arg(cardArmiesDue)
                 .arg(attackMadeThisTurn)
                 .arg(QLatin1Char(cardEarnedThisTurn));
    lines << QStringLiteral("phases %1 %2 %3 %4").arg(territoryBonusPhase).arg(continentBonusPhase).arg(cardBonusPhase).arg(attackSourcePhase);
    QStringList experience;
    for (int p = 1; p <= kMaxPlayers; ++p)
        experience << QString::number(troopExperience[p]);
    lines << QStringLiteral("experience %1").arg(experience.join(QLatin1Char(',')));
    QStringList atStart;
    for (int p = 1; p <= kMaxPlayers; ++p)
        atStart << QString::number(playerTableAtTurnStart[p].cardCount());
    lines << QStringLiteral("turn start %1 losses %2 cards %3").arg(turnStartPlayer).arg(lossCount).arg(atStart.join(QLatin1Char(',')));
    return lines;
}

QStringList wholeGame()
{
    return storedGame() + turnState();
}

// ---- Games to save ----

struct GameSpec {
    int players = 4;
    int humans = 1;
    int mode = ModeSinglePlayer;
    char rule = 'j';
    bool strongholds = true;
    bool experience = true;
    int mission = 1;
};

// Players with names longer than a file keeps, cards, losses and turns of their own, every
// territory dealt with armies of its own, and the first player's turn begun.
void playGameUpTo(const GameSpec &g)
{
    playerCount = g.players;
    humanPlayerCount = g.humans;
    gameMode = g.mode;
    attackRule = g.rule;
    aiMinAttackArmies = g.rule == 'n' ? 2 : 3;
    strongholdsEnabled = g.strongholds;
    troopExperienceEnabled = g.experience;
    recordedOptionFlag = 1;
    difficulty = 1;
    randomMixPersonalities = 1;
    for (int p = 1; p <= kMaxPlayers; ++p) {
        playerName[p] = p == 3 ? QStringLiteral("pc III            ") : QStringLiteral("Player number %1 with a long name").arg(p);
        personality[p] = p % 6;
        personalitySetting[p] = p == 4 ? 6 : 0;
        avengeTarget[p] = p % g.players;
    }
    dealTerritories();
    // The first player holds the first continent whole: his turn brings its bonus.
    const ContinentRecord &first = continentTable[1];
    for (int i = 1; i <= first.memberCount; ++i)
        territoryState[first.members[i]].owner = 1;
    for (int t = 1; t <= territoryCount; ++t)
        territoryState[t].armies = 1 + t * 7 % 9;
    displayedTerritoryState = territoryState;
    missionType = g.mission;
    assignMissions();
    if (missionType == 1)
        missionContinentIndex = 2;
    for (int p = 1; p <= g.players; ++p) {
        PlayerRecord &r = playerTable[p];
        r.artillery() = p % 2;
        r.infantry() = (p + 1) % 2;
        r.cavalry() = p % 3 == 0 ? 1 : 0;
        r.battleLosses() = 17 * p;
        r.battles() = 5 * p;
        r.attacksMade() = 3 * p;
        r.battlesWon() = 2 * p;
        r.battlesLost() = p;
        turnsTaken[p] = 11 + p;
        pairs10[p] = {p % g.players + 1, 4 + p};
        for (int t = 1; t <= territoryCount && g.strongholds; ++t)
            if (territoryState[t].owner == p) {
                r.stronghold() = t;
                break;
            }
    }
    // Fewer cards in the deck than the players' hands leave it: no kind goes past the game's.
    cardDeckCounts = {1, 12, 11, 10};
    cardTradeMarker = 177;
    playTimeSeconds = 1234;
    playTimeStamp = interaction().now();
    currentPlayer = 1;
    recountAllPlayers();
    beginTurn();
}

QString mapTextFile(const QString &name, void (*text)())
{
    mapFileLines.clear();
    text();
    return writeTextFile(name + QStringLiteral(".txt"), mapFileLines.join(QLatin1Char('\n')).toUtf8());
}

// Something else entirely in play before a load: nothing of it may survive.
void playAnotherGame()
{
    selectMap(MapWorms);
    loadSelectedBuiltinMap();
    GameSpec other;
    other.players = 7;
    other.rule = 'n';
    other.strongholds = false;
    other.experience = false;
    other.mission = 2;
    playGameUpTo(other);
    campaignId = CampaignTarvan;
    campaignMapIndex = 3;
}

QString savedGamePath(const QString &name)
{
    return QDir::current().filePath(name);
}

} // namespace

Q_DECLARE_METATYPE(GameSpec)

class TestSavedGameLoadingWindow : public QObject {
    Q_OBJECT

    static int &quitCount()
    {
        static int count = 0;
        return count;
    }

    ScriptedInteraction ui;
    DialogScript script;
    std::unique_ptr<ViewArea> window;

    // Saves the running game through the Save Game entry under `name` (a first save asks).
    void saveAs(const QString &name)
    {
        ui.fileNames = QStringList{savedGamePath(name)};
        window->saveGameDialog();
        QVERIFY2(QFile::exists(savedGamePath(name)), qPrintable(ui.messageTexts().join(QLatin1Char('\n'))));
    }

    // Loads `path` through Load Game and answers the question to continue.
    void load(const QString &path, bool continueGame = true)
    {
        ui.fileNames = QStringList{path};
        ui.questionAnswers = QList<bool>{continueGame};
        window->loadSavedGame();
    }

    void roundTrip(const QString &name)
    {
        saveAs(name);
        const QStringList saved = wholeGame();
        const int savedMap = selectedMap();
        playAnotherGame();
        load(savedGamePath(name));
        QCOMPARE(ui.messageTexts(), QStringList());
        QCOMPARE(int(selectedMap()), savedMap);
        COMPARE_GAMES(wholeGame(), saved);
        QCOMPARE(screenMode, 9);
        QCOMPARE(int(gameLoaded), 1);
        QCOMPARE(saveFileName, name);
        QCOMPARE(int(resumedGameMark), int('j'));
    }

    // This machine joins a host's game through the set-up's join steps and plays the seat it is
    // given, up to its own turn begun by the game loop. The host is the test's own on loopback:
    // it sends what a host sends, the seat, the start of its game and that seat's turn, made
    // from a host's game as the host rows make it.
    void joinAndBeginOwnTurn(bool internet)
    {
        GameSpec hosted;
        hosted.mode = ModeHost;
        hosted.mission = 0;
        hosted.players = 5;
        playGameUpTo(hosted);
        const QByteArray start = snapshotMessage(1002);
        currentPlayer = 2;
        const QByteArray turn = snapshotMessage(1007);

        QTcpServer host;
        QVERIFY(host.listen(QHostAddress::LocalHost, 0));
        window->resetGameDefaults();
        gameMode = ModeClient;
        internetGame = internet ? 1 : 0;
        gamePort = host.serverPort();
        networkPlayerName = playerName[1] = QStringLiteral("Joiner").leftJustified(kJoinNameLength);
        // "Type in the host's IP address" for an Internet game; the address in every text field.
        setChoiceDialogRunner([](ViewArea &, const ChoiceDialogSpec &spec) {
            ChoiceOutcome outcome;
            outcome.result = 1;
            outcome.choice = 2;
            for (const DialogItem &item : spec.items)
                if (item.kind == DialogItem::TextField)
                    outcome.text = QStringLiteral("127.0.0.1");
            return outcome;
        });
        const SetupStepResult joined = runJoinSteps(*window);
        script.install();
        QCOMPARE(int(joined), int(SetupStepResult::Continue));
        QVERIFY(host.waitForNewConnection(kHangGuardMs));
        QTcpSocket *toClient = host.nextPendingConnection();
        toClient->setParent(window.get());
        toClient->write(plainMessage(1001, QByteArray(" 2")));
        QTRY_COMPARE_WITH_TIMEOUT(networkSeat, 2, kHangGuardMs);
        toClient->write(start);
        QTRY_COMPARE_WITH_TIMEOUT(screenMode, 9, kHangGuardMs);
        toClient->write(turn);
        QTRY_VERIFY_WITH_TIMEOUT(netSession.clientActing, kHangGuardMs);
        for (int tick = 0; tick < 100 && !(turnStarted && saveAllowed); ++tick)
            window->gameTick();
        QVERIFY(turnStarted && saveAllowed);
        QCOMPARE(gameMode, int(ModeClient));
        QCOMPARE(currentPlayer, 2);
        gamePort = 0;
    }

private slots:
    void init()
    {
        window = openFreshWindow(5, ui, script, [] {});
        lobbyListenAddress = QHostAddress(QHostAddress::LocalHost);
        gamePort = 0;
    }

    void cleanup()
    {
        DialogScript::uninstall();
        window.reset();
        setInteraction(nullptr);
    }

    void builtinMapGameResumes_data()
    {
        QTest::addColumn<int>("map");
        QTest::addColumn<GameSpec>("spec");
        GameSpec continents;
        GameSpec escort;
        escort.mission = 3;
        escort.rule = 'n';
        escort.strongholds = false;
        GameSpec hotseat;
        hotseat.humans = 2;
        hotseat.mode = ModeHotseat;
        hotseat.mission = 0;
        hotseat.players = 10;
        for (const BuiltinMap *map : allBuiltinMaps()) {
            if (map->flag == MapThreeNations || map->flag == MapThreeNationsB)
                continue; // only a campaign's file names them
            QTest::addRow("%s", map->name) << int(map->flag) << continents;
        }
        QTest::newRow("World, Escort, Dice-like") << int(MapWorld) << escort;
        QTest::newRow("Europe, ten players hotseat") << int(MapEurope) << hotseat;
    }

    // A game on a built-in map is saved under a name without a prefix: the territories tell the
    // loader its map.
    void builtinMapGameResumes()
    {
        QFETCH(int, map);
        QFETCH(GameSpec, spec);
        selectMap(static_cast<MapFlag>(map));
        loadSelectedBuiltinMap();
        playGameUpTo(spec);
        defaultSaveName = QStringLiteral("Game.TrvGX");
        roundTrip(QStringLiteral("Saved game.TrvGX"));
    }

    void builtinCampaignGameResumes_data()
    {
        QTest::addColumn<int>("campaign");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("map");
        QTest::newRow("Worlds, map 2") << 1 << 2 << 2 << int(MapWorldII);
        QTest::newRow("West Pacific, map 3") << 2 << 3 << 3 << int(MapJapan);
        QTest::newRow("North Atlantic, map 1") << 3 << 1 << 2 << int(MapEurope);
        QTest::newRow("Three Nations, map 1") << 4 << 1 << 2 << int(MapThreeNations);
        QTest::newRow("Three Nations, map 2") << 4 << 2 << 2 << int(MapThreeNationsB);
        QTest::newRow("Tarvan GX, map 4") << 5 << 4 << 4 << int(MapNorthAmerica);
    }

    // "CMPGN_": the campaign and its map number stored in the file give the map.
    void builtinCampaignGameResumes()
    {
        QFETCH(int, campaign);
        QFETCH(int, index);
        QFETCH(int, count);
        QFETCH(int, map);
        selectMap(static_cast<MapFlag>(map));
        loadSelectedBuiltinMap();
        campaignId = campaign;
        campaignMapIndex = index;
        campaignMapCount = count;
        campaignPlayer = 1;
        playGameUpTo(GameSpec());
        defaultSaveName = QStringLiteral("CMPGN_Worlds.TrvGX");
        roundTrip(QStringLiteral("CMPGN_campaign.TrvGX"));
        QCOMPARE(campaignId, campaign);
        QCOMPARE(campaignMapIndex, index);
    }

    // "My": the map file's path is in the saved game; the file is read again.
    void mapFileGameResumes()
    {
        mapFilePath = mapTextFile(QStringLiteral("Ireland"), mapTextIreland);
        useStoredMapPath = 'j';
        loadMap();
        QVERIFY(mapLoadSucceeded);
        playGameUpTo(GameSpec());
        defaultSaveName = QStringLiteral("MyIreland.TrvGX");
        roundTrip(QStringLiteral("MyIreland game.TrvGX"));
        QCOMPARE(QFileInfo(mapFilePath).fileName(), QStringLiteral("Ireland.txt"));
    }

    // "My_CMPGN_": the campaign file is read again and its stored map loaded.
    void campaignFileGameResumes()
    {
        mapTextFile(QStringLiteral("Ireland"), mapTextIreland);
        mapTextFile(QStringLiteral("France"), mapTextFrance);
        mapFilePath = writeTextFile(QStringLiteral("Isles.cmpgn"), "[campaign]\nIsles\n\n[maps]\nIreland\nFrance\n");
        useStoredMapPath = 'j';
        campaignId = CampaignFromFile;
        campaignMapIndex = 2;
        campaignPlayer = 1;
        loadCampaign();
        loadMap();
        QVERIFY(mapLoadSucceeded);
        playGameUpTo(GameSpec());
        defaultSaveName = QStringLiteral("My_CMPGN_Isles.TrvGX");
        roundTrip(QStringLiteral("My_CMPGN_Isles.TrvGX"));
        QCOMPARE(campaignName, QStringLiteral("Isles"));
        QCOMPARE(QFileInfo(mapFilePath).fileName(), QStringLiteral("France.txt"));
    }

    void networkHostGameReopensTheLobby_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("internet");
        QTest::addColumn<bool>("mapFile");
        QTest::addColumn<QString>("status");
        QTest::newRow("LAN, built-in map") << "LAN_World.TrvGX" << false << false
                                           << "Waiting for others to join...   Hostname:  ";
        QTest::newRow("Internet, map file") << "INT_MyIreland.TrvGX" << true << true
                                            << "Waiting for others to join...   Your IP:   ";
    }

    // A host's game waits for its players again: the lobby is open and listening, with Launch,
    // the seats of the other humans show their names cut short until they are back.
    void networkHostGameReopensTheLobby()
    {
        QFETCH(QString, name);
        QFETCH(bool, internet);
        QFETCH(bool, mapFile);
        QFETCH(QString, status);
        if (mapFile) {
            mapFilePath = mapTextFile(QStringLiteral("Ireland"), mapTextIreland);
            useStoredMapPath = 'j';
            loadMap();
        } else {
            selectMap(MapWorld);
            loadSelectedBuiltinMap();
        }
        GameSpec host;
        host.mode = ModeHost;
        host.mission = 0;
        host.players = 5;
        playGameUpTo(host);
        internetGame = internet ? 1 : 0;
        defaultSaveName = name;
        saveAs(name);
        const QStringList saved = storedGame(5);
        playAnotherGame();
        load(savedGamePath(name));
        QCOMPARE(ui.messageTexts(), QStringList());
        COMPARE_GAMES(storedGame(), saved);
        QCOMPARE(playerName[2], QStringLiteral("Pl.."));
        QCOMPARE(playerName[3], QStringLiteral("pc III            "));
        QCOMPARE(screenMode, 102); // the host's waiting screen, with Launch
        QVERIFY2(statusText.startsWith(status), qPrintable(statusText));
        QCOMPARE(int(internetGame), int(internet));
        QCOMPARE(networkSeat, 1);
        QCOMPARE(joinedPlayers, 1);
        QCOMPARE(int(lobbyOpen), 1);
        QCOMPARE(gameMode, int(ModeHost));
        QVERIFY(tcpServer->isListening());
        QCOMPARE(tcpServer->serverAddress(), QHostAddress(QHostAddress::LocalHost));
        // The player to move shows in the panel when the lobby's steps are played.
        QCOMPARE(actionQueueTypes(), QList<int>{7});
    }

    void refusedFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("file dialog cancelled") << QByteArray("cancel") << "";
        QTest::newRow("missing") << QByteArray() << "file not found";
        QTest::newRow("cut short") << QByteArray("half") << "damaged or incomplete";
        QTest::newRow("owner out of range") << QByteArray("owner") << "owner of territory 1: 11, where a saved game holds 0 to 10";
        QTest::newRow("does not fit its map") << QByteArray("misfit") << "does not fit its map";
    }

    // A file that cannot be read, is damaged, or does not fit the map it names is refused with
    // its message; the game in play stays exactly as it was, as it does when no file is chosen.
    void refusedFileChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        selectMap(MapWorld);
        loadSelectedBuiltinMap();
        playGameUpTo(GameSpec());
        saveAs(QStringLiteral("Good.TrvGX"));
        QFile file(savedGamePath(QStringLiteral("Good.TrvGX")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray content = file.readAll();
        file.close();
        QString path = savedGamePath(QStringLiteral("Refused.TrvGX"));
        if (bytes == "cancel")
            path.clear();
        else if (bytes.isEmpty())
            path = savedGamePath(QStringLiteral("nowhere/Missing.TrvGX"));
        else if (bytes == "half")
            writeTextFile(QStringLiteral("Refused.TrvGX"), content.left(content.size() / 2));
        else if (bytes == "owner")
            writeTextFile(QStringLiteral("Refused.TrvGX"), content.replace(0, 4, QByteArray("\0\0\0\x0b", 4)));
        else // territory 57 held: World II, whose territories 43 to 56 nobody holds
            writeTextFile(QStringLiteral("Refused.TrvGX"), content.replace(56 * 8, 4, QByteArray("\0\0\0\x01", 4)));

        playAnotherGame();
        const QStringList before = wholeGame();
        const int map = selectedMap();
        load(path);
        QCOMPARE(ui.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QVERIFY2(ui.messages.first().text.contains(message), qPrintable(ui.messages.first().text));
            QCOMPARE(screenMode, 2);
        }
        QCOMPARE(ui.questionsAsked, QStringList());
        if (bytes != "misfit") {
            QCOMPARE(int(selectedMap()), map);
            COMPARE_GAMES(wholeGame(), before);
        } else {
            // The map had been read before the misfit showed: the defaults are back.
            QCOMPARE(int(selectedMap()), int(MapWorld));
            QCOMPARE(playerCount, 3);
        }
    }

    // No: a three-player single-player World game with the default options behind the main menu.
    void declinedGameLeavesTheDefaults()
    {
        selectMap(MapJapan);
        loadSelectedBuiltinMap();
        playGameUpTo(GameSpec());
        saveAs(QStringLiteral("Japan.TrvGX"));
        load(savedGamePath(QStringLiteral("Japan.TrvGX")), false);
        QCOMPARE(ui.questionsAsked, QStringList{QStringLiteral("Do you want to continue this game ?")});
        QCOMPARE(int(selectedMap()), int(MapWorld));
        QCOMPARE(playerCount, 3);
        QCOMPARE(attackRule, 'n');
        QCOMPARE(int(gameLoaded), 0);
        QCOMPARE(int(resumedGameMark), int('n'));
        QCOMPARE(screenMode, 1);
        QCOMPARE(messageQueueTypes(), (QList<int>{100, 100, 10}));
    }

    void rankGameResumesOnlyAtItsRank_data()
    {
        QTest::addColumn<bool>("rankChanged");
        QTest::newRow("same rank") << false;
        QTest::newRow("rank changed since") << true;
    }

    // A rank game stays one only while the player's rank is what it was when it began; its
    // save count comes back with it.
    void rankGameResumesOnlyAtItsRank()
    {
        QFETCH(bool, rankChanged);
        selectMap(MapWorld);
        loadSelectedBuiltinMap();
        playGameUpTo(GameSpec());
        rankGame = 1;
        computeSinglePlayerRank(&rankAtGameStart, &rankFlagAtGameStart);
        savesUsed = 7;
        script.actions = {press(QStringLiteral("Save Game"))};
        ui.fileNames = QStringList{savedGamePath(QStringLiteral("Rank.TrvGX"))};
        window->saveGameDialog();
        QCOMPARE(savesUsed, 8);
        if (rankChanged) {
            ScoresRecord won;
            won.mapOrCampaign = QStringLiteral("World         ");
            won.players = 5;
            won.normalLevel = 1;
            won.troopExperienceOff = 1;
            won.humanCount = 1;
            won.humanWon = 1;
            won.mode = 1;
            QVERIFY(appendScoreRecord(won));
        }
        savesUsed = 0;
        load(savedGamePath(QStringLiteral("Rank.TrvGX")));
        QCOMPARE(int(rankGame), rankChanged ? 0 : 1);
        QCOMPARE(windowTitleText.contains(QLatin1String("Rank Game")), !rankChanged);
        QCOMPARE(rankAtGameStart, rankChanged ? 99 : 0);
        QCOMPARE(savesUsed, rankChanged ? 0 : 8);
    }

    void rankGameSaveDialog_data()
    {
        QTest::addColumn<int>("savesBefore");
        QTest::addColumn<Action>("answer");
        QTest::addColumn<QString>("chosen"); // the save dialog's answer
        QTest::addColumn<bool>("sure");
        QTest::addColumn<int>("savesAfter");
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("startsAllOver");
        const Action save = press(QStringLiteral("Save Game"));
        const Action reset = press(QStringLiteral("Reset"));
        const QString file = QStringLiteral("Rank.TrvGX");
        QTest::newRow("fiftieth save") << 49 << save << file << false << 50 << true << "" << false;
        QTest::newRow("fifty-first refused") << 50 << save << file << false << 50 << false
                                             << "Sorry, save limit exceeded." << false;
        QTest::newRow("file dialog cancelled") << 3 << save << "" << false << 3 << false << "" << false;
        QTest::newRow("folder missing") << 3 << save << "nowhere/Rank.TrvGX" << false << 3 << false
                                        << "The game could not be saved to" << false;
        QTest::newRow("dialog closed") << 12 << closeWindow() << file << false << 12 << false << "" << false;
        QTest::newRow("reset, sure") << 12 << reset << file << true << 0 << false << "" << true;
        QTest::newRow("reset, not sure") << 12 << reset << file << false << 12 << false << "" << false;
    }

    // The saves of rank games are counted, fifty at most; a save that is not written counts
    // nothing. Reset, when the player is sure: no saves used, an empty scores file, the end.
    void rankGameSaveDialog()
    {
        QFETCH(int, savesBefore);
        QFETCH(Action, answer);
        QFETCH(QString, chosen);
        QFETCH(bool, sure);
        QFETCH(int, savesAfter);
        QFETCH(bool, written);
        QFETCH(QString, message);
        QFETCH(bool, startsAllOver);
        quitEventLoop = [] { ++quitCount(); };
        quitCount() = 0;
        QFile::remove(savedGamePath(QStringLiteral("Rank.TrvGX")));
        selectMap(MapWorld);
        loadSelectedBuiltinMap();
        playGameUpTo(GameSpec());
        rankGame = 1;
        savesUsed = savesBefore;
        saveSettings();
        ScoresRecord record;
        record.mapOrCampaign = QStringLiteral("World         ");
        QVERIFY(appendScoreRecord(record));
        const qint64 scoresSize = QFileInfo(scoresFileName()).size();
        script.actions = {answer};
        ui.fileNames = QStringList{chosen.isEmpty() ? QString() : savedGamePath(chosen)};
        ui.questionAnswers = QList<bool>{sure};

        window->saveGameDialog();

        QVERIFY(script.shown.value(0).texts.contains(QString::asprintf("%2d / 50 saves used", savesBefore)));
        QCOMPARE(savesUsed, savesAfter);
        QCOMPARE(QFile::exists(savedGamePath(QStringLiteral("Rank.TrvGX"))), written);
        QCOMPARE(int(gameSaved), int(written));
        if (written)
            QCOMPARE(savedGameMirror.savesUsed, savesAfter);
        QCOMPARE(ui.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(ui.messages[0].text.startsWith(message), qPrintable(ui.messages[0].text));
        QCOMPARE(QFileInfo(scoresFileName()).size(), startsAllOver ? 0 : scoresSize);
        QCOMPARE(exitReason, startsAllOver ? 913 : 0);
        QCOMPARE(quitCount(), startsAllOver ? 1 : 0);
        QVERIFY(loadSettings());
        QCOMPARE(savesUsed, savesAfter);
    }

    // The first save asks for a name; later saves go to the same file without a question.
    void secondSaveAsksNothing()
    {
        selectMap(MapWorld);
        loadSelectedBuiltinMap();
        playGameUpTo(GameSpec());
        saveAs(QStringLiteral("Once.TrvGX"));
        QCOMPARE(lastSaveFileName, savedGamePath(QStringLiteral("Once.TrvGX")));
        QVERIFY(loadSettings());
        QCOMPARE(lastSaveFileName, savedGamePath(QStringLiteral("Once.TrvGX")));
        territoryState[5].armies = 77;
        ui.fileNames = QStringList{savedGamePath(QStringLiteral("Other.TrvGX"))};
        window->saveGameDialog();
        QCOMPARE(ui.fileNames.size(), 1);
        bool ok = false;
        readSavedGame(savedGamePath(QStringLiteral("Once.TrvGX")), ok);
        QVERIFY(ok);
        QCOMPARE(savedGameMirror.territoryState[5].armies, 77);
    }

    // A loaded game is saved back, without a question, under its file name in the start folder.
    void loadedGameSavesToTheStartFolder()
    {
        QVERIFY(QDir::current().mkpath(QStringLiteral("elsewhere")));
        selectMap(MapWorld);
        loadSelectedBuiltinMap();
        playGameUpTo(GameSpec());
        saveAs(QStringLiteral("elsewhere/Trip.TrvGX"));
        load(savedGamePath(QStringLiteral("elsewhere/Trip.TrvGX")));
        QCOMPARE(saveFileName, QStringLiteral("Trip.TrvGX"));
        ui.fileNames.clear();
        window->saveGameDialog();
        QVERIFY(QFile::exists(QDir(startFolderPath).filePath(QStringLiteral("Trip.TrvGX"))));
    }

    void typedNamesLoadBackAsTheirOwnKind_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        const QStringList typed = {"Sunday", "My world", "LAN_x", "INT_x", "CMPGN_x", "My_CMPGN_x.TrvGX"};
        // Only a game on a built-in map has no start of its own after the host's; a name that
        // begins as another kind's cannot be its.
        const QList<QPair<QString, QStringList>> kinds = {
            {"built-in map", {"My world", "LAN_x", "INT_x", "CMPGN_x", "My_CMPGN_x.TrvGX"}},
            {"map file", {}},
            {"campaign", {}},
            {"campaign file", {}},
            {"LAN", {"My world", "My_CMPGN_x.TrvGX"}},
            {"Internet", {"My world", "My_CMPGN_x.TrvGX"}},
            {"LAN joined", {"My world", "My_CMPGN_x.TrvGX"}},
            {"Internet joined", {"My world", "My_CMPGN_x.TrvGX"}},
        };
        for (const auto &kind : kinds)
            for (const QString &name : typed)
                QTest::addRow("%s, %s", qPrintable(kind.first), qPrintable(name))
                    << kind.first << name << kind.second.contains(name);
    }

    // Whatever name the player types, the file saved loads back as the game it holds: the game's
    // kind goes first in the name, and a name that would claim another kind is refused with the
    // reason, the save dialog asking again.
    void typedNamesLoadBackAsTheirOwnKind()
    {
        QFETCH(QString, kind);
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        GameSpec spec;
        if (kind == QLatin1String("map file")) {
            mapFilePath = mapTextFile(QStringLiteral("Ireland"), mapTextIreland);
            useStoredMapPath = 'j';
            loadMap();
        } else if (kind == QLatin1String("campaign file")) {
            mapTextFile(QStringLiteral("Ireland"), mapTextIreland);
            mapTextFile(QStringLiteral("France"), mapTextFrance);
            mapFilePath = writeTextFile(QStringLiteral("Isles.cmpgn"), "[campaign]\nIsles\n\n[maps]\nIreland\nFrance\n");
            useStoredMapPath = 'j';
            campaignId = CampaignFromFile;
            campaignMapIndex = 1;
            campaignPlayer = 1;
            loadCampaign();
            loadMap();
        } else {
            selectMap(kind == QLatin1String("campaign") ? MapWorldII : MapWorld);
            loadSelectedBuiltinMap();
            if (kind == QLatin1String("campaign")) {
                campaignId = CampaignWorlds;
                campaignMapIndex = campaignMapCount = 2;
                campaignPlayer = 1;
            }
        }
        const bool joined = kind.endsWith(QLatin1String("joined"));
        const bool internet = kind.startsWith(QLatin1String("Internet"));
        if (joined) {
            joinAndBeginOwnTurn(internet);
            if (QTest::currentTestFailed())
                return;
        } else {
            if (kind == QLatin1String("LAN") || kind == QLatin1String("Internet")) {
                spec.mode = ModeHost;
                spec.mission = 0;
                spec.players = 5;
            }
            playGameUpTo(spec);
            internetGame = internet ? 1 : 0;
        }
        const auto territoriesSaved = territoryState;
        SavedGameKind ownKind;
        ownKind.lanHost = kind.startsWith(QLatin1String("LAN"));
        ownKind.internetHost = internet;
        ownKind.builtinCampaign = kind == QLatin1String("campaign");
        ownKind.campaignFile = kind == QLatin1String("campaign file");
        ownKind.mapFile = kind.endsWith(QLatin1String("file"));

        ui.fileNames = QStringList{savedGamePath(typed), savedGamePath(QStringLiteral("Second try"))};
        window->saveGameDialog();
        QCOMPARE(ui.messages.size(), refused ? 1 : 0);
        if (refused)
            QVERIFY2(ui.messages[0].text.startsWith(QStringLiteral("The game cannot be saved as \"%1\"")
                                                        .arg(QFileInfo(typed).completeBaseName())),
                     qPrintable(ui.messages[0].text));
        QCOMPARE(ui.fileNames.size(), refused ? 0 : 1);
        const QFileInfo saved(saveFileName);
        QVERIFY2(saved.exists(), qPrintable(saveFileName));
        QVERIFY(saved.fileName().endsWith(QLatin1String(".TrvGX")));
        QVERIFY(classifySavedGameName(saved.fileName()) == ownKind);
        QVERIFY(saved.fileName().contains(refused ? QStringLiteral("Second try") : QFileInfo(typed).completeBaseName()));

        playAnotherGame();
        ui.messages.clear();
        load(saved.filePath());
        QCOMPARE(ui.messageTexts(), QStringList());
        const bool network = ownKind.networkHost();
        // A joined player's game comes back as the network game it is: the lobby of its host,
        // now this machine, with every territory as the joined player last saw it.
        QCOMPARE(screenMode, network ? 102 : 9);
        QCOMPARE(gameMode, int(network ? ModeHost : ModeSinglePlayer));
        QCOMPARE(networkSeat, network ? 1 : 0);
        QCOMPARE(int(internetGame), int(internet));
        QVERIFY(territoryState == territoriesSaved);
        QCOMPARE(selectedMap() == MapCustom, kind.endsWith(QLatin1String("file")));
        const int campaign = kind == QLatin1String("campaign") ? int(CampaignWorlds)
            : kind == QLatin1String("campaign file")          ? int(CampaignFromFile)
                                                               : int(NoCampaign);
        QCOMPARE(campaignId, campaign);
    }

};

TARVAN_TEST_MAIN(TestSavedGameLoadingWindow)
#include "test_savedgame_loading_window.moc"
