#pragma once
// The game over the network: what each machine sends when it acts, what it does with each
// message that arrives, and how the host hands the placement and the turns round the table.
// The host (player 1) decides whose turn it is; the machine whose player acts changes the state
// and sends it whole; the host passes a client's state on to the other clients.

#include <QByteArray>
#include <QString>

#include <functional>

class QTcpSocket;
class ViewArea;

// The four-digit code and the state snapshot (with the names block for the start of a game).
QByteArray snapshotMessage(int code);
// The code alone, or the code and a short payload, as Latin-1.
QByteArray plainMessage(int code, const QByteArray &payload = QByteArray());

// Host: the clients that have joined, except the one on socket `except`; a failed write shows
// "socket send ERROR <code> <socket>".
void sendToJoinedClients(const QByteArray &message, int except = 0);
// Sends a message that the other side acknowledges: the watchdog resends it until it does.
void sendAwaitedMessage(int socket, int code);

// What the rules call after an action in a network game (does nothing outside one): 1003 (host)
// and 1006 (client) the state after an action; 1004 (host) and 1005 (client) a player's initial
// placement done; 1007 (host) and 1011 (client) a turn ended.
void networkUpdate(int code);

// Host: the turn has passed to `currentPlayer`: computer players play their turns here, another
// machine's player is handed his turn (1007), and the host's own turn is begun by the game loop.
void continueNetworkTurns();
// Host: the current player's initial placement is done: the next player places (computer
// players here, another machine's player on 1004), and after the last the first turn begins.
void continueNetworkPlacement();
// The placement of the player of this machine begins (a stronghold first when they are on).
void beginOwnPlacement();

// Host: Launch. Deals the map among the players who have joined and starts the game on every
// machine (1002); refused (a beep) while nobody has joined.
void startNetworkGame();

// Host: takes the waiting connections into free client sockets; `connectSocket` wires a socket's
// data to its receiver. A connection that sends the search's probe, or goes before it has
// joined, gives its socket back. One that finds no free socket, or no open lobby, is told that
// the game has no seat for it (1001 with seat 0) and closed once that is sent.
void acceptConnections(const std::function<void(QTcpSocket *, int socket)> &connectSocket);
// Reads what client socket n (1..4) has received and acts on every whole message.
void receiveFromSocket(int socket);
// Acts on one whole message from client socket n.
void handleMessage(int socket, const QByteArray &message);

// The host's lobby shows who has joined: the map preview dealt round them and their names in the
// panel, so that a farewell from the lobby carries a state every machine can read.
void showLobbyPlayers();
// A joining player's lobby: nothing of the host's game comes before its start, so the map this
// machine has built stands dealt to nobody, without a panel; his farewell from it is still read.
void showJoiningLobby();
// The player panel as the screen stands: in the host's lobby nobody is to play yet, so it is drawn
// for player 1, who places first; elsewhere for the current player.
void drawPanelOfThisScreen();

// Client: a lost connection to the host ends the game here with a box, and the window returns to
// the start state.
void watchHostConnection();

// The peer on socket n is gone (its connection closed, or silent too long): on the host his seat
// leaves the lobby or the game, a connection that never joined gives its socket back; on a
// client the host is lost. Once the game is over, only the connection closes.
void dropPeer(int socket);
// This machine's network game or set-up ends here without a game: the server and every
// connection closed, the window in its start state at the start menu (the main menu, no title, a
// blank status line), as any cancelled set-up leaves it. Without a window the game's state stays.
void returnToStartMenu(ViewArea *view);
// What a joining player is told when no game answers at the host's address (a LAN game adds what
// to check).
QString hostNotFoundText();

// Closes this machine's connections of a network game (on the host every client's, and the
// server stops listening) without ending anything here: nothing more comes from them.
void closeNetworkConnections(bool host);
// Every connection of this machine is closed and its table of seats emptied; the server stays.
void closeAllConnections();

// Client socket n (1..4) is `socket` from now on.
void setClientSocket(int n, QTcpSocket *socket);
