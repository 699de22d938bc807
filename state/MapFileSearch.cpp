#include "state/MapFileSearch.h"

#include "persist/DataFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

QString findMapFile(const QString &fileName, const QString &firstFolder)
{
    QStringList folders;
    if (!firstFolder.isEmpty())
        folders << firstFolder;
    const QString runFolder = dataDirPath.isEmpty() ? QDir::currentPath() : dataDirPath;
    folders << runFolder << QDir(runFolder).filePath(QStringLiteral("maps"));
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo(path).isFile())
            return QDir::toNativeSeparators(path);
    }
    return QDir::toNativeSeparators(QDir(folders.first()).filePath(fileName));
}
