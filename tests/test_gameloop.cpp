// The game loop's tick: one step per tick, the look-ahead for a human's arriving armies, the
// hand-over to a human's turn, what each step shows and what the host mirrors.

#include "test_gameloop_support.h"

#include "app/NetworkState.h"
#include "app/WindowState.h"
#include "rules/TurnFlow.h"
#include "state/Campaign.h"
#include "state/SpriteQueue.h"
#include "state/StatusLine.h"


#include <functional>

using namespace loop_test;

Q_DECLARE_METATYPE(QueueStep)

namespace {

QueueStep text(int type, const QString &line)
{
    return makeStep(type, line.size(), 0, 0, 0, 0, 0, line);
}

// An interaction that runs something of the test's own while a box is open.
struct BoxInteraction : ScriptedInteraction {
    std::function<void()> whileOpen;
    void message(MessageIcon icon, const QString &title, const QString &body) override
    {
        ScriptedInteraction::message(icon, title, body);
        if (whileOpen)
            whileOpen();
    }
};

// Two neighbouring territories of World that the tests give to one player.
constexpr int kAlaska = 1;
constexpr int kNorthwest = 2;

} // namespace

class TestGameLoop : public QObject {
    Q_OBJECT

    BoxInteraction ui;
    RecordingSockets sockets;
    std::unique_ptr<ViewArea> window;

    void host(int clients)
    {
        networkSeat = 1;
        joinClientSeats(clients);
        sockets.install();
    }

private slots:
    void init()
    {
        resetForLoopTest(ui);
        ui.whileOpen = nullptr;
        sockets = RecordingSockets();
        window = makeLoopWindow(ui);
        dealRoundRobin(3);
    }

    void cleanup() { window.reset(); }

    // ---- Scheduling ----

    void actionStepsComeFirstThenTheMessageQueueOneStepPerTick()
    {
        for (const char *line : {"a1", "a2", "a3"})
            pushActionStep(text(2, QLatin1String(line)));
        pushMessageStep(text(1, QStringLiteral("m1")));
        pushMessageStep(text(1, QStringLiteral("m2")));
        QStringList shown;
        for (int i = 0; i < 5; ++i) {
            window->gameTick();
            shown.append(statusLine);
        }
        QCOMPARE(shown, (QStringList{"a1", "a2", "a3", "m1", "m2"}));
        QCOMPARE(actionQueueCount, 0);
        QCOMPARE(actionQueueIndex, 0);
        QCOMPARE(messageQueueIndex, 2);
        window->gameTick();
        QCOMPARE(messageQueueCount, 0);
        QCOMPARE(messageQueueIndex, 0);
        QCOMPARE(statusLine, QStringLiteral("m2"));
    }

    void stepsWithoutAHandlerOnlyTakeTheirTick_data()
    {
        QTest::addColumn<bool>("action");
        QTest::addColumn<int>("type");
        QTest::newRow("action pause 12") << true << 12;
        QTest::newRow("action 0") << true << 0;
        QTest::newRow("action 17") << true << 17;
        QTest::newRow("action -4") << true << -4;
        QTest::newRow("message pause 100") << false << 100;
        QTest::newRow("message 10") << false << 10;
        QTest::newRow("message 21") << false << 21;
        QTest::newRow("message 0") << false << 0;
    }

    void stepsWithoutAHandlerOnlyTakeTheirTick()
    {
        QFETCH(bool, action);
        QFETCH(int, type);
        const QueueStep step = makeStep(type, kAlaska, 9, 2, 1, 3, 4, QStringLiteral("never shown"));
        if (action)
            pushActionStep(step);
        else
            pushMessageStep(step);
        pushMessageStep(text(1, QStringLiteral("after")));
        const auto displayed = displayedTerritoryState;
        const QImage picture = mapImage;
        setStatusText(QStringLiteral("before"));
        window->gameTick();
        QCOMPARE(statusLine, QStringLiteral("before"));
        QVERIFY(displayedTerritoryState == displayed);
        QVERIFY(mapImage == picture);
        QVERIFY(ui.soundsPlayed.isEmpty());
        window->gameTick();
        QCOMPARE(statusLine, QStringLiteral("after"));
    }

    void idleTicksBeginAHumansTurnOnce_data()
    {
        QTest::addColumn<int>("player");
        QTest::addColumn<bool>("over");
        QTest::newRow("human player") << 1 << false;
        QTest::newRow("computer player") << 3 << false;
        QTest::newRow("game decided") << 1 << true;
    }

    void idleTicksBeginAHumansTurnOnce()
    {
        QFETCH(int, player);
        QFETCH(bool, over);
        host(1);
        humanPlayerCount = 1;
        currentPlayer = player;
        turnStarted = 0;
        gameOver = over ? 1 : 0;
        if (player != 1 || over) {
            ticks(*window, 3);
            QCOMPARE(turnStarted, quint8(0));
            QVERIFY(sockets.written.isEmpty());
            return;
        }
        window->gameTick();
        QCOMPARE(turnStarted, quint8(1));
        QCOMPARE(sockets.codes(), QList<QByteArray>{"1010"});
        QVERIFY(messageQueueCount > 0 || messageQueueIndex > 0);
        ticks(*window, 40);
        QCOMPARE(sockets.codes(), QList<QByteArray>{"1010"});
        QCOMPARE(actionQueueCount, 0);
        QCOMPARE(messageQueueCount, 0);
        QCOMPARE(currentPlayer, 1);
    }

    void theLookAheadLetsAHumansArrivingArmiesFlyFirst_data()
    {
        QTest::addColumn<QList<int>>("messageTypes"); // 19 = the animation step
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("pending");
        QTest::addColumn<bool>("animations");
        QTest::addColumn<int>("count"); // 0: all the records listed
        QTest::addColumn<bool>("messageFirst");
        const QList<int> textThenPlane{1, 19};
        QTest::newRow("plane waiting") << textThenPlane << 7 << 0 << 3 << true << 0 << true;
        QTest::newRow("large helicopter") << textThenPlane << 3 << 0 << 3 << true << 0 << true;
        QTest::newRow("rocket with its second territory") << textThenPlane << 5 << 12 << 3 << true << 0 << false;
        QTest::newRow("explosion") << textThenPlane << 2 << 0 << 3 << true << 0 << false;
        QTest::newRow("no armies pending") << textThenPlane << 7 << 0 << 0 << true << 0 << false;
        QTest::newRow("animations off") << textThenPlane << 7 << 0 << 3 << false << 0 << false;
        QTest::newRow("behind an empty record") << QList<int>{1, 0, 19} << 7 << 0 << 3 << true << 0 << false;
        QTest::newRow("the plane is the only record") << QList<int>{19} << 7 << 0 << 3 << true << 0 << false;
        QTest::newRow("left past the count") << QList<int>{1, 1, 19} << 7 << 0 << 3 << true << 2 << false;
    }

    void theLookAheadLetsAHumansArrivingArmiesFlyFirst()
    {
        QFETCH(QList<int>, messageTypes);
        QFETCH(int, kind);
        QFETCH(int, second);
        QFETCH(int, pending);
        QFETCH(bool, animations);
        QFETCH(int, count);
        QFETCH(bool, messageFirst);
        animationsEnabled = animations ? 1 : 0;
        pendingMoveArmies = pending;
        pendingLandingTerritory = kAlaska;
        pushActionStep(text(2, QStringLiteral("action")));
        pushActionStep(text(2, QStringLiteral("action 2")));
        for (int type : messageTypes) {
            if (type == 19)
                pushMessageStep(makeStep(19, kAlaska, 1, kind, second, 1));
            else
                pushMessageStep(type == 1 ? text(1, QStringLiteral("message")) : makeStep(type));
        }
        if (count > 0)
            messageQueueCount = count;
        window->gameTick();
        QCOMPARE(statusLine, messageFirst ? QStringLiteral("message") : QStringLiteral("action"));
    }

    void theLookAheadNeverReadsPastRecord199()
    {
        animationsEnabled = 1;
        pendingMoveArmies = 2;
        pushActionStep(text(2, QStringLiteral("action")));
        for (int i = 1; i <= kMessageQueueCapacity; ++i)
            pushMessageStep(text(1, QStringLiteral("message")));
        messageQueue[kMessageQueueCapacity] = makeStep(19, kAlaska, 1, 7, 0, 1);
        messageQueueIndex = 198;
        window->gameTick();
        QCOMPARE(statusLine, QStringLiteral("action"));
        QCOMPARE(messageQueueIndex, 198);
    }

    void aBoxInsideATickDoesNotLetAnotherTickIn()
    {
        escortTarget = 2;
        playerName[2] = QStringLiteral("Ann");
        pushMessageStep(makeStep(18));
        pushMessageStep(text(1, QStringLiteral("next")));
        int indexInside = -1;
        ui.whileOpen = [&] {
            window->gameTick();
            indexInside = messageQueueIndex;
        };
        window->gameTick();
        QCOMPARE(ui.messageTexts(), QStringList{"Escort Ann "});
        QCOMPARE(indexInside, 1);
        QCOMPARE(messageQueueIndex, 1);
    }

    void aMessageQueueThatNeverRunsDryKeepsEveryStep()
    {
        // Computer players alone queue each next turn from the turn step itself, so the queue
        // is never found exhausted; it must still take every step.
        int pushed = 0;
        for (; pushed < 150; ++pushed)
            pushMessageStep(text(1, QString::number(pushed)));
        QStringList shown;
        for (int tick = 0; tick < 600; ++tick) {
            if (pushed < 600)
                QVERIFY(pushMessageStep(text(1, QString::number(pushed++))));
            window->gameTick();
            shown.append(statusLine);
        }
        QCOMPARE(shown.size(), 600);
        for (int i = 0; i < 600; ++i)
            QCOMPARE(shown[i], QString::number(i));
    }

    // ---- Action steps ----

    void aTerritoryStepShowsTheChangeWithItsSound_data()
    {
        QTest::addColumn<int>("sound");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("owner");
        QTest::addColumn<QString>("file");
        QTest::newRow("placement by the step's armies") << 1 << 0 << 2 << "sounds/helis3.wav";
        QTest::newRow("placement of two") << 1 << 2 << 2 << "sounds/heli2.wav";
        QTest::newRow("no sound") << 7 << 0 << 2 << "";
    }

    void aTerritoryStepShowsTheChangeWithItsSound()
    {
        QFETCH(int, sound);
        QFETCH(int, delta);
        QFETCH(int, owner);
        QFETCH(QString, file);
        const QImage before = mapImage;
        territoryState[kAlaska] = {owner, 9};
        pushActionStep(makeStep(1, kAlaska, 9, owner, 1, sound, delta));
        window->gameTick();
        QCOMPARE(ui.soundsPlayed, file.isEmpty() ? QStringList() : QStringList{file});
        QCOMPARE(displayedTerritoryState[kAlaska], (TerritoryState{owner, 9}));
        QCOMPARE(territoryChanged[kAlaska], 'j');
        QCOMPARE(highlightChanges, quint8(1));
        QVERIFY(mapImage != before);
    }

    void theHostMirrorsItsActionSteps_data()
    {
        QTest::addColumn<QueueStep>("step");
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<int>("seat");
        QTest::newRow("territory") << makeStep(1, kAlaska, 4, 2, 1) << QByteArray("1017") << 1;
        QTest::newRow("card trade shown") << makeStep(3, 1, 1, 1, 0, 10, 2) << QByteArray("1013") << 1;
        QTest::newRow("card trade closed") << makeStep(4) << QByteArray("1014") << 1;
        QTest::newRow("continent on") << makeStep(5, 2) << QByteArray("1023") << 1;
        QTest::newRow("continent off") << makeStep(6, 2) << QByteArray("1024") << 1;
        QTest::newRow("player to play") << makeStep(7, 3) << QByteArray("1012") << 1;
        QTest::newRow("territories off") << makeStep(10, 2) << QByteArray("1009") << 1;
        QTest::newRow("territories on") << makeStep(11, 2) << QByteArray("1008") << 1;
        QTest::newRow("status text") << text(2, QStringLiteral("x")) << QByteArray() << 1;
        QTest::newRow("missiles") << makeStep(13, kAlaska, 2) << QByteArray() << 1;
        QTest::newRow("missiles hit") << makeStep(15, kAlaska) << QByteArray() << 1;
        QTest::newRow("territory in a local game") << makeStep(1, kAlaska, 4, 2, 1) << QByteArray() << 0;
        QTest::newRow("player to play in a local game") << makeStep(7, 3) << QByteArray() << 0;
    }

    void theHostMirrorsItsActionSteps()
    {
        QFETCH(QueueStep, step);
        QFETCH(QByteArray, code);
        QFETCH(int, seat);
        host(2);
        networkSeat = seat;
        pushActionStep(step);
        window->gameTick();
        if (code.isEmpty()) {
            QVERIFY(sockets.written.isEmpty());
            return;
        }
        QCOMPARE(sockets.codes(), (QList<QByteArray>{code, code}));
        QCOMPARE(sockets.socketsOf(code), (QList<int>{1, 2}));
    }

    void failedWritesAreReportedPerSocketAndTheOthersStillWritten_data()
    {
        QTest::addColumn<int>("clients");
        QTest::addColumn<QueueStep>("step");
        QTest::addColumn<QList<int>>("failing");
        QTest::addColumn<QList<int>>("written");
        QTest::addColumn<QString>("status");
        // A connection that has not joined is told nothing, so nothing can fail.
        QTest::newRow("no client yet") << 0 << makeStep(1, kAlaska, 2, 2, 0) << QList<int>{1} << QList<int>{}
                                       << QString();
        QTest::newRow("third of three") << 3 << makeStep(6, 1) << QList<int>{3} << QList<int>{1, 2}
                                        << "socket send ERROR 1024 3";
        QTest::newRow("second of four") << 4 << makeStep(4) << QList<int>{2} << QList<int>{1, 3, 4}
                                        << "socket send ERROR 1014 2";
    }

    void failedWritesAreReportedPerSocketAndTheOthersStillWritten()
    {
        QFETCH(int, clients);
        QFETCH(QueueStep, step);
        QFETCH(QList<int>, failing);
        QFETCH(QList<int>, written);
        QFETCH(QString, status);
        host(clients);
        for (int s : failing)
            sockets.failing.insert(s);
        pushActionStep(step);
        const QString before = statusLine;
        window->gameTick();
        QCOMPARE(sockets.writtenSockets(), written);
        QCOMPARE(statusLine, status.isEmpty() ? before : status); // empty: no error shown
    }

    void thePlayerToPlayStepActsForItsPlayerOnly_data()
    {
        QTest::addColumn<bool>("lobby");
        QTest::newRow("game under way") << false;
        QTest::newRow("lobby still open") << true;
    }

    void thePlayerToPlayStepActsForItsPlayerOnly()
    {
        QFETCH(bool, lobby);
        host(1);
        lobbyOpen = lobby ? 1 : 0;
        playerName[3] = QStringLiteral("Cleo");
        currentPlayer = 2;
        setStatusText(QStringLiteral("-"));
        pushActionStep(makeStep(7, 3));
        window->gameTick();
        QCOMPARE(currentPlayer, 2);
        QCOMPARE(sockets.codes(), lobby ? QList<QByteArray>{} : QList<QByteArray>{"1012"});
        QCOMPARE(statusLine, lobby ? QStringLiteral("-") : QStringLiteral("Cleo to play.."));
    }

    // ---- Message steps ----

    void aConqueredContinentFlashesAndIsToldToTheOthers_data()
    {
        QTest::addColumn<int>("seat");
        QTest::addColumn<QList<QByteArray>>("codes");
        QTest::newRow("host") << 1 << QList<QByteArray>{"1023", "1024"};
        QTest::newRow("client") << 3 << QList<QByteArray>{"1025", "1026"};
    }

    void aConqueredContinentFlashesAndIsToldToTheOthers()
    {
        QFETCH(int, seat);
        QFETCH(QList<QByteArray>, codes);
        host(1);
        networkSeat = seat;
        const int c = 2;
        const int member = continentTable[c].members[1];
        pushMessageStep(makeStep(2, c));
        pushMessageStep(makeStep(3, c));
        window->gameTick();
        QCOMPARE(ui.soundsPlayed, QStringList{"sounds/wdveroverd.wav"});
        QCOMPARE(territoryChanged[member], 'j');
        QCOMPARE(territoryMark[member], 'j');
        QCOMPARE(highlightedContinent, c);
        window->gameTick();
        QCOMPARE(territoryChanged[member], 'n');
        QCOMPARE(sockets.codes(), codes);
    }

    void theContinentsMissionShowsItsContinentSilentlyAndNamesTheNext()
    {
        missionType = 1;
        currentPlayer = 1;
        missionContinentIndex = 2;
        missionContinents[1][2] = 4;
        inGameButtonEnabled.fill(1);
        attackSourcePhase = territoryBonusPhase = 1;
        moveBlocked = 1;
        pushMessageStep(makeStep(2, 3, 100));
        pushMessageStep(makeStep(3, 3, 100));
        window->gameTick();
        QVERIFY(ui.soundsPlayed.isEmpty());
        QCOMPARE(messageQueue[1].arg[2], 0);
        QCOMPARE(inGameButtonEnabled[ButtonAttack], quint8(0));
        QCOMPARE(inGameButtonEnabled[ButtonNext], quint8(1));
        QCOMPARE(attackSourcePhase, quint8(0));
        QCOMPARE(territoryBonusPhase, quint8(0));
        window->gameTick();
        QCOMPARE(ui.messageTexts(), QStringList{"Conquer  Europe"});
        QCOMPARE(moveBlocked, quint8(0));
    }

    void aContinentsHighlightEndsAfterTheRocketHasLanded()
    {
        const int c = 6; // far from the rocket's territories
        const int member = continentTable[c].members[1];
        rocketInFlight = 1;
        pushMessageStep(makeStep(2, c));
        pushMessageStep(makeStep(3, c));
        queueTerritoryAnimation(kAlaska, true, 5, kNorthwest);
        pushMessageStep(text(1, QStringLiteral("queued meanwhile")));
        campaignCompleted = 1; // no attack to conclude when the rocket lands
        window->gameTick();
        QCOMPARE(territoryChanged[member], 'j');
        int ticksUntilPlain = 1;
        while (territoryChanged[member] == 'j' && ticksUntilPlain < 40) {
            window->gameTick();
            ++ticksUntilPlain;
        }
        // The flash, the deferral, 13 rocket frames, the text, then the end of the highlight.
        QCOMPARE(ticksUntilPlain, 1 + 1 + 13 + 1 + 1);
        QCOMPARE(rocketInFlight, quint8(0));
        QCOMPARE(statusLine, QStringLiteral("queued meanwhile"));
    }

    void aRocketFlagWithNoRocketLeftHoldsNothing()
    {
        const int member = continentTable[1].members[1];
        territoryChanged[member] = 'j';
        rocketInFlight = 1;
        pushMessageStep(makeStep(3, 1));
        window->gameTick();
        QCOMPARE(territoryChanged[member], 'n');
        QCOMPARE(rocketInFlight, quint8(0));
        QCOMPARE(messageQueueCount, 1);
    }

    void aPressedButtonChangesTheScreenWhenItsStepIsPlayed_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("clicked"); // the button whose click waits for its step; 0 none
        QTest::addColumn<int>("round");
        QTest::addColumn<int>("screen");
        QTest::addColumn<bool>("redrawn");
        QTest::newRow("new game") << 12 << 12 << 0 << 2 << true;
        QTest::newRow("options") << 417 << 417 << 0 << 4 << true;
        QTest::newRow("back during a game") << 18 << 18 << 3 << 9 << true;
        QTest::newRow("back outside a game") << 18 << 18 << 0 << 1 << true;
        QTest::newRow("game speed") << 41 << 41 << 0 << 41 << true;
        QTest::newRow("in-game menu") << 91 << 91 << 0 << 91 << true;
        QTest::newRow("save game") << 912 << 912 << 0 << 9 << true;
        QTest::newRow("no change pending") << 41 << 0 << 0 << 7 << true;
        QTest::newRow("another button was clicked") << 14 << 12 << 0 << 7 << true;
        QTest::newRow("redraw only") << 24 << 24 << 0 << 7 << true;
        QTest::newRow("status bar") << 9999 << 9999 << 0 << 7 << true;
        QTest::newRow("not in the table") << 33 << 33 << 0 << 7 << false;
    }

    void aPressedButtonChangesTheScreenWhenItsStepIsPlayed()
    {
        QFETCH(int, id);
        QFETCH(int, clicked);
        QFETCH(int, round);
        QFETCH(int, screen);
        QFETCH(bool, redrawn);
        screenMode = 7;
        redrawAll = 0;
        screenChangePending = clicked != 0 ? 1 : 0;
        pendingScreenButton = clicked;
        placementRound = round;
        pushMessageStep(makeStep(20, 0, id));
        window->gameTick();
        QCOMPARE(screenMode, screen);
        QCOMPARE(redrawAll, quint8(redrawn ? 1 : 0));
        // Another button's step leaves the click's change waiting for its own.
        QCOMPARE(screenChangePending, quint8(clicked != 0 && clicked != id ? 1 : 0));
    }

};

TARVAN_TEST_MAIN(TestGameLoop)
#include "test_gameloop.moc"
