// The online game list and top-five lists against a small HTTP server on loopback: each reply
// lands with the file it was asked for, whatever order the replies come in and whichever fail,
// and a fetch tells whether they all came; the entries and lists sent back are built as the list
// readers expect; the configuration file is read as it stands at each use, and without it every
// online feature says it is unavailable.

#include "test_net_support.h"

#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "app/ViewArea.h"
#include "net/NetState.h"
#include "net/OnlineConfig.h"
#include "net/OnlineServices.h"
#include "persist/Settings.h"
#include "rules/TurnState.h"
#include "state/GameState.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkAccessManager>

#include <memory>

#include <sys/stat.h>

namespace {

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

private slots:
    void init()
    {
        window = freshNetWindow(4, ui);
        quits = 0;
        quitEventLoop = [] { ++quits; };
        server = std::make_unique<ListServer>();
        writeOnlineConfig(server->port());
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
        QCOMPARE(fetchGameList(window.get(), letter), FetchOutcome::AllCame);
        QCOMPARE(letter, QStringLiteral("A"));
        QCOMPARE(downloadedLines.size(), 5);
        QCOMPARE(downloadedLines[0], entryOf(QStringLiteral("81.20.3.4")));
        QCOMPARE(downloadedLines[1], QString());
        QCOMPARE(downloadedLines[2], entryOf(QStringLiteral("Closed")));
        QCOMPARE(downloadedLines[3], entryOf(QStringLiteral("82.1.1.1")));
        QCOMPARE(downloadedLines[4], QString()); // 404
        QVERIFY(ui.messages.isEmpty());
    }

    void eachManagerIsMadeOnFirstUseAndServesEveryLaterOne()
    {
        // The window starts without them; their replies reach its slots from the first one on.
        const auto managers = [this] { return window->findChildren<QNetworkAccessManager *>().size(); };
        QCOMPARE(managers(), 0);
        server->files[QStringLiteral("agame+.txt")] = "A";
        for (int round = 1; round <= 2; ++round) {
            const QString host = QStringLiteral("81.20.3.%1").arg(round);
            server->files[QStringLiteral("agame0.txt")] = entryOf(host).toLatin1();
            QString letter = QStringLiteral(" ");
            QCOMPARE(fetchGameList(window.get(), letter), FetchOutcome::AllCame);
            QCOMPARE(letter, QStringLiteral("A"));
            QCOMPARE(downloadedLines.value(0), entryOf(host));
            QCOMPARE(managers(), 1);
        }
        server->files[topFiveFileNames()[0]] = "   3 Ann";
        QCOMPARE(fetchTopFiveList(1, 0), FetchOutcome::AllCame);
        QCOMPARE(topFiveText, QStringLiteral("   3 Ann"));
        QCOMPARE(managers(), 2);
    }

    void aDisabledServerIsSaid()
    {
        server->files[QStringLiteral("agame+.txt")] = "E";
        QString letter = QStringLiteral(" ");
        QCOMPARE(fetchGameList(window.get(), letter), FetchOutcome::AllCame);
        QCOMPARE(letter, QStringLiteral("E"));
        QCOMPARE(ui.messageTexts(), QStringList{QStringLiteral("Tarvan GX server disabled, view website for more info.")});
    }

    // The refused lists come as refusals: an empty list that never came would leave the fetch
    // waiting.
    void topFiveListsLandWithTheirMaps()
    {
        server->order = ListServer::Order::Reversed;
        server->batch = 6; // no more than six requests are open at once
        const QStringList names = topFiveFileNames();
        for (int i = 0; i < names.size(); ++i)
            if (i != 2 && i != 9)
                server->files[names[i]] = QByteArray::number(i).rightJustified(4) + " list";
        server->failing[names[9]] = 503;
        QCOMPARE(fetchAllTopFiveLists(window.get()), FetchOutcome::AllCame);
        QCOMPARE(downloadedLines.size(), 12);
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(downloadedLines[i], i == 2 || i == 9 ? QString() : QString::number(i).rightJustified(4) + " list");
    }

    void oneTopFiveListIsFetchedByMapOrCampaign_data()
    {
        QTest::addColumn<int>("mapSet");
        QTest::addColumn<int>("campaign");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("served");
        QTest::newRow("North America") << 3 << 0 << "t5namer.txt" << true;
        QTest::newRow("Australia") << 8 << 0 << "t5austr.txt" << true;
        QTest::newRow("campaign 2") << 0 << 2 << "t5wpacif.txt" << true;
        QTest::newRow("campaign 5") << 0 << 5 << "t5tarvgx.txt" << true;
        QTest::newRow("campaign 4 has none") << 0 << 4 << "" << true;
        QTest::newRow("a list the server does not have leaves a blank") << 1 << 0 << "t5world.txt" << false;
    }
    void oneTopFiveListIsFetchedByMapOrCampaign()
    {
        QFETCH(int, mapSet);
        QFETCH(int, campaign);
        QFETCH(QString, file);
        QFETCH(bool, served);
        QCOMPARE(topFiveFileName(mapSet, campaign), file);
        for (const QString &name : topFiveFileNames())
            if (served)
                server->files[name] = name.toLatin1();
        QCOMPARE(fetchTopFiveList(mapSet, campaign), FetchOutcome::AllCame);
        QCOMPARE(topFiveText, served && !file.isEmpty() ? file : QStringLiteral(" "));
    }

    // The server takes every request and answers none: the fetch waits its configured time, keeps
    // no list and says that not all came.
    void aFetchWhoseRepliesDoNotComeSaysSo_data()
    {
        QTest::addColumn<QString>("fetch");
        QTest::newRow("one top-five list") << "one";
        QTest::newRow("every top-five list") << "all";
        QTest::newRow("the game list") << "games";
    }
    void aFetchWhoseRepliesDoNotComeSaysSo()
    {
        QFETCH(QString, fetch);
        writeOnlineConfig(server->port(), 10);
        server->batch = 100;
        server->files[QStringLiteral("agame+.txt")] = "A";
        for (const QString &name : topFiveFileNames() + QStringList{gameListFileName(0)})
            server->files[name] = "   1 Ann";
        if (fetch == QLatin1String("one")) {
            QCOMPARE(fetchTopFiveList(1, 0), FetchOutcome::NotAllCame);
            QCOMPARE(topFiveText, QStringLiteral(" "));
        } else if (fetch == QLatin1String("all")) {
            QCOMPARE(fetchAllTopFiveLists(window.get()), FetchOutcome::NotAllCame);
            QCOMPARE(downloadedLines, times(12, QString()));
        } else {
            QString letter = QStringLiteral(" ");
            QCOMPARE(fetchGameList(window.get(), letter), FetchOutcome::NotAllCame);
            QCOMPARE(letter, QStringLiteral(" "));
            QCOMPARE(downloadedLines, times(5, QString()));
        }
        QVERIFY(ui.messages.isEmpty());
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
            // An upload would be on its way from the call on.
            QVERIFY(onlineTransfers(*window, true).isEmpty());
            QCOMPARE(gameListSlot, 99);
            return;
        }
        QVERIFY(waitUntil(gameListManager(), &QNetworkAccessManager::finished,
                          [&] { return server->uploaded.contains(file); }));
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
        QVERIFY(waitUntil(topFiveManager(), &QNetworkAccessManager::finished, [] { return quits == 1; }));
        QCOMPARE(QString::fromUtf8(server->uploaded.value(QStringLiteral("t5world.txt"))), sent);
        QCOMPARE(ui.pausedMilliseconds, 1000);
        QVERIFY(ui.messages.isEmpty());
    }

    // The file is read as it stands at each use: a rewrite of the same size and the same time
    // stamp (two writes within one tick of a coarse clock) takes effect at once.
    void aRewrittenConfigurationTakesEffectAtOnce()
    {
        server->files[topFiveFileNames()[0]] = "   1 Ann";
        QCOMPARE(fetchTopFiveList(1, 0), FetchOutcome::AllCame);
        QCOMPARE(topFiveText, QStringLiteral("   1 Ann"));
        const QString path = onlineConfigPath();
        const qint64 size = QFileInfo(path).size();
        const timespec written = modificationTime(path);
        ListServer next;
        next.files[topFiveFileNames()[0]] = "   2 Bob";
        writeOnlineConfig(next.port());
        QVERIFY(setModificationTime(path, written));
        QCOMPARE(QFileInfo(path).size(), size);
        QCOMPARE(fetchTopFiveList(1, 0), FetchOutcome::AllCame);
        QCOMPARE(topFiveText, QStringLiteral("   2 Bob"));
    }

    // online.ini reads as the INI files of Qt's settings are written, but for a comma, which is
    // part of the text.
    void theConfigurationFileReadsAsWritten_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("wait");
        const QByteArray at = "lists=http://127.0.0.1:1/l\nuploads=http://127.0.0.1:1/u/\n";
        QTest::newRow("keys keep their case; blanks around keys and values go")
            << "[server]\n" + at + " User = Ann\n  user =  Kim Lee \t\npassword=\tp w\nwait = 30 \n" << "Kim Lee"
            << "p w" << 30;
        QTest::newRow("a repeated section adds to the first; a later key wins")
            << "[server]\nuser=Ann\npassword=one\n[other]\nuser=Bob\nwait=7\n[server]\n" + at + "user=Kim\n"
            << "Kim" << "one" << 0;
        QTest::newRow("; starts a comment, also after a value")
            << "[server]\n" + at + "; user=Bob\nuser=Kim ; the tester\npassword=a;b\nwait=40;ms\n" << "Kim" << "a"
            << 40;
        QTest::newRow("# is text") << "[server]\n" + at + "#user=Bob\nuser=#Kim\npassword=a # b\nwait=20#30\n"
                                   << "#Kim" << "a # b" << 0;
        QTest::newRow("double quotes keep blanks and ;, escapes are undone")
            << "[server]\n" + at + "user=\" Kim;Lee \" ; quoted\npassword=\"q\\\"u\\\\o\\tt\\n\"\n" << " Kim;Lee "
            << "q\"u\\o\tt\n" << 0;
        QTest::newRow("a comma is text") << "[server]\n" + at + "user=Kim, Lee\npassword=a,b\n" << "Kim, Lee" << "a,b"
                                         << 0;
        QTest::newRow("other sections and other cases are not the server's")
            << "user=Top\n[Server]\nuser=Bob\n[server]\n" + at + "User=Eve\npassword=p\n" << "" << "" << 0;
        QTest::newRow("UTF-8 with a byte-order mark, CRLF")
            << "\xef\xbb\xbf[server]\r\n" + QByteArray(at).replace("\n", "\r\n") + "user=J\xc3\xa9r\xc3\xb4me\r\npassword=p\r\n"
            << "J\u00e9r\u00f4me" << "p" << 0;
        QTest::newRow("a NUL in a comment before the section")
            << QByteArrayLiteral("; kept \0 here\n[server]\n") + at + "user=Kim\nwait=25\n" << "Kim" << "" << 25;
        QTest::newRow("a NUL in the password")
            << "[server]\n" + at + QByteArrayLiteral("user=Kim\npassword=tar\0van7\nwait=25\n") << "Kim"
            << QStringLiteral("tar\0van7") << 25;
    }
    void theConfigurationFileReadsAsWritten()
    {
        QFETCH(QByteArray, file);
        setOnlineConfigPath(writeTextFile(QStringLiteral("online.ini"), file));
        const OnlineConfig config = readOnlineConfig();
        QVERIFY(config.available);
        QCOMPARE(config.lists, QUrl(QStringLiteral("http://127.0.0.1:1/l/")));
        QTEST(config.uploads.userName(), "user");
        QTEST(config.uploads.password(), "password");
        QTEST(config.waitMs, "wait");
    }

    void withoutTheFileEveryFeatureSaysItIsUnavailable_data()
    {
        QTest::addColumn<QString>("instead");
        QTest::newRow("no file") << "";
        QTest::newRow("a named pipe, never opened") << "pipe";
        QTest::newRow("a folder") << "folder";
        QTest::newRow("a file too large") << "large";
    }
    void withoutTheFileEveryFeatureSaysItIsUnavailable()
    {
        QFETCH(QString, instead);
        const QString path = writeOnlineConfig(0);
        if (instead == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (instead == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
        else if (instead == QLatin1String("large"))
            writeTextFile(QStringLiteral("online.ini"), "[server]\nlists=http://127.0.0.1:1/l/\nuploads=http://127.0.0.1:1/u/\n"
                                                        + QByteArray(1 << 20, ';'));
        QString letter = QStringLiteral(" ");
        QCOMPARE(fetchGameList(window.get(), letter), FetchOutcome::NoServer);
        QCOMPARE(letter, QStringLiteral("E"));
        QCOMPARE(fetchTopFiveList(1, 0), FetchOutcome::NoServer);
        QCOMPARE(topFiveText, QStringLiteral(" "));
        QCOMPARE(fetchAllTopFiveLists(window.get()), FetchOutcome::NoServer);
        QCOMPARE(downloadedLines, times(12, QString()));
        uploadTopFive(1, 0, QStringLiteral("Kim"), 3, 0);
        uploadGameListEntry(1, QStringLiteral("81.20.3.4"), 0);
        QCOMPARE(ui.messageTexts(), times(4, onlineUnavailableText()));
        // Nothing was sent, nor is on its way.
        QVERIFY(onlineTransfers(*window, true).isEmpty());
        QCOMPARE(quits, 0);
    }
};

TARVAN_TEST_MAIN(TestNetOnline)
#include "test_net_online.moc"
