// Sprite animations as the loop plays them: the frames, the frame-time timer, the picture
// restored afterwards, the armies they bring, the rocket's landing and animations cut off.

#include "test_gameloop_support.h"

#include "app/ResourceNames.h"
#include "app/SpriteStrips.h"
#include "rules/TurnFlow.h"
#include "state/Campaign.h"
#include "state/SpriteQueue.h"
#include "state/StatusLine.h"

#include <QBitmap>
#include <QPainter>
#include <QPixmap>

#include <functional>

using namespace loop_test;

namespace {

void paintAllPlain()
{
    highlightChanges = 0;
    for (int t = 1; t <= territoryCount; ++t) {
        territoryChanged[t] = territoryMark[t] = 'n';
        updateTerritoryDisplay(t, displayedTerritoryState[t].armies, displayedTerritoryState[t].owner, 0, 0, 0);
    }
}

QPoint anchorOf(int t)
{
    int x = territoryPos[t].x;
    int y = territoryPos[t].y;
    designToPicture(x, y);
    return {x, y};
}

QRect frameRect(int kind, int t)
{
    const resources::SpriteKind &shape = resources::kSpriteKinds[kind];
    const QPoint a = anchorOf(t);
    return {a.x() + shape.offsetX, a.y() + shape.offsetY, shape.width, shape.height};
}

// The territories whose frame of `kind` reaches past the left, top, right and bottom edge of
// the picture (when any does), and one whose frame lies inside it.
QList<int> territoriesAtTheEdges(int kind)
{
    QList<int> chosen;
    const QRect picture = mapImage.rect();
    const std::array<std::function<bool(const QRect &)>, 5> tests = {
        [&](const QRect &r) { return r.left() < 0 && r.intersects(picture); },
        [&](const QRect &r) { return r.top() < 0 && r.intersects(picture); },
        [&](const QRect &r) { return r.right() > picture.right() && r.intersects(picture); },
        [&](const QRect &r) { return r.bottom() > picture.bottom() && r.intersects(picture); },
        [&](const QRect &r) { return picture.contains(r); },
    };
    for (const auto &place : tests) {
        for (int t = 1; t <= territoryCount; ++t) {
            if (place(frameRect(kind, t))) {
                if (!chosen.contains(t))
                    chosen.append(t);
                break;
            }
        }
    }
    return chosen;
}

// A neighbour of t (the second territory of explosions and rockets).
int neighbourOf(int t)
{
    return territoryNeighbours[t][1];
}

bool queuesEmpty()
{
    return actionQueueCount == 0 && messageQueueCount == 0;
}

QPixmap maskedStrip(const QString &path, QRgb transparent)
{
    QPixmap pixmap(path);
    pixmap.setMask(pixmap.createMaskFromColor(QColor::fromRgb(transparent), Qt::MaskInColor));
    return pixmap;
}

// The picture with frame `picture` of the strip drawn at territory t.
QImage withFrame(const QImage &under, int kind, int t, const QString &path, int picture)
{
    const resources::SpriteKind &shape = resources::kSpriteKinds[kind];
    QImage expected = under;
    QPainter painter(&expected);
    const QRect r = frameRect(kind, t);
    painter.drawPixmap(r.x(), r.y(), maskedStrip(path, shape.transparent), (picture - 1) * shape.width, 0,
                       shape.width, shape.height);
    return expected;
}

} // namespace

class TestGameLoopSprites : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;
    RecordingSockets sockets;
    std::unique_ptr<ViewArea> window;

    void freshGame()
    {
        window.reset();
        resetForLoopTest(ui);
        window = makeLoopWindow(ui);
        dealRoundRobin(3);
        paintAllPlain();
        animationsEnabled = 1;
        speedFlag288 = 1;
        fastSpeed = 1;
        // A rocket that lands concludes no attack here.
        campaignCompleted = 1;
    }

    static constexpr int kStripTerritory = 20; // its sprites lie inside the picture

    // Queues an animation of `kind` in `colour` over territory t (a rocket over its neighbour).
    void flyOver(int t, int colour, int kind)
    {
        playerCount = 10;
        territoryState[t].owner = colour;
        territoryState[neighbourOf(t)].owner = colour;
        QVERIFY(queueTerritoryAnimation(t, false, kind, neighbourOf(t)));
    }

    // Ticks until both queues are empty; the pictures seen after each tick.
    QList<QImage> playOut(int limit = 200)
    {
        QList<QImage> seen;
        for (int i = 0; i < limit && !queuesEmpty(); ++i) {
            window->gameTick();
            seen.append(mapImage);
        }
        return seen;
    }

    // The overlapping scenario: a human's helicopter waiting in the message queue flies over an
    // explosion of the action queue, a territory under both is repainted meanwhile. With
    // `drawn` false the sprites are queued in colour 0, which draws nothing.
    QList<QImage> overlappingScenario(bool drawn)
    {
        freshGame();
        const int target = 5;  // the helicopter's
        const int attacked = 4; // the explosion's, next to it
        pendingMoveArmies = 2;
        pendingLandingTerritory = target;
        queueTerritoryAnimation(attacked, false, SpriteExplosion, 2);
        territoryState[target].armies = 6;
        pushActionStep(makeStep(1, target, 6, territoryState[target].owner, 0));
        pushMessageStep(makeStep(1, 4, 0, 0, 0, 0, 0, QStringLiteral("land")));
        queueTerritoryAnimation(target, true, SpriteLargeHelicopter, 0);
        if (!drawn) {
            for (int i = 1; i <= actionQueueCount; ++i)
                actionQueue[i].arg[5] = 0;
            for (int i = 1; i <= messageQueueCount; ++i)
                messageQueue[i].arg[5] = 0;
        }
        return playOut();
    }

private slots:
    void init() { freshGame(); }
    void cleanup() { window.reset(); }

    void anAnimationIsQueuedWholeOrNotAtAll_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("toMessages");
        QTest::addColumn<bool>("animations");
        QTest::addColumn<bool>("network");
        QTest::addColumn<QList<int>>("frames");
        QTest::addColumn<bool>("attackersColour");
        QList<int> all12;
        for (int f = 1; f <= 12; ++f)
            all12.append(f);
        QList<int> all17;
        for (int f = 1; f <= 17; ++f)
            all17.append(f);
        QTest::newRow("helicopter to the message queue") << 3 << true << true << false << all12 << false;
        QTest::newRow("explosion to the action queue") << 2 << false << true << false << all17 << true;
        QTest::newRow("animations off") << 7 << true << false << false << QList<int>{} << false;
        QTest::newRow("network nuke") << 1 << false << false << true << QList<int>{1, 14, 27} << true;
        QTest::newRow("network explosion") << 2 << true << false << true << QList<int>{1, 9, 17} << true;
        QTest::newRow("no helicopter in a network game") << 4 << false << false << true << QList<int>{} << false;
        QTest::newRow("no such kind") << 8 << true << true << false << QList<int>{} << false;
    }

    void anAnimationIsQueuedWholeOrNotAtAll()
    {
        QFETCH(int, kind);
        QFETCH(bool, toMessages);
        QFETCH(bool, animations);
        QFETCH(bool, network);
        QFETCH(QList<int>, frames);
        QFETCH(bool, attackersColour);
        animationsEnabled = animations ? 1 : 0;
        networkAnimations = network ? 1 : 0;
        const int t = 4;
        const int second = 5;
        QCOMPARE(queueTerritoryAnimation(t, toMessages, kind, second), !frames.isEmpty());
        const int count = toMessages ? messageQueueCount : actionQueueCount;
        QCOMPARE(toMessages ? actionQueueCount : messageQueueCount, 0);
        QCOMPARE(count, frames.size());
        const int colour = territoryState[attackersColour ? second : t].owner;
        for (int i = 1; i <= count; ++i) {
            const QueueStep &step = toMessages ? messageQueue[i] : actionQueue[i];
            QCOMPARE(step.type, toMessages ? 19 : 16);
            QCOMPARE(step.arg[1], t);
            QCOMPARE(step.arg[2], frames[i - 1]);
            QCOMPARE(step.arg[3], kind);
            QCOMPARE(step.arg[4], second);
            QCOMPARE(step.arg[5], colour);
        }
        QCOMPARE(spriteAnimationActive, quint8(toMessages && !frames.isEmpty() ? 1 : 0));
    }

    void everyAnimationLeavesThePictureAsItFoundIt_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("toMessages");
        for (int kind = 1; kind <= kSpriteKinds; ++kind) {
            QTest::addRow("kind %d, message queue", kind) << kind << true;
            QTest::addRow("kind %d, action queue", kind) << kind << false;
        }
    }

    void everyAnimationLeavesThePictureAsItFoundIt()
    {
        QFETCH(int, kind);
        QFETCH(bool, toMessages);
        // A part of the World picture, so that sprites of every size reach past its edges.
        installMapPicture(mapImage.copy(0, 0, 430, 270));
        paintAllPlain();
        const QList<int> places = territoriesAtTheEdges(kind);
        QVERIFY(places.size() >= 3);
        int ticksShowingASprite = 0;
        for (int t : places) {
            const QImage before = mapImage;
            // Rockets fly over their second territory; the others over the first.
            const bool rocket = spriteIsRocket(kind);
            const int first = rocket ? neighbourOf(t) : t;
            const int second = rocket ? t : (kind <= 2 ? neighbourOf(t) : 0);
            QVERIFY(queueTerritoryAnimation(first, toMessages, kind, second));
            const QList<QImage> seen = playOut();
            QCOMPARE(seen.size(), kSpriteSteps[kind] + 1); // and the tick that finds the queue dry
            for (const QImage &picture : seen)
                ticksShowingASprite += picture != before ? 1 : 0;
            QVERIFY2(mapImage == before, qPrintable(QStringLiteral("territory %1").arg(t)));
            QCOMPARE(spriteAnimationDone, quint8(1));
            QCOMPARE(spriteAnimationActive, quint8(0));
        }
        QVERIFY(ticksShowingASprite >= kSpriteSteps[kind]);
    }

    void eachFrameIsTheRightPictureOfTheStrip_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("colour");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QList<int>>("pictures"); // strip frame shown after each tick
        QTest::newRow("small helicopter repeats three pictures")
            << 4 << 2 << ":/tifc/heliklrood.png" << QList<int>{1, 2, 3, 1, 2, 3, 1, 2, 3, 1, 2};
        QTest::newRow("orange explosion") << 2 << 8 << ":/tifc/grootgeel2.png" << QList<int>{1, 2, 3, 4};
        QTest::newRow("grey plane") << 7 << 10 << ":/tifc/propgrijs.png" << QList<int>{1, 2, 3};
        QTest::newRow("blue nuke") << 1 << 1 << ":/tifc/nukeblauw.png" << QList<int>{1, 2};
    }

    void eachFrameIsTheRightPictureOfTheStrip()
    {
        QFETCH(int, kind);
        QFETCH(int, colour);
        QFETCH(QString, path);
        QFETCH(QList<int>, pictures);
        const int t = kStripTerritory;
        const QImage before = mapImage;
        flyOver(t, colour, kind);
        for (int picture : pictures) {
            window->gameTick();
            QVERIFY2(mapImage == withFrame(before, kind, t, path, picture), qPrintable(QString::number(picture)));
        }
    }

    void theStripsKeptStayInTheirBudgetAndADroppedOneDrawsTheSameAgain()
    {
        // Every kind in every player colour starts to fly, each cutting off the one before: far
        // more strips than the budget holds. Then the first ones fly again.
        const int t = kStripTerritory;
        const QImage clean = mapImage;
        QList<std::pair<int, int>> flights; // colour, kind
        for (int colour = 1; colour <= 10; ++colour)
            for (int kind = 1; kind <= kSpriteKinds; ++kind)
                flights.append({colour, kind});
        flights.append({1, 1});
        flights.append({1, 2});
        for (const auto &[colour, kind] : flights) {
            clearStepQueues();
            flyOver(t, colour, kind);
            window->gameTick();
            // Rockets fly over the second territory.
            const int under = spriteIsRocket(kind) ? neighbourOf(t) : t;
            const QString path = resources::spriteStripPath(kind, colour);
            QVERIFY2(mapImage == withFrame(clean, kind, under, path, 1), qPrintable(path));
            QVERIFY(spriteStripBytesKept() <= kSpriteStripBudgetBytes);
        }
        QVERIFY(spriteStripBytesKept() > kSpriteStripBudgetBytes / 2);
    }

    void theTimerRunsAtTheFrameTimeWhileAnAnimationFlies_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("speed"); // the speed flag set: 96, 160, 224, 288; 0 none
        QTest::addColumn<bool>("network");
        QTest::addColumn<int>("frameTime");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("gamePace");
        QTest::newRow("large helicopter, normal speed") << 3 << 288 << false << 160 << 12 << 288;
        QTest::newRow("small helicopter, fast") << 4 << 224 << false << 64 << 12 << 224;
        QTest::newRow("rocket, faster") << 5 << 160 << false << 48 << 13 << 160;
        QTest::newRow("explosion, slower") << 2 << 0 << false << 48 << 17 << 512;
        QTest::newRow("nuke, fastest") << 1 << 96 << false << 32 << 27 << 96;
        QTest::newRow("network explosion") << 2 << 0 << true << 128 << 3 << 512;
    }

    void theTimerRunsAtTheFrameTimeWhileAnAnimationFlies()
    {
        QFETCH(int, kind);
        QFETCH(int, speed);
        QFETCH(bool, network);
        QFETCH(int, frameTime);
        QFETCH(int, steps);
        QFETCH(int, gamePace);
        speedFlag96 = speed == 96;
        speedFlag160 = speed == 160;
        speedFlag224 = speed == 224;
        speedFlag288 = speed == 288;
        fastSpeed = speed != 0;
        if (network) {
            sockets.install();
            networkSeat = 1;
            animationsEnabled = 0;
            networkAnimations = 1;
        }
        const int t = 20;
        QVERIFY(queueTerritoryAnimation(t, false, kind, neighbourOf(t)));
        QCOMPARE(actionQueueCount, steps);
        window->gameTick();
        QCOMPARE(window->gameTimerInterval(), frameTime);
        for (int i = 2; i < steps; ++i)
            window->gameTick();
        QCOMPARE(window->gameTimerInterval(), frameTime);
        QCOMPARE(spriteAnimationDone, quint8(0));
        window->gameTick();
        QCOMPARE(window->gameTimerInterval(), gamePace);
        QCOMPARE(spriteAnimationDone, quint8(1));
    }

    void thePlaneBringsItsArmiesAtItsLastFrame()
    {
        const int t = 12;
        const int shown = displayedTerritoryState[t].armies;
        pendingMoveArmies = 5;
        QVERIFY(queueTerritoryAnimation(t, true, SpritePlane, 0));
        QCOMPARE(spriteAnimationActive, quint8(1));
        for (int frame = 1; frame < kSpriteSteps[SpritePlane]; ++frame) {
            window->gameTick();
            QCOMPARE(territoryState[t].armies, shown);
            QCOMPARE(displayedTerritoryState[t].armies, shown);
            QCOMPARE(territoryChanged[t], 'j');
        }
        window->gameTick();
        QCOMPARE(territoryState[t].armies, shown + 5);
        QCOMPARE(displayedTerritoryState[t].armies, shown + 5);
        QCOMPARE(pendingMoveArmies, 0);
        QCOMPARE(spriteAnimationActive, quint8(0));
        QCOMPARE(territoryChanged[t], 'n');
        QCOMPARE(territoryMark[t], 'n');
    }

    void aRocketsLandingSoundsTheAttacksOutcomeAndConcludesIt_data()
    {
        QTest::addColumn<bool>("taken");
        QTest::addColumn<int>("armies");
        QTest::addColumn<bool>("over");
        QTest::addColumn<QString>("landing");
        QTest::newRow("taken") << true << 4 << false << "sounds/aanval3.wav";
        QTest::newRow("taken by more than nine") << true << 10 << false << "sounds/nuke4.wav";
        QTest::newRow("held") << false << 4 << false << "sounds/aanval2.wav";
        QTest::newRow("the game is over") << true << 4 << true << "sounds/aanval3.wav";
    }

    void aRocketsLandingSoundsTheAttacksOutcomeAndConcludesIt()
    {
        QFETCH(bool, taken);
        QFETCH(int, armies);
        QFETCH(bool, over);
        QFETCH(QString, landing);
        campaignCompleted = 0;
        const int from = 1;
        const int to = 2;
        currentPlayer = territoryState[from].owner;
        territoryState[to].owner = taken ? currentPlayer : 3;
        attackArmies = armies;
        rocketInFlight = 1;
        QVERIFY(queueTerritoryAnimation(to, true, SpriteRocketRight, from));
        for (int i = 0; i < kSpriteSteps[SpriteRocketRight] - 1; ++i)
            window->gameTick();
        gameOver = over ? 1 : 0;
        window->gameTick();
        QCOMPARE(ui.soundsPlayed, (QStringList{"sounds/missile3.wav", landing}));
        QCOMPARE(rocketInFlight, quint8(0));
        QCOMPARE(sourceTerritory, from);
        QCOMPARE(targetTerritory, to);
        // The attack's conclusion prompts for the next attack.
        QCOMPARE(messageQueueCount > kSpriteSteps[SpriteRocketRight], !over);
    }

    void theHelicoptersOverAPlayersTerritoriesFollowThemFrameByFrame()
    {
        const int p = 2;
        const QImage before = mapImage;
        pushActionStep(makeStep(16, 0, 1, SpriteSmallHelicopter, p, 0));
        for (int frame = 2; frame <= kSpriteSteps[SpriteSmallHelicopter]; ++frame)
            pushActionStep(makeStep(16, 0, frame, SpriteSmallHelicopter, p, 0));
        // Nobody of player 2 holds more than one army: nothing to fly over.
        window->gameTick();
        QVERIFY(mapImage == before);
        // Armies arrive between frames: the helicopters follow them.
        territoryState[2].armies = 3;
        window->gameTick();
        QVERIFY(mapImage != before);
        territoryState[2].armies = 1;
        territoryState[5].armies = 4;
        window->gameTick();
        territoryState[11].armies = 2;
        playOut();
        QVERIFY(mapImage == before);
    }

    void overlappingAnimationsNeverMixTheirPixels()
    {
        const QList<QImage> plain = overlappingScenario(false);
        const QList<QImage> drawn = overlappingScenario(true);
        QCOMPARE(drawn.size(), plain.size());
        int differing = 0;
        for (int i = 0; i + 1 < drawn.size(); ++i)
            differing += drawn[i] != plain[i] ? 1 : 0;
        QVERIFY2(differing > 20, "both animations show");
        QVERIFY(drawn.last() == plain.last());
        QCOMPARE(displayedTerritoryState[5].armies, 8);
    }

    void aTerritoryRepaintedUnderASpriteBetweenTicksKeepsItsNewLook()
    {
        // A click's update lands in the picture while a sprite is on it; the sprite's erasing
        // must not bring the old look back.
        const int t = 5;
        int under = 0;
        const QRect rect = frameRect(SpriteLargeHelicopter, t);
        for (int i = 1; i <= kMaxNeighbours && territoryNeighbours[t][i] != 0; ++i)
            if (rect.contains(anchorOf(territoryNeighbours[t][i])))
                under = territoryNeighbours[t][i];
        QVERIFY(under != 0);
        QVERIFY(queueTerritoryAnimation(t, false, SpriteLargeHelicopter, 0));
        ticks(*window, 2);
        territoryState[under] = {territoryState[under].owner, 27};
        sendTurnUpdate(under);
        playOut();
        const QImage after = mapImage;
        // The same repaint without any sprite.
        freshGame();
        territoryState[under] = {territoryState[under].owner, 27};
        sendTurnUpdate(under);
        QVERIFY(after == mapImage);
    }

    void anAnimationCutOffReleasesEverythingThatWaitedForIt()
    {
        const int t = 12;
        const QImage before = mapImage;
        const int shown = displayedTerritoryState[t].armies;
        pendingMoveArmies = 4;
        rocketInFlight = 1;
        QVERIFY(queueTerritoryAnimation(t, true, SpriteLargeHelicopter, 0));
        ticks(*window, 3);
        QCOMPARE(window->gameTimerInterval(), 160);
        // Leaving the game empties the queues in the middle of the flight.
        clearStepQueues();
        window->gameTick();
        QCOMPARE(spriteAnimationActive, quint8(0));
        QCOMPARE(rocketInFlight, quint8(0));
        QCOMPARE(pendingMoveArmies, 0);
        QCOMPARE(territoryState[t].armies, shown + 4);
        QCOMPARE(displayedTerritoryState[t].armies, shown + 4);
        QCOMPARE(window->gameTimerInterval(), 288);
        // The picture is the map without the helicopter: the territory drawn with its armies.
        const QImage after = mapImage;
        mapImage = before;
        updateTerritoryDisplay(t, shown + 4, displayedTerritoryState[t].owner, 0, 0, 0);
        QVERIFY(after == mapImage);
    }

    void anAnimationThatFindsNoRoomIsNotQueuedAtAll()
    {
        while (messageQueueHasRoom(1))
            pushMessageStep(makeStep(100));
        messageQueueCount = kMessageQueueCapacity - 5;
        pendingMoveArmies = 2;
        QVERIFY(!queueTerritoryAnimation(12, true, SpritePlane, 0));
        QCOMPARE(messageQueueCount, kMessageQueueCapacity - 5);
        QCOMPARE(spriteAnimationActive, quint8(0));
        // Once the queue has run dry the armies arrive all the same.
        const int shown = territoryState[12].armies;
        playOut(400);
        QCOMPARE(territoryState[12].armies, shown + 2);
        QCOMPARE(pendingMoveArmies, 0);
    }
};

TARVAN_TEST_MAIN(TestGameLoopSprites)
#include "test_gameloop_sprites.moc"
