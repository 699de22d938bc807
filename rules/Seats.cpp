#include "rules/Seats.h"

#include "rules/GameEnd.h"
#include "state/GameState.h"

bool isHumanSeat(int player)
{
    if (player < 1 || player > playerCount || player > kMaxPlayers)
        return false;
    if (networkSeat <= 0)
        return player <= humanPlayerCount;
    return player == 1 || (player <= humanSeatCount && !isComputerPlayedName(playerName[player]));
}

bool isComputerPlayer(int player)
{
    return player >= 1 && player <= playerCount && !isHumanSeat(player);
}

bool isHumanOfThisMachine(int player)
{
    if (player < 1 || player > kMaxPlayers)
        return false;
    return networkSeat > 0 ? player == networkSeat : player <= humanPlayerCount;
}

bool anyHumanSeatInGame()
{
    for (int p = 1; p <= playerCount && p <= kMaxPlayers; ++p)
        if (isHumanSeat(p) && !playerOutOfGame(p))
            return true;
    return false;
}

bool isComputerPlayedName(const QString &name)
{
    return name.trimmed().endsWith(QLatin1String(kComputerPlayedMark));
}
