#include "state/MapLoading.h"

#include "maps/MapTexts.h"
#include "persist/DataFolder.h"
#include "persist/Settings.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapFile.h"
#include "state/Seams.h"
#include "state/TextFile.h"

#include <QDir>
#include <QFileInfo>

QString mapFilePath;
char useStoredMapPath = 'n';
quint8 mapLoadSucceeded = 0;
quint8 mapLoadOutsideSetup = 0;

namespace {

// The file name a top-five game looks up: in a campaign the campaign's current map.
QString topFiveFileName(const QString &path)
{
    if (campaignId == CampaignFromFile && campaignMapIndex >= 1 && campaignMapIndex <= campaignMapCount)
        return campaignMapNames[campaignMapIndex].trimmed() + QStringLiteral(".txt");
    return QFileInfo(path).fileName();
}

bool readMapLines(const QString &path)
{
    mapFileLines.clear();
    if (topFiveGame) {
        if (MapTextFunction text = mapTextForFileName(topFiveFileName(path)))
            text();
        if (mapFileLines.isEmpty()) {
            showErrorBox(QStringLiteral("Map downloads Top 5 Map Not Found - Map File Error"));
            return false;
        }
        return true;
    }
    switch (readTextFileLines(path, mapFileLines)) {
    case TextFileStatus::Ok:
        return true;
    case TextFileStatus::NotFound:
        showErrorBox(QStringLiteral("Map File Not Found - Map File Error"));
        return false;
    case TextFileStatus::TooLarge:
        showErrorBox(QStringLiteral("Map File Too Large - Map File Error"));
        return false;
    }
    return false;
}

void loadMapFrom(const QString &path)
{
    mapLoadSucceeded = 0;
    if (!readMapLines(path))
        return;
    int result = MapFileOk;
    loadMapFile(result);
    if (result != MapFileOk) {
        showErrorBox(mapFileErrorText(result));
        return;
    }
    applyLoadedMapFile(path);
    mapLoadSucceeded = 1;
}

} // namespace

void showMapDownloadHint()
{
    if (hideMapDownloadHint || gameMode == ModeClient)
        return;
    const int answer = interaction().choose(
        QStringLiteral("Tarvan GX"),
        QStringLiteral("More maps and campaigns can be played from files: keep a map's \".txt\" file "
                       "and its \".png\" picture of the same name in one folder, and a campaign's "
                       "\".cmpgn\" file beside the maps it names."),
        {QStringLiteral("OK"), QStringLiteral("Don't show this again")});
    if (answer == 1) {
        hideMapDownloadHint = 1;
        saveSettings();
    }
}

void loadMap()
{
    QString path = mapFilePath;
    if (useStoredMapPath != 'j') {
        showMapDownloadHint();
        path = interaction().openFileName(QStringLiteral("Load a Map..."), startFolderPath,
                                          QStringLiteral("Map Files (*.txt)"));
        if (path.isEmpty()) {
            mapLoadSucceeded = 0;
            return;
        }
    }
    loadMapFrom(path);
}

void reloadMapFile()
{
    loadMapFrom(mapFilePath);
}

void applyLoadedMapFile(const QString &path)
{
    mapFilePath = path;
    const QFileInfo file(path);
    customMapImagePath = file.dir().filePath(file.completeBaseName() + QStringLiteral(".png"));
    selectMap(MapCustom);
    clearRoutes();
    settleNewMap();
}
