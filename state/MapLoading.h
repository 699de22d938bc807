#pragma once
// Loading a map file from disk, or one of the map texts by its file name in a top-five game.

#include <QString>

extern QString mapFilePath;
extern char useStoredMapPath;   // 'j': take `mapFilePath` as it is; 'n': ask with a file dialog
extern quint8 mapLoadSucceeded; // the result of the last `loadMap` or `loadCampaign`
extern quint8 mapLoadOutsideSetup;

// Loads the map file (or, in a top-five game, the map text of that file's name). On success the
// map-file flag is the only map flag set; on failure the error box has been shown and the
// previous map is untouched.
void loadMap();
// Reads the map file at `mapFilePath` again, without asking.
void reloadMapFile();
// The hint about where more maps come from, unless the player asked not to see it again.
void showMapDownloadHint();

// Commits the map just parsed as the current map file: flags, picture path, deal table, deck.
void applyLoadedMapFile(const QString &path);
