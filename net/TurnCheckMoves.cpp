#include "net/TurnCheckParts.h"

#include "ai/Toolkit.h"

#include <QList>

#include <limits>

namespace {

// How many moves away each territory of the seat is from the nearest one that gave armies:
// 0 for a giver, -1 where the seat's own territories do not lead.
std::array<int, kMaxTerritories + 1> stepsFromGivers(const RulesTables &before, const RulesTables &after, int seat)
{
    std::array<int, kMaxTerritories + 1> steps;
    steps.fill(-1);
    QList<int> reached;
    for (int t = 1; t <= territoryCount; ++t)
        if (before.territories[t].owner == seat && after.territories[t].armies < before.territories[t].armies) {
            steps[t] = 0;
            reached.append(t);
        }
    for (int i = 0; i < reached.size(); ++i)
        for (int u : neighboursOf(reached[i]))
            if (steps[u] < 0 && before.territories[u].owner == seat) {
                steps[u] = steps[reached[i]] + 1;
                reached.append(u);
            }
    return steps;
}

} // namespace

qint64 armiesMovedAtLeast(const RulesTables &before, const RulesTables &after, int seat)
{
    qint64 balance = 0;
    for (int t = 1; t <= territoryCount; ++t) {
        if (before.territories[t].owner != seat)
            continue;
        if (after.territories[t].owner != seat || after.territories[t].armies < 1)
            return -1;
        balance += after.territories[t].armies - before.territories[t].armies;
    }
    if (balance != 0)
        return -1;
    // Every army that arrives has come at least the steps from the nearest giver, each step a move.
    const std::array<int, kMaxTerritories + 1> steps = stepsFromGivers(before, after, seat);
    qint64 moved = 0;
    for (int t = 1; t <= territoryCount; ++t) {
        const qint64 gained = after.territories[t].armies - before.territories[t].armies;
        if (before.territories[t].owner != seat || gained <= 0)
            continue;
        if (steps[t] < 1)
            return -1;
        moved = qMin(moved + gained * steps[t], qint64(std::numeric_limits<qint32>::max()));
    }
    return moved;
}

bool onlyMovedBetween(const RulesTables &before, const RulesTables &after, int from, int to)
{
    if (!isValidTerritory(from) || !isValidTerritory(to) || after.territories[to].armies <= before.territories[to].armies)
        return false;
    for (int t = 1; t <= territoryCount; ++t)
        if (t != from && t != to && after.territories[t] != before.territories[t])
            return false;
    return true;
}
