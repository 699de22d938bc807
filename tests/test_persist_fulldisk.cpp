// A full disk costs the player no file: a saved game, the settings or the scores written when the
// disk is full keep their old bytes, and the player is told once, with the file and the disk's own
// reason. The disk fills up for real, in two ways: a limit on the size of the files this program
// writes (RLIMIT_FSIZE; needs no rights, always runs) and, as root, a small file system of the
// test's own, mounted in a mount namespace of its own so that it goes when the test ends.

#include "test_mapclicks_support.h"
#include "test_persist_support.h"

#include "persist/DataFolder.h"
#include "persist/SavedGame.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "rules/TurnState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
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

// While it lives, this process's writes past `bytes` into any file fail with "File too large", as
// the writes on a full disk fail.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &before_);
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, handler_);
    }

private:
    rlimit before_{};
    void (*handler_)(int) = SIG_DFL;
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

    // The game's own call once the disk is full: Save Game a minute later, two option changes,
    // the end of a game.
    void writeAgain(Kind kind)
    {
        switch (kind) {
        case Kind::SavedGame:
            ui.clock = ui.clock.addSecs(60);
            window->saveGameDialog();
            break;
        case Kind::Settings:
            window->setGameSpeed224();
            window->setGameSpeed384();
            break;
        case Kind::Scores:
            recordScore(0, playerCount, 'n', 11, 1, playerName[1]);
            break;
        }
    }

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
};

int main(int argc, char **argv)
{
    enterMountNamespaceOfOwn();
    QApplication app(argc, argv);
    QTemporaryDir workDir;
    if (!workDir.isValid() || !QDir::setCurrent(workDir.path()))
        return 1;
    TestPersistFullDisk tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "test_persist_fulldisk.moc"
