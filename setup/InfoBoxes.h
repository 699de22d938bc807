#pragma once
// The fixed texts behind the "Info..." buttons of the set-up's dialogs.

#include <QString>

struct InfoBox {
    QString title;
    QString text;
};

InfoBox allOptionsInfo();      // attack rules, strongholds and troop experience in one text
InfoBox attackRulesInfo();     // "Info..." beside "Dice"
InfoBox strongholdsInfo();     // "Info..." beside "Strongholds"
InfoBox troopExperienceInfo(); // "Info..." beside "Troop Experience"
InfoBox missionsInfo();        // "Info..." of the missions question
InfoBox internetHostInfo();    // testing an Internet host

// Shows the box (information icon, one OK button).
void showInfoBox(const InfoBox &box);
