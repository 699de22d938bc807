#pragma once

// Everything the window folder keeps (screen and menu state, pointer and pinch tracking, the
// title text, the network and dialog values it starts) back to its start value.
void resetAppState();
