#pragma once
// Cards: the deck, the draw, and the one rule that says what a hand of cards is worth and
// which cards a trade hands in. Humans and computer players trade by the same rule.

#include "state/GameState.h"

#include <QtGlobal>

struct CardHand {
    qint32 artillery = 0;
    qint32 infantry = 0;
    qint32 cavalry = 0;
    qint32 wild = 0;
    qint32 total() const { return artillery + infantry + cavalry + wild; }
    bool operator==(const CardHand &o) const
    {
        return artillery == o.artillery && infantry == o.infantry && cavalry == o.cavalry && wild == o.wild;
    }
};

struct CardSet {
    qint32 cardsCounted = 0;   // N: the cards the set is made of
    qint32 valueEvaluated = 0; // what the hand is rated at before a trade
    qint32 valueTraded = 0;    // what a trade of it gives
    CardHand handedIn;         // the cards a trade gives back to the deck
};

// The card table's ceiling: a set of N cards gives at most 5 x N - 5 armies, a lone wild card 5,
// so no trade gives more than this many armies a card.
constexpr qint32 kArmiesPerCard = 5;

// A kind counts with 2 or more cards (then all of them), wild cards from 1; the value is
// 5 x N - 5 with the exceptions of the card table.
CardSet evaluateCardSet(const CardHand &hand);

CardHand handOf(int player);
CardHand handOf(const PlayerRecord &record);
// One card of `kind` (a CardKind) more in the record's hand.
void addCard(PlayerRecord &record, int kind);
// Takes the handed-in cards from the player and puts them back into the deck.
void handInCards(int player, const CardHand &cards);
// Draws one card at random in proportion to the deck and gives it to the player; returns the
// CardKind drawn, or -1 when the deck is empty.
int drawCard(int player);
// Cards held by all players and left in the deck: always 53 in a game.
int cardsInPlay();
// Queues the notice of a trade for the game loop: the cards shown, the armies they gave and the
// player (action step 3), three ticks of pause and the close (4); all of it or nothing.
void queueCardTradeNotice(const CardHand &shown, int armies, int player);
