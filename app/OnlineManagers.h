#pragma once
// The two HTTP managers of the online services (the game list, the top-five lists). Each is made
// the first time it is asked for, with the window as parent and its replies going to the window's
// slot: most sessions never go online, and a manager costs the start-up time to make.

class QNetworkAccessManager;
class ViewArea;

// The window the managers will belong to; the window's construction names itself.
void armOnlineManagers(ViewArea *window);
// The manager, made now if it was not yet; nullptr without a window.
QNetworkAccessManager *gameListManager();
QNetworkAccessManager *topFiveManager();
// Deletes the managers made and forgets the window (its destruction).
void dropOnlineManagers();
