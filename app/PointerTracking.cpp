#include "app/PointerTracking.h"

#include "app/PaintSideMenus.h"
#include "app/PaintStatusBar.h"
#include "app/WindowState.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/StepQueues.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kSwipeThreshold = 12;

// The buttons of the current screen as the paint handler lays them out: top to bottom, the
// first column before the second.
std::vector<MenuRow> buttonsOfScreen()
{
    if (screenMode != 9)
        return menuRowsOf(screenMode);
    std::vector<MenuRow> rows;
    for (int id = kFirstGameButton; id <= kLastGameButton; ++id)
        rows.push_back({id, 0, gameButtonInSecondColumn(id)});
    return rows;
}

// Row `row` (from 1) of a column starting at x `left`: its top, or -1 when (x, y) is outside.
int rowTopContaining(int left, int row, int x, int y)
{
    const int top = screenHeight / 20 + (row - 1) * menuButtonHeight;
    if (x > left && x < left + 2 * menuButtonHeight && y > top && y < top + menuButtonHeight)
        return top;
    return -1;
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
    const std::vector<MenuRow> buttons = buttonsOfScreen();
    const bool twoColumns =
        smallScreen && std::any_of(buttons.begin(), buttons.end(), [](const MenuRow &b) { return b.column2; });
    int firstColumnRow = 0;
    int secondColumnRow = 0;
    for (const MenuRow &button : buttons) {
        const bool inSecond = twoColumns && button.column2;
        const int row = inSecond ? ++secondColumnRow : ++firstColumnRow;
        const int top = rowTopContaining(inSecond ? menuColumn2Left : menuLeft, row, x, y);
        // Where the columns overlap, the second one takes the point.
        if (top >= 0 && (inSecond || !twoColumns || x < menuColumn2Left))
            return {button.id, top};
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
        return gameButtonOpen(button);
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
    pressedButton = kBarButtonId;
    if (hoveredButton == kBarButtonId)
        return false;
    highlight(kBarButtonId);
    return true;
}
