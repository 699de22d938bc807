#pragma once
// The temporary copies that a write of the game's files makes beside them (the file's name, a dot
// and six letters or digits) are gone once the write ends; a program killed in the middle of one
// may leave a copy behind.

// Removes such copies of the settings, the scores and the saved games from the data folder;
// never the files themselves, nor anything else. Run at start-up.
void removeLeftoverCopies();
