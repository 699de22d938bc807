#pragma once
// The dialog side of a won high-score game: the list of its map fetched, the entry chosen, the
// name asked, and the list sent (after which the program closes).

void submitTopFiveScore(int mapSet, int losses);
