#include "ai/Evaluation.h"

#include "ai/AiState.h"
#include "ai/Toolkit.h"
#include "rules/Cards.h"
#include "rules/TurnState.h"
#include "state/StepQueues.h"

namespace {

constexpr int kAvenger = 3;
constexpr int kNoOpponentCost = 32000;

bool isNeutralArmy(int p)
{
    return neutralArmyActive && p == 3;
}

int divisor()
{
    return qMax(1, reinforcementDivisor);
}

bool isAvengingNow()
{
    return avengerActive && isValidPlayer(currentPlayer) && personality[currentPlayer] == kAvenger
        && avengeTarget[currentPlayer] > 0;
}

// ---- Player strength ----

// A big stack counts less where no enemy can reach it, and a stack facing one big enemy
// counts what it can spare, but never less than 20.
int strengthOfTerritory(int t, int p)
{
    const int armies = armiesOf(t);
    if (armies <= 24)
        return armies;
    const NeighbourSums around = neighbourSums(t, p);
    if (around.enemySum == 0)
        return armies / 2;
    if (around.enemyCount == 1 && around.enemySum >= 21)
        return qMax(20, qMax(armies / 2, armies - around.enemySum));
    return armies;
}

int cardBonusFor(int cards)
{
    if (cards == 3)
        return 5;
    if (cards == 4 || cards == 5)
        return 10;
    return 0;
}

void countPlayersLeft()
{
    int left = 0;
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p)
        if (playerTable[p].territoriesHeld() > 0)
            ++left;
    aiPlayersLeft = left;
    if (left < 3)
        avengerActive = 0;
    if (left == 0)
        aiPlayersLeft = 2;
}

// What each player's territories add up to, in one walk over the map.
struct TerritorySums {
    std::array<int, kMaxPlayers + 1> armies{};
    std::array<int, kMaxPlayers + 1> strength{};
};

TerritorySums sumTerritories(int players)
{
    TerritorySums sums;
    for (int t = 1; t <= territoryCount; ++t) {
        const int p = territoryState[t].owner;
        if (p < 1 || p > players)
            continue;
        sums.armies[p] += territoryState[t].armies;
        sums.strength[p] += strengthOfTerritory(t, p);
    }
    return sums;
}

int strengthOfPlayer(int p, int mode, int equalShare, const TerritorySums &sums)
{
    PlayerRecord &record = playerTable[p];
    int strength = 0;
    if (mode == 1)
        for (int c = 1; c <= continentCount; ++c)
            if (playerHolds(p, c))
                strength += continentTable[c].weight;
    record.totalArmies() += sums.armies[p];
    strength += sums.strength[p];
    int cardBonus = cardBonusFor(record.cardCount());
    if (record.territoriesHeld() <= 0) {
        cardBonus = 0;
        for (int q = 1; q <= kMaxPlayers; ++q)
            if (avengeTarget[q] == p)
                avengeTarget[q] = 0;
    }
    const int r = qMax(3, record.territoriesHeld() / divisor());
    if (record.territoriesHeld() > 0 && !isNeutralArmy(p))
        strength += cardBonus + (r - equalShare) * 10;
    else
        strength += cardBonus - equalShare * 10;
    return strength;
}

void addToRanking(int player, int amount)
{
    for (int i = 1; i <= kMaxPlayers; ++i)
        if (playerRanking[i].id == player)
            playerRanking[i].value += amount;
}

// The share of the top value among the first `count` sorted values, in per cent; 0 when the
// values do not add up to anything positive.
double topShare(int count)
{
    double sum = 0;
    for (int i = 1; i <= count; ++i)
        sum += playerRanking[i].value;
    if (sum <= 0)
        return 0;
    return playerRanking[1].value / (sum / 100.0);
}

int decideMainEnemy()
{
    const int top = playerRanking[1].id;
    const auto s = [](int i) { return static_cast<double>(playerRanking[i].value); };
    bool dominant;
    if (aiPlayersLeft <= 3)
        dominant = s(1) > s(2) + s(3);
    else if (aiPlayersLeft == 4)
        dominant = topShare(4) >= 40;
    else if (aiPlayersLeft == 5)
        dominant = topShare(5) >= 40;
    else
        dominant = topShare(kMaxPlayers) >= 35;
    int enemy = dominant ? top : 0;
    if (neutralArmyActive)
        enemy = 1;
    if (isAvengingNow())
        enemy = avengeTarget[currentPlayer];
    return enemy;
}

// ---- Continent ranking ----

int baseScore(int c)
{
    int score = 0;
    for (int t : membersOf(c))
        score += isOwnTerritory(t) ? armiesOf(t) : -(armiesOf(t) + 2);
    return score;
}

int frontierContribution(int n)
{
    const int armies = armiesOf(n);
    if (isOwnTerritory(n))
        return armies;
    if (armies > 2 && !isNeutralArmy(ownerOf(n)))
        return -(armies - 2);
    return 0;
}

// Every outside neighbour of the continent's border counts once (as far as a list of 11
// remembers; when it is full the newest takes the last place).
int frontierScore(int c)
{
    std::array<int, kMaxNeighbours + 1> counted{};
    std::array<bool, kMaxTerritories + 1> remembered{}; // in `counted`
    int used = 0;
    int score = 0;
    for (int n : outsideNeighboursOf(c)) {
        if (remembered[n])
            continue;
        if (used < kMaxNeighbours) {
            counted[++used] = n;
        } else {
            remembered[counted[kMaxNeighbours]] = false;
            counted[kMaxNeighbours] = n;
        }
        remembered[n] = true;
        score += frontierContribution(n);
    }
    return score;
}

// With strongholds the continent of the own stronghold comes first, unless it is held already.
int targetContinent()
{
    const int top = continentRanking[1].id;
    if (!strongholdsEnabled || !isValidPlayer(currentPlayer))
        return top;
    const int s = continentOf(playerTable[currentPlayer].stronghold());
    if (s == 0 || playerHolds(currentPlayer, s) || s == top)
        return top;
    continentRanking[1] = {s, continentRanking[1].value - 200};
    return s;
}

// ---- Opponents ----

using PlayerCosts = std::array<int, kMaxPlayers + 1>;

// Fills `aiTargetList` with p's territories; false when p holds more than the list takes.
bool listTerritoriesOf(int p)
{
    aiTargetList.fill(0);
    int count = 0;
    for (int t = 1; t <= territoryCount; ++t) {
        if (ownerOf(t) != p)
            continue;
        if (count == kTargetListSize)
            return false;
        aiTargetList[++count] = t;
    }
    return true;
}

int costOfTargetList()
{
    int cost = 0;
    for (int i = 1; i <= kTargetListSize && aiTargetList[i] != 0; ++i)
        cost += armiesOf(aiTargetList[i]) + 1;
    return cost;
}

bool canBeAttackedFromNextDoor()
{
    const bool poolReady = aiArmiesToPlace + aiCardArmies > 0;
    for (int i = 1; i <= kTargetListSize && aiTargetList[i] != 0; ++i)
        for (int n : ownAttackersOf(aiTargetList[i]))
            if (armiesOf(n) >= 2 || poolReady)
                return true;
    return false;
}

template <typename Qualifies>
void chooseOpponent(int &player, int &cost, Qualifies qualifies)
{
    const TerritoryList savedTargets = aiTargetList;
    PlayerCosts costs;
    costs.fill(kNoOpponentCost);
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p) {
        if (p == currentPlayer || playerTable[p].totalArmies() <= 0)
            continue;
        if (listTerritoriesOf(p) && qualifies())
            costs[p] = costOfTargetList();
    }
    aiTargetList = savedTargets;

    player = 0;
    cost = kNoOpponentCost;
    const bool avenging = isAvengingNow();
    for (int p = 1; p <= kMaxPlayers; ++p) {
        if (avenging && p != avengeTarget[currentPlayer])
            continue;
        if (costs[p] < cost) {
            player = p;
            cost = costs[p];
        }
    }
}

} // namespace

void noteAvengerConquest(int loser, int conqueror)
{
    if (isValidPlayer(loser) && isValidPlayer(conqueror) && loser != conqueror && personality[loser] == kAvenger)
        avengeTarget[loser] = conqueror;
}

Neighbours ownAttackersOf(int t)
{
    Neighbours result;
    for (int n : neighboursOf(t))
        if (isOwnTerritory(n) && canAttack(n, t))
            result.add(n);
    return result;
}

void computePlayerStrength(int mode)
{
    playerRanking.fill({});
    playerStrength.fill({});
    for (PlayerRecord &record : playerTable)
        record.totalArmies() = 0;
    countPlayersLeft();
    const int equalShare = territoryCount / aiPlayersLeft / divisor();

    const int players = qBound(0, playerCount, kMaxPlayers);
    const TerritorySums sums = sumTerritories(players);
    for (int p = 1; p <= players; ++p) {
        const int strength = strengthOfPlayer(p, mode, equalShare, sums);
        playerRanking[p] = {p, isNeutralArmy(p) ? 0 : strength};
        playerStrength[p] = {p, strength};
    }
    for (int p = players + 1; p <= kMaxPlayers; ++p)
        playerStrength[p] = {p, -999};
    if (neutralArmyActive)
        addToRanking(1, 50);
    if (isAvengingNow())
        addToRanking(avengeTarget[currentPlayer], 100);

    // Only real players are ranked: an empty slot must never come out as the strongest.
    sortPairs(1, players);
    sortPairs(6, kMaxPlayers);
    mainEnemy = decideMainEnemy();
}

int findDominantPlayer(const std::array<qint32, kMaxPlayers + 1> &values)
{
    const double threshold = aiPlayersLeft >= 8 ? 35 : aiPlayersLeft >= 5 ? 40 : 50;
    double sum = 0;
    for (int p = 1; p <= kMaxPlayers; ++p)
        sum += values[p];
    if (sum <= 0)
        return 0;
    const double perCent = sum / 100.0;
    int dominant = 0;
    for (int p = 1; p <= kMaxPlayers; ++p)
        if (values[p] / perCent >= threshold)
            dominant = p;
    return dominant;
}

void aiRankContinents()
{
    MapLookupScope lookups;
    aiTargetList.fill(0);
    aiOwnMemberList.fill(0);
    continentRanking.fill({});
    notHeldContinents.fill(0);
    int count = 0;
    for (int c = 1; c <= continentCount; ++c)
        if (!playerHolds(currentPlayer, c))
            notHeldContinents[++count] = c;
    if (count == 0)
        return;

    for (int i = 1; i <= count; ++i) {
        const int c = notHeldContinents[i];
        continentRanking[i] = {c, baseScore(c) + frontierScore(c)};
    }
    sortPairs(3, count);

    const int target = targetContinent();
    if (target < 1 || target > continentCount)
        return;
    int own = 0, enemy = 0;
    for (int t : membersOf(target)) {
        if (isOwnTerritory(t))
            aiOwnMemberList[++own] = t;
        else
            aiTargetList[++enemy] = t;
        aiChosenTerritory = t;
    }
}

void aiPredictNextPlayers()
{
    nextPlayers.fill(0);
    for (ContinentPairList &ranking : nextPlayerRankings)
        ranking.fill({});
    const int players = qBound(0, playerCount, kMaxPlayers);
    if (players < 1 || !isValidPlayer(currentPlayer))
        return;

    int q = currentPlayer;
    for (int k = 1; k <= kDefenceOptions; ++k) {
        if (k >= 3 && players <= k)
            break;
        q = q % players + 1;
        {
            CurrentPlayerScope as(q);
            aiRankContinents();
        }
        nextPlayers[k] = q;
        for (int i = 1; i <= continentCount; ++i)
            nextPlayerRankings[k][i] = continentRanking[i];
    }
    aiRankContinents();
    aiAttackOptionCount = aiScoreAttacks();
}

int aiScoreAttacks()
{
    const int extra = aiArmiesToPlace + aiCardArmies;
    aiAttackOptions.fill({});
    int count = 0, own = 0, enemy = 0, examined = 0;
    auto record = [&count](int from, int target) {
        if (count < kMaxAttackOptions)
            aiAttackOptions[++count] = {from, target, armiesOf(from), armiesOf(target)};
    };

    const int limit = qMin<int>(maxContinentSize, kTargetListSize);
    for (int i = 1; i <= limit && aiTargetList[i] != 0; ++i) {
        const int target = aiTargetList[i];
        ++examined;
        const Neighbours attackers = ownAttackersOf(target);
        if (attackers.count == 0)
            continue; // nobody can attack it: no option, never one from territory 0
        const double defenders = qMax(1, armiesOf(target));
        int sum = 0, best = 0;
        double bestRatio = -1;
        for (int n : attackers) {
            sum += armiesOf(n);
            const double ratio = armiesOf(n) / defenders;
            if (ratio > bestRatio) {
                bestRatio = ratio;
                best = n;
            }
        }
        aiAttackRatio = bestRatio;

        const bool weakUnderOneForOne = armiesOf(best) < 3 && extra == 0 && attackRule == 'j';
        if (armiesOf(best) + extra > armiesOf(target) && !weakUnderOneForOne) {
            record(best, target);
            own += armiesOf(best);
            enemy += armiesOf(target);
        } else if (sum > armiesOf(target)) {
            for (int n : attackers) {
                if (armiesOf(n) > 2) {
                    record(n, target);
                    own += armiesOf(n);
                }
            }
            enemy += armiesOf(target);
        }
    }
    if (aiScoringMode != 14 && (count < examined || own + extra <= enemy + count))
        count = 0;
    return count;
}

void aiFindTargetContinents()
{
    breakTargets.fill({});
    breakTargetCount = 0;
    const int extra = aiArmiesToPlace + aiCardArmies;
    const int needed = attackRule == 'j' ? 3 : 2;
    for (int c = 1; c <= continentCount; ++c) {
        if (playerHolds(currentPlayer, c))
            continue;
        bool heldByOther = false;
        for (int p = 1; p <= kMaxPlayers; ++p)
            heldByOther = heldByOther || playerHolds(p, c);
        if (!heldByOther)
            continue;
        for (int b : bordersOf(c)) {
            int sum = 0, able = 0;
            for (int n : ownAttackersOf(b)) {
                if (armiesOf(n) + extra >= needed) {
                    sum += armiesOf(n);
                    ++able;
                }
            }
            if (able > 0 && breakTargetCount < kMaxPairEntries)
                breakTargets[++breakTargetCount] = {b, sum - armiesOf(b)};
        }
    }
    sortPairs(4, breakTargetCount);
}

void aiChooseWeakestOpponent(int &player, int &cost)
{
    chooseOpponent(player, cost, [] { return aiScoreAttacks() > 0; });
}

void aiChooseOpponent2(int &player, int &cost)
{
    chooseOpponent(player, cost, [] { return canBeAttackedFromNextDoor(); });
}

void aiTradeCards()
{
    aiArmiesToPlace = 0;
    aiCardArmies = 0;
    if (!isValidPlayer(currentPlayer))
        return;
    const PlayerRecord &record = playerTable[currentPlayer];
    if (record.f[PlayerRecord::ContinentBonus] > 0)
        aiArmiesToPlace = record.f[PlayerRecord::ContinentBonus];
    const CardHand hand = handOf(currentPlayer);
    const int cards = hand.total();
    if (cards < 2)
        return;
    aiCards = hand;
    if (cards >= 5) {
        tradeCardSet();
        aiArmiesToPlace += cardSetValue;
        return;
    }
    const bool pair = hand.artillery >= 2 || hand.infantry >= 2 || hand.cavalry >= 2;
    const bool wildWithSingle
        = hand.wild >= 1 && (hand.artillery == 1 || hand.infantry == 1 || hand.cavalry == 1);
    if (pair || wildWithSingle) {
        bestCardSetValue();
        aiCardArmies = cardSetValue;
    }
}

void aiPlaceContinentBonus()
{
    aiTradeCards();
    if (aiArmiesToPlace <= 0 || !isValidPlayer(currentPlayer))
        return;
    if (aiArmiesToPlace > playerTable[currentPlayer].f[PlayerRecord::ContinentBonus]) {
        queueCardTrade();
        return;
    }
    if (fastSpeed || aiPlayer < 1 || aiPlayer > kMaxPlayers)
        return;
    const QString tail = aiArmiesToPlace == 1 ? QStringLiteral(" army based on continents.")
                                              : QStringLiteral(" armies based on continents.");
    queueTextEvent(shownPlayerName(aiPlayer) + QStringLiteral(" places ") + QString::number(aiArmiesToPlace) + tail);
}
