#include "app/PaintStatusBar.h"

#include "app/PaintLayout.h"
#include "app/PaintSideMenus.h"
#include "app/ResourceNames.h"
#include "app/WindowState.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

QFont statusFont;
std::array<quint8, 7> gameButtonDrawn{};

namespace {

const QColor kStatusTextColour(192, 160, 160, 255);
const QString kClearingBlanks(200, QLatin1Char(' '));
// The figures keep this far right of the Cards button, the status line this far left of it.
constexpr int kFiguresGap = 10;
constexpr int kStatusLineGap = 10;

struct GameButtonRow {
    int id;
    int enabledY;
    int disabledY; // the same as enabledY where the button is never disabled
};

const std::array<GameButtonRow, 9> kGameButtonRows = {{
    {91, 330, 330},
    {92, 360, 690},
    {93, 390, 720},
    {94, 420, 750},
    {95, 450, 780},
    {96, 480, 810},
    {97, 510, 840},
    {98, 540, 990},
    {99, 570, 1020},
}};

bool ownTurn()
{
    return networkSeat < 1 || networkSeat == currentPlayer;
}

bool idle()
{
    return actionQueueCount == 0 && turnStarted;
}

bool placementPending()
{
    return cardBonusPhase || continentBonusPhase || initialPlacementPhase;
}

int turnsOfCurrentPlayer()
{
    return isValidPlayer(currentPlayer) ? turnsTaken[currentPlayer] : 0;
}

int statusFontPixelSize()
{
    return std::max(1, static_cast<int>((screenWidth / 100) * 1.3));
}

QString lossesText()
{
    if (screenWidth < 1000)
        return QStringLiteral("   ") + QString::asprintf("Loss %4d", lossCount);
    if (displaySizeClass == 1)
        return QStringLiteral("       ") + QString::asprintf("Losses %4d", lossCount);
    return QStringLiteral("       ") + QString::asprintf("Losses : %6d", lossCount);
}

// The status line, then the second status text (a note while the program is busy), within their
// room up to the Cards button: a longer line loses its middle, as the player panel's line does,
// and the note takes what room the line leaves. Marks stacked on a letter stay within the line,
// off the map above it.
void drawStatusTexts(QPainter &painter, const QPoint &at)
{
    const QFontMetrics metrics(painter.font());
    const int room = qMax(0, barButtonRect().left() - kStatusLineGap - at.x());
    painter.save();
    painter.setClipRect(QRect(at.x(), at.y() - metrics.ascent(), room, metrics.ascent() + metrics.descent() + 1),
                        Qt::IntersectClip);
    const QString line = metrics.elidedText(statusLine, Qt::ElideMiddle, room);
    painter.drawText(at, line);
    const int after = statusLine.trimmed().isEmpty() ? 0 : metrics.horizontalAdvance(line + QStringLiteral("   "));
    if (!statusText2.trimmed().isEmpty() && room > after)
        painter.drawText(at + QPoint(after, 0), metrics.elidedText(statusText2, Qt::ElideRight, room - after));
    painter.restore();
}

// "(s)", saving is possible: inside the Menu button, at its right end, clear of the label.
void drawSaveMark(QPainter &painter, const QRect &face)
{
    const int margin = qMax(3, face.height() / 6);
    painter.drawText(face.adjusted(margin, 0, -margin, 0), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("(s)"));
}

void drawBarButton(QPainter &painter, const MenuStrips &strips)
{
    const bool pressed = pressedButton == kBarButtonId;
    painter.drawPixmap(barButtonRect(), strips.strip(true, pressed, false),
                       QRect(0, resources::kBarCellY, resources::kBarCellWidth, resources::kStripCellHeight));
    if (pressed)
        queueButtonPress(kBarButtonId);
}

} // namespace

QString formatPlayerFigures()
{
    const int players = qBound(0, static_cast<int>(playerCount), kMaxPlayers);
    // Narrower gaps when many players share the line.
    const QString gap = players <= 6 ? QStringLiteral("  ") : QStringLiteral(" ");
    QString figures;
    for (int p = 1; p <= players; ++p) {
        if (p > 1)
            figures += gap;
        figures += QString::asprintf("%1d", playerTable[p].cardCount());
    }
    return figures;
}

QRect barButtonRect()
{
    const int rawWidth = static_cast<int>(screenWidth / 100.0 * 4.0);
    const int rawHeight = static_cast<int>(rawWidth * 0.5);
    const int width = std::max(60, rawWidth);
    const int height = std::max(30, rawHeight);
    const int y = screenWidth < 1901 ? statusBarY - 1 : statusBarY + 30 - height;
    const int x = screenWidth < 1000 ? static_cast<int>(screenWidth / 2.6 + statusBarX + 12)
                                     : screenWidth / 2 + statusBarX + 12;
    return QRect(x, y, width, height);
}

QString figuresLineText()
{
    return formatPlayerFigures() + lossesText();
}

QPoint figuresLinePoint()
{
    const QRect button = barButtonRect();
    const int shift = button.width() > 80 ? button.width() - 80 : 0;
    const int y = statusBarY + (smallScreen ? 10 : 20);
    const int x = screenWidth < 1000 ? static_cast<int>(screenWidth / 2.6 + statusBarX + 75)
                                     : shift + 90 + screenWidth / 2 + statusBarX;
    // The figures never touch the button, however wide the screen makes it.
    return QPoint(qMax(x, button.right() + 1 + kFiguresGap), y);
}

void paintStatusBar(QPainter &painter, const MenuStrips &strips)
{
    statusFont.setPixelSize(statusFontPixelSize());
    painter.setFont(statusFont);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(QBrush(Qt::black));
    painter.setPen(kStatusTextColour);

    const QPoint linePoint(statusBarX, statusBarY + 20);
    painter.drawText(linePoint, kClearingBlanks);
    drawStatusTexts(painter, linePoint);

    drawBarButton(painter, strips);

    const QPoint figuresPoint = figuresLinePoint();
    painter.drawText(figuresPoint, kClearingBlanks);
    painter.drawText(figuresPoint, figuresLineText());
    painter.setBackgroundMode(Qt::TransparentMode);
}

bool gameButtonOpen(int id)
{
    switch (id) {
    case 91:
        return true;
    case 92:
        return inGameButtonEnabled[ButtonCancel];
    case 93:
        return inGameButtonEnabled[ButtonCards];
    case 94:
        return inGameButtonEnabled[ButtonMove];
    case 95:
        return inGameButtonEnabled[ButtonAdd] || (ownTurn() && placementPending());
    case 96:
        return inGameButtonEnabled[ButtonAttack];
    case 97:
        return inGameButtonEnabled[ButtonNext];
    case 98:
        return ownTurn() && turnStarted;
    case 99:
        return turnsOfCurrentPlayer() >= 1 && !initialPlacementPhase && turnStarted;
    default:
        return false;
    }
}

bool gameButtonShownEnabled(int id)
{
    if (!gameButtonOpen(id))
        return false;
    // Add for a placement, Next, Continents and Stats wait until the queued steps have played.
    switch (id) {
    case 95:
        return inGameButtonEnabled[ButtonAdd] || actionQueueCount == 0;
    case 97:
        return ownTurn() && idle();
    case 98:
    case 99:
        return actionQueueCount == 0;
    default:
        return true;
    }
}

bool gameButtonInSecondColumn(int id)
{
    return id - kFirstGameButton >= 4;
}

int gameButtonStripY(int id)
{
    for (const GameButtonRow &row : kGameButtonRows)
        if (row.id == id)
            return gameButtonShownEnabled(id) ? row.enabledY : row.disabledY;
    return -1;
}

bool paintGamePanel(QPainter &painter, const MenuStrips &strips)
{
    const int pressed = pressedButton;
    for (const GameButtonRow &row : kGameButtonRows) {
        const int index = row.id - kFirstGameButton + 1;
        const bool inSecond = smallScreen && gameButtonInSecondColumn(row.id);
        const QRect target = menuRowRect(inSecond ? index - 4 : index, inSecond, true);
        menuRowY = target.top();
        if (row.id == pressed)
            drawMenuButton(painter, strips, true, true, 330 + 30 * (row.id - kFirstGameButton), target);
        else
            drawMenuButton(painter, strips, true, false, gameButtonStripY(row.id), target);
        if (row.id == kFirstGameButton && saveAllowed && actionQueueCount == 0)
            drawSaveMark(painter, menuButtonFace(target));
    }
    for (int k = 1; k <= 6; ++k)
        gameButtonDrawn[k] = inGameButtonEnabled[k];

    if (pressed < kFirstGameButton || pressed > kLastGameButton)
        return false;
    if (pressed == kFirstGameButton && changeScreenAtOnce(91))
        return true;
    queueButtonPress(pressed);
    return false;
}

void resetPaintStatusBar()
{
    statusFont = QFont();
    gameButtonDrawn.fill(0);
}
