#pragma once
// Shared by the network tests: a fresh program with its window (timer stopped, no demo running)
// and the scripted interaction answering every box; a list server on loopback for the online
// services, the configuration file that points them at it, and waits that end on the event they
// wait for.

#include "TestSupport.h"
#include "test_net_waits.h"

#include "app/ViewArea.h"
#include "net/NetState.h"
#include "net/OnlineConfig.h"
#include "net/StateSnapshot.h"
#include "rules/GameStart.h"
#include "app/NetworkState.h"
#include "persist/SharedGlobals.h"
#include "rules/TurnState.h"
#include "setup/NetworkSetup.h"
#include "setup/SetupState.h"
#include "setup/SetupSteps.h"

#include "app/OnlineManagers.h"
#include "net/GameListEntry.h"
#include "net/OnlineServices.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMap>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QPointer>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>

namespace QTest {
template <>
inline char *toString(const FetchOutcome &outcome)
{
    switch (outcome) {
    case FetchOutcome::AllAnswered: return qstrdup("AllAnswered");
    case FetchOutcome::WaitRanOut: return qstrdup("WaitRanOut");
    case FetchOutcome::NoServer: return qstrdup("NoServer");
    }
    return qstrdup("?");
}
template <>
inline char *toString(const ListFileState &state)
{
    switch (state) {
    case ListFileState::Came: return qstrdup("Came");
    case ListFileState::Absent: return qstrdup("Absent");
    case ListFileState::Failed: return qstrdup("Failed");
    case ListFileState::NotAsked: return qstrdup("NotAsked");
    }
    return qstrdup("?");
}
template <>
inline char *toString(const ListFile &file)
{
    const QByteArray state(QScopedArrayPointer<char>(toString(file.state)).data());
    return qstrdup((state + " \"" + file.text.toUtf8() + "\"").constData());
}
} // namespace QTest

Q_DECLARE_METATYPE(ListFileState)
Q_DECLARE_METATYPE(ListFile)

inline bool operator==(const ListFile &a, const ListFile &b)
{
    return a.state == b.state && a.text == b.text;
}

inline ListFile came(const QString &text)
{
    return {ListFileState::Came, text};
}

inline ListFile listFile(ListFileState state)
{
    return {state, QString()};
}

// The tests' wait for one list file: the longest fetch, of the twelve top-five lists, then waits
// as long as the hang guard.
constexpr int kTestListWaitMs = kHangGuardMs / kTopFiveListCount;

// Runs the event loop until `done` holds, looking again each time `sender` emits `signal`; false
// when the guard ran out first.
template <typename Sender, typename Signal>
bool waitUntil(const Sender *sender, Signal signal, const std::function<bool()> &done)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(sender, signal, &loop, [&] {
        if (done())
            loop.quit();
    });
    guard.start(kHangGuardMs);
    loop.exec();
    return done();
}

// The transfers of the window's online managers: uploads, or the fetched files.
inline QList<QNetworkReply *> onlineTransfers(ViewArea &window, bool uploads)
{
    QList<QNetworkReply *> found;
    for (QNetworkReply *reply : window.findChildren<QNetworkReply *>())
        if (isUploadReply(reply) == uploads)
            found.append(reply);
    return found;
}

// Whether every request of the fetches has ended: a fetch ends those still open when its wait
// ends, so that none holds a connection or brings anything later.
inline bool everyFetchFinished(ViewArea &window)
{
    const QList<QNetworkReply *> fetches = onlineTransfers(window, false);
    return std::all_of(fetches.begin(), fetches.end(), [](QNetworkReply *reply) { return reply->isFinished(); });
}

inline std::unique_ptr<ViewArea> freshNetWindow(quint32 seed, ScriptedInteraction &ui)
{
    resetAllGameState(seed);
    resetNetworkPlay();
    auto window = std::make_unique<ViewArea>();
    window->gameTimer.stop();
    demoRunning = 0;
    ui = ScriptedInteraction();
    setInteraction(&ui);
    return window;
}

// The network set-up's machine on loopback: "testbox" at 127.0.0.1, where a host listens.
inline void useLoopbackMachine()
{
    NetworkEnvironment &env = networkEnvironment();
    env.localHostName = [] { return QStringLiteral("testbox"); };
    env.lookupHost = [](const QString &) { return QList<QHostAddress>{QHostAddress(QHostAddress::LocalHost)}; };
    env.interfaceAddresses = [] { return QList<QHostAddress>{QHostAddress(QHostAddress::LocalHost)}; };
    env.listenAddress = QHostAddress::LocalHost;
}

// The set-up's host steps for a LAN game under the player name `name`, the server listening on
// an ephemeral port of 127.0.0.1 (tcpServer->serverPort()).
inline SetupStepResult hostOnLoopback(ViewArea &window, const QString &name)
{
    networkEnvironment().listenAddress = QHostAddress::LocalHost;
    networkPlayerName = networkNameFor(name);
    playerName[1] = networkPlayerName;
    gamePort = 0;
    gameMode = ModeHost;
    return runHostSteps(window);
}

// A joining player's initial placement as his machine's rules make it: in a stronghold game his
// stronghold first, on a territory of his next to none of 15 armies, then his other territories
// filled in turn up to the placement's fill.
inline void placeInitialArmies(StateSnapshot &s)
{
    const int player = s.currentPlayer;
    const auto guarded = [&s](int t) {
        for (int u = 1; u <= s.territoryCount; ++u)
            if (isNeighbour(t, u) && s.territories[u].armies == 1 + kStrongholdBonus)
                return true;
        return false;
    };
    for (int t = 1; t <= s.territoryCount && s.strongholds && s.players[player].stronghold() == 0; ++t)
        if (s.territories[t].owner == player && !guarded(t)) {
            s.players[player].stronghold() = t;
            s.territories[t].armies += kStrongholdBonus;
            s.shown[t] = s.territories[t];
        }
    int left = s.initialArmies;
    for (int t = 1; t <= s.territoryCount && left > 0; ++t)
        if (s.territories[t].owner == player && t != s.players[player].stronghold()) {
            const int placed = qBound(0, left, kPlacementFill - s.territories[t].armies);
            s.territories[t].armies += placed;
            s.shown[t] = s.territories[t];
            left -= placed;
        }
}

// Answers GET from `files` (404 for the rest) and records PUT bodies. It holds the answers until
// `batch` requests have come, then gives them in the order `order` asks for.
class ListServer : public QObject {
public:
    enum class Order { AsAsked, Reversed };
    // Besides an HTTP status, a file in `failing` may be answered in these ways.
    static constexpr int kHangUp = 0;        // the connection is closed unanswered
    static constexpr int kNeverAnswered = -1; // the request is taken and never answered
    QMap<QString, QByteArray> files;
    QMap<QString, int> failing; // file -> HTTP status, or one of the above
    QMap<QString, QByteArray> uploaded;
    Order order = Order::AsAsked;
    int batch = 1;
    QSet<QString> holdingBack; // the answers for these files wait for answerHeldBack()
    int requests = 0;         // GET requests taken

    ListServer()
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = server_.nextPendingConnection()) {
                open_.append(socket);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
                connect(socket, &QTcpSocket::disconnected, this, [this, socket] { open_.removeAll(socket); });
            }
        });
    }
    quint16 port() const { return server_.serverPort(); }

    // Gives the answers held back, as they were asked.
    void answerHeldBack()
    {
        send(heldBack_);
    }

    // Runs the event loop until the client has closed every connection to this server; false when
    // the hang guard ran out first.
    bool waitUntilEveryConnectionClosed()
    {
        QEventLoop loop;
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        const auto check = [&] {
            if (open_.isEmpty())
                loop.quit();
        };
        for (QTcpSocket *socket : open_)
            connect(socket, &QTcpSocket::disconnected, &loop, check, Qt::QueuedConnection);
        guard.start(kHangGuardMs);
        QTimer::singleShot(0, &loop, check);
        loop.exec();
        return open_.isEmpty();
    }

private:
    struct Held {
        QPointer<QTcpSocket> socket;
        QByteArray reply;
    };

    void read(QTcpSocket *socket)
    {
        QByteArray &buffer = buffers_[socket];
        buffer += socket->readAll();
        HttpRequest request;
        while (takeHttpRequest(buffer, request))
            take(socket, request);
    }
    void take(QTcpSocket *socket, const HttpRequest &request)
    {
        if (request.method == "PUT") {
            uploaded[request.file] = request.body;
            hold(socket, request.file, answer(201, QByteArray()));
            return;
        }
        ++requests;
        const int failure = failing.value(request.file, 200);
        if (failure == kHangUp)
            socket->disconnectFromHost();
        else if (failure == kNeverAnswered)
            return;
        else if (failing.contains(request.file))
            hold(socket, request.file, answer(failure, "no"));
        else if (files.contains(request.file))
            hold(socket, request.file, answer(200, files[request.file]));
        else
            hold(socket, request.file, answer(404, "not here"));
    }
    void hold(QTcpSocket *socket, const QString &file, const QByteArray &reply)
    {
        if (holdingBack.contains(file)) {
            heldBack_.append({socket, reply});
            return;
        }
        held_.append({socket, reply});
        if (held_.size() < batch)
            return;
        if (order == Order::Reversed)
            std::reverse(held_.begin(), held_.end());
        send(held_);
    }
    static void send(QList<Held> &replies)
    {
        for (const Held &h : replies)
            if (h.socket)
                h.socket->write(h.reply);
        replies.clear();
    }
    static QByteArray answer(int status, const QByteArray &body)
    {
        return "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Length: " + QByteArray::number(body.size())
            + "\r\nContent-Type: text/plain\r\n\r\n" + body;
    }

    // The server's sockets still connected (they live as long as the server, their parent);
    // declared first, as the sockets say they are gone when the server deletes them.
    QList<QTcpSocket *> open_;
    QTcpServer server_;
    QMap<QTcpSocket *, QByteArray> buffers_;
    QList<Held> held_;
    QList<Held> heldBack_;
};

// The address of a server on this port of loopback. The port has five digits, so that every
// configuration file with such addresses has the same size.
inline QString loopbackAddress(const char *scheme, quint16 port, const char *folder)
{
    return QStringLiteral("%1://127.0.0.1:%2/%3").arg(QLatin1String(scheme)).arg(port, 5, 10, QLatin1Char('0')).arg(QLatin1String(folder));
}

// Writes online.ini into the working folder (none when `text` is empty, nor anything else by its
// name) and points the online services at it.
inline QString placeOnlineConfig(const QByteArray &text)
{
    const QString path = QDir::current().filePath(QStringLiteral("online.ini"));
    QFile::remove(path);
    QDir().rmdir(path);
    if (!text.isEmpty())
        writeTextFile(QStringLiteral("online.ini"), text);
    setOnlineConfigPath(path);
    return path;
}

// Points the online services at lists fetched from this port of loopback and uploads sent to
// `uploads`.
inline QString writeOnlineConfig(quint16 listsPort, const QString &uploads, int waitMs)
{
    return placeOnlineConfig(QStringLiteral("[server]\nlists=%1\nuploads=%2\nuser=tester\npassword=secret\nwait=%3\n")
                                 .arg(loopbackAddress("http", listsPort, "lists"), uploads)
                                 .arg(waitMs)
                                 .toLatin1());
}

// Points the online services at a list server on this port, which takes the uploads as well; port
// 0: no configuration file.
inline QString writeOnlineConfig(quint16 port, int waitMs = kTestListWaitMs)
{
    if (port == 0)
        return placeOnlineConfig(QByteArray());
    return writeOnlineConfig(port, loopbackAddress("http", port, "up/"), waitMs);
}

// The file's modification time, to the nanosecond.
inline timespec modificationTime(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mtim;
}

// Gives the file a modification time, as a file system with a coarse clock gives two writes
// within one tick the same.
inline bool setModificationTime(const QString &path, const timespec &time)
{
    const timespec times[2] = {{0, UTIME_OMIT}, time};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}
