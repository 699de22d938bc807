#pragma once
// Campaigns: a series of maps played one after the other by the same player.

#include <QString>
#include <QStringList>

#include <array>

constexpr int kMaxCampaignMaps = 10;

enum CampaignId {
    NoCampaign = 0,
    CampaignWorlds = 1,
    CampaignWestPacific = 2,
    CampaignNorthAtlantic = 3,
    CampaignThreeNations = 4,
    CampaignTarvan = 5,
    CampaignFromFile = 6,
};

extern qint32 campaignId;
extern qint32 campaignMapCount; // 1 in a single-map game
extern qint32 campaignMapIndex; // the map being played, from 1
extern qint32 campaignPlayer;   // the campaign's player on the current map
extern QString campaignName;
extern QString campaignFilePath;
extern std::array<QString, kMaxCampaignMaps + 1> campaignMapNames;
extern quint8 campaignCompleted; // the last map of the campaign has been won
extern quint8 campaignEnded;     // the campaign is lost

struct CampaignFile {
    QString name;
    QStringList maps;
};

// Parses a campaign text; false when it names no map, too many maps or a name that is not a
// plain file name.
bool parseCampaignText(const QStringList &lines, CampaignFile &campaign);

// Reads the campaign file (the stored path or one chosen in a file dialog) and points
// `mapFilePath` at the map file of the current campaign map; it does not load that map.
void loadCampaign();
// Moves on to the campaign's next map, or marks the campaign completed when none follows.
void selectNextCampaignMap();
void resetCampaignState();
