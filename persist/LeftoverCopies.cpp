#include "persist/LeftoverCopies.h"

#include "persist/Scores.h"
#include "persist/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The names a write's copy takes: the settings file's, the scores file's or a saved game's, then
// the six characters the copy adds.
QRegularExpression copyName()
{
    const QString settings = QRegularExpression::escape(QFileInfo(settingsFileName()).fileName());
    const QString scores = QRegularExpression::escape(QFileInfo(scoresFileName()).fileName());
    return QRegularExpression(QStringLiteral("^(%1|%2|.+\\.TrvGX)\\.[A-Za-z0-9]{6}$").arg(settings, scores));
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
