#include "ai/RoutePlanning.h"

// Route planning arrives with the computer players.
void planRoute(int) {}
