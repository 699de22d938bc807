#pragma once
// Bytes of the data files built by hand, independently of the game's own stream code.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

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

} // namespace persistbytes
