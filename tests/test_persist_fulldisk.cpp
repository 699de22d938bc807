// A write costs the player no file: a saved game, the settings or the scores written when the disk
// is full keep their old bytes, and the player is told once, with the file and the disk's own
// reason; a file keeps its mode, any name the file system takes saves, and neither a second program
// nor its clean-up at the start costs a write or a record. The disk fills up for real, in two ways:
// a limit on the size of the files this program writes (RLIMIT_FSIZE; needs no rights, always
// runs) and, as root, a small file system of the test's own, mounted in a mount namespace of its
// own so that it goes when the test ends.
//
// The system ends a process that writes past its size limit unless the process ignores the signal
// (SIGXFSZ); the program's first call (prepareProcess) sees to that, and this test program makes
// it as the program does. Where the program could die, or a second program is needed, it runs in a
// child process, this test program started again with "--child": the whole program started under
// the limit, a write broken off by it, a clean-up at the start run over and over, or a program
// adding games to the scores file.

#include "test_mapclicks_support.h"
#include "test_persist_support.h"

#include "app/ProgramStart.h"
#include "persist/DataFolder.h"
#include "persist/SavedGame.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "persist/WholeFile.h"
#include "rules/Sound.h"
#include "rules/TurnState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace clicks_test;
using namespace persistbytes;
using namespace persistchild;

namespace {

enum class Kind { SavedGame, Settings, Scores };
enum class Disk { SizeLimit, SmallFileSystem };

const QString kTooLarge = QStringLiteral("File too large");
const QString kNoSpace = QStringLiteral("No space left on device");
// How long a test program waits for the other's change to the data folder: far beyond any disk.
constexpr int kChildLockWaitMs = 120000;

// Why this run cannot mount a file system of its own; empty when it can.
QString &mountRefusal()
{
    static QString why;
    return why;
}

// Before any thread starts: the mounts made later are this process's alone.
void enterMountNamespaceOfOwn()
{
    if (geteuid() != 0)
        mountRefusal() = QStringLiteral("not run as root: a small file system of its own needs root to be mounted");
    else if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        mountRefusal() = QStringLiteral("no mount namespace of its own: %1").arg(QString::fromLocal8Bit(strerror(errno)));
}

void limitFileSize(rlim_t bytes)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

// While it lives, this process's writes past `bytes` into any file fail with "File too large", as
// the writes on a full disk fail (the window's start has turned off the signal that would end the
// process instead).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &before_);
        limitFileSize(bytes);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &before_); }

private:
    rlimit before_{};
};

// A 256 KiB file system at `folder` for as long as it lives.
class SmallFileSystem {
public:
    explicit SmallFileSystem(const QString &folder) : folder_(QFile::encodeName(folder))
    {
        if (mount("tmpfs", folder_.constData(), "tmpfs", 0, "size=256k") != 0)
            refusal_ = QStringLiteral("mount refused: %1").arg(QString::fromLocal8Bit(strerror(errno)));
    }
    ~SmallFileSystem()
    {
        if (refusal_.isEmpty())
            umount2(folder_.constData(), MNT_DETACH);
    }
    QString refusal() const { return refusal_; }

    // Fills the disk with one file until no byte is left, then frees `free` bytes of it again.
    bool fillLeaving(qint64 free)
    {
        QFile filler(QString::fromLocal8Bit(folder_) + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
        return filler.resize(qMax<qint64>(0, filler.size() - free));
    }
    bool empty() { return QFile::remove(QString::fromLocal8Bit(folder_) + QStringLiteral("/filler")); }

private:
    QByteArray folder_;
    QString refusal_;
};

const char *const kKindNames[] = {"savedgame", "settings", "scores"};

QString nameOf(Kind kind)
{
    return QLatin1String(kKindNames[int(kind)]);
}

Kind kindNamed(const QString &name)
{
    for (Kind kind : {Kind::SavedGame, Kind::Settings, Kind::Scores})
        if (name == nameOf(kind))
            return kind;
    return Kind::SavedGame;
}

QString fileOf(Kind kind, const QString &folder)
{
    switch (kind) {
    case Kind::SavedGame: return QDir(folder).filePath(QStringLiteral("Sunday.TrvGX"));
    case Kind::Settings: return settingsFileName();
    case Kind::Scores: return scoresFileName();
    }
    return QString();
}

// The copies a write leaves in the file's folder when it does not clean up.
QStringList copiesOf(const QString &path)
{
    return QFileInfo(path).dir().entryList({QStringLiteral(".tarvangx-write-*")}, QDir::Files | QDir::Hidden);
}

// What the player was told of the file in the words the game uses for it.
QString toldText(Kind kind, const QString &path, const QString &why)
{
    switch (kind) {
    case Kind::SavedGame: return QStringLiteral("The game could not be saved to %1:\n%2.").arg(path, why);
    case Kind::Settings:
        return QStringLiteral("The settings could not be saved to %1:\n%2.\n\n"
                              "The settings in use stay in use until the program ends.")
            .arg(path, why);
    case Kind::Scores:
        return QStringLiteral("The result of this game could not be added to the scores file %1:\n%2.").arg(path, why);
    }
    return QString();
}

// The game's own call once the disk is full: Save Game a minute later (the first save of the
// game asks for its file), two option changes, the end of a game.
void writeAgain(Kind kind, ViewArea &window, ClickUi &ui, const QString &folder)
{
    switch (kind) {
    case Kind::SavedGame:
        ui.clock = ui.clock.addSecs(60);
        ui.fileNames = QStringList{fileOf(kind, folder)};
        window.saveGameDialog();
        break;
    case Kind::Settings:
        window.setGameSpeed224();
        window.setGameSpeed384();
        break;
    case Kind::Scores:
        recordScore(0, playerCount, 'n', 11, 1, playerName[1]);
        break;
    }
}

// ---- The children ----

// The signal's default action, as a shell starts a program: a write past the limit ends the
// process unless the process itself has turned that off.
void startAsAShellDoes(rlim_t limit)
{
    std::signal(SIGXFSZ, SIG_DFL);
    limitFileSize(limit);
}

// The program started in the working folder under the size limit, as main starts it, its own
// message boxes answered as a player does; its first sound through its own sound output (where
// the demo's sounds go); then a game on the table and one write of `kind`. Prints what the player
// was told and, should the program live through it, "running".
int runProgramUnderLimit(Kind kind, rlim_t limit, int argc, char **argv)
{
    startAsAShellDoes(limit);
    prepareProcess();
    QApplication app(argc, argv);
    MessageBoxAnswerer boxes;
    ViewArea window;
    window.show();
    interaction().playSoundFile(soundFileFor(SoundNextPlayer, 0, 0));
    QCoreApplication::processEvents();

    ClickUi ui;
    showDealtGame(window, ui);
    writeAgain(kind, window, ui, QDir::currentPath());
    printTold(boxes.texts + ui.messageTexts());
    window.gameTick();
    screen_test::paintWindow(window);
    std::printf("running\n");
    return 0;
}

// One write of `kind` by the game's writer, broken off by the size limit: the process ends in the
// middle of it, as a program killed there would.
int breakOffAWrite(Kind kind, rlim_t limit, int argc, char **argv)
{
    QApplication app(argc, argv);
    resetAllGameState();
    startAsAShellDoes(limit);
    switch (kind) {
    case Kind::SavedGame:
        dealWorldGame(3);
        writeSavedGame(fileOf(kind, QDir::currentPath()));
        break;
    case Kind::Settings: saveSettings(); break;
    case Kind::Scores: recordScore(0, 3, 'n', 7, 1, QStringLiteral("Ann")); break;
    }
    return 0;
}

// The start's clean-up of a second program, over and over in the working folder until a file
// "stop" appears there. Prints "cleaning" after its first pass, then how many passes it made.
int cleanUpOverAndOver()
{
    const QString folder = QDir::currentPath();
    int passes = 0;
    while (!QFileInfo::exists(QStringLiteral("stop"))) {
        removeLeftoverCopies(folder);
        if (++passes == 1) {
            std::printf("cleaning\n");
            std::fflush(stdout);
        }
    }
    std::printf("passes %d\n", passes);
    return 0;
}

// A program that adds a game to the scores file, as the end of a game does, each time the test
// sends it a line, their losses counting up from `firstLosses`. Says "ready" once it is made, and
// "added" after each game; once its input ends, what the player was told. It waits for the other
// program's change as long as that takes: how long an fsync lasts is the disk's affair, and the
// game's own bound is tested on its own.
int addGames(int firstLosses, int argc, char **argv)
{
    QApplication app(argc, argv);
    resetAllGameState();
    updateLockWaitMs = kChildLockWaitMs;
    ScriptedInteraction ui;
    setInteraction(&ui);
    std::printf("ready\n");
    std::fflush(stdout);
    char line[16];
    for (int losses = firstLosses; std::fgets(line, sizeof line, stdin); ++losses) {
        recordScore(0, 3, 'n', losses, 1, QStringLiteral("Ann"));
        std::printf("added\n");
        std::fflush(stdout);
    }
    printTold(ui.messageTexts());
    return 0;
}

// A program that holds the data folder while it changes a file, until the test closes its input.
int holdTheFolder()
{
    const int folder = ::open(".", O_RDONLY | O_DIRECTORY);
    if (folder < 0 || ::flock(folder, LOCK_EX) != 0)
        return 1;
    std::printf("holding\n");
    std::fflush(stdout);
    char c;
    while (::read(0, &c, 1) > 0) {
    }
    return 0;
}

// The roles: "program", "write", "cleanup", "scores", "hold"; `number` is the size limit, or the
// first losses of the games added.
int runChild(int argc, char **argv)
{
    const QString role = QString::fromLatin1(argv[2]);
    const Kind kind = kindNamed(QString::fromLatin1(argv[3]));
    const qint64 number = QByteArray(argv[4]).toLongLong();
    if (role == QLatin1String("program"))
        return runProgramUnderLimit(kind, rlim_t(number), argc, argv);
    if (role == QLatin1String("cleanup"))
        return cleanUpOverAndOver();
    if (role == QLatin1String("scores"))
        return addGames(int(number), argc, argv);
    if (role == QLatin1String("hold"))
        return holdTheFolder();
    return breakOffAWrite(kind, rlim_t(number), argc, argv);
}

// Starts this program again as a child (`role` of runChild) in `folder`.
void startChild(QProcess &child, const QString &folder, const QString &role, Kind kind, qint64 number,
                const QString &errorFile = QString())
{
    persistchild::startChild(child, folder, {role, nameOf(kind), QString::number(number)}, errorFile);
}

ChildRun runChildIn(const QString &folder, const QString &role, Kind kind, qint64 number,
                    const QString &errorFile = QString())
{
    return persistchild::runChildIn(folder, {role, nameOf(kind), QString::number(number)}, errorFile);
}

mode_t modeOf(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : mode_t(-1);
}

// Every file of the folder and its bytes.
QMap<QString, QByteArray> filesIn(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (const QString &name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        files[name] = fileBytes(QDir(folder).filePath(name));
    return files;
}

} // namespace

Q_DECLARE_METATYPE(Kind)
Q_DECLARE_METATYPE(Disk)

class TestPersistFullDisk : public QObject, ClickFixture {
    Q_OBJECT

    QString home;
    QString folder;

    // The file as the game writes it while there is room: `records` games in the scores file.
    void writeOldFile(Kind kind, int records)
    {
        switch (kind) {
        case Kind::SavedGame:
            ui.fileNames = QStringList{fileOf(kind, folder)};
            window->saveGameDialog();
            break;
        case Kind::Settings:
            window->setGameSpeed288();
            break;
        case Kind::Scores:
            recordScore(0, playerCount, 'n', 7, 1, playerName[1]);
            // More records than the write buffer holds, copied rather than each game played.
            QVERIFY(writeBytes(scoresFileName(), fileBytes(scoresFileName()).repeated(records)));
            break;
        }
        QVERIFY(QFile::exists(fileOf(kind, folder)));
        QCOMPARE(ui.messageTexts(), QStringList());
    }

    void writeAgain(Kind kind) { ::writeAgain(kind, *window, ui, folder); }

private slots:
    void initTestCase() { home = QDir::currentPath(); }

    // The saved game's dialogs make the data folder the working folder; each case starts afresh.
    void init()
    {
        QDir::setCurrent(home);
        start(27);
        folder = QDir(home).filePath(QStringLiteral("disk"));
        QDir(folder).removeRecursively();
        QVERIFY(QDir().mkpath(folder));
        dataDirPath = startFolderPath = folder;
    }
    void cleanup()
    {
        stop();
        QDir::setCurrent(home);
    }

    void aFullDiskLeavesTheOldFileAndSaysWhy_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("records"); // in the scores file
        QTest::addColumn<Disk>("disk");
        QTest::addColumn<qint64>("room"); // bytes the file may grow to, or the disk has free
        QTest::addColumn<QString>("why");
        QTest::newRow("saved game, size limit") << Kind::SavedGame << 0 << Disk::SizeLimit << qint64(4096) << kTooLarge;
        QTest::newRow("settings, size limit") << Kind::Settings << 0 << Disk::SizeLimit << qint64(1024) << kTooLarge;
        QTest::newRow("3 games, size limit") << Kind::Scores << 3 << Disk::SizeLimit << qint64(600) << kTooLarge;
        QTest::newRow("120 games, size limit") << Kind::Scores << 120 << Disk::SizeLimit << qint64(19000) << kTooLarge;
        QTest::newRow("saved game, disk full") << Kind::SavedGame << 0 << Disk::SmallFileSystem << qint64(0) << kNoSpace;
        QTest::newRow("saved game, 4 KiB free")
            << Kind::SavedGame << 0 << Disk::SmallFileSystem << qint64(4096) << kNoSpace;
        QTest::newRow("settings, disk full") << Kind::Settings << 0 << Disk::SmallFileSystem << qint64(0) << kNoSpace;
        QTest::newRow("3 games, disk full") << Kind::Scores << 3 << Disk::SmallFileSystem << qint64(0) << kNoSpace;
        QTest::newRow("120 games, 4 KiB free")
            << Kind::Scores << 120 << Disk::SmallFileSystem << qint64(4096) << kNoSpace;
    }
    // The old file keeps every byte, no copy is left beside it, and the player is told once; with
    // room again, the same call writes the new file.
    void aFullDiskLeavesTheOldFileAndSaysWhy()
    {
        QFETCH(Kind, kind);
        QFETCH(int, records);
        QFETCH(Disk, disk);
        QFETCH(qint64, room);
        QFETCH(QString, why);
        std::unique_ptr<SmallFileSystem> small;
        if (disk == Disk::SmallFileSystem) {
            if (!mountRefusal().isEmpty())
                QSKIP(qPrintable(mountRefusal()));
            small = std::make_unique<SmallFileSystem>(folder);
            if (!small->refusal().isEmpty())
                QSKIP(qPrintable(small->refusal()));
        }
        writeOldFile(kind, records);
        const QString path = fileOf(kind, folder);
        const QByteArray old = fileBytes(path);

        if (small) {
            QVERIFY(small->fillLeaving(room));
            writeAgain(kind);
            QVERIFY(small->empty());
        } else {
            FileSizeLimit limit(static_cast<rlim_t>(room));
            writeAgain(kind);
        }
        QCOMPARE(fileBytes(path), old);
        QCOMPARE(copiesOf(path), QStringList());
        QCOMPARE(ui.messageTexts(), QStringList{toldText(kind, QDir::toNativeSeparators(path), why)});

        writeAgain(kind);
        QCOMPARE(ui.messageTexts().size(), 1);
        QVERIFY(fileBytes(path) != old);
        if (kind == Kind::SavedGame) {
            bool ok = false;
            readSavedGame(path, ok);
            QVERIFY(ok);
        }
    }

    void theProgramStartsAndGoesOnUnderASizeLimit_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("records"); // in the scores file
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<bool>("fresh"); // no files of an earlier run; Qt's messages go into a file
        QTest::newRow("Save Game, ulimit -f 4") << Kind::SavedGame << 0 << qint64(4096) << false;
        QTest::newRow("an option changed, 1 KiB") << Kind::Settings << 0 << qint64(1024) << false;
        QTest::newRow("a game recorded, 600 bytes") << Kind::Scores << 3 << qint64(600) << false;
        QTest::newRow("ulimit -f 0, messages into a file") << Kind::SavedGame << 0 << qint64(0) << true;
    }
    // The whole program started under the limit, in a child process that the test lets the signal
    // end: it starts, its sound output lives with the limit, every write past it is told once with
    // the system's reason, every old file keeps its bytes, and the program goes on. Qt writes its
    // first messages while the application is made, before the window: into a file, under the
    // limit, they must not end the program either.
    void theProgramStartsAndGoesOnUnderASizeLimit()
    {
        QFETCH(Kind, kind);
        QFETCH(int, records);
        QFETCH(qint64, limit);
        QFETCH(bool, fresh);
        if (!fresh) {
            writeOldFile(kind, records);
            // The other files of an earlier run are there too: the start reads them and writes nothing.
            QVERIFY(saveSettings());
            readScoresFile();
        }
        QVERIFY(QDir(folder).mkpath(QStringLiteral("sounds")));
        QDir::setCurrent(folder);
        QVERIFY(!writeWavFile(soundFileFor(SoundNextPlayer, 0, 0)).isEmpty());
        QMap<QString, QByteArray> expected = filesIn(folder);

        const QString errorFile = fresh ? QDir(home).filePath(QStringLiteral("messages.txt")) : QString();
        const ChildRun run = runChildIn(folder, QStringLiteral("program"), kind, limit, errorFile);
        QVERIFY2(run.ended && run.exitCode == 0 && run.lines.contains("running"),
                 qPrintable(QStringLiteral("the program %1 %2 before it went on; it wrote:\n%3")
                                .arg(run.ended ? QStringLiteral("ended with code") : QStringLiteral("was ended by signal"))
                                .arg(run.exitCode)
                                .arg(run.errors)));
        QStringList told;
        if (fresh) {
            // A new settings file does not fit; an empty scores file does.
            told << toldText(Kind::Settings, QDir::toNativeSeparators(settingsFileName()), kTooLarge);
            expected[QFileInfo(scoresFileName()).fileName()] = QByteArray();
        }
        told << toldText(kind, QDir::toNativeSeparators(fileOf(kind, folder)), kTooLarge);
        QCOMPARE(run.told, told);
        QCOMPARE(filesIn(folder), expected);
    }

    void aFileKeepsItsMode_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("mode");  // of the file before the write; -1: there is none
        QTest::addColumn<int>("umask"); // while the game writes
        for (Kind kind : {Kind::SavedGame, Kind::Settings, Kind::Scores}) {
            for (int mode : {0600, 0640, 0604, 0660})
                QTest::addRow("%s %o", qPrintable(nameOf(kind)), mode) << kind << mode << 022;
            for (int mask : {022, 027, 077})
                QTest::addRow("%s new, umask %03o", qPrintable(nameOf(kind)), mask) << kind << -1 << mask;
        }
    }
    // A private file stays private and a shared one shared, whichever writer replaces it; a new
    // file gets what every new file of the program gets, 0666 less the umask.
    void aFileKeepsItsMode()
    {
        QFETCH(Kind, kind);
        QFETCH(int, mode);
        QFETCH(int, umask);
        const QString path = fileOf(kind, folder);
        if (mode >= 0) {
            writeOldFile(kind, 1);
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(mode)), 0);
        }
        const QByteArray old = fileBytes(path);
        const mode_t before = ::umask(mode_t(umask));
        writeAgain(kind);
        ::umask(before);
        QCOMPARE(ui.messageTexts(), QStringList());
        QVERIFY(fileBytes(path) != old);
        const int expected = mode >= 0 ? mode : 0666 & ~umask;
        QCOMPARE(QString::number(modeOf(path), 8), QString::number(expected, 8));
        QCOMPARE(copiesOf(path), QStringList());
    }

    void anyNameTheFileSystemTakesSaves_data()
    {
        QTest::addColumn<QString>("name");
        for (int bytes : {234, 248, 255})
            QTest::addRow("%d bytes", bytes) << QString(bytes - 6, QLatin1Char('a')) + QStringLiteral(".TrvGX");
        QTest::newRow("115 two-byte letters") << QString(115, QChar(0xe9)) + QStringLiteral(".TrvGX");
    }
    // Save Game to the longest names a folder takes, then to the same file again a minute later.
    void anyNameTheFileSystemTakesSaves()
    {
        QFETCH(QString, name);
        const QString path = QDir(folder).filePath(name);
        ui.fileNames = QStringList{path};
        window->saveGameDialog();
        const QByteArray first = fileBytes(path);
        ui.clock = ui.clock.addSecs(60);
        window->saveGameDialog();
        QCOMPARE(ui.messageTexts(), QStringList());
        QVERIFY(!first.isEmpty());
        QVERIFY(fileBytes(path) != first);
        bool ok = false;
        readSavedGame(path, ok);
        QVERIFY(ok);
        QCOMPARE(copiesOf(path), QStringList());
    }

    void theStartRemovesOnlyTheProgramsOwnCopies_data()
    {
        QTest::addColumn<QString>("playersFile"); // empty: the row's file is a copy a write left
        QTest::addColumn<Kind>("copyOf");
        QTest::addColumn<bool>("held"); // the file is a copy that another program is writing
        const auto players = [](const char *name) {
            QTest::newRow(name) << QString::fromLatin1(name) << Kind::SavedGame << false;
        };
        for (const char *name : {"World.TrvGX.backup", "Mine.TrvGX.backup", "TrvGX10scores.dat.backup",
                                 "TrvGX10Settings.dat.old123", "Sunday.TrvGX.bak", "Sunday.TrvGX.abcdefg",
                                 "Sunday.TrvGX.abc-ef", "notes.txt.abcdef", "TrvGX10Settings.dat.abcde",
                                 "Sunday.TrvGXabcdef", ".tarvangx-write-abc123\n", ".tarvangx-write-abc12",
                                 ".tarvangx-write-abc1234", ".tarvangx-write-abc-12", "x.tarvangx-write-abc123"})
            players(name);
        // What earlier versions named their copies (Qt's temporary names, the file's own name and a
        // mark): it may be the player's.
        players("Sunday.TrvGX.Ab3dE9");
        players("TrvGX10scores.dat.x1Y2z3");
        players("Sunday.TrvGX.tarvangx-write-Ab3dE9");
        players("World.TrvGX.tarvangx-write-abc123\n");
        QTest::newRow("a copy a second program is writing")
            << QStringLiteral(".tarvangx-write-Held01") << Kind::SavedGame << true;
        QTest::newRow("a saved game's write broken off") << QString() << Kind::SavedGame << false;
        QTest::newRow("a settings write broken off") << QString() << Kind::Settings << false;
        QTest::newRow("a scores write broken off") << QString() << Kind::Scores << false;
    }
    // A program killed in the middle of a write may leave the write's copy beside the file, readable
    // by its owner alone; the next start removes such a copy, and never a copy a program is still
    // writing, nor a file the player made, whatever its name.
    void theStartRemovesOnlyTheProgramsOwnCopies()
    {
        QFETCH(QString, playersFile);
        QFETCH(Kind, copyOf);
        QFETCH(bool, held);
        QVERIFY(writeBytes(QDir(folder).filePath(QStringLiteral("Sunday.TrvGX")), "a saved game"));
        const QMap<QString, QByteArray> before = filesIn(folder);
        QString file = playersFile;
        if (file.isEmpty()) {
            const ChildRun run = runChildIn(folder, QStringLiteral("write"), copyOf, 64);
            QVERIFY2(!run.ended, qPrintable(run.errors));
            const QStringList left = filesIn(folder).keys();
            QStringList added;
            for (const QString &name : left)
                if (!before.contains(name))
                    added << name;
            QCOMPARE(added.size(), 1);
            file = added.first();
            QCOMPARE(QString::number(modeOf(QDir(folder).filePath(file)), 8), QStringLiteral("600"));
        } else {
            QVERIFY(writeBytes(QDir(folder).filePath(file), "the player's own " + file.toUtf8()));
        }
        const QByteArray bytes = fileBytes(QDir(folder).filePath(file));
        QFile writing(QDir(folder).filePath(file));
        if (held)
            QVERIFY(writing.open(QIODevice::ReadWrite) && ::flock(writing.handle(), LOCK_EX | LOCK_NB) == 0);

        window.reset();
        QDir::setCurrent(folder);
        window = std::make_unique<ViewArea>();
        setInteraction(&ui);
        const QMap<QString, QByteArray> after = filesIn(folder);
        QCOMPARE(after.contains(file), !playersFile.isEmpty());
        if (!playersFile.isEmpty())
            QCOMPARE(after.value(file), bytes);
        QCOMPARE(after.value(QStringLiteral("Sunday.TrvGX")), QByteArray("a saved game"));
    }

    // A second program started beside a game that saves, over and over: its clean-up removes what
    // no program writes, and not one of 400 saves fails.
    void aSecondProgramsCleanUpCostsNoSave()
    {
        const QString left = QDir(folder).filePath(QStringLiteral(".tarvangx-write-Left01"));
        QVERIFY(writeBytes(left, "a copy a killed program left"));
        QProcess cleaner;
        startChild(cleaner, folder, QStringLiteral("cleanup"), Kind::SavedGame, 0);
        QVERIFY(childBegan(cleaner));
        QVERIFY(!QFileInfo::exists(left));

        const QString path = fileOf(Kind::SavedGame, folder);
        QStringList failed;
        for (int save = 0; save < 400; ++save) {
            QString why;
            if (!writeSavedGame(path, &why))
                failed << QStringLiteral("save %1: %2").arg(save).arg(why);
        }
        QVERIFY(writeBytes(QDir(folder).filePath(QStringLiteral("stop")), ""));
        const ChildRun run = finishChild(cleaner);
        QVERIFY2(run.ended && run.exitCode == 0, qPrintable(run.errors));
        QCOMPARE(failed, QStringList());
        bool ok = false;
        readSavedGame(path, ok);
        QVERIFY(ok);
        QCOMPARE(copiesOf(path), QStringList());
    }

    // Two programs end games at the same moment, 150 times over: every game either says it added
    // is in the file. Both are told at once, and again only when both have added theirs, so that
    // the two changes meet every time, and each waits on the other's whole change however slow
    // the disk.
    void twoProgramsAddingGamesLoseNone()
    {
        QProcess first, second;
        startChild(first, folder, QStringLiteral("scores"), Kind::Scores, 1000);
        startChild(second, folder, QStringLiteral("scores"), Kind::Scores, 2000);
        QVERIFY(childBegan(first) && childBegan(second));
        for (int game = 0; game < 150; ++game) {
            for (QProcess *program : {&first, &second}) {
                program->write("add\n");
                QVERIFY(program->waitForBytesWritten(60000));
            }
            QCOMPARE(nextLine(first), QByteArray("added"));
            QCOMPARE(nextLine(second), QByteArray("added"));
        }
        first.closeWriteChannel();
        second.closeWriteChannel();
        const ChildRun one = finishChild(first);
        const ChildRun two = finishChild(second);
        QVERIFY2(one.ended && one.exitCode == 0, qPrintable(one.errors));
        QVERIFY2(two.ended && two.exitCode == 0, qPrintable(two.errors));
        QCOMPARE(one.told + two.told, QStringList());

        QList<int> losses;
        scanScoresFile([&losses](const ScoresRecord &r) { losses << r.losses; });
        std::sort(losses.begin(), losses.end());
        QList<int> added;
        for (int from : {1000, 2000})
            for (int l = from; l < from + 150; ++l)
                added << l;
        QCOMPARE(losses, added);
    }

    void aChangeThatWaitsTooLongIsToldAndWritesNothing_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::newRow("an option changed") << Kind::Settings;
        QTest::newRow("a game recorded") << Kind::Scores;
    }
    // Another program holds the folder for longer than the game waits: the change is a failed
    // write, told once, and the file keeps its bytes; once it lets go, the next change is written.
    void aChangeThatWaitsTooLongIsToldAndWritesNothing()
    {
        QFETCH(Kind, kind);
        writeOldFile(kind, 1);
        const QString path = fileOf(kind, folder);
        const QByteArray old = fileBytes(path);
        QProcess holder;
        startChild(holder, folder, QStringLiteral("hold"), kind, 0);
        QVERIFY(childBegan(holder));

        // The wait, shortened for the test; it is waited for real.
        updateLockWaitMs = 50;
        writeAgain(kind);
        QCOMPARE(ui.messageTexts(),
                 QStringList{toldText(kind, QDir::toNativeSeparators(path),
                                      QStringLiteral("Another copy of the game was changing it and did not "
                                                     "finish in time"))});
        QCOMPARE(fileBytes(path), old);

        holder.closeWriteChannel();
        QVERIFY(finishChild(holder).ended);
        writeAgain(kind);
        QCOMPARE(ui.messageTexts().size(), 1);
        QVERIFY(fileBytes(path) != old);
    }
};

int main(int argc, char **argv)
{
    if (isChild(argc, argv) && argc == 5)
        return runChild(argc, argv);
    enterMountNamespaceOfOwn();
    // As the program starts.
    prepareProcess();
    QApplication app(argc, argv);
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path()))
        return 1;
    TestPersistFullDisk tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "test_persist_fulldisk.moc"
