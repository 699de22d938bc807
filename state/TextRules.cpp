#include "state/TextRules.h"

namespace {

// Drawn as a break or a gap, and cut at by the list readers.
bool breaksTheLine(QChar c)
{
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

bool pairStartsAt(const QString &text, int i)
{
    return i + 1 < text.size() && text.at(i).isHighSurrogate() && text.at(i + 1).isLowSurrogate();
}

} // namespace

QString cleanedText(const QString &text)
{
    QString cleaned;
    cleaned.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (pairStartsAt(text, i)) {
            cleaned += c;
            cleaned += text.at(++i);
        } else if (!c.isSurrogate()) {
            cleaned += breaksTheLine(c) ? QChar(QLatin1Char(' ')) : c;
        }
    }
    return cleaned;
}

QString cutToWidth(const QString &text, int width)
{
    if (width <= 0)
        return QString();
    if (text.size() <= width)
        return text;
    return text.left(pairStartsAt(text, width - 1) ? width - 1 : width);
}

QString fitToWidth(const QString &text, int width)
{
    return cutToWidth(text, width).leftJustified(width, QLatin1Char(' '));
}

QString typedName(const QString &typed, int width)
{
    return cutToWidth(cleanedText(typed).trimmed(), width);
}
