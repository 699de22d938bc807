// The online game list and top-five lists against a small HTTP server on loopback: each reply
// lands with the file it was asked for, whatever order the replies come in and whichever fail,
// and a fetch tells whether they all came; the entries and lists sent back are built as the list
// readers expect; the configuration file is read as it stands at each use, and without it every
// online feature says it is unavailable.

#include "test_dialogs_support.h"
#include "test_net_ftp.h"
#include "test_net_support.h"

#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "app/ViewArea.h"
#include "dialogs/TopFiveSubmission.h"
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

using namespace dialog_test;

namespace {

QString entryOf(const QString &address, const QString &rest = QStringLiteral("World"))
{
    return address.leftJustified(25) + QLatin1Char(' ') + rest.leftJustified(100);
}

int quits = 0;

const QString kWorldList = QStringLiteral("t5world.txt");
// A wait for one list file that a reply on loopback may miss: for the fetches meant to give up.
constexpr int kShortListWaitMs = 50;
const QString kNotFetched = QStringLiteral("The top five list could not be fetched from the server, so your score was not sent.");
const QString kNotSent = QStringLiteral("Your score could not be sent to the top five list.");

// A top-five entry as the list server keeps it: "%4d" losses, a blank, the name in 20.
QByteArray entryOf(int losses, const char *name)
{
    return QByteArray::number(losses).rightJustified(4) + ' ' + QByteArray(name).leftJustified(20);
}

QByteArray listOf(const QList<int> &losses)
{
    QByteArray list;
    for (int i = 0; i < losses.size(); ++i)
        list += entryOf(losses[i], QByteArray("P" + QByteArray::number(i + 1)).constData());
    return list;
}

// The winner's entry: his name as the dialog offers it.
const QByteArray mine = entryOf(33, "Kim");
// A full list in which the winner's 33 losses take the place of the second entry.
const QByteArray fullList = listOf({12, 40, 7, 40, 25});

template <typename T>
QList<T> times(int n, const T &item)
{
    QList<T> list;
    for (int i = 0; i < n; ++i)
        list.append(item);
    return list;
}

} // namespace

class TestNetOnline : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;
    DialogScript script;
    std::unique_ptr<ViewArea> window;
    std::unique_ptr<ListServer> server;

private slots:
    void init()
    {
        window = freshNetWindow(4, ui);
        quits = 0;
        quitEventLoop = [] { ++quits; };
        script = DialogScript();
        script.install();
        settingsRecord.highScoreName = QStringLiteral("Kim");
        server = std::make_unique<ListServer>();
        writeOnlineConfig(server->port());
    }

    void cleanup()
    {
        DialogScript::uninstall();
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
        QCOMPARE(fetchGameList(window.get(), letter), FetchOutcome::AllAnswered);
        QCOMPARE(letter, QStringLiteral("A"));
        QCOMPARE(downloadedLines, (QList<ListFile>{came(entryOf(QStringLiteral("81.20.3.4"))),
                                                   listFile(ListFileState::Failed),
                                                   came(entryOf(QStringLiteral("Closed"))),
                                                   came(entryOf(QStringLiteral("82.1.1.1"))),
                                                   listFile(ListFileState::Absent)}));
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
            QCOMPARE(fetchGameList(window.get(), letter), FetchOutcome::AllAnswered);
            QCOMPARE(letter, QStringLiteral("A"));
            QCOMPARE(downloadedLines.value(0), came(entryOf(host)));
            QCOMPARE(managers(), 1);
        }
        server->files[topFiveFileNames()[0]] = "   3 Ann";
        QCOMPARE(fetchTopFiveList(1, 0), ListFileState::Came);
        QCOMPARE(topFiveText, QStringLiteral("   3 Ann"));
        QCOMPARE(managers(), 2);
    }

    void aDisabledServerIsSaid()
    {
        server->files[QStringLiteral("agame+.txt")] = "E";
        QString letter = QStringLiteral(" ");
        QCOMPARE(fetchGameList(window.get(), letter), FetchOutcome::AllAnswered);
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
        QCOMPARE(fetchAllTopFiveLists(window.get()), FetchOutcome::AllAnswered);
        QCOMPARE(downloadedLines.size(), 12);
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(downloadedLines[i], i == 2   ? listFile(ListFileState::Absent)
                                         : i == 9 ? listFile(ListFileState::Failed)
                                                  : came(QString::number(i).rightJustified(4) + " list"));
    }

    void oneTopFiveListIsFetchedByMapOrCampaign_data()
    {
        QTest::addColumn<int>("mapSet");
        QTest::addColumn<int>("campaign");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("served");
        QTest::addColumn<ListFileState>("state");
        const ListFileState came = ListFileState::Came;
        QTest::newRow("North America") << 3 << 0 << "t5namer.txt" << true << came;
        QTest::newRow("Australia") << 8 << 0 << "t5austr.txt" << true << came;
        QTest::newRow("campaign 2") << 0 << 2 << "t5wpacif.txt" << true << came;
        QTest::newRow("campaign 5") << 0 << 5 << "t5tarvgx.txt" << true << came;
        QTest::newRow("campaign 4 has none") << 0 << 4 << "" << true << ListFileState::NotAsked;
        QTest::newRow("a list the server does not have") << 1 << 0 << "t5world.txt" << false << ListFileState::Absent;
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
        QTEST(fetchTopFiveList(mapSet, campaign), "state");
        QCOMPARE(topFiveText, served && !file.isEmpty() ? file : QStringLiteral(" "));
        QCOMPARE(server->requests, file.isEmpty() ? 0 : 1);
    }

    // A fetch's wait runs the event loop: a view opened meanwhile fetches on its own, and each
    // fetch keeps what was asked of it.
    void aFetchBegunDuringAnotherKeepsToItsOwnFiles()
    {
        const QStringList names = topFiveFileNames();
        for (const QString &name : names)
            server->files[name] = name.toLatin1();
        // Every list but the last comes; the last only once the other fetch has ended.
        server->holdingBack = {names.last()};
        ListFileState inner = ListFileState::NotAsked;
        QTimer::singleShot(0, window.get(), [&] {
            inner = fetchTopFiveList(3, 0);
            server->answerHeldBack();
        });
        QCOMPARE(fetchAllTopFiveLists(window.get()), FetchOutcome::AllAnswered);
        QCOMPARE(inner, ListFileState::Came);
        QCOMPARE(topFiveText, QStringLiteral("t5namer.txt"));
        QCOMPARE(downloadedLines.size(), names.size());
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(downloadedLines[i], came(names[i]));
    }

    // The server takes every request and answers none: the fetch waits its configured time, takes
    // every file for failed, says that not all came, and hangs up every request it made.
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
            QCOMPARE(fetchTopFiveList(1, 0), ListFileState::Failed);
            QCOMPARE(topFiveText, QStringLiteral(" "));
        } else if (fetch == QLatin1String("all")) {
            QCOMPARE(fetchAllTopFiveLists(window.get()), FetchOutcome::WaitRanOut);
            QCOMPARE(downloadedLines, times(12, listFile(ListFileState::Failed)));
        } else {
            QString letter = QStringLiteral(" ");
            QCOMPARE(fetchGameList(window.get(), letter), FetchOutcome::WaitRanOut);
            QCOMPARE(letter, QStringLiteral(" "));
            QCOMPARE(downloadedLines, times(5, listFile(ListFileState::Failed)));
        }
        QVERIFY(ui.messages.isEmpty());
        QVERIFY(everyFetchFinished(*window));
        QVERIFY(server->waitUntilEveryConnectionClosed());
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

    // A won game's submission through its name dialog: the list of the map as the server holds
    // it, and what the server holds afterwards.
    void aSubmissionSendsTheListWithItsEntryThenCloses_data()
    {
        QTest::addColumn<QByteArray>("list"); // empty: the server has no such list
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("appended to a short list") << listOf({12, 40}) << listOf({12, 40}) + mine;
        QTest::newRow("in place of the first of the most losses") << fullList << fullList.left(25) + mine + fullList.mid(50);
        QTest::newRow("a list not begun yet starts with the entry") << QByteArray() << mine;
        QTest::newRow("a torn last entry is dropped") << listOf({12}) + "  7 Ze" << listOf({12}) + mine;
        // A list of 110 to 124 characters holds five entries, the fifth short of its padding.
        for (int shortFifth : {10, 24}) {
            const QByteArray list = listOf({12, 80, 7, 25}) + entryOf(40, "Eve").left(shortFifth);
            QTest::newRow(qPrintable(QStringLiteral("a short fifth entry of %1 is kept whole").arg(shortFifth)))
                << list << list.left(25) + mine + list.mid(50);
        }
        QTest::newRow("a short fifth entry given up") << listOf({12, 20, 7, 25}) + entryOf(60, "Eve").left(10)
                                                      << listOf({12, 20, 7, 25}) + mine;
    }
    void aSubmissionSendsTheListWithItsEntryThenCloses()
    {
        QFETCH(QByteArray, list);
        QFETCH(QByteArray, sent);
        if (!list.isEmpty())
            server->files[kWorldList] = list;
        script.actions = {press(QStringLiteral("Ok"))};
        submitTopFiveScore(1, 33);
        QVERIFY(waitUntil(topFiveManager(), &QNetworkAccessManager::finished, [] { return quits == 1; }));
        QCOMPARE(server->uploaded.value(kWorldList), sent);
        QCOMPARE(ui.messageTexts(), QStringList());
    }

    // A list that did not come may hold entries: nothing is sent over it, the player is told, and
    // the game stays where it ended. Every request is hung up, so a late answer lands nowhere.
    void aSubmissionWhoseListDidNotComeSendsNothing_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("losses");
        for (const QString failure : {"500", "503", "hung up unanswered", "refused", "no reply", "answered late"})
            QTest::newRow(qPrintable(failure)) << failure << 33;
        // A score worse than every listed one would not qualify, but nobody can know that here.
        for (const QString failure : {"503", "no reply"})
            QTest::newRow(qPrintable(failure + " with 900 losses")) << failure << 900;
    }
    void aSubmissionWhoseListDidNotComeSendsNothing()
    {
        QFETCH(QString, failure);
        QFETCH(int, losses);
        server->files[kWorldList] = fullList;
        // A port bound without listening refuses every connection, and no other program can take it.
        QTcpSocket refusing;
        QVERIFY(refusing.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
        if (failure == QLatin1String("refused"))
            writeOnlineConfig(refusing.localPort(), loopbackAddress("http", server->port(), "up/"), kTestListWaitMs);
        else if (failure == QLatin1String("no reply"))
            server->failing[kWorldList] = ListServer::kNeverAnswered;
        else if (failure == QLatin1String("answered late"))
            server->holdingBack = {kWorldList};
        else if (failure == QLatin1String("hung up unanswered"))
            server->failing[kWorldList] = ListServer::kHangUp;
        else
            server->failing[kWorldList] = failure.toInt();
        if (failure == QLatin1String("no reply") || failure == QLatin1String("answered late"))
            writeOnlineConfig(server->port(), kShortListWaitMs);
        script.actions = {press(QStringLiteral("Ok"))};

        submitTopFiveScore(1, losses);
        server->answerHeldBack();

        QCOMPARE(ui.messageTexts(), QStringList{kNotFetched});
        QCOMPARE(script.shown.size(), 0);
        // A request given up on holds no connection.
        if (failure == QLatin1String("no reply") || failure == QLatin1String("answered late"))
            QVERIFY(server->waitUntilEveryConnectionClosed());
        QVERIFY(server->uploaded.isEmpty());
        QVERIFY(onlineTransfers(*window, true).isEmpty());
        QCOMPARE(quits, 0);
    }

    // The view of every list gave up on Europe's; it comes while the player names his entry for
    // World, and changes nothing.
    void aLateReplyOfAnotherViewChangesNothing()
    {
        for (const QString &name : topFiveFileNames())
            server->files[name] = listOf({1, 2, 3, 4, 5});
        server->files[kWorldList] = fullList;
        writeOnlineConfig(server->port(), kShortListWaitMs);
        server->holdingBack = {QStringLiteral("t5europ.txt")};
        QCOMPARE(fetchAllTopFiveLists(window.get()), FetchOutcome::WaitRanOut);

        writeOnlineConfig(server->port());
        const auto lateReplies = [this](QDialog &dialog) {
            server->answerHeldBack();
            QVERIFY(waitUntil(topFiveManager(), &QNetworkAccessManager::finished,
                              [this] { return everyFetchFinished(*window); }));
            press(QStringLiteral("Ok"))(dialog);
        };
        script.actions = {lateReplies};
        submitTopFiveScore(1, 33);
        QVERIFY(waitUntil(topFiveManager(), &QNetworkAccessManager::finished, [] { return quits == 1; }));
        QCOMPARE(server->uploaded.value(kWorldList), fullList.left(25) + mine + fullList.mid(50));
    }

    // Six fetches that were never answered would hold every connection Qt opens to one server.
    void sixFetchesThatHungLeaveTheNextSubmissionWhole()
    {
        writeOnlineConfig(server->port(), kShortListWaitMs);
        server->failing[kWorldList] = ListServer::kNeverAnswered;
        for (int i = 0; i < 6; ++i)
            QCOMPARE(fetchTopFiveList(1, 0), ListFileState::Failed);

        server->failing.clear();
        server->files[kWorldList] = fullList;
        writeOnlineConfig(server->port());
        script.actions = {press(QStringLiteral("Ok"))};
        submitTopFiveScore(1, 33);
        QVERIFY(waitUntil(topFiveManager(), &QNetworkAccessManager::finished, [] { return quits == 1; }));
        QCOMPARE(server->uploaded.value(kWorldList), fullList.left(25) + mine + fullList.mid(50));
    }

    // The score goes by FTP. An upload the server never finishes is aborted at its bound (at
    // least five seconds, whatever online.ini's wait) and told as not sent, and the program ends
    // as after any upload.
    void anUploadIsToldUnlessItWentWhole_data()
    {
        QTest::addColumn<int>("way");
        QTest::addColumn<int>("wait"); // online.ini's as the upload begins
        QTest::addColumn<bool>("sent");
        const int kept = kTestListWaitMs;
        QTest::newRow("answered") << int(FtpServer::Way::Answering) << kept << true;
        QTest::newRow("HELP refused: the client ends without the file") << int(FtpServer::Way::RefusesHelp) << kShortListWaitMs << false;
        QTest::newRow("never greets") << int(FtpServer::Way::NeverGreets) << kShortListWaitMs << false;
        QTest::newRow("drops the data connection") << int(FtpServer::Way::DropsData) << kShortListWaitMs << false;
        QTest::newRow("never confirms") << int(FtpServer::Way::NeverConfirms) << kShortListWaitMs << false;
        QTest::newRow("drops the control connection") << int(FtpServer::Way::DropsControl) << kShortListWaitMs << false;
        QTest::newRow("confirmed late, a wait of 200") << int(FtpServer::Way::ConfirmsLate) << 200 << true;
        QTest::newRow("confirmed late, a wait of 0") << int(FtpServer::Way::ConfirmsLate) << 0 << true;
    }
    void anUploadIsToldUnlessItWentWhole()
    {
        QFETCH(int, way);
        QFETCH(int, wait);
        QFETCH(bool, sent);
        FtpServer ftp;
        ftp.way = FtpServer::Way(way);
        server->files[kWorldList] = fullList;
        writeOnlineConfig(server->port(), loopbackAddress("ftp", ftp.port(), "up/"), kTestListWaitMs);
        // The upload takes online.ini as it stands, written once the list has come.
        const auto nameAndSend = [this, &ftp, wait](QDialog &dialog) {
            writeOnlineConfig(server->port(), loopbackAddress("ftp", ftp.port(), "up/"), wait);
            press(QStringLiteral("Ok"))(dialog);
        };
        script.actions = {nameAndSend};
        submitTopFiveScore(1, 33);
        QVERIFY(waitUntil(topFiveManager(), &QNetworkAccessManager::finished, [] { return quits == 1; }));
        QCOMPARE(ui.messageTexts(), sent ? QStringList() : QStringList{kNotSent});
        if (sent)
            QCOMPARE(ftp.stored.value(kWorldList), fullList.left(25) + mine + fullList.mid(50));
        const QList<QNetworkReply *> uploads = onlineTransfers(*window, true);
        QVERIFY(std::all_of(uploads.begin(), uploads.end(), [](QNetworkReply *reply) { return reply->isFinished(); }));
    }

    // The file is read as it stands at each use: a rewrite of the same size and the same time
    // stamp (two writes within one tick of a coarse clock) takes effect at once.
    void aRewrittenConfigurationTakesEffectAtOnce()
    {
        server->files[topFiveFileNames()[0]] = "   1 Ann";
        QCOMPARE(fetchTopFiveList(1, 0), ListFileState::Came);
        QCOMPARE(topFiveText, QStringLiteral("   1 Ann"));
        const QString path = onlineConfigPath();
        const qint64 size = QFileInfo(path).size();
        const timespec written = modificationTime(path);
        ListServer next;
        next.files[topFiveFileNames()[0]] = "   2 Bob";
        writeOnlineConfig(next.port());
        QVERIFY(setModificationTime(path, written));
        QCOMPARE(QFileInfo(path).size(), size);
        QCOMPARE(fetchTopFiveList(1, 0), ListFileState::Came);
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

    // Over FTP, a list not begun yet and a refused SIZE or MDTM look alike: an upload over such a
    // "missing" list would wipe it.
    void withoutAUsableFileEveryFeatureSaysItIsUnavailable_data()
    {
        QTest::addColumn<QString>("instead");
        QTest::addColumn<QString>("said");
        const QString none = onlineUnavailableText();
        QTest::newRow("no file") << "" << none;
        QTest::newRow("a named pipe, never opened") << "pipe" << none;
        QTest::newRow("a folder") << "folder" << none;
        QTest::newRow("a file too large") << "large" << none;
        QTest::newRow("lists over FTP") << "ftp"
                                        << "The online services are unavailable: the lists address in online.ini must "
                                           "begin with http:// or https://.";
    }
    void withoutAUsableFileEveryFeatureSaysItIsUnavailable()
    {
        QFETCH(QString, instead);
        QFETCH(QString, said);
        FtpServer ftp; // refuses SIZE and MDTM
        const QString path = writeOnlineConfig(0);
        if (instead == QLatin1String("ftp"))
            placeOnlineConfig(QStringLiteral("[server]\nlists=%1\nuploads=%1\nuser=tester\npassword=secret\n")
                                  .arg(loopbackAddress("ftp", ftp.port(), "lists"))
                                  .toLatin1());
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
        QCOMPARE(fetchTopFiveList(1, 0), ListFileState::NotAsked);
        QCOMPARE(topFiveText, QStringLiteral(" "));
        QCOMPARE(fetchAllTopFiveLists(window.get()), FetchOutcome::NoServer);
        QCOMPARE(downloadedLines, times(12, ListFile()));
        uploadTopFive(1, 0, QStringLiteral("Kim"), 3, 0);
        uploadGameListEntry(1, QStringLiteral("81.20.3.4"), 0);
        QCOMPARE(ui.messageTexts(), QStringList(times(4, said)));
        // Nothing was sent, nor is on its way.
        QVERIFY(onlineTransfers(*window, true).isEmpty());
        QVERIFY(ftp.stored.isEmpty());
        QCOMPARE(quits, 0);
    }
};

TARVAN_TEST_MAIN(TestNetOnline)
#include "test_net_online.moc"
