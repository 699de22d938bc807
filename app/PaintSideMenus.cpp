#include "app/PaintSideMenus.h"

#include "app/PaintLayout.h"
#include "app/PictureFiles.h"
#include "app/ResourceNames.h"
#include "app/WindowState.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/StepQueues.h"

#include <QPainter>

namespace {

constexpr int kButtonStepType = 20;
// Between the two columns of a small screen.
constexpr int kColumnGap = 8;

struct MenuScreenRows {
    int mode;
    bool secondStrip;
    std::vector<MenuRow> rows;
};

MenuRow first(int id, int stripY)
{
    return {id, stripY, false};
}

MenuRow second(int id, int stripY)
{
    return {id, stripY, true};
}

const std::vector<MenuScreenRows> &menuScreens()
{
    static const std::vector<MenuScreenRows> screens = {
        {1, false,
         {first(12, 0), first(13, 30), first(22, 60), first(14, 90), second(15, 120), second(16, 150),
          second(17, 180), second(18, 210)}},
        {2, false,
         {first(21, 240), first(23, 270), first(24, 300), first(25, 330), second(26, 360), second(27, 390),
          second(28, 420)}},
        {4, false,
         {first(41, 450), first(42, 480), first(43, 510), first(44, 540), second(45, 570), second(46, 600),
          second(47, 630), second(48, 660)}},
        {41, true,
         {first(411, 0), first(412, 30), first(413, 60), first(414, 90), second(415, 120), second(416, 150),
          second(417, 180)}},
        {42, true, {first(421, 210), first(422, 240), first(424, 300)}},
        {91, true, {first(911, 600), first(912, 630), first(913, 660)}},
        {101, false, {first(101, 210)}},
        {102, false, {first(1021, 690), first(1022, 210)}},
    };
    return screens;
}

const MenuScreenRows *screenRows(int mode)
{
    for (const MenuScreenRows &screen : menuScreens())
        if (screen.mode == mode)
            return &screen;
    return nullptr;
}

int markedSpeedRow()
{
    if (speedFlag96)
        return 416;
    if (speedFlag160)
        return 415;
    if (speedFlag224)
        return 414;
    if (speedFlag288)
        return 413;
    return fastSpeed ? 412 : 411;
}

const QString &stripPath(int index)
{
    static const std::array<QString, 8> paths = {
        resources::kMenuStrip1,     resources::kMenuStrip1Red,     resources::kMenuStrip2,
        resources::kMenuStrip2Red,  resources::kMenuStrip1Tall,    resources::kMenuStrip1TallRed,
        resources::kMenuStrip2Tall, resources::kMenuStrip2TallRed};
    return paths[index];
}

} // namespace

const QPixmap &MenuStrips::strip(bool secondStrip, bool red, bool tall) const
{
    const int index = indexOf(secondStrip, red, tall);
    QPixmap &picture = decoded_[index];
    if (picture.isNull())
        picture = QPixmap::fromImage(readPicture(stripPath(index)));
    return picture;
}

const MenuStrips &menuStrips()
{
    // Kept for the program's life: together the strips outgrow the pixmap cache, which would
    // otherwise decode them again on every paint.
    static const MenuStrips strips;
    return strips;
}

const std::vector<MenuRow> &menuRowsOf(int mode)
{
    static const std::vector<MenuRow> none;
    const MenuScreenRows *screen = screenRows(mode);
    return screen ? screen->rows : none;
}

int menuRowStripY(const MenuRow &row)
{
    // Save Game shows its disabled look while saving is not possible now.
    if (row.id == 912 && !(saveAllowed && actionQueueCount == 0))
        return 960;
    return row.stripY;
}

int markedMenuRow(int mode)
{
    if (mode == 41)
        return markedSpeedRow();
    if (mode == 42)
        return displayOptionB ? 421 : 422;
    return 0;
}

QRect menuRowRect(int rowIndex, bool secondColumn, bool gamePanel)
{
    QSize size = menuButtonSize(gamePanel);
    if (smallScreen) {
        // Each column keeps clear of the other one and of the screen's edge.
        const int column = qMin(menuColumn2Left - menuLeft, screenWidth - menuColumn2Left) - kColumnGap;
        size.setWidth(qBound(1, column, size.width()));
    }
    return QRect(menuRowPosition(rowIndex, secondColumn), size);
}

QRect menuButtonFace(const QRect &target)
{
    if (!smallScreen)
        return QRect(target.topLeft(), QSize(target.width() * resources::kStripButtonWidth / resources::kStripCellWidth,
                                              target.height()));
    QSize face(resources::kStripCellWidth, resources::kStripCellHeight * resources::kTallCellScale);
    face.scale(target.size(), Qt::KeepAspectRatio);
    return QRect(QPoint(target.left(), target.top() + (target.height() - face.height()) / 2), face);
}

void drawMenuButton(QPainter &painter, const MenuStrips &strips, bool secondStrip, bool red, int stripY,
                    const QRect &target)
{
    // Scaled smoothly: a label shrunk pixel by pixel loses strokes.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (smallScreen) {
        const QPixmap &tall = strips.strip(secondStrip, red, true);
        const int scale = resources::kTallCellScale;
        painter.drawPixmap(menuButtonFace(target), tall,
                           QRect(0, stripY * scale, resources::kStripCellWidth, resources::kStripCellHeight * scale));
        return;
    }
    const QPixmap &strip = strips.strip(secondStrip, red, false);
    painter.drawPixmap(menuButtonFace(target), strip,
                       QRect(0, stripY, resources::kStripButtonWidth, resources::kStripCellHeight));
}

void queueButtonPress(int id)
{
    // A full message queue refuses the step; the press is still shown once. A click's screen
    // change that no step will finish is dropped, or the hover would wait for it for good.
    if (!pushMessageStep(makeStep(kButtonStepType, 0, id)) && screenChangeWaitsFor(id))
        screenChangePending = 0;
    pressedButton = 0;
}

bool changeScreenAtOnce(int newScreen)
{
    if (actionQueueCount == 0)
        return false;
    // Only the click on this button changes the screen, not a press the hover left.
    if (screenChangeWaitsFor(pressedButton)) {
        screenMode = newScreen;
        // The change is made; nothing is left pending for the loop.
        screenChangePending = 0;
    }
    redrawAll = 1;
    pressedButton = 0;
    return true;
}

bool paintSideMenu(QPainter &painter, const MenuStrips &strips)
{
    const MenuScreenRows *screen = screenRows(screenMode);
    if (!screen)
        return false;
    const bool twoColumns = smallScreen != 0;
    const int pressed = pressedButton;
    int firstColumnRow = 0;
    int secondColumnRow = 0;
    QRect markedRect;
    const MenuRow *pressedRow = nullptr;
    const MenuRow *markedRow = nullptr;
    const int marked = markedMenuRow(screenMode);
    for (const MenuRow &row : screen->rows) {
        const bool inSecond = twoColumns && row.column2;
        const int index = inSecond ? ++secondColumnRow : ++firstColumnRow;
        const QRect target = menuRowRect(index, inSecond, false);
        menuRowY = target.top();
        if (row.id == pressed) {
            drawMenuButton(painter, strips, screen->secondStrip, true, row.stripY, target);
            pressedRow = &row;
        } else {
            drawMenuButton(painter, strips, screen->secondStrip, false, menuRowStripY(row), target);
        }
        if (row.id == marked) {
            markedRow = &row;
            markedRect = target;
        }
    }
    if (markedRow)
        drawMenuButton(painter, strips, screen->secondStrip, true, markedRow->stripY, markedRect);

    if (!pressedRow)
        return false;
    if (pressed == 911 && changeScreenAtOnce(9))
        return true;
    queueButtonPress(pressed);
    return false;
}

void queueRemainingPress()
{
    if (pressedButton > 0)
        queueButtonPress(pressedButton);
}
