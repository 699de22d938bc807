#include "persist/DataStream.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>
#include <QtEndian>

#include <cerrno>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

QString cutStoredText(const QString &text)
{
    return text.left(kStoredTextLength);
}

QChar widenedChar(char c)
{
    return QChar(static_cast<ushort>(static_cast<qint16>(static_cast<signed char>(c))));
}

bool narrowedChar(QChar code, char &c)
{
    const ushort u = code.unicode();
    if (u > 0x7F && u < 0xFF80)
        return false;
    c = static_cast<char>(static_cast<signed char>(static_cast<qint16>(u)));
    return true;
}

RecordReader::RecordReader(const QByteArray &bytes) : stream_(bytes) {}

qint64 RecordReader::position() const
{
    return stream_.device() ? stream_.device()->pos() : 0;
}

void RecordReader::int32(qint32 &value, qint32 low, qint32 high)
{
    if (!ok())
        return;
    qint32 read = 0;
    stream_ >> read;
    if (!ok())
        return;
    if (read < low || read > high) {
        refuse();
        return;
    }
    value = read;
}

void RecordReader::flag(quint8 &value, bool strict)
{
    if (!ok())
        return;
    qint8 read = 0;
    stream_ >> read;
    if (!ok())
        return;
    if (strict && read != 0 && read != 1) {
        refuse();
        return;
    }
    value = read != 0 ? 1 : 0;
}

void RecordReader::rawChar(QChar &value)
{
    if (!ok())
        return;
    QChar read;
    stream_ >> read;
    if (ok())
        value = read;
}

void RecordReader::character(char &value, const char *allowed)
{
    QChar code;
    rawChar(code);
    if (!ok())
        return;
    char c = 0;
    if (!narrowedChar(code, c) || (allowed && (c == 0 || !std::strchr(allowed, c)))) {
        refuse();
        return;
    }
    value = c;
}

void RecordReader::real(double &value)
{
    if (!ok())
        return;
    double read = 0;
    stream_ >> read;
    if (ok())
        value = read;
}

void RecordReader::text(QString &value, int maxLength)
{
    if (!ok())
        return;
    quint32 byteCount = 0;
    stream_ >> byteCount;
    if (!ok())
        return;
    if (byteCount == 0xFFFFFFFFu) {
        value = QString();
        return;
    }
    // Checked before anything is allocated: a damaged count never asks for gigabytes.
    if (byteCount % 2 != 0 || byteCount / 2 > static_cast<quint32>(maxLength)) {
        refuse();
        return;
    }
    const int size = static_cast<int>(byteCount);
    QByteArray raw(size, Qt::Uninitialized);
    if (stream_.readRawData(raw.data(), size) != size) {
        stream_.setStatus(QDataStream::ReadPastEnd);
        return;
    }
    QString read(size / 2, Qt::Uninitialized);
    for (int i = 0; i < size / 2; ++i)
        read[i] = QChar(qFromBigEndian<quint16>(raw.constData() + 2 * i));
    value = read;
}

RecordWriter::RecordWriter(QByteArray *bytes) : stream_(bytes, QIODevice::WriteOnly | QIODevice::Append) {}

FileRead readWholeFile(const QString &path, qint64 maxBytes, QByteArray &bytes)
{
    QFile file(path);
    if (!file.exists())
        return FileRead::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return FileRead::Unreadable;
    if (file.size() > maxBytes)
        return FileRead::TooLarge;
    QByteArray read = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return FileRead::Unreadable;
    bytes = read;
    return FileRead::Read;
}

namespace {

// The mark that makes a write's temporary copy known as the program's own: see DataStream.h.
const QString kCopyMark = QStringLiteral(".tarvangx-write-");
constexpr int kCopyTagLength = 6;
constexpr int kCopyNameTries = 16;

QString copyTag()
{
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString tag;
    for (int i = 0; i < kCopyTagLength; ++i)
        tag += QLatin1Char(kChars[QRandomGenerator::global()->bounded(int(sizeof kChars) - 1)]);
    return tag;
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

// A new copy beside `target`, open for writing; false with the system's reason.
bool openNewCopy(QFile &copy, const QString &target, QString &why)
{
    for (int tries = 0; tries < kCopyNameTries; ++tries) {
        copy.setFileName(target + kCopyMark + copyTag());
        if (copy.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return true;
        // Another copy of that name (a second game writing beside this one): take another name.
        if (!copy.exists())
            break;
    }
    why = copy.errorString();
    return false;
}

// The file's bytes on the disk before it replaces the old one; false, with the reason, when the
// disk says they are not (a full disk may say so only here).
bool syncedToDisk(QFile &file, QString &why)
{
#ifdef Q_OS_UNIX
    if (::fsync(file.handle()) != 0 && errno != EINVAL) {
        why = qt_error_string(errno);
        return false;
    }
#else
    Q_UNUSED(file);
    Q_UNUSED(why);
#endif
    return true;
}

// The new name made durable too: without it a power cut may bring the old file back, or none.
// Nothing is left to undo when this fails, so it is not reported.
void syncFolderOf(const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(path);
#endif
}

// Every byte, or false with the device's reason: a write the disk cut short is tried again for
// the rest, and it is that second try that fails with the reason.
bool writeAll(QFile &file, const QByteArray &bytes)
{
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0)
            return false;
        written += step;
    }
    return true;
}

// Every byte in the copy and on the disk, or false with the device's own reason. The copy is
// unbuffered so that each failure shows where it happens.
bool writtenWhole(QFile &copy, const QByteArray &bytes, QString &why)
{
    if (writeAll(copy, bytes) && copy.flush() && copy.error() == QFileDevice::NoError && syncedToDisk(copy, why))
        return true;
    if (why.isEmpty())
        why = copy.errorString();
    return false;
}

// The copy takes the file's name in one step: the old file stays whole until then.
bool replaced(QFile &copy, const QString &target, QString &why)
{
    copy.close();
    if (std::rename(QFile::encodeName(copy.fileName()).constData(), QFile::encodeName(target).constData()) == 0)
        return true;
    why = qt_error_string(errno);
    return false;
}

} // namespace

QRegularExpression writeCopyNames(const QString &fileNames)
{
    return QRegularExpression(QStringLiteral("^(%1)%2[A-Za-z0-9]{%3}$")
                                  .arg(fileNames, QRegularExpression::escape(kCopyMark))
                                  .arg(kCopyTagLength));
}

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *why)
{
    const QString target = replacedFile(path);
    const QFileInfo old(target);
    QString error;
    QFile copy;
    // A file the player made read-only is left alone, as the system leaves it to a writer.
    if (old.exists() && !old.isWritable()) {
        error = qt_error_string(EACCES);
    } else if (openNewCopy(copy, target, error)) {
        if (writtenWhole(copy, bytes, error) && replaced(copy, target, error)) {
            syncFolderOf(target);
            return true;
        }
        // A write that is not whole is never put in the file's place.
        copy.remove();
    }
    if (why)
        *why = error;
    return false;
}
