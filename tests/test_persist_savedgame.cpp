// The saved-game file: what a save writes, where, and what reading it back gives or refuses.

#include "TestSupport.h"
#include "test_data_support.h"
#include "test_persist_support.h"

#include "ai/AiState.h"
#include "persist/SavedGame.h"
#include "persist/Settings.h"
#include "rules/TurnState.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapLoading.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cmath>
#include <limits>

using namespace persistbytes;

namespace {

QString n(qint64 value)
{
    return QString::number(value);
}

// A hotseat game part-way through, every stored value set to something of its own.
void setUpGame()
{
    playerCount = 6;
    humanPlayerCount = 2;
    currentPlayer = 4;
    for (int t = 1; t <= kMaxTerritories; ++t)
        territoryState[t] = {t % 7, t * 3 % 50 + 1};
    for (int p = 1; p <= kMaxPlayers; ++p) {
        PlayerRecord &r = playerTable[p];
        for (int c = 1; c <= 25; ++c)
            r.f[c] = (p + c) % 2;
        r.f[PlayerRecord::TerritoriesHeld] = p * 3;
        r.f[PlayerRecord::TotalArmies] = p * 11;
        r.f[PlayerRecord::ContinentBonus] = p;
        // Player 3 holds one card of each kind; the deck below holds no more than the rest.
        for (int card = PlayerRecord::Artillery; card <= PlayerRecord::Wild; ++card)
            r.f[card] = p == 3 ? 1 : 0;
        for (int i = PlayerRecord::BattleLosses; i <= PlayerRecord::ContinentsLost; ++i)
            r.f[i] = p * 100 + i;
        r.f[PlayerRecord::SpareField] = -p;
        r.f[PlayerRecord::Stronghold] = p * 2;
        pairs10[p] = {p % 6, p * 2};
        turnsTaken[p] = p + 5;
        personality[p] = p % 6;
        avengeTarget[p] = (p + 1) % 7;
        personalitySetting[p] = p % 7;
        for (int c = 1; c <= kMaxContinents; ++c)
            missionContinents[p][c] = (p + c) % 7;
        playerName[p] = QStringLiteral("Player %1").arg(p);
    }
    cardDeckCounts[CardWild] = 1;
    cardDeckCounts[CardCavalry] = 12;
    cardDeckCounts[CardInfantry] = 13;
    cardDeckCounts[CardArtillery] = 14;
    cardTradeMarker = 177;
    attackMadeThisTurn = 1;
    cardEarnedThisTurn = 'j';
    attackRule = 'j';
    recordedOptionFlag = 1;
    strongholdsEnabled = 1;
    neutralArmyActive = 0;
    difficulty = 0;
    randomMixPersonalities = 1;
    gameMode = ModeHotseat;
    campaignId = CampaignWestPacific;
    campaignMapCount = 3;
    campaignMapIndex = 2;
    campaignPlayer = 1;
    troopExperienceEnabled = 1;
    missionType = 1;
    missionContinentIndex = 3;
    escortTarget = 5;
    rankGame = 1;
    rankAtGameStart = 6;
    rankFlagAtGameStart = 1;
    savesUsed = 7;
    campaignName = QStringLiteral("West Pacific");
    mapFilePath = QStringLiteral("/maps/x.txt");
    campaignFilePath = QStringLiteral("/campaigns/isles.cmpgn");
}

void describePlayer(QStringList &s, const PlayerRecord &r)
{
    for (int i = 1; i < PlayerRecord::FieldCount; ++i)
        s << n(r.f[i]);
}

// The values a saved game holds, from the live game...
QStringList describeLive(double playTime)
{
    QStringList s;
    for (int t = 1; t <= kMaxTerritories; ++t)
        s << n(territoryState[t].owner) << n(territoryState[t].armies);
    for (int p = 1; p <= kMaxPlayers; ++p) {
        describePlayer(s, playerTable[p]);
        s << n(pairs10[p].id) << n(pairs10[p].value) << n(turnsTaken[p]) << n(personality[p])
          << n(avengeTarget[p]) << n(personalitySetting[p]) << playerName[p].left(19);
        for (int c = 1; c <= kMaxContinents; ++c)
            s << n(missionContinents[p][c]);
    }
    s << n(currentPlayer);
    for (int kind = 0; kind < 4; ++kind)
        s << n(cardDeckCounts[kind]);
    s << n(cardTradeMarker) << n(humanPlayerCount) << n(playerCount) << n(attackMadeThisTurn)
      << QString(cardEarnedThisTurn) << QString(attackRule) << n(recordedOptionFlag) << n(strongholdsEnabled)
      << n(neutralArmyActive) << n(difficulty) << n(randomMixPersonalities) << n(gameMode) << n(campaignId)
      << n(campaignMapCount) << n(campaignMapIndex) << n(campaignPlayer) << n(troopExperienceEnabled)
      << QString::number(playTime) << n(missionType) << n(missionContinentIndex) << n(escortTarget)
      << n(rankGame) << n(rankAtGameStart) << n(rankFlagAtGameStart) << n(savesUsed) << campaignName.left(19)
      << (campaignId == CampaignFromFile ? campaignFilePath : mapFilePath);
    return s;
}

// ... and from a record, in the same order.
QStringList describeRecord(const SavedGameRecord &r)
{
    QStringList s;
    for (int t = 1; t <= kMaxTerritories; ++t)
        s << n(r.territoryState[t].owner) << n(r.territoryState[t].armies);
    for (int p = 1; p <= kMaxPlayers; ++p) {
        describePlayer(s, r.playerTable[p]);
        s << n(r.pairs10[p].id) << n(r.pairs10[p].value) << n(r.turnsTaken[p]) << n(r.personality[p])
          << n(r.avengeTarget[p]) << n(r.personalitySetting[p]) << r.playerName[p];
        for (int c = 1; c <= kMaxContinents; ++c)
            s << n(r.missionContinents[p][c]);
    }
    s << n(r.currentPlayer);
    for (int kind = 0; kind < 4; ++kind)
        s << n(r.cardDeckCounts[kind]);
    s << n(r.cardTradeMarker) << n(r.humanPlayerCount) << n(r.playerCount) << n(r.attackMadeThisTurn)
      << QString(r.cardEarnedThisTurn) << QString(r.attackRule) << n(r.recordedOptionFlag)
      << n(r.strongholdsEnabled) << n(r.neutralArmyActive) << n(r.difficulty) << n(r.randomMixPersonalities)
      << n(r.gameMode) << n(r.campaignId) << n(r.campaignMapCount) << n(r.campaignMapIndex)
      << n(r.campaignPlayer) << n(r.troopExperienceEnabled) << QString::number(r.playTimeSeconds)
      << n(r.missionType) << n(r.missionContinentIndex) << n(r.escortTarget) << n(r.rankGame)
      << n(r.rankAtGameStart) << n(r.rankFlagAtGameStart) << n(r.savesUsed) << r.campaignName << r.mapPath;
    return s;
}

QString gamePath()
{
    return QDir::current().filePath(QStringLiteral("World.TrvGX"));
}

qint64 textBytes(const QString &text)
{
    return 4 + 2 * text.size();
}

} // namespace

class TestPersistSavedGame : public QObject {
    Q_OBJECT

private:
    ScriptedInteraction scripted;

    // The game of setUpGame, changed by `change`, with 100 seconds played before the last stamp
    // and 50 since, written to its file; the file's bytes.
    QByteArray writtenGame(const Setup &change = Setup())
    {
        setUpGame();
        if (change)
            change();
        playTimeSeconds = 100;
        playTimeStamp = scripted.clock.addSecs(-50);
        return writeSavedGame(gamePath()) ? fileBytes(gamePath()) : QByteArray();
    }

private slots:
    void init()
    {
        resetAllGameState();
        QFile::remove(gamePath());
        scripted = ScriptedInteraction();
        setInteraction(&scripted);
    }
    void cleanup() { setInteraction(nullptr); }

    void valuesStandAtTheirPlaces_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("value");
        QTest::newRow("territory 1 owner") << 0 << 4 << 1;
        QTest::newRow("player 1 continent 1") << 1600 << 4 << 0;
        QTest::newRow("player 2 battle losses") << 1904 << 4 << 233;
        QTest::newRow("player 1 stronghold") << 1772 << 4 << 2;
        QTest::newRow("player 10 stronghold") << 3356 << 4 << 20;
        QTest::newRow("player 1 main enemy") << 3360 << 4 << 1;
        QTest::newRow("current player") << 3440 << 4 << 4;
        QTest::newRow("artillery in the deck") << 3444 << 4 << 14;
        QTest::newRow("wild cards in the deck") << 3456 << 4 << 1;
        QTest::newRow("card trade marker") << 3460 << 4 << 177;
        QTest::newRow("human players") << 3464 << 4 << 2;
        QTest::newRow("players") << 3468 << 4 << 6;
        QTest::newRow("reserved character") << 3472 << 2 << 0;
        QTest::newRow("attack made") << 3474 << 1 << 1;
        QTest::newRow("player 1 turns") << 3475 << 4 << 6;
        QTest::newRow("card earned") << 3515 << 2 << 0x006A;
        QTest::newRow("attack rule") << 3517 << 2 << 0x006A;
        QTest::newRow("game-option flag") << 3519 << 1 << 1;
        QTest::newRow("strongholds") << 3520 << 1 << 1;
        QTest::newRow("difficulty") << 3522 << 4 << 0;
        QTest::newRow("player 1 personality") << 3526 << 4 << 1;
        QTest::newRow("player 6 personality setting") << 3626 << 4 << 6;
        QTest::newRow("random mix") << 3646 << 1 << 1;
        QTest::newRow("game mode") << 3647 << 4 << 4;
        QTest::newRow("campaign") << 3651 << 4 << 2;
        QTest::newRow("campaign map") << 3659 << 4 << 2;
        QTest::newRow("troop experience") << 3667 << 1 << 1;
        QTest::newRow("mission") << 3676 << 4 << 1;
        QTest::newRow("player 2 mission continent 3") << 3788 << 4 << 5;
        QTest::newRow("mission step") << 4680 << 4 << 3;
        QTest::newRow("escorted player") << 4684 << 4 << 5;
        QTest::newRow("rank game") << 4688 << 1 << 1;
        QTest::newRow("rank at start") << 4689 << 4 << 6;
        QTest::newRow("saves used") << 4697 << 4 << 7;
        QTest::newRow("first name's byte count") << 4701 << 4 << 16;
    }
    void valuesStandAtTheirPlaces()
    {
        QFETCH(int, offset);
        QFETCH(int, width);
        const QByteArray bytes = writtenGame();
        QVERIFY(!bytes.isEmpty());
        const char *at = bytes.constData() + offset;
        const int read = width == 4 ? qFromBigEndian<qint32>(at)
            : width == 2            ? qFromBigEndian<quint16>(at)
                                    : static_cast<quint8>(*at);
        QTEST(read, "value");
    }

    void theFileIsTheFixedPartAndTwelveTexts()
    {
        const QByteArray bytes = writtenGame();
        qint64 texts = textBytes(campaignName) + textBytes(mapFilePath);
        for (int p = 1; p <= kMaxPlayers; ++p)
            texts += textBytes(playerName[p]);
        QCOMPARE(qint64(bytes.size()), kSavedGameFixedBytes + texts);
        // The play time: 100 seconds stored before, 50 since the last stamp.
        QCOMPARE(qFromBigEndian<quint64>(bytes.constData() + 3668),
                 qFromBigEndian<quint64>(QByteArray::fromHex("4062c00000000000").constData()));
        QCOMPARE(bytes.mid(bytes.size() - textBytes(mapFilePath)), utf16(mapFilePath));
    }

    // The stored path depends on the kind of campaign; names are stored cut to 19 characters.
    void aSavedGameReadsBackAsItWasWritten_data()
    {
        QTest::addColumn<int>("campaign");
        QTest::addColumn<QString>("path");
        QTest::newRow("single map") << 0 << "/maps/x.txt";
        QTest::newRow("built-in campaign") << 3 << "/maps/x.txt";
        QTest::newRow("campaign file") << 6 << "/campaigns/isles.cmpgn";
    }
    void aSavedGameReadsBackAsItWasWritten()
    {
        QFETCH(int, campaign);
        const QString longName = QStringLiteral("Bartholomew the Magnificent"); // 27
        const QString longCampaign = QStringLiteral("The Long Road Across the Isles");
        QVERIFY(!writtenGame([&] {
                     campaignId = campaign;
                     playerName[3] = longName;
                     campaignName = longCampaign;
                 }).isEmpty());
        QCOMPARE(playerName[3], longName);
        const QStringList live = describeLive(150);
        QCOMPARE(describeRecord(savedGameMirror), live);

        resetAllGameState();
        bool ok = false;
        readSavedGame(gamePath(), ok);
        QVERIFY(ok);
        QCOMPARE(describeRecord(savedGameMirror), live);
        QTEST(savedGameMirror.mapPath, "path");
        QCOMPARE(savedGameMirror.playerName[3], longName.left(19));
        QCOMPARE(savedGameMirror.campaignName, longCampaign.left(19));
        // Reading fills the mirror only.
        QCOMPARE(playerCount, 0);
        QCOMPARE(territoryState[1], TerritoryState{});
        QVERIFY(scripted.messages.isEmpty());
    }

    // The names a saved game keeps are one line of whole characters, nothing hidden, whatever the
    // game held.
    void storedNamesAreOneLineOfWholeCharacters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        const QString wide = twoUnitCharacter();
        QTest::newRow("an emoji across the cut") << letters(18) + wide + "x" << letters(18);
        QTest::newRow("a line break and a tab") << "Ab\ncd\tef" << "Ab cd ef";
        QTest::newRow("half an emoji") << "Ab" + wide.left(1) + "cd" << "Abcd";
        QTest::newRow("an accent across the cut") << letters(18) + "e\u0301" << letters(18);
        QTest::newRow("a flag across the cut") << letters(17) + "\U0001F1EB\U0001F1F7" << letters(17);
        QTest::newRow("a skin tone across the cut") << letters(16) + "\U0001F44D\U0001F3FD" << letters(16);
        QTest::newRow("a joined emoji across the cut")
            << letters(14) + "\U0001F468\u200D\U0001F469\u200D\U0001F467" << letters(14);
        QTest::newRow("an override, an isolate and a zero-width space") << "Ab\u202Ecd\u2066ef\u200B" << "Abcdef";
    }
    void storedNamesAreOneLineOfWholeCharacters()
    {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QVERIFY(!writtenGame([&] {
                     playerName[2] = name;
                     campaignName = name;
                 }).isEmpty());
        resetAllGameState();
        bool ok = false;
        readSavedGame(gamePath(), ok);
        QVERIFY(ok);
        QCOMPARE(savedGameMirror.playerName[2], stored);
        QCOMPARE(savedGameMirror.campaignName, stored);
    }

    // A saved game written by hand or by an earlier build: its names are taken as typed names are.
    void namesReadFromASavedGameAreTakenAsTyped_data()
    {
        QTest::addColumn<QString>("held");
        QTest::addColumn<QString>("taken");
        QTest::newRow("a right-to-left override") << "Bob\u202E" << "Bob";
        QTest::newRow("a tab") << "Ab\tcd" << "Ab cd";
        QTest::newRow("half an emoji") << "Ab" + twoUnitCharacter().left(1) + "cd" << "Abcd";
        QTest::newRow("a joiner between two letters") << "Ab\u200Dcd" << "Abcd";
    }
    void namesReadFromASavedGameAreTakenAsTyped()
    {
        QFETCH(QString, held);
        QFETCH(QString, taken);
        QVERIFY(!writtenGame().isEmpty());
        SavedGameRecord handMade = savedGameMirror;
        handMade.playerName[2] = held;
        handMade.campaignName = held;
        QVERIFY(writeBytes(gamePath(), encodeSavedGame(handMade)));
        resetAllGameState();
        bool ok = false;
        readSavedGame(gamePath(), ok);
        QVERIFY(ok);
        QCOMPARE(savedGameMirror.playerName[2], taken);
        QCOMPARE(savedGameMirror.campaignName, taken);
    }

    void savingAdvancesThePlayTimeOnce()
    {
        setUpGame();
        playTimeSeconds = 0;
        playTimeStamp = scripted.clock;
        scripted.clock = scripted.clock.addSecs(60);
        QVERIFY(writeSavedGame(gamePath()));
        QCOMPARE(savedGameMirror.playTimeSeconds, 60.0);
        QCOMPARE(playTimeStamp, scripted.clock);
        scripted.clock = scripted.clock.addSecs(61);
        QVERIFY(writeSavedGame(gamePath()));
        QCOMPARE(savedGameMirror.playTimeSeconds, 121.0);
        QCOMPARE(playTimeSeconds, 121.0);
        // A clock set back adds nothing and takes nothing away.
        scripted.clock = scripted.clock.addSecs(-3600);
        QVERIFY(writeSavedGame(gamePath()));
        QCOMPARE(savedGameMirror.playTimeSeconds, 121.0);
    }

    void aBadFileIsRefusedAndChangesNothing_data()
    {
        QTest::addColumn<int>("cutAt"); // -1: keep the length, -2: drop the last byte
        QTest::addColumn<int>("patchAt");
        QTest::addColumn<QByteArray>("patch");
        const QByteArray none;
        QTest::newRow("empty") << 0 << -1 << none;
        QTest::newRow("cut after the territories") << 1600 << -1 << none;
        QTest::newRow("cut before the texts") << 4700 << -1 << none;
        QTest::newRow("cut inside a text") << 4706 << -1 << none;
        QTest::newRow("last byte missing") << -2 << -1 << none;
        QTest::newRow("no players") << -1 << 3468 << int32(0);
        QTest::newRow("eleven players") << -1 << 3468 << int32(11);
        QTest::newRow("more humans than players") << -1 << 3464 << int32(7);
        QTest::newRow("no current player") << -1 << 3440 << int32(0);
        QTest::newRow("owner 11") << -1 << 0 << int32(11);
        QTest::newRow("negative armies") << -1 << 4 << int32(-1);
        QTest::newRow("stronghold 201") << -1 << 1772 << int32(201);
        QTest::newRow("99 artillery cards") << -1 << 1712 << int32(99);
        QTest::newRow("card flag x") << -1 << 3515 << QByteArray::fromHex("0078");
        QTest::newRow("bool byte 2") << -1 << 3474 << QByteArray(1, '\2');
        QTest::newRow("difficulty 2") << -1 << 3522 << int32(2);
        QTest::newRow("personality 7") << -1 << 3526 << int32(7);
        QTest::newRow("game mode 6") << -1 << 3647 << int32(6);
        QTest::newRow("campaign 7") << -1 << 3651 << int32(7);
        QTest::newRow("campaign map beyond the last") << -1 << 3659 << int32(4);
        QTest::newRow("play time not a number") << -1 << 3668 << QByteArray::fromHex("7ff8000000000000");
        QTest::newRow("mission 4") << -1 << 3676 << int32(4);
        QTest::newRow("mission continent 26") << -1 << 3680 << int32(26);
        QTest::newRow("mission step 26") << -1 << 4680 << int32(26);
        QTest::newRow("escorted player 11") << -1 << 4684 << int32(11);
        QTest::newRow("rank 50 at start") << -1 << 4689 << int32(50);
        QTest::newRow("51 saves used") << -1 << 4697 << int32(51);
        QTest::newRow("name of 20 characters") << -1 << 4701 << int32(40);
    }
    void aBadFileIsRefusedAndChangesNothing()
    {
        QFETCH(int, cutAt);
        QFETCH(int, patchAt);
        QFETCH(QByteArray, patch);
        QByteArray bad = writtenGame();
        QVERIFY(!bad.isEmpty());
        if (cutAt >= 0)
            bad = bad.left(cutAt);
        else if (cutAt == -2)
            bad.chop(1);
        if (patchAt >= 0)
            bad.replace(patchAt, patch.size(), patch);
        QVERIFY(writeBytes(gamePath(), bad));

        const QStringList mirror = describeRecord(savedGameMirror);
        const QStringList live = describeLive(playTimeSeconds);
        bool ok = true;
        readSavedGame(gamePath(), ok);
        QVERIFY(!ok);
        QCOMPARE(describeRecord(savedGameMirror), mirror);
        QCOMPARE(describeLive(playTimeSeconds), live);
        QCOMPARE(fileBytes(gamePath()), bad);
        QCOMPARE(scripted.messages.size(), 1);
        QVERIFY(scripted.messages[0].text.contains(QStringLiteral("World.TrvGX")));
    }

    void aMissingFileIsLeftToTheCallerToReport()
    {
        savedGameMirror.playerCount = 5;
        bool ok = true;
        readSavedGame(QDir::current().filePath(QStringLiteral("nothere.TrvGX")), ok);
        QVERIFY(!ok);
        QCOMPARE(savedGameMirror.playerCount, 5);
        QVERIFY(scripted.messages.isEmpty());
    }

    void aFailedWriteChangesNothing()
    {
        setUpGame();
        playTimeSeconds = 30;
        playTimeStamp = scripted.clock.addSecs(-10);
        const QDateTime stamp = playTimeStamp;
        const QStringList mirror = describeRecord(savedGameMirror);
        // A folder in the file's place cannot be replaced.
        QVERIFY(QDir::current().mkdir(QStringLiteral("World.TrvGX")));
        QVERIFY(!writeSavedGame(gamePath()));
        QVERIFY(QFileInfo(gamePath()).isDir());
        QVERIFY(QDir::current().rmdir(QStringLiteral("World.TrvGX")));
        // Nor can a file in a folder that does not exist be written.
        QVERIFY(!writeSavedGame(QDir::current().filePath(QStringLiteral("missing/World.TrvGX"))));
        QCOMPARE(describeRecord(savedGameMirror), mirror);
        QCOMPARE(playTimeSeconds, 30.0);
        QCOMPARE(playTimeStamp, stamp);
    }

    void aGameItsLoaderWouldRefuseIsNotWritten_data()
    {
        QTest::addColumn<Setup>("fault");
        QTest::newRow("no game set up") << Setup([] {});
        QTest::newRow("current player 0") << Setup([] { setUpGame(); currentPlayer = 0; });
        QTest::newRow("negative armies") << Setup([] { setUpGame(); territoryState[9].armies = -3; });
    }
    void aGameItsLoaderWouldRefuseIsNotWritten()
    {
        QFETCH(Setup, fault);
        fault();
        QVERIFY(!writeSavedGame(gamePath()));
        QVERIFY(!QFile::exists(gamePath()));
    }
};

TARVAN_TEST_MAIN(TestPersistSavedGame)
#include "test_persist_savedgame.moc"
