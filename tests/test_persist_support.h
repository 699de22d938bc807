#pragma once
// Bytes of the data files built by hand, independently of the game's own stream code; and the
// children a test starts where the program could die or a second program is needed.

#include <QByteArray>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QtEndian>

#include <cstdio>
#include <sys/stat.h>

namespace persistbytes {

inline QByteArray int32(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

inline QByteArray boolean(bool value)
{
    return QByteArray(1, value ? '\1' : '\0');
}

inline QByteArray utf16(const QString &text)
{
    QByteArray bytes = int32(text.size() * 2);
    for (QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() >> 8));
        bytes.append(static_cast<char>(c.unicode() & 0xff));
    }
    return bytes;
}

inline qint32 int32At(const QByteArray &bytes, int offset)
{
    return qFromBigEndian<qint32>(bytes.constData() + offset);
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// What has the name: the same file (its inode, mode and bytes), or what else it is.
inline QByteArray whatIsAt(const QString &path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QByteArray("nothing");
    if (S_ISLNK(info.st_mode)) {
        const QString target = QFile::symLinkTarget(path);
        struct stat followed {};
        if (::stat(QFile::encodeName(path).constData(), &followed) != 0)
            return "a link to " + QFile::encodeName(target) + " that leads to no file";
        return "a link to " + QFile::encodeName(target) + ", " + whatIsAt(target);
    }
    if (S_ISDIR(info.st_mode))
        return QByteArray("a folder");
    if (S_ISFIFO(info.st_mode))
        return QByteArray("a named pipe");
    if (S_ISSOCK(info.st_mode))
        return QByteArray("a socket");
    const QByteArray file = QByteArray("file ") + QByteArray::number(qulonglong(info.st_ino)) + " mode "
        + QByteArray::number(info.st_mode & 07777, 8) + ", ";
    QFile bytes(path);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    return file + (bytes.open(QIODevice::ReadOnly) && hash.addData(&bytes) ? hash.result() : QByteArray("unreadable"));
}

} // namespace persistbytes

// A child is this test program started again as "<program> --child <arguments>" in a folder of
// the test's; its main runs the part the arguments name and says on its output what came of it.
namespace persistchild {

inline bool isChild(int argc, char **argv)
{
    return argc >= 2 && qstrcmp(argv[1], "--child") == 0;
}

// Says what the player was told, one line a message, for the test to read.
inline void printTold(const QStringList &texts)
{
    for (const QString &text : texts)
        std::printf("told %s\n", QUrl::toPercentEncoding(text).constData());
    std::fflush(stdout);
}

struct ChildRun {
    bool ended = false; // by itself, not by a signal
    int exitCode = -1;
    QStringList told;
    QString errors;
    QList<QByteArray> lines;
};

// Starts the child in `folder`. With an `errorFile`, what the child writes to its standard error
// goes there, and Qt says much while it starts.
inline void startChild(QProcess &child, const QString &folder, const QStringList &arguments,
                       const QString &errorFile = QString())
{
    child.setWorkingDirectory(folder);
    if (!errorFile.isEmpty()) {
        child.setStandardErrorFile(errorFile);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_DEBUG_PLUGINS"), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
    }
    child.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--child")} + arguments);
}

// What the child did, once it has ended.
inline ChildRun finishChild(QProcess &child)
{
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
    run.lines = child.readAllStandardOutput().split('\n');
    for (const QByteArray &line : run.lines)
        if (line.startsWith("told "))
            run.told.append(QUrl::fromPercentEncoding(line.mid(5)));
    return run;
}

inline ChildRun runChildIn(const QString &folder, const QStringList &arguments, const QString &errorFile = QString())
{
    QProcess child;
    startChild(child, folder, arguments, errorFile);
    return finishChild(child);
}

// The child's next line, without its end; empty when none came within a minute.
inline QByteArray nextLine(QProcess &child)
{
    while (!child.canReadLine())
        if (!child.waitForReadyRead(60000))
            return QByteArray();
    return child.readLine().trimmed();
}

// Waits for the child's first line, which says it has begun its work.
inline bool childBegan(QProcess &child)
{
    return !nextLine(child).isEmpty();
}

} // namespace persistchild
