#pragma once
// The folder the program keeps its files in: the working folder found at start-up.

#include <QString>

extern QString dataDirPath;
extern QString startFolderPath;

// Takes the current working folder as the data folder and the dialogs' start folder.
void takeDataFolderFromWorkingFolder();
// A file of the data folder, joined with the platform's own separator.
QString dataFilePath(const QString &fileName);
