#pragma once
// The computer players' own state: the pair lists, the scratch values one turn shares between
// its operations, the plan scores and the route plans. Every turn computes the scratch values
// afresh before it uses them; `pairs10` and the learned routes outlive the turn.

#include "rules/Cards.h"
#include "state/GameState.h"

#include <array>

struct Pair {
    qint32 id = 0;
    qint32 value = 0;
};

// A pair list can take one entry per border slot of every continent; lists end at the first
// entry whose id is 0, so each has one spare entry that always stays empty.
constexpr int kMaxPairEntries = kMaxContinents * kMaxBorderEntries;
using PlayerPairList = std::array<Pair, kMaxPlayers + 2>;
using ContinentPairList = std::array<Pair, kMaxContinents + 2>;
using TerritoryPairList = std::array<Pair, kMaxPairEntries + 2>;

// Per player: the main enemy the computer player last swept against and the turn it did.
extern std::array<Pair, kMaxPlayers + 1> pairs10;

// ---- The six lists `sortPairs` knows by mode ----
extern PlayerPairList playerRanking;            // 1: (player, strength), descending
extern TerritoryPairList reinforceCandidates;   // 2: (territory, value), ascending
extern qint32 reinforceCandidateCount;
extern ContinentPairList continentRanking;      // 3: (continent, score), descending
extern TerritoryPairList breakTargets;          // 4: (territory, score), descending
extern qint32 breakTargetCount;
extern ContinentPairList continentOrder;        // 5: (continent, bonus), ascending
extern PlayerPairList playerStrength;           // 6: (player, strength), descending

// ---- Whose turn, and the armies it brings ----
extern qint32 aiPlayer;          // the computer player whose turn is computed
extern qint32 aiChosenTerritory; // the territory the placement steps work on
// Players with territories, as the last strength rating counted them (2 when nobody has any).
// The rules' playersLeft() counts afresh; this is the value the planning decided on.
extern qint32 aiPlayersLeft;
extern qint32 mainEnemy; // the player every computer player turns against; 0 none
extern qint32 aiArmiesToPlace; // the pool: continent bonus and traded cards still to place
extern qint32 aiCardArmies;    // a set that could be traded but was not

// ---- Cards ----
extern CardHand aiCards; // the hand a set is evaluated or traded from
extern qint32 cardsTraded;      // cards counted in the last set
extern qint32 lastCardSetValue; // the value shown to the players with the trade

// ---- Continents and targets ----
constexpr int kTargetListSize = kMaxContinentMembers;
using TerritoryList = std::array<qint32, kTargetListSize + 2>; // 0-terminated
extern std::array<qint32, kMaxContinents + 2> notHeldContinents; // 0-terminated
extern TerritoryList aiTargetList;
extern TerritoryList aiOwnMemberList;
// Following players in turn order and the continent ranking computed for each of them.
extern std::array<qint32, kMaxPlayers> nextPlayers; // 1..9
extern std::array<ContinentPairList, kMaxPlayers> nextPlayerRankings;

// ---- Attack options ----
struct AttackOption {
    qint32 from = 0;
    qint32 target = 0;
    qint32 fromArmies = 0;
    qint32 targetArmies = 0;
};
constexpr int kMaxAttackOptions = 100;
extern std::array<AttackOption, kMaxAttackOptions + 1> aiAttackOptions;
extern qint32 aiAttackOptionCount;
extern qint32 aiListedOptionCount;
extern qint32 aiChosenOption;
extern double aiAttackRatio;
extern qint32 aiScoringMode; // 14: the scoring keeps every option it finds

// ---- Opponents, as the turn's opponent choices left them ----
extern qint32 aiWeakestOpponent;
extern qint32 aiWeakestOpponentCost;
extern qint32 aiNearOpponent;
extern qint32 aiNearOpponentCost;

// ---- Plan records and scores ----
struct PlanRecord {
    qint32 continentBonus = 0;
    qint32 cardValue = 0;
    qint32 territoryArmies = 0;
    qint32 othersBestBonus = 0;
    qint32 othersBestCardValue = 0;
};
extern std::array<PlanRecord, kMaxPlayers + 1> territoryPlan;

extern qint32 holdScore;
extern qint32 takeScore;
extern qint32 breakScore;
extern qint32 routeScore;
extern qint32 continentRouteScore;
extern qint32 weakestOpponentScore;
extern qint32 nearOpponentScore;
constexpr int kDefenceOptions = 9;
extern std::array<qint32, kDefenceOptions + 1> defenceScore; // 1..9, by following player
extern std::array<qint32, kDefenceOptions + 1> defenceNeed;
extern std::array<qint32, kDefenceOptions + 1> defendTerritory;
extern char takeCancelled; // 'j' / 'n'
extern char planCancelled;
extern char outIncomeFlag;
extern qint32 takeTargetContinent; // 0: the take plan aims at the top-ranked continent
extern qint32 routeTarget;
extern qint32 reinforceShortfall;

// ---- Route plans ----
struct RouteSegment {
    qint32 route = 0;
    qint32 targetPos = 0;
    qint32 ownPos = 0;
};
struct RoutePlan {
    qint32 route = 0; // 0: no plan
    qint32 ownPos = 0;
    qint32 targetPos = 0;
    qint32 surplus = 0;
};
constexpr int kMaxRouteSegments = 8000;
constexpr int kMaxRoutePlans = 2000;
extern std::array<RouteSegment, kMaxRouteSegments + 2> routeSegments;
extern qint32 routeSegmentCount;
extern std::array<RoutePlan, kMaxRoutePlans + 1> routePlans;
extern qint32 routePlanCount;
extern qint32 bestRoutePlan; // index into routePlans, 0 none
extern qint32 lastSegmentArmySum; // the army sum of the last segment weighed
extern RoutePlan worldTargetPath;
extern RoutePlan strongholdPath;
extern RoutePlan continentRoutePlan;
extern qint32 routePlanMode; // 8 or 9

// ---- Route search work table ----
constexpr int kCandidateLength = 11;
constexpr int kMaxCandidateRows = 60000;
using RouteCandidate = std::array<quint8, kCandidateLength + 1>; // 1..11, 0-terminated
extern std::array<RouteCandidate, kMaxCandidateRows + 2> routeCandidates;
extern qint32 routeCandidateCount;
extern std::array<quint8, kCandidateLength> routePath; // entry 0: the start territory
extern bool shortRouteOnly;

// ---- The turn ----
enum Personality {
    PersonalityNormal = 0,
    PersonalityConqueror = 1,
    PersonalityDefensive = 2,
    PersonalityAvenger = 3,
    PersonalityDetermined = 4,
    PersonalityHunter = 5,
    PersonalityUnstable = 6, // a setting only: the player plays one of the six, switching now and then
};

// The actions a computer player chooses among; 0 none. The defence actions 1..9 (against the
// 1st to 9th following player) carry the codes of `kDefenceActions`.
enum AiAction {
    ActionNone = 0,
    ActionHold = 3,
    ActionTake = 4,
    ActionBreak = 5,
    ActionContinentRoute = 8,
    ActionRoute = 9,
    ActionWorldRoute = 12,
    ActionWeakestOpponent = 13,
    ActionNearOpponent = 14,
    ActionStrongholdRoute = 15,
    ActionGuardStronghold = 16,
    ActionAttackStronghold = 17,
};
constexpr std::array<qint32, kDefenceOptions + 1> kDefenceActions{0, 6, 7, 10, 11, 22, 23, 24, 25, 26};
// The defence option (1..9) an action code stands for; 0 for any other code.
int defenceOptionOf(int action);

extern qint32 aiActionCycle;   // action cycles played in this turn
extern qint32 chosenAction;    // the action of the running cycle
extern qint32 bestActionScore; // and its score
extern quint8 territoryArmiesPlaced;
// Stop counters of the action cycles, cleared at the start of every turn.
extern qint32 reinforceRounds; // calls of aiChooseReinforcement
extern qint32 poolRounds;      // calls of aiPlaceFromPool
extern qint32 noAttackOptions; // 1 once aiAttackAndAdvance found nothing to attack
extern qint32 occupyAttempts;  // calls of aiAttackAndOccupy
extern qint32 equalShareIncome; // the territory armies every player would get from an equal share
// Action 17: the own territory that attacks an adjacent enemy stronghold, and that stronghold.
extern qint32 strongholdAttackSource;
extern qint32 strongholdAttackTarget;
// The real armies of territories 1..200 while the planning works on experience-weighted ones.
extern std::array<qint32, kMaxTerritories + 1> savedArmies;

void resetAiState();
