#include "persist/DataFolder.h"

#include <QDir>

QString dataDirPath;
QString startFolderPath;

void takeDataFolderFromWorkingFolder()
{
    dataDirPath = QDir::currentPath();
    startFolderPath = dataDirPath;
}

QString dataFilePath(const QString &fileName)
{
    const QString folder = dataDirPath.isEmpty() ? QDir::currentPath() : dataDirPath;
    return QDir::toNativeSeparators(QDir(folder).filePath(fileName));
}
