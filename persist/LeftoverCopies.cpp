#include "persist/LeftoverCopies.h"

#include "persist/DataStream.h"
#include "persist/Scores.h"
#include "persist/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The copies of the settings file, the scores file and the saved games.
QRegularExpression copyName()
{
    const QString settings = QRegularExpression::escape(QFileInfo(settingsFileName()).fileName());
    const QString scores = QRegularExpression::escape(QFileInfo(scoresFileName()).fileName());
    return writeCopyNames(QStringLiteral("%1|%2|.+\\.TrvGX").arg(settings, scores));
}

} // namespace

void removeLeftoverCopies()
{
    const QRegularExpression copy = copyName();
    QDir folder = QFileInfo(settingsFileName()).absoluteDir();
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks))
        if (copy.match(name).hasMatch())
            folder.remove(name);
}
