#include "state/TextRules.h"

#include <QTextBoundaryFinder>

#include <optional>

namespace {

constexpr char16_t kJoiner = 0x200D;

// Drawn as a break or a gap, and cut at by the list readers.
bool breaksTheLine(QChar::Category category)
{
    return category == QChar::Other_Control || category == QChar::Separator_Line
        || category == QChar::Separator_Paragraph;
}

bool pairStartsAt(const QString &text, int i)
{
    return i + 1 < text.size() && text.at(i).isHighSurrogate() && text.at(i + 1).isLowSurrogate();
}

// The units of the character at `i`: 2 for a surrogate pair, 0 for half of one.
int unitsAt(const QString &text, int i)
{
    if (pairStartsAt(text, i))
        return 2;
    return text.at(i).isSurrogate() ? 0 : 1;
}

QChar::Category categoryAt(const QString &text, int i)
{
    if (unitsAt(text, i) == 2)
        return QChar::category(QChar::surrogateToUcs4(text.at(i), text.at(i + 1)));
    return text.at(i).category();
}

bool isMarkOrFormat(QChar::Category category)
{
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing || category == QChar::Other_Format;
}

// The joiner at `i` holds two characters in one cluster (two emoji made one), not a mark or a
// format character after it: Qt's finder sees no boundary after it.
bool joinsTwoCharacters(const QString &text, int i, QTextBoundaryFinder &clusters)
{
    if (i == 0 || i + 1 >= text.size() || isMarkOrFormat(categoryAt(text, i + 1)))
        return false;
    clusters.setPosition(i + 1);
    return !clusters.isAtBoundary();
}

} // namespace

QString cleanedText(const QString &text)
{
    std::optional<QTextBoundaryFinder> clusters; // only for a text that holds a joiner
    QString cleaned;
    cleaned.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const int units = unitsAt(text, i);
        if (units == 0)
            continue;
        const QChar::Category category = categoryAt(text, i);
        if (breaksTheLine(category)) {
            cleaned += QLatin1Char(' ');
        } else if (category != QChar::Other_Format) {
            cleaned.append(text.constData() + i, units);
        } else if (text.at(i) == QChar(kJoiner)) {
            if (!clusters)
                clusters.emplace(QTextBoundaryFinder::Grapheme, text);
            if (joinsTwoCharacters(text, i, *clusters))
                cleaned += text.at(i);
        }
        i += units - 1;
    }
    return cleaned;
}

QString cutToWidth(const QString &text, int width)
{
    if (width <= 0)
        return QString();
    if (text.size() <= width)
        return text;
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, text);
    clusters.setPosition(width);
    return text.left(clusters.isAtBoundary() ? width : qMax(0, clusters.toPreviousBoundary()));
}

QString fitToWidth(const QString &text, int width)
{
    return cutToWidth(text, width).leftJustified(width, QLatin1Char(' '));
}

QString typedName(const QString &typed, int width)
{
    return cutToWidth(cleanedText(typed).trimmed(), width);
}
