#pragma once
// The temporary copy that a write of the game's files makes beside the file (writeWholeFile) is
// gone once the write ends; a program killed in the middle of one may leave it behind.

// Removes such copies of the settings, the scores and the saved games from the data folder: the
// names that only the program's own copies take. Never the files themselves, nor anything else:
// a player's "World.TrvGX.backup" stays, and so do the copies of earlier versions, which took
// names a player may give a file too.
void removeLeftoverCopies();
