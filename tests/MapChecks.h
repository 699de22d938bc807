#pragma once
// Reading the current map's tables back in the tests of the built-in maps and map texts:
// neighbour lists, links as pairs, and lists of numbers written the short way.

#include "state/GameState.h"

#include <QList>
#include <QPair>
#include <QRegExp>
#include <QSet>
#include <QString>
#include <QStringList>

// In a namespace of their own: the program's libraries have functions of the same names.
namespace mapchecks {

using Pair = QPair<int, int>;
using PairSet = QSet<Pair>;

inline Pair ordered(int a, int b)
{
    return a < b ? Pair(a, b) : Pair(b, a);
}

// "1-2, 3-4" as unordered links.
inline PairSet pairsOf(const QString &text)
{
    PairSet out;
    for (const QString &item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList ends = item.trimmed().split(QLatin1Char('-'));
        out.insert(ordered(ends[0].toInt(), ends[1].toInt()));
    }
    return out;
}

// Numbers separated by blanks or commas; "a..b" stands for a, a + 1, ..., b.
inline QList<int> numbers(const QString &text)
{
    QList<int> out;
    const QStringList words = text.split(QRegExp(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        const int dots = word.indexOf(QLatin1String(".."));
        if (dots < 0) {
            out.append(word.toInt());
            continue;
        }
        for (int n = word.left(dots).toInt(); n <= word.mid(dots + 2).toInt(); ++n)
            out.append(n);
    }
    return out;
}

// Territory t's neighbours as its row lists them.
inline QList<int> listedNeighbours(int t)
{
    QList<int> list;
    for (int i = 1; i <= kMaxNeighbours && territoryNeighbours[t][i] != 0; ++i)
        list.append(territoryNeighbours[t][i]);
    return list;
}

// The links that both ends list.
inline PairSet mutualPairs()
{
    PairSet pairs;
    for (int t = 1; t <= territoryCount; ++t)
        for (int u : listedNeighbours(t))
            if (isNeighbour(u, t))
                pairs.insert(ordered(t, u));
    return pairs;
}

// Whether every territory can be reached from territory 1 along the links.
inline bool reachesEveryTerritory()
{
    QSet<int> seen{1};
    QList<int> open{1};
    while (!open.isEmpty())
        for (int u : listedNeighbours(open.takeLast()))
            if (!seen.contains(u)) {
                seen.insert(u);
                open.append(u);
            }
    return seen.size() == territoryCount;
}

// The first fault of a map whose links must all be written on both sides: a number out of
// range, a territory listing itself or a neighbour twice, a link one way only, a territory
// without neighbours; empty when there is none.
inline QString mutualAdjacencyFault()
{
    for (int t = 1; t <= territoryCount; ++t) {
        const QList<int> list = listedNeighbours(t);
        if (list.isEmpty())
            return QStringLiteral("%1 has no neighbour").arg(t);
        QSet<int> seen;
        for (int u : list) {
            const QString link = QStringLiteral("%1 - %2").arg(t).arg(u);
            if (u < 1 || u > territoryCount || u == t)
                return link;
            if (seen.contains(u))
                return link + QStringLiteral(" twice");
            seen.insert(u);
            if (!isNeighbour(u, t))
                return link + QStringLiteral(" one way");
        }
    }
    return QString();
}

} // namespace mapchecks
