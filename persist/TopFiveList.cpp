#include "persist/TopFiveList.h"

#include "state/TextRules.h"

qint32 topFiveSlot = 0;

namespace {

// A list this long holds five entries (the fifth may lack its padding).
constexpr int kFullListLength = 110;

// The losses of an entry: the number its first four characters begin with, or -1 for an entry
// that is never given up (0 losses, losses beginning with 99, or no number).
int replaceableLosses(const QString &entry)
{
    const QString field = entry.left(kTopFiveLossesWidth).trimmed();
    const QString lead = field.left(2);
    if (!(lead > QLatin1String("00") && lead < QLatin1String("99")))
        return -1;
    int digits = 0;
    while (digits < field.size() && field[digits].isDigit())
        ++digits;
    return digits > 0 ? field.left(digits).toInt() : -1;
}

} // namespace

QString topFiveEntryText(const QString &name, int losses)
{
    return QStringLiteral("%1 ").arg(losses, kTopFiveLossesWidth) + fitToWidth(cleanedText(name), kTopFiveNameLength);
}

QStringList topFiveListEntries(const QString &list)
{
    QStringList entries;
    for (int at = 0; at + kTopFiveEntryLength <= list.size() && entries.size() < kTopFiveEntries; at += kTopFiveEntryLength)
        entries.append(list.mid(at, kTopFiveEntryLength));
    if (entries.size() == kTopFiveEntries - 1 && list.size() >= kFullListLength)
        entries.append(list.mid((kTopFiveEntries - 1) * kTopFiveEntryLength, kTopFiveEntryLength));
    return entries;
}

int chooseTopFiveSlot(const QString &list, int losses)
{
    if (losses > kMostTopFiveLosses)
        return kTopFiveNotGoodEnough;
    const QStringList entries = topFiveListEntries(list);
    if (entries.size() < kTopFiveEntries)
        return 0;
    int worst = -1;
    int slot = kTopFiveNotGoodEnough;
    for (int k = 1; k <= entries.size(); ++k) {
        const int value = replaceableLosses(entries[k - 1]);
        if (value > worst) {
            worst = value;
            slot = k;
        }
    }
    return worst >= losses ? slot : kTopFiveNotGoodEnough;
}

QString topFiveListWith(const QString &list, const QString &entry, int slot)
{
    QStringList entries = topFiveListEntries(list);
    if (slot >= 1 && slot <= entries.size())
        entries[slot - 1] = entry;
    else if (entries.size() < kTopFiveEntries)
        entries.append(entry);
    else
        entries[kTopFiveEntries - 1] = entry;
    // A short fifth entry kept stays last, where a reader expects it.
    return entries.join(QString());
}
