#include "rules/TurnFlow.h"

#include "ai/RoutePlanning.h"
#include "rules/Attack.h"
#include "rules/GameEnd.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/Seats.h"
#include "rules/Sound.h"
#include "rules/TurnAnimations.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/Seams.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <algorithm>
#include <vector>

std::array<CardSet, kMaxOfferedCardSets + 1> offeredCardSets{};
qint32 offeredCardSetCount = 0;
quint8 cardTradeRequired = 0;
void (*returnToStartState)() = nullptr;

namespace {

constexpr int kStalemateRounds = 30;
constexpr int kCardObligation = 5;

// A move ends the attacks of a turn; Cancel before any army has moved does not.
quint8 movedThisTurn = 0;

// The armies t holds for the turn's choices, the ones landing on it included.
int armiesCounted(int t)
{
    return territoryState[t].armies + armiesArrivingAt(t);
}

// Every picked or highlighted territory shown plain again.
void unmarkAllTerritories()
{
    for (int t = 1; t <= territoryCount; ++t)
        if (territoryChanged[t] == 'j' || territoryMark[t] == 'j')
            unmarkTerritory(t);
}

bool ownedByCurrent(int t)
{
    return isValidTerritory(t) && territoryState[t].owner == currentPlayer;
}

// t can attack or move to u: u is in t's own list, and never t itself.
bool reaches(int t, int u)
{
    return t != u && isValidTerritory(u) && isNeighbour(t, u);
}

// "Add 1 army based on your cards.", "Add 5 armies based on your cards."
QString bonusPrompt(const char *source, int count)
{
    return QStringLiteral("Add %1 %2 based on your %3.")
        .arg(QString::number(count), QLatin1String(count == 1 ? "army" : "armies"), QLatin1String(source));
}

void clearPendingCounts()
{
    pendingPlacementCount = pendingTerritoryBonusCount = pendingContinentBonusCount = 0;
    pendingCardBonusCount = pendingConquestMoveCount = pendingAttackCount = pendingMoveCount = 0;
}

// Places bonus armies of a human on `selectedTerritory`; the number placed (0 when refused).
int placeArmiesOnSelected(int count, qint32 &due)
{
    const int t = selectedTerritory;
    if (count < 1 || due < 1 || !ownedByCurrent(t)) {
        if (count >= 1)
            interaction().beep();
        unmarkTerritory(t);
        return 0;
    }
    const int placed = std::min(count, static_cast<int>(due));
    due -= placed;
    saveAllowed = 0;
    bringArmies(t, placed, SoundPlacement);
    recountPlayer(currentPlayer);
    sendActionUpdate();
    // Armies still in the air may open attacks when they land.
    if (armiesArrivingAt(t) > 0)
        refreshAttackAfterLanding = 1;
    return placed;
}

bool handHasSet(int player)
{
    std::array<CardSet, kMaxOfferedCardSets + 1> sets;
    return collectCardSets(handOf(player), sets) > 0;
}

// The turn outside any bonus placement: the buttons, the prompt and the steps that re-enable
// the buttons once the queued steps have played.
void enterFreePlay()
{
    refreshTurnButtons();
    queueMessage(QStringLiteral("Choose Add or Attack"));
    pushMessageStep(makeStep(4, canAttackFlag == 'a' ? 1 : 0));
    pushMessageStep(makeStep(104));
}

// With 5 or more cards at the start of his turn a human must trade before anything else.
bool requireCardTrade()
{
    if (handOf(currentPlayer).total() < kCardObligation)
        return false;
    offeredCardSetCount = collectCardSets(handOf(currentPlayer), offeredCardSets);
    if (offeredCardSetCount < 1)
        return false;
    cardTradeRequired = 1;
    disableTurnButtons();
    queueMessage(QStringLiteral("You hold 5 or more cards: turn in a set."));
    interaction().showCardTradeDialog();
    return true;
}

// After the bonus placements: the card obligation, then the free part of the turn.
void continueAfterBonuses()
{
    if (!requireCardTrade())
        enterFreePlay();
}

// The continent and card bonuses are placed before anything else, one click after another.
void enterBonusPhase(quint8 &phase, qint32 due, const char *source)
{
    if (due < 1) {
        phase = 0;
        continueAfterBonuses();
        return;
    }
    phase = 1;
    disableTurnButtons();
    queueMessage(bonusPrompt(source, due));
}

void tradeOfferedSet(int n)
{
    if (n < 1 || n > offeredCardSetCount || !isValidPlayer(currentPlayer)) {
        interaction().beep();
        return;
    }
    const CardSet set = offeredCardSets[n];
    const CardHand hand = handOf(currentPlayer);
    const CardHand &cards = set.handedIn;
    if (cards.artillery > hand.artillery || cards.infantry > hand.infantry || cards.cavalry > hand.cavalry
        || cards.wild > hand.wild) {
        interaction().beep();
        return;
    }
    handInCards(currentPlayer, cards);
    cardSetValue = set.valueTraded;
    cardTradeMarker = 177;
    cardTradeValues = {0, cards.artillery, cards.infantry, cards.cavalry, cards.wild, set.valueTraded, currentPlayer};
    playerTable[currentPlayer].cardBonusReceived() += set.valueTraded;
    cardArmiesDue += set.valueTraded;
    cardTradeRequired = 0;
    offeredCardSetCount = 0;
    saveAllowed = 0;
    queueCardTradeNotice(cards, set.valueTraded, currentPlayer);
    enterCardBonusPhase();
}

void resolveHumanAttack(int count)
{
    const int from = sourceTerritory;
    const int to = targetTerritory;
    const bool valid = ownedByCurrent(from) && isValidTerritory(to) && territoryState[to].owner != currentPlayer
                       && reaches(from, to) && territoryState[from].armies > 1;
    if (count < 1 && valid) {
        // The question was cancelled: the source stays chosen, another target may be picked.
        unmarkTerritory(to);
        targetTerritory = 0;
        attackTargetPhase = 1;
        inGameButtonEnabled[ButtonCancel] = 1;
        return;
    }
    attackTargetPhase = 0;
    attackSourcePhase = 1;
    if (!valid) {
        interaction().beep();
        unmarkTerritory(to);
        unmarkTerritory(from);
        sourceTerritory = targetTerritory = 0;
        return;
    }
    saveAllowed = 0;
    resolveAttack(from, std::min(count, territoryState[from].armies - 1), to, &cardEarnedThisTurn);
    // The player sees his battle at once: so do the losses in the status bar.
    lossCount = playerTable[currentPlayer].battleLosses();
    concludeAttack();
}

} // namespace

void startTurnCounters()
{
    clearTurnPhases();
    clearPendingCounts();
    attackMadeThisTurn = 0;
    cardEarnedThisTurn = 'n';
    movedThisTurn = 0;
    moveAllowance = 0;
    moveBlocked = 0;
    selectedTerritory = sourceTerritory = targetTerritory = 0;
    cardTradeRequired = 0;
}

// ---------------------------------------------------------------------------------------------
// Showing the turn on the map and in the buttons

void markTerritory(int t)
{
    if (!isValidTerritory(t))
        return;
    highlightChanges = 1;
    sendTurnUpdate(t);
    highlightChanges = 0;
    territoryMark[t] = 'j';
}

void unmarkTerritory(int t)
{
    if (!isValidTerritory(t))
        return;
    territoryMark[t] = 'n';
    highlightChanges = 0;
    sendTurnUpdate(t);
}

void showArmiesArriving(int t, int sound, int delta)
{
    highlightChanges = 1;
    nextSoundId = sound;
    nextArmyDelta = delta;
    queuePlacement(t);
    highlightChanges = 0;
    queuePlacement(t);
    territoryMark[t] = 'n';
}

void clearTurnPhases()
{
    strongholdPhase = initialPlacementPhase = territoryBonusPhase = continentBonusPhase = 0;
    cardBonusPhase = attackTargetPhase = attackSourcePhase = moveTargetPhase = moveSourcePhase = 0;
}

void disableTurnButtons()
{
    inGameButtonEnabled.fill(0);
}

void closeTurn()
{
    clearTurnPhases();
    clearPendingCounts();
    disableTurnButtons();
    saveAllowed = 0;
    cardTradeRequired = 0;
    offeredCardSetCount = 0;
}

void takeTurnStartCopy()
{
    turnStartPlayer = currentPlayer;
    lossCount = playerTable[currentPlayer].battleLosses();
    playerTableAtTurnStart = playerTable;
}

// ---------------------------------------------------------------------------------------------
// Whose turn

int followingPlayer(int p)
{
    if (playerCount < 1 || playerCount > kMaxPlayers)
        return p;
    const int start = (p >= 1 && p <= playerCount) ? p : playerCount;
    for (int step = 1; step <= playerCount; ++step) {
        const int q = (start + step - 1) % playerCount + 1;
        if (isNeutralArmyPlayer(q))
            continue;
        if (!playerOutOfGame(q))
            return q;
    }
    return p;
}

void passTurnToNextPlayer()
{
    const int from = currentPlayer;
    if (from >= 1 && from <= kMaxPlayers)
        ++turnsTaken[from];
    const int next = followingPlayer(from);
    currentPlayer = next;
    if (isHumanOfThisMachine(next))
        turnStarted = 0;
    // A full round is complete when play wraps round to a lower-numbered player.
    if (next <= from) {
        ++quietRounds;
        if (quietRounds >= kStalemateRounds && !gameOver)
            endGameInStalemate();
    }
}

void beginPlayOfCurrentPlayer()
{
    if (gameOver)
        return;
    if (isHumanOfThisMachine(currentPlayer))
        turnStarted = 0;
    else if (isComputerPlayer(currentPlayer)) {
        // The bar names whose turn it is until the computer's own texts take over (at the fast
        // speeds it tells none): the last human prompt would otherwise stand through it.
        if (!isDemoGame())
            queueMessage(shownPlayerName(currentPlayer) + QStringLiteral(" to play.."));
        pushMessageStep(makeStep(5, 1));
    }
    // A human at another machine is handed his turn by the network.
}

void nextPlayer()
{
    // Nothing picked in this turn stays lit into the next player's.
    unmarkAllTerritories();
    closeTurn();
    if (networkSeat > 0) {
        // Network play: the host passes play on and sends 1007 to the seat whose turn it is; a
        // client sends 1011 and the host passes play on when it arrives.
        if (networkSeat == 1)
            passTurnToNextPlayer();
        turnStarted = 0;
        sendNetworkUpdate(networkSeat == 1 ? 1007 : 1011);
        return;
    }
    // Only a human's turn ends here; called while a computer player is current (the start of a
    // demo), it lets that player begin.
    if (isHumanOfThisMachine(currentPlayer))
        passTurnToNextPlayer();
    if (gameOver)
        return;
    if (isDemoGame())
        queueMessage(QLatin1String(kDemoPrompt));
    beginPlayOfCurrentPlayer();
}

void resetTurnCounters()
{
    moveBlocked = 0;
    rocketInFlight = 0;
    attackArmies = 0;
    pendingMoveArmies = 0;
    moveAllowance = 0;
    territoryArmiesDue = continentArmiesDue = cardArmiesDue = 0;
    selectedTerritory = sourceTerritory = targetTerritory = 0;
    movedThisTurn = 0;
    nextPlayer();
}

// ---------------------------------------------------------------------------------------------
// The start of a human turn

void updateTroopExperience()
{
    if (!isValidPlayer(currentPlayer))
        return;
    const int turn = turnsTaken[currentPlayer];
    if (troopExperienceEnabled && turn >= 9) {
        const int left = playersLeft() > 0 ? playersLeft() : 2;
        qint64 losses = 0;
        for (int p = 1; p <= playerCount; ++p)
            if (playerTable[p].territoriesHeld() > 0)
                losses += playerTable[p].battleLosses();
        for (int p = 1; p <= playerCount; ++p) {
            PlayerRecord &record = playerTable[p];
            if (record.territoriesHeld() <= 0) {
                troopExperience[p] = 0;
            } else if (losses > 0) {
                const qint64 e = static_cast<qint64>(record.battleLosses()) * left * 100 / losses;
                troopExperience[p] = static_cast<qint32>(e < 50 && turn < 13 ? 50 : e);
            }
            if (strongholdsEnabled && record.stronghold() <= 0)
                troopExperience[p] = 0;
            if (isNeutralArmyPlayer(p) && record.territoriesHeld() > 0)
                troopExperience[p] = 100;
        }
    }
    for (int p = 1; p <= playerCount; ++p)
        troopExperienceShown[currentPlayer][p] = troopExperience[p];
}

void beginTurn()
{
    if (gameOver || !isValidPlayer(currentPlayer))
        return;
    if (!isHumanOfThisMachine(currentPlayer)) {
        beginPlayOfCurrentPlayer();
        return;
    }
    turnStarted = 1;
    // The demo's player 1 is nobody, and a player who is out has nothing to do: hand on.
    if ((isDemoGame() && currentPlayer == 1) || playerOutOfGame(currentPlayer)) {
        nextPlayer();
        return;
    }
    startTurnCounters();
    recountAllPlayers();
    takeTurnStartCopy();
    updateTroopExperience();
    planRoute(2);
    // The panel names the player from the first prompt of his turn on, a required card trade
    // included.
    drawPlayerPanel();
    interaction().statusChanged();

    const int p = currentPlayer;
    territoryArmiesDue = territoryReinforcement(p);
    continentArmiesDue = continentReinforcement(p);
    cardArmiesDue = 0;
    playerTable[p].continentBonusReceived() += continentArmiesDue;
    saveAllowed = 1;

    nextSoundId = SoundNextPlayer;
    queueMessage(shownPlayerName(p) + QStringLiteral(" to play.."));
    enterContinentBonusPhase();
}

// ---------------------------------------------------------------------------------------------
// Phases and buttons

void updateActionFlags()
{
    bool attack = false;
    bool move = false;
    for (int t = 1; t <= territoryCount && !(attack && move); ++t) {
        if (territoryState[t].owner != currentPlayer || armiesCounted(t) < 2)
            continue;
        const NeighbourList &list = territoryNeighbours[t];
        for (int i = 1; i <= kMaxNeighbours && list[i] != 0; ++i) {
            const int u = list[i];
            if (!reaches(t, u))
                continue;
            if (territoryState[u].owner == currentPlayer)
                move = true;
            else
                attack = true;
        }
    }
    canAttackFlag = attack ? 'a' : 'p';
    canMoveFlag = move ? 'j' : 'n';
}

void refreshTurnButtons()
{
    updateActionFlags();
    if (gameOver) {
        disableTurnButtons();
        return;
    }
    const bool attacked = attackMadeThisTurn != 0;
    inGameButtonEnabled[ButtonNext] = 1;
    inGameButtonEnabled[ButtonCards] = (!attacked && !movedThisTurn && handHasSet(currentPlayer)) ? 1 : 0;
    inGameButtonEnabled[ButtonAdd] = (!attacked && territoryArmiesDue > 0) ? 1 : 0;
    inGameButtonEnabled[ButtonAttack] = (canAttackFlag == 'a' && !movedThisTurn) ? 1 : 0;
    inGameButtonEnabled[ButtonMove] = (attacked && canMoveFlag == 'j' && moveAllowance > 0 && !moveBlocked) ? 1 : 0;
    inGameButtonEnabled[ButtonCancel] = 0;
}

void reopenTurnButtons()
{
    if (gameOver || cardTradeRequired || strongholdPhase || initialPlacementPhase || territoryBonusPhase
        || continentBonusPhase || cardBonusPhase || attackTargetPhase || moveSourcePhase || moveTargetPhase)
        return;
    updateActionFlags();
    inGameButtonEnabled[ButtonAttack] = (canAttackFlag == 'a' && !movedThisTurn) ? 1 : 0;
    if (attackMadeThisTurn) {
        if (!movedThisTurn)
            moveAllowance = canMoveFlag == 'j' ? kMoveAllowance : 0;
        if (canMoveFlag == 'j' && moveAllowance > 0 && !moveBlocked)
            inGameButtonEnabled[ButtonMove] = 1;
        inGameButtonEnabled[ButtonNext] = 1;
    } else if (territoryArmiesDue > 0) {
        inGameButtonEnabled[ButtonAdd] = 1;
    }
}

void enterTerritoryBonusPhase()
{
    if (initialPlacementPhase || continentBonusPhase || cardBonusPhase)
        return;
    if (territoryArmiesDue < 1) {
        interaction().beep();
        return;
    }
    territoryBonusPhase = 1;
    inGameButtonEnabled[ButtonAttack] = 0;
    inGameButtonEnabled[ButtonCards] = 0;
    inGameButtonEnabled[ButtonCancel] = 1;
    queueMessage(bonusPrompt("territories", territoryArmiesDue));
}

void enterContinentBonusPhase()
{
    enterBonusPhase(continentBonusPhase, continentArmiesDue, "continents");
}

void enterCardBonusPhase()
{
    enterBonusPhase(cardBonusPhase, cardArmiesDue, "cards");
}

void enterAttackPhase()
{
    attackSourcePhase = 1;
    inGameButtonEnabled[ButtonAttack] = 0;
    inGameButtonEnabled[ButtonAdd] = 0;
    inGameButtonEnabled[ButtonMove] = 0;
    inGameButtonEnabled[ButtonCards] = 0;
    inGameButtonEnabled[ButtonCancel] = 1;
    queueMessage(QStringLiteral("Attack from ?"));
}

void enterMovePhase()
{
    if (moveBlocked)
        return;
    moveSourcePhase = 1;
    attackSourcePhase = 0;
    attackTargetPhase = 0;
    inGameButtonEnabled[ButtonAttack] = 0;
    inGameButtonEnabled[ButtonMove] = 0;
    inGameButtonEnabled[ButtonCancel] = 1;
    queueMessage(QStringLiteral("Move from ? "));
}

void endHumanTurn()
{
    if (isDemoGame()) {
        clearStepQueues();
        demoRunning = 0;
        if (returnToStartState)
            returnToStartState();
        return;
    }
    attackTargetPhase = attackSourcePhase = moveSourcePhase = moveTargetPhase = territoryBonusPhase = 0;
    inGameButtonEnabled[ButtonCancel] = 0;
    unmarkAllTerritories();
    sourceTerritory = targetTerritory = selectedTerritory = 0;
    refreshTurnButtons();
    const bool quiet = speedFlag224 || speedFlag160 || speedFlag96;
    queueMessage(quiet ? QStringLiteral(" ") : QStringLiteral("Choose Add or Attack"));
}

void selectPlacementTerritory(int t)
{
    selectedTerritory = 0;
    if (!isValidTerritory(t) || !isValidPlayer(currentPlayer)) {
        interaction().beep();
        return;
    }
    const bool own = territoryState[t].owner == currentPlayer;
    if (selectOwnTerritory ? !own : own) {
        interaction().beep();
        return;
    }
    if (moveTargetPhase && t == sourceTerritory)
        interaction().beep();
    const bool refused = strongholdPhase ? !strongholdAllowed(t)
                                         : initialPlacementPhase && initialPlacementLimit(t) < 1;
    if (refused) {
        interaction().beep();
        return;
    }
    selectedTerritory = t;
    // In a network game the stronghold is made at once, so that every machine sees it.
    if (strongholdPhase && (gameMode == ModeHost || gameMode == ModeClient)) {
        placeStronghold(t);
        sendTurnUpdate(t);
        return;
    }
    markTerritory(t);
}

int moveLimit()
{
    if (!ownedByCurrent(sourceTerritory))
        return 0;
    return std::max(0, std::min(territoryState[sourceTerritory].armies - 1, moveAllowance));
}

// ---------------------------------------------------------------------------------------------
// The army-count answer

void applyArmyCount(int count)
{
    if (pendingPlacementCount) {
        clearPendingCounts();
        initialPlacementStep(count);
    } else if (pendingTerritoryBonusCount) {
        clearPendingCounts();
        reinforceByTerritories(count);
    } else if (pendingContinentBonusCount) {
        clearPendingCounts();
        placeContinentBonusArmies(count);
    } else if (pendingCardBonusCount) {
        clearPendingCounts();
        placeCardBonusArmies(count);
    } else if (pendingConquestMoveCount) {
        clearPendingCounts();
        attackTargetPhase = 0;
        afterConquestMove(count);
    } else if (pendingAttackCount) {
        clearPendingCounts();
        resolveHumanAttack(count);
    } else if (pendingMoveCount) {
        clearPendingCounts();
        beginMovePhase(count);
    }
}

void reinforceByTerritories(int count)
{
    if (attackMadeThisTurn) {
        interaction().beep();
        unmarkTerritory(selectedTerritory);
        territoryBonusPhase = 0;
        refreshTurnButtons();
        return;
    }
    placeArmiesOnSelected(count, territoryArmiesDue);
    if (territoryArmiesDue > 0 && territoryBonusPhase) {
        inGameButtonEnabled[ButtonCancel] = 1;
        queueMessage(bonusPrompt("territories", territoryArmiesDue));
        return;
    }
    territoryBonusPhase = 0;
    refreshTurnButtons();
    queueMessage(inGameButtonEnabled[ButtonAttack] ? QStringLiteral("Choose Attack or Next.")
                                                   : QStringLiteral("Choose Next."));
}

void placeContinentBonusArmies(int count)
{
    placeArmiesOnSelected(count, continentArmiesDue);
    enterContinentBonusPhase();
}

void placeCardBonusArmies(int count)
{
    placeArmiesOnSelected(count, cardArmiesDue);
    enterCardBonusPhase();
}

void beginMovePhase(int count)
{
    const int from = sourceTerritory;
    const int to = targetTerritory;
    const bool valid = ownedByCurrent(from) && ownedByCurrent(to) && reaches(from, to) && moveLimit() > 0;
    moveTargetPhase = 0;
    if (count < 1 || !valid) {
        if (count >= 1)
            interaction().beep();
        unmarkTerritory(to);
        unmarkTerritory(from);
    } else {
        const int armies = std::min(count, moveLimit());
        territoryState[from].armies -= armies;
        moveAllowance -= armies;
        movedThisTurn = 1;
        saveAllowed = 0;
        highlightChanges = 0;
        queuePlacement(from);
        territoryMark[from] = 'n';
        bringArmies(to, armies, SoundMove);
        recountPlayer(currentPlayer);
        sendActionUpdate();
    }
    sourceTerritory = targetTerritory = 0;
    refreshTurnButtons();
    if (moveAllowance > 0 && canMoveFlag == 'j' && !moveBlocked) {
        moveSourcePhase = 1;
        inGameButtonEnabled[ButtonAttack] = 0;
        inGameButtonEnabled[ButtonMove] = 0;
        inGameButtonEnabled[ButtonCancel] = 1;
        queueMessage(QStringLiteral("Move from ? or choose Next."));
    } else {
        moveSourcePhase = 0;
        queueMessage(QStringLiteral("Choose Next."));
    }
}

// ---------------------------------------------------------------------------------------------
// The human card trade

int collectCardSets(const CardHand &hand, std::array<CardSet, kMaxOfferedCardSets + 1> &sets)
{
    // Every choice of whole kinds (a kind counts only with all of its cards) and of a number of
    // wild cards, rated by the one card-set rule.
    std::vector<CardSet> found;
    const int wildMax = std::max(0, hand.wild);
    for (int kinds = 0; kinds < 8; ++kinds) {
        for (int wild = 0; wild <= wildMax; ++wild) {
            CardHand part;
            part.artillery = (kinds & 1) ? hand.artillery : 0;
            part.infantry = (kinds & 2) ? hand.infantry : 0;
            part.cavalry = (kinds & 4) ? hand.cavalry : 0;
            part.wild = wild;
            const CardSet set = evaluateCardSet(part);
            if (set.valueTraded < 1 || set.handedIn.total() < 2)
                continue;
            const bool seen = std::any_of(found.begin(), found.end(),
                                          [&](const CardSet &s) { return s.handedIn == set.handedIn; });
            if (!seen)
                found.push_back(set);
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const CardSet &a, const CardSet &b) {
        if (a.valueTraded != b.valueTraded)
            return a.valueTraded > b.valueTraded;
        return a.handedIn.total() < b.handedIn.total();
    });
    const int count = std::min<int>(kMaxOfferedCardSets, static_cast<int>(found.size()));
    for (int i = 0; i <= kMaxOfferedCardSets; ++i)
        sets[i] = i >= 1 && i <= count ? found[i - 1] : CardSet{};
    return count;
}

void openCardTradeDialog()
{
    offeredCardSetCount = isValidPlayer(currentPlayer) ? collectCardSets(handOf(currentPlayer), offeredCardSets) : 0;
    if (offeredCardSetCount < 1) {
        interaction().beep();
        return;
    }
    interaction().showCardTradeDialog();
}

void kaartidlg0()
{
    if (cardTradeRequired && handOf(currentPlayer).total() >= kCardObligation) {
        interaction().beep();
        interaction().showCardTradeDialog();
        return;
    }
    cardTradeRequired = 0;
    offeredCardSetCount = 0;
}

void kaartidlg1() { tradeOfferedSet(1); }
void kaartidlg2() { tradeOfferedSet(2); }
void kaartidlg3() { tradeOfferedSet(3); }
void kaartidlg4() { tradeOfferedSet(4); }
void kaartidlg5() { tradeOfferedSet(5); }
void kaartidlg6() { tradeOfferedSet(6); }

// ---------------------------------------------------------------------------------------------

void sendNetworkUpdate(int code)
{
    if (networkSeat > 0 && networkUpdateSender)
        networkUpdateSender(code);
}

void sendActionUpdate()
{
    sendNetworkUpdate(networkSeat == 1 ? 1003 : 1006);
}

void resetTurnFlowState()
{
    offeredCardSets.fill({});
    offeredCardSetCount = 0;
    cardTradeRequired = 0;
    movedThisTurn = 0;
    settingsReloadPending = 0;
}
