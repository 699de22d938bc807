// The dialogs of the start menu and of the game panel: the ranks and score lists show what the
// scores file says, the top-five lists what the list server holds, the option dialogs store what
// the player chose and save it, and the information dialogs show the running game.

#include "TestSupport.h"
#include "test_dialogs_support.h"
#include "test_net_support.h"

#include "app/DialogState.h"
#include "app/GameLoop.h"
#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "dialogs/InfoDialogs.h"
#include "dialogs/OptionDialogs.h"
#include "dialogs/TopFiveSubmission.h"
#include "net/OnlineServices.h"
#include "persist/Ranks.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "persist/TopFiveList.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/MapLoading.h"
#include "state/MapView.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>

#include <memory>

#include <sys/stat.h>

using namespace dialog_test;

Q_DECLARE_METATYPE(ScoresRecord)

namespace {

int quits = 0; // times the program was told to end

// A scores record of a finished game; the tests change what they look at.
ScoresRecord scoreOf(int connection, int humanWon)
{
    ScoresRecord r;
    r.mapOrCampaign = QStringLiteral("World");
    r.players = 3;
    r.humanCount = 1;
    r.normalLevel = 1;
    r.connection = connection;
    r.humanWon = humanWon;
    r.date = QStringLiteral("Dec0620261200");
    r.names = QStringLiteral("Ann");
    return r;
}

void writeScores(const QList<ScoresRecord> &records)
{
    QFile::remove(scoresFileName());
    QFile file(scoresFileName());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    for (const ScoresRecord &r : records)
        QVERIFY(appendScoreRecord(r));
}

// A list entry as the list server keeps it: "%4d" losses, a blank, the name in 20.
QString entry(int losses, const QString &name)
{
    return QString::asprintf("%4d ", losses) + name.leftJustified(20, QLatin1Char(' '), true);
}

QString listOf(const QList<int> &losses)
{
    QString text;
    for (int i = 0; i < losses.size(); ++i)
        text += entry(losses[i], QStringLiteral("P%1").arg(i + 1));
    return text;
}

Action both(const Action &first, const Action &second)
{
    return [first, second](QDialog &dialog) {
        first(dialog);
        second(dialog);
    };
}

Action check(const QString &box, bool on)
{
    return [box, on](QDialog &dialog) {
        QCheckBox *found = widgetWithText<QCheckBox>(dialog, box);
        QVERIFY2(found, qPrintable(box));
        found->setChecked(on);
    };
}

// Picks `choice` in the combo box of row `row` (0-based) of a dialog.
Action pick(int row, const QString &choice)
{
    return [row, choice](QDialog &dialog) {
        const QList<QComboBox *> boxes = dialog.findChildren<QComboBox *>();
        QVERIFY(row < boxes.size());
        boxes[row]->setCurrentText(choice);
        QCOMPARE(boxes[row]->currentText(), choice);
    };
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;
    DialogScript script;
    std::unique_ptr<ViewArea> window;
    std::unique_ptr<ListServer> server;

    // A three-player World game, player 3 the strongest and player 2 holding Australia whole.
    void startWorldGame()
    {
        selectMap(MapWorld);
        loadSelectedBuiltinMap();
        playerCount = 3;
        humanPlayerCount = 1;
        currentPlayer = 1;
        playerName[1] = QStringLiteral("Ann");
        playerName[2] = QStringLiteral("Bob");
        playerName[3] = QStringLiteral("Cy");
        for (int t = 1; t <= territoryCount; ++t) {
            territoryState[t].owner = t <= 30 ? 3 : t <= 38 ? 1 : 2;
            territoryState[t].armies = t <= 30 ? 3 : t <= 38 ? 10 : 1;
        }
        recountAllPlayers();
        playerTableAtTurnStart = playerTable;
    }

private slots:
    void init()
    {
        window = openFreshWindow(3, ui, script, [] { ++quits; });
        quits = 0;
        screenWidth = 1920;
        screenHeight = 1080;
        server = std::make_unique<ListServer>();
        writeOnlineConfig(server->port());
    }

    void cleanup()
    {
        DialogScript::uninstall();
        window.reset();
        server.reset();
        setOnlineConfigPath(QString());
        setInteraction(nullptr);
    }

    void rankDialogShowsBothRanks_data()
    {
        QTest::addColumn<QList<ScoresRecord>>("records");
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<QString>("multiplayer");
        QTest::addColumn<int>("multiplayerPicture");
        const QList<ScoresRecord> none;
        QList<ScoresRecord> threeWins{scoreOf(2, 1), scoreOf(1, 1), scoreOf(2, 1), scoreOf(2, 0), scoreOf(0, 1)};
        QList<ScoresRecord> fifteenWins;
        for (int i = 0; i < 15; ++i)
            fifteenWins.append(scoreOf(1 + i % 2, 1));
        QTest::newRow("no scores file") << none << false << "Private" << 0;
        QTest::newRow("empty scores file") << none << true << "Private" << 0;
        QTest::newRow("three network games won") << threeWins << true << "Sergeant" << 3;
        QTest::newRow("fifteen network games won") << fifteenWins << true << "General of the Army" << 12;
    }
    void rankDialogShowsBothRanks()
    {
        QFETCH(QList<ScoresRecord>, records);
        QFETCH(bool, fileExists);
        if (fileExists)
            writeScores(records);
        qint32 single = 0, second = 0;
        computeSinglePlayerRank(&single, &second);

        window->showRankDialog();

        QCOMPARE(script.shown.size(), 1);
        const Shown &shown = script.shown[0];
        QCOMPARE(shown.title, QStringLiteral("Rank"));
        const QStringList texts = shown.texts;
        const int singleAt = texts.indexOf(QStringLiteral("Your Rank - Single Player  "));
        const int multiAt = texts.indexOf(QStringLiteral("Your Rank - Multiplayer     "));
        QVERIFY(singleAt >= 0 && multiAt > singleAt);
        QCOMPARE(texts.value(singleAt + 1), rankName(single));
        QFETCH(QString, multiplayer);
        QCOMPARE(texts.value(multiAt + 1), multiplayer);
    }

    // The insignia are the rank's own, fitted into a 41-pixel square on a 1920-pixel screen.
    void rankInsigniaFitTheScreen()
    {
        writeScores({scoreOf(2, 1), scoreOf(2, 1), scoreOf(2, 1)});
        QDialog *seen = nullptr;
        QList<QSize> sizes;
        QStringList names;
        setDialogRunner([&](QDialog &dialog) {
            seen = &dialog;
            for (QLabel *label : dialog.findChildren<QLabel *>())
                if (label->objectName().startsWith(QLatin1String("rank"))) {
                    names.append(label->objectName());
                    sizes.append(label->pixmap(Qt::ReturnByValue).size());
                }
            return int(QDialog::Accepted);
        });
        window->showRankDialog();
        QVERIFY(seen);
        qint32 single = 0, second = 0;
        computeSinglePlayerRank(&single, &second);
        QCOMPARE(names, (QStringList{QStringLiteral("rank%1").arg(single), QStringLiteral("rank3")}));
        for (const QSize &size : sizes) {
            QVERIFY(!size.isEmpty());
            QVERIFY2(size.width() <= 41 && size.height() <= 41 && qMax(size.width(), size.height()) == 41,
                     qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
        }
    }

    void yourScoresListTheFile_data()
    {
        QTest::addColumn<QList<ScoresRecord>>("records");
        QTest::addColumn<QStringList>("rows");
        ScoresRecord humanAndTwoNormal = scoreOf(0, 1);
        humanAndTwoNormal.strongholdsOff = 1;
        humanAndTwoNormal.mission = 2;
        humanAndTwoNormal.losses = 123;
        ScoresRecord easyOneForOne = scoreOf(0, 0);
        easyOneForOne.mapOrCampaign = QStringLiteral("North Atlantic Campaign");
        easyOneForOne.players = 10;
        easyOneForOne.humanCount = 2;
        easyOneForOne.oneForOne = 1;
        easyOneForOne.troopExperienceOff = 1;
        easyOneForOne.mission = 3;
        easyOneForOne.normalLevel = 0;
        for (int p = 3; p <= 10; ++p)
            easyOneForOne.personalities[p] = p - 3 < 7 ? p - 3 : 6;
        easyOneForOne.losses = 4567;
        easyOneForOne.names = QStringLiteral("1.Ann 2.Bob with a long name");
        QTest::newRow("empty file: the header alone") << QList<ScoresRecord>() << QStringList();
        QTest::newRow("rows in file order")
            << QList<ScoresRecord>{humanAndTwoNormal, easyOneForOne}
            << QStringList{
                   QStringLiteral("World           3    Y   N  Y  H  Normal PNN            123  Dec062026  Ann"),
                   QStringLiteral("North Atlantic 10    N   Y  N  E  Easy   PPNCDATHUU    4567  Dec062026  1.Ann 2.Bob with a ")};
    }
    void yourScoresListTheFile()
    {
        QFETCH(QList<ScoresRecord>, records);
        QFETCH(QStringList, rows);
        writeScores(records);
        script.actions = {press(QStringLiteral("Your Scores")), press(QStringLiteral("Ok"))};
        window->chooseScoresView();
        QCOMPARE(script.shown.size(), 2);
        QCOMPARE(script.shown[1].lists.size(), 1);
        QCOMPARE(script.shown[1].lists[0],
                 QStringList{QStringLiteral("Map       Players  Dice  St TE Mi Level  Pers        Losses  Date       Name")} + rows);
    }

    // Cancel, closing the chooser, and a missing scores file show nothing more.
    void scoresChooserShowsNothingMore_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("scoresFile");
        QTest::newRow("Cancel") << "Cancel" << true;
        QTest::newRow("closed") << "" << true;
        QTest::newRow("Your Scores without a file") << "Your Scores" << false;
    }
    void scoresChooserShowsNothingMore()
    {
        QFETCH(QString, answer);
        QFETCH(bool, scoresFile);
        if (scoresFile)
            writeScores({scoreOf(0, 1)});
        else
            QFile::remove(scoresFileName());
        script.actions = {answer.isEmpty() ? closeWindow() : press(answer)};
        window->chooseScoresView();
        QCOMPARE(script.titles(), QStringList{QStringLiteral("Tarvan GX")});
        QCOMPARE(script.shown[0].texts,
                 (QStringList{QStringLiteral("Your Scores"), QStringLiteral("Global High Scores"), QStringLiteral("Cancel")}));
    }

    // Each list stands under the heading of the file it came from, fewest losses first; a list
    // the server does not have keeps its heading and shows no entries, and one that could not be
    // fetched says so.
    void globalHighScoresShowEachListUnderItsMap()
    {
        server->files.insert(QStringLiteral("t5world.txt"), listOf({40, 7, 120, 7, 3}).toUtf8());
        server->files.insert(QStringLiteral("t5europ.txt"), (listOf({9, 2, 5, 1}) + QStringLiteral("  10 X")).toUtf8());
        server->files.insert(QStringLiteral("t5china.txt"), listOf({12}).toUtf8());
        server->failing.insert(QStringLiteral("t5japan.txt"), 500);
        script.actions = {press(QStringLiteral("Global High Scores")), press(QStringLiteral("Ok"))};
        window->chooseScoresView();
        QVERIFY(everyFetchFinished(*window));
        QCOMPARE(script.shown.size(), 2);
        const QList<QStringList> &columns = script.shown[1].lists;
        QCOMPARE(columns.size(), 3);
        const QString blank = QStringLiteral(" ");
        QCOMPARE(columns[0].mid(0, 9), (QStringList{QStringLiteral("World"), entry(3, "P5"), entry(7, "P2"), entry(7, "P4"),
                                                    entry(40, "P1"), entry(120, "P3"), blank, QStringLiteral("China"),
                                                    entry(12, "P1")}));
        QCOMPARE(columns[1].mid(0, 9), (QStringList{QStringLiteral("Europe"), entry(1, "P4"), entry(2, "P2"), entry(5, "P3"),
                                                    entry(9, "P1"), blank, QStringLiteral("Japan"),
                                                    QStringLiteral("The list could not be fetched."), blank}));
        QCOMPARE(columns[2].mid(0, 3), (QStringList{QStringLiteral("North America"), blank, QStringLiteral("World II")}));
        QCOMPARE(columns[2].last(), blank);
        QCOMPARE(columns[2].at(columns[2].size() - 2), QStringLiteral("Tarvan GX"));
    }

    void onlineListsWithoutAServerSayTheyAreUnavailable()
    {
        writeOnlineConfig(0);
        script.actions = {press(QStringLiteral("Global High Scores"))};
        window->chooseScoresView();
        QCOMPARE(script.shown.size(), 1);
        QCOMPARE(ui.messages.size(), 1);
        window->showTopFiveDialog();
        QCOMPARE(script.shown.size(), 1);
        QCOMPARE(ui.messages.size(), 2);
    }

    // The join browser's own dialog says what of the list failed, whatever the screen, beside the
    // games that came, and never that there are no games.
    void theGameListBrowserSaysWhatFailed_data()
    {
        QTest::addColumn<bool>("small");
        QTest::addColumn<QList<int>>("failed"); // the slots whose files answer 500
        QTest::addColumn<QString>("said");
        const QString all = QStringLiteral("The game list could not be fetched from the server.");
        const QString part = QStringLiteral("Part of the game list could not be fetched from the server.");
        const QList<int> every{0, 1, 2, 3, 4};
        QTest::newRow("every file, a normal screen") << false << every << all;
        QTest::newRow("every file, a small screen") << true << every << all;
        QTest::newRow("some files, a game listed, a normal screen") << false << QList<int>{1} << "Press Ok to Join.\n" + part;
        QTest::newRow("some files, a small screen") << true << QList<int>{1, 3} << part;
    }
    void theGameListBrowserSaysWhatFailed()
    {
        QFETCH(bool, small);
        QFETCH(QList<int>, failed);
        QFETCH(QString, said);
        server->files.insert(QStringLiteral("agame+.txt"), "A");
        server->files.insert(QStringLiteral("agame2.txt"), QByteArray("127.0.0.1").leftJustified(126));
        for (int slot : failed)
            server->failing.insert(gameListFileName(slot), 500);
        smallScreen = small;
        internetGame = 1;
        script.actions = {press(QStringLiteral("Browse the game list")), closeWindow()};
        QCOMPARE(runJoinSteps(*window), SetupStepResult::RestartSetup);
        smallScreen = 0;
        QCOMPARE(script.shown.size(), 2);
        const QString shown = script.shown[1].texts.join(QLatin1Char('\n'));
        QVERIFY2(shown.contains(said), qPrintable(shown));
        QVERIFY(!shown.contains(QStringLiteral("No games available")));
    }

    void topFiveSlot_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("losses");
        QTest::addColumn<int>("slot");
        const int sorry = kTopFiveNotGoodEnough;
        QTest::newRow("no list: appended") << " " << 500 << 0;
        QTest::newRow("four entries: appended") << listOf({1, 2, 3, 4}) << 9000 << 0;
        QTest::newRow("first of the most losses") << listOf({12, 40, 7, 40, 25}) << 40 << 2;
        QTest::newRow("worse than the worst") << listOf({12, 40, 7, 40, 25}) << 41 << sorry;
        QTest::newRow("fifth entry without its padding") << listOf({12, 40, 7, 40}) + entry(60, "E").left(10) << 50 << 5;
        QTest::newRow("99 and 99x are never given up") << listOf({99, 990, 9950, 20, 0}) << 15 << 4;
        QTest::newRow("nothing to give up") << listOf({99, 0, 0, 9999, 0}) << 0 << sorry;
        QTest::newRow("five digits never qualify") << " " << 10000 << sorry;
    }
    void topFiveSlot()
    {
        QFETCH(QString, list);
        QFETCH(int, losses);
        QTEST(chooseTopFiveSlot(list, losses), "slot");
    }

    void wonGameIsOfferedToTheTopFive_data()
    {
        QTest::addColumn<int>("losses");
        QTest::addColumn<Action>("answer");
        QTest::addColumn<QString>("uploaded"); // "" nothing
        QTest::addColumn<QString>("sorry");
        const QString full = listOf({12, 40, 7, 40, 25});
        QTest::newRow("named and sent") << 33 << typeAndPress(QStringLiteral("Zed"), QStringLiteral("Ok"))
                                       << full.left(25) + entry(33, "Zed") + full.mid(50) << "";
        // The list is read back a line at a time: a break in the name would cut the entries after it.
        QTest::newRow("a line break in the name") << 33 << typeAndPress(QStringLiteral("Ab\ncd"), QStringLiteral("Ok"))
                                                 << full.left(25) + entry(33, "Ab cd") + full.mid(50) << "";
        QTest::newRow("an emoji across the name's 20")
            << 33 << typeAndPress(letters(19) + twoUnitCharacter(), QStringLiteral("Ok"))
            << full.left(25) + entry(33, letters(19)) + full.mid(50) << "";
        QTest::newRow("cancelled") << 33 << press(QStringLiteral("Cancel")) << "" << "";
        QTest::newRow("empty name") << 33 << typeAndPress(QStringLiteral("  "), QStringLiteral("Ok")) << "" << "";
        QTest::newRow("not good enough") << 41 << Action() << "" << "Sorry, this is not good enough for a top5 listing.";
        QTest::newRow("more than four digits") << 10000 << Action() << ""
                                               << "Sorry, this is not good enough for a top5 listing.";
    }
    void wonGameIsOfferedToTheTopFive()
    {
        QFETCH(int, losses);
        QFETCH(Action, answer);
        QFETCH(QString, uploaded);
        QFETCH(QString, sorry);
        server->files.insert(QStringLiteral("t5world.txt"), listOf({12, 40, 7, 40, 25}).toUtf8());
        settingsRecord.highScoreName = QStringLiteral("Ann                ");
        if (answer)
            script.actions = {answer};

        submitTopFiveScore(1, losses);
        QVERIFY(everyFetchFinished(*window));

        if (!sorry.isEmpty()) {
            QCOMPARE(ui.messageTexts(), QStringList{sorry});
            QCOMPARE(script.shown.size(), 0);
            return;
        }
        QCOMPARE(script.shown.size(), 1);
        QCOMPARE(script.shown[0].texts.mid(0, 3),
                 (QStringList{QStringLiteral("Losses 33 , Submit High Score (enter name) ?"), QStringLiteral("Ann"),
                              QStringLiteral("The app will be closed afterwards")}));
        if (uploaded.isEmpty()) {
            // An upload would be on its way from the call on.
            QVERIFY(onlineTransfers(*window, true).isEmpty());
            QCOMPARE(quits, 0);
            return;
        }
        QVERIFY(waitUntil(topFiveManager(), &QNetworkAccessManager::finished, [] { return quits == 1; }));
        QCOMPARE(QString::fromUtf8(server->uploaded.value(QStringLiteral("t5world.txt"))), uploaded);
        // The next player who fetches the list finds every entry.
        server->files.insert(QStringLiteral("t5world.txt"), server->uploaded.value(QStringLiteral("t5world.txt")));
        QCOMPARE(fetchTopFiveList(1, 0), ListFileState::Came);
        QCOMPARE(topFiveText, uploaded);
    }

    // What the top five of the map shows before a high-score game: a list not begun yet has no
    // entries; a list that could not be fetched is not taken for one.
    void topFiveOfTheMapShowsItsList_data()
    {
        QTest::addColumn<int>("status"); // the server's answer
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("a list") << 200 << QStringList{entry(3, "P2"), entry(8, "P1")};
        QTest::newRow("not begun yet") << 404 << QStringList{QStringLiteral("no entries yet")};
        QTest::newRow("the server failed") << 503 << QStringList{QStringLiteral("The list could not be fetched.")};
    }
    void topFiveOfTheMapShowsItsList()
    {
        QFETCH(int, status);
        if (status == 200)
            server->files.insert(QStringLiteral("t5wrld2.txt"), listOf({8, 3}).toUtf8());
        else if (status != 404)
            server->failing.insert(QStringLiteral("t5wrld2.txt"), status);
        selectMap(MapWorldII);
        dialogOpen = 1;
        script.actions = {press(QStringLiteral("Ok"))};
        window->showTopFiveDialog();
        QCOMPARE(script.shown.size(), 1);
        QVERIFY(script.shown[0].texts.contains(QStringLiteral("Top 5 - World II")));
        QTEST(script.shown[0].lists.value(0), "shown");
        QCOMPARE(int(dialogOpen), 0);
    }

    // Each option dialog keeps what the player chose, and the settings file has it afterwards.
    void optionDialogsStoreAndSave_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<Action>("answer");
        QTest::addColumn<QString>("expected");
        const Action ok = press(QStringLiteral("Ok"));
        const Action cancel = press(QStringLiteral("Cancel"));
        QTest::newRow("sound off for attacks")
            << "sound" << both(check(QStringLiteral("Attack"), false), ok) << "sound 101111111";
        QTest::newRow("sound cancelled") << "sound" << both(check(QStringLiteral("Attack"), false), cancel)
                                         << "sound 111111111";
        QTest::newRow("animations off") << "animations" << both(check(QStringLiteral("Display Animations"), false), ok)
                                        << "animations 0";
        QTest::newRow("animations cancelled")
            << "animations" << both(check(QStringLiteral("Display Animations"), false), cancel) << "animations 1";
        QTest::newRow("personalities chosen")
            << "personalities"
            << both(both(pick(0, QStringLiteral("Conqueror")), pick(8, QStringLiteral("Hunter"))), ok)
            << "personalities 1,2,2,2,2,2,2,2,5 mix 0";
        // A random mix is drawn at the start of each game: the choices shown are not kept.
        QTest::newRow("random mix")
            << "personalities" << both(both(pick(0, QStringLiteral("Conqueror")), check(QStringLiteral("Random Mix"), true)), ok)
            << "personalities 2,2,2,2,2,2,2,2,2 mix 1";
        QTest::newRow("personalities cancelled")
            << "personalities" << both(pick(0, QStringLiteral("Conqueror")), cancel)
            << "personalities 2,2,2,2,2,2,2,2,2 mix 0";
        QTest::newRow("personalities reset")
            << "personalities" << press(QStringLiteral("Reset")) << "personalities 0,0,0,0,0,0,0,0,0 mix 0";
    }
    void optionDialogsStoreAndSave()
    {
        QFETCH(QString, dialog);
        QFETCH(Action, answer);
        soundEnabled.fill(1);
        animationsEnabled = 1;
        for (int p = 2; p <= kMaxPlayers; ++p)
            personality[p] = 2;
        personalitySetting.fill(0);
        randomMixPersonalities = 0;
        saveSettings();
        script.actions = {answer};

        if (dialog == QLatin1String("sound"))
            window->showSoundSettings();
        else if (dialog == QLatin1String("animations"))
            window->showAnimationSettingsDialog();
        else
            window->showPersonalities();
        QCOMPARE(script.shown.size(), 1);

        // What the settings file now holds, read back over other values.
        soundEnabled.fill(7);
        animationsEnabled = 7;
        personality.fill(7);
        randomMixPersonalities = 7;
        QVERIFY(loadSettings());
        QString stored;
        if (dialog == QLatin1String("sound")) {
            stored = QStringLiteral("sound ");
            for (int i = 1; i <= 9; ++i)
                stored += QString::number(soundEnabled[i]);
        } else if (dialog == QLatin1String("animations")) {
            stored = QStringLiteral("animations %1").arg(animationsEnabled);
        } else {
            QStringList kinds;
            for (int p = 2; p <= kMaxPlayers; ++p)
                kinds << QString::number(personality[p]);
            stored = QStringLiteral("personalities %1 mix %2").arg(kinds.join(QLatin1Char(','))).arg(randomMixPersonalities);
        }
        QTEST(stored, "expected");
    }

    // Unstable is kept as the setting; the player plays by one of the six others meanwhile.
    void unstablePersonalityIsKeptAsTheSetting()
    {
        script.actions = {both(pick(1, QStringLiteral("Unstable")), press(QStringLiteral("Ok")))};
        window->showPersonalities();
        QCOMPARE(personalitySetting[3], kPersonalityUnstable);
        QVERIFY(personality[3] >= 0 && personality[3] < kPersonalityUnstable);
        personality.fill(0);
        personalitySetting.fill(0);
        QVERIFY(loadSettings());
        QCOMPARE(shownPersonality(3), kPersonalityUnstable);
    }

    void personalitiesInfoExplainsThem()
    {
        script.actions = {both(press(QStringLiteral("Info...")), press(QStringLiteral("Cancel")))};
        window->showPersonalities();
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages[0].title, QStringLiteral("Personalities"));
        QVERIFY(ui.messages[0].text.startsWith(QLatin1String("Normal - the default computer player.\n\nConqueror")));
    }

    // The player names dialog's slots: which names are kept, the answer noted, the flags cleared.
    void playerNamesSlots_data()
    {
        QTest::addColumn<QString>("slot");
        QTest::addColumn<int>("choiceBefore");
        QTest::addColumn<QString>("secondName");
        QTest::addColumn<int>("choiceAfter");
        QTest::newRow("Ok") << "ainamen" << 0 << "  Zed  " << 1;
        QTest::newRow("closed") << "ainamen2" << 0 << "  Zed  " << 4;
        QTest::newRow("finished after Ok: Ok has stored them") << "ainamen2" << 1 << "old two" << 4;
        QTest::newRow("finished after Cancel") << "ainamen2" << 2 << "old two" << 4;
        QTest::newRow("Restore Defaults") << "ainameresdef" << 0 << "pc II             " << 3;
    }
    void playerNamesSlots()
    {
        QFETCH(QString, slot);
        QFETCH(int, choiceBefore);
        for (int p = 1; p <= kMaxPlayers; ++p)
            configuredPlayerName[p] = p == 2 ? QStringLiteral("old two") : QStringLiteral("old");
        window->showAiNamesDialog();
        for (int p = 1; p <= kMaxPlayers; ++p)
            window->aiNameEdit[p]->setText(p == 2 ? QStringLiteral("  Zed  ") : QStringLiteral("typed"));
        saveSettings();
        dialogOpen = 1;
        aiNamesDialogOpen = 1;
        dialogChoice = choiceBefore;

        QVERIFY(QMetaObject::invokeMethod(window.get(), qPrintable(slot)));

        QTEST(int(dialogChoice), "choiceAfter");
        QCOMPARE(int(dialogOpen), 0);
        QCOMPARE(int(aiNamesDialogOpen), 0);
        configuredPlayerName.fill(QString());
        QVERIFY(loadSettings());
        QTEST(configuredPlayerName[2], "secondName");
    }

    // The names dialog is built when it is first shown, and the same dialog serves every later
    // showing with the names as they stand then.
    void theNamesDialogIsBuiltWhenFirstShownAndServesLaterShowings()
    {
        QVERIFY(!window->aiNamesDialog);
        const QDialog *first = nullptr;
        for (const QString &typed : {QStringLiteral("Ann"), QStringLiteral("Bea")}) {
            const QString before = configuredPlayerName[3].trimmed();
            window->showAiNamesDialog();
            QVERIFY(window->aiNamesDialog->isVisible());
            if (!first)
                first = window->aiNamesDialog;
            QCOMPARE(window->aiNamesDialog, first);
            QCOMPARE(window->aiNameEdit[3]->text(), before);
            window->aiNameEdit[3]->setText(typed);
            window->aiNamesOkButton->click();
            QVERIFY(!window->aiNamesDialog->isVisible());
            QCOMPARE(configuredPlayerName[3].trimmed(), typed);
        }
    }

    // The player names, shown from the options menu with large letters: the dialog no taller than
    // the screen, Ok and Cancel in sight, the last name reachable.
    void playerNamesFitAScreenOfLargeLetters()
    {
        const QFont usual = QApplication::font();
        QFont large = usual;
        large.setPixelSize(72);
        QApplication::setFont(large);
        window = openFreshWindow(3, ui, script, [] { ++quits; });
        window->showAiNamesDialog();
        QDialog *dialog = window->aiNamesDialog;
        QVERIFY(dialog->isVisible());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QSize size = dialog->frameGeometry().size();
        auto *scroll = dialog->findChild<QScrollArea *>();
        const auto shownIn = [dialog](QWidget *widget) {
            return dialog->rect().contains(QRect(widget->mapTo(dialog, QPoint()), widget->size()));
        };
        const bool okShown = shownIn(window->aiNamesOkButton) && shownIn(window->aiNamesCancelButton);
        if (scroll)
            scroll->ensureWidgetVisible(window->aiNameEdit[kMaxPlayers]);
        const bool lastNameShown = shownIn(window->aiNameEdit[kMaxPlayers]);
        dialog->reject();
        QApplication::setFont(usual);

        QVERIFY2(size.height() <= screen.height(), qPrintable(QStringLiteral("%1 > %2").arg(size.height()).arg(screen.height())));
        QVERIFY(okShown);
        QVERIFY(lastNameShown);
        QVERIFY(!scroll || !scroll->isAncestorOf(window->aiNamesOkButton));
    }

    void statisticsShowThePlayersStrongestFirst()
    {
        startWorldGame();
        windowTitleText = QStringLiteral("Tarvan GX - World");
        playTimeSeconds = 3725;
        gameStartTime = playTimeStamp = ui.clock;
        playerTable[1].f[PlayerRecord::BattleLosses] = 17;
        script.actions = {press(QStringLiteral("Ok"))};
        window->showStatisticsDialog();
        QCOMPARE(script.shown.size(), 1);
        const Shown &shown = script.shown[0];
        QCOMPARE(shown.texts.value(0), QStringLiteral("Tarvan GX - World"));
        QVERIFY(shown.texts.contains(QStringLiteral("Play time: 1:02:05")));
        QCOMPARE(shown.tableRows.size(), 3);
        QVERIFY(shown.tableRows[0].startsWith(QLatin1String("Cy | 30 | 90 | ")));
        QVERIFY(shown.tableRows[1].startsWith(QLatin1String("Ann | 8 | 80 | ")));
        QVERIFY(shown.tableRows[1].contains(QLatin1String(" | 17 | ")));
        QVERIFY(shown.tableRows[2].startsWith(QLatin1String("Bob | 4 | 4 | 1 | ")));
    }

    // On a screen with large letters (a compact screen of many dots per inch) a dialog is no wider
    // and no taller than the screen and its Ok can be reached; where the screen is wide enough for
    // the row of Ok, it stands in sight without scrolling.
    void dialogsFitAScreenOfLargeLetters_data()
    {
        QTest::addColumn<bool>("game");
        QTest::addColumn<int>("which");
        QTest::addColumn<bool>("okAlwaysInSight");
        QTest::newRow("rank") << false << 0 << true;
        QTest::newRow("about: Ok shares a row wider than the screen") << false << 1 << false;
        QTest::newRow("statistics") << true << 2 << true;
        QTest::newRow("continents") << true << 3 << true;
    }
    void dialogsFitAScreenOfLargeLetters()
    {
        QFETCH(bool, game);
        QFETCH(int, which);
        QFETCH(bool, okAlwaysInSight);
        using Open = void (ViewArea::*)();
        const Open opens[] = {&ViewArea::showRankDialog, &ViewArea::showAboutDialog, &ViewArea::showStatisticsDialog,
                              &ViewArea::showContinentBonusDialog};
        writeScores({scoreOf(2, 1)});
        if (game)
            startWorldGame();
        const QFont usual = QApplication::font();
        QFont large = usual;
        large.setPixelSize(72);
        QApplication::setFont(large);
        setDialogRunner({});
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QSize dialogSize;
        QRect okShown;
        QRect dialogRect;
        bool okInScrollArea = true;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialogSize = dialog->frameGeometry().size();
            dialogRect = dialog->rect();
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                if (button->text() != QLatin1String("Ok"))
                    continue;
                auto *scroll = dialog->findChild<QScrollArea *>();
                okInScrollArea = scroll && scroll->isAncestorOf(button);
                if (okInScrollArea)
                    scroll->ensureWidgetVisible(button);
                okShown = QRect(button->mapTo(dialog, QPoint()), button->size());
                button->click();
            }
            if (dialog->isVisible())
                dialog->reject();
        });
        const Open open = opens[which];
        (window.get()->*open)();
        QApplication::setFont(usual);

        QVERIFY(dialogSize.isValid());
        QVERIFY2(dialogSize.width() <= screen.width() && dialogSize.height() <= screen.height(),
                 qPrintable(QStringLiteral("%1x%2 on %3x%4").arg(dialogSize.width()).arg(dialogSize.height())
                                .arg(screen.width()).arg(screen.height())));
        QVERIFY(okShown.isValid());
        QVERIFY(dialogRect.contains(okShown));
        QCOMPARE(!okInScrollArea, okAlwaysInSight);
    }

    void continentOverviewBlocksTheMapWhileOpen()
    {
        startWorldGame();
        int shownWhileOpen = -1;
        script.actions = {[&shownWhileOpen](QDialog &dialog) {
            shownWhileOpen = continentOverviewShown;
            press(QStringLiteral("Ok"))(dialog);
        }};
        window->showContinentBonusDialog();
        QCOMPARE(shownWhileOpen, 1);
        QCOMPARE(int(continentOverviewShown), 0);
        const QStringList rows = script.shown.value(0).tableRows;
        QCOMPARE(rows.size(), continentCount);
        // Australia, the sixth continent, is Bob's; Ann has none of it.
        QVERIFY2(rows[5].endsWith(QLatin1String(" | 4 | Bob | 0 / 4")), qPrintable(rows[5]));
        QVERIFY2(rows[0].endsWith(QLatin1String(" | 9 | Cy | 0 / 9")), qPrintable(rows[0]));
    }

    void cardsShowOwnCardsAndTheOthersCounts()
    {
        startWorldGame();
        playerTable[1].infantry() = 2;
        playerTable[1].wild() = 1;
        playerTable[2].cavalry() = 3;
        window->showCardsDialog();
        const QStringList texts = script.shown.value(0).texts;
        QVERIFY(texts.contains(QStringLiteral("Your cards (Ann):")));
        QVERIFY(texts.contains(QStringLiteral("x 2")));
        QVERIFY(texts.contains(QStringLiteral("x 1")));
        QVERIFY(texts.contains(QStringLiteral("Bob: 3 cards")));
        QVERIFY(texts.contains(QStringLiteral("Cy: 0 cards")));
        QVERIFY(!texts.contains(QStringLiteral("Ann: 3 cards")));
    }

    void aboutOpensTheWebsite_data()
    {
        QTest::addColumn<QByteArray>("lines"); // of the [server] section
        QTest::addColumn<bool>("pipe");        // online.ini is a named pipe instead
        QTest::addColumn<QString>("opened");
        QTest::newRow("set up") << QByteArray("website=https://tarvan.example/home") << false
                                << "https://tarvan.example/home";
        QTest::newRow("quoted, after a comment")
            << QByteArray("; website=https://old.example/\nwebsite = \"https://tarvan.example/a;b\" ; ours") << false
            << "https://tarvan.example/a;b";
        QTest::newRow("not set up") << QByteArray() << false << "";
        QTest::newRow("a named pipe is never opened") << QByteArray() << true << "";
    }
    void aboutOpensTheWebsite()
    {
        QFETCH(QByteArray, lines);
        QFETCH(bool, pipe);
        QFETCH(QString, opened);
        const QString path = writeTextFile(QStringLiteral("online.ini"), "[server]\n" + lines + "\n");
        if (pipe)
            QVERIFY(QFile::remove(path) && ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        setOnlineConfigPath(path);
        static QUrl openedPage;
        openedPage = QUrl();
        const auto previous = openWebPage;
        openWebPage = [](const QUrl &url) {
            openedPage = url;
            return true;
        };
        script.actions = {both(press(QStringLiteral("Tarvan GX Website")), press(QStringLiteral("Ok")))};
        window->showAboutDialog();
        openWebPage = previous;
        QCOMPARE(openedPage.toString(), opened);
        QCOMPARE(ui.messages.size(), opened.isEmpty() ? 1 : 0);
        QFile::remove(path);
    }
};

TARVAN_TEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
