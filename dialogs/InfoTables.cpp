#include "dialogs/InfoTables.h"

#include "ai/AiState.h"
#include "ai/Evaluation.h"
#include "rules/GameEnd.h"
#include "rules/PlayerRecords.h"
#include "rules/Seats.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/Seams.h"

namespace {

QString number(qint32 value)
{
    return QString::number(value);
}

// "12", or "12 (+3)" when it was 9 at the start of the turn.
QString withChange(qint32 now, qint32 before)
{
    if (now == before)
        return number(now);
    return QStringLiteral("%1 (%2%3)").arg(now).arg(now > before ? QStringLiteral("+") : QString()).arg(now - before);
}

int continentsHeld(const PlayerRecord &record)
{
    int held = 0;
    for (int c = 1; c <= continentCount && c <= kMaxContinents; ++c)
        if (record.continentHeld(c))
            ++held;
    return held;
}

QStringList statisticsRow(int p)
{
    const PlayerRecord &now = playerTable[p];
    const PlayerRecord &before = playerTableAtTurnStart[p];
    return {shownPlayerName(p),
            withChange(now.territoriesHeld(), before.territoriesHeld()),
            withChange(now.totalArmies(), before.totalArmies()),
            number(continentsHeld(now)),
            number(now.cardCount()),
            number(now.f[PlayerRecord::AttacksMade]),
            number(now.f[PlayerRecord::BattlesWon]),
            number(now.f[PlayerRecord::BattlesLost]),
            number(now.f[PlayerRecord::BattleLosses]),
            troopExperienceEnabled ? QStringLiteral("%1%").arg(troopExperience[p]) : QStringLiteral("-")};
}

QString shownContinentName(int c)
{
    const QString name = continentName[c].trimmed();
    return name.isEmpty() ? QStringLiteral("Continent %1").arg(c) : name;
}

// The player who owns every member of continent c, or 0.
int wholeHolder(int c)
{
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p)
        if (holdsContinent(p, c))
            return p;
    return 0;
}

int ownedIn(int player, int c)
{
    const ContinentRecord &continent = continentTable[c];
    int owned = 0;
    for (int i = 1; i <= continent.memberCount && i <= kMaxContinentMembers; ++i) {
        const int t = continent.members[i];
        if (isValidTerritory(t) && territoryState[t].owner == player)
            ++owned;
    }
    return owned;
}

} // namespace

int viewingPlayer()
{
    if (networkSeat > 0 && isValidPlayer(networkSeat))
        return networkSeat;
    if (isHumanOfThisMachine(currentPlayer))
        return currentPlayer;
    return 1;
}

QString playTimeText(double seconds)
{
    const qint64 whole = seconds > 0 ? static_cast<qint64>(seconds) : 0;
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

double totalPlayTime()
{
    const QDateTime now = interaction().now();
    const qint64 since = playTimeStamp.isValid() && now.isValid() ? playTimeStamp.secsTo(now) : 0;
    return playTimeSeconds + static_cast<double>(qMax<qint64>(0, since));
}

TextTable statisticsTable()
{
    TextTable table;
    table.append({QStringLiteral("Player"), QStringLiteral("Territories"), QStringLiteral("Armies"),
                  QStringLiteral("Continents"), QStringLiteral("Cards"), QStringLiteral("Attacks"),
                  QStringLiteral("Battles won"), QStringLiteral("Battles lost"), QStringLiteral("Losses"),
                  QStringLiteral("TE")});
    computePlayerStrength(1);
    for (int i = 1; i <= kMaxPlayers; ++i) {
        const int p = playerRanking[i].id;
        if (isValidPlayer(p) && p <= playerCount)
            table.append(statisticsRow(p));
    }
    return table;
}

TextTable continentOverviewTable()
{
    setBuiltinContinentNames();
    const int viewer = viewingPlayer();
    TextTable table;
    table.append({QStringLiteral("Continent"), QStringLiteral("Bonus"), QStringLiteral("Territories"),
                  QStringLiteral("Held by"), QStringLiteral("Yours")});
    for (int c = 1; c <= continentCount && c <= kMaxContinents; ++c) {
        const int holder = wholeHolder(c);
        table.append({shownContinentName(c), number(continentTable[c].bonus), number(continentTable[c].memberCount),
                      holder ? shownPlayerName(holder) : QStringLiteral("-"),
                      QStringLiteral("%1 / %2").arg(ownedIn(viewer, c)).arg(continentTable[c].memberCount)});
    }
    return table;
}

QStringList missionProgressLines()
{
    const int holder = missionHolder();
    if (missionType != 1 || holder == 0)
        return {};
    setBuiltinContinentNames();
    const int toConquer = missionContinentsToConquer();
    QStringList lines;
    lines.append(QStringLiteral("Mission: conquer %1 continents in this order (%2 done)")
                     .arg(toConquer)
                     .arg(qBound(0, missionContinentIndex - 1, toConquer)));
    for (int i = 1; i <= toConquer && i <= kMaxContinents; ++i) {
        const int c = missionContinents[holder][i];
        if (c < 1 || c > continentCount)
            continue;
        const QString mark = i < missionContinentIndex ? QStringLiteral("done")
            : i == missionContinentIndex                 ? QStringLiteral("now")
                                                         : QString();
        lines.append(QStringLiteral("%1. %2  %3").arg(i).arg(shownContinentName(c), mark).trimmed());
    }
    return lines;
}

CardsShown cardsShown()
{
    CardsShown shown;
    shown.player = viewingPlayer();
    const PlayerRecord &own = playerTable[shown.player];
    shown.artillery = own.f[PlayerRecord::Artillery];
    shown.infantry = own.f[PlayerRecord::Infantry];
    shown.cavalry = own.f[PlayerRecord::Cavalry];
    shown.wild = own.f[PlayerRecord::Wild];
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p)
        if (p != shown.player)
            shown.others.append(QStringLiteral("%1: %2 cards").arg(shownPlayerName(p)).arg(playerTable[p].cardCount()));
    return shown;
}
