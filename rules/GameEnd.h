#pragma once
// How a game ends: victory, the human player's mission, lost strongholds, stalemate, and the
// campaign's won and lost marks. A decided game queues its end for the game loop (message step 8
// when a human of this machine decided it, action step 9 otherwise) and is appended to the
// scores file when it counts.

#include "state/GameState.h"

// What one conquest changed, for the end-of-game rules.
struct ConquestOutcome {
    int attacker = 0;
    int defender = 0;
    bool defenderWentOut = false;           // the conquest put the defender out of the game
    bool strongholdTaken = false;           // the territory was the defender's stronghold
    bool defenderLostHeldContinent = false; // a continent the defender held in full is broken
};

// At the start of every game: each player's mission continents in a random order, the first of
// them asked for, the player to escort, and no result yet.
void assignMissions();

// After every conquest: decides the game when the conquest ended it. A stronghold game ends
// without a winner once no human seat is left in it, whichever machine the seat plays at.
void settleConquest(const ConquestOutcome &outcome);

// Thirty full rounds without a territory changing owner: the game ends without a winner.
void endGameInStalemate();

// The human's side of a decided game once his attack has ended it and its move question is
// answered: the scores are read again, the in-game buttons and phases are switched off, and a
// high-score game may be submitted (once per game); then the end of the game is queued for the
// game loop.
void finishDecidedGame();
// A network game decided at another machine ends here as it did there: the winner in the bar,
// or the reason of an end without one, read from the state that tells of the end; then the end.
void pushEndDecidedElsewhere();

// A campaign goes on to its next map: the players start it as a new game starts, with no card
// (every card back in the deck) and nothing of the last map's turn left to act. The records'
// battle losses stay: they are the campaign's score and the next map's troop experience.
void prepareNextCampaignMap();

// The top-five list a won high-score game goes to: 0 for a campaign, else the map's list
// (1 World, 2 Europe, 3 North America, 4 China, 5 Japan, 6 World II, 7 Swamp, 8 Australia).
int topFiveMapSet();
// The dialog side of a won high-score game's submission (map set, the winner's losses); the
// window's dialogs install it. Nothing is offered while none is installed.
extern void (*topFiveSubmission)(int mapSet, int losses);

// A demonstration game: the computer players alone, seat 1 nobody's.
bool isDemoGame();
// The neutral army of a two-player game holds territories but never plays.
constexpr int kNeutralArmyPlayer = 3;
bool isNeutralArmyPlayer(int player);
// A player is out with no territory left, or in a stronghold game without his stronghold.
bool playerOutOfGame(int player);
// The player whose mission counts: the one human of a single-player game with a mission, or 0.
int missionHolder();
// Continents the Continents mission asks for: half the list, rounded up.
int missionContinentsToConquer();

void resetGameEndState();
