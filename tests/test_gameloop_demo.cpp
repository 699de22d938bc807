// The demonstration as the game loop plays it: the blinking prompt, the set-up of a demo game,
// and whole demo games played by the computer players tick after tick, ended and started again,
// with the map always showing the game once the territory steps have played.

#include "TestSupport.h"
#include "test_persist_support.h"

#include "app/GameLoop.h"
#include "app/ViewArea.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapPicture.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <array>
#include <memory>

using persistbytes::whatIsAt;

namespace {

const QString kPrompt = QStringLiteral("TO STOP THE DEMO, click anywhere on the game window.");

// A territory whose shown owner or armies differ from the game's, or 0.
int territoryShownWrongly()
{
    for (int t = 1; t <= territoryCount; ++t)
        if (displayedTerritoryState[t] != territoryState[t])
            return t;
    return 0;
}

bool actionQueueDrained()
{
    return actionQueueIndex >= actionQueueCount;
}

// What start-up finds wrong with a data file.
enum Damage { SettingsEndsEarly, SettingsIsAFolder, SettingsLinksToItself, ScoresIsAFolder };

bool putDamage(int damage)
{
    const QString settings = settingsFileName();
    switch (damage) {
    case SettingsEndsEarly: {
        // A whole file the game wrote, cut short.
        if (!saveSettings())
            return false;
        QFile file(settings);
        return file.resize(300);
    }
    case SettingsIsAFolder: return QDir().mkdir(settings);
    case SettingsLinksToItself: return QFile::link(settings, settings);
    case ScoresIsAFolder: return QDir().mkdir(scoresFileName());
    }
    return false;
}

int territoriesOf(int player)
{
    int held = 0;
    for (int t = 1; t <= territoryCount; ++t)
        held += territoryState[t].owner == player ? 1 : 0;
    return held;
}

} // namespace

class TestGameLoopDemo : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;

    std::unique_ptr<ViewArea> makeWindow()
    {
        auto window = std::make_unique<ViewArea>();
        setInteraction(&ui);
        installMapPicture(QImage(currentMapPicturePath()));
        return window;
    }

private slots:
    void init()
    {
        resetAllGameState(7);
        ui = ScriptedInteraction();
        setInteraction(&ui);
        for (const QString &path : {settingsFileName(), scoresFileName()}) {
            QFile::remove(path);
            QDir(path).removeRecursively();
        }
    }

    void cleanup() { setInteraction(&ui); }

    void theFirstTickSetsUpADemoGameAndPlaysNoStep()
    {
        auto window = makeWindow();
        QCOMPARE(demoRunning, quint8(1));
        configuredPlayerName[4] = QStringLiteral("pc IV             ");
        mapWorldFlag = 0;
        mapJapanFlag = 1;
        window->gameTick();

        QCOMPARE(gameMode, int(ModeDemo));
        QCOMPARE(savedWorldFlag, quint8(0));
        QCOMPARE(selectedMap(), MapWorld);
        QCOMPARE(territoryCount, 42);
        QCOMPARE(playerCount, 9);
        QCOMPARE(humanPlayerCount, 1);
        QCOMPARE(attackRule, 'j');
        QCOMPARE(aiMinAttackArmies, 3);
        QCOMPARE(strongholdsEnabled, quint8(0));
        QCOMPARE(troopExperienceEnabled, quint8(0));
        QCOMPARE(playerName[1], QString(6, QLatin1Char(' ')));
        QCOMPARE(playerName[4], QStringLiteral("pc IV             "));
        QCOMPARE(statusLine, kPrompt);
        QCOMPARE(window->gameTimerInterval(), 288);
        QCOMPARE(fastSpeed, quint8(1));
        QCOMPARE(cardDeckCounts[CardWild], 2);
        QCOMPARE(cardDeckCounts[CardArtillery], 17);
        // Players 2 to 9 place in turn, then player 2 begins; nothing has been played yet.
        QCOMPARE(placementRound, 9);
        QCOMPARE(currentPlayer, 2);
        QCOMPARE(actionQueueIndex, 0);
        QCOMPARE(messageQueueIndex, 0);
        QList<int> placed;
        for (int i = 1; i <= actionQueueCount; ++i)
            if (actionQueue[i].type == 7)
                placed.append(actionQueue[i].arg[1]);
        QCOMPARE(placed, (QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 2}));
        QCOMPARE(actionQueueTypes().count(8), 8);
        QCOMPARE(territoryShownWrongly(), 0);
    }

    // A box shown while the window is built would run the event loop: the demo would begin under
    // it, and the rest of the construction would build the map and clear the queues under the
    // running demo. Told once the window is up, the warnings leave the demo to play as ever.
    void theDemoPlaysAfterAStartThatWarns_data()
    {
        QTest::addColumn<QList<int>>("damages");
        QTest::addColumn<QStringList>("told"); // what each box begins with, in order
        const QString settings = QStringLiteral("The settings file ");
        const QString scores = QStringLiteral("The scores file ");
        QTest::newRow("settings file ending early") << QList<int>{SettingsEndsEarly} << QStringList{settings};
        QTest::newRow("settings file a folder") << QList<int>{SettingsIsAFolder} << QStringList{settings};
        QTest::newRow("settings file a link to itself") << QList<int>{SettingsLinksToItself} << QStringList{settings};
        QTest::newRow("scores file a folder") << QList<int>{ScoresIsAFolder} << QStringList{scores};
        QTest::newRow("both, in the order found")
            << QList<int>{SettingsEndsEarly, ScoresIsAFolder} << QStringList{settings, scores};
    }
    void theDemoPlaysAfterAStartThatWarns()
    {
        QFETCH(QList<int>, damages);
        QFETCH(QStringList, told);
        QHash<QString, QByteArray> damaged;
        for (int damage : damages) {
            QVERIFY(putDamage(damage));
            const QString path = damage == ScoresIsAFolder ? scoresFileName() : settingsFileName();
            damaged.insert(path, whatIsAt(path));
        }

        MessageBoxAnswerer boxes(MessageBoxAnswerer::Answer::AfterATick);
        auto window = makeWindow();
        const int shownWhileBuilt = boxes.texts.size();
        // The event loop runs: each box waits for a tick of the game timer under it.
        QCoreApplication::processEvents();
        QCOMPARE(boxes.texts.size(), told.size());
        for (int i = 0; i < told.size(); ++i)
            QVERIFY2(boxes.texts[i].startsWith(told[i]), qPrintable(boxes.texts[i]));
        QCOMPARE(boxes.boxesTickedUnder, told.size());

        // The demo game under way: dealt to all nine seats, its queue playing.
        window->gameTick();
        QCOMPARE(gameMode, int(ModeDemo));
        QCOMPARE(playerCount, 9);
        for (int p = 1; p <= playerCount; ++p)
            QVERIFY2(territoriesOf(p) > 0, qPrintable(QStringLiteral("player %1 holds nothing").arg(p)));
        const int played = actionQueueIndex + messageQueueIndex;
        std::array<TerritoryState, kMaxTerritories + 1> shownBefore = displayedTerritoryState;
        for (int i = 0; i < 200; ++i)
            window->gameTick();
        QVERIFY(actionQueueIndex + messageQueueIndex > played);
        QVERIFY(displayedTerritoryState != shownBefore);
        for (auto file = damaged.cbegin(); file != damaged.cend(); ++file)
            QCOMPARE(whatIsAt(file.key()), file.value());
        QCOMPARE(shownWhileBuilt, 0);
    }

    void thePromptShowsForThreeTicksAndBlanksForOne()
    {
        auto window = makeWindow();
        // A demo game in progress with nothing queued: only the blink writes the status line.
        demoRunning = 1;
        gameMode = ModeDemo;
        currentPlayer = 2;
        turnStarted = 1;
        QStringList shown;
        for (int i = 0; i < 8; ++i) {
            window->gameTick();
            shown.append(statusLine);
        }
        const QString blank = QStringLiteral(" ");
        QCOMPARE(shown, (QStringList{kPrompt, kPrompt, kPrompt, blank, kPrompt, kPrompt, kPrompt, blank}));
    }

    void demoGamesAreShownTruthfullyAndFollowEachOther()
    {
        auto window = makeWindow();
        animationsEnabled = 1;
        int gamesStarted = 0;
        int gamesEnded = 0;
        int ticksAfterRestart = 0;
        int checksMade = 0;
        int lastMode = gameMode;
        int ticksSinceChange = 0;
        std::array<TerritoryState, kMaxTerritories + 1> lastSeen{};
        const int kTickLimit = 120000;
        int tick = 0;
        for (; tick < kTickLimit && ticksAfterRestart < 500; ++tick) {
            window->gameTick();
            if (gameMode == ModeDemo && lastMode != ModeDemo)
                ++gamesStarted;
            if (gameMode != ModeDemo && lastMode == ModeDemo)
                ++gamesEnded;
            lastMode = gameMode;
            if (gamesEnded > 0 && gameMode == ModeDemo)
                ++ticksAfterRestart;
            if (actionQueueDrained()) {
                ++checksMade;
                const int wrong = territoryShownWrongly();
                if (wrong != 0)
                    QFAIL(qPrintable(QStringLiteral("tick %1: territory %2 shows %3/%4, is %5/%6")
                                         .arg(tick)
                                         .arg(wrong)
                                         .arg(displayedTerritoryState[wrong].owner)
                                         .arg(displayedTerritoryState[wrong].armies)
                                         .arg(territoryState[wrong].owner)
                                         .arg(territoryState[wrong].armies)));
            }
            // The map must change at least every few hundred ticks: the demo never stalls.
            ticksSinceChange = displayedTerritoryState == lastSeen ? ticksSinceChange + 1 : 0;
            lastSeen = displayedTerritoryState;
            if (ticksSinceChange > 2000)
                QFAIL(qPrintable(QStringLiteral("tick %1: the map has not changed for 2000 ticks").arg(tick)));
        }
        qInfo("%d ticks, %d demo games started, %d ended, %d checks", tick, gamesStarted, gamesEnded, checksMade);
        QCOMPARE(gamesEnded, 1);
        QCOMPARE(gamesStarted, 2);
        QCOMPARE(ticksAfterRestart, 500);
        QVERIFY(checksMade > 500);
        QVERIFY(ui.messages.isEmpty());
        QCOMPARE(demoRunning, quint8(1));
    }
};

TARVAN_TEST_MAIN(TestGameLoopDemo)
#include "test_gameloop_demo.moc"
