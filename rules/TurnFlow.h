#pragma once
// The flow of a turn: who plays next, the start of a human turn with its reinforcement, the
// phases a human moves through by the in-game buttons and map clicks, the answers of the
// army-count and card dialogs, and troop experience.

#include "rules/Cards.h"

#include <QtGlobal>

#include <array>

// The demo's prompt on the status line (blinking while the demo runs).
constexpr char kDemoPrompt[] = "TO STOP THE DEMO, click anywhere on the game window.";

// ---- Showing the turn on the map and in the buttons ----

// Territory t picked: shown highlighted and marked.
void markTerritory(int t);
// Territory t shown plain again, no longer picked.
void unmarkTerritory(int t);
// Armies placed on or moved to t: queued for display highlighted with the sound and the army
// count, then plain.
void showArmiesArriving(int t, int sound, int delta);
// No phase of a human turn in progress.
void clearTurnPhases();
// Every in-game button off.
void disableTurnButtons();
// Nothing of the current turn acts any more (its end has been asked for, the game is decided, or
// a campaign map is left behind): no button, phase, pending answer or required card trade is
// left, and the game cannot be saved.
void closeTurn();
// The per-turn counters, phases and selections back to a turn's start.
void startTurnCounters();
// The current player's records as his turn starts: the status bar's figures and the losses
// shown come from this copy.
void takeTurnStartCopy();

// ---- Whose turn ----

// The player after p in turn order: players who are out and the neutral army are passed over.
// p itself when nobody else can play.
int followingPlayer(int p);

// Passes the turn from `currentPlayer` to the following player: counts the turn taken, counts
// the quiet rounds for the stalemate, and clears `turnStarted` when a human of this machine is
// next so that the game loop begins his turn. The computer players' turn loop calls this after
// each computer turn; it is the one place that decides whose turn is next.
void passTurnToNextPlayer();
// Lets the current player begin: a human of this machine through the game loop's hand-over
// (`turnStarted` cleared), anybody else through message step 5 (the computer players' turns).
void beginPlayOfCurrentPlayer();
// Ends the turn of the current human player and passes play on (the Next Player button, through
// `resetTurnCounters`); with a computer player current it lets him begin. In the demo it also
// queues the demo's prompt.
void nextPlayer();
// Clears the per-turn counters, then `nextPlayer`.
void resetTurnCounters();

// ---- The start of a human turn ----

// Starts the turn of `currentPlayer` when he is a human of this machine: troop experience,
// route planning, the reinforcement by territories, continents and cards, the card obligation,
// the prompts and the sound; sets `turnStarted`. In the demo, player 1's seat belongs to nobody
// and its turn is handed on at once.
void beginTurn();
// Troop experience of every player at the start of the current player's turn (from his 10th
// turn on; the same rule for humans and computer players), copied into his row of
// `troopExperienceShown`.
void updateTroopExperience();

// ---- Phases and buttons ----

// Armies a turn may move after its attacks, counted over all its moves.
constexpr int kMoveAllowance = 7;


// `canAttackFlag` and `canMoveFlag` for `currentPlayer`.
void updateActionFlags();
// The in-game buttons as they stand outside any selection: after a phase has ended or been
// cancelled.
void refreshTurnButtons();
// The buttons again once the steps of a turn's step have played (message step 4), by the state
// of the turn now rather than when the step was queued: Attack while an attack can be made and
// nothing has moved, after an attack Move (7 armies to move) and Next Player, before one Add
// while armies are due. A selection begun meanwhile, a required card trade or a decided game
// keeps the buttons it set.
void reopenTurnButtons();
void enterTerritoryBonusPhase();
void enterContinentBonusPhase();
void enterCardBonusPhase();
void enterAttackPhase();
void enterMovePhase();
// The Cancel button: drops the selection in progress (in a demo it stops the demo).
void endHumanTurn();

// Accepts or refuses (beep, `selectedTerritory` 0) territory t for the phase in progress.
void selectPlacementTerritory(int t);
// The largest number of armies the current move may carry from `sourceTerritory`.
int moveLimit();

// ---- The army-count answer ----

// Resumes the step that asked, by the pending flag; 0 cancels the click that asked.
void applyArmyCount(int count);
void reinforceByTerritories(int count);
void placeContinentBonusArmies(int count);
void placeCardBonusArmies(int count);
// Moves `count` armies from `sourceTerritory` to `targetTerritory` within `moveAllowance`.
void beginMovePhase(int count);

// ---- The human card trade ----

constexpr int kMaxOfferedCardSets = 6;
// The sets the card dialog offers, best first: entries 1..offeredCardSetCount.
extern std::array<CardSet, kMaxOfferedCardSets + 1> offeredCardSets;
extern qint32 offeredCardSetCount;
// Set while the card dialog is open because the player holds 5 or more cards at the start of
// his turn: then a trade is required.
extern quint8 cardTradeRequired;

// The sets a hand can trade by the card-set rule, best first, at most six.
int collectCardSets(const CardHand &hand, std::array<CardSet, kMaxOfferedCardSets + 1> &sets);
// The Cards button: offers the current player's sets in the card dialog (a beep without any).
void openCardTradeDialog();
// The card dialog's answers: 1..6 trade the offered set and go on with its armies; 0 closes the
// dialog without a trade (refused while a trade is required).
void kaartidlg0();
void kaartidlg1();
void kaartidlg2();
void kaartidlg3();
void kaartidlg4();
void kaartidlg5();
void kaartidlg6();

// ---- Seams to the window and the network ----

// Returns the program to its start state (the window installs the reset of the game defaults,
// the settings reload and the display-size fit); used when Cancel stops a demo.
extern void (*returnToStartState)();
// The one call point for the network messages of the turn flow. Does nothing outside a network
// game. (Network play: 1004, 1005, 1007, 1011.)
void sendNetworkUpdate(int code);
// The acting machine's state after one of its actions (a placement, a conquest, a move) goes to
// the other machines at once: 1003 from the host, 1006 from a client.
void sendActionUpdate();

// Every global of this header and of the game start back to its start value.
void resetTurnFlowState();
