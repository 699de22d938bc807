#include "persist/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

int updateLockWaitMs = kUpdateLockWaitMs;

namespace {

const QLatin1String kCopyPrefix(".tarvangx-write-");
constexpr int kCopyTagLength = 6;
constexpr int kCopyNameTries = 16;

QString systemReason(int error)
{
    return qt_error_string(error);
}

// A descriptor closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

int openPath(const QString &path, int flags, mode_t mode = 0)
{
    int fd;
    do
        fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC | O_NOCTTY, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool isRegular(int fd)
{
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

enum class Lock { Had, Busy, Unsupported };

// The lock of the open file, without waiting for it.
Lock lockNow(int fd)
{
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return Lock::Had;
    return errno == EWOULDBLOCK || errno == EINTR ? Lock::Busy : Lock::Unsupported;
}

// The open file is still the one that bears `path`: nobody removed it or put another there.
bool stillNamed(int fd, const QString &path)
{
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::lstat(QFile::encodeName(path).constData(), &named) == 0
        && open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// The file a write replaces: through symbolic links to the file they name, which keep pointing
// at it.
QString replacedFile(const QString &path)
{
    QFileInfo file(path);
    for (int depth = 0; depth < 40 && file.isSymLink(); ++depth)
        file.setFile(file.symLinkTarget());
    return file.filePath();
}

// The umask as it stands, read without changing it: another thread may create a file meanwhile.
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return mode_t(mask & 0777);
            }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The mode the replaced file is to have: its own, or a new file's. False, with the reason, when
// the file must not be replaced.
bool modeOfReplacement(const QString &target, mode_t &mode, QString &why)
{
    struct stat info {};
    if (::stat(QFile::encodeName(target).constData(), &info) != 0) {
        // No file there yet (or no folder: creating the copy tells the system's reason).
        mode = 0666 & ~currentUmask();
        return true;
    }
    if (!S_ISREG(info.st_mode)) {
        why = notARegularFileReason();
        return false;
    }
    // A file the player made read-only is left alone, as the system leaves it to a writer.
    if (::access(QFile::encodeName(target).constData(), W_OK) != 0) {
        why = systemReason(EACCES);
        return false;
    }
    mode = info.st_mode & 07777;
    return true;
}

QString copyTag()
{
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString tag;
    for (int i = 0; i < kCopyTagLength; ++i)
        tag += QLatin1Char(kChars[QRandomGenerator::global()->bounded(int(sizeof kChars) - 1)]);
    return tag;
}

// Every byte, or false: a write the disk cut short is tried again for the rest, and it is that
// second try that fails with the device's reason.
bool writeAll(int fd, const QByteArray &bytes, QString &why)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const ssize_t step = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0) {
            why = systemReason(step < 0 ? errno : ENOSPC);
            return false;
        }
        written += step;
    }
    return true;
}

// The new name made durable too: without it a power cut may bring the old file back, or none.
// Nothing is left to undo when this fails, so it is not reported.
void syncFolderOf(const QString &path)
{
    const Descriptor folder(openPath(QFileInfo(path).absolutePath(), O_RDONLY | O_DIRECTORY));
    if (folder.valid())
        ::fsync(folder.get());
}

// A write's copy in the folder of the file it replaces: new, readable by its owner alone, and
// locked while it lives, so that another program's clean-up leaves it alone. Removed unless it
// took the file's name.
class WriteCopy {
public:
    explicit WriteCopy(const QString &folder) : folder_(folder) {}
    ~WriteCopy()
    {
        if (fd_.valid() && !placed_)
            ::unlink(QFile::encodeName(path_).constData());
    }

    bool create(QString &why)
    {
        for (int tries = 0; tries < kCopyNameTries; ++tries) {
            path_ = QDir(folder_).filePath(kCopyPrefix + copyTag());
            fd_.reset(openPath(path_, O_WRONLY | O_CREAT | O_EXCL, 0600));
            if (!fd_.valid()) {
                // Another copy of that name (a second game writing beside this one): take another.
                if (errno == EEXIST)
                    continue;
                why = systemReason(errno);
                return false;
            }
            // A clean-up that locked the new copy first removes it: this write takes another.
            const Lock lock = lockNow(fd_.get());
            if (lock == Lock::Unsupported || (lock == Lock::Had && stillNamed(fd_.get(), path_)))
                return true;
            fd_.reset();
        }
        why = systemReason(EEXIST);
        return false;
    }

    // Every byte on the disk, and the mode the file is to keep; false with the device's reason
    // (a full disk may say so only at the sync).
    bool fill(const QByteArray &bytes, mode_t mode, QString &why)
    {
        if (!writeAll(fd_.get(), bytes, why))
            return false;
        if (::fchmod(fd_.get(), mode) != 0 || (::fsync(fd_.get()) != 0 && errno != EINVAL)) {
            why = systemReason(errno);
            return false;
        }
        return true;
    }

    // The copy takes the file's name in one step: the old file stays whole until then. The lock
    // goes only once the copy's name is gone.
    bool place(const QString &target, QString &why)
    {
        if (std::rename(QFile::encodeName(path_).constData(), QFile::encodeName(target).constData()) != 0) {
            why = systemReason(errno);
            return false;
        }
        placed_ = true;
        fd_.reset();
        return true;
    }

private:
    QString folder_;
    QString path_;
    Descriptor fd_;
    bool placed_ = false;
};

// Removes the copy at `path` when no program holds it: locked here and still the file of that
// name, nobody is writing it.
void removeUnheldCopy(const QString &path)
{
    const Descriptor copy(openPath(path, O_RDONLY | O_NONBLOCK | O_NOFOLLOW));
    if (copy.valid() && isRegular(copy.get()) && lockNow(copy.get()) == Lock::Had && stillNamed(copy.get(), path))
        ::unlink(QFile::encodeName(path).constData());
}

// A file there that cannot be read, with the system's reason.
FileRead unreadable(int error, QString *why)
{
    if (why)
        *why = systemReason(error);
    return FileRead::Unreadable;
}

// Reads to the end, but no more than one byte past `maxBytes`; 0, or the error of the read.
int readAll(int fd, qint64 maxBytes, QByteArray &bytes)
{
    char buffer[64 * 1024];
    while (bytes.size() <= maxBytes) {
        const ssize_t step = ::read(fd, buffer, size_t(qMin<qint64>(sizeof buffer, maxBytes + 1 - bytes.size())));
        if (step < 0 && errno == EINTR)
            continue;
        if (step < 0)
            return errno;
        if (step == 0)
            break;
        bytes.append(buffer, int(step));
    }
    return 0;
}

} // namespace

QString notARegularFileReason()
{
    return QStringLiteral("Not a regular file");
}

FileRead readWholeFile(const QString &path, qint64 maxBytes, QByteArray &bytes, QString *why)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : unreadable(errno, why);
    if (!S_ISREG(info.st_mode))
        return FileRead::NotAFile;
    // Never waits, should a named pipe take the file's place in between; it is then refused.
    const Descriptor file(openPath(path, O_RDONLY | O_NONBLOCK));
    if (!file.valid())
        return unreadable(errno, why);
    struct stat opened {};
    if (::fstat(file.get(), &opened) != 0)
        return unreadable(errno, why);
    if (!S_ISREG(opened.st_mode))
        return FileRead::NotAFile;
    if (opened.st_size > maxBytes)
        return FileRead::TooLarge;
    QByteArray read;
    const int error = readAll(file.get(), maxBytes, read);
    if (error != 0)
        return unreadable(error, why);
    // It may have grown since.
    if (read.size() > maxBytes)
        return FileRead::TooLarge;
    bytes = read;
    return FileRead::Read;
}

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *why)
{
    const QString target = replacedFile(path);
    QString error;
    mode_t mode = 0;
    if (modeOfReplacement(target, mode, error)) {
        WriteCopy copy(QFileInfo(target).path());
        if (copy.create(error) && copy.fill(bytes, mode, error) && copy.place(target, error)) {
            syncFolderOf(target);
            return true;
        }
    }
    if (why)
        *why = error;
    return false;
}

bool isWriteCopyName(const QString &name)
{
    if (name.size() != kCopyPrefix.size() + kCopyTagLength || !name.startsWith(kCopyPrefix))
        return false;
    for (int i = kCopyPrefix.size(); i < name.size(); ++i) {
        const char c = name.at(i).toLatin1();
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

void removeLeftoverCopies(const QString &folder)
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks))
        if (isWriteCopyName(name))
            removeUnheldCopy(dir.filePath(name));
}

UpdateLock::UpdateLock(const QString &file)
    : folder_(openPath(QFileInfo(replacedFile(file)).absolutePath(), O_RDONLY | O_DIRECTORY))
{
    if (folder_ < 0)
        return;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(updateLockWaitMs);
    for (;;) {
        const Lock lock = lockNow(folder_);
        if (lock != Lock::Busy)
            return;
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    timedOut_ = true;
}

UpdateLock::~UpdateLock()
{
    if (folder_ >= 0)
        ::close(folder_);
}

bool UpdateLock::had(QString *why) const
{
    if (timedOut_ && why)
        *why = QStringLiteral("Another copy of the game was changing it and did not finish in time");
    return !timedOut_;
}
