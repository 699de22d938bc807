// Saved games at the edges of what the reader takes, loaded through Load Game and played on for
// some turns: nothing overflows or reads past a table (the sanitizer build runs this too), and
// what no game can produce is refused before it reaches the game.

#include "test_mapclicks_support.h"
#include "test_persist_support.h"

#include "app/ViewArea.h"
#include "persist/SavedGame.h"
#include "persist/Settings.h"
#include "rules/GameEnd.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/Seats.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"

#include <QDir>

#include <functional>
#include <limits>

using namespace clicks_test;
using namespace persistbytes;

namespace {

using Edit = std::function<void(SavedGameRecord &)>;

constexpr qint32 kMost32 = std::numeric_limits<qint32>::max();
constexpr qint32 kMostCount = 1000000000;
constexpr qint32 kMostArmies = 10000000;

// Four computer players on World, 1-for-1 (a battle of millions is one round), dealt and under
// way, as the game writes it.
SavedGameRecord baseGame()
{
    selectMap(MapWorld);
    loadSelectedBuiltinMap();
    playerCount = 4;
    humanPlayerCount = 0;
    attackRule = 'j';
    aiMinAttackArmies = 3;
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerName[p] = QStringLiteral("pc %1").arg(p);
    dealTerritories();
    for (int t = 1; t <= territoryCount; ++t)
        territoryState[t].armies = 2 + t % 5;
    recountAllPlayers();
    currentPlayer = 1;
    const QString path = QDir::current().filePath(QStringLiteral("base.TrvGX"));
    SavedGameRecord record;
    if (!writeSavedGame(path) || !decodeSavedGame(fileBytes(path), record))
        qFatal("the base game was not written");
    return record;
}

void everyPlayer(SavedGameRecord &r, const std::function<void(PlayerRecord &)> &edit)
{
    for (int p = 1; p <= kMaxPlayers; ++p)
        edit(r.playerTable[p]);
}

void countersAt(SavedGameRecord &r, qint32 value)
{
    everyPlayer(r, [value](PlayerRecord &record) {
        for (int f = PlayerRecord::BattleLosses; f <= PlayerRecord::ContinentsLost; ++f)
            record.f[f] = value;
    });
    for (int p = 1; p <= kMaxPlayers; ++p) {
        r.turnsTaken[p] = value;
        r.pairs10[p].value = value;
    }
}

// The territories dealt round the players anew.
void dealtTo(SavedGameRecord &r, int players)
{
    r.playerCount = players;
    for (int t = 1; t <= 42; ++t)
        r.territoryState[t].owner = (t - 1) % players + 1;
}

qint64 turnsSoFar()
{
    qint64 turns = 0;
    for (int p = 1; p <= kMaxPlayers; ++p)
        turns += turnsTaken[p];
    return turns;
}

} // namespace

Q_DECLARE_METATYPE(Edit)

class TestPersistEdges : public QObject {
    Q_OBJECT

    ClickUi ui;
    std::unique_ptr<ViewArea> window;
    SavedGameRecord base;

    bool loadGame(const SavedGameRecord &game)
    {
        const QString path = QDir::current().filePath(QStringLiteral("edge.TrvGX"));
        const QByteArray bytes = encodeSavedGame(game);
        if (bytes.isEmpty() || !writeBytes(path, bytes))
            return false;
        ui.fileNames = QStringList{path};
        ui.questionAnswers = {true};
        window->loadSavedGame();
        return screenMode == 9;
    }

private slots:
    void init()
    {
        resetAllGameState(19);
        ui = ClickUi();
        window = makeGameWindow(ui);
        base = baseGame();
        screenMode = 1;
        animationsEnabled = 0;
    }

    void cleanup()
    {
        window.reset();
        setInteraction(nullptr);
        setScreenMeasure(nullptr);
    }

    void edgesLoadAndPlayOn_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::newRow("the game as written") << Edit([](SavedGameRecord &) {});
        QTest::newRow("a territory without armies") << Edit([](SavedGameRecord &r) { r.territoryState[7].armies = 0; });
        QTest::newRow("every territory at the most armies")
            << Edit([](SavedGameRecord &r) {
                   for (int t = 1; t <= 42; ++t)
                       r.territoryState[t].armies = kMostArmies;
               });
        QTest::newRow("counters and turns at the most") << Edit([](SavedGameRecord &r) { countersAt(r, kMostCount); });
        QTest::newRow("counters and turns at 0") << Edit([](SavedGameRecord &r) { countersAt(r, 0); });
        QTest::newRow("totals and continent bonus at the most") << Edit([](SavedGameRecord &r) {
            everyPlayer(r, [](PlayerRecord &p) {
                p.f[PlayerRecord::TotalArmies] = 200 * kMostArmies;
                p.f[PlayerRecord::ContinentBonus] = kMostCount;
                for (int c = PlayerRecord::ContinentHeld1; c < PlayerRecord::TerritoriesHeld; ++c)
                    p.f[c] = 1;
            });
        });
        QTest::newRow("every card in the first player's hand") << Edit([](SavedGameRecord &r) {
            PlayerRecord &first = r.playerTable[1];
            first.f[PlayerRecord::Artillery] = first.f[PlayerRecord::Infantry] = first.f[PlayerRecord::Cavalry] = 17;
            first.f[PlayerRecord::Wild] = 2;
            r.cardDeckCounts.fill(0);
        });
        QTest::newRow("deck empty") << Edit([](SavedGameRecord &r) { r.cardDeckCounts.fill(0); });
        QTest::newRow("deck full") << Edit([](SavedGameRecord &r) { r.cardDeckCounts = {2, 17, 17, 17}; });
        QTest::newRow("last player to move") << Edit([](SavedGameRecord &r) { r.currentPlayer = r.playerCount; });
        QTest::newRow("two players") << Edit([](SavedGameRecord &r) {
            dealtTo(r, 2);
            r.currentPlayer = 2;
        });
        QTest::newRow("ten players, ten humans") << Edit([](SavedGameRecord &r) {
            dealtTo(r, 10);
            r.humanPlayerCount = 10;
            r.currentPlayer = 10;
        });
        QTest::newRow("strongholds, the last territory one") << Edit([](SavedGameRecord &r) {
            r.strongholdsEnabled = 1;
            for (int t = 42; t >= 1; --t)
                r.playerTable[r.territoryState[t].owner].f[PlayerRecord::Stronghold] = t;
        });
        QTest::newRow("neutral army, troop experience, dice") << Edit([](SavedGameRecord &r) {
            dealtTo(r, 3);
            r.neutralArmyActive = 1;
            r.troopExperienceEnabled = 1;
            r.attackRule = 'n';
        });
        QTest::newRow("attack made, card earned, option flag") << Edit([](SavedGameRecord &r) {
            r.attackMadeThisTurn = 1;
            r.cardEarnedThisTurn = 'j';
            r.recordedOptionFlag = 1;
            r.cardTradeMarker = 177;
        });
        QTest::newRow("personalities at the most") << Edit([](SavedGameRecord &r) {
            for (int p = 1; p <= kMaxPlayers; ++p) {
                r.personality[p] = 5;
                r.personalitySetting[p] = kPersonalityUnstable;
                r.avengeTarget[p] = r.playerCount;
                r.pairs10[p].id = r.playerCount;
            }
            r.randomMixPersonalities = 1;
        });
        QTest::newRow("personalities at 6, no settings") << Edit([](SavedGameRecord &r) {
            r.personality.fill(kPersonalityUnstable);
            r.personalitySetting.fill(0);
        });
        QTest::newRow("easy level, demo") << Edit([](SavedGameRecord &r) {
            r.difficulty = 0;
            r.gameMode = ModeDemo;
        });
        QTest::newRow("campaign values at the most") << Edit([](SavedGameRecord &r) {
            r.campaignId = CampaignTarvan;
            r.campaignMapCount = r.campaignMapIndex = kMaxCampaignMaps;
            r.campaignPlayer = kMaxPlayers;
        });
        QTest::newRow("play time at the most") << Edit([](SavedGameRecord &r) { r.playTimeSeconds = 100.0 * 366 * 24 * 3600; });
        QTest::newRow("continents mission at its last entry") << Edit([](SavedGameRecord &r) {
            r.missionType = 1;
            for (int p = 1; p <= kMaxPlayers; ++p)
                r.missionContinents[p].fill(6);
            r.missionContinentIndex = kMaxContinents;
        });
        QTest::newRow("escort of the last player") << Edit([](SavedGameRecord &r) {
            r.missionType = 3;
            r.escortTarget = r.playerCount;
        });
        QTest::newRow("rank game at the top, saves at the most") << Edit([](SavedGameRecord &r) {
            r.rankGame = 1;
            r.rankAtGameStart = 12;
            r.rankFlagAtGameStart = 1;
            r.savesUsed = kMaxRankSaves;
        });
        QTest::newRow("names of 19 characters, empty and null") << Edit([](SavedGameRecord &r) {
            r.playerName[1] = QString(19, QChar(0x263A));
            r.playerName[2] = QString();
            r.playerName[3] = QStringLiteral("");
            r.campaignName = QString(19, QLatin1Char('c'));
            r.mapPath = QString(4096, QLatin1Char('p'));
            r.reservedChar = QChar(0xFFFF);
        });
    }

    // Loaded and played on for some turns (a human's turn by clicks), every counter still counts.
    void edgesLoadAndPlayOn()
    {
        QFETCH(Edit, edit);
        SavedGameRecord game = base;
        edit(game);
        QVERIFY(loadGame(game));
        QCOMPARE(ui.messageTexts(), QStringList());
        screen_test::paintWindow(*window);
        const qint64 turnsBefore = turnsSoFar();
        for (int tick = 0; tick < 4000 && !gameOver && turnsSoFar() < turnsBefore + 6; ++tick) {
            if (isHumanOfThisMachine(currentPlayer) && turnStarted && queuesDrained() && !dialogOpen)
                QVERIFY(endHumanTurnByClicks(*window));
            window->gameTick();
        }
        QVERIFY2(gameOver || turnsSoFar() >= turnsBefore + 6, "the game did not go on");
        for (int p = 1; p <= kMaxPlayers; ++p) {
            QVERIFY(turnsTaken[p] >= 0);
            for (int f = 1; f < PlayerRecord::FieldCount; ++f)
                QVERIFY2(playerTable[p].f[f] >= 0, qPrintable(QStringLiteral("player %1 field %2").arg(p).arg(f)));
        }
    }

    void beyondTheEdgesIsRefused_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::newRow("battle losses at 2^31-1") << Edit([](SavedGameRecord &r) {
            everyPlayer(r, [](PlayerRecord &p) { p.f[PlayerRecord::BattleLosses] = kMost32; });
        });
        QTest::newRow("turns at 2^31-1") << Edit([](SavedGameRecord &r) { r.turnsTaken.fill(kMost32); });
        QTest::newRow("armies past the most") << Edit([](SavedGameRecord &r) { r.territoryState[3].armies = kMostArmies + 1; });
        QTest::newRow("a counter past the most") << Edit([](SavedGameRecord &r) {
            r.playerTable[2].f[PlayerRecord::ArmiesCommitted] = kMostCount + 1;
        });
        QTest::newRow("play time past a century") << Edit([](SavedGameRecord &r) { r.playTimeSeconds = 1e300; });
        QTest::newRow("a card marker no game sets") << Edit([](SavedGameRecord &r) { r.cardTradeMarker = 5; });
    }

    // What no game can produce is refused with a message that names the value; the game in play
    // stays.
    void beyondTheEdgesIsRefused()
    {
        QFETCH(Edit, edit);
        SavedGameRecord game = base;
        edit(game);
        territoryState[1].armies = 31;
        QVERIFY(!loadGame(game));
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY2(ui.messages[0].text.startsWith(QStringLiteral("The saved game edge.TrvGX cannot be loaded:\n")),
                 qPrintable(ui.messages[0].text));
        QVERIFY2(ui.messages[0].text.contains(QStringLiteral(", where a saved game holds ")), qPrintable(ui.messages[0].text));
        QCOMPARE(territoryState[1].armies, 31);
    }
};

TARVAN_TEST_MAIN(TestPersistEdges)
#include "test_persist_edges.moc"
