#pragma once
// What the parts of the host's check of an acting seat's state share. Each part reads one kind of
// change off the state, and builds what the rules make of the game the host holds by that change;
// the state is taken only when it is exactly that.

#include "net/StateSnapshot.h"
#include "rules/Battle.h"
#include "rules/Cards.h"

#include <array>

// The rules' state: as the host holds it, as a state claims it, or as the rules make it.
struct RulesTables {
    std::array<TerritoryState, kMaxTerritories + 1> territories{};
    std::array<PlayerRecord, kMaxPlayers + 1> players{};
    std::array<qint32, 4> deck{}; // by CardKind
};
RulesTables heldTables();
RulesTables claimedTables(const StateSnapshot &s);

qint32 recordField(const RulesTables &tables, int player, PlayerRecord::Field field);
// Out by the rules: no territory left, or in a stronghold game no stronghold of his own.
bool outOfGame(const RulesTables &tables, int player);

// ---- Battles (TurnCheckBattle.cpp) ----

// The one battle a state may carry: every attack is sent as soon as it is fought.
struct TurnBattle {
    int from = 0;
    int to = 0;
    int defender = 0;
    int committed = 0;
    BattleResult result;
    bool conquered = false;
    int movedIn = 0; // armies that followed the conquest in the same state
};

// Reads the battle that `claimed` carries for `seat` and makes `expected` of `held` by it: the
// losses, the conquest with its card (while `cardDue`), the stronghold taken, the cards of a
// player put out and both players' records. False when no battle by the rules makes the claim.
bool expectBattle(const RulesTables &held, const RulesTables &claimed, int seat, bool cardDue,
                  RulesTables &expected, TurnBattle &battle);

// ---- Cards (TurnCheckCards.cpp) ----

// The card a conquest drew, if the deck shows one: it leaves the deck for the seat's hand. False
// when the deck changed otherwise, or the turn's card was earned already.
bool expectCardDrawn(const RulesTables &held, const RulesTables &claimed, int seat, bool cardDue,
                     RulesTables &expected);
// The cards the seat handed in, if any, as trades of the sets the card dialog offers: they leave
// his hand for the deck and his card bonus grows by their armies, `value`. False when no such
// trades hand in those cards for that value.
bool expectTrades(const RulesTables &held, const RulesTables &claimed, int seat, RulesTables &expected, int &value);

// ---- Moves (TurnCheckMoves.cpp) ----

// The fewest armies that moves between neighbouring territories of the seat carry to turn
// `before` into `after`; -1 when no moves make it (armies gained or lost, a territory left empty,
// or one that the seat's own territories do not lead to).
qint64 armiesMovedAtLeast(const RulesTables &before, const RulesTables &after, int seat);
// `after` differs from `before` only by armies moved from `from` to `to`.
bool onlyMovedBetween(const RulesTables &before, const RulesTables &after, int from, int to);
