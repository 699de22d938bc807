#include "ai/MoveSteps.h"

#include "ai/AiState.h"
#include "ai/AttackPlanning.h"
#include "ai/Narration.h"
#include "ai/Toolkit.h"
#include "rules/Sound.h"
#include "state/GameState.h"
#include "state/SpriteQueue.h"
#include "state/StepQueues.h"

namespace {

bool isOwnStronghold(int t)
{
    return isValidPlayer(currentPlayer) && t != 0 && playerTable[currentPlayer].stronghold() == t;
}

int enemySumAround(int t)
{
    return neighbourSums(t, currentPlayer).enemySum;
}

int balanceAround(int t)
{
    return neighbourSums(t, currentPlayer).balance;
}

int candidateCount()
{
    int count = 0;
    while (count < kMaxPairEntries && reinforceCandidates[count + 1].id != 0)
        ++count;
    return count;
}

// The last entry of t among the entries in use; 0 when t has none.
int entryOf(int t)
{
    int found = 0;
    const int last = qMin(candidateCount(), static_cast<int>(totalBorderCount));
    for (int i = 1; i <= last; ++i)
        if (reinforceCandidates[i].id == t)
            found = i;
    return found;
}

// Moves up to `count` armies from f into g; the count as aiMoveArmies left it.
int move(int f, int g, int count, int &budget)
{
    aiChosenTerritory = g;
    aiMoveArmies(count, budget, f);
    return count;
}

// The own neighbour of t facing the most enemy armies (only sums above 0 count), else the next
// step from t along a known route toward enemy land; 0 when there is neither.
int frontwardStep(int t)
{
    int best = 0, bestSum = 0;
    for (int n : neighboursOf(t)) {
        if (!isOwnTerritory(n))
            continue;
        const int sum = enemySumAround(n);
        if (sum > bestSum) {
            bestSum = sum;
            best = n;
        }
    }
    return best != 0 ? best : findInTable16(t);
}

// Interior armies with no enemy near go toward the front.
bool idleInterior(int t)
{
    return isOwnTerritory(t) && armiesOf(t) > 1 && enemySumAround(t) == 0 && !isContinentOutpost(t);
}

class MovePhase {
public:
    explicit MovePhase(int &budget) : budget_(budget) {}

    void run()
    {
        if (reinforceCandidates[1].id != 0) {
            if (feedBorders() || evenOutBorders())
                return;
        }
        if (pushInteriorOfHeld() || pushGateways() || thinGatewayStacks() || pushInteriorOfOthers())
            return;
    }

private:
    bool spent() const { return budget_ < 1; }

    void resort(bool movedAny)
    {
        if (movedAny)
            sortPairs(2, candidateCount());
    }

    // Pass 1: armies inside a held continent move out to its rated border territories.
    bool feedBorders()
    {
        bool movedAny = false;
        for (int i = 1; i <= candidateCount(); ++i) {
            const int t = reinforceCandidates[i].id;
            const int c = continentOf(t);
            for (int n : neighboursOf(t)) {
                if (!isOwnTerritory(n) || armiesOf(n) <= 1 || isBorderOf(n, c) || !isContinentMember(n, c))
                    continue;
                int count = armiesOf(n) - 1;
                aiChosenTerritory = t;
                const int before = armiesOf(t);
                aiMoveArmies(count, budget_, n);
                movedAny = movedAny || armiesOf(t) != before;
                reinforceCandidates[i].value += count;
                if (spent()) {
                    resort(movedAny);
                    return true;
                }
            }
        }
        resort(movedAny);
        return false;
    }

    // Pass 2: two border territories of one continent share their armies by need.
    bool evenOutBorders()
    {
        bool movedAny = false;
        int lastContinent = 0;
        for (int i = 1; i <= candidateCount(); ++i) {
            const int t = reinforceCandidates[i].id;
            const int c = continentOf(t);
            if (c == lastContinent)
                continue;
            for (int n : neighboursOf(t)) {
                if (!isOwnTerritory(n) || armiesOf(n) <= 1 || !isBorderOf(n, c) || !isContinentMember(n, c))
                    continue;
                const int before = armiesOf(t);
                if (evenOut(i, t, n))
                    lastContinent = c;
                movedAny = movedAny || armiesOf(t) != before;
                if (spent()) {
                    resort(movedAny);
                    return true;
                }
            }
        }
        resort(movedAny);
        return false;
    }

    // True when a move between t and n was made (as aiMoveArmies counts it).
    bool evenOut(int i, int t, int n)
    {
        const int vT = reinforceCandidates[i].value;
        const int entryN = entryOf(n);
        const int vN = entryN != 0 ? reinforceCandidates[entryN].value : 0;
        const int bT = balanceAround(t);
        const int bN = balanceAround(n);
        if (bT < bN && bN > 0) {
            int h = (bT + bN) / 2 - bT;
            const int a = armiesOf(t);
            if (h < 1 || a - 1 < 2)
                return false;
            if (a - 1 <= h || a - h < 3)
                h = a - 3;
            if (h < 2 || (a >= 20 && a <= 26 && armiesOf(n) >= 13 && armiesOf(n) <= 19))
                return false;
            const int moved = move(t, n, h, budget_);
            reinforceCandidates[i].value -= moved;
            if (entryN != 0)
                reinforceCandidates[entryN].value += moved;
            return true;
        }
        if (vN < 1)
            return false;
        int h = vN - (vT + vN) / 2;
        if (h < 1)
            return false;
        const int a = armiesOf(n);
        h = qMin(h, a - 1);
        if (a - h < 3)
            h = a - 3;
        if (h < 2 || (a >= 20 && a <= 26 && armiesOf(t) >= 13 && armiesOf(t) <= 19))
            return false;
        const int moved = move(n, t, h, budget_);
        reinforceCandidates[i].value += moved;
        reinforceCandidates[entryN].value -= moved;
        return true;
    }

    // Moves all but one of t one step toward the front.
    bool pushForward(int t)
    {
        const int step = frontwardStep(t);
        if (step != 0)
            move(t, step, armiesOf(t) - 1, budget_);
        return spent();
    }

    // Pass 3: the interior of held continents.
    bool pushInteriorOfHeld()
    {
        for (int c = 1; c <= continentCount; ++c) {
            if (!playerHolds(currentPlayer, c))
                continue;
            for (int t : membersOf(c))
                if (!isBorderOf(t, c) && idleInterior(t) && pushForward(t))
                    return true;
        }
        return false;
    }

    // Own border territories of held continents, in continent and member order.
    template <typename Visit>
    bool forEachHeldGateway(Visit visit)
    {
        for (int c = 1; c <= continentCount; ++c) {
            if (!playerHolds(currentPlayer, c))
                continue;
            for (int t : membersOf(c))
                if (isOwnTerritory(t) && armiesOf(t) > 1 && isBorderOf(t, c) && visit(t))
                    return true;
        }
        return false;
    }

    // Pass 4: a gateway's armies go out to the outpost in front of it.
    bool pushGateways()
    {
        return forEachHeldGateway([this](int t) {
            const int e = findTargetContinentEntry(t);
            if (e > 0)
                move(t, e, armiesOf(t) - 1, budget_);
            return spent();
        });
    }

    // Pass 5: a quiet outpost keeps 20 armies and passes the rest on.
    bool thinGatewayStacks()
    {
        return forEachHeldGateway([this](int t) {
            const int e = findTargetContinentEntry(t);
            if (e <= 0 || armiesOf(e) <= 20 || enemySumAround(e) != 0)
                return false;
            const int entry = entryOf(e);
            int v = entry != 0 ? reinforceCandidates[entry].value : 0;
            if (v == 0)
                v = armiesOf(e);
            v -= 20;
            if (v <= 0)
                return false;
            const int step = frontwardStep(e);
            const int count = qMin(v, armiesOf(e) - 20);
            if (step != 0 && count > 0)
                move(e, step, count, budget_);
            return spent();
        });
    }

    // Pass 6: the interior of continents not held.
    bool pushInteriorOfOthers()
    {
        for (int c = 1; c <= continentCount; ++c) {
            if (playerHolds(currentPlayer, c))
                continue;
            for (int t : membersOf(c))
                if (idleInterior(t) && pushForward(t))
                    return true;
        }
        return false;
    }

    int &budget_;
};

} // namespace

void aiMoveArmies(int &count, int &budget, int f)
{
    const int g = aiChosenTerritory;
    if (isOwnStronghold(f) || f == g || !isOwnTerritory(f) || !isOwnTerritory(g) || !canAttack(f, g))
        return;
    if (armiesOf(f) < 2)
        return;
    count = qMin(count, qMin(budget, armiesOf(f) - 1));
    if (count < 1)
        return;
    budget -= count;
    const bool animated = computerAnimationsShown();

    highlightChanges = 1;
    queuePlacement(g);
    if (animated) {
        nextSoundId = SoundMove;
        nextArmyDelta = count;
    }
    queuePlacement(f);
    highlightChanges = 0;
    narrate(QStringLiteral(" moves ") + countTail(count, " army.", " armies."));
    queueComputerAnimation(g, SpritePlane);
    territoryState[g].armies += count;
    territoryState[f].armies -= count;
    if (!animated)
        nextSoundId = SoundMove;
    queuePlacement(g);
    queuePlacement(f);
}

void aiMovePhase(int &budget)
{
    MovePhase(budget).run();
}
