#pragma once
// What the map-click and dialog tests share: a window of a fixed screen size showing a game on
// the World map, clicks at the points where the paint handler draws the territories' labels,
// the army-count dialog answered through its buttons, and the game loop run until it waits.

#include "TestSupport.h"
#include "test_screen_support.h"

#include "app/DialogState.h"
#include "app/PaintLayout.h"
#include "app/ScreenSize.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "rules/GameStart.h"
#include "rules/PlayerRecords.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/SpriteQueue.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QComboBox>
#include <QDialog>
#include <QPainter>
#include <QPushButton>

#include <cmath>
#include <functional>
#include <memory>

namespace clicks_test {

using screen_test::paintWindow;
using screen_test::saveScreenshot;

// The scripted questions of the tests; the card dialogs are the window's own, as in the program.
class ClickUi : public ScriptedInteraction {
public:
    ViewArea *window = nullptr;
    // Runs inside each pause (a click made while the program waits).
    std::function<void()> duringPause;

    void showCardTradeDialog() override
    {
        if (window)
            window->showCardTradeDialog();
    }
    void showCardTradeBonus() override
    {
        if (window)
            window->showCardTradeBonus();
    }
    void pause(int milliseconds) override
    {
        ScriptedInteraction::pause(milliseconds);
        if (duringPause)
            duringPause();
    }
};

// The window on the game screen with the World map dealt round-robin to `players` players
// (player 1 the one human), painted once so that the layout the clicks need is in place.
inline void showDealtGame(ViewArea &window, ClickUi &ui, int players = 3)
{
    ui.window = &window;
    setInteraction(&ui);
    screen_test::useScreen(1366, 768, 340);
    demoRunning = 0;
    gameMode = ModeSinglePlayer;
    animationsEnabled = 0;
    humanPlayerCount = 1;
    playerCount = players;
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerName[p] = QStringLiteral("Player %1").arg(p);
    for (int t = 1; t <= territoryCount; ++t) {
        territoryState[t] = {(t - 1) % players + 1, 1};
        displayedTerritoryState[t] = territoryState[t];
        territoryChanged[t] = territoryMark[t] = 'n';
    }
    recountAllPlayers();
    currentPlayer = 1;
    turnStarted = 1;
    screenMode = 9;
    mapPaintState = QStringLiteral("0");
    window.resize(1366, 768);
    paintWindow(window);
    clearStepQueues();
}

// A new window showing such a game.
inline std::unique_ptr<ViewArea> makeGameWindow(ClickUi &ui, int players = 3)
{
    auto window = std::make_unique<ViewArea>();
    showDealtGame(*window, ui, players);
    return window;
}

// The game window and its scripted questions, made anew for each test function: a test class
// derives from it beside QObject and calls start() from init() and stop() from cleanup().
class ClickFixture {
protected:
    ClickUi ui;
    std::unique_ptr<ViewArea> window;

    void start(quint32 seed)
    {
        resetAllGameState(seed);
        ui = ClickUi();
        window = makeGameWindow(ui);
    }

    void stop()
    {
        window.reset();
        setInteraction(nullptr);
        setScreenMeasure(nullptr);
    }
};

// Where the paint handler draws the label point of territory t, in window pixels.
inline QPoint labelPoint(int t)
{
    const MapDrawing drawing = currentMapDrawing();
    int px = territoryPos[t].x;
    int py = territoryPos[t].y;
    designToPicture(px, py);
    const double kx = double(drawing.target.width()) / drawing.source.width();
    const double ky = double(drawing.target.height()) / drawing.source.height();
    return QPoint(int(std::floor(drawing.target.x() + (px - drawing.source.x() + 0.5) * kx)),
                  int(std::floor(drawing.target.y() + (py - drawing.source.y() + 0.5) * ky)));
}

inline void clickAt(ViewArea &window, const QPoint &point)
{
    window.clickX = point.x();
    window.clickY = point.y();
    window.handleMapClick();
}

inline void clickTerritory(ViewArea &window, int t)
{
    clickAt(window, labelPoint(t));
}

// A press of the left mouse button at a window point, through the window's mouse handler.
inline void mouseClickAt(ViewArea &window, const QPoint &point)
{
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, point);
}

// The middle of the game panel's button in row `row` (1 Menu, 2 Cancel, 3 Cards, 4 Move, 5 Add,
// 6 Attack, 7 Next Player) as the last paint drew it.
inline QPoint gameButtonPoint(int row)
{
    return QRect(menuRowPosition(row, false), menuButtonSize(true)).center();
}

// The counts the army-count dialog offers on its buttons 1..8, and whether "More" is there (no
// dialog: no question was ever asked).
inline int buttonsOffered(const ViewArea &window)
{
    if (!window.armyCountDialog)
        return 0;
    int shown = 0;
    for (int n = 1; n <= 8; ++n)
        shown += window.armyCountButton[n]->isVisibleTo(window.armyCountDialog) ? 1 : 0;
    return shown;
}

inline bool moreOffered(const ViewArea &window)
{
    return window.armyCountDialog && window.armyCountButton[9]->isVisibleTo(window.armyCountDialog);
}

inline bool armyQuestionOpen(const ViewArea &window)
{
    return window.armyCountDialog && window.armyCountDialog->isVisible() && armyCountDialogOpen && dialogOpen;
}

// Answers the open army-count question as a player does: a count button, or "More" and the
// count chosen in the combo dialog.
inline void answerArmies(ViewArea &window, int count)
{
    if (count >= 1 && count <= 8 && window.armyCountButton[count]->isVisibleTo(window.armyCountDialog)) {
        window.armyCountButton[count]->click();
        return;
    }
    window.armyCountButton[9]->click();
    const int index = window.armyCombo->findText(QString::number(count));
    window.armyCombo->setCurrentIndex(index);
    window.armyComboOkButton->click();
}

// The largest count the open question offers.
inline int largestOffered(const ViewArea &window)
{
    return moreOffered(window) ? window.armyComboItems.value(0).toInt() : buttonsOffered(window);
}

// Runs the game loop until `done` holds or `limit` ticks have passed; true when it holds.
template <typename Condition>
bool tickUntil(ViewArea &window, Condition done, int limit = 4000)
{
    for (int i = 0; i < limit; ++i) {
        if (done())
            return true;
        window.gameTick();
    }
    return done();
}

inline bool queuesDrained()
{
    return actionQueueCount == 0 && messageQueueCount == 0;
}

// The first territory of `player` that `accept` takes, or 0.
template <typename Accept>
int findTerritory(int player, Accept accept)
{
    for (int t = 1; t <= territoryCount; ++t)
        if (territoryState[t].owner == player && accept(t))
            return t;
    return 0;
}

inline int neighbourWhere(int t, const std::function<bool(int)> &accept)
{
    const NeighbourList &list = territoryNeighbours[t];
    for (int i = 1; i <= kMaxNeighbours && list[i] != 0; ++i)
        if (list[i] != t && accept(list[i]))
            return list[i];
    return 0;
}

// Sets a territory's owner and armies in the rules' and the shown state.
inline void setTerritory(int t, int owner, int armies)
{
    territoryState[t] = {owner, armies};
    displayedTerritoryState[t] = territoryState[t];
}

// Territory t and all its neighbours held by `owner` with two armies each.
inline void surroundWith(int t, int owner)
{
    const NeighbourList &list = territoryNeighbours[t];
    for (int i = 1; i <= kMaxNeighbours && list[i] != 0; ++i)
        setTerritory(list[i], owner, 2);
    recountAllPlayers();
}

// Territory 1 of the World map player 1's with `sourceArmies`, its first neighbour player 2's
// with `targetArmies` and every other neighbour player 1's; returns that first neighbour.
inline int prepareAttack(int sourceArmies, int targetArmies)
{
    surroundWith(1, 1);
    const int n = territoryNeighbours[1][1];
    setTerritory(1, 1, sourceArmies);
    setTerritory(n, 2, targetArmies);
    recountAllPlayers();
    return n;
}

// The attack phase, source 1 and target n clicked: the attack's army-count question is open.
inline void askAttack(ViewArea &window, int n)
{
    enterAttackPhase();
    clickTerritory(window, 1);
    clickTerritory(window, n);
}

// The window and a dialog over it as one picture, for a look at the dialog in its place.
inline QImage dialogOverGame(ViewArea &window, QDialog &dialog)
{
    QImage shot = paintWindow(window);
    const QPixmap picture = dialog.grab();
    QPainter painter(&shot);
    painter.drawPixmap((shot.width() - picture.width()) / 2, (shot.height() - picture.height()) / 2, picture);
    return shot;
}

// The stronghold and initial placement of human `player` through clicks, the game loop run up
// to each click.
inline bool placeInitialArmiesByClicks(ViewArea &window, int player = 1)
{
    if (!tickUntil(window, [player] { return (strongholdPhase || initialPlacementPhase) && currentPlayer == player && actionQueueCount == 0; }))
        return false;
    for (int guard = 0; guard < 100 && (strongholdPhase || initialPlacementPhase) && currentPlayer == player; ++guard) {
        // With animations on, the clicks wait for the last helicopter's landing.
        tickUntil(window, [] { return actionQueueCount == 0 && !spriteAnimationActive; });
        if (strongholdPhase) {
            mouseClickAt(window, labelPoint(findTerritory(player, strongholdAllowed)));
            continue;
        }
        const int t = findTerritory(player, [](int u) { return initialPlacementLimit(u) >= 1; });
        if (t == 0)
            return false;
        mouseClickAt(window, labelPoint(t));
        answerArmies(window, initialPlacementLimit(t));
    }
    return true;
}

// The human's stronghold and initial placement through clicks, then the game loop up to the first
// turn of play, when saving is allowed.
inline bool placeUpToFirstTurn(ViewArea &window)
{
    return placeInitialArmiesByClicks(window)
        && tickUntil(window, [] { return currentPlayer == 1 && turnStarted && saveAllowed && queuesDrained(); });
}

// The current human's reinforcement placed by clicks on the first of his territories that
// `accept` takes, the loop run after each placement.
inline bool placeReinforcementsByClicks(ViewArea &window, const std::function<bool(int)> &accept = [](int) { return true; })
{
    const int player = currentPlayer;
    for (int guard = 0; guard < 20 && (territoryArmiesDue > 0 || continentArmiesDue > 0 || cardArmiesDue > 0); ++guard) {
        mouseClickAt(window, labelPoint(findTerritory(player, accept)));
        if (!armyQuestionOpen(window))
            return false;
        answerArmies(window, largestOffered(window));
        tickUntil(window, queuesDrained);
    }
    return true;
}

// The current human's reinforcement placed by clicks and his turn ended with Next Player.
inline bool endHumanTurnByClicks(ViewArea &window)
{
    const int player = currentPlayer;
    if (!placeReinforcementsByClicks(window))
        return false;
    screen_test::paintWindow(window);
    mouseClickAt(window, gameButtonPoint(7));
    // The press is played as a step of the loop once it has been painted.
    screen_test::paintWindow(window);
    return tickUntil(window, [player] { return currentPlayer != player || !turnStarted; });
}

// Player 1's turn ended by clicks and the game loop run until his next turn.
inline bool playOneRound(ViewArea &window)
{
    return endHumanTurnByClicks(window) && tickUntil(window, [] { return currentPlayer == 1 && turnStarted && saveAllowed && queuesDrained(); });
}

} // namespace clicks_test
