#include "net/TurnCheckParts.h"

#include "rules/TurnFlow.h"

namespace {

// Each trade hands in two cards or more, and a hand holds at most the deck's 53: the longest run
// of trades one state could carry is far shorter than this.
constexpr int kMostTradesInOneState = 8;

bool holdsAtLeast(const CardHand &hand, const CardHand &cards)
{
    return hand.artillery >= cards.artillery && hand.infantry >= cards.infantry && hand.cavalry >= cards.cavalry
        && hand.wild >= cards.wild;
}

CardHand less(const CardHand &hand, const CardHand &cards)
{
    CardHand rest;
    rest.artillery = hand.artillery - cards.artillery;
    rest.infantry = hand.infantry - cards.infantry;
    rest.cavalry = hand.cavalry - cards.cavalry;
    rest.wild = hand.wild - cards.wild;
    return rest;
}

// Trades of sets the card dialog offers, one after another, hand in exactly `handedIn` from
// `hand` for `value` armies.
bool tradesGive(const CardHand &hand, const CardHand &handedIn, int value, int trades = 0)
{
    if (handedIn.total() == 0)
        return value == 0;
    if (value <= 0 || trades >= kMostTradesInOneState)
        return false;
    std::array<CardSet, kMaxOfferedCardSets + 1> sets;
    const int offered = collectCardSets(hand, sets);
    for (int i = 1; i <= offered; ++i) {
        const CardSet &set = sets[i];
        if (holdsAtLeast(handedIn, set.handedIn)
            && tradesGive(less(hand, set.handedIn), less(handedIn, set.handedIn), value - set.valueTraded, trades + 1))
            return true;
    }
    return false;
}

void takeFromHand(PlayerRecord &record, const CardHand &cards)
{
    record.artillery() -= cards.artillery;
    record.infantry() -= cards.infantry;
    record.cavalry() -= cards.cavalry;
    record.wild() -= cards.wild;
}

} // namespace

bool expectCardDrawn(const RulesTables &held, const RulesTables &claimed, int seat, bool cardDue, RulesTables &expected)
{
    int drawn = -1;
    for (int kind = CardWild; kind <= CardArtillery; ++kind) {
        const qint32 fewer = held.deck[kind] - claimed.deck[kind];
        if (fewer == 0)
            continue;
        if (fewer != 1 || drawn != -1)
            return false;
        drawn = kind;
    }
    if (drawn == -1)
        return true;
    if (!cardDue)
        return false;
    --expected.deck[drawn];
    addCard(expected.players[seat], drawn);
    return true;
}

bool expectTrades(const RulesTables &held, const RulesTables &claimed, int seat, RulesTables &expected, int &value)
{
    const CardHand hand = handOf(held.players[seat]);
    const CardHand handedIn = less(hand, handOf(claimed.players[seat]));
    value = recordField(claimed, seat, PlayerRecord::CardBonusReceived)
          - recordField(held, seat, PlayerRecord::CardBonusReceived);
    if (!holdsAtLeast(handedIn, CardHand()) || !tradesGive(hand, handedIn, value))
        return false;
    PlayerRecord &record = expected.players[seat];
    takeFromHand(record, handedIn);
    record.cardBonusReceived() += value;
    expected.deck[CardArtillery] += handedIn.artillery;
    expected.deck[CardInfantry] += handedIn.infantry;
    expected.deck[CardCavalry] += handedIn.cavalry;
    expected.deck[CardWild] += handedIn.wild;
    return true;
}
