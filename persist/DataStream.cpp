#include "persist/DataStream.h"

#include "state/TextRules.h"

#include <QIODevice>
#include <QtEndian>

#include <cstring>

QString cutStoredText(const QString &text)
{
    return cutToWidth(cleanedText(text), kStoredTextLength);
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
