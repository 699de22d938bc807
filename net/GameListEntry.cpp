#include "net/GameListEntry.h"

#include "persist/Settings.h"
#include "state/GameState.h"
#include "state/Seams.h"
#include "state/TextRules.h"

#include <QLocale>

namespace {

QString utcText(const char *format)
{
    return QLocale::c().toString(interaction().now().toUTC(), QLatin1String(format));
}

// A field of typed text: the list is read a line at a time.
QString typedField(const QString &text, EntryField field)
{
    return fitToWidth(cleanedText(text), field.width);
}

void place(QString &entry, EntryField field, const QString &text)
{
    entry.replace(field.start, field.width, text.leftJustified(field.width, QLatin1Char(' '), true));
}

} // namespace

QString gameListEntryText(const QString &address, bool closed)
{
    QString entry(kGameListEntryLength, QLatin1Char(' '));
    place(entry, kEntryAddress, typedField(closed ? QStringLiteral("Closed") : address.trimmed(), kEntryAddress));
    place(entry, kEntryMapName, typedField(mapName, kEntryMapName));
    place(entry, kEntryVersion, QStringLiteral(" 1.0 "));
    place(entry, kEntryRule, attackRule == 'j' ? QStringLiteral("1on1") : QStringLiteral("Dice"));
    place(entry, kEntryStrongholds, strongholdsEnabled ? QStringLiteral("St") : QString());
    place(entry, kEntryTroopExperience, troopExperienceEnabled ? QStringLiteral("TE") : QString());
    place(entry, kEntryStarted, utcText("MMM dd yyyy hhmm"));
    place(entry, kEntryGameName, typedField(announcedGameName(), kEntryGameName));
    place(entry, kEntryTimeOfDay, QLatin1Char(' ') + utcText("hhmmsszzz") + QStringLiteral("0 "));
    return entry;
}

QString announcedGameName()
{
    const QString name = cleanedText(settingsRecord.hostGameName).trimmed();
    return name.isEmpty() ? kUnnamedGame : name;
}

QString entryFieldValue(const QString &entry, EntryField field)
{
    return entry.mid(field.start, field.width).trimmed();
}

QString asEntryFieldValue(const QString &text, EntryField field)
{
    return typedField(text.trimmed(), field).trimmed();
}
