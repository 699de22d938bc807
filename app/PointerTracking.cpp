#include "app/PointerTracking.h"

#include "app/WindowState.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/StepQueues.h"

#include <vector>

namespace {

constexpr int kSwipeThreshold = 12;
constexpr int kBarButton = 9999;

// The buttons of a menu screen, top to bottom; on a small screen the ones after the split
// form a second column.
struct MenuScreen {
    int mode;
    std::vector<int> firstColumn;
    std::vector<int> secondColumn;
};

const std::vector<MenuScreen> &menuScreens()
{
    static const std::vector<MenuScreen> screens = {
        {1, {12, 13, 22, 14}, {15, 16, 17, 18}},
        {2, {21, 23, 24, 25}, {26, 27, 28}},
        {4, {41, 42, 43, 44}, {45, 46, 47, 48}},
        {41, {411, 412, 413, 414}, {415, 416, 417}},
        {42, {421, 422, 424}, {}},
        {9, {91, 92, 93, 94}, {95, 96, 97, 98, 99}},
        {91, {911, 912, 913}, {}},
        {101, {101}, {}},
        {102, {1021, 1022}, {}},
    };
    return screens;
}

const MenuScreen *currentMenuScreen()
{
    for (const MenuScreen &screen : menuScreens())
        if (screen.mode == screenMode)
            return &screen;
    return nullptr;
}

// Row `row` (from 1) of a column starting at x `left`: its top, or -1 when (x, y) is outside.
int rowTopContaining(int left, int row, int x, int y)
{
    const int top = screenHeight / 20 + (row - 1) * menuButtonHeight;
    if (x > left && x < left + 2 * menuButtonHeight && y > top && y < top + menuButtonHeight)
        return top;
    return -1;
}

bool ownTurn()
{
    return networkSeat < 1 || networkSeat == currentPlayer;
}

bool gameButtonHighlightable(int button)
{
    switch (button) {
    case 91:
        return true;
    case 92:
        return inGameButtonEnabled[ButtonCancel];
    case 93:
        return inGameButtonEnabled[ButtonCards];
    case 94:
        return inGameButtonEnabled[ButtonMove];
    case 95:
        return inGameButtonEnabled[ButtonAdd]
            || ((cardBonusPhase || continentBonusPhase || initialPlacementPhase) && ownTurn());
    case 96:
        return inGameButtonEnabled[ButtonAttack];
    case 97:
        return inGameButtonEnabled[ButtonNext];
    case 98:
        return turnStarted && ownTurn();
    case 99:
        return isValidPlayer(currentPlayer) && turnsTaken[currentPlayer] != 0 && !initialPlacementPhase
            && turnStarted;
    default:
        return false;
    }
}

void highlight(int button)
{
    redrawAll = 1;
    hoveredButton = button;
}

} // namespace

bool trackDrag(int x, int y)
{
    pointerPosA = x;
    pointerPosB = y;
    if (pinchInProgress)
        return false;
    if (!dragActive) {
        dragStartA = x;
        dragStartB = y;
    }
    dragActive = 1;
    // Checked in this order; a later direction wins only with a strictly longer distance.
    const int distances[4][2] = {{qMax(0, dragStartA - x), 1},
                                 {qMax(0, x - dragStartA), 2},
                                 {qMax(0, y - dragStartB), 4},
                                 {qMax(0, dragStartB - y), 3}};
    int best = kSwipeThreshold;
    int direction = 0;
    for (const auto &candidate : distances) {
        if (candidate[0] > best) {
            best = candidate[0];
            direction = candidate[1];
        }
    }
    if (direction == 0)
        return false;
    swipeDirection = direction;
    mapPaintState = QStringLiteral("0");
    dragActive = 0;
    return true;
}

MenuButtonHit sideMenuButtonAt(int x, int y)
{
    const MenuScreen *screen = currentMenuScreen();
    if (!screen)
        return {};
    const bool twoColumns = smallScreen && !screen->secondColumn.empty();
    int row = 1;
    for (int button : screen->firstColumn) {
        const int top = rowTopContaining(menuLeft, row++, x, y);
        if (top >= 0 && (!twoColumns || x < menuColumn2Left))
            return {button, top};
    }
    const int left = twoColumns ? menuColumn2Left : menuLeft;
    if (twoColumns)
        row = 1;
    for (int button : screen->secondColumn) {
        const int top = rowTopContaining(left, row++, x, y);
        if (top >= 0)
            return {button, top};
    }
    return {};
}

bool barButtonContains(int x, int y)
{
    const int width = screenWidth;
    if (width < 1000) {
        const double centre = width / 2.6 + statusBarX;
        return x > static_cast<int>(centre - 20) && x < static_cast<int>(centre + 80)
            && y > statusBarY - 15 && y < statusBarY + 30;
    }
    const int centre = width / 2 + statusBarX;
    if (width <= 1900)
        return x > centre - 20 && x < centre + 80 && y > statusBarY - 15 && y < statusBarY + 30;
    return x > centre - 30 && x < centre + 110 && y > statusBarY - 20 && y < statusBarY + 40;
}

bool buttonHighlightable(int button)
{
    if (screenMode == 9)
        return gameButtonHighlightable(button);
    if (button == 912)
        return saveAllowed;
    return true;
}

bool trackHover(int x, int y, int &clickX, int &clickY)
{
    if (messageQueueCount >= 1 || actionQueueCount >= 1 || screenChangePending || demoRunning)
        return false;
    if (hoverSkipOnce) {
        hoverSkipOnce = 0;
        return false;
    }
    clickX = x - mapOffsetX > 0 ? x - mapOffsetX : x;
    clickY = y - mapOffsetY > 0 ? y - mapOffsetY : y;

    const MenuButtonHit hit = sideMenuButtonAt(clickX, clickY);
    if (hit.button != 0) {
        pressedButton = hit.button;
        menuRowY = hit.rowTop;
        if (!buttonHighlightable(hit.button))
            return false;
        if (hit.button == 913)
            redrawAll = 1;
        if (hoveredButton == hit.button)
            return false;
        highlight(hit.button);
        return true;
    }
    menuRowY = screenHeight / 20;
    if (!barButtonContains(clickX, clickY))
        return false;
    pressedButton = kBarButton;
    if (hoveredButton == kBarButton)
        return false;
    highlight(kBarButton);
    return true;
}
