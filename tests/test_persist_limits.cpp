// One set of limits for what a saved game may hold: every value at its limit is saved, and the
// file loads; one past it, Save Game and Load Game both refuse it, in the same words.

#include "TestSupport.h"
#include "test_persist_support.h"

#include "persist/SavedGame.h"
#include "persist/Settings.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/MapLoading.h"

#include <QDir>
#include <QFile>

#include <functional>

using namespace persistbytes;

namespace {

// One change made alike to the running game and to a saved game's record.
struct Edit {
    std::function<void()> live;
    std::function<void(SavedGameRecord &)> stored;
};
using Edits = QList<Edit>;

// `change` names a global and the record's member of the same name: "currentPlayer = 3".
#define BOTH(change)                                                                             \
    Edit { [] { change; }, [](SavedGameRecord &r) { r.change; } }

// A count of every player record, from battle losses to continents lost.
Edit playerField(int field, qint32 value)
{
    return {[field, value] { playerTable[2].f[field] = value; },
            [field, value](SavedGameRecord &r) { r.playerTable[2].f[field] = value; }};
}

const char *const kCounts[] = {"battle losses of player 2", "battles of player 2", "attacks of player 2",
                               "reinforcement rounds of player 2", "armies committed by player 2",
                               "battles lost by player 2", "battles won by player 2",
                               "continent bonus received by player 2", "card bonus received by player 2",
                               "continents lost by player 2"};

QString past(const char *what, qint64 value, const char *holds)
{
    return QStringLiteral("%1: %2, where a saved game holds %3").arg(QLatin1String(what)).arg(value).arg(QLatin1String(holds));
}

// Four computer players on World, dealt and under way; a full deck; no time played since the stamp.
void setUpGame()
{
    selectMap(MapWorld);
    loadSelectedBuiltinMap();
    playerCount = 4;
    humanPlayerCount = 1;
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerName[p] = QStringLiteral("Player %1").arg(p);
    dealTerritories();
    for (int t = 1; t <= territoryCount; ++t)
        territoryState[t].armies = 3;
    recountAllPlayers();
    currentPlayer = 1;
    playTimeStamp = interaction().now();
}

QString savePath()
{
    return QDir::current().filePath(QStringLiteral("Saved.TrvGX"));
}

QString loadPath()
{
    return QDir::current().filePath(QStringLiteral("Edited.TrvGX"));
}

} // namespace

Q_DECLARE_METATYPE(Edits)

class TestPersistLimits : public QObject {
    Q_OBJECT

    ScriptedInteraction scripted;

    // A value at its limit, and one past it refused in `words`.
    static void limitRows(const char *name, const Edits &at, const Edits &beyond, const QString &words)
    {
        QTest::newRow(qPrintable(QStringLiteral("%1, at the limit").arg(QLatin1String(name)))) << at << QString();
        QTest::newRow(qPrintable(QStringLiteral("%1, one past").arg(QLatin1String(name)))) << beyond << words;
    }

private slots:
    void init()
    {
        resetAllGameState(5);
        scripted = ScriptedInteraction();
        setInteraction(&scripted);
        QFile::remove(savePath());
        QFile::remove(loadPath());
    }
    void cleanup() { setInteraction(nullptr); }

    void loadAndSaveAgreeOnEveryLimit_data()
    {
        QTest::addColumn<Edits>("edits");
        QTest::addColumn<QString>("refused"); // empty: saved and loaded

        limitRows("owner", {BOTH(territoryState[5].owner = 10)}, {BOTH(territoryState[5].owner = 11)},
                  past("owner of territory 5", 11, "0 to 10"));
        limitRows("armies in a territory", {BOTH(territoryState[5].armies = 10000000)},
                  {BOTH(territoryState[5].armies = 10000001)}, past("armies in territory 5", 10000001, "0 to 10000000"));
        limitRows("no armies in a territory", {BOTH(territoryState[5].armies = 0)}, {BOTH(territoryState[5].armies = -1)},
                  past("armies in territory 5", -1, "0 to 10000000"));
        limitRows("continent mark", {BOTH(playerTable[2].f[PlayerRecord::ContinentHeld1 + 24] = 1)},
                  {BOTH(playerTable[2].f[PlayerRecord::ContinentHeld1 + 24] = 2)},
                  past("continent 25 mark of player 2", 2, "0 to 1"));
        limitRows("territories of a player", {BOTH(playerTable[2].f[PlayerRecord::TerritoriesHeld] = 200)},
                  {BOTH(playerTable[2].f[PlayerRecord::TerritoriesHeld] = 201)},
                  past("territories of player 2", 201, "0 to 200"));
        limitRows("armies of a player", {BOTH(playerTable[2].f[PlayerRecord::TotalArmies] = 2000000000)},
                  {BOTH(playerTable[2].f[PlayerRecord::TotalArmies] = 2000000001)},
                  past("armies of player 2", 2000000001, "0 to 2000000000"));
        limitRows("continent bonus", {BOTH(playerTable[2].f[PlayerRecord::ContinentBonus] = 1000000000)},
                  {BOTH(playerTable[2].f[PlayerRecord::ContinentBonus] = 1000000001)},
                  past("continent bonus of player 2", 1000000001, "0 to 1000000000"));
        for (int i = 0; i < 10; ++i)
            limitRows(kCounts[i], {playerField(PlayerRecord::BattleLosses + i, 1000000000)},
                      {playerField(PlayerRecord::BattleLosses + i, 1000000001)},
                      past(kCounts[i], 1000000001, "0 to 1000000000"));
        limitRows("stronghold", {BOTH(playerTable[2].f[PlayerRecord::Stronghold] = 200)},
                  {BOTH(playerTable[2].f[PlayerRecord::Stronghold] = 201)}, past("stronghold of player 2", 201, "0 to 200"));

        limitRows("artillery in a hand", {BOTH(cardDeckCounts[CardArtillery] = 0), BOTH(playerTable[2].f[PlayerRecord::Artillery] = 17)},
                  {BOTH(cardDeckCounts[CardArtillery] = 0), BOTH(playerTable[2].f[PlayerRecord::Artillery] = 18)},
                  past("artillery cards of player 2", 18, "0 to 17"));
        limitRows("wild cards in a hand", {BOTH(cardDeckCounts[CardWild] = 0), BOTH(playerTable[2].f[PlayerRecord::Wild] = 2)},
                  {BOTH(cardDeckCounts[CardWild] = 0), BOTH(playerTable[2].f[PlayerRecord::Wild] = 3)},
                  past("wild cards of player 2", 3, "0 to 2"));
        limitRows("cavalry in the deck", {BOTH(cardDeckCounts[CardCavalry] = 17)}, {BOTH(cardDeckCounts[CardCavalry] = 18)},
                  past("cavalry cards in the deck", 18, "0 to 17"));
        limitRows("infantry held and in the deck",
                  {BOTH(cardDeckCounts[CardInfantry] = 7), BOTH(playerTable[1].f[PlayerRecord::Infantry] = 4),
                   BOTH(playerTable[3].f[PlayerRecord::Infantry] = 6)},
                  {BOTH(cardDeckCounts[CardInfantry] = 8), BOTH(playerTable[1].f[PlayerRecord::Infantry] = 4),
                   BOTH(playerTable[3].f[PlayerRecord::Infantry] = 6)},
                  past("infantry cards held and in the deck", 18, "0 to 17"));
        limitRows("card trade mark", {BOTH(cardTradeMarker = 177)}, {BOTH(cardTradeMarker = 178)},
                  past("card trade mark", 178, "0 or 177"));

        limitRows("players", {BOTH(playerCount = 10)}, {BOTH(playerCount = 11)}, past("players", 11, "2 to 10"));
        limitRows("fewest players", {BOTH(playerCount = 2)}, {BOTH(playerCount = 1)}, past("players", 1, "2 to 10"));
        limitRows("human players", {BOTH(humanPlayerCount = 4)}, {BOTH(humanPlayerCount = 5)},
                  past("human players", 5, "0 to 4"));
        limitRows("player to play", {BOTH(currentPlayer = 4)}, {BOTH(currentPlayer = 5)}, past("player to play", 5, "1 to 4"));
        limitRows("first player to play", {BOTH(currentPlayer = 1)}, {BOTH(currentPlayer = 0)},
                  past("player to play", 0, "1 to 4"));
        limitRows("main enemy", {BOTH(pairs10[2].id = 10)}, {BOTH(pairs10[2].id = 11)},
                  past("main enemy noted by player 2", 11, "0 to 10"));
        limitRows("turn of the main enemy", {BOTH(pairs10[2].value = 1000000000)}, {BOTH(pairs10[2].value = 1000000001)},
                  past("turn of the main enemy noted by player 2", 1000000001, "0 to 1000000000"));
        limitRows("turns", {BOTH(turnsTaken[3] = 1000000000)}, {BOTH(turnsTaken[3] = 1000000001)},
                  past("turns of player 3", 1000000001, "0 to 1000000000"));
        limitRows("personality", {BOTH(personality[4] = 6)}, {BOTH(personality[4] = 7)},
                  past("personality of player 4", 7, "0 to 6"));
        limitRows("avenged player", {BOTH(avengeTarget[4] = 10)}, {BOTH(avengeTarget[4] = 11)},
                  past("player avenged by player 4", 11, "0 to 10"));
        limitRows("personality setting", {BOTH(personalitySetting[4] = 6)}, {BOTH(personalitySetting[4] = 7)},
                  past("personality setting of player 4", 7, "0 to 6"));

        limitRows("card earned", {BOTH(cardEarnedThisTurn = 'j')}, {BOTH(cardEarnedThisTurn = 'x')},
                  QStringLiteral("card earned mark: \"x\", where a saved game holds \"j\" or \"n\""));
        limitRows("attack rule", {BOTH(attackRule = 'n')}, {BOTH(attackRule = 'J')},
                  QStringLiteral("attack rule: \"J\", where a saved game holds \"j\" or \"n\""));
        limitRows("level", {BOTH(difficulty = 1)}, {BOTH(difficulty = 2)}, past("level", 2, "0 to 1"));
        limitRows("game kind", {BOTH(gameMode = ModeDemo)}, {BOTH(gameMode = ModeDemo + 1)}, past("game kind", 6, "1 to 5"));
        limitRows("first game kind", {BOTH(gameMode = ModeSinglePlayer)}, {BOTH(gameMode = 0)}, past("game kind", 0, "1 to 5"));
        limitRows("play time", {BOTH(playTimeSeconds = 3162240000.0)}, {BOTH(playTimeSeconds = 3162240001.0)},
                  QStringLiteral("play time in seconds: 3162240001, where a saved game holds 0 to 3162240000"));

        limitRows("campaign", {BOTH(campaignId = CampaignFromFile)}, {BOTH(campaignId = CampaignFromFile + 1)},
                  past("campaign", 7, "0 to 6"));
        limitRows("maps of a campaign", {BOTH(campaignMapCount = 10)}, {BOTH(campaignMapCount = 11)},
                  past("maps of the campaign", 11, "1 to 10"));
        limitRows("map of a campaign", {BOTH(campaignMapCount = 3), BOTH(campaignMapIndex = 3)},
                  {BOTH(campaignMapCount = 3), BOTH(campaignMapIndex = 4)}, past("map of the campaign", 4, "1 to 3"));
        limitRows("campaign player", {BOTH(campaignPlayer = 10)}, {BOTH(campaignPlayer = 11)},
                  past("campaign player", 11, "0 to 10"));

        limitRows("mission", {BOTH(missionType = 3)}, {BOTH(missionType = 4)}, past("mission", 4, "0 to 3"));
        limitRows("mission continent", {BOTH(missionContinents[3][25] = 25)}, {BOTH(missionContinents[3][25] = 26)},
                  past("mission continent 25 of player 3", 26, "0 to 25"));
        limitRows("mission step", {BOTH(missionContinentIndex = 25)}, {BOTH(missionContinentIndex = 26)},
                  past("mission step", 26, "0 to 25"));
        limitRows("escorted player", {BOTH(escortTarget = 10)}, {BOTH(escortTarget = 11)},
                  past("escorted player", 11, "0 to 10"));

        limitRows("rank at the start", {BOTH(rankAtGameStart = 12)}, {BOTH(rankAtGameStart = 13)},
                  past("rank at the start", 13, "0 to 12 or 99"));
        limitRows("second rank value", {BOTH(rankFlagAtGameStart = 1)}, {BOTH(rankFlagAtGameStart = 2)},
                  past("second rank value at the start", 2, "0 to 1 or 99"));
        limitRows("saves used", {BOTH(savesUsed = 50)}, {BOTH(savesUsed = 51)}, past("saves used", 51, "0 to 50"));
    }

    // Save Game writes the running game; Load Game reads a file that the game's own writer made of
    // the same game with the same change: both take it, or both refuse it in the same words.
    void loadAndSaveAgreeOnEveryLimit()
    {
        QFETCH(Edits, edits);
        QFETCH(QString, refused);
        setUpGame();
        QVERIFY(writeSavedGame(savePath()));
        SavedGameRecord record;
        QVERIFY(decodeSavedGame(fileBytes(savePath()), record));
        QVERIFY(QFile::remove(savePath()));
        for (const Edit &edit : edits) {
            edit.live();
            edit.stored(record);
        }
        QVERIFY(writeBytes(loadPath(), encodeSavedGame(record)));

        QString saveRefusal;
        const bool saved = writeSavedGame(savePath(), &saveRefusal);
        bool loaded = false;
        readSavedGame(loadPath(), loaded);
        QCOMPARE(saved, refused.isEmpty());
        QCOMPARE(loaded, refused.isEmpty());
        if (saved) {
            QVERIFY(scripted.messages.isEmpty());
            // What was saved loads, and holds the value at its limit.
            readSavedGame(savePath(), loaded);
            QVERIFY(loaded);
            QCOMPARE(encodeSavedGame(savedGameMirror), encodeSavedGame(record));
            return;
        }
        QCOMPARE(saveRefusal, refused);
        QVERIFY(!QFile::exists(savePath()));
        QCOMPARE(scripted.messageTexts(),
                 QStringList{QStringLiteral("The saved game Edited.TrvGX cannot be loaded:\n%1.").arg(saveRefusal)});
    }
};

TARVAN_TEST_MAIN(TestPersistLimits)
#include "test_persist_limits.moc"
