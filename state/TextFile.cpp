#include "state/TextFile.h"

#include <QFile>

namespace {
constexpr qint64 kMaxTextFileBytes = 4 * 1024 * 1024;
}

TextFileStatus readTextFileLines(const QString &path, QStringList &lines)
{
    lines.clear();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return TextFileStatus::NotFound;
    if (file.size() > kMaxTextFileBytes)
        return TextFileStatus::TooLarge;
    const QByteArray bytes = file.read(kMaxTextFileBytes + 1);
    if (bytes.size() > kMaxTextFileBytes)
        return TextFileStatus::TooLarge;
    lines = textLinesOf(bytes);
    return TextFileStatus::Ok;
}

QStringList textLinesOf(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    text.remove(QLatin1Char('\r'));
    QStringList lines = text.split(QLatin1Char('\n'));
    // A final line end does not start another line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
