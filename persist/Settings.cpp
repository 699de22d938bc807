#include "persist/Settings.h"

// The settings file's reader and writer arrive with the persistence work.
void loadSettings() {}
void saveSettings() {}
