// What the player keeps is never lost or silently changed: the personalities chosen in the menus
// survive every game and every save, a damaged scores file loses no intact game, a file the
// program may not read is told with the system's reason and left as it is (the settings changed
// meanwhile go on top of it once it can be read), every failed write is told, and a loaded game is
// shown while it is drawn.
//
// Root reads every file that has a name: a file the program may not read is read by a child, this
// test program started again with "--child", which as root first becomes nobody.

#include "test_dialogs_support.h"
#include "test_mapclicks_support.h"
#include "test_persist_support.h"
#include "test_setup_support.h"

#include "app/GameSpeed.h"
#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "dialogs/OptionDialogs.h"
#include "persist/DataFolder.h"
#include "persist/Ranks.h"
#include "persist/SavedGame.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "rules/GameStart.h"
#include "rules/TurnState.h"
#include "setup/SetupState.h"
#include "state/MapPicture.h"
#include "state/StatusLine.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>

#include <cstdio>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace clicks_test;
using namespace persistbytes;
using namespace persistchild;
using setup_test::Answer;
using setup_test::ScriptedDialogs;

namespace {

constexpr int kPersonalitiesAt = 80; // the settings file's ten personalities, then Random Mix

// What reads the settings file again once it can be read.
enum ReadAgain { ByAStore, ByTheStartMenu, ByASaveInAGame, ByTheNamesDialog, ByTheNamesDialogInAGame };

// What writes a damaged settings file anew.
enum Occasion { OptionChanged, GameSetUp, GameSaved, GameContinued };

QStringList nineTimes(const QString &choice)
{
    QStringList list;
    for (int i = 0; i < 9; ++i)
        list << choice;
    return list;
}

QString countLabel(int n)
{
    return QStringLiteral("%1 ai players  ").arg(n);
}

// The personalities and Random Mix as the settings file holds them.
QList<int> storedPersonalities()
{
    const QByteArray bytes = fileBytes(settingsFileName());
    QList<int> stored;
    for (int p = 1; p <= kMaxPlayers; ++p)
        stored << int32At(bytes, kPersonalitiesAt + 4 * (p - 1));
    stored << int(bytes.at(kPersonalitiesAt + 40));
    return stored;
}

// The Personalities dialog worked as a player does: a choice for players 2 to 10, Random Mix.
dialog_test::Action choosePersonalities(const QStringList &choices, bool randomMix)
{
    return [choices, randomMix](QDialog &dialog) {
        const QList<QComboBox *> boxes = dialog.findChildren<QComboBox *>();
        QCOMPARE(boxes.size(), choices.size());
        for (int i = 0; i < boxes.size(); ++i)
            boxes[i]->setCurrentText(choices[i]);
        dialog_test::widgetWithText<QCheckBox>(dialog, QStringLiteral("Random Mix"))->setChecked(randomMix);
        dialog_test::press(QStringLiteral("Ok"))(dialog);
    };
}

// What may take a data file's name instead of a file.
enum Stranger { TooLargeFile, Folder, NamedPipe, LinkToPipe, Socket };

const QString kNotAFile = QStringLiteral("it is not a regular file: a folder, a named pipe, a device or a socket has its name");

// Puts `stranger` in the place of the file `path` (a socket lives as long as `server` listens).
bool putInPlaceOf(const QString &path, int stranger, QLocalServer &server)
{
    QDir(path).removeRecursively();
    QFile::remove(path);
    QFile::remove(path + QStringLiteral(".pipe"));
    switch (stranger) {
    case Folder: return QDir().mkdir(path);
    case NamedPipe: return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
    case LinkToPipe:
        return ::mkfifo(QFile::encodeName(path + QStringLiteral(".pipe")).constData(), 0644) == 0
            && QFile::link(path + QStringLiteral(".pipe"), path);
    case Socket: return server.listen(path);
    }
    return false;
}

// A data file the program may not read.
enum DataFile { SettingsFile, ScoresFile, SavedGameFile };
enum Unreadable { LinkLoop, NoRights, WriteOnly };

const char *const kDataFileNames[] = {"settings", "scores", "savedgame"};
constexpr uid_t kNobody = 65534;

QString savedGamePath()
{
    return QDir(dataDirPath).filePath(QStringLiteral("Sunday.TrvGX"));
}

QString pathOf(int file)
{
    switch (file) {
    case SettingsFile: return settingsFileName();
    case ScoresFile: return scoresFileName();
    default: return savedGamePath();
    }
}

// Who reads in the child: nobody when the test runs as root, whom nothing is refused; else the
// test's own user, from whom chmod takes the right to read.
uid_t readerId()
{
    return ::geteuid() == 0 ? kNobody : ::geteuid();
}

// `path` becomes the reader's, with `mode`.
bool giveToReader(const QString &path, mode_t mode)
{
    const QByteArray name = QFile::encodeName(path);
    return (::geteuid() != 0 || ::chown(name.constData(), kNobody, kNobody) == 0) && ::chmod(name.constData(), mode) == 0;
}

// As root, the child drops every right before it reads anything.
bool becomeReader()
{
    if (::geteuid() != 0)
        return true;
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 && ::geteuid() == kNobody;
}

// What the player is told of the file the program may not read, for `why`.
QStringList toldOfUnreadable(int file, const QString &path, const QString &why)
{
    switch (file) {
    case SettingsFile:
        return {QStringLiteral("The settings file %1 could not be read:\n%2.\nThe current settings stay in use; "
                               "they are not stored while it cannot be read.")
                    .arg(path, why)};
    case ScoresFile:
        return {QStringLiteral("The scores file %1 could not be read: %2.\n\nThe ranks and \"Your Scores\" count no "
                               "games, and the results of new games cannot be added to it, while it cannot be read; "
                               "nothing in it is changed.")
                    .arg(path, why),
                QStringLiteral("The result of this game could not be added to the scores file %1:\n%2.").arg(path, why)};
    default:
        return {QStringLiteral("The saved game %1 cannot be loaded:\n%2.").arg(QFileInfo(path).fileName(), why)};
    }
}

// The child: the program started in the working folder as the reader, its message boxes answered
// as a player does; then the file's own path: an option changed and the start screen again for
// the settings, a game recorded for the scores, Load Game for a saved game. Prints what the player
// was told, who read, and the game speed the settings in use hold.
int readAsTheReader(int argc, char **argv)
{
    if (!becomeReader()) {
        std::perror("cannot become nobody");
        return 2;
    }
    QApplication app(argc, argv);
    const QByteArray file(argv[2]);
    resetAllGameState(3);
    ClickUi ui;
    setInteraction(&ui);
    screen_test::useScreen(1366, 768, 340);
    MessageBoxAnswerer boxes;
    ViewArea window;
    // What the start found is told once the event loop runs.
    QCoreApplication::processEvents();
    showDealtGame(window, ui);
    if (file == kDataFileNames[SettingsFile]) {
        window.setGameSpeed224();
        returnWindowToStartState(window);
    } else if (file == kDataFileNames[ScoresFile]) {
        recordScore(0, 3, 'n', 33, 1, QStringLiteral("Ann"));
    } else {
        ui.fileNames = QStringList{savedGamePath()};
        ui.questionAnswers = {true};
        window.loadSavedGame();
    }
    printTold(boxes.texts + ui.messageTexts());
    std::printf("reader %u\nspeed224 %d\n", unsigned(::geteuid()), int(speedFlag224));
    return 0;
}

// The speeds as the settings file holds them: the fast flag, then the flags of 288, 224, 160, 96 ms.
const QByteArray kSpeed96 = QByteArray::fromHex("0100000001");
const QByteArray kSpeed224 = QByteArray::fromHex("0100010000");

// A settings file a player has made his own: every value other than a new file's, these among them.
struct PlayersSettings {
    QByteArray speed = kSpeed96;
    qint32 personality3 = 3;
    bool displayOption = true;
    QString highScoreName = QStringLiteral("Ann");
    QString lastSave = QStringLiteral("/games/Sunday.TrvGX");
    QString name3 = QStringLiteral("name 3");
};

// The file of such settings, built by hand.
QByteArray settingsFileOf(const PlayersSettings &held)
{
    QByteArray b;
    for (int i = 1; i <= 20; ++i)
        b += int32(i);
    for (int p = 1; p <= kMaxPlayers; ++p)
        b += int32(p == 3 ? held.personality3 : 3);
    b += boolean(true) + held.speed.left(1) + int32(1) + int32(1000);
    b += QByteArray::fromHex("00010000") + held.speed.mid(1) + int32(1);
    for (bool flag : {true, false, true, false, true, false, true, false, true, false})
        b += boolean(flag);
    b += boolean(held.displayOption) + int32(33) + int32(7) + boolean(false) + utf16(held.highScoreName);
    for (const char *text : {"lan.example", "net.example", "81.20.3.4", "Friday"})
        b += utf16(QLatin1String(text));
    for (int p = 1; p <= kMaxPlayers; ++p)
        b += utf16(QStringLiteral("hot %1").arg(p));
    for (int p = 1; p <= kMaxPlayers; ++p)
        b += utf16(p == 3 ? held.name3 : QStringLiteral("name %1").arg(p));
    return b + utf16(held.lastSave);
}

// What the settings in use hold of the values a settings file keeps.
QStringList settingsInUse()
{
    QStringList values;
    for (int p = 1; p <= kMaxPlayers; ++p)
        values << QString::number(personality[p]) << configuredPlayerName[p] << settingsRecord.hotseatNames[p];
    for (qint32 value : {int(randomMixPersonalities), int(fastSpeed), int(speedFlag288), int(speedFlag224),
                         int(speedFlag160), int(speedFlag96), displaySizeClass, int(displayOptionA),
                         routeLimits[4], savesUsed, int(animationsEnabled)})
        values << QString::number(value);
    for (int i = 1; i <= 9; ++i)
        values << QString::number(soundEnabled[i]);
    return values << settingsRecord.highScoreName << lastLanHost << lastInternetHost << hostExternalIp << hostGameName
                  << lastSaveFileName;
}

// A data folder nothing can be written into: it lies under a plain file.
QString blockedFolder()
{
    writeBytes(QDir::current().filePath(QStringLiteral("blocked")), "x");
    return QDir::current().filePath(QStringLiteral("blocked/data"));
}

} // namespace

class TestPersistKept : public QObject {
    Q_OBJECT

    ClickUi ui;
    dialog_test::DialogScript script;
    ScriptedDialogs dialogs;
    std::unique_ptr<ViewArea> window;

    // The program started over the files as they are, its own message boxes answered as a
    // player does; what they said. Then, as after the first click, the start menu without the demo.
    QStringList restartProgram()
    {
        window.reset();
        MessageBoxAnswerer boxes;
        window = std::make_unique<ViewArea>();
        ui.window = window.get();
        setInteraction(&ui);
        window->resize(1366, 768);
        demoRunning = 0;
        // What the start found is told once the event loop runs.
        QCoreApplication::processEvents();
        returnWindowToStartState(*window);
        screenMode = 1;
        return boxes.texts;
    }

    // The program as it starts: its window, the demo stopped by the first click.
    void startProgram()
    {
        resetAllGameState(3);
        QFile::remove(settingsFileName());
        QFile::remove(scoresFileName());
        ui = ClickUi();
        setInteraction(&ui);
        screen_test::useScreen(1366, 768, 340);
        restartProgram();
        // Animations off, as the animations dialog stores it: the clicks need not wait for sprites.
        animationsEnabled = 0;
        saveSettings();
        script = dialog_test::DialogScript();
        script.install();
        dialogs = ScriptedDialogs();
    }

    // The names dialog as the player sees it, `typed` typed over the third name (none: nothing
    // typed), then Ok: the names it showed.
    QStringList namesDialogOk(const QString &typed)
    {
        window->showAiNamesDialog();
        QStringList shown;
        for (int p = 1; p <= kMaxPlayers; ++p)
            shown << window->aiNameEdit[p]->text();
        if (!typed.isEmpty()) {
            window->aiNameEdit[3]->selectAll();
            window->aiNameEdit[3]->insert(typed);
        }
        window->aiNamesOkButton->click();
        return shown;
    }

    void runSetup(int entry, const QList<Answer> &answers)
    {
        dialogs.install();
        dialogs.answers = answers;
        menuAction = entry;
        window->setupNewGame();
        QVERIFY2(dialogs.problems.isEmpty(), qPrintable(dialogs.problems.join(QStringLiteral("; "))));
        screenMode = 9;
        mapPaintState = QStringLiteral("0");
        screen_test::paintWindow(*window);
    }

private slots:
    void init() { startProgram(); }

    void cleanup()
    {
        dialog_test::DialogScript::uninstall();
        window.reset();
        setInteraction(nullptr);
        setScreenMeasure(nullptr);
        // A folder in a data file's place would stop the next start.
        QDir(scoresFileName()).removeRecursively();
        QDir(settingsFileName()).removeRecursively();
    }

    // ---- The personalities of the menus ----

    void theMenusPersonalitiesSurviveEveryGameAndSave_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QStringList>("choices"); // players 2 to 10
        QTest::addColumn<bool>("randomMix");
        QTest::addColumn<int>("saves");
        const QStringList conquerors = nineTimes(QStringLiteral("Conqueror"));
        QStringList mixed = conquerors;
        mixed[1] = mixed[5] = QStringLiteral("Unstable");
        mixed[3] = QStringLiteral("Hunter");
        QTest::newRow("single map, Conquerors") << 21 << conquerors << false << 2;
        QTest::newRow("single map, Unstable among them") << 21 << mixed << false << 2;
        QTest::newRow("single map, Random Mix") << 21 << mixed << true << 2;
        QTest::newRow("rank game, Conquerors") << 24 << conquerors << false << 2;
        QTest::newRow("rank game, Unstable among them") << 24 << mixed << false << 2;
    }

    // Chosen in the Personalities dialog, a real game set up, placed and saved (a rank game
    // through its save counter), the game left: the file holds the choice all along, and the
    // menus show it again.
    void theMenusPersonalitiesSurviveEveryGameAndSave()
    {
        QFETCH(int, entry);
        QFETCH(QStringList, choices);
        QFETCH(bool, randomMix);
        QFETCH(int, saves);
        script.actions = {choosePersonalities(choices, randomMix)};
        window->showPersonalities();
        const QList<int> chosen = storedPersonalities();
        QCOMPARE(chosen.last(), int(randomMix));

        const QList<Answer> singleMap = {setup_test::click(QStringLiteral("World")),
                                         setup_test::options(true, false, false),
                                         setup_test::click(QStringLiteral("Conquer All")),
                                         setup_test::click(countLabel(9))};
        runSetup(entry, entry == 24 ? QList<Answer>{} : singleMap);
        QCOMPARE(int(rankGame), int(entry == 24));
        QVERIFY(placeUpToFirstTurn(*window));
        QCOMPARE(placementRound, 0);

        for (int save = 1; save <= saves; ++save) {
            if (rankGame)
                dialogs.answers = {setup_test::click(QStringLiteral("Save Game"))};
            ui.fileNames = QStringList{QDir::current().filePath(QStringLiteral("kept.TrvGX"))};
            window->saveGameDialog();
            QVERIFY(gameSaved);
            QCOMPARE(storedPersonalities(), chosen);
        }
        QCOMPARE(savesUsed, rankGame ? saves : 0);

        ui.questionAnswers = {true, true};
        leaveGame(*window);
        QCOMPARE(screenMode, 1);
        QCOMPARE(storedPersonalities(), chosen);
        // With Random Mix the dialog keeps the mix, not the list: the list stays as it was.
        for (int p = 2; p <= kMaxPlayers; ++p)
            QCOMPARE(personalityLabels().value(shownPersonality(p)),
                     randomMix ? QStringLiteral("Normal") : choices[p - 2]);
        QCOMPARE(int(randomMixPersonalities), int(randomMix));
    }

    // A set-up given up halfway changes nothing of the file, and what the Personalities dialog
    // chooses afterwards is stored.
    void aSetUpGivenUpLeavesTheChoiceToTheDialog()
    {
        runSetup(21, {setup_test::click(QStringLiteral("World")), setup_test::click(QStringLiteral("Cancel"))});
        const QList<int> before = storedPersonalities();
        window->setGameSpeed288();
        QCOMPARE(storedPersonalities(), before);
        script.actions = {choosePersonalities(nineTimes(QStringLiteral("Defensive")), false)};
        window->showPersonalities();
        QCOMPARE(storedPersonalities(), (QList<int>{0, 2, 2, 2, 2, 2, 2, 2, 2, 2, 0}));
    }

    // ---- The scores file ----

    // Four games recorded, the second one's map name given a length no record has: the others
    // still count, the player is told once, and the next game goes after every intact one.
    void aScoresFileDamagedInItsMiddleKeepsEveryIntactGame()
    {
        playerCount = 5;
        humanPlayerCount = 1;
        difficulty = 1;
        strongholdsEnabled = 1;
        playerName[1] = QStringLiteral("Ann");
        for (int losses : {11, 22, 33, 44})
            recordScore(0, 5, 'n', losses, 1, QStringLiteral("Ann"));
        const QByteArray whole = fileBytes(scoresFileName());
        QCOMPARE(whole.size(), 4 * 161);
        QByteArray damaged = whole;
        damaged.replace(161, 4, int32(100));
        QVERIFY(writeBytes(scoresFileName(), damaged));

        QList<int> seen;
        scanScoresFile([&seen](const ScoresRecord &r) { seen << r.losses; });
        QCOMPARE(seen, (QList<int>{11, 33, 44}));
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY2(ui.messages[0].text.contains(scoresFileName()), qPrintable(ui.messages[0].text));
        QVERIFY(ui.messages[0].text.contains(QStringLiteral("count the 3 games")));
        // Every reader counts the same games; none tells again.
        readScoresFile();
        QCOMPARE(computeMultiplayerRank(), 0);

        recordScore(0, 5, 'n', 55, 1, QStringLiteral("Ann"));
        const QByteArray after = fileBytes(scoresFileName());
        QCOMPARE(after.left(damaged.size()), damaged);
        QCOMPARE(after.size(), damaged.size() + 161);
        seen.clear();
        scanScoresFile([&seen](const ScoresRecord &r) { seen << r.losses; });
        QCOMPARE(seen, (QList<int>{11, 33, 44, 55}));
        QCOMPARE(ui.messages.size(), 1);
    }

    // A scores file the game cannot read whole is told at the start, once, with the file and the
    // reason; the ranks count no game, and nothing in its place changes, not even when the next
    // game cannot be added to it. Whatever has its name, the start never waits on it.
    void aScoresFileThatCannotBeReadIsToldAtStart_data()
    {
        QTest::addColumn<int>("stranger");
        QTest::addColumn<QString>("why");
        QTest::newRow("over the size a scores file can grow to")
            << int(TooLargeFile) << QStringLiteral("the file is larger than a scores file can grow");
        QTest::newRow("a folder in its place") << int(Folder) << kNotAFile;
        QTest::newRow("a named pipe in its place") << int(NamedPipe) << kNotAFile;
        QTest::newRow("a link to a named pipe") << int(LinkToPipe) << kNotAFile;
        QTest::newRow("a socket in its place") << int(Socket) << kNotAFile;
    }
    void aScoresFileThatCannotBeReadIsToldAtStart()
    {
        QFETCH(int, stranger);
        QFETCH(QString, why);
        const QString path = scoresFileName();
        QLocalServer server;
        if (stranger == TooLargeFile) {
            for (int losses : {11, 22})
                recordScore(0, 3, 'n', losses, 1, QStringLiteral("Ann"));
            QFile file(path);
            QVERIFY(file.resize(64 * 1024 * 1024 + 1));
        } else {
            QVERIFY(putInPlaceOf(path, stranger, server));
        }
        const QByteArray before = whatIsAt(path);

        const QStringList told = restartProgram();
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].startsWith(QStringLiteral("The scores file %1 could not be read: %2.").arg(path, why)),
                 qPrintable(told[0]));

        // The return to the start screen and the ranks read it again, without a word.
        QCOMPARE(computeMultiplayerRank(), 0);
        QCOMPARE(ui.messages.size(), 0);
        QCOMPARE(whatIsAt(path), before);

        recordScore(0, 3, 'n', 33, 1, QStringLiteral("Ann"));
        QCOMPARE(ui.messageTexts(),
                 QStringList{QStringLiteral("The result of this game could not be added to the scores file %1:\n%2.")
                                 .arg(path, why)});
        QCOMPARE(whatIsAt(path), before);
    }

    void aSettingsOrSavedGameNameThatIsNoFileIsTold_data()
    {
        QTest::addColumn<bool>("settings"); // else a saved game's name
        QTest::addColumn<int>("stranger");
        for (bool settings : {true, false}) {
            const char *file = settings ? "settings" : "saved game";
            QTest::addRow("%s: a folder", file) << settings << int(Folder);
            QTest::addRow("%s: a named pipe", file) << settings << int(NamedPipe);
            QTest::addRow("%s: a link to a named pipe", file) << settings << int(LinkToPipe);
            QTest::addRow("%s: a socket", file) << settings << int(Socket);
        }
    }
    // The settings: told once at the start, and the settings in use stay in use, stored nowhere. A
    // saved game's name: Save Game and Load Game each say that it is no file. Nothing waits on it,
    // and nothing replaces it.
    void aSettingsOrSavedGameNameThatIsNoFileIsTold()
    {
        QFETCH(bool, settings);
        QFETCH(int, stranger);
        const QString path = settings ? settingsFileName() : QDir::current().filePath(QStringLiteral("Sunday.TrvGX"));
        QLocalServer server;
        QVERIFY(putInPlaceOf(path, stranger, server));
        const QByteArray before = whatIsAt(path);
        if (settings) {
            QCOMPARE(restartProgram(),
                     QStringList{QStringLiteral("The settings file %1 is not a regular file: a folder, a named pipe, a "
                                                "device or a socket has its name.\nThe current settings stay in use; "
                                                "they are not stored while it is there.")
                                     .arg(path)});
            window->setGameSpeed224();
            window->setGameSpeed288();
            returnWindowToStartState(*window);
            QCOMPARE(ui.messageTexts(), QStringList());
            QCOMPARE(speedFlag288, quint8(1));
        } else {
            showDealtGame(*window, ui);
            ui.fileNames = QStringList{path, path};
            ui.questionAnswers = {true};
            window->saveGameDialog();
            window->loadSavedGame();
            QCOMPARE(ui.messageTexts(),
                     (QStringList{QStringLiteral("The game could not be saved to %1:\nNot a regular file.").arg(path),
                                  QStringLiteral("The saved game Sunday.TrvGX cannot be loaded:\nNot a regular file.")}));
            QCOMPARE(int(gameSaved), 0);
        }
        QCOMPARE(whatIsAt(path), before);
    }

    // ---- A file the program may not read ----

    void aFileTheProgramMayNotReadIsToldWithTheSystemsReason_data()
    {
        QTest::addColumn<int>("file");
        QTest::addColumn<int>("way");
        QTest::addColumn<QString>("why");
        const QString loop = QStringLiteral("Too many levels of symbolic links");
        const QString denied = QStringLiteral("Permission denied");
        for (int file : {SettingsFile, ScoresFile, SavedGameFile}) {
            QTest::addRow("%s: a link to itself", kDataFileNames[file]) << file << int(LinkLoop) << loop;
            QTest::addRow("%s: mode 000", kDataFileNames[file]) << file << int(NoRights) << denied;
            QTest::addRow("%s: mode 200, writable only", kDataFileNames[file]) << file << int(WriteOnly) << denied;
        }
    }
    // The file as the game wrote it, then taken out of the program's reach: the start tells of the
    // settings or the scores once, Load Game of the saved game, each with the system's reason and
    // never as damaged. The settings in use stay in use, and nothing replaces the file, not even
    // where the program could write it.
    void aFileTheProgramMayNotReadIsToldWithTheSystemsReason()
    {
        QFETCH(int, file);
        QFETCH(int, way);
        QFETCH(QString, why);
        const QString path = pathOf(file);
        if (file == ScoresFile) {
            recordScore(0, 3, 'n', 11, 1, QStringLiteral("Ann"));
        } else if (file == SavedGameFile) {
            // An earlier row's file is not the player's to replace.
            QFile::remove(path);
            showDealtGame(*window, ui);
            ui.fileNames = QStringList{path};
            window->saveGameDialog();
            QVERIFY(gameSaved);
        }
        QVERIFY(QFileInfo(path).size() > 0);
        if (way == LinkLoop)
            QVERIFY(QFile::remove(path) && QFile::link(path, path));
        else
            QVERIFY(giveToReader(path, way == NoRights ? 0000 : 0200));
        const QByteArray before = whatIsAt(path);

        const ChildRun run = runChildIn(dataDirPath, {QLatin1String(kDataFileNames[file])});
        QVERIFY2(run.ended && run.exitCode == 0, qPrintable(run.errors));
        QVERIFY2(run.lines.contains("reader " + QByteArray::number(readerId())), qPrintable(run.errors));
        QCOMPARE(run.told, toldOfUnreadable(file, path, why));
        if (file == SettingsFile)
            QVERIFY(run.lines.contains("speed224 1"));
        QCOMPARE(whatIsAt(path), before);
    }

    void theOptionsChangedWhileTheSettingsCouldNotBeReadGoOnTopOfThem_data()
    {
        QTest::addColumn<bool>("linkToItself"); // else a folder in the file's place
        QTest::addColumn<int>("readAgain");
        QTest::addColumn<bool>("nameTyped"); // in the names dialog, after the options
        for (bool link : {true, false}) {
            const char *what = link ? "a link to itself" : "a folder in its place";
            QTest::addRow("%s, then an option stored", what) << link << int(ByAStore) << false;
            QTest::addRow("%s, then the start menu", what) << link << int(ByTheStartMenu) << false;
            QTest::addRow("%s, then a game saved", what) << link << int(ByASaveInAGame) << false;
        }
        QTest::newRow("a link to itself, a name typed, then the names dialog's Ok")
            << true << int(ByTheNamesDialog) << true;
        QTest::newRow("a link to itself, a name typed, then an option stored") << true << int(ByAStore) << true;
        QTest::newRow("a folder in its place, a name typed, then the start menu")
            << false << int(ByTheStartMenu) << true;
        QTest::newRow("a link to itself, a name typed, then the names dialog in a game")
            << true << int(ByTheNamesDialogInAGame) << true;
    }
    // The player's settings file cannot be read at the start: he is told once, and nothing is
    // written while it stays so, though he chooses a speed and a personality, goes back to the
    // start menu, which keeps them, and changes one name among the names a new file gives. Once it
    // can be read again, the first store or load (the names dialog's Ok among them) puts his
    // choices on top of what the file holds, stores that and takes it into use; a game under way
    // keeps its own values until it ends. Nothing else of the file changes.
    void theOptionsChangedWhileTheSettingsCouldNotBeReadGoOnTopOfThem()
    {
        QFETCH(bool, linkToItself);
        QFETCH(int, readAgain);
        QFETCH(bool, nameTyped);
        const QString path = settingsFileName();
        const QString aside = path + QStringLiteral(".aside");
        const PlayersSettings held;
        QVERIFY(writeBytes(aside, settingsFileOf(held)));
        QVERIFY(QFile::remove(path));
        QVERIFY(linkToItself ? QFile::link(path, path) : QDir().mkdir(path));
        const QByteArray before = whatIsAt(path);

        QCOMPARE(restartProgram().size(), 1);
        window->setGameSpeed288();
        window->setGameSpeed224();
        QStringList choices = nineTimes(QStringLiteral("Normal"));
        choices[1] = QStringLiteral("Hunter");
        script.actions = {choosePersonalities(choices, false)};
        window->showPersonalities();
        returnWindowToStartState(*window);
        QCOMPARE(shownPersonality(3), 5);
        QCOMPARE(gameSpeedInterval(), 224);
        PlayersSettings stored = held;
        stored.speed = kSpeed224;
        stored.personality3 = 5;
        QStringList names; // a new file's
        for (int p = 1; p <= kMaxPlayers; ++p)
            names << defaultPlayerName(p).trimmed();
        if (nameTyped) {
            QCOMPARE(namesDialogOk(QStringLiteral("Changed3")), names);
            stored.name3 = names[2] = QStringLiteral("Changed3");
        }
        if (readAgain == ByASaveInAGame || readAgain == ByTheNamesDialogInAGame) {
            runSetup(21, {setup_test::click(QStringLiteral("World")), setup_test::options(true, false, false),
                          setup_test::click(QStringLiteral("Conquer All")), setup_test::click(countLabel(2))});
            QVERIFY(placeUpToFirstTurn(*window));
            // The set-up stores the player's network name: his name in use, a new file's.
            stored.highScoreName = QStringLiteral("player").leftJustified(18);
        }
        QCOMPARE(whatIsAt(path), before);

        QVERIFY(linkToItself ? QFile::remove(path) : QDir(path).removeRecursively());
        QVERIFY(QFile::rename(aside, path));
        switch (readAgain) {
        case ByAStore:
            window->setOptionOff();
            stored.displayOption = false;
            break;
        case ByTheStartMenu: returnWindowToStartState(*window); break;
        case ByTheNamesDialog: {
            // The dialog reads the file first: it shows the file's names, the one typed on top.
            QStringList fileNames;
            for (int p = 1; p <= kMaxPlayers; ++p)
                fileNames << QStringLiteral("name %1").arg(p);
            fileNames[2] = stored.name3;
            QCOMPARE(namesDialogOk(QString()), fileNames);
            break;
        }
        case ByASaveInAGame: {
            QStringList inGame = settingsInUse();
            stored.lastSave = inGame.last() = QDir::current().filePath(QStringLiteral("Monday.TrvGX"));
            ui.fileNames = QStringList{stored.lastSave};
            window->saveGameDialog();
            QCOMPARE(fileBytes(path), settingsFileOf(stored));
            // The game's own values stay in use, the last save file aside; the next store after it
            // brings the file's.
            QCOMPARE(settingsInUse(), inGame);
            ui.questionAnswers = {true, true};
            leaveGame(*window);
            window->setGameSpeed224();
            break;
        }
        case ByTheNamesDialogInAGame: {
            // The game's names and options stay: the dialog shows the names in use, and its Ok
            // puts the player's changes on top of the file without taking the file's into use.
            const auto inGame = [] {
                QStringList values = settingsInUse();
                for (int p = 1; p <= playerCount; ++p)
                    values << playerName[p];
                return values << QString::number(gameSpeedInterval());
            };
            const QStringList before = inGame();
            QCOMPARE(namesDialogOk(QString()), names);
            QCOMPARE(fileBytes(path), settingsFileOf(stored));
            QCOMPARE(inGame(), before);
            ui.questionAnswers = {true, true};
            leaveGame(*window);
            window->setGameSpeed224();
            break;
        }
        }
        QCOMPARE(fileBytes(path), settingsFileOf(stored));
        QCOMPARE(gameSpeedInterval(), 224);
        const QStringList inUse = settingsInUse();
        QCOMPARE(ui.messageTexts(), QStringList());
        restartProgram();
        QCOMPARE(settingsInUse(), inUse);
    }

    // ---- A damaged settings file ----

    void theDamagedSettingsFileIsWrittenWhenTheMessageSays_data()
    {
        QTest::addColumn<int>("occasion");
        QTest::addColumn<QString>("words"); // of the message, for the occasion
        QTest::newRow("game speed") << int(OptionChanged) << QStringLiteral("an option is changed");
        QTest::newRow("single map game") << int(GameSetUp) << QStringLiteral("a new game is set up");
        QTest::newRow("Save Game") << int(GameSaved) << QStringLiteral("a game is saved to a new file");
        QTest::newRow("Load Game") << int(GameContinued) << QStringLiteral("a saved game is continued");
    }
    // The start tells of the damaged file once and leaves it as it is; the message names the
    // occasions that write it anew, and each of them does.
    void theDamagedSettingsFileIsWrittenWhenTheMessageSays()
    {
        QFETCH(int, occasion);
        QFETCH(QString, words);
        const QString game = QDir::current().filePath(QStringLiteral("kept.TrvGX"));
        if (occasion == GameContinued) {
            showDealtGame(*window, ui);
            ui.fileNames = QStringList{game};
            window->saveGameDialog();
            QVERIFY(gameSaved);
        }
        QByteArray damaged = fileBytes(settingsFileName());
        damaged.replace(kPersonalitiesAt, 4, int32(99));
        QVERIFY(writeBytes(settingsFileName(), damaged));

        const QStringList told = restartProgram();
        QCOMPARE(told.size(), 1);
        QVERIFY2(told[0].startsWith(QStringLiteral("The settings file %1 is damaged").arg(settingsFileName())),
                 qPrintable(told[0]));
        QVERIFY2(told[0].contains(words), qPrintable(told[0]));
        QCOMPARE(fileBytes(settingsFileName()), damaged);

        switch (occasion) {
        case OptionChanged:
            window->setGameSpeed224();
            break;
        case GameSetUp:
            runSetup(21, {setup_test::click(QStringLiteral("World")), setup_test::options(true, false, false),
                          setup_test::click(QStringLiteral("Conquer All")), setup_test::click(countLabel(2))});
            break;
        case GameSaved:
            showDealtGame(*window, ui);
            ui.fileNames = QStringList{game};
            window->saveGameDialog();
            break;
        case GameContinued:
            ui.fileNames = QStringList{game};
            ui.questionAnswers = {true};
            window->loadSavedGame();
            break;
        }
        QVERIFY(fileBytes(settingsFileName()) != damaged);
        QVERIFY(loadSettings());
        QCOMPARE(ui.messageTexts(), QStringList());
    }

    // ---- Failed writes ----

    // Nothing can be written into the data folder: every writer says so, naming its file, once
    // for each failure (the settings once however often they are saved), and the game goes on.
    void everyFailedWriteIsToldOnceNamingTheFile()
    {
        runSetup(24, {});
        QVERIFY(placeUpToFirstTurn(*window));
        dataDirPath = startFolderPath = blockedFolder();
        ui.messages.clear();

        window->setGameSpeed288();
        window->setGameSpeed224();
        window->setOptionOn();
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY2(ui.messages[0].text.startsWith(QStringLiteral("The settings could not be saved to ")
                                                + settingsFileName() + QStringLiteral(":\nNot a directory.")),
                 qPrintable(ui.messages[0].text));
        QCOMPARE(speedFlag224, quint8(1));

        const QString game = QDir(dataDirPath).filePath(QStringLiteral("Sunday.TrvGX"));
        ui.fileNames = QStringList{game};
        dialogs.answers = {setup_test::click(QStringLiteral("Save Game"))};
        window->saveGameDialog();
        QCOMPARE(ui.messages.size(), 2);
        QCOMPARE(ui.messages[1].text, QStringLiteral("The game could not be saved to %1:\nNot a directory.").arg(game));
        QCOMPARE(int(gameSaved), 0);
        QCOMPARE(savesUsed, 0);

        recordScore(0, 3, 'n', 12, 1, playerName[1]);
        QCOMPARE(ui.messages.size(), 3);
        QCOMPARE(ui.messages[2].text, QStringLiteral("The result of this game could not be added to the scores "
                                                     "file %1:\nNot a directory.")
                                          .arg(scoresFileName()));

        dialogs.answers = {setup_test::click(QStringLiteral("Reset"))};
        ui.questionAnswers = {true};
        window->saveGameDialog();
        QCOMPARE(ui.messages.size(), 4);
        QVERIFY(ui.messages[3].text.startsWith(
            QStringLiteral("The scores file %1 could not be emptied:\nNot a directory.").arg(scoresFileName())));
        QCOMPARE(exitReason, 0);
        QCOMPARE(int(rankGame), 1);
        QVERIFY(saveAllowed);
    }

    // ---- Loading ----

    // The loaded game is painted once with the notice, the set-up's name of the local player is
    // the first player's, and the round stands at the current player's turns.
    void aLoadedGameIsShownWithItsNotice()
    {
        runSetup(21, {setup_test::click(QStringLiteral("World")), setup_test::options(true, false, false),
                      setup_test::click(QStringLiteral("Conquer All")), setup_test::click(countLabel(2))});
        QVERIFY(placeUpToFirstTurn(*window));
        QVERIFY(playOneRound(*window));
        const QString path = QDir::current().filePath(QStringLiteral("shown.TrvGX"));
        ui.fileNames = QStringList{path};
        window->saveGameDialog();
        QVERIFY(gameSaved);
        const int turns = turnsTaken[currentPlayer];
        QVERIFY(turns > 0);
        ui.questionAnswers = {true};
        leaveGame(*window);

        QStringList painted;
        struct PaintWatch : QObject {
            QStringList *seen;
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Paint)
                    seen->append(statusText2);
                return false;
            }
        } watch;
        watch.seen = &painted;
        window->show();
        QCoreApplication::processEvents();
        window->installEventFilter(&watch);
        ui.fileNames = QStringList{path};
        ui.questionAnswers = {true};
        window->loadSavedGame();
        window->removeEventFilter(&watch);
        QVERIFY2(painted.contains(QStringLiteral("This might take a few seconds...")), qPrintable(painted.join('|')));
        QCOMPARE(statusText2, QStringLiteral(" "));
        QCOMPARE(networkPlayerName, playerName[1]);
        QCOMPARE(placementRound, turns);
        QCOMPARE(screenMode, 9);
    }
};

int main(int argc, char **argv)
{
    if (isChild(argc, argv) && argc == 3)
        return readAsTheReader(argc, argv);
    QApplication app(argc, argv);
    QTemporaryDir workDir;
    // The reader enters the folder and may write in it.
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path()) || !giveToReader(workDir.path(), 0700))
        return 1;
    TestPersistKept tc;
    return QTest::qExec(&tc, argc, argv);
}
#include "test_persist_kept.moc"
