#include "persist/Ranks.h"

#include "persist/Scores.h"

#include <array>

namespace {

const char *const kRankNames[kRankCount] = {
    "Private",      "Private First Class", "Corporal",           "Sergeant", "Lieutenant",
    "Captain",      "Major",               "Colonel",            "Brigadier General",
    "Major General", "Lieutenant General", "General",            "General of the Army"};

// One achievement per requirement; the Colonel needs two.
enum Achievement {
    PrivateFirstClass,
    Corporal,
    Sergeant,
    Lieutenant,
    Captain,
    Major,
    ColonelEurope,
    ColonelWorldII,
    BrigadierGeneral,
    MajorGeneral,
    LieutenantGeneral,
    General,
    GeneralOfTheArmy,
    AchievementCount
};

constexpr qint32 kAnyPlayers = 0;
constexpr int kUpToPlayers = 0; // the opponents are counted over i up to `players`
constexpr int kOn = 0;          // strongholds or troop experience on (the record stores "off")
constexpr int kOff = 1;
constexpr qint32 kNormal = 0;
constexpr qint32 kConqueror = 1;

struct Requirement {
    Achievement achievement;
    qint32 oneForOne;
    const char *map; // as the scores file stores it, 14 characters
    qint32 players;
    qint32 opponentPersonality;
    int opponents;
    int countUpTo;
    qint32 strongholdsOff;
    qint32 troopExperienceOff;
    qint32 mission;
};

const Requirement kRequirements[] = {
    {PrivateFirstClass, 0, "World         ", 5, kNormal, 4, 5, kOn, kOff, 0},
    {Corporal, 0, "China         ", 10, kNormal, 9, 10, kOff, kOn, 0},
    {Sergeant, 0, "Australia     ", 7, kNormal, 6, kUpToPlayers, kOn, kOn, 0},
    {Lieutenant, 0, "North America ", 8, kNormal, 7, kUpToPlayers, kOn, kOff, 0},
    {Captain, 0, "Japan         ", 10, kConqueror, 9, 10, kOff, kOff, 0},
    {Major, 0, "Swamp         ", 10, kNormal, 9, 10, kOn, kOff, 3},
    {ColonelEurope, 0, "Europe        ", 10, kNormal, 9, 10, kOff, kOff, 0},
    {ColonelWorldII, 0, "World II      ", 10, kNormal, 9, 10, kOff, kOff, 0},
    {BrigadierGeneral, 0, "Australia     ", 10, kNormal, 9, 10, kOff, kOff, 2},
    {MajorGeneral, 1, "Worlds        ", 10, kNormal, 9, 10, kOff, kOff, 0},
    {LieutenantGeneral, 1, "N. Atlantic   ", kAnyPlayers, kNormal, 9, kUpToPlayers, kOff, kOff, 3},
    {General, 1, "West Pacific  ", 7, kNormal, 6, kUpToPlayers, kOn, kOff, 3},
    {GeneralOfTheArmy, 1, "Worlds        ", 10, kNormal, 9, 10, kOff, kOff, 2},
};

// A single-player game won by the one human at the Normal level, with the game-option flag
// clear and a player count the tables know.
bool countsForRank(const ScoresRecord &r)
{
    return r.humanWon == 1 && r.mode == 1 && r.normalLevel >= 1 && r.humanCount == 1
        && r.extraFlag == 0 && r.players >= 1 && r.players <= kMaxPlayers;
}

int opponentsWith(const ScoresRecord &r, qint32 personalityValue, int upTo)
{
    int count = 0;
    for (int i = r.humanCount + 1; i <= qMin(upTo, kMaxPlayers); ++i)
        if (r.personalities[i] == personalityValue)
            ++count;
    return count;
}

bool meets(const ScoresRecord &r, const Requirement &q)
{
    if (r.oneForOne != q.oneForOne || r.mapOrCampaign.left(kScoresNameLength) != QLatin1String(q.map))
        return false;
    if (q.players != kAnyPlayers && r.players != q.players)
        return false;
    if (r.strongholdsOff != q.strongholdsOff || r.troopExperienceOff != q.troopExperienceOff
        || r.mission != q.mission)
        return false;
    const int upTo = q.countUpTo == kUpToPlayers ? r.players : q.countUpTo;
    return opponentsWith(r, q.opponentPersonality, upTo) == q.opponents;
}

using Achievements = std::array<bool, AchievementCount>;

// The ladder, bottom up: each rank needs every one below it.
const std::array<std::array<Achievement, 2>, kTopRank> kLadder = {{
    {PrivateFirstClass, PrivateFirstClass},
    {Corporal, Corporal},
    {Sergeant, Sergeant},
    {Lieutenant, Lieutenant},
    {Captain, Captain},
    {Major, Major},
    {ColonelEurope, ColonelWorldII},
    {BrigadierGeneral, BrigadierGeneral},
    {MajorGeneral, MajorGeneral},
    {LieutenantGeneral, LieutenantGeneral},
    {General, General},
    {GeneralOfTheArmy, GeneralOfTheArmy},
}};

qint32 climb(const Achievements &done)
{
    qint32 rank = 0;
    for (const auto &step : kLadder) {
        if (!done[step[0]] || !done[step[1]])
            break;
        ++rank;
    }
    return rank;
}

} // namespace

QString rankName(int rank)
{
    if (rank < 0 || rank >= kRankCount)
        return QString();
    return QLatin1String(kRankNames[rank]);
}

void computeSinglePlayerRank(qint32 *rank, qint32 *second)
{
    *rank = 0;
    *second = 0;
    Achievements done{};
    scanScoresFile([&done](const ScoresRecord &record) {
        if (!countsForRank(record))
            return;
        for (const Requirement &q : kRequirements)
            if (meets(record, q))
                done[q.achievement] = true;
    });
    *rank = climb(done);
    *second = *rank == 6 && done[ColonelEurope] ? 1 : 0;
}

qint32 computeMultiplayerRank()
{
    qint32 wins = 0;
    scanScoresFile([&wins](const ScoresRecord &record) {
        if (record.connection > 0 && record.humanWon == 1)
            ++wins;
    });
    return qMin(wins, static_cast<qint32>(kTopRank));
}
