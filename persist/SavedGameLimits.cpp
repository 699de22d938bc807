#include "persist/SavedGameLimits.h"

#include "persist/Ranks.h"
#include "persist/SavedGame.h"
#include "persist/Settings.h"

#include <array>
#include <cmath>

namespace {

constexpr qint32 kCardTradeDone = 177;
constexpr qint32 kMaxMissionType = 3;
// The cards of each kind in a game, by CardKind: those held and those in the deck together are
// never more, so no trade or draw after a load can push a count past them.
constexpr std::array<qint32, 4> kCardsOfKind = {2, 17, 17, 17};

// The counts of a player record from battle losses to continents lost, as the player reads them.
const char *const kCounterNames[] = {
    "battle losses of player %1",        "battles of player %1",
    "attacks of player %1",              "reinforcement rounds of player %1",
    "armies committed by player %1",     "battles lost by player %1",
    "battles won by player %1",          "continent bonus received by player %1",
    "card bonus received by player %1",  "continents lost by player %1"};
static_assert(sizeof(kCounterNames) / sizeof(kCounterNames[0])
                  == PlayerRecord::ContinentsLost - PlayerRecord::BattleLosses + 1,
              "one name for each count");

// Keeps the first value found outside its limits, in words. A name may hold %1 and %2, filled
// in only for a value that is out, so the check costs no text while every value is within.
class LimitCheck {
public:
    void within(qint64 value, qint64 low, qint64 high, const char *what, int a = 0, int b = 0)
    {
        if (value < low || value > high)
            refuse(name(what, a, b), QString::number(value), QStringLiteral("%1 to %2").arg(low).arg(high));
    }
    void oneOf(qint64 value, qint64 first, qint64 second, const char *what)
    {
        if (value != first && value != second)
            refuse(name(what), QString::number(value), QStringLiteral("%1 or %2").arg(first).arg(second));
    }
    // A rank from `low` to `high`, or the mark of no rank game.
    void rank(qint32 value, qint32 high, const char *what)
    {
        if (value != kNoRankAtStart && (value < 0 || value > high))
            refuse(name(what), QString::number(value), QStringLiteral("0 to %1 or %2").arg(high).arg(kNoRankAtStart));
    }
    void mark(char value, const char *what)
    {
        if (value != 'j' && value != 'n')
            refuse(name(what), shownCharacter(value), QStringLiteral("\"j\" or \"n\""));
    }
    void seconds(double value, const char *what)
    {
        if (!std::isfinite(value) || value < 0 || value > kMostPlayTimeSeconds)
            refuse(name(what), QString::number(value, 'g', 12),
                   QStringLiteral("0 to %1").arg(kMostPlayTimeSeconds, 0, 'f', 0));
    }
    QString broken() const { return broken_; }

private:
    static QString name(const char *what, int a = 0, int b = 0)
    {
        QString text = QString::fromLatin1(what);
        if (text.contains(QLatin1String("%2")))
            return text.arg(a).arg(b);
        return text.contains(QLatin1String("%1")) ? text.arg(a) : text;
    }
    static QString shownCharacter(char value)
    {
        const uchar code = static_cast<uchar>(value);
        if (code >= 0x20 && code < 0x7F)
            return QStringLiteral("\"%1\"").arg(QLatin1Char(value));
        return QStringLiteral("the character code %1").arg(code);
    }
    void refuse(const QString &what, const QString &value, const QString &allowed)
    {
        if (broken_.isEmpty())
            broken_ = QStringLiteral("%1: %2, where a saved game holds %3").arg(what, value, allowed);
    }

    QString broken_;
};

void checkTerritories(LimitCheck &check, const SavedGameRecord &r)
{
    for (int t = 1; t <= kMaxTerritories; ++t) {
        check.within(r.territoryState[t].owner, 0, kMaxPlayers, "owner of territory %1", t);
        check.within(r.territoryState[t].armies, 0, kMostTerritoryArmies, "armies in territory %1", t);
    }
}

void checkPlayer(LimitCheck &check, const PlayerRecord &player, int p)
{
    for (int c = 1; c <= kMaxContinents; ++c)
        check.within(player.f[PlayerRecord::ContinentHeld1 + c - 1], 0, 1, "continent %2 mark of player %1", p, c);
    check.within(player.f[PlayerRecord::TerritoriesHeld], 0, kMaxTerritories, "territories of player %1", p);
    check.within(player.f[PlayerRecord::TotalArmies], 0, qint64(kMaxTerritories) * kMostTerritoryArmies,
                 "armies of player %1", p);
    check.within(player.f[PlayerRecord::ContinentBonus], 0, kMostCount, "continent bonus of player %1", p);
    for (int i = 0; i <= PlayerRecord::ContinentsLost - PlayerRecord::BattleLosses; ++i)
        check.within(player.f[PlayerRecord::BattleLosses + i], 0, kMostCount, kCounterNames[i], p);
    check.within(player.f[PlayerRecord::Stronghold], 0, kMaxTerritories, "stronghold of player %1", p);
}

// Each kind: the deck's count, each hand, and all of them together.
void checkCards(LimitCheck &check, const SavedGameRecord &r)
{
    static const char *const kHand[4] = {"wild cards of player %1", "cavalry cards of player %1",
                                         "infantry cards of player %1", "artillery cards of player %1"};
    static const char *const kDeck[4] = {"wild cards in the deck", "cavalry cards in the deck",
                                         "infantry cards in the deck", "artillery cards in the deck"};
    static const char *const kAll[4] = {"wild cards held and in the deck", "cavalry cards held and in the deck",
                                        "infantry cards held and in the deck",
                                        "artillery cards held and in the deck"};
    for (int kind = CardWild; kind <= CardArtillery; ++kind) {
        // The record's card fields run artillery, infantry, cavalry, wild: the kinds backwards.
        const int field = PlayerRecord::Artillery + (CardArtillery - kind);
        qint64 all = r.cardDeckCounts[kind];
        check.within(r.cardDeckCounts[kind], 0, kCardsOfKind[kind], kDeck[kind]);
        for (int p = 1; p <= kMaxPlayers; ++p) {
            check.within(r.playerTable[p].f[field], 0, kCardsOfKind[kind], kHand[kind], p);
            all += r.playerTable[p].f[field];
        }
        check.within(all, 0, kCardsOfKind[kind], kAll[kind]);
    }
    check.oneOf(r.cardTradeMarker, 0, kCardTradeDone, "card trade mark");
}

// Who plays, and how far each has come.
void checkPlayers(LimitCheck &check, const SavedGameRecord &r)
{
    check.within(r.playerCount, 2, kMaxPlayers, "players");
    check.within(r.humanPlayerCount, 0, r.playerCount, "human players");
    check.within(r.currentPlayer, 1, r.playerCount, "player to play");
    for (int p = 1; p <= kMaxPlayers; ++p) {
        checkPlayer(check, r.playerTable[p], p);
        check.within(r.pairs10[p].id, 0, kMaxPlayers, "main enemy noted by player %1", p);
        check.within(r.pairs10[p].value, 0, kMostCount, "turn of the main enemy noted by player %1", p);
        check.within(r.turnsTaken[p], 0, kMostCount, "turns of player %1", p);
        check.within(r.personality[p], 0, kPersonalityUnstable, "personality of player %1", p);
        check.within(r.avengeTarget[p], 0, kMaxPlayers, "player avenged by player %1", p);
        check.within(r.personalitySetting[p], 0, kPersonalityUnstable, "personality setting of player %1", p);
    }
}

void checkOptions(LimitCheck &check, const SavedGameRecord &r)
{
    check.mark(r.cardEarnedThisTurn, "card earned mark");
    check.mark(r.attackRule, "attack rule");
    check.within(r.difficulty, 0, 1, "level");
    check.within(r.gameMode, ModeSinglePlayer, ModeDemo, "game kind");
    check.seconds(r.playTimeSeconds, "play time in seconds");
}

void checkCampaign(LimitCheck &check, const SavedGameRecord &r)
{
    check.within(r.campaignId, NoCampaign, CampaignFromFile, "campaign");
    check.within(r.campaignMapCount, 1, kMaxCampaignMaps, "maps of the campaign");
    check.within(r.campaignMapIndex, 1, r.campaignMapCount, "map of the campaign");
    check.within(r.campaignPlayer, 0, kMaxPlayers, "campaign player");
}

void checkMission(LimitCheck &check, const SavedGameRecord &r)
{
    check.within(r.missionType, 0, kMaxMissionType, "mission");
    for (int p = 1; p <= kMaxPlayers; ++p)
        for (int c = 1; c <= kMaxContinents; ++c)
            check.within(r.missionContinents[p][c], 0, kMaxContinents, "mission continent %2 of player %1", p, c);
    check.within(r.missionContinentIndex, 0, kMaxContinents, "mission step");
    check.within(r.escortTarget, 0, kMaxPlayers, "escorted player");
}

void checkRankGame(LimitCheck &check, const SavedGameRecord &r)
{
    check.rank(r.rankAtGameStart, kTopRank, "rank at the start");
    check.rank(r.rankFlagAtGameStart, 1, "second rank value at the start");
    check.within(r.savesUsed, 0, kMaxRankSaves, "saves used");
}

} // namespace

QString savedGameLimitBroken(const SavedGameRecord &record)
{
    LimitCheck check;
    checkPlayers(check, record);
    checkTerritories(check, record);
    checkCards(check, record);
    checkOptions(check, record);
    checkCampaign(check, record);
    checkMission(check, record);
    checkRankGame(check, record);
    return check.broken();
}
