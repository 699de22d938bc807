#pragma once
// The side menus: each button a cell cut from a compiled-in strip picture, the pressed one from
// the red twin of the strip. A press reaches the game loop as one message step 20.

#include <QPixmap>
#include <QRect>

#include <array>
#include <vector>

class QPainter;

// The strip pictures: the standard strips and their tall twins, which the compact layout draws
// its buttons from, each in its normal and its red (pressed) look. A strip is decoded the first
// time a button is drawn from it and kept: a screen needs two or three of the eight.
class MenuStrips {
public:
    const QPixmap &strip(bool secondStrip, bool red, bool tall) const;
    // Whether that strip has been decoded (for the tests).
    bool decoded(bool secondStrip, bool red, bool tall) const { return !decoded_[indexOf(secondStrip, red, tall)].isNull(); }

private:
    static int indexOf(bool secondStrip, bool red, bool tall) { return (tall ? 4 : 0) + (secondStrip ? 2 : 0) + (red ? 1 : 0); }

    mutable std::array<QPixmap, 8> decoded_;
};
// The strips, kept for the program's life.
const MenuStrips &menuStrips();

constexpr int kBarButtonId = 9999;

// One button of a menu screen.
struct MenuRow {
    int id;
    int stripY;   // the cell's row in the strip
    bool column2; // in the second column on a small screen
};
// The rows of a menu screen (not the game screen), top to bottom; empty for other screens.
const std::vector<MenuRow> &menuRowsOf(int mode);
// The cell of row `row` as the screen now shows it (912 has a disabled look).
int menuRowStripY(const MenuRow &row);
// The row of screen 41 or 42 marked as the current setting, or 0.
int markedMenuRow(int mode);

// The rectangle a row of the side menus is laid out in. On a small screen the two columns share
// the panel, so a row is never wider than its column.
QRect menuRowRect(int rowIndex, bool secondColumn, bool gamePanel);
// Where the button of a row laid out in `target` shows: the button part of a standard cell
// scaled with the row, or on a small screen the tall cell fitted in with its proportions kept.
QRect menuButtonFace(const QRect &target);
// Draws the button of strip row `stripY` (of the second strip, or the first), normal or red.
void drawMenuButton(QPainter &painter, const MenuStrips &strips, bool secondStrip, bool red, int stripY,
                    const QRect &target);

// Hands the press of `id` to the game loop: one message step 20 carrying the id (a full queue
// takes none). `pressedButton` is cleared either way.
void queueButtonPress(int id);
// A press on a button that changes the screen while the action queue still plays: the change
// is made at once instead of waiting behind the queued steps. True when it applied.
bool changeScreenAtOnce(int newScreen);

// Draws the side menu of the current screen (not the game screen). Returns true when the window
// must be painted again (a screen changed at once).
bool paintSideMenu(QPainter &painter, const MenuStrips &strips);
// A press that no drawn button took (a button of another screen) still reaches the game loop.
void queueRemainingPress();
