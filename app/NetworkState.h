#pragma once
// Network play's objects and globals as far as the window creates and starts them. The
// protocol itself (joining, snapshots, acknowledgements, online lists) comes with the network
// work, which takes these over.

#include "net/ListFile.h"

#include <QList>
#include <QString>
#include <QtGlobal>

class QTcpServer;
class QTcpSocket;

constexpr qint32 kDefaultGamePort = 5466;
constexpr int kMaxClients = 4;

// Created by the window with the window as parent, destroyed with it.
extern QTcpServer *tcpServer;
extern QTcpSocket *clientSocket1; // on a client: the socket to the host
extern QTcpSocket *clientSocket2;
extern QTcpSocket *clientSocket3;
extern QTcpSocket *clientSocket4;
// Client socket n (1..4), or nullptr.
QTcpSocket *clientSocket(int n);

extern qint32 gamePort;
extern qint32 clientCount;          // the host's connected clients, 0..4
extern qint32 receivingSocketIndex; // the client socket whose data is being read, 1..4
extern QString outMessage;          // the message being sent: a four-digit code and its payload
extern quint8 lobbyOpen;
extern quint8 decodingGameStart;
extern quint8 chatPending;
extern quint8 externalIpCheck;
extern qint32 awaitedAckCode;
extern qint32 ackWaitTicks;
extern qint32 ackResendCount;
extern qint32 awaitedAckSocket;
extern qint32 msgTerritory;
extern qint32 msgOwner;
extern qint32 msgArmies;
extern qint32 msgFlag;
extern QString chatInput;
extern QString chatOutgoing;
extern QString topFiveText;
extern QList<ListFile> downloadedLines; // the files of the last list fetch, in the order asked

// Every value above back to its start value (the objects are the window's to create).
void resetNetworkState();
