#pragma once

// What the window's constructor starts afresh: the screen and menu state, pointer and pinch
// tracking, the title text, and the network and dialog values the window starts.
void resetAppState();
// All of the window folder back to its start value: the above, and what outlives one window (the
// paint handler's layout, status bar and fitted picture, the game loop's own state with its
// sprites and socket writer). A fresh start of the whole program resets through this.
void resetAllAppState();
