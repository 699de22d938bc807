#pragma once
// The start of a game: the deal, the initial placement of every player (a stronghold first when
// strongholds are on) and the first player's first turn.

#include <QString>
#include <QtGlobal>

// Set when territories have been dealt: the next set-up begins with a full reset and a
// settings reload. (Read and cleared by the set-up flow.)
extern quint8 settingsReloadPending;

// How many times a deal that hands a player a whole continent is dealt again before the last
// deal is kept.
constexpr int kMaxRedeals = 50;

// The armies a stronghold gains when it is chosen, on top of the initial armies.
constexpr int kStrongholdBonus = 14;

// The initial placement fills a territory up to this many armies (the stronghold gets none).
constexpr int kPlacementFill = 4;

// Deals territories 1..territoryCount among players 1..playerCount, one army each, after the
// initial armies have been computed for the final player count (the demo plays with 9). Both the
// rules' and the displayed state receive the deal; strongholds of an earlier map are forgotten.
void dealTerritories();
// True when some player owns every member of a continent of two or more territories.
bool dealGivesAwayContinent();

// The status text: the current player's name and ", initial placement of %d armies.".
void announceInitialPlacement();
// The prompt of an initial placement with `available` armies still to place.
QString placementPrompt(int available);

// Queues the end-of-turn steps of `currentPlayer` that carry a computer player's initial
// placement: action steps 8, 11, four pauses (12) and 10, all of them or none.
void queueEndOfTurn();

// The start of play of a local game (single player, hotseat, high score, rank, campaign, demo),
// once the players are known and the territories dealt: the first player, the initial placement
// of the computer players before the first human, the mission announcements and the first
// human's prompt. A demo hands play straight to the computer players.
void startLocalGame();
// The placement of a campaign's next map: player 1 places first. `showMissionContinent` queues
// the highlight of the first continent of a Continents mission before the prompt.
void startPlacementPhase(bool showMissionContinent);

// Territory t may become the current player's stronghold: his own, and not next to a territory
// of exactly 15 armies (another stronghold) unless all his territories are.
bool strongholdAllowed(int t);
// Territory t becomes the current player's stronghold with 14 more armies.
void placeStronghold(int t);
// The stronghold choice of the current player on territory s (accepted by
// selectPlacementTerritory): it gains 14 armies in a local game, becomes his `stronghold`, and his
// initial placement follows.
void chooseStronghold(int s);

// The largest number of initial armies one click may put on territory t: at most 3 a click, at
// most 4 on a territory, never more than are left, nothing on the own stronghold.
int initialPlacementLimit(int t);
// Places `count` initial armies on `selectedTerritory` (the army-count answer); 0 cancels the
// click. When the player has placed them all, the placement passes to the next player.
void initialPlacementStep(int count);
