#pragma once
// The status bar under the map (status line, the Cards button, the card counts and losses) and
// the game panel of the game screen, whose buttons show whether each action is open now.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QtGlobal>

#include <array>

class QPainter;
class MenuStrips;

// The font of the status bar and the game panel; its pixel size follows the screen width.
extern QFont statusFont;
// The enabled flags of the game panel as last drawn, 1..6 like `inGameButtonEnabled`: the game
// loop repaints when one differs from the turn flow's flags.
extern std::array<quint8, 7> gameButtonDrawn;

// The cards each player holds now, one digit field per player.
QString formatPlayerFigures();

// The Cards button of the status bar (id 9999), as drawn.
QRect barButtonRect();
// The card counts and losses, and the point they are drawn at.
QString figuresLineText();
QPoint figuresLinePoint();

// Draws the status bar on every screen.
void paintStatusBar(QPainter &painter, const MenuStrips &strips);

// The game panel's button ids, top to bottom.
constexpr int kFirstGameButton = 91;
constexpr int kLastGameButton = 99;
// On a small screen the game panel's buttons from the fifth on form a second column.
bool gameButtonInSecondColumn(int id);
// Whether game-panel button `id` is open by the turn as it stands (a button the pointer may
// highlight).
bool gameButtonOpen(int id);
// Whether game-panel button `id` shows its enabled look now: open, and for the buttons that wait
// for the queued steps, none left.
bool gameButtonShownEnabled(int id);
// The strip row drawn for game-panel button `id` now (its enabled or disabled cell).
int gameButtonStripY(int id);
// Draws the game panel (screen 9). Returns true when the window must be painted again (the
// in-game menu was opened at once).
bool paintGamePanel(QPainter &painter, const MenuStrips &strips);

// Every global of this header back to its start value.
void resetPaintStatusBar();
