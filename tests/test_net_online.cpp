// The online game list and top-five lists against a small HTTP server on loopback: each reply
// lands with the file it was asked for, whatever order the replies come in and whichever fail;
// the entries and lists sent back are built as the list readers expect; without the
// configuration file every online feature says it is unavailable.

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

#include <QNetworkAccessManager>

#include <memory>

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

    void configure(bool withFile = true)
    {
        writeOnlineConfig(withFile ? server->port() : 0);
    }

private slots:
    void init()
    {
        window = freshNetWindow(4, ui);
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
            fetchGameList(window.get(), letter);
            QCOMPARE(letter, QStringLiteral("A"));
            QCOMPARE(downloadedLines.value(0), entryOf(host));
            QCOMPARE(managers(), 1);
        }
        server->files[topFiveFileNames()[0]] = "   3 Ann";
        fetchTopFiveList(1, 0);
        QCOMPARE(topFiveText, QStringLiteral("   3 Ann"));
        QCOMPARE(managers(), 2);
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
        QTest::addColumn<bool>("served");
        QTest::newRow("North America") << 3 << 0 << "t5namer.txt" << true;
        QTest::newRow("Australia") << 8 << 0 << "t5austr.txt" << true;
        QTest::newRow("campaign 2") << 0 << 2 << "t5wpacif.txt" << true;
        QTest::newRow("campaign 5") << 0 << 5 << "t5tarvgx.txt" << true;
        QTest::newRow("campaign 4 has none") << 0 << 4 << "" << true;
        QTest::newRow("a list that did not come leaves a blank") << 1 << 0 << "t5world.txt" << false;
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
        fetchTopFiveList(mapSet, campaign);
        QCOMPARE(topFiveText, served && !file.isEmpty() ? file : QStringLiteral(" "));
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
