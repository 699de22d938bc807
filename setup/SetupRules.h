#pragma once
// The set-up's rules that need no dialog: what each answer means, what the questions offer,
// the fixed games of the rank ladder, and the names a new game is given.

#include "state/BuiltinMaps.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

// ---- Maps and campaigns ----

// The map of an answer of the map questions (1 World .. 8 Australia, 9 a map file,
// 10 Scandinavia, 11 Real World); MapFlagCount for any other answer.
MapFlag mapOfAnswer(int answer);

struct BuiltinCampaignChoice {
    int id;            // `campaignId`
    const char *label; // the button of the campaign question
    int mapCount;
    MapFlag firstMap;
};
// The built-in campaigns the campaign question offers, in its order (no button for campaign 4).
const BuiltinCampaignChoice *campaignChoicesBegin();
const BuiltinCampaignChoice *campaignChoicesEnd();
// The offered campaign of that id, or nullptr.
const BuiltinCampaignChoice *campaignChoice(int id);
// A built-in campaign chosen: its id, map count and first map become the current ones.
void selectBuiltinCampaign(const BuiltinCampaignChoice &campaign);

// ---- Players ----

// The number of computer players the single-player and demo question marks, by map and options.
int suggestedComputerPlayers();
// Whether that question offers n computer players (2..9).
bool computerPlayersOffered(int n);
// Hotseat: the most human players the game can seat (fewer with strongholds on a small map).
int hotseatMaxPlayers();
// A typed hotseat name as it is kept: one line, trimmed, at most 19 long, "pc..." turned into
// "apc"; empty when it is dropped (it does not compare at or above "A").
QString acceptedHotseatName(const QString &typed);
// Players 2..`last` (at most 10) take the names configured for them in the settings.
void nameComputerPlayersFromSettings(int last);
// The name of computer player p in a hotseat game ("pc II" .. "pc X").
QString hotseatComputerName(int player);

// ---- The rank game ----

struct RankGameRules {
    char attackRule = 'n';
    bool strongholds = false;
    bool troopExperience = false;
    int mission = 0;
    int players = 10;
    bool conquerors = false; // players 2..10 all Conquerors
    MapFlag map = MapWorld;  // the single map, or the campaign's first map
    int campaign = 0;        // a built-in campaign, 0 for a single map
};
// The game that earns the rank after `rank` (0..11); `europeDone` is the rank evaluation's second
// result. False for the top rank, which has nothing left to earn.
bool rankGameRules(int rank, int europeDone, RankGameRules &rules);

// ---- Texts ----

// "MMMddyyyyhhmm": the start of a game as it goes into the saved-game name.
QString formatStartText(const QDateTime &moment, const QLocale &locale = QLocale::system());
// The notice of the bigger divisor of new armies on large maps; empty up to 90 territories.
QString newArmiesNotice(int territories);
// The saved-game name of the game being set up, started at `startText`; empty when the map has
// no name of its own (the name then stays as it was).
QString composeSaveFileName(const QString &startText);
// The running game's saved-game name, and the name its first save proposes, from that rule.
void nameGameForSaving(const QString &startText);
