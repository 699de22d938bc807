#pragma once
// The player's ranks, derived afresh from the scores file each time they are asked for.

#include <QString>
#include <QtGlobal>

constexpr int kRankCount = 13; // 0 "Private" .. 12 "General of the Army"
constexpr int kTopRank = kRankCount - 1;

// "Private" .. "General of the Army"; an empty text outside 0..12.
QString rankName(int rank);

// The single-player rank 0..12 and, in `second`, 1 only when the climb stops at Major with the
// Europe half of the Colonel requirement won.
void computeSinglePlayerRank(qint32 *rank, qint32 *second);

// Network games won by this machine's player, capped at the top rank.
qint32 computeMultiplayerRank();
