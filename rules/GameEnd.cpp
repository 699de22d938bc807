#include "rules/GameEnd.h"

#include "persist/Scores.h"
#include "persist/TopFiveList.h"
#include "rules/Attack.h"
#include "rules/PlayerRecords.h"
#include "rules/Seats.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/Seams.h"
#include "state/StepQueues.h"

#include <QList>

#include <utility>

void (*topFiveSubmission)(int mapSet, int losses) = nullptr;

namespace {

enum MissionType { ConquerAll = 0, Continents = 1, HoldContinents = 2, Escort = 3 };

// The human's side of a decided game has been finished (scores read, top-five offered).
bool decidedGameFinished = false;
// The end of a game that a human of this machine decided by a conquest waits for the answer to
// the conquest's move question.
bool endAwaitsConquestMove = false;
int endDecider = 0;
QString endText;

// A random order of the map's continents for every player.
void shuffleMissionContinents()
{
    for (int p = 1; p <= kMaxPlayers; ++p) {
        auto &list = missionContinents[p];
        list.fill(0);
        const int count = qBound(0, int(continentCount), kMaxContinents);
        for (int i = 1; i <= count; ++i)
            list[i] = i;
        for (int i = count; i > 1; --i)
            std::swap(list[i], list[1 + randomSource().below(i)]);
    }
}

// The player to escort: any other player but the neutral army.
int drawEscortTarget()
{
    QList<int> candidates;
    for (int p = 2; p <= playerCount && p <= kMaxPlayers; ++p)
        if (!isNeutralArmyPlayer(p))
            candidates.append(p);
    if (candidates.isEmpty())
        return 0;
    return candidates[randomSource().below(candidates.size())];
}

int playersInGame()
{
    int count = 0;
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p)
        if (!playerOutOfGame(p))
            ++count;
    return count;
}

// The attacker wins by holding every territory, or in a stronghold game when every other player
// is out.
bool hasWon(int player)
{
    if (playerOutOfGame(player))
        return false;
    if (strongholdsEnabled)
        return playersInGame() == 1;
    return playerTable[player].territoriesHeld() >= territoryCount;
}

// The player who has won by the rules, or 0.
int winnerByTheRules()
{
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p)
        if (hasWon(p))
            return p;
    return 0;
}

const QString kLastStrongholdText = QStringLiteral("The last stronghold has fallen.");
const QString kStalemateText = QStringLiteral("Stalemate: no territory has changed hands in 30 rounds.");

// The end of the game for the game loop: message step 8 when a human of this machine decided it,
// action step 9 for anyone else. The demo's seat of player 1 is nobody's, so the demo always
// ends through action step 9, which restarts it.
// The end's text goes with the end: in front of message step 8 it follows any prompt still
// queued, so the status line shows the result once the game has ended.
void pushEndOfGame(int decider, const QString &text)
{
    if (!isDemoGame() && isHumanOfThisMachine(decider) && messageQueueHasRoom(2)) {
        queueMessage(text);
        pushMessageStep(makeStep(8));
        return;
    }
    // A full message queue must not swallow the end of the game.
    queueTextEvent(text);
    pushActionStep(makeStep(9));
}

// The game was decided by the conquest of a human of this machine who is still to say how many
// armies follow it.
bool decidedByConquestAwaitingMove(int decider)
{
    return conquestMovePending && !isDemoGame() && isHumanOfThisMachine(decider) && isValidTerritory(conquestTarget)
        && territoryState[conquestTarget].owner == decider;
}

void queueEndOfGame(int decider, const QString &text)
{
    // Nothing of the turn may act any more; the move question of the deciding conquest is asked
    // by the attack step itself.
    closeTurn();
    if (decidedByConquestAwaitingMove(decider)) {
        endAwaitsConquestMove = true;
        endDecider = decider;
        endText = text;
        return;
    }
    pushEndOfGame(decider, text);
}

void markCampaignForWinner(int winner)
{
    if (campaignId <= NoCampaign)
        return;
    const bool lastMap = campaignMapIndex >= campaignMapCount;
    // On the first map the human who wins becomes the campaign's player (the loop records him);
    // on later maps only that player can carry the campaign on.
    const bool campaignPlayersWin =
        campaignMapIndex <= 1 ? isHumanOfThisMachine(winner) : winner == campaignPlayer;
    if (!campaignPlayersWin)
        campaignEnded = 1;
    else if (lastMap)
        campaignCompleted = 1;
}

// Demo games are never recorded, and a campaign only once, when its last map is won.
bool gameCountsForScores()
{
    if (isDemoGame())
        return false;
    if (campaignId > NoCampaign)
        return campaignCompleted && !campaignEnded;
    return true;
}

QString winnerText(int winner)
{
    return QStringLiteral("%1 wins the game.").arg(shownPlayerName(winner));
}

void declareWinner(int winner)
{
    gameOver = 1;
    markCampaignForWinner(winner);
    if (gameCountsForScores())
        recordScore(0, playerCount, attackRule, playerTable[winner].battleLosses(),
                    isHumanSeat(winner) ? 1 : 0, playerName[winner]);
    queueEndOfGame(winner, winnerText(winner));
}

void declareNoWinner(int decider, const QString &reason)
{
    gameOver = 1;
    noWinner = 1;
    if (campaignId > NoCampaign)
        campaignEnded = 1;
    queueEndOfGame(decider, reason);
}

void failMission(int decider)
{
    missionFailed = 1;
    declareNoWinner(decider, QStringLiteral("The mission has failed."));
}

bool validContinent(int c)
{
    return c >= 1 && c <= continentCount;
}

// The continent the Continents mission asks of the holder now, or 0 when none is left.
int askedContinent(int holder)
{
    if (missionContinentIndex < 1 || missionContinentIndex > kMaxContinents)
        return 0;
    const int c = missionContinents[holder][missionContinentIndex];
    return validContinent(c) ? c : 0;
}

// Shows the continent just conquered and then names the next one, behind the flashes already
// queued. The move phase waits until the player has read the box.
void queueNextMissionContinent(int conquered)
{
    if (!messageQueueHasRoom(3))
        return;
    pushMessageStep(makeStep(2, conquered, 100));
    pushMessageStep(makeStep(100));
    pushMessageStep(makeStep(3, conquered, 100));
    moveBlocked = 1;
}

// Every continent held in full when it is asked for counts, in the order of the list.
// Returns true when the mission is completed.
bool advanceContinentsMission(int holder)
{
    int conquered = 0;
    while (missionContinentIndex <= missionContinentsToConquer()) {
        const int c = askedContinent(holder);
        if (c == 0 || !holdsContinent(holder, c))
            break;
        conquered = c;
        ++missionContinentIndex;
    }
    if (missionContinentIndex > missionContinentsToConquer())
        return true;
    if (conquered != 0)
        queueNextMissionContinent(conquered);
    return false;
}

// The mission's verdict on this conquest: true when it decided the game.
bool settleMission(int holder, const ConquestOutcome &outcome)
{
    if (playerOutOfGame(holder)) {
        failMission(outcome.attacker);
        return true;
    }
    switch (missionType) {
    case HoldContinents:
        if (outcome.defender == holder && outcome.defenderLostHeldContinent) {
            failMission(outcome.attacker);
            return true;
        }
        break;
    case Escort:
        if (escortTarget < 1 || escortTarget > playerCount)
            break;
        if (playerOutOfGame(escortTarget)) {
            failMission(outcome.attacker);
            return true;
        }
        if (playersInGame() == 2) {
            declareWinner(holder);
            return true;
        }
        break;
    case Continents:
        if (outcome.attacker == holder && advanceContinentsMission(holder)) {
            declareWinner(holder);
            return true;
        }
        break;
    default:
        break;
    }
    if (hasWon(outcome.attacker)) {
        // Only the mission's own success counts as a win in a mission game.
        if (outcome.attacker == holder)
            declareWinner(holder);
        else
            failMission(outcome.attacker);
        return true;
    }
    return false;
}

// The maps with a top-five list of their own, in the order their flags are looked at.
struct TopFiveMap {
    MapFlag flag;
    int set;
};
const TopFiveMap kTopFiveMaps[] = {
    {MapWorldII, 6}, {MapAustralia, 8}, {MapJapan, 5}, {MapNorthAmerica, 3},
    {MapEurope, 2},  {MapSwamp, 7},     {MapChina, 4},
};

// Steps of a won high-score game that need no network: which games qualify and the losses limit.
// Fetching the list, choosing the slot, the name dialog and the upload come with the network
// work, which continues from here.
void offerTopFiveSubmission()
{
    if (!topFiveGame || noWinner || missionFailed)
        return;
    if (campaignId > NoCampaign && !(campaignCompleted && !campaignEnded))
        return;
    if (!isHumanOfThisMachine(currentPlayer))
        return;
    if (playerTable[currentPlayer].battleLosses() > kMostTopFiveLosses) {
        interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"),
                              QStringLiteral("Sorry, this is not good enough for a top5 listing."));
        return;
    }
    if (topFiveSubmission)
        topFiveSubmission(topFiveMapSet(), playerTable[currentPlayer].battleLosses());
}

} // namespace

void pushEndDecidedElsewhere()
{
    saveAllowed = 0; // a decided game is not saved
    // Without missions a network game is won by the rules alone; a game nobody won ended on the
    // last human stronghold or in stalemate, and the state tells which.
    const int winner = winnerByTheRules();
    noWinner = winner == 0 ? 1 : 0;
    if (winner != 0)
        queueTextEvent(winnerText(winner));
    else
        queueTextEvent(strongholdsEnabled && !anyHumanSeatInGame() ? kLastStrongholdText : kStalemateText);
    pushActionStep(makeStep(9));
}

bool isDemoGame()
{
    return gameMode == ModeDemo || demoRunning;
}

bool isNeutralArmyPlayer(int player)
{
    return neutralArmyActive && player == kNeutralArmyPlayer;
}

bool playerOutOfGame(int player)
{
    if (player < 1 || player > kMaxPlayers)
        return true;
    const PlayerRecord &record = playerTable[player];
    if (record.territoriesHeld() <= 0)
        return true;
    return strongholdsEnabled && record.stronghold() <= 0;
}

int missionHolder()
{
    if (missionType < Continents || missionType > Escort)
        return 0;
    if (isDemoGame() || networkSeat > 0 || humanPlayerCount != 1)
        return 0;
    return 1;
}

int missionContinentsToConquer()
{
    return (qMax(0, int(continentCount)) + 1) / 2;
}

void assignMissions()
{
    shuffleMissionContinents();
    missionContinentIndex = 1;
    escortTarget = drawEscortTarget();
    missionFailed = 0;
    noWinner = 0;
    quietRounds = 0;
    decidedGameFinished = false;
}

void settleConquest(const ConquestOutcome &outcome)
{
    if (gameOver)
        return;
    const int holder = missionHolder();
    if (holder != 0 && settleMission(holder, outcome))
        return;
    if (holder == 0 && hasWon(outcome.attacker)) {
        declareWinner(outcome.attacker);
        return;
    }
    // A stronghold game is over for the humans once the last of them is out, at whichever machine
    // he played: the computer players would only play on among themselves.
    if (outcome.strongholdTaken && humanPlayerCount >= 1 && !isDemoGame() && !anyHumanSeatInGame())
        declareNoWinner(outcome.attacker, kLastStrongholdText);
}

void endGameInStalemate()
{
    if (gameOver)
        return;
    if (missionHolder() != 0)
        missionFailed = 1;
    declareNoWinner(0, kStalemateText);
}

void finishDecidedGame()
{
    if (!gameOver)
        return;
    if (!decidedGameFinished && isHumanOfThisMachine(currentPlayer)) {
        decidedGameFinished = true;
        readScoresFile();
        closeTurn();
        offerTopFiveSubmission();
    }
    if (endAwaitsConquestMove) {
        endAwaitsConquestMove = false;
        pushEndOfGame(endDecider, endText);
    }
}

int topFiveMapSet()
{
    if (campaignId > NoCampaign)
        return 0;
    for (const TopFiveMap &map : kTopFiveMaps)
        if (builtinMapFlags[map.flag])
            return map.set;
    return 1;
}

void prepareNextCampaignMap()
{
    // Every card goes back to the deck, as at the start of a game.
    for (PlayerRecord &record : playerTable)
        record.artillery() = record.infantry() = record.cavalry() = record.wild() = 0;
    resetGameCounters();
    closeTurn();
    startTurnCounters();
    resetAttackState();
    territoryArmiesDue = continentArmiesDue = cardArmiesDue = armiesToPlace = 0;
    // Nobody's turn is begun while the placement runs.
    turnStarted = 1;
    playerTableAtTurnStart = playerTable;
}

void resetGameEndState()
{
    decidedGameFinished = false;
    endAwaitsConquestMove = false;
    endDecider = 0;
    endText.clear();
}
