// A full disk costs the player no file: a saved game, the settings or the scores written when the
// disk is full keep their old bytes, and the player is told once, with the file and the disk's own
// reason. The disk fills up for real, in two ways: a limit on the size of the files this program
// writes (RLIMIT_FSIZE; needs no rights, always runs) and, as root, a small file system of the
// test's own, mounted in a mount namespace of its own so that it goes when the test ends.
//
// The system ends a process that writes past its size limit unless the process ignores the signal
// (SIGXFSZ); the program's start must see to that, so the test never does. Where the program could
// die, it runs in a child process, this test program started again with "--child": the whole
// program started under the limit, or a write broken off by it.

#include "test_mapclicks_support.h"
#include "test_persist_support.h"

#include "persist/DataFolder.h"
#include "persist/SavedGame.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "rules/Sound.h"
#include "rules/TurnState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QUrl>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace clicks_test;
using namespace persistbytes;

namespace {

enum class Kind { SavedGame, Settings, Scores };
enum class Disk { SizeLimit, SmallFileSystem };

const QString kTooLarge = QStringLiteral("File too large");
const QString kNoSpace = QStringLiteral("No space left on device");

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

// The copies a write leaves beside the file when it does not clean up.
QStringList copiesOf(const QString &path)
{
    const QFileInfo file(path);
    return file.dir().entryList({file.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
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

// The program started in the working folder under the size limit, as main starts it; its first
// sound through its own sound output (where the demo's sounds go); then a game on the table and
// one write of `kind`. Prints what the player was told ("told <text>") and, should the program
// live through it, "running".
int runProgramUnderLimit(Kind kind, rlim_t limit, int argc, char **argv)
{
    startAsAShellDoes(limit);
    QApplication app(argc, argv);
    ViewArea window;
    window.show();
    interaction().playSoundFile(soundFileFor(SoundNextPlayer, 0, 0));
    QCoreApplication::processEvents();

    ClickUi ui;
    showDealtGame(window, ui);
    writeAgain(kind, window, ui, QDir::currentPath());
    for (const QString &text : ui.messageTexts())
        std::printf("told %s\n", QUrl::toPercentEncoding(text).constData());
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

int runChild(int argc, char **argv)
{
    const QString role = QString::fromLatin1(argv[2]);
    const Kind kind = kindNamed(QString::fromLatin1(argv[3]));
    const rlim_t limit = QByteArray(argv[4]).toULongLong();
    if (role == QLatin1String("program"))
        return runProgramUnderLimit(kind, limit, argc, argv);
    return breakOffAWrite(kind, limit, argc, argv);
}

struct ChildRun {
    bool ended = false; // by itself, not by a signal
    int exitCode = -1;
    QStringList told;
    bool running = false;
    QString errors;
};

// Runs this program again as a child (`role` of runChild) in `folder`.
ChildRun runChildIn(const QString &folder, const QString &role, Kind kind, qint64 limit)
{
    QProcess child;
    child.setWorkingDirectory(folder);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), role, nameOf(kind), QString::number(limit)});
    ChildRun run;
    if (!child.waitForFinished(120000)) {
        child.kill();
        child.waitForFinished();
        run.errors = QStringLiteral("did not end within two minutes");
        return run;
    }
    run.ended = child.exitStatus() == QProcess::NormalExit;
    run.exitCode = child.exitCode();
    run.errors = QString::fromLocal8Bit(child.readAllStandardError());
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        if (line.startsWith("told "))
            run.told.append(QUrl::fromPercentEncoding(line.mid(5)));
        run.running = run.running || line == "running";
    }
    return run;
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
        QTest::newRow("Save Game, ulimit -f 4") << Kind::SavedGame << 0 << qint64(4096);
        QTest::newRow("an option changed, 1 KiB") << Kind::Settings << 0 << qint64(1024);
        QTest::newRow("a game recorded, 600 bytes") << Kind::Scores << 3 << qint64(600);
    }
    // The whole program started under the limit, in a child process that the test lets the signal
    // end: it starts, its sound output lives with the limit, the write past it is told once with
    // the system's reason, every old file keeps its bytes, and the program goes on.
    void theProgramStartsAndGoesOnUnderASizeLimit()
    {
        QFETCH(Kind, kind);
        QFETCH(int, records);
        QFETCH(qint64, limit);
        writeOldFile(kind, records);
        // The other files of an earlier run are there too: the start reads them and writes nothing.
        QVERIFY(saveSettings());
        readScoresFile();
        QVERIFY(QDir(folder).mkpath(QStringLiteral("sounds")));
        QDir::setCurrent(folder);
        QVERIFY(!writeWavFile(soundFileFor(SoundNextPlayer, 0, 0)).isEmpty());
        const QMap<QString, QByteArray> before = filesIn(folder);

        const ChildRun run = runChildIn(folder, QStringLiteral("program"), kind, limit);
        QVERIFY2(run.ended && run.exitCode == 0 && run.running,
                 qPrintable(QStringLiteral("the program %1 %2 before it went on; it wrote:\n%3")
                                .arg(run.ended ? QStringLiteral("ended with code") : QStringLiteral("was ended by signal"))
                                .arg(run.exitCode)
                                .arg(run.errors)));
        const QString path = QDir::toNativeSeparators(fileOf(kind, folder));
        QCOMPARE(run.told, QStringList{toldText(kind, path, kTooLarge)});
        QCOMPARE(filesIn(folder), before);
    }

    void theStartRemovesOnlyTheProgramsOwnCopies_data()
    {
        QTest::addColumn<QString>("playersFile"); // empty: the row's file is a copy a write left
        QTest::addColumn<Kind>("copyOf");
        const auto players = [](const char *name) {
            QTest::newRow(name) << QString::fromLatin1(name) << Kind::SavedGame;
        };
        for (const char *name : {"World.TrvGX.backup", "Mine.TrvGX.backup", "TrvGX10scores.dat.backup",
                                 "TrvGX10Settings.dat.old123", "Sunday.TrvGX.bak", "Sunday.TrvGX.abcdefg",
                                 "Sunday.TrvGX.abc-ef", "notes.txt.abcdef", "TrvGX10Settings.dat.abcde",
                                 "Sunday.TrvGXabcdef"})
            players(name);
        // What earlier versions named their copies (Qt's temporary names): it may be the player's.
        players("Sunday.TrvGX.Ab3dE9");
        players("TrvGX10scores.dat.x1Y2z3");
        QTest::newRow("a saved game's write broken off") << QString() << Kind::SavedGame;
        QTest::newRow("a settings write broken off") << QString() << Kind::Settings;
        QTest::newRow("a scores write broken off") << QString() << Kind::Scores;
    }
    // A program killed in the middle of a write may leave the write's copy beside the file; the
    // next start removes such a copy, and never a file the player made, whatever its name.
    void theStartRemovesOnlyTheProgramsOwnCopies()
    {
        QFETCH(QString, playersFile);
        QFETCH(Kind, copyOf);
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
        } else {
            QVERIFY(writeBytes(QDir(folder).filePath(file), "the player's own " + file.toUtf8()));
        }
        const QByteArray bytes = fileBytes(QDir(folder).filePath(file));

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
};

int main(int argc, char **argv)
{
    if (argc == 5 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argc, argv);
    enterMountNamespaceOfOwn();
    QApplication app(argc, argv);
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path()))
        return 1;
    TestPersistFullDisk tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "test_persist_fulldisk.moc"
