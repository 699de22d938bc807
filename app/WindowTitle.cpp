#include "app/WindowTitle.h"

#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"

namespace {

QString gameKindPiece()
{
    QString text;
    if (topFiveGame)
        text = QStringLiteral("Top 5");
    else if (gameMode == ModeSinglePlayer)
        text = QStringLiteral("Single Player");
    switch (gameMode) {
    case ModeDemo:
        text += QStringLiteral("Demo");
        break;
    case ModeHotseat:
        text += QStringLiteral("Hotseat");
        break;
    case ModeHost:
    case ModeClient:
        text += internetGame ? QStringLiteral("Internet") : QStringLiteral("LAN");
        break;
    default:
        break;
    }
    return text;
}

QString campaignPiece()
{
    switch (campaignId) {
    case CampaignWorlds:
        return QStringLiteral(" - Worlds");
    case CampaignWestPacific:
        return QStringLiteral(" - West Pacific");
    case CampaignNorthAtlantic:
        return QStringLiteral(" - N. Atlantic");
    case CampaignThreeNations:
        return QStringLiteral(" - Three Nations");
    case CampaignTarvan:
        return QStringLiteral(" - Tarvan GX");
    case CampaignFromFile:
        return QStringLiteral(" - ") + campaignName;
    default:
        return QString();
    }
}

// The continent player 1 must take next; empty when the saved list does not name one.
QString nextMissionContinentName()
{
    setBuiltinContinentNames();
    if (missionContinentIndex < 1 || missionContinentIndex > kMaxContinents)
        return QString();
    const int continent = missionContinents[1][missionContinentIndex];
    if (continent < 1 || continent > kMaxContinents)
        return QString();
    return continentName[continent];
}

QString missionPiece()
{
    switch (missionType) {
    case 1:
        return QStringLiteral(" - Continents - %1").arg(nextMissionContinentName());
    case 2:
        return QStringLiteral(" - Hold Continents");
    case 3:
        if (escortTarget >= 1 && escortTarget <= kMaxPlayers)
            return QStringLiteral(" - Escort %1 ").arg(shownPlayerName(escortTarget));
        return QString();
    default:
        return QString();
    }
}

} // namespace

QString composeWindowTitle()
{
    QString text = gameKindPiece();
    text += attackRule == 'j' ? QStringLiteral(" - 1 for 1") : QStringLiteral(" - Dice Like");
    if (campaignId > 0) {
        text += campaignPiece();
        // A campaign file's name is padded to 14 characters.
        if (campaignId == CampaignFromFile)
            text = text.trimmed();
        text += QStringLiteral(" - Map %1 of %2").arg(campaignMapIndex).arg(campaignMapCount);
    }
    if (difficulty == 0)
        text += QStringLiteral(" - Easy");
    text += missionPiece();
    if (rankGame)
        text += QStringLiteral(" - Rank Game");
    return text;
}

void ViewArea::updateWindowTitle()
{
    windowTitleText = composeWindowTitle();
    update();
}
