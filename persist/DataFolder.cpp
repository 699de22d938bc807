#include "persist/DataFolder.h"

#include "persist/SavedGame.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "persist/SharedGlobals.h"
#include "persist/WholeFile.h"

#include <QDir>

QString dataDirPath;
QString startFolderPath;

void takeDataFolderFromWorkingFolder()
{
    dataDirPath = QDir::currentPath();
    startFolderPath = dataDirPath;
    lastSaveFileName = dataFilePath(QStringLiteral("*.TrvGX"));
}

QString dataFilePath(const QString &fileName)
{
    const QString folder = dataDirPath.isEmpty() ? QDir::currentPath() : dataDirPath;
    return QDir::toNativeSeparators(QDir(folder).filePath(fileName));
}

void resetPersistState()
{
    resetSharedGlobals();
    resetSettingsState();
    resetScoresState();
    resetSavedGameState();
    updateLockWaitMs = kUpdateLockWaitMs;
}
