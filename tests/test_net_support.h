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
#include "net/OnlineServices.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMap>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
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
    case FetchOutcome::AllCame: return qstrdup("AllCame");
    case FetchOutcome::NotAllCame: return qstrdup("NotAllCame");
    case FetchOutcome::NoServer: return qstrdup("NoServer");
    }
    return qstrdup("?");
}
} // namespace QTest

// The wait for one list file that the tests' online.ini sets: a guard as well.
constexpr int kListWaitGuardMs = 10000;

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

// Whether every file fetched has come (a refused one too): a fetch that gave up on its wait
// leaves its transfers unfinished.
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
    QMap<QString, QByteArray> files;
    QMap<QString, int> failing; // file -> HTTP status
    QMap<QString, QByteArray> uploaded;
    Order order = Order::AsAsked;
    int batch = 1;

    ListServer()
    {
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = server_.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        });
    }
    quint16 port() const { return server_.serverPort(); }

private:
    struct Held {
        QTcpSocket *socket;
        QByteArray reply;
    };

    void read(QTcpSocket *socket)
    {
        QByteArray &buffer = buffers_[socket];
        buffer += socket->readAll();
        HttpRequest request;
        if (!takeHttpRequest(buffer, request))
            return;
        const QString &file = request.file;
        QByteArray reply;
        if (request.method == "PUT") {
            uploaded[file] = request.body;
            reply = answer(201, QByteArray());
        } else if (failing.contains(file)) {
            reply = answer(failing[file], "no");
        } else if (files.contains(file)) {
            reply = answer(200, files[file]);
        } else {
            reply = answer(404, "not here");
        }
        held_.append({socket, reply});
        if (held_.size() < batch)
            return;
        if (order == Order::Reversed)
            std::reverse(held_.begin(), held_.end());
        for (const Held &h : held_)
            h.socket->write(h.reply);
        held_.clear();
    }
    static QByteArray answer(int status, const QByteArray &body)
    {
        return "HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Length: " + QByteArray::number(body.size())
            + "\r\nContent-Type: text/plain\r\n\r\n" + body;
    }

    QTcpServer server_;
    QMap<QTcpSocket *, QByteArray> buffers_;
    QList<Held> held_;
};

// Points the online services at a list server on this port; port 0: no configuration file. The
// port has five digits, so that every such file has the same size.
inline QString writeOnlineConfig(quint16 port, int waitMs = kListWaitGuardMs)
{
    const QString path = QDir::current().filePath(QStringLiteral("online.ini"));
    QFile::remove(path);
    QDir().rmdir(path);
    if (port != 0)
        writeTextFile(QStringLiteral("online.ini"),
                      QStringLiteral("[server]\nlists=http://127.0.0.1:%1/lists\nuploads=http://127.0.0.1:%1/up/\n"
                                     "user=tester\npassword=secret\nwait=%2\n")
                          .arg(port, 5, 10, QLatin1Char('0'))
                          .arg(waitMs)
                          .toLatin1());
    setOnlineConfigPath(path);
    return path;
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
