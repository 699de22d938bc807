#include "net/NetPlay.h"

#include "net/NetFraming.h"
#include "net/NetLeaving.h"
#include "net/NetLiveness.h"
#include "net/NetResume.h"
#include "net/NetState.h"
#include "net/StateSnapshot.h"
#include "net/TurnCheck.h"

#include "ai/ComputerTurn.h"
#include "ai/InitialPlacement.h"
#include "app/GameLoop.h"
#include "app/DialogState.h"
#include "app/GameLoopInternal.h"
#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "app/PaintMapView.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "persist/SharedGlobals.h"
#include "rules/GameEnd.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/Sound.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "setup/SetupRules.h"
#include "state/BuiltinMaps.h"
#include "state/MapFileSearch.h"
#include "state/MapLoading.h"
#include "state/MapPicture.h"
#include "state/Seams.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"
#include "state/TextRules.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace {

bool isHost() { return networkSeat == 1; }
bool isClient() { return networkSeat > 1; }
// A client in the lobby, waiting for the host to start.
bool waitingForHost() { return isClient() && screenMode == 101; }

// A player at another machine: on the host, a client that has joined.
bool isRemoteSeat(int player)
{
    return player >= 2 && player <= kMaxNetworkSockets + 1 && netSession.socketOfSeat[player] > 0;
}

QByteArray codeDigits(int code)
{
    return QByteArray::number(code).rightJustified(kCodeLength, '0');
}

void repaintWindow()
{
    if (netWindow)
        netWindow->update();
}

void repaintShownTerritory(int t, int highlight)
{
    territoryChanged[t] = highlight ? 'j' : 'n';
    updateTerritoryDisplay(t, displayedTerritoryState[t].armies, displayedTerritoryState[t].owner, highlight, 0, 0);
}

// Visits every member of continent c that is a territory of the map.
template <typename Visit>
void forEachMember(int c, const Visit &visit)
{
    const ContinentRecord &continent = continentTable[c];
    for (int i = 1; i <= continent.memberCount && i <= kMaxContinentMembers; ++i)
        if (isValidTerritory(continent.members[i]))
            visit(continent.members[i]);
}

// Bounds on what one socket can make this machine hold: unread input, and output not yet sent.
constexpr qint64 kReadBufferBytes = 64 * 1024;
constexpr qint64 kReadChunkBytes = 16 * 1024;
// The seat in the host's answer to a join that it cannot seat.
constexpr int kNoSeat = 0;

// Codes that only the host sends, and codes that only a client sends.
bool isHostCode(int code)
{
    switch (code) {
    case 1001: case 1002: case 1003: case 1004: case 1007: case 1008: case 1009: case 1010:
    case 1012: case 1013: case 1014: case 1017: case 1019: case 1023: case 1024: case 1027:
    case 2005: case 2011: case 3000: case 9999:
        return true;
    default:
        return false;
    }
}

bool isClientCode(int code)
{
    switch (code) {
    case 1000: case 1005: case 1006: case 1011: case 1020: case 1025: case 1026: case 1028:
    case 2004: case 2007: case 3001: case 9999:
        return true;
    default:
        return false;
    }
}

void freeSocket(int n, bool graceful = false);

// The network game is over for this machine, ended by another: back at the start menu, and a
// box says why.
void endGameHere(const QString &text)
{
    if (networkSeat <= 0 || exitReason == ExitProgramClosing)
        return;
    returnToStartMenu(netWindow);
    interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"), text);
}

bool writeMessage(int socket, const QByteArray &message)
{
    if (writeToSocket(socket, message) == message.size())
        return true;
    setStatusText(socketErrorText(messageCode(message), socket));
    return false;
}

void acknowledge(int socket, int code)
{
    writeMessage(socket, plainMessage(code + 1000));
}

void takeAcknowledgement(int socket, int code)
{
    // Only the acknowledgement of the message awaited now, from where it went: a late one of an
    // earlier message, or another client's, must not silence the watchdog.
    if (awaitedAckCode == 0 || awaitedAckCode != code - 1000 || awaitedAckSocket != socket)
        return;
    awaitedAckCode = awaitedAckSocket = ackWaitTicks = ackResendCount = 0;
}

// ---- The host ----

// A graceful close first hands over what is still to be sent (a farewell); otherwise the
// connection is cut at once.
void closeSocket(QTcpSocket *socket, bool graceful)
{
    socket->disconnect();
    if (graceful && socket->state() == QAbstractSocket::ConnectedState) {
        QObject::connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
        socket->disconnectFromHost();
    } else {
        socket->abort();
        socket->deleteLater();
    }
}

// The seat message with seat 0: the game has no seat for the player on that connection.
QByteArray noSeatMessage()
{
    return plainMessage(1001, QByteArray::number(kNoSeat).rightJustified(2, ' '));
}

// A connection that no client socket holds is told that there is no seat for it, and closed.
void refuseConnection(QTcpSocket *socket)
{
    socket->write(noSeatMessage());
    closeSocket(socket, true);
}

// Gives client socket n back. A graceful close first hands over what is still to be sent (a
// farewell); otherwise the connection is cut at once.
void freeSocket(int n, bool graceful)
{
    QTcpSocket *socket = clientSocket(n);
    setClientSocket(n, nullptr);
    netSession.pending[n].clear();
    forgetPeer(n);
    // Nothing more goes to the player who was on it.
    const int seat = netSession.seatOfSocket[n];
    netSession.seatOfSocket[n] = 0;
    if (seat >= 2 && seat <= kMaxClients + 1 && netSession.socketOfSeat[seat] == n)
        netSession.socketOfSeat[seat] = 0;
    if (socket)
        closeSocket(socket, graceful);
    while (clientCount > 0 && !clientSocket(clientCount))
        --clientCount;
}


// The players after a freed seat move up one seat each, told of it by a new 1001.
void moveUpSeatsAfter(int seat)
{
    for (int p = seat; p < joinedPlayers && p <= kMaxClients; ++p) {
        const int moved = netSession.socketOfSeat[p + 1];
        netSession.socketOfSeat[p] = moved;
        netSession.socketOfSeat[p + 1] = 0;
        playerName[p] = playerName[p + 1];
        if (moved > 0) {
            netSession.seatOfSocket[moved] = p;
            writeMessage(moved, plainMessage(1001, QByteArray::number(p).rightJustified(2, ' ')));
        }
    }
}

// A joined player has gone before the game began: his seat is freed, and the players after him
// move up (a saved game's seat waits for him again instead).
void leaveLobby(int socket)
{
    const int seat = netSession.seatOfSocket[socket];
    freeSocket(socket);
    if (seat < 2)
        return;
    if (resumedLobby())
        seatWaitsAgain(seat);
    else
        moveUpSeatsAfter(seat);
    --joinedPlayers;
    setStatusText(QStringLiteral("Waiting for others to join..  Choose Launch to begin with current players."));
    showLobbyPlayers();
}

// A joined player leaves the game (his 1020, or his connection gone or silent): the others are
// told who with a 1019 built from the game as it stands, and the game ends here too. Once the
// game is over his going ends nothing: his connection is closed quietly.
void seatLeaves(int socket)
{
    const int seat = netSession.seatOfSocket[socket];
    if (seat < 2)
        return;
    if (lobbyOpen) {
        leaveLobby(socket);
        return;
    }
    freeSocket(socket);
    if (gameOver)
        return;
    sendToJoinedClients(leaveMessage(seat));
    endGameHere(seatLeftText(seat));
}

// Two players of one name could not be told apart on any screen: a name already at the table
// gets the new player's seat number after it.
QString uniqueSeatName(const QString &name, int seat)
{
    // The computer's mark would make every machine take him for a computer player.
    const QString bare = playerOfComputerPlayedName(name).trimmed();
    const QString wanted = bare.isEmpty() ? QStringLiteral("Player") : bare;
    for (int p = 1; p < seat; ++p)
        if (playerName[p].trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return QStringLiteral("%1 %2").arg(cutToWidth(wanted, kJoinNameLength - 2)).arg(seat);
    return wanted;
}

// A player who joins when there is no seat for him hears so, and his connection is closed.
void refuseJoin(int socket)
{
    writeMessage(socket, noSeatMessage());
    freeSocket(socket, true);
}

void takeJoin(int socket, const QByteArray &message)
{
    if (netSession.seatOfSocket[socket] > 0)
        return;
    if (!lobbyOpen || joinedPlayers >= 1 + kMaxClients) {
        refuseJoin(socket);
        return;
    }
    // The name is shown on every machine: one line, as every name a player types.
    const QString name = cleanedText(QString::fromLatin1(message.mid(kCodeLength, kJoinNameLength)));
    // A saved game's player takes the seat that waits for him, under its saved name.
    const int seat = resumedLobby() ? takeWaitingSeat(name) : joinedPlayers + 1;
    if (seat < 2) {
        refuseJoin(socket);
        return;
    }
    ++joinedPlayers;
    netSession.seatOfSocket[socket] = seat;
    netSession.socketOfSeat[seat] = socket;
    if (!resumedLobby())
        playerName[seat] = uniqueSeatName(name, seat);
    writeMessage(socket, plainMessage(1001, QByteArray::number(seat).rightJustified(2, ' ')));
    setStatusText(QStringLiteral("Waiting for others to join..  Choose Launch to begin with current players."));
    showLobbyPlayers();
}

// A client acts only while its player is the one whose placement or turn it is; the turn that
// decided the game goes on at that client until it has played its end.
bool fromActingClient(int socket, bool endOfDecidingTurn = false)
{
    const int seat = netSession.seatOfSocket[socket];
    const bool playing = !gameOver || (endOfDecidingTurn && !netSession.deciderEnded);
    return seat > 0 && seat == currentPlayer && playing && !lobbyOpen;
}

bool changesAnOwner(const StateSnapshot &s)
{
    for (int t = 1; t <= territoryCount; ++t)
        if (s.territories[t].owner != territoryState[t].owner)
            return true;
    return false;
}

// The acting client's state becomes the game's and goes on to the other clients; the ends of a
// placement and of a turn (not the single actions) are acknowledged. A state that the turn
// cannot have made is refused whole, and the client gets the host's state back.
bool takeActingClientState(int socket, int code, const StateSnapshot &s)
{
    if (!snapshotWithinTurn(s, netSession.seatOfSocket[socket])) {
        writeMessage(socket, snapshotMessage(1003));
        return false;
    }
    // The host alone counts the rounds towards a stalemate: a conquest at a client counts as one
    // made here.
    if (changesAnOwner(s))
        quietRounds = 0;
    StateSnapshot taken = s;
    keepHostsOwnFields(taken);
    applySnapshot(taken, true);
    // The acting machine tells of an action before its own map has shown it, and no other
    // machine plays its steps: the others show the game as it now stands.
    displayedTerritoryState = territoryState;
    recountAllPlayers();
    drawPlayerPanel();
    // The ends of a placement and of a turn are acknowledged; the winner's last word needs none.
    if (code == 1005 || code == 1011)
        acknowledge(socket, code);
    sendToJoinedClients(snapshotMessage(1003), socket);
    repaintEveryTerritory();
    return true;
}

void hostTakes(int socket, int code, const StateSnapshot &s)
{
    switch (code) {
    case 1005: // a client's initial placement done
        if (!fromActingClient(socket) || placementRound < 1 || !takeActingClientState(socket, code, s))
            return;
        continueNetworkPlacement();
        break;
    case 1006: // a client's state after an action in its turn
        if (fromActingClient(socket, true))
            takeActingClientState(socket, code, s);
        break;
    case 1011: // a client's turn done
        if (!fromActingClient(socket) || placementRound > 0 || !takeActingClientState(socket, code, s))
            return;
        passTurnToNextPlayer();
        continueNetworkTurns();
        break;
    case 1025: // a continent highlighted or un-highlighted at a client
    case 1026: {
        if (!fromActingClient(socket) || s.highlightedContinent < 1)
            return;
        StateSnapshot shown = s;
        keepHostsOwnFields(shown);
        applySnapshot(shown, false);
        forEachMember(s.highlightedContinent, [code](int t) { repaintShownTerritory(t, code == 1025); });
        sendToJoinedClients(snapshotMessage(code - 2), socket);
        break;
    }
    case 1028: // a client has won
        // The host plays the end for everyone once the winner's turn is over: the armies that
        // follow his deciding conquest come after it.
        if (fromActingClient(socket, true) && takeActingClientState(socket, code, s)) {
            netSession.deciderEnded = 1;
            pushEndDecidedElsewhere();
        }
        break;
    case 1020: // a client leaves: its seat in the lobby, or the game for everyone
        seatLeaves(socket);
        return;
    default:
        break;
    }
    repaintWindow();
}

// ---- The client ----

// The host's answer to this machine's join: its player's seat, or none.
void takeSeat(const QByteArray &message)
{
    bool given = false;
    const int seat = message.mid(kCodeLength).trimmed().toInt(&given);
    if (given && seat == kNoSeat)
        endGameHere(QStringLiteral("The host's game has no seat for you: it is full, it has begun, or it is a saved "
                                   "game with no seat waiting for you."));
    else if (seat >= 2 && seat <= 1 + kMaxClients)
        networkSeat = seat;
}

bool loadHostMap(const StateSnapshot &s)
{
    if (snapshotFitsMap(s))
        return true;
    if (s.mapFlag == MapCustom) {
        mapFilePath = findMapFile(s.mapFileName);
        useStoredMapPath = 'j';
        loadMap();
    } else {
        selectMap(static_cast<MapFlag>(s.mapFlag));
        loadSelectedBuiltinMap();
    }
    return snapshotFitsMap(s);
}

void beginGameHere(const StateSnapshot &s)
{
    if (!loadHostMap(s)) {
        // This machine cannot play the game: the host hears it as its leaving.
        writeMessage(1, snapshotMessage(1020));
        endGameHere(QStringLiteral("The host's map could not be loaded. End of game."));
        return;
    }
    applySnapshot(s, true);
    gameMode = ModeClient;
    // The map is known only now: a save here is proposed under its name.
    nameGameForSaving(formatStartText(interaction().now()));
    humanPlayerCount = 1;
    lobbyOpen = 0;
    netSession.clientActing = 0;
    turnStarted = 1;
    territoryChanged.fill('n');
    territoryMark.fill('n');
    screenMode = 9;
    repaintEveryTerritory();
    drawPlayerPanel();
    // A saved game goes on in a turn; the host names whose.
    if (s.placementRound > 0)
        announceInitialPlacement();
    if (netWindow)
        netWindow->updateWindowTitle();
}

void paintPlayersTerritories(const StateSnapshot &s, bool highlight)
{
    const int player = s.currentPlayer;
    for (int t = 1; t <= territoryCount; ++t)
        if (s.territories[t].owner == player && s.territories[t].armies > 1)
            repaintShownTerritory(t, highlight ? 1 : 0);
}

void showWhoPlays(int player)
{
    // This machine's own player is being told what to do by its own prompts.
    if (player == networkSeat && netSession.clientActing)
        return;
    if (isValidPlayer(player))
        setStatusText(shownPlayerName(player) + QStringLiteral(" to play.."));
}

// What a mirrored step of the host shows here.
void showHostStep(int code, const StateSnapshot &s)
{
    switch (code) {
    case 1017:
        if (isValidTerritory(s.msgTerritory))
            repaintShownTerritory(s.msgTerritory, s.msgFlag);
        break;
    case 1008:
    case 1009:
        paintPlayersTerritories(s, code == 1008);
        break;
    case 1010:
    case 1012:
        drawPlayerPanel();
        showWhoPlays(s.currentPlayer);
        break;
    case 1013:
        interaction().showCardTradeBonus();
        tradeNoticeShown = 1;
        break;
    case 1014:
        if (netWindow)
            closeCardTradeNotice(*netWindow);
        break;
    case 1023:
    case 1024:
        if (s.highlightedContinent >= 1)
            forEachMember(s.highlightedContinent, [code](int t) {
                territoryMark[t] = code == 1023 ? 'j' : 'n';
                repaintShownTerritory(t, code == 1023);
            });
        break;
    default: // 1003: the state after an action
        for (int t = 1; t <= territoryCount; ++t)
            updateTerritoryDisplay(t, displayedTerritoryState[t].armies, displayedTerritoryState[t].owner,
                                   territoryChanged[t] == 'j', 0, 0);
        drawPlayerPanel();
        break;
    }
}

void clientTakes(int code, const StateSnapshot &s)
{
    if (code == 1019) { // in the lobby too, whatever map the host had chosen
        endGameHere(leaveText(s));
        return;
    }
    if (code == 1002) {
        if (waitingForHost())
            beginGameHere(s);
        return;
    }
    if (!snapshotFitsMap(s))
        return;
    switch (code) {
    case 1004: // this client's initial placement
    case 1007: // this client's turn
        if (s.currentPlayer != networkSeat)
            return;
        acknowledge(1, code);
        // A resend of what this machine already plays (its acknowledgement was late) only
        // needs the acknowledgement again.
        if (netSession.clientActing)
            return;
        applySnapshot(s, true);
        netSession.clientActing = 1;
        holdTurnStartForSave();
        if (code == 1004)
            beginOwnPlacement();
        else
            turnStarted = 0; // the game loop begins the turn
        repaintEveryTerritory();
        break;
    case 1027: { // the game is over
        // Only the seat whose own conquest decided the game has played its end already. The
        // others may hold the game as over since a mirrored step of that conquest, and play it now.
        const bool playedHere = netSession.clientActing && gameOver;
        // That seat keeps its own state: the host may not have its last move in yet (the armies
        // moving in after the deciding conquest), and gets it with the seat's 1028.
        if (!playedHere)
            applySnapshot(s, !netSession.clientActing);
        netSession.clientActing = 0;
        gameOver = 1;
        if (!playedHere)
            pushEndDecidedElsewhere();
        break;
    }
    case 1003:
        if (netSession.clientActing) {
            // The host refused this machine's last state and sent its own back.
            applySnapshot(s, true);
            repaintEveryTerritory();
            setStatusText(QStringLiteral("The host refused that move."));
            break;
        }
        applySnapshot(s, true);
        showHostStep(code, s);
        break;
    default:
        applySnapshot(s, !netSession.clientActing);
        showHostStep(code, s);
        break;
    }
    repaintWindow();
}

void takeSnapshotMessage(int socket, int code, const QByteArray &message)
{
    StateSnapshot s;
    // An invalid snapshot is dropped whole: nothing of it reaches the tables.
    if (!decodeSnapshot(message.mid(kCodeLength), s))
        return;
    if (isHost()) {
        // A leaving player's own map does not matter (in the lobby he has none of the host's).
        if (code == 1020 || snapshotFitsMap(s))
            hostTakes(socket, code, s);
    } else if (isClient() && socket == 1) {
        clientTakes(code, s);
    }
}

// A chat line shows beside the prompt, never in its place, headed by who wrote it: the host
// puts the sender's name before a client's line and passes it on; a client shows the host's
// lines as they come.
void takeChat(int socket, int code, const QByteArray &message)
{
    QString text = QString::fromLatin1(message.mid(kCodeLength)).trimmed();
    for (const QChar c : text)
        if (c.unicode() < 0x20)
            return;
    const int seat = netSession.seatOfSocket[socket];
    if (isHost() && code == 3001 && seat > 0) {
        text = cutToWidth(shownPlayerName(seat) + QStringLiteral(": ") + text, kChatTextLength);
        setStatusText2(text);
        sendToJoinedClients(plainMessage(3000, text.toLatin1().leftJustified(kChatTextLength, ' ')), socket);
    } else if (isClient() && code == 3000) {
        setStatusText2(text);
    }
}

// Is `code` one that the peer on this socket may send? A connection that has not joined the
// host's game may only join or probe, and is closed for anything else: it is no player.
bool mayComeFrom(int socket, int code)
{
    if (isHost()) {
        if (netSession.seatOfSocket[socket] == 0) {
            if (code == 1000 || code == 9999)
                return true;
            freeSocket(socket);
            return false;
        }
        return isClientCode(code);
    }
    return isClient() && socket == 1 && isHostCode(code);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Sending

QByteArray plainMessage(int code, const QByteArray &payload)
{
    return codeDigits(code) + payload;
}

QByteArray snapshotMessage(int code)
{
    // The host's own farewell names the host as the one who leaves.
    if (code == 1019)
        return leaveMessage(1);
    // The start of a game carries the players' names and the map.
    StateSnapshot s = captureSnapshot(code == 1002);
    // A placement or turn handed back is shown everywhere as it ends, though this machine may
    // still be playing the last of its steps.
    if (code == 1005 || code == 1011 || code == 1028)
        s.shown = s.territories;
    return codeDigits(code) + encodeSnapshot(s);
}

void sendToJoinedClients(const QByteArray &message, int except)
{
    for (int n = 1; n <= kMaxClients; ++n)
        if (n != except && netSession.seatOfSocket[n] > 0)
            writeMessage(n, message);
}

void sendAwaitedMessage(int socket, int code)
{
    awaitedAckCode = code;
    awaitedAckSocket = socket;
    ackWaitTicks = ackResendCount = 0;
    writeMessage(socket, snapshotMessage(code));
}

void networkUpdate(int code)
{
    if (networkSeat <= 0)
        return;
    switch (code) {
    case 1003:
        if (isHost())
            sendToJoinedClients(snapshotMessage(1003));
        break;
    case 1006:
        if (isClient() && currentPlayer == networkSeat)
            writeMessage(1, snapshotMessage(1006));
        break;
    case 1004:
        if (isHost())
            continueNetworkPlacement();
        break;
    case 1007:
        if (isHost())
            continueNetworkTurns();
        break;
    case 1005:
    case 1011:
        if (!isClient())
            break;
        sendAwaitedMessage(1, code);
        netSession.clientActing = 0;
        initialPlacementPhase = strongholdPhase = 0;
        // Play is with the host now; this machine's next turn comes with 1004 or 1007.
        turnStarted = 1;
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// The host hands play round

void continueNetworkTurns()
{
    for (int guard = 0; guard <= kMaxPlayers; ++guard) {
        if (gameOver || !isValidPlayer(currentPlayer))
            return;
        if (currentPlayer == 1) {
            holdTurnStartForSave();
            turnStarted = 0; // the game loop begins the host's own turn
            return;
        }
        if (isRemoteSeat(currentPlayer)) {
            // The host keeps the game: it may save while another machine's player is at his turn.
            holdTurnStartForSave();
            saveAllowed = 1;
            // The host's panel, and through its mirror every client, show whose turn it is.
            pushActionStep(makeStep(7, currentPlayer));
            // The host keeps the troop experience: it counts every player's turns.
            updateTroopExperience();
            recordTurnStart(currentPlayer, false);
            sendAwaitedMessage(netSession.socketOfSeat[currentPlayer], 1007);
            return;
        }
        playComputerTurn();
        if (gameOver)
            return;
        passTurnToNextPlayer();
    }
}

void beginOwnPlacement()
{
    promptHumanPlacement(false, SoundNextPlayer);
}

// A computer player's initial placement, made at once so that the next player placing gets the
// whole state; the steps that follow show it (the network form of the end-of-turn steps).
void placeComputerPlayer()
{
    pushActionStep(makeStep(7, currentPlayer));
    announceInitialPlacement();
    aiInitialPlacement();
    if (!actionQueueHasRoom(6))
        return;
    pushActionStep(makeStep(11, currentPlayer));
    for (int i = 0; i < 4; ++i)
        pushActionStep(makeStep(12));
    pushActionStep(makeStep(10, currentPlayer));
}

void continueNetworkPlacement()
{
    for (int guard = 0; guard <= kMaxPlayers; ++guard) {
        ++placementRound;
        currentPlayer = currentPlayer >= playerCount ? 1 : currentPlayer + 1;
        if (placementRound > playerCount) {
            initialPlacementPhase = strongholdPhase = 0;
            armiesToPlace = placementRound = 0;
            pushActionStep(makeStep(7, currentPlayer));
            continueNetworkTurns();
            return;
        }
        if (currentPlayer == 1) {
            beginOwnPlacement();
            return;
        }
        if (isRemoteSeat(currentPlayer)) {
            initialPlacementPhase = strongholdPhase = 0;
            pushActionStep(makeStep(7, currentPlayer));
            recordTurnStart(currentPlayer, true);
            sendAwaitedMessage(netSession.socketOfSeat[currentPlayer], 1004);
            return;
        }
        placeComputerPlayer();
    }
}

void startNetworkGame()
{
    if (!isHost() || !lobbyOpen)
        return;
    // Only players still connected are dealt in.
    for (int n = kMaxClients; n >= 1; --n) {
        QTcpSocket *socket = clientSocket(n);
        if (netSession.seatOfSocket[n] > 0 && (!socket || socket->state() != QAbstractSocket::ConnectedState))
            leaveLobby(n);
    }
    if (joinedPlayers < 2) {
        interaction().beep();
        return;
    }
    if (resumedLobby()) {
        launchResumedGame();
        return;
    }
    lobbyOpen = 0;
    gameMode = ModeHost;
    humanPlayerCount = 1;
    humanSeatCount = joinedPlayers;
    playerCount = joinedPlayers;
    gameOver = 0;
    dealTerritories();
    screenMode = 9;
    gameStartTime = playTimeStamp = interaction().now();
    if (internetGame && gameListSlot != kNoGameListSlot) {
        // The list entry is closed and player 1's placement begins through message step 103.
        currentPlayer = 1;
        placementRound = 1;
        queueMessage(QStringLiteral("Wait a moment for the game to start..."));
        for (int i = 0; i < 3; ++i)
            pushMessageStep(makeStep(100));
        pushMessageStep(makeStep(103));
    } else {
        startPlacementPhase(false);
    }
    sendToJoinedClients(snapshotMessage(1002));
    repaintEveryTerritory();
    drawPlayerPanel();
    if (netWindow)
        netWindow->updateWindowTitle();
    repaintWindow();
}

// ---------------------------------------------------------------------------------------------
// Receiving

void showLobbyPlayers()
{
    if (resumedLobby()) {
        showResumedLobby();
        return;
    }
    playerCount = qMax(1, int(joinedPlayers));
    for (int t = 1; t <= territoryCount; ++t) {
        territoryState[t] = {(t - 1) % playerCount + 1, 1};
        displayedTerritoryState[t] = territoryState[t];
    }
    recountAllPlayers();
    repaintEveryTerritory();
    drawPanelOfThisScreen();
    repaintWindow();
}

void showJoiningLobby()
{
    // Only this machine's own player is known here, and nobody plays.
    playerCount = 1;
    currentPlayer = 0;
    for (int t = 1; t <= territoryCount; ++t) {
        territoryState[t].owner = 0;
        displayedTerritoryState[t] = territoryState[t];
    }
    repaintEveryTerritory();
    drawPlayerPanel();
    repaintWindow();
}

void drawPanelOfThisScreen()
{
    if (!(lobbyOpen && networkSeat == 1) || resumedLobby()) {
        drawPlayerPanel();
        return;
    }
    // Drawn as the lobby's player-to-play step draws it.
    const int playing = currentPlayer;
    currentPlayer = 1;
    drawPlayerPanel();
    currentPlayer = playing;
}

void closeAllConnections()
{
    for (int n = 1; n <= kMaxClients; ++n)
        if (clientSocket(n))
            freeSocket(n, true);
    netSession = NetSession();
    clientCount = 0;
}

void watchHostConnection()
{
    QTcpSocket *socket = clientSocket1;
    if (!socket || socket->property("watchedAsHost").toBool())
        return;
    socket->setProperty("watchedAsHost", true);
    socket->setReadBufferSize(kReadBufferBytes);
    heardFrom(1);
    QObject::connect(socket, &QTcpSocket::disconnected, socket, [socket] {
        if (clientSocket1 == socket && isClient())
            dropPeer(1);
    });
}

void dropPeer(int socket)
{
    if (isClient()) {
        if (socket != 1)
            return;
        if (gameOver)
            closeNetworkConnections(false); // the game is over here all the same
        else
            endGameHere(kHostLostText);
    } else if (netSession.seatOfSocket[socket] == 0) {
        freeSocket(socket);
    } else if (isHost()) {
        seatLeaves(socket);
    }
}

void returnToStartMenu(ViewArea *view)
{
    const bool host = isHost();
    networkSeat = 0;
    closeNetworkConnections(host);
    // Only a machine of the tests plays without a window.
    if (view) {
        returnWindowToStartState(*view);
        view->update();
    }
    showStartMenu();
}

QString hostNotFoundText()
{
    return internetGame ? QStringLiteral("ERROR - Can't find the host's game.")
                        : QStringLiteral("ERROR - Can't find the host's game. Be sure to start a host game first.");
}

void closeNetworkConnections(bool host)
{
    if (host) {
        closeAllConnections();
        if (tcpServer)
            tcpServer->close();
        return;
    }
    if (clientSocket1) {
        // Its own closing is no host leaving.
        clientSocket1->disconnect(SIGNAL(disconnected()));
        clientSocket1->setProperty("watchedAsHost", false);
        // A connection still being made would otherwise be made, and only then closed.
        if (clientSocket1->state() == QAbstractSocket::ConnectedState)
            clientSocket1->disconnectFromHost();
        else
            clientSocket1->abort();
    }
    netSession = NetSession();
}

void setClientSocket(int n, QTcpSocket *socket)
{
    switch (n) {
    case 1: clientSocket1 = socket; break;
    case 2: clientSocket2 = socket; break;
    case 3: clientSocket3 = socket; break;
    case 4: clientSocket4 = socket; break;
    default: break;
    }
}

void acceptConnections(const std::function<void(QTcpSocket *, int)> &connectSocket)
{
    while (tcpServer && tcpServer->hasPendingConnections()) {
        QTcpSocket *socket = tcpServer->nextPendingConnection();
        int slot = 0;
        for (int n = 1; n <= kMaxClients && slot == 0; ++n) {
            QTcpSocket *held = clientSocket(n);
            if (!held || (held->state() == QAbstractSocket::UnconnectedState && netSession.seatOfSocket[n] == 0))
                slot = n;
        }
        if (slot == 0 || !lobbyOpen) {
            refuseConnection(socket);
            continue;
        }
        setClientSocket(slot, socket);
        netSession.pending[slot].clear();
        netSession.seatOfSocket[slot] = 0;
        clientCount = qMax(clientCount, slot);
        socket->setReadBufferSize(kReadBufferBytes);
        // A connection that goes before it has joined (the search's probe) gives its place back;
        // a player's connection that goes is that player leaving.
        heardFrom(slot);
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [socket, slot] {
            if (clientSocket(slot) == socket)
                dropPeer(slot);
        });
        if (connectSocket)
            connectSocket(socket, slot);
    }
}

void receiveFromSocket(int n)
{
    QTcpSocket *socket = clientSocket(n);
    if (!socket || n < 1 || n > kMaxClients)
        return;
    // A bounded piece at a time: the whole messages in it are handled before more is read.
    while (clientSocket(n) == socket && socket->bytesAvailable() > 0) {
        netSession.pending[n] += socket->read(kReadChunkBytes);
        heardFrom(n);
        // Bytes that are no message are dropped; they say nothing to the player.
        const QList<QByteArray> messages = takeMessages(netSession.pending[n]);
        for (const QByteArray &message : messages) {
            if (clientSocket(n) != socket || networkSeat <= 0)
                return; // the socket was given back, or the game ended, meanwhile
            handleMessage(n, message);
        }
    }
}

void handleMessage(int socket, const QByteArray &message)
{
    const int code = messageCode(message);
    if (socket < 1 || socket > kMaxClients || messageLength(message) != message.size() || !mayComeFrom(socket, code))
        return;
    if (codeCarriesSnapshot(code)) {
        takeSnapshotMessage(socket, code, message);
        return;
    }
    switch (code) {
    case 1000:
        if (isHost())
            takeJoin(socket, message);
        break;
    case 1001:
        if (socket == 1 && waitingForHost())
            takeSeat(message);
        break;
    case 9999:
        // On the host from a connection that has not joined: the search's probe, no player. On
        // a client: the host asks whether this machine is still there.
        if (isHost() && netSession.seatOfSocket[socket] == 0)
            freeSocket(socket);
        else if (isClient())
            writeMessage(1, plainMessage(9999));
        break;
    case 2004: case 2005: case 2007: case 2011:
        takeAcknowledgement(socket, code);
        break;
    case 3000: case 3001:
        takeChat(socket, code, message);
        break;
    default:
        break;
    }
}

namespace {

// The rules and the map picture send the state through this hook.
const bool senderInstalled = [] {
    networkUpdateSender = &networkUpdate;
    return true;
}();

} // namespace
