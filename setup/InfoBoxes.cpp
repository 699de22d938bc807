// The information boxes of the set-up's dialogs. Their texts are the program's own and are shown
// exactly as written, blank last lines included.

#include "setup/InfoBoxes.h"

#include "app/ViewArea.h"
#include "state/Seams.h"

namespace {

const char *const kAllOptionsText =
    "Dice-like\n"
    "The outcome of the attack is unpredictable\n"
    "(a bigger army gives a better chance of winning).\n"
    "\n"
    "1-for-1\n"
    "Largest force loses as many as the smaller force\n"
    "(the biggest army always wins the battle).\n"
    "This option makes the game more challenging.\n"
    "\n"
    " Strongholds\n"
    "Choose a territory as your stronghold and defend it at all cost.\n"
    "Without it you lose, and your territories convert to neutral.\n"
    "The first territory you pick during initial placement will be your stronghold and will get 15 bonus armies.\n"
    "The number of players is limited to the number of continents on the map.\n"
    "\n"
    " Troop Experience\n"
    "During battles your troops will gain experience, whereas\n"
    "avoiding battles will have the opposite effect.\n"
    "Troop Experience (TE) is shown as a percentage next to the player's name.\n"
    "A higher TE will give your troops defensive and offensive advantages.\n"
    "Troop Experience begins with round 10.";

const char *const kAttackRulesText =
    "Dice-like\n"
    "\n"
    "The outcome of the attack is unpredictable\n"
    "(a bigger army gives a better chance of winning).\n"
    "\n"
    "1-for-1\n"
    "\n"
    "Largest force loses as many as the smaller force\n"
    "(the biggest army always wins the battle).\n"
    "\n"
    "This option makes the game more challenging.\n"
    " ";

const char *const kStrongholdsText =
    "Choose a territory as your stronghold and defend it at all cost.\n"
    "\n"
    "Without it you lose, and your territories convert to neutral.\n"
    "\n"
    "The first territory you pick during initial placement will be your stronghold and will get 15 bonus armies.\n"
    "\n"
    "The number of players is limited to the number of continents on the map.\n"
    " ";

const char *const kTroopExperienceText =
    "During battles your troops will gain experience, whereas\n"
    "avoiding battles will have the opposite effect.\n"
    "\n"
    "Troop Experience (TE) is shown as a percentage next to the player's name.\n"
    "\n"
    "A higher TE will give your troops defensive and offensive advantages.\n"
    "\n"
    "Troop Experience begins with round 10.\n"
    "\n"
    " ";

const char *const kMissionsText =
    "Conquer All\n"
    "Default mission, you must conquer everything on the map.\n"
    "\n"
    "Continents   (single player)\n"
    "Conquer continents in a prescribed order. \n"
    "There is no need to hold a conquered continent.\n"
    "The Stats window shows the current continent when playing.\n"
    "The continents window shows your progress.\n"
    "AI players play the Conquer All mission, and are unaware of your mission.\n"
    "\n"
    "Hold Continents   (single player)\n"
    "Here losing a continent means losing the game.\n"
    "AI players play the Conquer All mission, and are unaware of your mission.\n"
    "\n"
    "Escort   (single player)\n"
    "Escort an AI player to the end.\n"
    "You can attack each other if necessary.\n"
    "The main window shows your ally.\n"
    "AI players play the Conquer All mission, and are unaware of your mission,\n"
    "including the escorted AI player.\n"
    " ";

const char *const kInternetHostText =
    "If your IP is listed on the list: it doesn't automatically mean that you can connect to it. \n"
    "Most often this has to do with routers, port forwarding or firewalls.\n"
    "\n"
    "The game provides an easy way of testing your game server before running everything via the internet: \n"
    "Start Tarvan GX, choose Multiplayer Game, Internet (Online) Game, Create and host a Game, World, name,\n"
    "    your friends know your IP address, Go to listen mode.\n"
    "\n"
    "Start a second copy of Tarvan GX on the same pc, choose Multiplayer Game, Internet (Online) Game, Join a Game, name,\n"
    "    type in the host's IP address (enter your public/external IP).\n"
    "\n"
    "If it responds with =Waiting for host to start game= you are doing well.\n"
    "If it responds with an =Can't find the host's game= error then you'll have to dig deeper,\n"
    "    go to the Settings -> Hosting Internet Games.. dialog again and try other settings.\n"
    "\n"
    "Some other hints:\n"
    "Try this again with the firewall(s) disabled.\n"
    "After you've configured portforwarding, you need to restart because it still uses the blocked connection.\n"
    " ";

InfoBox box(const char *title, const char *text)
{
    // Passed through the window's translation; there are no translations, so it shows as written.
    return {QString::fromLatin1(title), ViewArea::tr(text)};
}

} // namespace

InfoBox allOptionsInfo() { return box("Tarvan GX", kAllOptionsText); }
InfoBox attackRulesInfo() { return box("Tarvan GX", kAttackRulesText); }
InfoBox strongholdsInfo() { return box("Strongholds", kStrongholdsText); }
InfoBox troopExperienceInfo() { return box("Troop Experience", kTroopExperienceText); }
InfoBox missionsInfo() { return box("Tarvan GX", kMissionsText); }
InfoBox internetHostInfo() { return box("Tarvan GX", kInternetHostText); }

void showInfoBox(const InfoBox &info)
{
    interaction().message(MessageIcon::Information, info.title, info.text);
}

void ViewArea::opties1info() { showInfoBox(allOptionsInfo()); }
void ViewArea::opties1info1() { showInfoBox(attackRulesInfo()); }
void ViewArea::opties1info2() { showInfoBox(strongholdsInfo()); }
void ViewArea::opties1info3() { showInfoBox(troopExperienceInfo()); }
void ViewArea::missioninfo1() { showInfoBox(missionsInfo()); }
void ViewArea::mplayinfo1() { showInfoBox(internetHostInfo()); }
