#pragma once
// The state of the turn flow: phases, per-turn flags, the army counts due, missions and the
// results of a decided game. Owned by the rules; the loop, the mouse handler and the files
// read and write it.

#include "state/GameState.h"

#include <QDateTime>

// ---- Phases of a human turn (one byte each) ----
extern quint8 strongholdPhase;
extern quint8 initialPlacementPhase;
extern quint8 territoryBonusPhase;
extern quint8 continentBonusPhase;
extern quint8 cardBonusPhase;
extern quint8 attackTargetPhase;
extern quint8 attackSourcePhase;
extern quint8 moveTargetPhase;
extern quint8 moveSourcePhase;
extern quint8 selectOwnTerritory;
extern qint32 selectedTerritory;
extern qint32 sourceTerritory;
extern qint32 targetTerritory;
extern qint32 moveAllowance; // armies that may still be moved this turn
extern quint8 moveBlocked;

// ---- Armies due ----
// Initial-placement round while the armies are dealt out; 0 after it. A loaded game sets it to
// the current player's turns taken, so a game under way reads as such (a network game is dealt
// again, which restarts it).
extern qint32 placementRound;
extern qint32 armiesToPlace;
extern qint32 territoryArmiesDue;
extern qint32 continentArmiesDue;
extern qint32 cardArmiesDue;
extern qint32 attackArmies;

// ---- What the army-count answer resumes (one is set while the question is open) ----
extern quint8 pendingPlacementCount;
extern quint8 pendingTerritoryBonusCount;
extern quint8 pendingContinentBonusCount;
extern quint8 pendingCardBonusCount;
extern quint8 pendingConquestMoveCount;
extern quint8 pendingAttackCount;
extern quint8 pendingMoveCount;

// ---- Turn ----
extern quint8 turnStarted;
extern quint8 attackMadeThisTurn;
extern char cardEarnedThisTurn; // 'j' once a conquest has earned this turn's card
extern char canAttackFlag;      // 'a' an attack is possible, else 'p'
extern char canMoveFlag;        // 'j' a move is possible, else 'n'
// Enabled flags of the in-game buttons 1..6: Next Player, Cards, Move, Add, Attack, Cancel.
enum GameButton { ButtonNext = 1, ButtonCards, ButtonMove, ButtonAdd, ButtonAttack, ButtonCancel };
extern std::array<quint8, 7> inGameButtonEnabled;
extern quint8 saveAllowed;
extern qint32 cardTradeMarker; // 177 once a card set has been traded in this run
extern qint32 cardSetValue;
// The last card trade shown: artillery, infantry, cavalry, wild, armies, player (1..6).
extern std::array<qint32, 7> cardTradeValues;
extern quint8 avengerActive;
extern quint8 missilesInPlay;
extern qint32 pendingMoveArmies;
extern quint8 rocketInFlight;
extern quint8 refreshAttackAfterLanding;

// ---- Missions ----
extern std::array<std::array<qint32, kMaxContinents + 1>, kMaxPlayers + 1> missionContinents;
extern qint32 missionContinentIndex; // 1-based position in the current player's list
extern qint32 escortTarget;
extern quint8 missionFailed;
extern quint8 noWinner;
extern qint32 quietRounds; // full rounds without a territory changing owner

// ---- Game kind ----
extern quint8 localGameRunning;
extern quint8 gameEnded;
extern quint8 demoRunning;
extern quint8 rankGame;
extern qint32 rankAtGameStart;
extern qint32 rankFlagAtGameStart;
extern quint8 internetGame;
extern qint32 networkKind; // 0 none, 1 LAN, 2 Internet

// ---- Play time ----
extern QDateTime gameStartTime;
extern QDateTime playTimeStamp;
extern double playTimeSeconds;

// Every global of this header back to its start value.
void resetTurnState();
