#include "rules/Cards.h"

#include "state/GameState.h"
#include "state/Seams.h"
#include "state/StepQueues.h"

namespace {

qint32 counted(qint32 cards)
{
    return cards >= 2 ? cards : 0;
}

bool someKindHas(const CardHand &hand, qint32 cards)
{
    return hand.artillery == cards || hand.infantry == cards || hand.cavalry == cards;
}

} // namespace

CardSet evaluateCardSet(const CardHand &hand)
{
    CardSet set;
    set.handedIn.artillery = counted(hand.artillery);
    set.handedIn.infantry = counted(hand.infantry);
    set.handedIn.cavalry = counted(hand.cavalry);
    set.handedIn.wild = qMax(0, hand.wild);
    const qint32 n = set.handedIn.total();
    set.cardsCounted = n;
    set.valueEvaluated = set.valueTraded = n > 0 ? kArmiesPerCard * (n - 1) : 0;
    if (n == 1) {
        // A wild card alone takes one single card of a kind with it.
        set.valueEvaluated = set.valueTraded = kArmiesPerCard;
        if (hand.artillery == 1)
            set.handedIn.artillery = 1;
        else if (hand.infantry == 1)
            set.handedIn.infantry = 1;
        else if (hand.cavalry == 1)
            set.handedIn.cavalry = 1;
    } else if (n == 4) {
        set.valueEvaluated = set.valueTraded = (hand.wild != 2 && someKindHas(hand, 2)) ? 10 : 15;
    } else if (n == 5) {
        const bool threeOfAKind = hand.wild != 2 && someKindHas(hand, 3);
        const bool wildWithPair = hand.wild == 1 && someKindHas(hand, 2);
        if (threeOfAKind || wildWithPair) {
            set.valueEvaluated = 20;
            set.valueTraded = 15;
        }
    }
    return set;
}

CardHand handOf(int player)
{
    if (player < 1 || player > kMaxPlayers)
        return CardHand();
    return handOf(playerTable[player]);
}

CardHand handOf(const PlayerRecord &record)
{
    CardHand hand;
    hand.artillery = record.f[PlayerRecord::Artillery];
    hand.infantry = record.f[PlayerRecord::Infantry];
    hand.cavalry = record.f[PlayerRecord::Cavalry];
    hand.wild = record.f[PlayerRecord::Wild];
    return hand;
}

void handInCards(int player, const CardHand &cards)
{
    if (player < 1 || player > kMaxPlayers)
        return;
    PlayerRecord &record = playerTable[player];
    const qint32 artillery = qBound(0, cards.artillery, record.artillery());
    const qint32 infantry = qBound(0, cards.infantry, record.infantry());
    const qint32 cavalry = qBound(0, cards.cavalry, record.cavalry());
    const qint32 wild = qBound(0, cards.wild, record.wild());
    record.artillery() -= artillery;
    record.infantry() -= infantry;
    record.cavalry() -= cavalry;
    record.wild() -= wild;
    cardDeckCounts[CardArtillery] += artillery;
    cardDeckCounts[CardInfantry] += infantry;
    cardDeckCounts[CardCavalry] += cavalry;
    cardDeckCounts[CardWild] += wild;
}

int drawCard(int player)
{
    if (player < 1 || player > kMaxPlayers)
        return -1;
    int deck = 0;
    for (qint32 count : cardDeckCounts)
        deck += qMax(0, count);
    if (deck == 0)
        return -1;
    int pick = randomSource().below(deck);
    int kind = CardWild;
    for (; kind <= CardArtillery; ++kind) {
        const int count = qMax(0, cardDeckCounts[kind]);
        if (pick < count)
            break;
        pick -= count;
    }
    --cardDeckCounts[kind];
    addCard(playerTable[player], kind);
    return kind;
}

void addCard(PlayerRecord &record, int kind)
{
    switch (kind) {
    case CardWild:
        ++record.wild();
        break;
    case CardCavalry:
        ++record.cavalry();
        break;
    case CardInfantry:
        ++record.infantry();
        break;
    default:
        ++record.artillery();
        break;
    }
}

int cardsInPlay()
{
    int total = 0;
    for (qint32 count : cardDeckCounts)
        total += count;
    for (int p = 1; p <= kMaxPlayers; ++p)
        total += playerTable[p].cardCount();
    return total;
}

void queueCardTradeNotice(const CardHand &shown, int armies, int player)
{
    if (!actionQueueHasRoom(5))
        return;
    pushActionStep(makeStep(3, shown.artillery, shown.infantry, shown.cavalry, shown.wild, armies, player));
    for (int i = 0; i < 3; ++i)
        pushActionStep(makeStep(12));
    pushActionStep(makeStep(4));
}
