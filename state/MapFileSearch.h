#pragma once
// Where a map file named by its file name alone is found: a campaign, a saved game or the host of
// a network game names it, and the file may be in the run folder or in its maps folder.

#include <QString>

// The path of map file `fileName`: the first of `firstFolder` (when given), the run folder and
// the run folder's "maps" that holds it; when none does, the path in the first of them, so that
// the loader says it is not found.
QString findMapFile(const QString &fileName, const QString &firstFolder = QString());
