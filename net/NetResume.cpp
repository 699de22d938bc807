#include "net/NetResume.h"

#include "net/NetFraming.h"
#include "net/NetPlay.h"
#include "net/NetState.h"

#include "app/NetworkState.h"
#include "app/PaintMapView.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "persist/SavedGame.h"
#include "persist/SavedGameLoading.h"
#include "persist/SharedGlobals.h"
#include "rules/Seats.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/TextRules.h"

#include <array>

namespace {

constexpr int kLastSeat = kMaxNetworkSockets + 1;
const QLatin1String kComputerMark(kComputerPlayedMark);

struct ResumedSeats {
    bool open = false;
    std::array<QString, kLastSeat + 1> savedName;
    std::array<bool, kLastSeat + 1> human{};   // a human seat of the saved game
    std::array<bool, kLastSeat + 1> waiting{}; // nobody has joined it yet
};
ResumedSeats seats;

struct HeldTurnStart {
    bool held = false;
    SavedGameRecord game;
};
HeldTurnStart turnStart;

bool sameName(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The first waiting seat whose saved name passes `fits`; 0 when none.
template <typename Fits>
int waitingSeatWhere(const Fits &fits)
{
    for (int p = 2; p <= kLastSeat; ++p)
        if (seats.waiting[p] && fits(playerOfComputerPlayedName(seats.savedName[p]).trimmed()))
            return p;
    return 0;
}

// A network game's save holds its turn as it began: the file knows nothing of the steps of a
// turn under way, and a turn loaded from it begins again whole.
void putTurnStartInPlace(SavedGameRecord &game)
{
    if (!turnStart.held || networkSeat <= 0 || gameOver || turnStart.game.currentPlayer != currentPlayer)
        return;
    const double playTime = game.playTimeSeconds;
    const qint32 saves = game.savesUsed;
    game = turnStart.game;
    game.playTimeSeconds = playTime;
    game.savesUsed = saves;
}

const bool turnStartInstalled = [] {
    turnStartOfSave = &putTurnStartInPlace;
    return true;
}();

} // namespace

QString computerPlayedName(const QString &name)
{
    return cutToWidth(playerOfComputerPlayedName(name).trimmed(), kJoinNameLength - kComputerMark.size()) + kComputerMark;
}

QString playerOfComputerPlayedName(const QString &name)
{
    if (!isComputerPlayedName(name))
        return name;
    QString bare = name.trimmed();
    while (isComputerPlayedName(bare))
        bare = bare.chopped(kComputerMark.size()).trimmed();
    return bare;
}

void openResumedLobby()
{
    // Nothing of an earlier game's table stays: its connections would hold seats of this one.
    closeAllConnections();
    seats = ResumedSeats();
    seats.open = true;
    for (int p = 2; p <= kLastSeat && p <= playerCount; ++p) {
        seats.savedName[p] = playerName[p];
        seats.human[p] = seats.waiting[p] = seatWaitsForPlayer(playerName[p]);
    }
    // Nobody plays in the lobby.
    turnStarted = 1;
}

bool resumedLobby()
{
    return seats.open && lobbyOpen;
}

int takeWaitingSeat(const QString &name)
{
    const QString wanted = name.trimmed();
    int seat = waitingSeatWhere([&](const QString &saved) { return sameName(saved, wanted); });
    if (seat == 0 && wanted.size() >= 2)
        seat = waitingSeatWhere([&](const QString &saved) { return sameName(saved.left(2), wanted.left(2)); });
    if (seat == 0)
        seat = waitingSeatWhere([](const QString &) { return true; });
    if (seat == 0)
        return 0;
    seats.waiting[seat] = false;
    // The seat is its player's again: his name loses the computer's mark.
    const QString saved = playerOfComputerPlayedName(seats.savedName[seat]);
    playerName[seat] = saved.trimmed().leftJustified(kJoinNameLength, QLatin1Char(' '));
    return seat;
}

void seatWaitsAgain(int seat)
{
    if (seat < 2 || seat > kLastSeat || !seats.human[seat])
        return;
    seats.waiting[seat] = true;
    playerName[seat] = waitingSeatName(seats.savedName[seat]);
}

void showResumedLobby()
{
    repaintEveryTerritory();
    drawPlayerPanel();
    if (netWindow)
        netWindow->update();
}

void launchResumedGame()
{
    seats.open = false;
    lobbyOpen = 0;
    int lastHuman = 1;
    for (int p = 2; p <= kLastSeat; ++p) {
        if (!seats.human[p])
            continue;
        if (seats.waiting[p])
            playerName[p] = computerPlayedName(seats.savedName[p]);
        else
            lastHuman = p;
    }
    gameMode = ModeHost;
    humanPlayerCount = 1;
    humanSeatCount = lastHuman;
    // A saved game is never in its initial placement.
    placementRound = 0;
    initialPlacementPhase = strongholdPhase = 0;
    armiesToPlace = 0;
    screenMode = 9;
    restartPlayTime();
    sendToJoinedClients(snapshotMessage(1002));
    repaintEveryTerritory();
    drawPlayerPanel();
    if (netWindow) {
        netWindow->updateWindowTitle();
        netWindow->update();
    }
    continueNetworkTurns();
}

void holdTurnStartForSave()
{
    turnStart.held = true;
    turnStart.game = capturedGame(0);
}

void resetResumedGame()
{
    seats = ResumedSeats();
    turnStart = HeldTurnStart();
}
