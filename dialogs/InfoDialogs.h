#pragma once
// The in-game information dialogs and About, and the one way the program opens a web page.

#include <QUrl>

// Opens a web page in the default browser; tests install their own.
extern bool (*openWebPage)(const QUrl &url);
// The game's website, from the "website" entry of the online services' file (OnlineConfig.h);
// empty when none is set up.
QUrl gameWebsite();
