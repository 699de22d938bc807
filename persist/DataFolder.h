#pragma once
// The folder the program keeps its files in: the working folder found at start-up.

#include <QString>

extern QString dataDirPath;
extern QString startFolderPath;

// Takes the current working folder as the data folder and the dialogs' start folder; the save
// dialog's first proposal becomes every saved game of that folder.
void takeDataFolderFromWorkingFolder();
// A file of the data folder, joined with the platform's own separator.
QString dataFilePath(const QString &fileName);

// Every global of the settings, scores and saved-game files back to its start value.
void resetPersistState();
