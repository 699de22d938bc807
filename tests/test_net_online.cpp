// The online game list and top-five lists against a small HTTP server on loopback: each reply
// lands with the file it was asked for, whatever order the replies come in and whichever fail;
// the entries and lists sent back are built as the list readers expect; without the
// configuration file every online feature says it is unavailable.

#include "TestSupport.h"

#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "app/ViewArea.h"
#include "net/NetState.h"
#include "net/OnlineConfig.h"
#include "net/OnlineServices.h"
#include "persist/Settings.h"
#include "rules/TurnState.h"
#include "state/GameState.h"

#include <QNetworkProxy>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <memory>

namespace {

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
        const int headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        const QList<QByteArray> request = lines[0].trimmed().split(' ');
        int length = 0;
        for (const QByteArray &line : lines)
            if (line.toLower().startsWith("content-length:"))
                length = line.mid(15).trimmed().toInt();
        if (buffer.size() < headerEnd + 4 + length)
            return;
        const QString file = QString::fromLatin1(request[1]).section(QLatin1Char('/'), -1);
        const QByteArray body = buffer.mid(headerEnd + 4, length);
        buffer.remove(0, headerEnd + 4 + length);
        QByteArray reply;
        if (request[0] == "PUT") {
            uploaded[file] = body;
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

QString entryOf(const QString &address, const QString &rest = QStringLiteral("World"))
{
    return address.leftJustified(25) + QLatin1Char(' ') + rest.leftJustified(100);
}

int quits = 0;

QStringList times(int n, const QString &text)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list.append(text);
    return list;
}

} // namespace

class TestNetOnline : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;
    std::unique_ptr<ViewArea> window;
    std::unique_ptr<ListServer> server;

    void configure(bool withFile = true)
    {
        const QString path = QDir::current().filePath(QStringLiteral("online.ini"));
        QFile::remove(path);
        if (withFile)
            writeTextFile(QStringLiteral("online.ini"),
                          QStringLiteral("[server]\nlists=http://127.0.0.1:%1/lists\nuploads=http://127.0.0.1:%1/up/\n"
                                         "user=tester\npassword=secret\nwait=2000\n")
                              .arg(server->port())
                              .toLatin1());
        setOnlineConfigPath(path);
    }

private slots:
    void initTestCase() { QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy); }

    void init()
    {
        resetAllGameState(4);
        resetNetworkPlay();
        window = std::make_unique<ViewArea>();
        window->gameTimer.stop();
        demoRunning = 0;
        ui = ScriptedInteraction();
        setInteraction(&ui);
        quits = 0;
        quitEventLoop = [] { ++quits; };
        server = std::make_unique<ListServer>();
        configure();
    }

    void cleanup()
    {
        window.reset();
        server.reset();
        setInteraction(nullptr);
    }

    void gameListRepliesLandWithTheirFiles_data()
    {
        QTest::addColumn<int>("order");
        QTest::newRow("in order") << int(ListServer::Order::AsAsked);
        QTest::newRow("reversed") << int(ListServer::Order::Reversed);
    }
    void gameListRepliesLandWithTheirFiles()
    {
        QFETCH(int, order);
        server->order = ListServer::Order(order);
        server->batch = 6;
        server->files[QStringLiteral("agame+.txt")] = "A";
        server->files[QStringLiteral("agame0.txt")] = entryOf(QStringLiteral("81.20.3.4")).toLatin1() + "\r\n";
        server->failing[QStringLiteral("agame1.txt")] = 500;
        server->files[QStringLiteral("agame2.txt")] = entryOf(QStringLiteral("Closed")).toLatin1();
        server->files[QStringLiteral("agame3.txt")] = entryOf(QStringLiteral("82.1.1.1")).toLatin1();
        QString letter = QStringLiteral(" ");
        fetchGameList(window.get(), letter);
        QCOMPARE(letter, QStringLiteral("A"));
        QCOMPARE(downloadedLines.size(), 5);
        QCOMPARE(downloadedLines[0], entryOf(QStringLiteral("81.20.3.4")));
        QCOMPARE(downloadedLines[1], QString());
        QCOMPARE(downloadedLines[2], entryOf(QStringLiteral("Closed")));
        QCOMPARE(downloadedLines[3], entryOf(QStringLiteral("82.1.1.1")));
        QCOMPARE(downloadedLines[4], QString()); // 404
        QVERIFY(ui.messages.isEmpty());
    }

    void aDisabledServerIsSaid()
    {
        server->files[QStringLiteral("agame+.txt")] = "E";
        QString letter = QStringLiteral(" ");
        fetchGameList(window.get(), letter);
        QCOMPARE(letter, QStringLiteral("E"));
        QCOMPARE(ui.messageTexts(), QStringList{QStringLiteral("Tarvan GX server disabled, view website for more info.")});
    }

    void topFiveListsLandWithTheirMaps()
    {
        server->order = ListServer::Order::Reversed;
        server->batch = 6; // no more than six requests are open at once
        const QStringList names = topFiveFileNames();
        for (int i = 0; i < names.size(); ++i)
            if (i != 2 && i != 9)
                server->files[names[i]] = QByteArray::number(i).rightJustified(4) + " list";
        server->failing[names[9]] = 503;
        fetchAllTopFiveLists(window.get());
        QCOMPARE(downloadedLines.size(), 12);
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(downloadedLines[i], i == 2 || i == 9 ? QString() : QString::number(i).rightJustified(4) + " list");
    }

    void oneTopFiveListIsFetchedByMapOrCampaign_data()
    {
        QTest::addColumn<int>("mapSet");
        QTest::addColumn<int>("campaign");
        QTest::addColumn<QString>("file");
        QTest::newRow("North America") << 3 << 0 << "t5namer.txt";
        QTest::newRow("Australia") << 8 << 0 << "t5austr.txt";
        QTest::newRow("campaign 2") << 0 << 2 << "t5wpacif.txt";
        QTest::newRow("campaign 5") << 0 << 5 << "t5tarvgx.txt";
        QTest::newRow("campaign 4 has none") << 0 << 4 << "";
    }
    void oneTopFiveListIsFetchedByMapOrCampaign()
    {
        QFETCH(int, mapSet);
        QFETCH(int, campaign);
        QFETCH(QString, file);
        QCOMPARE(topFiveFileName(mapSet, campaign), file);
        for (const QString &name : topFiveFileNames())
            server->files[name] = name.toLatin1();
        fetchTopFiveList(mapSet, campaign);
        QCOMPARE(topFiveText, file.isEmpty() ? QStringLiteral(" ") : file);
    }

    void aListThatDidNotComeLeavesABlank()
    {
        fetchTopFiveList(1, 0); // 404
        QCOMPARE(topFiveText, QStringLiteral(" "));
    }

    void theHostsEntryGoesToItsSlot_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("closed");
        QTest::addColumn<QString>("file");
        QTest::newRow("open entry in slot 2") << 2 << 0 << "agame2.txt";
        QTest::newRow("closed entry in slot 0") << 0 << 1 << "agame0.txt";
        QTest::newRow("no slot") << 99 << 1 << "";
    }
    void theHostsEntryGoesToItsSlot()
    {
        QFETCH(int, slot);
        QFETCH(int, closed);
        QFETCH(QString, file);
        mapName = QStringLiteral("World");
        attackRule = 'j';
        strongholdsEnabled = 1;
        settingsRecord.hostGameName = QStringLiteral("Friday night");
        uploadGameListEntry(slot, QStringLiteral("81.20.3.4"), closed);
        if (file.isEmpty()) {
            QTest::qWait(0);
            QVERIFY(server->uploaded.isEmpty());
            QCOMPARE(gameListSlot, 99);
            return;
        }
        QTRY_VERIFY(server->uploaded.contains(file));
        const QString entry = QString::fromUtf8(server->uploaded[file]);
        QCOMPARE(entry.size(), kGameListEntryLength);
        QCOMPARE(entry.left(25).trimmed(), closed ? QStringLiteral("Closed") : QStringLiteral("81.20.3.4"));
        QCOMPARE(entry.mid(26, 14).trimmed(), QStringLiteral("World"));
        QCOMPARE(entry.mid(40, 5), QStringLiteral(" 1.0 "));
        QCOMPARE(entry.mid(46, 4), QStringLiteral("1on1"));
        QCOMPARE(entry.mid(52, 2), QStringLiteral("St"));
        QCOMPARE(entry.mid(56, 2), QStringLiteral("  "));
        QCOMPARE(entry.mid(60, 16), QStringLiteral("Dec 06 2026 %1").arg(ui.clock.toUTC().toString(QStringLiteral("hhmm"))));
        QCOMPARE(entry.mid(78, 20).trimmed(), QStringLiteral("Friday night"));
        QCOMPARE(entry.mid(114, 12), QLatin1Char(' ') + ui.clock.toUTC().toString(QStringLiteral("hhmmsszzz")) + "0 ");
        QCOMPARE(gameListSlot, closed ? 99 : slot);
    }

    void aTopFiveSubmissionSendsTheNewListThenCloses_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("sent");
        const QString a = QStringLiteral("  12 Ann                 ");
        const QString b = QStringLiteral("  40 Bob                 ");
        const QString mine = QStringLiteral("  33 Kim                 ");
        QTest::newRow("appended to a short list") << a + b << 0 << a + b + mine;
        QTest::newRow("in place of entry 2") << a + b + a << 2 << a + mine + a;
        QTest::newRow("no list fetched") << " " << 0 << mine;
        QTest::newRow("a torn last entry is dropped") << a + "  7 Ze" << 0 << a + mine;
    }
    void aTopFiveSubmissionSendsTheNewListThenCloses()
    {
        QFETCH(QString, list);
        QFETCH(int, slot);
        QFETCH(QString, sent);
        topFiveText = list;
        uploadTopFive(1, 0, QStringLiteral("Kim"), 33, slot);
        QTRY_COMPARE(quits, 1);
        QCOMPARE(QString::fromUtf8(server->uploaded.value(QStringLiteral("t5world.txt"))), sent);
        QCOMPARE(ui.pausedMilliseconds, 1000);
        QVERIFY(ui.messages.isEmpty());
    }

    void withoutTheFileEveryFeatureSaysItIsUnavailable()
    {
        configure(false);
        QString letter = QStringLiteral(" ");
        fetchGameList(window.get(), letter);
        QCOMPARE(letter, QStringLiteral("E"));
        fetchTopFiveList(1, 0);
        QCOMPARE(topFiveText, QStringLiteral(" "));
        fetchAllTopFiveLists(window.get());
        QCOMPARE(downloadedLines, times(12, QString()));
        uploadTopFive(1, 0, QStringLiteral("Kim"), 3, 0);
        uploadGameListEntry(1, QStringLiteral("81.20.3.4"), 0);
        QCOMPARE(ui.messageTexts(), times(4, onlineUnavailableText()));
        QTest::qWait(0);
        QVERIFY(server->uploaded.isEmpty());
        QCOMPARE(quits, 0);
    }
};

TARVAN_TEST_MAIN(TestNetOnline)
#include "test_net_online.moc"
