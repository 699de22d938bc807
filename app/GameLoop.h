#pragma once
// The game loop's own state, and the seams through which it reaches the sockets and the parts of
// the program that answer later (the army-count dialog, the online game list).

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

// ---- The demo ----
extern qint32 demoBlinkCounter; // ticks of the prompt's blinking, 0..3
extern quint8 savedWorldFlag;   // the World flag as it was before the demo chose the World map

// ---- Kept here until their own parts take them over ----
// The continent parameter of the network snapshot (steps 5 and 6, message steps 2 and 3).
extern qint32 highlightedContinent;
// This host's entry on the online game list: its slot and address text.
extern qint32 gameListSlot;
extern QString hostAddressText;
// `gameListSlot` of a game without an entry on the online game list.
constexpr int kNoGameListSlot = 99;

// ---- Seams ----
// Writes bytes to client socket n (1..4): the number written, or -1 when the socket is not
// connected or the write fails. Every message the loop sends goes through it.
using SocketWriter = std::function<qint64(int socket, const QByteArray &bytes)>;
qint64 writeToSocket(int socket, const QByteArray &bytes);
// Replaces the writer (tests record or fail writes); an empty function restores the sockets.
void setSocketWriter(SocketWriter writer);

// The army-count question after a conquest (selector, largest count), shown without blocking;
// installed by the dialogs. Nothing is asked while none is installed.
extern void (*armyCountQuestion)(int mode, int limit);
// Uploads this host's game-list entry (slot, address text, closed flag); installed by the
// online services.
extern void (*gameListEntryUpload)(int slot, const QString &address, int closed);
// Ends the application's event loop (the network watchdog's give-up).
extern void (*quitEventLoop)();

// "socket send ERROR " and the code, and for sockets 2..4 a blank and the socket number.
QString socketErrorText(int code, int socket);
// The frame time a sprite animation of `kind` runs the game timer at, by speed and network.
int spriteFrameInterval(int kind);

// Every value above (and the sprites on the map) back to its start value.
void resetGameLoopState();
