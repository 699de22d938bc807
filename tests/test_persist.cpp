// The settings file and the stream module every data file is read and written with.

#include "TestSupport.h"
#include "test_data_support.h"
#include "test_persist_support.h"

#include "persist/DataFolder.h"
#include "persist/DataStream.h"
#include "net/GameListEntry.h"
#include "persist/Settings.h"
#include "state/ForcedOptions.h"
#include "rules/TurnState.h"
#include "state/GameState.h"

#include <QDir>
#include <QFile>

#include <functional>

using namespace persistbytes;

namespace {

const QString kBlank18(18, QLatin1Char(' '));

QString padded(const char *name)
{
    return QString::fromLatin1(name).leftJustified(18, QLatin1Char(' '));
}

// Every global the settings file feeds, as text, so two states compare in one go.
QStringList settingsGlobals()
{
    auto n = [](qint64 v) { return QString::number(v); };
    QStringList s;
    for (int p = 1; p <= kMaxPlayers; ++p)
        s << n(personality[p]) << n(personalitySetting[p]) << configuredPlayerName[p] << playerName[p];
    s << n(randomMixPersonalities) << n(fastSpeed) << n(mapShownSetting) << n(reservedFlag1)
      << n(hideMapDownloadHint) << n(reservedFlag2) << n(reservedFlag3) << n(speedFlag288)
      << n(speedFlag224) << n(speedFlag160) << n(speedFlag96) << n(displaySizeClass);
    for (int i = 1; i <= 9; ++i)
        s << n(soundEnabled[i]);
    s << n(reservedFlag4) << n(displayOptionA) << n(routeLimits[4]) << n(savesUsed)
      << n(animationsEnabled) << lastLanHost << lastInternetHost << hostExternalIp << hostGameName
      << lastSaveFileName;
    return s;
}

// The fresh file, field by field as the format lays it out.
QByteArray handBuiltFreshFile()
{
    QByteArray b;
    for (int i = 1; i <= 20; ++i)
        b += int32(i);
    for (int p = 1; p <= 10; ++p)
        b += int32(0);
    b += boolean(false) + boolean(true) + int32(0) + int32(1000);
    for (bool flag : {false, false, false, false, true, false, false, false})
        b += boolean(flag);
    b += int32(1);
    for (bool flag : {false, true, true, true, true, true, true, true, true, false, true})
        b += boolean(flag);
    b += int32(80) + int32(0) + boolean(true);
    for (int i = 0; i < 4; ++i)
        b += utf16(kBlank18);
    b += utf16(padded("noname"));
    for (int p = 1; p <= 10; ++p)
        b += utf16(kBlank18);
    for (const char *name : {"player", "pc II", "pc III", "pc IV", "pc V", "pc VI", "pc VII", "pc VIII",
                             "pc IX", "pc X"})
        b += utf16(padded(name));
    b += utf16(lastSaveFileName);
    return b;
}

// Where each of the twenty fields of a settings file ends: twelve of a fixed size, then texts.
QList<int> fieldEnds(const QByteArray &bytes)
{
    QList<int> ends{80, 120, 121, 122, 126, 130, 138, 142, 153, 157, 161, 162};
    int at = ends.last();
    for (int texts : {1, 1, 1, 1, 1, 10, 10, 1}) {
        for (int i = 0; i < texts; ++i)
            at += 4 + int32At(bytes, at);
        ends << at;
    }
    return ends;
}

// `bytes` with field `field` (13 to 20, the texts) of a settings file holding `texts`.
QByteArray withTextField(const QByteArray &bytes, int field, const QStringList &texts)
{
    const QList<int> ends = fieldEnds(bytes);
    QByteArray held;
    for (const QString &text : texts)
        held += utf16(text);
    return bytes.left(ends[field - 2]) + held + bytes.mid(ends[field - 1]);
}

// A field of the settings file, shown by a global (or the record) that it feeds.
struct ShownField {
    int field;
    std::function<QString()> shown;
};

QList<ShownField> shownFields()
{
    const auto n = [](qint64 v) { return QString::number(v); };
    return {{2, [n] { return n(personality[2]); }},
            {7, [n] { return n(speedFlag288) + n(speedFlag224); }},
            {8, [n] { return n(displaySizeClass); }},
            {11, [n] { return n(savesUsed); }},
            {12, [n] { return n(animationsEnabled); }},
            {14, [] { return lastLanHost; }},
            {17, [] { return hostGameName; }},
            {18, [] { return settingsRecord.hotseatNames[2]; }},
            {19, [] { return configuredPlayerName[4]; }},
            {20, [] { return lastSaveFileName; }}};
}

// Every shown field stored with a value other than a new file's.
void storeOtherValues()
{
    resolveUnstableOnLoad = 0;
    personality[2] = 4;
    speedFlag288 = 0;
    speedFlag224 = 1;
    displaySizeClass = 3;
    savesUsed = 9;
    animationsEnabled = 0;
    lastLanHost = QStringLiteral("lan-host");
    hostGameName = QStringLiteral("Friday");
    configuredPlayerName[4] = QStringLiteral("Dora");
    lastSaveFileName = QStringLiteral("/games/Friday.TrvGX");
    saveSettings();
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerName[p] = QStringLiteral("hot %1").arg(p);
    saveHotseatNamesFlag = 1;
    saveSettings();
    saveHotseatNamesFlag = 0;
}

} // namespace

class TestPersist : public QObject {
    Q_OBJECT

private:
    ScriptedInteraction scripted;

    // A settings file written from the start values, then the globals read back from it.
    void startWithFreshFile()
    {
        QVERIFY(loadSettings());
        QVERIFY(QFile::exists(settingsFileName()));
    }

private slots:
    void init()
    {
        resetAllGameState();
        QFile::remove(settingsFileName());
        scripted = ScriptedInteraction();
        setInteraction(&scripted);
    }
    void cleanup() { setInteraction(nullptr); }

    // ---- The stream module ----

    void textsAreReadOnlyWhenWhole_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNull");
        QTest::newRow("null") << int32(-1) << true << QString() << true;
        QTest::newRow("empty") << int32(0) << true << QString("") << false;
        QTest::newRow("two characters") << utf16("ab") << true << QString("ab") << false;
        QTest::newRow("19 characters") << utf16(QString(19, 'x')) << true << QString(19, 'x') << false;
        QTest::newRow("20 characters") << utf16(QString(20, 'x')) << false << QString() << false;
        QTest::newRow("odd byte count") << (int32(3) + QByteArray("abc")) << false << QString() << false;
        QTest::newRow("cut short") << utf16("abcd").left(9) << false << QString() << false;
        QTest::newRow("count without text") << int32(0x7ffffffe) << false << QString() << false;
        QTest::newRow("count cut short") << QByteArray(2, '\0') << false << QString() << false;
    }
    void textsAreReadOnlyWhenWhole()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, accepted);
        QFETCH(QString, text);
        QFETCH(bool, isNull);
        RecordReader reader(bytes);
        QString read = QStringLiteral("before");
        reader.text(read);
        QCOMPARE(reader.ok(), accepted);
        if (accepted) {
            QCOMPARE(read, text);
            QCOMPARE(read.isNull(), isNull);
        }
    }

    // ---- The settings file ----

    void freshFileHasTheLayoutOfTheFormat()
    {
        startWithFreshFile();
        const QByteArray bytes = fileBytes(settingsFileName());
        QCOMPARE(bytes.size(), 1166 + 2 * lastSaveFileName.size());
        QCOMPARE(bytes, handBuiltFreshFile());
        QVERIFY(lastSaveFileName.endsWith(QStringLiteral("/*.TrvGX")));
        QCOMPARE(configuredPlayerName[1], padded("player"));
        QCOMPARE(configuredPlayerName[2], QStringLiteral("pc II") + QString(13, ' '));
        for (int p = 1; p <= kMaxPlayers; ++p)
            QCOMPARE(playerName[p], kBlank18);
        QCOMPARE(settingsRecord.hostGameName, padded("noname"));
        QCOMPARE(settingsRecord.hotseatNames[10], kBlank18);
        QVERIFY(scripted.messages.isEmpty());
    }

    void everyStoredOptionSurvivesARestart()
    {
        startWithFreshFile();
        resolveUnstableOnLoad = 0;
        for (int p = 1; p <= kMaxPlayers; ++p) {
            personality[p] = (p + 1) % 7;
            configuredPlayerName[p] = QStringLiteral("name %1").arg(p);
        }
        fastSpeed = 0;
        mapShownSetting = 1;
        reservedFlag1 = hideMapDownloadHint = reservedFlag2 = reservedFlag3 = 1;
        speedFlag288 = 0;
        speedFlag96 = 1;
        displaySizeClass = 3;
        for (int i = 1; i <= 9; ++i)
            soundEnabled[i] = i % 2;
        reservedFlag4 = 1;
        displayOptionA = 0;
        routeLimits[4] = 1234;
        savesUsed = 17;
        animationsEnabled = 0;
        lastLanHost = QStringLiteral("lan-host");
        lastInternetHost = QStringLiteral("203.0.113.9");
        hostExternalIp = QStringLiteral("198.51.100.7");
        hostGameName = QStringLiteral("evening game");
        lastSaveFileName = QDir::current().filePath(QStringLiteral("World.TrvGX"));
        QVERIFY(saveSettings());
        const QStringList saved = settingsGlobals();

        resetAllGameState();
        QVERIFY(settingsGlobals() != saved);
        resolveUnstableOnLoad = 0;
        QVERIFY(loadSettings());
        // personalitySetting is only touched for an Unstable player, which the flag keeps.
        QCOMPARE(settingsGlobals(), saved);
    }

    void personalitiesAreStoredOnlyFromTheMenus_data()
    {
        QTest::addColumn<Setup>("situation"); // Random Mix is on in all but the first
        QTest::addColumn<bool>("personalitiesStored");
        QTest::addColumn<bool>("storedMix"); // Random Mix as the file holds it afterwards
        QTest::newRow("menus") << Setup([] { randomMixPersonalities = 0; }) << true << false;
        QTest::newRow("random mix on") << Setup([] {}) << false << true;
        QTest::newRow("top-five game") << Setup([] { topFiveGame = 1; }) << false << false;
        QTest::newRow("initial placement") << Setup([] { placementRound = 1; }) << false << false;
        QTest::newRow("continued saved game") << Setup([] { resumedGameMark = 'j'; }) << false << false;
        QTest::newRow("hosting settings") << Setup([] { partialSaveFlag = 1; }) << false << false;
        QTest::newRow("hotseat names") << Setup([] { saveHotseatNamesFlag = 1; }) << false << false;
        QTest::newRow("high-score name") << Setup([] { saveHighScoreNameFlag = 1; }) << false << false;
    }
    void personalitiesAreStoredOnlyFromTheMenus()
    {
        QFETCH(Setup, situation);
        QFETCH(bool, personalitiesStored);
        startWithFreshFile();
        for (int p = 1; p <= kMaxPlayers; ++p)
            personality[p] = p % 6;
        randomMixPersonalities = 1;
        situation();
        QVERIFY(saveSettings());
        const QByteArray bytes = fileBytes(settingsFileName());
        for (int p = 1; p <= kMaxPlayers; ++p)
            QCOMPARE(int32At(bytes, 80 + 4 * (p - 1)), personalitiesStored ? p % 6 : 0);
        QTEST(bytes.at(120) == 1, "storedMix");
    }

    void namesAreStoredOnlyInSinglePlayerGames_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("stored");
        QTest::newRow("single player") << int(ModeSinglePlayer) << true;
        QTest::newRow("host") << int(ModeHost) << false;
        QTest::newRow("client") << int(ModeClient) << false;
        QTest::newRow("hotseat") << int(ModeHotseat) << false;
        QTest::newRow("demo") << int(ModeDemo) << false;
    }
    void namesAreStoredOnlyInSinglePlayerGames()
    {
        QFETCH(int, mode);
        QFETCH(bool, stored);
        startWithFreshFile();
        gameMode = mode;
        configuredPlayerName[1] = QStringLiteral("Zed");
        QVERIFY(saveSettings());
        configuredPlayerName[1] = QStringLiteral("changed");
        QVERIFY(loadSettings());
        QCOMPARE(configuredPlayerName[1], stored ? QStringLiteral("Zed") : padded("player"));
    }

    void animationsAreNotStoredInNetworkGames_data()
    {
        QTest::addColumn<int>("seat");
        QTest::addColumn<int>("stored");
        QTest::newRow("local game") << 0 << 0;
        QTest::newRow("host") << 1 << 1;
        QTest::newRow("client") << 3 << 1;
    }
    void animationsAreNotStoredInNetworkGames()
    {
        QFETCH(int, seat);
        startWithFreshFile();
        networkSeat = seat;
        // A network game turns them off as its window paints; the player turns them off himself.
        if (seat > 0)
            forceAnimationsOff();
        else
            animationsEnabled = 0;
        QVERIFY(saveSettings());
        QTEST(int(fileBytes(settingsFileName()).at(161)), "stored");
    }

    void rememberedTextsAreCutTo19Characters()
    {
        startWithFreshFile();
        const QString longText = QStringLiteral("abcdefghijklmnopqrstuvwxy"); // 25
        lastLanHost = lastInternetHost = hostExternalIp = hostGameName = longText;
        playerName[1] = configuredPlayerName[1] = longText;
        saveHighScoreNameFlag = saveHotseatNamesFlag = 1;
        QVERIFY(saveSettings());
        saveHighScoreNameFlag = saveHotseatNamesFlag = 0;
        QVERIFY(loadSettings());
        const QString cut = longText.left(19);
        for (const QString &stored : {lastLanHost, lastInternetHost, hostExternalIp, hostGameName,
                                      settingsRecord.highScoreName, settingsRecord.hotseatNames[1],
                                      configuredPlayerName[1]})
            QCOMPARE(stored, cut);
    }

    // A file written by hand or by an earlier build: the names and the remembered addresses it
    // holds are taken as typed ones are, one line with nothing hidden, and a game name left empty
    // is announced as "noname".
    void namesReadFromTheFileAreTakenAsTyped_data()
    {
        QTest::addColumn<QString>("held");
        QTest::addColumn<QString>("taken");
        QTest::newRow("a right-to-left override") << "Bob\u202E" << "Bob";
        QTest::newRow("a zero-width space alone") << "\u200B" << "";
        QTest::newRow("a line break") << "Ab\ncd" << "Ab cd";
        QTest::newRow("a joiner between two letters") << "Ab\u200Dcd" << "Abcd";
        QTest::newRow("a joined emoji") << "Ab\U0001F468\u200D\U0001F469" << "Ab\U0001F468\u200D\U0001F469";
    }
    void namesReadFromTheFileAreTakenAsTyped()
    {
        QFETCH(QString, held);
        QFETCH(QString, taken);
        QByteArray bytes = handBuiltFreshFile();
        for (int field = 13; field <= 17; ++field)
            bytes = withTextField(bytes, field, {held});
        bytes = withTextField(bytes, 18, QStringList{held} + QVector<QString>(9, kBlank18).toList());
        bytes = withTextField(bytes, 19, QStringList{held} + QVector<QString>(9, padded("pc")).toList());
        QVERIFY(writeBytes(settingsFileName(), bytes));
        QVERIFY(loadSettings());
        QVERIFY(scripted.messages.isEmpty());
        // The addresses as the join and hosting dialogs start from them, and as the game keeps them.
        for (const QString &name : {settingsRecord.highScoreName, settingsRecord.hostGameName,
                                    settingsRecord.hotseatNames[1], configuredPlayerName[1],
                                    settingsRecord.lastLanHost, settingsRecord.lastInternetHost,
                                    settingsRecord.hostExternalIp, lastLanHost, lastInternetHost, hostExternalIp})
            QCOMPARE(name, taken);
        const QString announced = taken.isEmpty() ? QStringLiteral("noname") : taken;
        QCOMPARE(entryFieldValue(gameListEntryText(QStringLiteral("81.20.3.4"), false), kEntryGameName), announced);
    }

    void fixedFieldsAreRewrittenOnEverySave()
    {
        startWithFreshFile();
        QByteArray bytes = fileBytes(settingsFileName());
        bytes.replace(0, 4, int32(9));     // colour order, first entry
        bytes.replace(126, 4, int32(77)); // marker value
        QVERIFY(writeBytes(settingsFileName(), bytes));
        QVERIFY(saveSettings());
        bytes = fileBytes(settingsFileName());
        QCOMPARE(int32At(bytes, 0), 1);
        QCOMPARE(int32At(bytes, 126), 1000);
    }

    void aStoredUnstablePersonalityIsResolvedOnLoad_data()
    {
        QTest::addColumn<bool>("resolve");
        QTest::newRow("resolved") << true;
        QTest::newRow("kept") << false;
    }
    void aStoredUnstablePersonalityIsResolvedOnLoad()
    {
        QFETCH(bool, resolve);
        startWithFreshFile();
        personality[3] = kPersonalityUnstable;
        personality[4] = 2;
        QVERIFY(saveSettings());
        personalitySetting.fill(0);
        resolveUnstableOnLoad = resolve ? 1 : 0;
        QVERIFY(loadSettings());
        QCOMPARE(personalitySetting[3], resolve ? kPersonalityUnstable : 0);
        if (resolve)
            QVERIFY(personality[3] >= 0 && personality[3] <= 5);
        else
            QCOMPARE(personality[3], kPersonalityUnstable);
        QCOMPARE(personality[4], 2);
        QCOMPARE(personalitySetting[4], 0);
    }

    void creatingTheFileKeepsTheNamesOfAGameUnderWay_data()
    {
        QTest::addColumn<Setup>("situation");
        QTest::addColumn<bool>("namesKept");
        QTest::newRow("start screen") << Setup([] {}) << false;
        QTest::newRow("initial placement") << Setup([] { placementRound = 2; }) << true;
        QTest::newRow("local game") << Setup([] { localGameRunning = 1; }) << true;
        QTest::newRow("network game") << Setup([] { networkSeat = 2; }) << true;
        QTest::newRow("continued saved game") << Setup([] { resumedGameMark = 'j'; }) << true;
        QTest::newRow("demo") << Setup([] { demoRunning = 1; }) << true;
    }
    void creatingTheFileKeepsTheNamesOfAGameUnderWay()
    {
        QFETCH(Setup, situation);
        QFETCH(bool, namesKept);
        situation();
        playerName[1] = QStringLiteral("Ann");
        // The file went missing while the game runs: the next option change creates it again.
        QVERIFY(saveSettings());
        QVERIFY(QFile::exists(settingsFileName()));
        QCOMPARE(playerName[1], namesKept ? QStringLiteral("Ann") : kBlank18);
    }

    void aBadFileIsRefusedAndChangesNothing_data()
    {
        QTest::addColumn<int>("cutAt");       // -1: keep the length
        QTest::addColumn<int>("patchAt");     // -1: no patch
        QTest::addColumn<QByteArray>("patch");
        QTest::newRow("personality 99") << -1 << 84 << int32(99);
        QTest::newRow("personality -1") << -1 << 80 << int32(-1);
        QTest::newRow("bool byte 2") << -1 << 121 << QByteArray(1, '\2');
        QTest::newRow("display size class 0") << -1 << 138 << int32(0);
        QTest::newRow("display size class 5") << -1 << 138 << int32(5);
        QTest::newRow("route limit negative") << -1 << 153 << int32(-80);
        QTest::newRow("saves used 51") << -1 << 157 << int32(51);
        QTest::newRow("odd text length") << -1 << 162 << int32(35);
        QTest::newRow("text of 20 characters") << -1 << 162 << int32(40);
        QTest::newRow("huge text length") << -1 << 162 << int32(0x7ffffff0);
        QTest::newRow("display size class 0, then cut short") << 170 << 138 << int32(0);
    }
    void aBadFileIsRefusedAndChangesNothing()
    {
        QFETCH(int, cutAt);
        QFETCH(int, patchAt);
        QFETCH(QByteArray, patch);
        startWithFreshFile();
        QByteArray bad = fileBytes(settingsFileName());
        if (cutAt >= 0)
            bad = bad.left(cutAt);
        else if (cutAt == -2)
            bad.chop(1);
        if (patchAt >= 0)
            bad.replace(patchAt, patch.size(), patch);
        QVERIFY(writeBytes(settingsFileName(), bad));

        configuredPlayerName[1] = QStringLiteral("kept");
        personality[2] = 4;
        displaySizeClass = 2;
        const QStringList before = settingsGlobals();
        QVERIFY(!loadSettings());
        QCOMPARE(settingsGlobals(), before);
        QCOMPARE(fileBytes(settingsFileName()), bad);
        QCOMPARE(scripted.messages.size(), 1);
        QVERIFY(scripted.messages[0].text.contains(QStringLiteral("TrvGX10Settings.dat")));
        // Returning to the start screen again does not repeat the message.
        QVERIFY(!loadSettings());
        QCOMPARE(scripted.messages.size(), 1);

        // The next option change writes a whole, sound file from the settings in use.
        QVERIFY(saveSettings());
        configuredPlayerName[1] = QStringLiteral("other");
        QVERIFY(loadSettings());
        QCOMPARE(settingsGlobals(), before);
    }

    // A file that ends early: the fields it holds whole are used, the others take the values a
    // new file would hold; the player is told once, and the next option change writes it whole.
    void aFileThatEndsEarlyKeepsTheFieldsItHoldsWhole_data()
    {
        QTest::addColumn<int>("wholeFields");
        QTest::addColumn<int>("moreBytes"); // of the next field
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("one byte") << 0 << 1;
        QTest::newRow("inside the personalities") << 1 << 21;
        QTest::newRow("inside the speed flags") << 6 << 5;
        QTest::newRow("before the first text") << 11 << 0;
        QTest::newRow("inside a text") << 12 << 18;
        QTest::newRow("inside the hotseat names") << 17 << 100;
        QTest::newRow("inside the player names") << 18 << 60;
        QTest::newRow("last byte missing") << 19 << 41;
    }
    void aFileThatEndsEarlyKeepsTheFieldsItHoldsWhole()
    {
        QFETCH(int, wholeFields);
        QFETCH(int, moreBytes);
        startWithFreshFile();
        const QList<ShownField> fields = shownFields();
        QStringList inUse;
        for (const ShownField &f : fields)
            inUse << f.shown();
        storeOtherValues();
        QStringList stored;
        for (const ShownField &f : fields)
            stored << f.shown();
        const QByteArray whole = fileBytes(settingsFileName());
        const QByteArray cut = whole.left((wholeFields ? fieldEnds(whole)[wholeFields - 1] : 0) + moreBytes);
        QVERIFY(cut.size() < whole.size());

        // A new start: the values in use are the start values again.
        resetAllGameState();
        QVERIFY(writeBytes(settingsFileName(), cut));
        resolveUnstableOnLoad = 0;
        QVERIFY(loadSettings());
        for (int i = 0; i < fields.size(); ++i)
            QCOMPARE(fields[i].shown(), fields[i].field <= wholeFields ? stored[i] : inUse[i]);
        QCOMPARE(scripted.messages.size(), 1);
        QVERIFY2(scripted.messages[0].text.startsWith(QStringLiteral("The settings file %1 ends early.")
                                                            .arg(settingsFileName())),
                 qPrintable(scripted.messages[0].text));
        QVERIFY(loadSettings());
        QCOMPARE(scripted.messages.size(), 1);
        QCOMPARE(fileBytes(settingsFileName()), cut);

        // The next option change writes the whole file, which reads back without a word.
        const QStringList kept = settingsGlobals();
        QVERIFY(saveSettings());
        resetAllGameState();
        resolveUnstableOnLoad = 0;
        QVERIFY(loadSettings());
        QCOMPARE(settingsGlobals(), kept);
        QCOMPARE(scripted.messages.size(), 1);
    }

    void anUnwritableFolderIsReportedAndLeavesTheSettingsInUse()
    {
        QVERIFY(writeBytes(QDir::current().filePath(QStringLiteral("plainfile")), "x"));
        dataDirPath = QDir::current().filePath(QStringLiteral("plainfile/sub"));
        speedFlag224 = 1;
        QVERIFY(!saveSettings());
        // Loading cannot create the file either; the run goes on with the current values.
        QVERIFY(!loadSettings());
        QCOMPARE(speedFlag224, quint8(1));
        QCOMPARE(configuredPlayerName[1], padded("player"));
        QVERIFY(!QFile::exists(settingsFileName()));
    }
};

TARVAN_TEST_MAIN(TestPersist)
#include "test_persist.moc"
