// The scores file and the ranks derived from it.

#include "TestSupport.h"
#include "test_data_support.h"
#include "test_persist_support.h"

#include "persist/DataFolder.h"
#include "persist/Ranks.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "persist/SharedGlobals.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"

#include <QDir>
#include <QFile>

#include <functional>

using namespace persistbytes;

namespace {

// A single-player win by the one human at the Normal level, opponents all Normal.
ScoresRecord singlePlayerWin(const char *map, qint32 players, qint32 oneForOne, qint32 strongholdsOff,
                             qint32 troopExperienceOff, qint32 mission)
{
    ScoresRecord r;
    r.mapOrCampaign = QString::fromLatin1(map).leftJustified(14, QLatin1Char(' '));
    r.players = players;
    r.oneForOne = oneForOne;
    r.normalLevel = 1;
    r.strongholdsOff = strongholdsOff;
    r.troopExperienceOff = troopExperienceOff;
    r.mission = mission;
    r.humanCount = 1;
    r.humanWon = 1;
    r.mode = 1;
    r.date = QStringLiteral("Dec0620261200");
    r.names = QStringLiteral("Ann");
    return r;
}

using Change = std::function<void(ScoresRecord &)>;

struct LadderStep {
    const char *label;
    ScoresRecord record;
    qint32 rank;   // the rank once this record is in the file
    qint32 second; // the second value then
};

ScoresRecord withOpponents(ScoresRecord r, qint32 value)
{
    for (int i = 2; i <= 10; ++i)
        r.personalities[i] = value;
    return r;
}

QList<LadderStep> ladder()
{
    return {
        {"Private First Class", singlePlayerWin("World", 5, 0, 0, 1, 0), 1, 0},
        {"Corporal", singlePlayerWin("China", 10, 0, 1, 0, 0), 2, 0},
        {"Sergeant", singlePlayerWin("Australia", 7, 0, 0, 0, 0), 3, 0},
        {"Lieutenant", singlePlayerWin("North America", 8, 0, 0, 1, 0), 4, 0},
        {"Captain", withOpponents(singlePlayerWin("Japan", 10, 0, 1, 1, 0), 1), 5, 0},
        {"Major", singlePlayerWin("Swamp", 10, 0, 0, 1, 3), 6, 0},
        {"Colonel, Europe", singlePlayerWin("Europe", 10, 0, 1, 1, 0), 6, 1},
        {"Colonel, World II", singlePlayerWin("World II", 10, 0, 1, 1, 0), 7, 0},
        {"Brigadier General", singlePlayerWin("Australia", 10, 0, 1, 1, 2), 8, 0},
        {"Major General", singlePlayerWin("Worlds", 10, 1, 1, 1, 0), 9, 0},
        {"Lieutenant General", singlePlayerWin("N. Atlantic", 10, 1, 1, 1, 3), 10, 0},
        {"General", singlePlayerWin("West Pacific", 7, 1, 0, 1, 3), 11, 0},
        {"General of the Army", singlePlayerWin("Worlds", 10, 1, 1, 1, 2), 12, 0},
    };
}

qint32 singlePlayerRank(qint32 *second = nullptr)
{
    qint32 rank = -1, flag = -1;
    computeSinglePlayerRank(&rank, &flag);
    if (second)
        *second = flag;
    return rank;
}

// The human player 1 wins a five-player World game; the options as the first rank asks.
void setUpWorldGame()
{
    selectMap(MapWorld);
    playerCount = 5;
    humanPlayerCount = 1;
    attackRule = 'n';
    difficulty = 1;
    strongholdsEnabled = 1;
    troopExperienceEnabled = 0;
    missionType = 0;
    gameMode = ModeSinglePlayer;
    playerName[1] = QStringLiteral("Ann");
    playerTable[1].battleLosses() = 17;
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestPersistScores : public QObject {
    Q_OBJECT

private:
    ScriptedInteraction scripted;

private slots:
    void init()
    {
        resetAllGameState();
        QFile::remove(scoresFileName());
        scripted = ScriptedInteraction();
        setInteraction(&scripted);
    }
    void cleanup() { setInteraction(nullptr); }

    // ---- The scores file ----

    void aRecordHasTheBytesOfTheFormat()
    {
        setUpWorldGame();
        personality = {0, 0, 0, 1, 2, 3, 0, 0, 0, 0, 0};
        personalitySetting[4] = kPersonalityUnstable;
        randomMixPersonalities = 1;
        // The date: an English month and a 24-hour clock.
        scripted.clock = QDateTime(QDate(2026, 12, 6), QTime(21, 7));
        recordScore(42, 5, 'n', 17, 1, QStringLiteral("Ann"));

        QByteArray expected = utf16(QStringLiteral("World         "));
        for (qint32 v : {5, 0, 0, 1, 0, 1, 0})
            expected += int32(v);
        for (qint32 v : {0, 0, 1, 6, 3, 0, 0, 0, 0, 0})
            expected += int32(v);
        expected += boolean(true);
        for (qint32 v : {17, 1, 1, 1, 0})
            expected += int32(v);
        expected += utf16(QStringLiteral("Dec0620262107")) + utf16(QStringLiteral("Ann"));
        const QByteArray bytes = fileBytes(scoresFileName());
        QCOMPARE(bytes.size(), 155 + 2 * 3);
        QCOMPARE(bytes, expected);
    }

    void theMapOrCampaignIsNamedIn14Characters_data()
    {
        QTest::addColumn<int>("campaign");
        QTest::addColumn<int>("map");
        QTest::addColumn<QString>("name"); // the map file's or campaign file's own name
        QTest::addColumn<QString>("stored");
        const QList<QPair<MapFlag, const char *>> builtin = {
            {MapWorld, "World"}, {MapEurope, "Europe"}, {MapNorthAmerica, "North America"},
            {MapWorldII, "World II"}, {MapJapan, "Japan"}, {MapAustralia, "Australia"},
            {MapScandinavia, "Scandinavia"}, {MapGreatBritain, "Great Britain"}, {MapChina, "China"},
            {MapWorms, "Worms"}, {MapRealWorld, "Real World"}, {MapSwamp, "Swamp"},
            {MapSwampII, "Swamp II"}, {MapThreeNations, "Three Nations"},
            {MapThreeNationsB, "Three Nations"}};
        for (const auto &entry : builtin)
            QTest::newRow(entry.second) << 0 << int(entry.first) << QString()
                                        << QString::fromLatin1(entry.second).leftJustified(14, ' ');
        QTest::newRow("map file") << 0 << int(MapCustom) << "Ireland" << "Ireland       ";
        QTest::newRow("long map file name") << 0 << int(MapCustom) << "Ireland and the Isles"
                                            << "Ireland and th";
        const char *const campaigns[] = {"Worlds", "West Pacific", "N. Atlantic", "Three Nations",
                                         "Tarvan GX"};
        for (int id = 1; id <= 5; ++id)
            QTest::newRow(campaigns[id - 1]) << id << int(MapWorld) << QString()
                                             << QString::fromLatin1(campaigns[id - 1]).leftJustified(14, ' ');
        QTest::newRow("campaign file") << 6 << int(MapCustom) << "Three Isles Campaign"
                                       << "Three Isles Ca";
        QTest::newRow("short campaign file") << 6 << int(MapCustom) << "Isles" << "Isles         ";
    }
    void theMapOrCampaignIsNamedIn14Characters()
    {
        QFETCH(int, campaign);
        QFETCH(int, map);
        QFETCH(QString, name);
        selectMap(static_cast<MapFlag>(map));
        campaignId = campaign;
        if (campaign == CampaignFromFile)
            campaignName = name;
        else
            mapName = name;
        QTEST(scoresMapName(), "stored");
    }

    void theKindOfGameDecidesPlayersHumansAndPersonalities_data()
    {
        QTest::addColumn<Setup>("game"); // what differs from the World game of setUpWorldGame
        QTest::addColumn<int>("players");    // as stored
        QTest::addColumn<int>("humanCount"); // as stored
        QTest::addColumn<int>("connection");
        QTest::addColumn<bool>("personalities"); // the opponents' personalities are kept
        QTest::newRow("single player") << Setup([] {}) << 5 << 1 << 0 << true;
        QTest::newRow("easy level") << Setup([] { difficulty = 0; }) << 5 << 1 << 0 << false;
        QTest::newRow("neutral army") << Setup([] { neutralArmyActive = 1; }) << 2 << 2 << 0 << false;
        QTest::newRow("hotseat") << Setup([] { gameMode = ModeHotseat; humanPlayerCount = 3; }) << 5 << 3 << 0 << true;
        QTest::newRow("LAN host") << Setup([] { gameMode = ModeHost; }) << 5 << 3 << 2 << false;
        QTest::newRow("Internet client") << Setup([] { gameMode = ModeClient; internetGame = 1; }) << 5 << 3 << 1
                                         << false;
    }
    void theKindOfGameDecidesPlayersHumansAndPersonalities()
    {
        QFETCH(Setup, game);
        QFETCH(bool, personalities);
        setUpWorldGame();
        game();
        joinedPlayers = 3;
        personality[5] = 5;
        randomMixPersonalities = 1;
        const ScoresRecord r = buildScoreRecord(5, 'j', 9, 0, QStringLiteral("pc V"));
        QTEST(r.players, "players");
        QTEST(r.humanCount, "humanCount");
        QTEST(r.connection, "connection");
        QCOMPARE(r.mode, gameMode);
        QCOMPARE(r.personalities[5], personalities ? 5 : 0);
        QCOMPARE(r.randomMix, quint8(personalities ? 1 : 0));
        QCOMPARE(r.oneForOne, 1);
        QCOMPARE(r.normalLevel, difficulty);
        QCOMPARE(r.humanWon, 0);
        QCOMPARE(r.losses, 9);
    }

    void theNamesShowTheWinnerAndASecondHuman_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("losses");
        QTest::addColumn<QString>("winner");
        QTest::addColumn<int>("winnerLosses");
        QTest::addColumn<QString>("stored");
        QTest::newRow("one human") << QStringList{"Maximilian the Great"} << QList<int>{3}
                                   << "Maximilian the Great" << 3 << "Maximilian the Gre";
        QTest::newRow("player 2 wins") << QStringList{"Alexander", "Bo"} << QList<int>{5, 17} << "Bo" << 17
                                       << "1.Bo 2.Alexand";
        QTest::newRow("player 1 wins") << QStringList{"Ann", "Bo"} << QList<int>{4, 9} << "Ann" << 4
                                       << "1.Ann 2.Bo";
        QTest::newRow("another human has the winner's losses")
            << QStringList{"Ann", "Bo", "Cy"} << QList<int>{6, 2, 6} << "Ann" << 6 << "1.Ann 2.Bo";
        QTest::newRow("a computer player wins") << QStringList{"Ann", "Bo"} << QList<int>{1, 2} << "pc III"
                                                << 9 << "1.pc III 2.Bo";
        QTest::newRow("cut to 18") << QStringList{"Maximilian", "Bartholomew"} << QList<int>{3, 8}
                                   << "Bartholomew" << 8 << "1.Barthol 2.Maximi";
        // A cut never keeps half of a character of two units.
        const QString wide = twoUnitCharacter();
        QTest::newRow("one human, an emoji across 18") << QStringList{letters(17) + wide} << QList<int>{3}
                                                        << letters(17) + wide << 3 << letters(17);
        QTest::newRow("an emoji across a short name's 7") << QStringList{"Abcdef" + wide, "Bo"} << QList<int>{3, 8}
                                                         << "Abcdef" + wide << 3 << "1.Abcdef 2.Bo";
        QTest::newRow("an emoji across the line's 18") << QStringList{"Annabel", "Bobby" + wide} << QList<int>{3, 8}
                                                      << "Annabel" << 3 << "1.Annabel 2.Bobby";
    }
    void theNamesShowTheWinnerAndASecondHuman()
    {
        QFETCH(QStringList, names);
        QFETCH(QList<int>, losses);
        QFETCH(QString, winner);
        QFETCH(int, winnerLosses);
        humanPlayerCount = names.size();
        for (int p = 1; p <= names.size(); ++p) {
            playerName[p] = names[p - 1];
            playerTable[p].battleLosses() = losses[p - 1];
        }
        QTEST(scoresNamesText(winnerLosses, winner), "stored");
    }

    void aMissingFileGivesTheLowestRanksAndIsCreatedEmpty()
    {
        qint32 second = -1;
        QCOMPARE(singlePlayerRank(&second), 0);
        QCOMPARE(second, 0);
        QCOMPARE(computeMultiplayerRank(), 0);
        QVERIFY(!QFile::exists(scoresFileName()));
        readScoresFile();
        QVERIFY(QFile::exists(scoresFileName()));
        QCOMPARE(QFileInfo(scoresFileName()).size(), qint64(0));
    }

    // A tail from which no whole record reads, a write that broke off or damage at the end, is
    // told once and cut by the next game added; nothing before it is touched, a damaged stretch
    // between whole records included.
    void aTailThatBeginsNoRecordIsCutByTheNextAppend_data()
    {
        QTest::addColumn<QByteArray>("middle"); // between the two records
        QTest::addColumn<QByteArray>("tail");   // "half": the first 50 bytes of a record
        QTest::addColumn<QString>("told");
        const QByteArray none;
        const QString tail = QStringLiteral("ends in %1 bytes that are not a whole game record");
        QTest::newRow("half a record") << none << QByteArray("half") << tail.arg(50);
        QTest::newRow("three stray bytes") << none << QByteArray("xyz") << tail.arg(3);
        QTest::newRow("a byte count no text has") << none << int32(0x7ffffff0) << tail.arg(4);
        QTest::newRow("a name of 20 characters") << none << utf16(QString(20, QLatin1Char('x')))
                                                 << tail.arg(44);
        QTest::newRow("damage between the records too")
            << QByteArray("ab") << QByteArray("xyz")
            << QStringLiteral("2 of its bytes could not be read as games");
    }
    void aTailThatBeginsNoRecordIsCutByTheNextAppend()
    {
        QFETCH(QByteArray, middle);
        QFETCH(QByteArray, tail);
        QFETCH(QString, told);
        setUpWorldGame();
        recordScore(0, 5, 'n', 3, 1, QStringLiteral("Ann"));
        const QByteArray first = fileBytes(scoresFileName());
        recordScore(0, 5, 'n', 8, 1, QStringLiteral("Ann"));
        const QByteArray second = fileBytes(scoresFileName()).mid(first.size());
        if (tail == "half")
            tail = first.left(50);
        const QByteArray kept = first + middle + second;
        QVERIFY(writeBytes(scoresFileName(), kept + tail));

        ScoresScan scan = scanScoresFile();
        QCOMPARE(scan.records, 2);
        QCOMPARE(scan.tailBytes, qint64(tail.size()));
        QCOMPARE(scan.damagedBytes, qint64(middle.size()));
        readScoresFile();
        QCOMPARE(scripted.messages.size(), 1);
        QVERIFY2(scripted.messages[0].text.contains(scoresFileName()), qPrintable(scripted.messages[0].text));
        QVERIFY2(scripted.messages[0].text.contains(told), qPrintable(scripted.messages[0].text));

        recordScore(0, 5, 'n', 13, 1, QStringLiteral("Ann"));
        const QByteArray after = fileBytes(scoresFileName());
        QCOMPARE(after.left(kept.size()), kept);
        QCOMPARE(after.size(), kept.size() + second.size());
        QList<int> seen;
        scan = scanScoresFile([&seen](const ScoresRecord &r) { seen << r.losses; });
        QCOMPARE(seen, (QList<int>{3, 8, 13}));
        QCOMPARE(scan.tailBytes, qint64(0));
        QCOMPARE(scripted.messages.size(), 1);
    }

    void aFailedAppendLeavesTheFileAsItWas()
    {
        setUpWorldGame();
        // A folder in the file's place can be neither read nor replaced.
        QVERIFY(QDir::current().mkdir(QStringLiteral("TrvGX10scores.dat")));
        QVERIFY(!appendScoreRecord(buildScoreRecord(5, 'n', 3, 1, QStringLiteral("Ann"))));
        QVERIFY(QFileInfo(scoresFileName()).isDir());
        QVERIFY(QDir::current().rmdir(QStringLiteral("TrvGX10scores.dat")));
    }

    void clearingEmptiesTheFile()
    {
        setUpWorldGame();
        recordScore(0, 5, 'n', 3, 1, QStringLiteral("Ann"));
        // The record the game writes is the one the ladder reads.
        QCOMPARE(singlePlayerRank(), 1);
        QVERIFY(clearScoresFile());
        QCOMPARE(QFileInfo(scoresFileName()).size(), qint64(0));
        QCOMPARE(singlePlayerRank(), 0);
    }

    // ---- Ranks ----

    void theLadderClimbsFromPrivateToGeneralOfTheArmy()
    {
        qint32 second = -1;
        QCOMPARE(rankName(0), QStringLiteral("Private"));
        const QStringList names = {"Private First Class", "Corporal", "Sergeant", "Lieutenant", "Captain",
                                   "Major", "Major", "Colonel", "Brigadier General", "Major General",
                                   "Lieutenant General", "General", "General of the Army"};
        int i = 0;
        for (const LadderStep &step : ladder()) {
            QVERIFY(appendScoreRecord(step.record));
            const qint32 rank = singlePlayerRank(&second);
            QVERIFY2(rank == step.rank, step.label);
            QVERIFY2(second == step.second, step.label);
            QCOMPARE(rankName(rank), names[i++]);
        }
        QCOMPARE(rankName(13), QString());
        QCOMPARE(rankName(-1), QString());
    }

    void theLadderCountsFromTheBottomInAnyOrder()
    {
        QList<LadderStep> steps = ladder();
        // The top requirement alone is worth nothing.
        QVERIFY(appendScoreRecord(steps.last().record));
        QCOMPARE(singlePlayerRank(), 0);
        // Everything but the Sergeant, in reverse order: the climb stops at Corporal.
        for (int i = steps.size() - 2; i >= 0; --i)
            if (i != 2)
                QVERIFY(appendScoreRecord(steps[i].record));
        QCOMPARE(singlePlayerRank(), 2);
        // The same win twice counts once.
        QVERIFY(appendScoreRecord(steps[0].record));
        QCOMPARE(singlePlayerRank(), 2);
        QVERIFY(appendScoreRecord(steps[2].record));
        QCOMPARE(singlePlayerRank(), 12);
    }

    void onlyTheRequiredGameEarnsARank_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<int>("rank");
        QTest::newRow("as required") << Change([](ScoresRecord &) {}) << 1;
        QTest::newRow("easy level") << Change([](ScoresRecord &r) { r.normalLevel = 0; }) << 0;
        QTest::newRow("a Hunter opponent") << Change([](ScoresRecord &r) { r.personalities[3] = 5; }) << 0;
        QTest::newRow("an Unstable opponent")
            << Change([](ScoresRecord &r) { r.personalities[4] = kPersonalityUnstable; }) << 0;
        QTest::newRow("strongholds off") << Change([](ScoresRecord &r) { r.strongholdsOff = 1; }) << 0;
        QTest::newRow("troop experience on") << Change([](ScoresRecord &r) { r.troopExperienceOff = 0; }) << 0;
        QTest::newRow("won by a computer player") << Change([](ScoresRecord &r) { r.humanWon = 0; }) << 0;
        QTest::newRow("hotseat game") << Change([](ScoresRecord &r) { r.mode = 4; }) << 0;
        QTest::newRow("two humans") << Change([](ScoresRecord &r) { r.humanCount = 2; }) << 0;
        QTest::newRow("game-option flag set") << Change([](ScoresRecord &r) { r.extraFlag = 1; }) << 0;
        QTest::newRow("1-for-1") << Change([](ScoresRecord &r) { r.oneForOne = 1; }) << 0;
        QTest::newRow("six players") << Change([](ScoresRecord &r) { r.players = 6; }) << 0;
        QTest::newRow("map name not padded")
            << Change([](ScoresRecord &r) { r.mapOrCampaign = QStringLiteral("World"); }) << 0;
        QTest::newRow("a mission") << Change([](ScoresRecord &r) { r.mission = 1; }) << 0;
        // Beyond the five players the requirement counts.
        QTest::newRow("a sixth player's personality") << Change([](ScoresRecord &r) { r.personalities[6] = 5; }) << 1;
    }
    void onlyTheRequiredGameEarnsARank()
    {
        QFETCH(Change, change);
        ScoresRecord r = singlePlayerWin("World", 5, 0, 0, 1, 0);
        change(r);
        QVERIFY(appendScoreRecord(r));
        QTEST(singlePlayerRank(), "rank");
    }

    void theMultiplayerRankCountsNetworkWins_data()
    {
        QTest::addColumn<int>("networkWins");
        QTest::addColumn<int>("rank");
        QTest::addColumn<QString>("name");
        QTest::newRow("none") << 0 << 0 << "Private";
        QTest::newRow("three") << 3 << 3 << "Sergeant";
        QTest::newRow("twelve") << 12 << 12 << "General of the Army";
        QTest::newRow("fifteen") << 15 << 12 << "General of the Army";
    }
    void theMultiplayerRankCountsNetworkWins()
    {
        QFETCH(int, networkWins);
        readScoresFile();
        for (int i = 0; i < networkWins; ++i) {
            ScoresRecord win = singlePlayerWin("World", 4, 0, 1, 1, 0);
            win.mode = 2;
            win.connection = 1 + i % 2;
            QVERIFY(appendScoreRecord(win));
        }
        // Neither a lost network game nor a single-player win counts.
        ScoresRecord lost = singlePlayerWin("World", 4, 0, 1, 1, 0);
        lost.connection = 2;
        lost.humanWon = 0;
        QVERIFY(appendScoreRecord(lost));
        QVERIFY(appendScoreRecord(singlePlayerWin("World", 5, 0, 0, 1, 0)));
        QTEST(computeMultiplayerRank(), "rank");
        QTEST(rankName(computeMultiplayerRank()), "name");
    }
};

TARVAN_TEST_MAIN(TestPersistScores)
#include "test_persist_scores.moc"
