// The network branch of the set-up flow: hotseat, LAN or Internet; hosting or joining; the
// player's network name; the host's server and lobby with its list entry; the joining player's
// host found by name, address, search or the online game list.

#include "setup/SetupSteps.h"

#include "setup/ChoiceDialog.h"
#include "setup/NetworkSetup.h"
#include "setup/SetupState.h"

#include "app/DialogState.h"
#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "dialogs/DialogLook.h"
#include "net/GameListEntry.h"
#include "net/NetFraming.h"
#include "net/NetPlay.h"
#include "net/NetState.h"
#include "net/OnlineServices.h"
#include "persist/Settings.h"
#include "persist/SharedGlobals.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/Seams.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"
#include "state/TextRules.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QHBoxLayout>
#include <QHostInfo>
#include <QIcon>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QNetworkInterface>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

using Result = SetupStepResult;

constexpr int kMaxSearchCandidates = 10;
constexpr int kDialogPauseMs = 300;
constexpr int kProbeFlushMs = 1000;

int answerOf(ViewArea &view, const ChoiceDialogSpec &spec)
{
    const ChoiceOutcome outcome = runChoiceDialog(view, spec);
    return outcome.result ? outcome.choice : 0;
}

// A text-entry question: the labels, a field with `preset`, Ok and Cancel. False when cancelled.
bool askText(ViewArea &view, const QStringList &labels, const QString &preset, QString &answer)
{
    ChoiceDialogSpec spec;
    for (const QString &label : labels)
        spec.addLabel(label);
    spec.addTextField(preset);
    spec.addButton(QStringLiteral("Ok"), ButtonRole::AcceptOnly);
    spec.addCancel();
    const ChoiceOutcome outcome = runChoiceDialog(view, spec);
    answer = outcome.text.trimmed();
    return outcome.result != 0;
}

QString ownAddress()
{
    const NetworkEnvironment &env = networkEnvironment();
    const QList<QHostAddress> addresses = env.lookupHost(env.localHostName());
    return addresses.isEmpty() ? QString() : addresses.first().toString();
}

// ---- Joining ----

Result rememberAndConnect(ViewArea &view)
{
    (internetGame ? lastInternetHost : lastLanHost) = hostName;
    partialSaveFlag = 1;
    saveSettings();
    partialSaveFlag = 0;
    setStatusText(QStringLiteral("Waiting for host to start game... "));
    screenMode = 101;
    resetNetSession();
    netWindow = &view;
    if (!clientSocket1) {
        // A machine that hosted before gave its sockets back when that game ended.
        clientSocket1 = new QTcpSocket(&view);
        QObject::connect(clientSocket1, SIGNAL(readyRead()), &view, SLOT(OnReceive1()));
    }
    clientSocket1->abort();
    watchHostConnection();
    clientSocket1->connectToHost(hostName, quint16(gamePort));
    joinedPlayers = 1;
    showJoiningLobby();
    if (messageQueueHasRoom(3)) {
        pushMessageStep(makeStep(100));
        pushMessageStep(makeStep(100));
        pushMessageStep(makeStep(101, networkPlayerName.size(), 0, 0, 0, 0, 0, networkPlayerName));
    }
    networkSeat = 2;
    view.updateWindowTitle();
    return Result::Continue;
}

// A game listening on this machine's own addresses: the first that answers takes the probe.
bool searchOwnAddresses()
{
    const NetworkEnvironment &env = networkEnvironment();
    const QString local = env.localHostName();
    QStringList candidates;
    for (const QHostAddress &address : env.interfaceAddresses()) {
        if (candidates.size() >= kMaxSearchCandidates)
            break;
        if (address.toString() != local)
            candidates.append(address.toString());
    }
    for (const QString &candidate : candidates) {
        hostName = candidate;
        QTcpSocket probe;
        probe.connectToHost(candidate, quint16(gamePort));
        if (!probe.waitForConnected(env.searchWaitMs)) {
            probe.abort();
            continue;
        }
        outMessage = QStringLiteral("9999");
        if (probe.write(outMessage.toLatin1()) == -1)
            setStatusText(QStringLiteral("socket send ERROR 9999"));
        probe.waitForBytesWritten(kProbeFlushMs);
        probe.disconnectFromHost();
        return true;
    }
    return false;
}

Result searchForHost(ViewArea &view)
{
    setStatusText(QStringLiteral("Searching for available games... "));
    if (searchOwnAddresses())
        return rememberAndConnect(view);
    setStatusText(hostNotFoundText());
    hostName = QStringLiteral(" ");
    QString typed;
    const bool given = networkEnvironment().askHostName(
        view,
        QStringLiteral("Enter the host's computer name (ex: 192.168.1.10 or MYPC02) or press Enter to start searching : "),
        typed);
    if (given && !typed.trimmed().isEmpty()) {
        hostName = typed.trimmed();
        return rememberAndConnect(view);
    }
    return Result::RestartSetup;
}

Result joinDecision(ViewArea &view)
{
    if (!hostName.isEmpty() && hostName >= QLatin1String("0"))
        return rememberAndConnect(view);
    return searchForHost(view);
}

Result askInternetAddress(ViewArea &view)
{
    for (;;) {
        QString typed;
        if (!askText(view, {QStringLiteral("Host's IP  (for example, 92.275.8.193) : ")},
                     settingsRecord.lastInternetHost.trimmed(), typed))
            return Result::RestartSetup;
        hostName = typed;
        if (!hostName.isEmpty() && hostName >= QLatin1String("0"))
            return joinDecision(view);
    }
}

Result askLanHost(ViewArea &view)
{
    QString typed;
    const QStringList labels = {QStringLiteral("Enter the host's computer name (e.g. 192.168.0.10 or MYPC02)"),
                                QStringLiteral(" "), QStringLiteral("Be sure to start the server first."),
                                QStringLiteral("Firewalls can block traffic ! Allow access to port 5466")};
    if (!askText(view, labels, settingsRecord.lastLanHost.trimmed(), typed))
        return Result::RestartSetup;
    hostName = typed; // empty: the search
    return joinDecision(view);
}

// What of the list could not be fetched: "The game list" or "Part of the game list"; empty when
// every slot's file came or is not there.
QString unfetchedPartOfList(const QList<ListFile> &listFiles)
{
    const int failed = int(std::count_if(listFiles.begin(), listFiles.end(),
                                         [](const ListFile &file) { return file.state == ListFileState::Failed; }));
    if (failed == 0)
        return QString();
    return failed == listFiles.size() ? QStringLiteral("The game list") : QStringLiteral("Part of the game list");
}

// What the list lacks for files that failed: empty when every slot's file came or is not there.
QString listFailureText(const QList<ListFile> &listFiles)
{
    const QString part = unfetchedPartOfList(listFiles);
    return part.isEmpty() ? QString() : part + QStringLiteral(" could not be fetched from the server.");
}

// A list that failed in part may hold open games unseen: it never says there are none.
QString gameListInfo(int openGames, const QString &failure)
{
    QStringList said;
    if (openGames > 0)
        said.append(QStringLiteral("Press Ok to Join."));
    else if (failure.isEmpty())
        said.append(QStringLiteral("No games available at this moment."));
    if (!failure.isEmpty())
        said.append(failure);
    return said.join(QLatin1Char('\n'))
        + QStringLiteral("\n\nOSX, Android and Windows can connect to each other's games.\n\n"
                         "IP/Closed - Map - Version - Dice - Strongh. - Troop Exp. - Started(UT) - Name");
}

Result browseGameList(ViewArea &view)
{
    for (;;) {
        QString letter = QStringLiteral(" ");
        fetchGameList(&view, letter);
        if (letter == QLatin1String("E"))
            return Result::RestartSetup;
        int openGames = 0;
        const QStringList rows = listedGameRows(downloadedLines, &openGames);
        const QString failure = listFailureText(downloadedLines);
        interaction().pause(kDialogPauseMs);
        const int chosen =
            networkEnvironment().chooseListedGame(view, gameListInfo(openGames, failure), failure, rows, smallScreen);
        if (!smallScreen)
            interaction().pause(kDialogPauseMs);
        if (chosen == kListRefresh)
            continue;
        if (chosen < 0 || chosen >= rows.size())
            return Result::RestartSetup;
        if (isClosedEntry(rows[chosen]))
            return Result::RestartSetup;
        hostName = entryFieldValue(rows[chosen], kEntryAddress);
        return joinDecision(view);
    }
}

// ---- Hosting ----

Result publishGame(ViewArea &view, const QString &address)
{
    ChoiceDialogSpec spec;
    spec.addAnswer(QStringLiteral("Add your game to the server list (anyone can connect)"), 1);
    spec.addAnswer(QStringLiteral("Your friends know your IP address"), 2);
    spec.addCancel();
    const int answer = answerOf(view, spec);
    if (answer == 0)
        return Result::RestartSetup;
    if (answer == 1) {
        QString letter = QStringLiteral(" ");
        fetchGameList(&view, letter);
        if (letter == QLatin1String("E"))
            return Result::RestartSetup;
        const int slot = chooseListSlot(downloadedLines, address, settingsRecord.hostGameName);
        // No slot it may take: an entry could go over another player's live game, so the game
        // goes on unlisted. Only a file that failed (or no file at all) leaves no slot.
        if (slot == kNoGameListSlot) {
            const QString unfetched = unfetchedPartOfList(downloadedLines);
            interaction().message(MessageIcon::Warning, QStringLiteral("Tarvan GX"),
                                  (unfetched.isEmpty() ? QStringLiteral("The game list") : unfetched)
                                      + QStringLiteral(" could not be fetched from the server, so your game was "
                                                       "not added to it."));
        } else {
            uploadGameListEntry(slot, address, 0);
        }
    }
    view.updateWindowTitle();
    return Result::Continue;
}

void openServer(ViewArea &view)
{
    const NetworkEnvironment &env = networkEnvironment();
    if (tcpServer && !tcpServer->isListening() && !tcpServer->listen(env.listenAddress, quint16(gamePort)))
        interaction().message(MessageIcon::Critical, QStringLiteral("Server"),
                              QStringLiteral("Unable to start the server: %1.").arg(tcpServer->errorString()));
    if (tcpServer)
        QObject::connect(tcpServer, SIGNAL(newConnection()), &view, SLOT(OnAccept()), Qt::UniqueConnection);
    resetNetSession();
    netWindow = &view;
    joinedPlayers = 1;
    lobbyOpen = 1;
    networkSeat = 1;
    showLobbyPlayers();
}

} // namespace

// ---------------------------------------------------------------------------------------------

SetupStepResult askNetworkGameType(ViewArea &view)
{
    aiPlayerCount = MarkerHotseat;
    ChoiceDialogSpec kind;
    kind.addAnswer(QStringLiteral("Hotseat"), 1);
    kind.addAnswer(smallScreen ? QStringLiteral("LAN Game (WiFi)") : QStringLiteral("LAN Game"), 2);
    kind.addAnswer(QStringLiteral("Internet Game"), 3);
    kind.addCancel();
    switch (answerOf(view, kind)) {
    case 1:
        networkKind = 0;
        return Result::Continue;
    case 2:
        networkKind = 1;
        aiPlayerCount = MarkerHost;
        break;
    case 3:
        networkKind = 2;
        aiPlayerCount = MarkerJoin;
        internetGame = 1;
        break;
    default:
        return Result::EndSetup;
    }
    ChoiceDialogSpec role;
    role.addAnswer(internetGame && smallScreen ? QStringLiteral("Create and host a Game (WiFi)")
                                               : QStringLiteral("Create and host a Game"),
                   1);
    role.addAnswer(QStringLiteral("Join a Game"), 2);
    role.addCancel();
    switch (answerOf(view, role)) {
    case 1:
        aiPlayerCount = MarkerHost;
        return Result::Continue;
    case 2:
        aiPlayerCount = MarkerJoin;
        return Result::Continue;
    default:
        return Result::RestartSetup;
    }
}

SetupStepResult askNetworkPlayerName(ViewArea &)
{
    networkPlayerName = networkNameFor(configuredPlayerName[1]);
    playerName[1] = networkPlayerName;
    // The name goes into the settings file's network-name field.
    saveHighScoreNameFlag = 1;
    saveSettings();
    saveHighScoreNameFlag = 0;
    return Result::Continue;
}

namespace {

Result hostSteps(ViewArea &view)
{
    const NetworkEnvironment &env = networkEnvironment();
    QString status;
    QString announced;
    if (!internetGame) {
        status = QStringLiteral("Waiting for others to join...   Hostname:  ") + env.localHostName();
    } else {
        const QString stored = settingsRecord.hostExternalIp;
        announced = stored.left(2) > QLatin1String("  ") ? stored.trimmed() : ownAddress();
        if (announcedAddressRefused(announced)) {
            interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"),
                                  QStringLiteral("Please go to Options -> Hosting Internet Games\nand enter settings "
                                                 "for online gaming."));
            return Result::RestartSetup;
        }
        status = QStringLiteral("Waiting for others to join...   Your IP:   ") + announced;
    }
    // The host waits on the screen with Launch.
    screenMode = 102;
    setStatusText(status);
    openServer(view);
    if (!internetGame) {
        view.updateWindowTitle();
        return Result::Continue;
    }
    return publishGame(view, announced);
}

Result joinSteps(ViewArea &view)
{
    hostName = QStringLiteral(" ");
    if (!internetGame)
        return askLanHost(view);
    ChoiceDialogSpec spec;
    spec.addAnswer(QStringLiteral("Browse the game list"), 1);
    spec.addAnswer(QStringLiteral("Type in the host's IP address"), 2);
    spec.addCancel();
    switch (answerOf(view, spec)) {
    case 1:
        return browseGameList(view);
    case 2:
        return askInternetAddress(view);
    default:
        return Result::RestartSetup;
    }
}

// Without its lobby, a network set-up leaves nothing of it behind: the start menu as it was.
Result lobbyOrStartMenu(ViewArea &view, Result result)
{
    if (result != Result::Continue)
        returnToStartMenu(&view);
    return result;
}

} // namespace

SetupStepResult runHostSteps(ViewArea &view)
{
    return lobbyOrStartMenu(view, hostSteps(view));
}

SetupStepResult runJoinSteps(ViewArea &view)
{
    return lobbyOrStartMenu(view, joinSteps(view));
}

// ---------------------------------------------------------------------------------------------
// The rules of the steps

QString networkNameFor(const QString &configuredName)
{
    QString name = cutToWidth(cleanedText(configuredName), kJoinNameLength);
    if (name.startsWith(QLatin1String("pc")))
        name = QStringLiteral("apc");
    // A name that is all blanks would make the player nameless on every screen.
    if (name.trimmed().isEmpty())
        name = QStringLiteral("Player");
    return name.leftJustified(kJoinNameLength, QLatin1Char(' '));
}

bool announcedAddressRefused(const QString &address)
{
    if (address.startsWith(QLatin1String("192.168")) || address.startsWith(QLatin1String("10."))
        || address.startsWith(QLatin1String("127.")) || address.left(1) <= QLatin1String(" ")
        || address.left(2) > QLatin1String("AA"))
        return true;
    // Nor an address that only this machine or its own link can reach.
    const QHostAddress parsed(address);
    return parsed.isLoopback() || parsed.isLinkLocal();
}

qint64 entryTimeOfDay(const QString &entry)
{
    const QString field = entry.mid(kEntryTimeOfDay.start, kEntryTimeOfDay.width);
    int i = 0;
    while (i < field.size() && field[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == QLatin1Char('-') || field[i] == QLatin1Char('+')))
        negative = field[i++] == QLatin1Char('-');
    qint64 value = 0;
    for (; i < field.size() && field[i].isDigit(); ++i)
        value = value * 10 + field[i].digitValue();
    return negative ? -value : value;
}

bool isClosedEntry(const QString &entry)
{
    return entryFieldValue(entry, kEntryAddress) == QLatin1String("Closed");
}

namespace {

// The oldest entry of those considered; the first of equal times stays.
struct OldestEntry {
    int slot = kNoGameListSlot;
    qint64 time = std::numeric_limits<qint64>::max();
    void consider(int i, const QString &entry)
    {
        const qint64 t = entryTimeOfDay(entry);
        if (t < time) {
            time = t;
            slot = i;
        }
    }
};

} // namespace

int chooseListSlot(const QList<ListFile> &listFiles, const QString &address, const QString &gameName)
{
    int sameAddress = kNoGameListSlot;
    int free = kNoGameListSlot;
    OldestEntry closedOfName, closed, liveOfName, live;
    const QString ownAddress = asEntryFieldValue(address, kEntryAddress);
    const QString name = asEntryFieldValue(gameName, kEntryGameName);
    // The default name is everybody's: it says nothing about whose entry it is.
    const bool named = !name.isEmpty() && name != kUnnamedGame;
    bool everySlotKnown = true;
    for (int i = 0; i < listFiles.size() && i < kGameListSlots; ++i) {
        const ListFile &slot = listFiles[i];
        const QString &entry = slot.text;
        // No file, an empty one, or an entry without an address.
        if (slot.state == ListFileState::Absent
            || (slot.state == ListFileState::Came && entryFieldValue(entry, kEntryAddress).isEmpty())) {
            free = i;
            continue;
        }
        if (slot.state != ListFileState::Came) {
            everySlotKnown = false; // nothing is known of that slot: it may be free
            continue;
        }
        if (entryFieldValue(entry, kEntryAddress) == ownAddress)
            sameAddress = i;
        const bool ofName = named && entryFieldValue(entry, kEntryGameName) == name;
        if (isClosedEntry(entry)) {
            closed.consider(i, entry);
            if (ofName)
                closedOfName.consider(i, entry);
        } else {
            live.consider(i, entry);
            if (ofName)
                liveOfName.consider(i, entry);
        }
    }
    // A live game's slot only when no slot is free or closed, nor may be.
    if (!everySlotKnown)
        liveOfName = live = OldestEntry();
    for (int candidate : {sameAddress, free, closedOfName.slot, closed.slot, liveOfName.slot, live.slot})
        if (candidate != kNoGameListSlot)
            return candidate;
    return kNoGameListSlot;
}

QStringList listedGameRows(const QList<ListFile> &listFiles, int *openGames)
{
    QStringList open;
    QStringList closed;
    for (const ListFile &slot : listFiles) {
        if (slot.state != ListFileState::Came || slot.text.isEmpty())
            continue;
        (isClosedEntry(slot.text) ? closed : open).append(cutToWidth(slot.text, kListedRowLength));
    }
    if (openGames)
        *openGames = open.size();
    return open + closed;
}

QString internalAddressOf(const QList<QHostAddress> &addresses)
{
    QString internal;
    for (const QHostAddress &address : addresses) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol || address == QHostAddress(QHostAddress::LocalHost))
            continue;
        const QString text = address.toString();
        if (text.startsWith(QLatin1String("192.168")) || text.startsWith(QLatin1String("10."))
            || text.startsWith(QLatin1String("172.")))
            internal = text;
    }
    return internal;
}

// ---------------------------------------------------------------------------------------------
// The real environment

namespace {

bool askHostNameWithBox(ViewArea &view, const QString &label, QString &text)
{
    bool ok = false;
    text = QInputDialog::getText(&view, QStringLiteral("Tarvan GX"), label, QLineEdit::Normal, QString(), &ok);
    return ok;
}

int chooseFromListDialog(const QString &failure, const QStringList &rows)
{
    QDialog dialog;
    applyDialogLook(dialog, QStringLiteral("Tarvan GX"));
    dialog.setStyleSheet(QStringLiteral("QWidget{font-family:Courier; }"));
    auto *layout = new QVBoxLayout(&dialog);
    if (!failure.isEmpty())
        layout->addWidget(new QLabel(failure));
    layout->addWidget(new QLabel(QStringLiteral(
        "IP                        Map        Version  Dice          Started(UT)        Name")));
    auto *list = new QListWidget;
    list->addItems(rows);
    list->setCurrentRow(0);
    layout->addWidget(list);
    layout->addWidget(new QLabel(QStringLiteral("St = Strongholds    TE = Troop Experience")));
    layout->addWidget(new QLabel(QStringLiteral("Universal Time (UT) is ")
                                 + QLocale::c().toString(interaction().now().toUTC(),
                                                         QStringLiteral("MMM dd yyyy hhmm"))));
    auto *buttons = new QHBoxLayout;
    auto *join = new QPushButton(QStringLiteral("Join"));
    auto *refresh = new QPushButton(QStringLiteral("Refresh"));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"));
    buttons->addWidget(join);
    buttons->addWidget(refresh);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    QObject::connect(join, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(refresh, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(2); });
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    const int result = runDialog(dialog);
    if (result == 2)
        return kListRefresh;
    return result == QDialog::Accepted ? list->currentRow() : kListCancelled;
}

int chooseListedGameWithBox(ViewArea &view, const QString &info, const QString &failure, const QStringList &rows,
                            bool small)
{
    if (small)
        return chooseFromListDialog(failure, rows);
    // As QInputDialog::getItem builds it, run as every dialog of the game is.
    QInputDialog dialog(&view, Qt::WindowTitleHint);
    dialog.setWindowTitle(QStringLiteral("Tarvan GX"));
    dialog.setLabelText(info);
    dialog.setComboBoxItems(rows);
    dialog.setComboBoxEditable(false);
    if (!rows.isEmpty())
        dialog.setTextValue(rows.first());
    const QString item = runDialog(dialog) == QDialog::Accepted ? dialog.textValue() : QString();
    return item.isEmpty() ? kListCancelled : rows.indexOf(item);
}

NetworkEnvironment realEnvironment()
{
    NetworkEnvironment env;
    env.localHostName = [] { return QHostInfo::localHostName(); };
    env.lookupHost = [](const QString &name) { return QHostInfo::fromName(name).addresses(); };
    env.interfaceAddresses = [] { return QNetworkInterface::allAddresses(); };
    env.askHostName = &askHostNameWithBox;
    env.chooseListedGame = &chooseListedGameWithBox;
    env.hostingSettings = &runHostingSettingsDialog;
    env.openWebPage = [](const QUrl &page) { QDesktopServices::openUrl(page); };
    return env;
}

} // namespace

void applyDialogLook(QDialog &dialog, const QString &title)
{
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint);
    dialog.setWindowTitle(title);
    dialog.setPalette(QPalette(Qt::gray));
    dialog.setWindowOpacity(dialogOpacity);
    dialog.setWindowIcon(QIcon(QStringLiteral(":/tifb/Tarvan.ico")));
}

NetworkEnvironment &networkEnvironment()
{
    static NetworkEnvironment env = realEnvironment();
    return env;
}

void resetNetworkEnvironment()
{
    networkEnvironment() = realEnvironment();
}
