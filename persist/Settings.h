#pragma once
// The settings file: options, names and personalities kept from one run to the next.

void loadSettings();
void saveSettings();
