// The main window: its start state, the game speed and colour options, the title text, the
// pinch zoom, pointer tracking and the farewell a network game sends when the program ends.

#include "TestSupport.h"
#include "test_net_waits.h"

#include "app/DialogState.h"
#include "app/NetworkState.h"
#include "app/PinchZoom.h"
#include "app/PointerTracking.h"
#include "app/ScreenSize.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "app/WindowTitle.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QGestureEvent>
#include <QAbstractButton>
#include <QKeyEvent>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QScreen>
#include <QTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

struct SpeedFlags {
    quint8 fast, f288, f224, f160, f96;
    bool operator==(const SpeedFlags &o) const
    {
        return fast == o.fast && f288 == o.f288 && f224 == o.f224 && f160 == o.f160 && f96 == o.f96;
    }
};

void setSpeedFlags(const SpeedFlags &flags)
{
    fastSpeed = flags.fast;
    speedFlag288 = flags.f288;
    speedFlag224 = flags.f224;
    speedFlag160 = flags.f160;
    speedFlag96 = flags.f96;
}

SpeedFlags currentSpeedFlags()
{
    return {fastSpeed, speedFlag288, speedFlag224, speedFlag160, speedFlag96};
}

// The main menu's rows as the paint handler lays them out on a screen 1000 pixels high: row 1
// from y 50, 94 apart, from x 1500.
void layOutMainMenu()
{
    screenHeight = 1000;
    menuButtonHeight = 94;
    menuLeft = 1500;
}

QString padded(const QString &text, int width)
{
    return text.leftJustified(width, QLatin1Char(' '));
}

// A loopback server standing in for the other side of a network game: each window socket is
// connected in turn, so peer n is the far end of client socket n.
struct LoopbackPeers {
    QTcpServer server;
    std::array<QTcpSocket *, 5> peer{};

    bool connectWindowSockets(int count)
    {
        if (!server.listen(QHostAddress::LocalHost, 0))
            return false;
        for (int n = 1; n <= count; ++n) {
            clientSocket(n)->connectToHost(QHostAddress::LocalHost, server.serverPort());
            if (!clientSocket(n)->waitForConnected(kHangGuardMs) || !server.waitForNewConnection(kHangGuardMs))
                return false;
            peer[n] = server.nextPendingConnection();
        }
        return true;
    }

    // From here peer n reads nothing, and the window holds more for it than the link between them
    // takes: what the window writes to it next waits for good.
    bool fillLink(int n, ViewArea &window)
    {
        constexpr qint64 kMoreThanTheLinkTakes = 512 * 1024;
        clientSocket(n)->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 4096);
        peer[n]->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
        for (int message = 0; message < 10000 && clientSocket(n)->bytesToWrite() < kMoreThanTheLinkTakes; ++message)
            window.broadcastToClients(1017);
        return clientSocket(n)->bytesToWrite() >= kMoreThanTheLinkTakes;
    }

    // Everything peer n receives until the window's side has gone.
    QByteArray receivedUntilClosed(int n)
    {
        QTcpSocket *socket = peer[n];
        QByteArray bytes;
        while (socket->state() == QAbstractSocket::ConnectedState) {
            if (!socket->waitForReadyRead(kHangGuardMs))
                break;
            bytes += socket->readAll();
        }
        return bytes + socket->readAll();
    }
};

// Sets the globals a case of a test starts from.
using GameSetup = std::function<void()>;

} // namespace

Q_DECLARE_METATYPE(SpeedFlags)
Q_DECLARE_METATYPE(GameSetup)

class TestWindow : public QObject {
    Q_OBJECT

    ScriptedInteraction scripted;

    std::unique_ptr<ViewArea> makeWindow()
    {
        auto window = std::make_unique<ViewArea>();
        setInteraction(&scripted);
        return window;
    }

private slots:
    void init()
    {
        resetAllGameState();
        scripted = ScriptedInteraction();
        setInteraction(&scripted);
        QFile::remove(settingsFileName());
        QFile::remove(scoresFileName());
    }

    void startUpBringsTheProgramIntoItsStartState()
    {
        // A game left half-way must not leak into a new start.
        playerCount = 7;
        screenMode = 9;
        gameMode = ModeHotseat;
        exitReason = 913;
        pushActionStep(makeStep(2));
        QVERIFY(!QFile::exists(settingsFileName()));
        auto window = makeWindow();
        // The first start writes the settings and scores files.
        QVERIFY(QFile::exists(settingsFileName()));
        QVERIFY(QFile::exists(scoresFileName()));

        QCOMPARE(screenMode, 1);
        QCOMPARE(menuAction, 1);
        QCOMPARE(demoRunning, quint8(1));
        QCOMPARE(playerCount, 3);
        QCOMPARE(humanPlayerCount, 1);
        QCOMPARE(currentPlayer, 0);
        QCOMPARE(attackRule, 'n');
        QCOMPARE(gameMode, int(ModeSinglePlayer));
        QCOMPARE(turnStarted, quint8(1));
        QCOMPARE(exitReason, 0);
        QCOMPARE(statusLine, QString(46, QLatin1Char(' ')));
        QCOMPARE(statusText, QStringLiteral(" "));
        QCOMPARE(mapPaintState, QStringLiteral("0"));
        QCOMPARE(actionQueueCount, 0);
        QCOMPARE(messageQueueCount, 0);
        // Every record of both queues, the one left over above too, is blank but for the text.
        const QString digits = QStringLiteral("0123456789").repeated(10);
        const auto blank = [&digits](const QueueStep &step) {
            return step.type == 0 && step.arg == std::array<qint32, 7>{} && step.text == digits;
        };
        QVERIFY(std::all_of(actionQueue.begin(), actionQueue.end(), blank));
        QVERIFY(std::all_of(messageQueue.begin(), messageQueue.end(), blank));
        QCOMPARE(territoryStateCopy[0], TerritoryState{});
        for (int t = 1; t <= kMaxTerritories; ++t)
            QCOMPARE(territoryStateCopy[t], (TerritoryState{0, 1}));
        // The sounds: all on but "None".
        QCOMPARE(soundEnabled[1], quint8(0));
        for (int s = 2; s <= 9; ++s)
            QCOMPARE(soundEnabled[s], quint8(1));
        // The World map is built, and the displayed state follows it.
        QCOMPARE(selectedMap(), MapWorld);
        QCOMPARE(territoryCount, 42);
        for (int t = 1; t <= territoryCount; ++t) {
            QCOMPARE(territoryChanged[t], 'n');
            QCOMPARE(displayedTerritoryState[t], territoryState[t]);
        }
        QCOMPARE(window->gameTimerInterval(), 288);
        QVERIFY(tcpServer && tcpServer->parent() == window.get());
        for (int n = 1; n <= 4; ++n)
            QVERIFY(clientSocket(n) && clientSocket(n)->parent() == window.get());
        // The online managers and the member dialogs wait for their first use.
        QVERIFY(window->findChildren<QNetworkAccessManager *>().isEmpty());
        QVERIFY(!window->armyCountDialog && !window->armyComboDialog && !window->aiNamesDialog
                && !window->cardDialog && !window->cardTradeNotice);
    }

    void theSettingsFileDecidesTheOptionsButNotTheMap()
    {
        {
            auto first = makeWindow();
            first->setGameSpeed224();
            first->setOptionOff();
        }
        resetAllGameState();
        auto window = makeWindow();
        QCOMPARE(speedFlag224, quint8(1));
        QCOMPARE(speedFlag288, quint8(0));
        QCOMPARE(displayOptionA, quint8(0));
        QCOMPARE(displayOptionB, quint8(0));
        QCOMPARE(selectedMap(), MapWorld);
    }

    void aClientSocketsDataIsReadAsThatSocket()
    {
        auto window = makeWindow();
        LoopbackPeers peers;
        QVERIFY(peers.connectWindowSockets(3));
        peers.peer[3]->write("1003");
        QVERIFY(peers.peer[3]->waitForBytesWritten(kHangGuardMs));
        QVERIFY(clientSocket3->waitForReadyRead(kHangGuardMs));
        QCOMPARE(receivingSocketIndex, 3);
    }

    // ---- Display-size class ----

    void displaySizeClasses_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("fromSettings"); // 0: the settings did not change the class
        QTest::addColumn<int>("expected");
        QTest::newRow("1366 x 768") << 1366 << 768 << 0 << 2;
        QTest::newRow("1280 x 1024") << 1280 << 1024 << 0 << 2;
        QTest::newRow("1920 x 1040") << 1920 << 1040 << 0 << 3;
        QTest::newRow("1920 x 850") << 1920 << 850 << 0 << 2;
        QTest::newRow("2560 x 1400") << 2560 << 1400 << 0 << 4;
        QTest::newRow("1024 x 1200") << 1024 << 1200 << 0 << 1;
        QTest::newRow("1920 x 715 is low") << 1920 << 715 << 0 << 1;
        QTest::newRow("1275 wide is narrow") << 1275 << 1000 << 0 << 1;
        QTest::newRow("1431 x 891") << 1431 << 891 << 0 << 3;
        QTest::newRow("stored 4 kept on 1920 x 1040") << 1920 << 1040 << 4 << 4;
        QTest::newRow("stored 4 on a small screen") << 1200 << 800 << 4 << 1;
        QTest::newRow("stored 3 on 1366 x 768") << 1366 << 768 << 3 << 2;
        QTest::newRow("damaged 9 is clamped") << 1920 << 1040 << 9 << 4;
        QTest::newRow("damaged 0 is clamped") << 1920 << 1040 << -5 << 1;
    }

    void displaySizeClasses()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, fromSettings);
        QFETCH(int, expected);
        int sizeClass = displaySizeClassForScreen(width, height);
        if (fromSettings != 0)
            sizeClass = fromSettings;
        QCOMPARE(displaySizeClassFitted(sizeClass, width, height), expected);
    }

    // ---- Game speed ----

    void timerIntervalFollowsTheSpeedFlags_data()
    {
        QTest::addColumn<SpeedFlags>("flags");
        QTest::addColumn<int>("seat");
        QTest::addColumn<int>("interval");
        // The flags of each speed entry are the entries' own test.
        QTest::newRow("several: fastest wins") << SpeedFlags{1, 1, 1, 1, 0} << 0 << 160;
        QTest::newRow("all four") << SpeedFlags{0, 1, 1, 1, 1} << 0 << 96;
        QTest::newRow("host") << SpeedFlags{1, 0, 0, 0, 1} << 1 << 512;
        QTest::newRow("client, slowest chosen") << SpeedFlags{0, 0, 0, 0, 0} << 3 << 512;
    }

    void timerIntervalFollowsTheSpeedFlags()
    {
        QFETCH(SpeedFlags, flags);
        QFETCH(int, seat);
        QFETCH(int, interval);
        auto window = makeWindow();
        setSpeedFlags(flags);
        networkSeat = seat;
        window->restartGameTimer();
        QCOMPARE(window->gameTimerInterval(), interval);
        if (seat > 0)
            QCOMPARE(fastSpeed, quint8(1));
    }

    void speedEntries_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("interval");
        QTest::addColumn<SpeedFlags>("flags");
        QTest::addColumn<QString>("warning");
        QTest::newRow("411 Slower") << 411 << 512 << SpeedFlags{0, 0, 0, 0, 0} << QString();
        QTest::newRow("412 Slow") << 412 << 384 << SpeedFlags{1, 0, 0, 0, 0} << QString();
        QTest::newRow("413 Normal") << 413 << 288 << SpeedFlags{1, 1, 0, 0, 0} << QString();
        QTest::newRow("414 Fast") << 414 << 224 << SpeedFlags{1, 0, 1, 0, 0} << QString();
        QTest::newRow("415 Faster") << 415 << 160 << SpeedFlags{1, 0, 0, 1, 0}
                                    << QStringLiteral("Helicopter sounds disabled with this setting.");
        QTest::newRow("416 Faster 2")
            << 416 << 96 << SpeedFlags{1, 0, 0, 0, 1}
            << QStringLiteral("Helicopter sounds disabled with this setting. \nDisable Animations for more speed.");
    }

    void speedEntries()
    {
        QFETCH(int, entry);
        QFETCH(int, interval);
        QFETCH(SpeedFlags, flags);
        QFETCH(QString, warning);
        auto window = makeWindow();
        // Start from every flag set, so each entry must clear what it does not choose.
        setSpeedFlags({1, 1, 1, 1, 1});
        const QHash<int, void (ViewArea::*)()> entries = {
            {411, &ViewArea::setGameSpeed512}, {412, &ViewArea::setGameSpeed384},
            {413, &ViewArea::setGameSpeed288}, {414, &ViewArea::setGameSpeed224},
            {415, &ViewArea::setGameSpeedFast}, {416, &ViewArea::setGameSpeedFastest}};
        (window.get()->*entries.value(entry))();
        QCOMPARE(window->gameTimerInterval(), interval);
        QCOMPARE(currentSpeedFlags(), flags);
        QCOMPARE(scripted.messageTexts(), warning.isEmpty() ? QStringList() : QStringList{warning});
        // The choice is in the settings file: a later start reads it back.
        setSpeedFlags({1, 1, 1, 1, 1});
        QVERIFY(loadSettings());
        QCOMPARE(currentSpeedFlags(), flags);
        // Restarting the timer by the flags gives the entry's own interval again.
        window->restartGameTimer();
        QCOMPARE(window->gameTimerInterval(), interval);
    }

    void speedIsLockedInANetworkGame()
    {
        auto window = makeWindow();
        networkSeat = 2;
        window->restartGameTimer();
        setSpeedFlags({1, 1, 0, 0, 0});
        const QByteArray settingsBefore = [] {
            QFile file(settingsFileName());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();
        for (auto entry : {&ViewArea::setGameSpeed512, &ViewArea::setGameSpeed224,
                           &ViewArea::setGameSpeedFast, &ViewArea::setGameSpeedFastest}) {
            setStatusText(QStringLiteral(" "));
            (window.get()->*entry)();
            QCOMPARE(statusText, QStringLiteral("-- Locked game speed in multiplayer --"));
            QCOMPARE(window->gameTimerInterval(), 512);
            QCOMPARE(speedFlag288, quint8(1));
            QCOMPARE(speedFlag96, quint8(0));
        }
        QVERIFY(scripted.messages.isEmpty());
        QFile file(settingsFileName());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), settingsBefore);
    }

    void colourStyleSetsBothFlagsAndIsStored_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("seat");
        QTest::newRow("gradient") << true << 0;
        QTest::newRow("solid") << false << 0;
        QTest::newRow("solid while hosting") << false << 1;
    }

    void colourStyleSetsBothFlagsAndIsStored()
    {
        QFETCH(bool, on);
        QFETCH(int, seat);
        auto window = makeWindow();
        networkSeat = seat;
        displayOptionA = displayOptionB = on ? 0 : 1;
        territoryChanged[5] = 'j';
        on ? window->setOptionOn() : window->setOptionOff();
        QCOMPARE(displayOptionA, quint8(on));
        QCOMPARE(displayOptionB, quint8(on));
        // The repaint leaves no highlight pending for the next territory step.
        QCOMPARE(highlightChanges, quint8(0));
        QCOMPARE(territoryChanged[5], 'j');
        displayOptionA = on ? 0 : 1;
        QVERIFY(loadSettings());
        QCOMPARE(displayOptionA, quint8(on));
    }

    // The window's boxes take the opacity of every dialog of the game, and their buttons keep
    // the order given on every desktop style (the action role); a Cancel answers Escape too.
    void theWindowsBoxes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("buttons"); // empty: the Yes / No question
        QTest::addColumn<QString>("pressed");     // empty: Escape
        QTest::addColumn<int>("answer");
        const QStringList gameTypes{"Single Map Game", "Campaign Game", "Move Up in Rank", "Back"};
        const QStringList restart{"OK", "Cancel"};
        const QString restartText = QStringLiteral("Click OK to close Tarvan GX and apply the new setting.");
        QTest::newRow("quit question, Yes") << "Do you really want to quit ?" << QStringList() << "Yes" << 1;
        QTest::newRow("quit question, No") << "Do you really want to quit ?" << QStringList() << "No" << 0;
        QTest::newRow("game type box") << "" << gameTypes << "Move Up in Rank" << 2;
        QTest::newRow("restart box, OK") << restartText << restart << "OK" << 0;
        QTest::newRow("restart box, Cancel") << restartText << restart << "Cancel" << 1;
        QTest::newRow("restart box closed") << restartText << restart << "" << 1;
    }

    void theWindowsBoxes()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, buttons);
        QFETCH(QString, pressed);
        QFETCH(int, answer);
        ViewArea window; // installs the window's own boxes

        double opacity = 0;
        QStringList order;
        QList<QMessageBox::ButtonRole> roles;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            opacity = box->windowOpacity();
            QList<QAbstractButton *> shown = box->buttons();
            std::sort(shown.begin(), shown.end(), [box](QAbstractButton *a, QAbstractButton *b) {
                return a->mapTo(box, QPoint()).x() < b->mapTo(box, QPoint()).x();
            });
            for (QAbstractButton *button : shown) {
                order.append(button->text().remove(QLatin1Char('&')));
                roles.append(box->buttonRole(button));
            }
            if (pressed.isEmpty()) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton *button : shown)
                if (button->text().remove(QLatin1Char('&')) == pressed)
                    button->click();
        });
        const int result = buttons.isEmpty()
                               ? int(interaction().question(QStringLiteral("Tarvan GX"), text))
                               : interaction().choose(QStringLiteral("Tarvan GX"), text, buttons);
        setInteraction(&scripted);

        QCOMPARE(result, answer);
        QVERIFY2(qAbs(opacity - dialogOpacity) < 0.01, qPrintable(QString::number(opacity))); // kept in 8 bits
        if (!buttons.isEmpty()) {
            QCOMPARE(order, buttons);
            for (QMessageBox::ButtonRole role : roles)
                QCOMPARE(role, QMessageBox::ActionRole);
        }
    }

    // With large letters (a compact screen) a box whose text runs taller than the screen is no
    // taller than the screen and its buttons stay in sight.
    void theWindowsBoxesFitAScreenOfLargeLetters_data()
    {
        QTest::addColumn<bool>("question");
        QTest::newRow("information") << false;
        QTest::newRow("question") << true;
    }
    void theWindowsBoxesFitAScreenOfLargeLetters()
    {
        QFETCH(bool, question);
        const QFont usual = QApplication::font();
        QFont large = usual;
        large.setPixelSize(72);
        QApplication::setFont(large);
        ViewArea window;
        const QString text = QStringLiteral("Play a single player game with a map of your choice, without dice, "
                                            "nine computer players of four kinds, and get your name listed.");
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        int height = 0;
        int buttonsShown = 0;
        int buttons = 0;
        QTimer poll;
        poll.setInterval(1);
        int seen = 0;
        connect(&poll, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            // A few turns of the event loop once the box is up: it takes its size as it is shown.
            if (!box || ++seen < 5)
                return;
            poll.stop();
            height = box->frameGeometry().height();
            const QList<QAbstractButton *> shown = box->buttons();
            buttons = shown.size();
            for (QAbstractButton *button : shown)
                if (box->rect().contains(QRect(button->mapTo(box, QPoint()), button->size())))
                    ++buttonsShown;
            shown.first()->click();
        });
        poll.start();
        if (question)
            interaction().question(QStringLiteral("Tarvan GX"), text);
        else
            interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"), text);
        setInteraction(&scripted);
        QApplication::setFont(usual);

        QVERIFY2(height > 0 && height <= screen.height(), qPrintable(QStringLiteral("%1 on %2").arg(height).arg(screen.height())));
        QVERIFY(buttons > 0);
        QCOMPARE(buttonsShown, buttons);
    }

    // ---- Title ----

    void titleText_data()
    {
        QTest::addColumn<GameSetup>("setup");
        QTest::addColumn<QString>("expected");
        QTest::newRow("single player") << GameSetup([] {}) << "Single Player - Dice Like";
        QTest::newRow("top five hotseat") << GameSetup([] { topFiveGame = 1; gameMode = ModeHotseat; })
                                          << "Top 5Hotseat - Dice Like";
        QTest::newRow("campaign easy") << GameSetup([] {
            attackRule = 'j';
            campaignId = CampaignWestPacific;
            campaignMapIndex = 2;
            campaignMapCount = 3;
            difficulty = 0;
        }) << "Single Player - 1 for 1 - West Pacific - Map 2 of 3 - Easy";
        QTest::newRow("LAN hold") << GameSetup([] { gameMode = ModeHost; missionType = 2; })
                                  << "LAN - Dice Like - Hold Continents";
        QTest::newRow("Internet client") << GameSetup([] { gameMode = ModeClient; internetGame = 1; })
                                         << "Internet - Dice Like";
        QTest::newRow("campaign file") << GameSetup([] {
            campaignId = CampaignFromFile;
            campaignMapIndex = 1;
            campaignMapCount = 4;
            campaignName = padded(QStringLiteral("Islands"), 14);
        }) << "Single Player - Dice Like - Islands - Map 1 of 4";
        QTest::newRow("escort nobody") << GameSetup([] { missionType = 3; escortTarget = 0; })
                                       << "Single Player - Dice Like";
        QTest::newRow("escort player 3") << GameSetup([] {
            missionType = 3;
            escortTarget = 3;
            playerName[3] = padded(QStringLiteral("pc III"), 18);
        }) << QStringLiteral("Single Player - Dice Like - Escort pc III ");
        // The title names player 1's continent whoever plays.
        const GameSetup continents = [] {
            missionType = 1;
            missionContinents[1] = {0, 2, 4, 1};
            missionContinents[2] = {0, 6, 5, 3};
            missionContinentIndex = 2;
            currentPlayer = 2;
        };
        QTest::newRow("continents") << continents << "Single Player - Dice Like - Continents - Europe";
        QTest::newRow("continents, damaged step") << GameSetup([continents] {
            continents();
            missionContinentIndex = 99;
        }) << "Single Player - Dice Like - Continents - ";
        QTest::newRow("rank game") << GameSetup([] { rankGame = 1; attackRule = 'j'; })
                                   << "Single Player - 1 for 1 - Rank Game";
        QTest::newRow("unknown campaign") << GameSetup([] { campaignId = 9; }) << "Single Player - Dice Like - Map 1 of 1";
    }

    void titleText()
    {
        QFETCH(GameSetup, setup);
        QFETCH(QString, expected);
        selectMap(MapWorld);
        loadSelectedBuiltinMap();
        gameMode = ModeSinglePlayer;
        setup();
        // Names from the map tables keep their padding blanks; nothing else may follow.
        const QString title = composeWindowTitle();
        QVERIFY2(title.startsWith(expected), qPrintable(title));
        QCOMPARE(title.trimmed(), expected.trimmed());
    }

    // ---- Pinch zoom ----

    void pinchZoom_data()
    {
        QTest::addColumn<int>("startLevel");
        QTest::addColumn<QList<double>>("scales");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("direction");
        QTest::newRow("spread") << 0 << QList<double>{1.1, 1.2, 1.3} << 1 << 2;
        QTest::newRow("spread at the top") << 2 << QList<double>{1.1, 1.4} << 2 << 2;
        QTest::newRow("close") << 2 << QList<double>{0.9, 0.8, 1.05} << 1 << 1;
        QTest::newRow("close at the bottom") << 0 << QList<double>{0.9} << 0 << 1;
        QTest::newRow("a tie zooms in") << 1 << QList<double>{0.9, 1.1} << 2 << 2;
        QTest::newRow("1.0 counts for neither") << 1 << QList<double>{1.0, 1.0, 0.95} << 0 << 1;
        QTest::newRow("no scale change") << 1 << QList<double>{} << 2 << 2;
    }

    void pinchZoom()
    {
        QFETCH(int, startLevel);
        QFETCH(QList<double>, scales);
        QFETCH(int, level);
        QFETCH(int, direction);
        zoomLevel = startLevel;
        swipeDirection = 3;
        dragActive = 1;
        mapPaintState = QStringLiteral("1");
        for (double scale : scales)
            QVERIFY(!applyPinchUpdate(true, scale, PinchPhase::Updating));
        QVERIFY(applyPinchUpdate(false, 1.0, PinchPhase::Finished));
        QCOMPARE(pinchInProgress, quint8(1));
        QCOMPARE(dragActive, quint8(0));
        QCOMPARE(zoomLevel, level);
        QCOMPARE(lastZoomDirection, direction);
        QCOMPARE(swipeDirection, 0);
        QCOMPARE(mapPaintState, QStringLiteral("0"));
        // Further finished updates before the map is rebuilt change nothing.
        QVERIFY(!applyPinchUpdate(true, 0.5, PinchPhase::Finished));
        QCOMPARE(zoomLevel, level);
    }

    void aPinchBlocksDragsUntilItEnds()
    {
        applyPinchUpdate(true, 1.2, PinchPhase::Updating);
        trackDrag(100, 100);
        QVERIFY(!trackDrag(50, 100));
        QCOMPARE(swipeDirection, 0);
        QCOMPARE(pointerPosA, 50);
        // A cancelled gesture never finishes: it must not block swipes.
        QVERIFY(!applyPinchUpdate(false, 1.0, PinchPhase::Canceled));
        QCOMPARE(pinchInProgress, quint8(0));
        QCOMPARE(zoomLevel, 0);
        trackDrag(100, 100);
        QVERIFY(trackDrag(80, 100));
    }

    void gestureWithoutPinchAndKeyReleases()
    {
        auto window = makeWindow();
        zoomLevel = 1;
        QGestureEvent gestures({});
        QVERIFY(static_cast<QObject *>(window.get())->event(&gestures));
        QCOMPARE(zoomLevel, 1);
        QCOMPARE(pinchInProgress, quint8(0));
        // The base class would ignore the key; the window takes it and does nothing.
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &release);
        QVERIFY(release.isAccepted());
    }

    // ---- Pointer tracking ----

    void dragSwipe_data()
    {
        QTest::addColumn<QPoint>("move");
        QTest::addColumn<int>("direction");
        QTest::newRow("12 left") << QPoint(-12, 0) << 0;
        QTest::newRow("13 left") << QPoint(-13, 0) << 1;
        QTest::newRow("13 right") << QPoint(13, 0) << 2;
        QTest::newRow("13 up") << QPoint(0, -13) << 3;
        QTest::newRow("13 down") << QPoint(0, 13) << 4;
        QTest::newRow("20 left, 20 down") << QPoint(-20, 20) << 1;
        QTest::newRow("20 right, 25 up") << QPoint(20, -25) << 3;
        QTest::newRow("20 right, 20 down") << QPoint(20, 20) << 2;
    }

    void dragSwipe()
    {
        QFETCH(QPoint, move);
        QFETCH(int, direction);
        QVERIFY(!trackDrag(300, 300));
        QCOMPARE(trackDrag(300 + move.x(), 300 + move.y()), direction != 0);
        QCOMPARE(swipeDirection, direction);
        QCOMPARE(dragActive, quint8(direction == 0 ? 1 : 0));
        if (direction != 0) // the next move starts a new drag from there
            QVERIFY(!trackDrag(300 + move.x(), 300 + move.y()));
    }

    void hover_data()
    {
        // Layout: 1920 x 1000, row pitch 94, rows from y 50; column 1 at x 1500, column 2 at 1650.
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("small");
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("pressed");
        QTest::addColumn<int>("hovered");
        QTest::newRow("main menu row 1") << 1 << false << QPoint(1550, 60) << 12 << 12;
        QTest::newRow("main menu row 3 is 22") << 1 << false << QPoint(1550, 240) << 22 << 22;
        QTest::newRow("main menu row 8") << 1 << false << QPoint(1550, 750) << 18 << 18;
        QTest::newRow("on a row border") << 1 << false << QPoint(1550, 144) << 0 << 0;
        QTest::newRow("on the left edge") << 1 << false << QPoint(1500, 60) << 0 << 0;
        QTest::newRow("small: 15 in column 2 row 1") << 1 << true << QPoint(1750, 60) << 15 << 15;
        QTest::newRow("small: 18 in column 2 row 4") << 1 << true << QPoint(1750, 380) << 18 << 18;
        QTest::newRow("small: the overlap is column 2") << 1 << true << QPoint(1660, 60) << 15 << 15;
        QTest::newRow("wide: no overlap") << 1 << false << QPoint(1660, 60) << 12 << 12;
        QTest::newRow("small: row 5 does not exist") << 1 << true << QPoint(1550, 430) << 0 << 0;
        QTest::newRow("colours has no column 2") << 42 << true << QPoint(1550, 240) << 424 << 424;
        QTest::newRow("in-game menu: save disabled") << 91 << false << QPoint(1550, 150) << 912 << 0;
        QTest::newRow("game: Menu always") << 9 << false << QPoint(1550, 60) << 91 << 91;
        QTest::newRow("game: Cancel disabled") << 9 << false << QPoint(1550, 150) << 92 << 0;
        QTest::newRow("game: Add in a placement") << 9 << false << QPoint(1550, 430) << 95 << 95;
        QTest::newRow("game: Continents on own turn") << 9 << false << QPoint(1550, 710) << 98 << 98;
        QTest::newRow("game: Stats before a turn") << 9 << false << QPoint(1550, 850) << 99 << 0;
        QTest::newRow("unknown screen: bar only") << 7 << false << QPoint(1550, 60) << 0 << 0;
        QTest::newRow("bar button") << 1 << false << QPoint(1000, 980) << 9999 << 9999;
        QTest::newRow("beside the bar button") << 1 << false << QPoint(1070, 980) << 0 << 0;
    }

    void hover()
    {
        QFETCH(int, mode);
        QFETCH(bool, small);
        QFETCH(QPoint, point);
        QFETCH(int, pressed);
        QFETCH(int, hovered);
        layOutMainMenu();
        screenWidth = 1920;
        menuColumn2Left = 1650;
        statusBarY = 970;
        screenMode = mode;
        smallScreen = small;
        initialPlacementPhase = 1;
        currentPlayer = 1;
        turnStarted = 1;
        int x = 0;
        int y = 0;
        QCOMPARE(trackHover(point.x(), point.y(), x, y), hovered != 0);
        QCOMPARE(pressedButton, pressed);
        QCOMPARE(hoveredButton, hovered);
        QCOMPARE(redrawAll, quint8(hovered != 0));
        QCOMPARE(QPoint(x, y), point);
    }

    void hoverWaitsForAQuietWindow_data()
    {
        QTest::addColumn<QString>("busy");
        QTest::newRow("action step queued") << "action";
        QTest::newRow("message step queued") << "message";
        QTest::newRow("screen change pending") << "screen";
        QTest::newRow("demo running") << "demo";
    }

    void hoverWaitsForAQuietWindow()
    {
        QFETCH(QString, busy);
        layOutMainMenu();
        if (busy == "action")
            pushActionStep(makeStep(2));
        else if (busy == "message")
            pushMessageStep(makeStep(1));
        else if (busy == "screen")
            screenChangePending = 1;
        else
            demoRunning = 1;
        int x = 0;
        int y = 0;
        QVERIFY(!trackHover(1550, 60, x, y));
        QCOMPARE(pressedButton, 0);
        QCOMPARE(hoveredButton, 0);
    }

    void hoverSkipsOnceAndKeepsTheLastHighlight()
    {
        layOutMainMenu();
        hoverSkipOnce = 1;
        int x = 0;
        int y = 0;
        QVERIFY(!trackHover(1550, 60, x, y));
        QCOMPARE(hoveredButton, 0);
        QCOMPARE(hoverSkipOnce, quint8(0));
        QVERIFY(trackHover(1550, 60, x, y));
        QCOMPARE(hoveredButton, 12);
        // The same button again asks for nothing; empty space keeps the highlight.
        QVERIFY(!trackHover(1550, 70, x, y));
        QVERIFY(!trackHover(200, 300, x, y));
        QCOMPARE(hoveredButton, 12);
        QCOMPARE(menuRowY, 50);
        // The map's offset is taken off the pointer before the rows are looked up.
        hoveredButton = 0;
        mapOffsetX = 40;
        mapOffsetY = 10;
        QVERIFY(trackHover(1590, 70, x, y));
        QCOMPARE(QPoint(x, y), QPoint(1550, 60));
        QCOMPARE(hoveredButton, 12);
    }

    void barButtonBox_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QPoint>("inside");
        QTest::addColumn<QPoint>("outside");
        // statusBarY 500, statusBarX 0.
        QTest::newRow("999 wide") << 999 << QPoint(365, 490) << QPoint(464, 490);
        QTest::newRow("1000 wide") << 1000 << QPoint(481, 486) << QPoint(580, 490);
        QTest::newRow("1900 wide") << 1900 << QPoint(1029, 529) << QPoint(1030, 530);
        QTest::newRow("1901 wide") << 1901 << QPoint(1059, 539) << QPoint(920, 490);
    }

    void barButtonBox()
    {
        QFETCH(int, width);
        QFETCH(QPoint, inside);
        QFETCH(QPoint, outside);
        screenWidth = width;
        statusBarY = 500;
        QVERIFY(barButtonContains(inside.x(), inside.y()));
        QVERIFY(!barButtonContains(outside.x(), outside.y()));
    }

    void mouseMovesReachTheTracking()
    {
        auto window = makeWindow();
        window->setAttribute(Qt::WA_MouseTracking, true);
        demoRunning = 0;
        screenHeight = 1000;
        menuButtonHeight = 94;
        menuLeft = 500;
        QMouseEvent hoverMove(QEvent::MouseMove, QPointF(550.4, 60.6), Qt::NoButton, Qt::NoButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window.get(), &hoverMove);
        QCOMPARE(hoveredButton, 12);
        QCOMPARE(window->clickX, 550);
        QCOMPARE(window->clickY, 61);
        QMouseEvent press(QEvent::MouseMove, QPointF(300, 300), Qt::NoButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(window.get(), &press);
        QMouseEvent drag(QEvent::MouseMove, QPointF(300, 280), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drag);
        QCOMPARE(swipeDirection, 3);
    }

    // ---- Shutdown ----

    void farewell_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<int>("clients");
        QTest::addColumn<int>("connected"); // window sockets with a peer at the far end
        QTest::addColumn<QList<int>>("told"); // the peers that receive the farewell
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("fullLink"); // client 1 reads nothing, and its link is full
        QTest::newRow("host with three clients") << 1 << 3 << 4 << QList<int>{1, 2, 3} << "1019" << " " << false;
        QTest::newRow("host with four clients") << 1 << 4 << 4 << QList<int>{1, 2, 3, 4} << "1019" << " " << false;
        QTest::newRow("host, nobody joined: nobody told") << 1 << 0 << 4 << QList<int>{} << "1019" << " " << false;
        QTest::newRow("host closing the window") << 0 << 2 << 4 << QList<int>{1, 2} << "1019" << " " << false;
        QTest::newRow("client") << 2 << 0 << 4 << QList<int>{1} << "1020" << " " << false;
        QTest::newRow("local game") << 0 << 0 << 4 << QList<int>{} << "" << " " << false;
        QTest::newRow("list entry withdrawn") << 3 << 3 << 4 << QList<int>{} << "" << " " << false;
        QTest::newRow("finished game") << 4 << 3 << 4 << QList<int>{} << "" << " " << false;
        QTest::newRow("ended by the other side") << 913 << 3 << 4 << QList<int>{} << "" << " " << false;
        // A missing peer is reported; the sockets that were there still get the message.
        QTest::newRow("client without host") << 2 << 0 << 0 << QList<int>{} << "1020"
                                             << "socket send ERROR 1020" << false;
        QTest::newRow("host, socket 1 gone") << 1 << 1 << 0 << QList<int>{} << "1019"
                                             << "socket send ERROR 1019" << false;
        QTest::newRow("host, socket 3 gone") << 1 << 3 << 2 << QList<int>{1, 2} << "1019"
                                             << "socket send ERROR 1019 3" << false;
        // The farewell is handed over even once the wait for another socket's bytes is spent.
        QTest::newRow("host, client 1's link full: client 2 still told")
            << 1 << 2 << 2 << QList<int>{2} << "1019" << " " << true;
    }

    void farewell()
    {
        QFETCH(int, reason);
        QFETCH(int, clients);
        QFETCH(int, connected);
        QFETCH(QList<int>, told);
        QFETCH(QString, code);
        QFETCH(QString, status);
        QFETCH(bool, fullLink);
        auto window = makeWindow();
        LoopbackPeers peers;
        QVERIFY(peers.connectWindowSockets(connected));
        exitReason = reason;
        networkSeat = reason == 2 ? 2 : (reason == 1 || clients > 0 ? 1 : 0);
        if (fullLink) {
            joinClientSeats(1);
            QVERIFY(peers.fillLink(1, *window));
        }
        joinClientSeats(clients);
        setStatusText(QStringLiteral(" "));
        window.reset();
        for (int n = 1; n <= connected; ++n) {
            const QByteArray received = peers.receivedUntilClosed(n);
            if (told.contains(n))
                QVERIFY2(received.startsWith(code.toLatin1()), received.constData());
            else if (!fullLink || n != 1)
                QVERIFY2(received.isEmpty(), received.constData());
        }
        QCOMPARE(statusText, status);
        QVERIFY(!tcpServer && !clientSocket1 && !clientSocket4);
    }
};

TARVAN_TEST_MAIN(TestWindow)
#include "test_window.moc"
