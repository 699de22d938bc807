#include "app/NetworkState.h"

QTcpServer *tcpServer = nullptr;
QTcpSocket *clientSocket1 = nullptr;
QTcpSocket *clientSocket2 = nullptr;
QTcpSocket *clientSocket3 = nullptr;
QTcpSocket *clientSocket4 = nullptr;

qint32 gamePort = kDefaultGamePort;
qint32 clientCount = 0;
qint32 receivingSocketIndex = 0;
QString outMessage;
quint8 lobbyOpen = 0;
quint8 decodingGameStart = 0;
quint8 chatPending = 0;
quint8 externalIpCheck = 0;
qint32 awaitedAckCode = 0;
qint32 ackWaitTicks = 0;
qint32 ackResendCount = 0;
qint32 awaitedAckSocket = 0;
qint32 msgTerritory = 0;
qint32 msgOwner = 0;
qint32 msgArmies = 0;
qint32 msgFlag = 0;
QString chatInput;
QString chatOutgoing;
QString topFiveText;
QList<ListFile> downloadedLines;

QTcpSocket *clientSocket(int n)
{
    switch (n) {
    case 1:
        return clientSocket1;
    case 2:
        return clientSocket2;
    case 3:
        return clientSocket3;
    case 4:
        return clientSocket4;
    default:
        return nullptr;
    }
}

void resetNetworkState()
{
    gamePort = kDefaultGamePort;
    clientCount = 0;
    receivingSocketIndex = 0;
    outMessage.clear();
    lobbyOpen = decodingGameStart = chatPending = externalIpCheck = 0;
    awaitedAckCode = ackWaitTicks = ackResendCount = awaitedAckSocket = 0;
    msgTerritory = msgOwner = msgArmies = msgFlag = 0;
    chatInput = chatOutgoing = QStringLiteral(" ");
    topFiveText.clear();
    downloadedLines.clear();
}
