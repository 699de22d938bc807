#pragma once
// The data files (settings, scores, saved games) on the disk: read whole, written whole or not at
// all, and changed by one program at a time.
//
// A write goes into a copy of the program's own in the file's folder: a new file named
// ".tarvangx-write-" and six letters or digits, readable by its owner alone and locked (flock) for
// as long as it is written. Only once every byte is synced does the copy take the file's mode and
// then its name, in one step. The copy's name is the same length whatever the file is called, so
// any name the file system takes for the file saves; and since no player and no other program
// names a file so, a copy that a killed program left behind is known by its name alone. A copy is
// removed at the start only when no program holds its lock.
//
// Needs the POSIX calls flock, fchmod, fsync and rename; the program is built for Linux.

#include <QByteArray>
#include <QString>

// What became of reading a whole data file.
enum class FileRead { Read, Missing, Unreadable, TooLarge, NotAFile };

// Reads the whole file, refusing one larger than `maxBytes`. A name that is not a regular file (a
// folder, a named pipe, a device, a socket, or a link to one) is never opened for reading: such a
// file could keep the program waiting for good. NotAFile. A file that is there but that the
// program may not or cannot read (no right to it, a loop of links, a failing disk) is
// Unreadable; `why` then holds the system's reason ("Permission denied", "Too many levels of
// symbolic links", "Input/output error").
FileRead readWholeFile(const QString &path, qint64 maxBytes, QByteArray &bytes, QString *why = nullptr);

// The system's reason for a file that is not a regular one, as a write or a read tells it.
QString notARegularFileReason();

// Replaces the file with `bytes` in one step, or leaves the old file exactly as it was. The new
// file keeps the old one's mode (a new file gets 0666 less the umask, as every new file of the
// program); owner and group are the writer's, as the system gives them. A link is followed to the
// file it names. A file the player made read-only, or a name that is not a regular file, is never
// replaced. False when the file could not be written; `why` then holds the system's reason (for
// example "No space left on device", or "File too large" past the size limit of ulimit -f).
// Every file the game writes goes through here.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *why = nullptr);

// Whether `name` is the name of a write's copy: exactly, as a whole.
bool isWriteCopyName(const QString &name);

// Removes from `folder` the copies that writes broken off left behind: a copy some program is
// still writing is kept, and so is every other file.
void removeLeftoverCopies(const QString &folder);

// How long a program waits for another one's change of a file in the same folder to end.
constexpr int kUpdateLockWaitMs = 3000;
// The wait in use: kUpdateLockWaitMs, unless a test shortens it.
extern int updateLockWaitMs;

// A read, change and write of a file that another copy of the game may change at the same time
// (the settings, the scores) as one step between programs: while an UpdateLock lives, its program
// holds the lock of the file's folder, which the other waits for. A folder that cannot be opened
// or locked at all holds nothing back: the write then tells its own reason.
class UpdateLock {
public:
    explicit UpdateLock(const QString &file);
    ~UpdateLock();
    UpdateLock(const UpdateLock &) = delete;
    UpdateLock &operator=(const UpdateLock &) = delete;

    // False when another program held the lock past the wait; `why` then says so.
    bool had(QString *why) const;

private:
    int folder_ = -1;
    bool timedOut_ = false;
};
