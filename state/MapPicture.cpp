#include "state/MapPicture.h"

#include "state/GameState.h"
#include "state/LabelGlyphs.h"
#include "state/MapView.h"
#include "state/Seams.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const MapPictureSet kMapPictures[] = {
    {MapSwampII, ":/tifa/SwampII.png", nullptr, nullptr},
    {MapThreeNationsB, ":/tifa/3tarvans_B.png", nullptr, nullptr},
    {MapThreeNations, ":/tifa/3tarvans.png", nullptr, nullptr},
    {MapSwamp, ":/tifa/SixIslands.png", nullptr, ":/tifa/SixIslands129XW.png"},
    {MapRealWorld, ":/tifa/realwXW.png", nullptr, ":/tifa/realw129XW.png"},
    {MapGreatBritain, ":/tifa/GreatBritain.png", nullptr, nullptr},
    {MapChina, ":/tifa/China.png", nullptr, ":/tifa/China129XW.png"},
    {MapWorms, ":/tifa/Worms.png", nullptr, nullptr},
    {MapScandinavia, ":/tifa/ScandinaviaXW.png", nullptr, ":/tifa/Scandi129XW.png"},
    {MapAustralia, ":/tifa/Australia.png", ":/tifa/AustraliaXW.png", ":/tifa/austral129XW.png"},
    {MapJapan, ":/tifa/Japan.png", ":/tifa/JapanKoreaXW.png", ":/tifa/japkor129XW.png"},
    {MapNorthAmerica, ":/tifa/NAmerica.png", ":/tifa/NAmericaXW.png", ":/tifa/america129XW.png"},
    {MapWorldII, ":/tifa/WorldII.png", nullptr, ":/tifa/WorldII129XW.png"},
    {MapWorld, ":/tifa/World.png", nullptr, ":/tifa/world129XW.png"},
    {MapEurope, ":/tifa/Europe.png", nullptr, ":/tifa/europe129XW.png"},
};

// How a territory was last painted: enough to paint any of its pixels again, and its label.
struct PaintedLook {
    bool painted = false;
    QRgb fill = 0;
    bool shaded = false;
    int armies = 0;
    QRgb labelColour = 0;
    bool labelShadow = false;
    QRgb shadowColour = 0;
    bool hit = false;
    int defenceMissiles = 0;
    int attackMissiles = 0;
};

// Pixels of the picture as it was loaded, kept for one rectangle.
struct KeptPixels {
    QRect area;
    QImage pixels;

    void keep(const QImage &picture, const QRect &wanted)
    {
        area = wanted.intersected(picture.rect());
        pixels = area.isEmpty() ? QImage() : picture.copy(area);
    }
    // The kept pixels of row y from picture pixel (x, y) on; (x, y) lies in `area`.
    const QRgb *from(int x, int y) const
    {
        return reinterpret_cast<const QRgb *>(pixels.constScanLine(y - area.top())) + (x - area.left());
    }
};

struct PictureState {
    TerritoryRegions regions;
    // The picture as loaded, only where painting puts its pixels back: under each army number
    // and under the player panel. A whole copy would double the picture's memory.
    std::array<KeptPixels, kMaxTerritories + 1> underLabel{};
    KeptPixels underPanel;
    std::array<PaintedLook, kMaxTerritories + 1> looks{};
    std::array<QRect, kMaxTerritories + 1> labelAreas{};
    // Where each army number is drawn (see numberCentreFor).
    std::array<QPoint, kMaxTerritories + 1> numberPoints{};
    // Territories whose label areas reach into the pixels a repaint of t may change.
    std::array<std::vector<int>, kMaxTerritories + 1> labelsAround{};
    int glyphSize = 1;
    // Regions grown from a picture that was not fresh (most label points off the greys) are
    // grown again as soon as another picture is put in.
    bool doubtful = false;
    qint64 knownKey = 0;
};

PictureState &picture()
{
    static PictureState state;
    return state;
}

constexpr QRgb kLightLabel = qRgb(255, 245, 245);
constexpr QRgb kDarkLabel = qRgb(0, 0, 64);
constexpr int kShadeLevels = 32;

int channelTimes(int channel, double factor)
{
    return qBound(0, static_cast<int>(channel * factor + 0.5), 255);
}

QRgb scaled(QRgb colour, double factor)
{
    return qRgb(channelTimes(qRed(colour), factor), channelTimes(qGreen(colour), factor),
                channelTimes(qBlue(colour), factor));
}

QRgb lightened(QRgb colour, double amount)
{
    const auto towardWhite = [amount](int c) { return c + static_cast<int>((255 - c) * amount + 0.5); };
    return qRgb(towardWhite(qRed(colour)), towardWhite(qGreen(colour)), towardWhite(qBlue(colour)));
}

int luma(QRgb colour)
{
    return (299 * qRed(colour) + 587 * qGreen(colour) + 114 * qBlue(colour)) / 1000;
}

QRgb ownerColour(int owner)
{
    return owner >= 0 && owner <= kMaxPlayers ? colourTable[owner] : colourTable[0];
}

// The shaded fill: lit from the top left of the territory, darker toward the bottom right.
double shadeFactor(int level)
{
    return 1.16 - 0.36 * level / (kShadeLevels - 1);
}

int shadeLevel(const QRect &bounds, int x, int y)
{
    const int span = qMax(1, bounds.width() + bounds.height() - 2);
    const int along = (x - bounds.left()) + (y - bounds.top());
    return qBound(0, along * (kShadeLevels - 1) / span, kShadeLevels - 1);
}

QRgb fillAt(const PaintedLook &look, const QRect &bounds, int x, int y)
{
    return look.shaded ? scaled(look.fill, shadeFactor(shadeLevel(bounds, x, y))) : look.fill;
}

std::array<QPoint, kMaxTerritories + 1> currentLabelPoints()
{
    std::array<QPoint, kMaxTerritories + 1> points{};
    const int count = qBound(0, static_cast<int>(territoryCount), kMaxTerritories);
    for (int t = 1; t <= count; ++t) {
        int x = territoryPos[t].x;
        int y = territoryPos[t].y;
        designToPicture(x, y);
        points[t] = QPoint(x, y);
    }
    return points;
}

int glyphSizeFor(double scale)
{
    return qMax(1, static_cast<int>(scale * 0.8 + 0.5));
}

// Army number in the middle, a hit cross behind it, missile marks in a row below.
QRect labelAreaAround(const QPoint &point, int k)
{
    return QRect(point.x() - 20 * k, point.y() - 8 * k, 41 * k + 1, 24 * k + 1);
}

bool isPaintable(const QImage &image)
{
    return image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        || image.format() == QImage::Format_ARGB32_Premultiplied;
}

void growRegions(const std::array<QPoint, kMaxTerritories + 1> &points)
{
    PictureState &state = picture();
    if (!isPaintable(mapImage))
        mapImage = mapImage.convertToFormat(QImage::Format_RGB32);
    state.regions.build(mapImage, points, territoryCount);
    state.looks.fill(PaintedLook{});
    state.glyphSize = glyphSizeFor(labelScale());

    const int count = state.regions.count();
    const QRect panel = playerPanelArea();
    int withoutRegion = 0;
    state.underLabel.fill(KeptPixels{});
    for (int t = 1; t <= count; ++t) {
        state.numberPoints[t] = numberCentreFor(points[t], state.glyphSize, mapImage.size(), panel);
        state.labelAreas[t] = labelAreaAround(state.numberPoints[t], state.glyphSize);
        state.underLabel[t].keep(mapImage, state.labelAreas[t]);
        withoutRegion += state.regions.area(t) == 0 ? 1 : 0;
    }
    for (int t = 1; t <= count; ++t) {
        const QRect reach = state.labelAreas[t].united(state.regions.bounds(t));
        state.labelsAround[t].clear();
        for (int v = 1; v <= count; ++v)
            if (state.labelAreas[v].intersects(reach))
                state.labelsAround[t].push_back(v);
    }
    state.underPanel.keep(mapImage, panel);
    state.doubtful = count > 0 && withoutRegion * 2 > count;
    state.knownKey = mapImage.cacheKey();
}

// Grows the regions again when the picture or the map is not the one they were grown for.
bool ensureRegions()
{
    if (mapImage.isNull())
        return false;
    PictureState &state = picture();
    const auto points = currentLabelPoints();
    const bool stale = state.regions.isEmpty() || state.regions.size() != mapImage.size()
        || state.regions.count() != territoryCount || state.regions.labelPoints() != points
        || (state.doubtful && mapImage.cacheKey() != state.knownKey) || !isPaintable(mapImage);
    if (stale)
        growRegions(points);
    return true;
}

QRgb *rowOf(int y)
{
    return reinterpret_cast<QRgb *>(mapImage.scanLine(y));
}

void fillRegion(int t)
{
    const PictureState &state = picture();
    const PaintedLook &look = state.looks[t];
    const QRect bounds = state.regions.bounds(t);
    std::array<QRgb, kShadeLevels> shades{};
    for (int level = 0; level < kShadeLevels; ++level)
        shades[level] = scaled(look.fill, shadeFactor(level));
    uchar *bits = mapImage.bits();
    const qsizetype stride = mapImage.bytesPerLine();
    const int span = qMax(1, bounds.width() + bounds.height() - 2);
    for (const RegionRun &run : state.regions.runs(t)) {
        QRgb *row = reinterpret_cast<QRgb *>(bits + run.y * stride);
        if (!look.shaded) {
            std::fill(row + run.x0, row + run.x1 + 1, look.fill);
            continue;
        }
        // shadeLevel() step by step: the quotient and remainder of the growing numerator.
        const int numerator = ((run.x0 - bounds.left()) + (run.y - bounds.top())) * (kShadeLevels - 1);
        int level = numerator / span;
        int remainder = numerator % span;
        for (int x = run.x0; x <= run.x1; ++x) {
            row[x] = shades[qMin(level, kShadeLevels - 1)];
            remainder += kShadeLevels - 1;
            while (remainder >= span) {
                remainder -= span;
                ++level;
            }
        }
    }
}

// Puts back what lies under t's label area: other territories' fills and the untouched picture.
void restoreUnderLabel(int t)
{
    const PictureState &state = picture();
    const KeptPixels &kept = state.underLabel[t];
    const QRect area = state.labelAreas[t].intersected(mapImage.rect()).intersected(kept.area);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb *row = rowOf(y);
        const QRgb *original = kept.from(area.left(), y);
        for (int x = area.left(); x <= area.right(); ++x) {
            const int u = state.regions.territoryAt(x, y);
            if (u == t)
                continue;
            row[x] = u != 0 && state.looks[u].painted ? fillAt(state.looks[u], state.regions.bounds(u), x, y)
                                                      : original[x - area.left()];
        }
    }
}

void drawLabel(int v, const QRect &clip)
{
    const PictureState &state = picture();
    const PaintedLook &look = state.looks[v];
    const QPoint at = state.numberPoints[v];
    const int k = state.glyphSize;
    if (look.hit)
        drawMark(mapImage, MarkShape::Cross, at.x(), at.y(), 15 * k, colourTable[12], kDarkLabel, clip);
    drawNumber(mapImage, at.x(), at.y(), look.armies, k, look.labelColour, look.labelShadow, look.shadowColour, clip);

    // Missile marks: defence on the left, attack on the right, each with its count.
    const int markY = at.y() + 10 * k;
    const auto drawMissiles = [&](int count, MarkShape shape, QRgb colour, int left) {
        if (count <= 0)
            return;
        drawMark(mapImage, shape, left + 3 * k, markY, 5 * k, colour, kDarkLabel, clip);
        const int shown = qMin(count, 99);
        drawNumber(mapImage, left + 6 * k + numberSize(shown, k).width() / 2 + 1, markY, shown, k,
                   look.labelColour, look.labelShadow, look.shadowColour, clip);
    };
    drawMissiles(look.defenceMissiles, MarkShape::Square, colourTable[15], at.x() - 20 * k);
    drawMissiles(look.attackMissiles, MarkShape::Triangle, colourTable[11], at.x() + 1);
}

// Near-white or dark-blue army numbers by the display style, unless that colour would vanish
// in the territory's own colour.
void chooseLabelColours(PaintedLook &look, QRgb underLabel)
{
    const QRgb styled = displayOptionB ? kLightLabel : kDarkLabel;
    const QRgb other = displayOptionB ? kDarkLabel : kLightLabel;
    look.labelColour = std::abs(luma(styled) - luma(underLabel)) < 100 ? other : styled;
    look.labelShadow = look.labelColour == kLightLabel;
    look.shadowColour = scaled(underLabel, 0.5);
}

qint16 shownMissiles(const std::array<qint16, 224> &table, int t)
{
    return t >= 0 && t < static_cast<int>(table.size()) ? table[t] : 0;
}

// ---- Player panel ----

PlayerPanelContent &panelShown()
{
    static PlayerPanelContent shown;
    return shown;
}

void restorePanelBackground(const QRect &area)
{
    const KeptPixels &kept = picture().underPanel;
    const QRect box = area.intersected(mapImage.rect()).intersected(kept.area);
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const QRgb *original = kept.from(box.left(), y);
        std::copy(original, original + box.width(), rowOf(y) + box.left());
    }
}

// As many nines as the widest armies figure has digits, four at least: a loaded game may give a
// player armies of ten digits, and the column grows so that they never run into the next one.
QString widestArmies(const PlayerPanelContent &content)
{
    int most = 0;
    for (int p = 1; p <= content.players; ++p)
        most = qMax(most, content.rows[p].armies);
    return QString(qMax(4, QString::number(most).size()), QLatin1Char('9'));
}

// A name's text kept to its own row: marks stacked on a letter never reach the rows around it.
void drawTextInRow(QPainter &painter, const QRect &row, int flags, const QString &text)
{
    painter.save();
    painter.setClipRect(row, Qt::IntersectClip);
    painter.drawText(row, flags, text);
    painter.restore();
}

// Where the panel's lines lie in `area`: a row for each of `players`, then the line of the player
// to play.
struct PanelLines {
    PanelLines(const QRect &area, double scale, int players)
        : scale(scale), players(players), rowHeight(px(12)), padding(px(4))
    {
        const int height = padding * 2 + players * rowHeight + rowHeight + px(2);
        box = QRect(area.left(), area.top(), area.width(), qMin(area.height(), height));
    }
    int px(double design) const { return static_cast<int>(design * scale + 0.5); }
    int rowTop(int player) const { return box.top() + padding + (player - 1) * rowHeight; }
    QRect row(int player) const { return QRect(box.left() + 1, rowTop(player), box.width() - 2, rowHeight); }
    QRect toPlayLine() const
    {
        return QRect(box.left() + padding, rowTop(players + 1) + px(2), box.width() - 2 * padding, rowHeight);
    }

    double scale;
    int players;
    int rowHeight;
    int padding;
    QRect box;
};

void paintPanel(QPainter &painter, const QRect &area, double scale, const PlayerPanelContent &content)
{
    const int players = content.players;
    const PanelLines lines(area, scale, players);
    const auto px = [&lines](double design) { return lines.px(design); };
    const int rowHeight = lines.rowHeight;
    const int padding = lines.padding;
    const QRect box = lines.box;

    painter.setPen(QColor(10, 14, 28));
    painter.setBrush(QColor(26, 32, 52));
    painter.drawRect(box.adjusted(0, 0, -1, -1));

    QFont font;
    font.setPixelSize(qMax(6, px(9)));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    // Each column as wide as its widest figure and a gap, so figures never run together.
    const int gap = px(4);
    const int territoriesWidth = metrics.horizontalAdvance(QStringLiteral("999")) + gap;
    const int armiesWidth = metrics.horizontalAdvance(widestArmies(content)) + gap;
    const int experienceWidth = content.experienceShown ? metrics.horizontalAdvance(QStringLiteral("999%")) + gap : 0;
    const int swatch = px(8);
    const int nameLeft = box.left() + padding + swatch + px(4);
    const int nameWidth = box.right() - padding - armiesWidth - territoriesWidth - experienceWidth - nameLeft;

    for (int p = 1; p <= players; ++p) {
        const PlayerPanelRow &shown = content.rows[p];
        const QRect row = lines.row(p);
        const int top = row.top();
        if (p == content.toPlay)
            painter.fillRect(row, QColor(70, 84, 120));
        painter.fillRect(QRect(box.left() + padding, top + (rowHeight - swatch) / 2, swatch, swatch),
                         QColor(ownerColour(p)));
        const bool out = shown.territories == 0;
        painter.setPen(out ? QColor(120, 124, 140) : QColor(240, 240, 232));
        const QString name = metrics.elidedText(shown.name, Qt::ElideRight, qMax(0, nameWidth));
        drawTextInRow(painter, QRect(nameLeft, top, nameWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, name);
        int right = box.right() - padding;
        if (content.experienceShown) {
            painter.drawText(QRect(right - experienceWidth, top, experienceWidth, rowHeight),
                             Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1%").arg(shown.experience));
            right -= experienceWidth;
        }
        painter.drawText(QRect(right - armiesWidth, top, armiesWidth, rowHeight), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(shown.armies));
        right -= armiesWidth;
        painter.drawText(QRect(right - territoriesWidth, top, territoriesWidth, rowHeight),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(shown.territories));
    }
    painter.setPen(QColor(255, 230, 150));
    const QRect toPlay = lines.toPlayLine();
    const QString line = metrics.elidedText(content.rows[content.toPlay].name + QStringLiteral(" to play.."),
                                            Qt::ElideMiddle, toPlay.width());
    drawTextInRow(painter, toPlay, Qt::AlignLeft | Qt::AlignVCenter, line);
}

// The panel as it stands for `toPlay`, its figures read from the map as shown.
PlayerPanelContent panelContentFor(int toPlay)
{
    PlayerPanelContent content;
    content.players = qBound(0, static_cast<int>(playerCount), kMaxPlayers);
    // Outside a game (the start menu, a set-up not yet played) the panel shows nothing.
    if (toPlay < 1 || toPlay > content.players)
        return PlayerPanelContent{};
    content.toPlay = toPlay;
    content.experienceShown = troopExperienceEnabled != 0;
    const int count = qBound(0, static_cast<int>(territoryCount), kMaxTerritories);
    for (int t = 1; t <= count; ++t) {
        const TerritoryState &shown = displayedTerritoryState[t];
        if (shown.owner >= 1 && shown.owner <= content.players) {
            content.rows[shown.owner].territories += 1;
            content.rows[shown.owner].armies += qMax(0, static_cast<int>(shown.armies));
        }
    }
    for (int p = 1; p <= content.players; ++p) {
        content.rows[p].name = playerName[p].trimmed();
        content.rows[p].experience = troopExperienceShown[toPlay][p];
    }
    return content;
}

void paintPanelContent(const PlayerPanelContent &content)
{
    const QRect area = playerPanelArea();
    restorePanelBackground(area);
    if (content.toPlay >= 1) {
        QPainter painter(&mapImage);
        painter.setClipRect(area);
        paintPanel(painter, area, labelScale(), content);
    }
    panelShown() = content;
    picture().knownKey = mapImage.cacheKey();
}

} // namespace

void updateTerritoryDisplay(int territory, int armies, int owner, int highlighted, int missileHitMark, int)
{
    if (territory < 1 || territory > territoryCount || territory > kMaxTerritories || !ensureRegions())
        return;
    PictureState &state = picture();
    PaintedLook &look = state.looks[territory];
    look.painted = true;
    // Gradient (the style set) shades the territories and Solid fills them flat; a highlighted
    // territory takes the other fill and a lighter colour.
    look.shaded = (displayOptionB != 0) != (highlighted != 0);
    look.fill = highlighted ? lightened(ownerColour(owner), 0.45) : ownerColour(owner);
    look.armies = qBound(0, armies, 999);
    look.hit = missileHitMark != 0;
    look.defenceMissiles = shownMissiles(displayedDefenceMissiles, territory);
    look.attackMissiles = shownMissiles(displayedAttackMissiles, territory);
    const QPoint at = state.regions.labelPoints()[territory];
    chooseLabelColours(look, fillAt(look, state.regions.bounds(territory), at.x(), at.y()));

    fillRegion(territory);
    restoreUnderLabel(territory);
    const QRect changed = state.labelAreas[territory].united(state.regions.bounds(territory));
    for (int v : state.labelsAround[territory])
        if (state.looks[v].painted)
            drawLabel(v, changed);
    state.knownKey = mapImage.cacheKey();
}

void sendTurnUpdate(int territory)
{
    if (!isValidTerritory(territory))
        return;
    territoryChanged[territory] = highlightChanges ? 'j' : 'n';
    displayedTerritoryState[territory] = territoryState[territory];
    updateTerritoryDisplay(territory, territoryState[territory].armies, territoryState[territory].owner,
                           highlightChanges ? 1 : 0, 0, 0);
    interaction().statusChanged();
    // A local player's change goes to the peers at once.
    if (networkSeat > 0 && networkSeat == currentPlayer && networkUpdateSender)
        networkUpdateSender(networkSeat == 1 ? 1003 : 1006);
}

void drawPlayerPanel()
{
    if (!ensureRegions())
        return;
    paintPanelContent(panelContentFor(currentPlayer));
}

QRect playerPanelLineArea(int line)
{
    const PanelLines lines(playerPanelArea(), labelScale(), panelShown().players);
    if (panelShown().toPlay < 1 || line < 1 || line > lines.players + 1)
        return QRect();
    return line <= lines.players ? lines.row(line) : lines.toPlayLine();
}

void refreshPlayerPanel()
{
    if (!ensureRegions())
        return;
    const PlayerPanelContent content = panelContentFor(panelShown().toPlay);
    if (!(content == panelShown()))
        paintPanelContent(content);
}

const PlayerPanelContent &playerPanelShown()
{
    return panelShown();
}

void territoryAtPoint(int x, int y, int &territory)
{
    territory = 999;
    if (!ensureRegions())
        return;
    int pictureX = 0;
    int pictureY = 0;
    windowToPicture(x, y, pictureX, pictureY);
    const int found = picture().regions.territoryAt(pictureX, pictureY);
    if (found >= 1 && found <= territoryCount)
        territory = found;
}

void scalePoint(int &x, int &y)
{
    x = static_cast<int>(x * displayScale);
    y = static_cast<int>(y * displayScale);
}

const MapPictureSet *mapPictureSetsBegin()
{
    return std::begin(kMapPictures);
}

const MapPictureSet *mapPictureSetsEnd()
{
    return std::end(kMapPictures);
}

const MapPictureSet *mapPictureSetFor(MapFlag flag)
{
    for (const MapPictureSet &set : kMapPictures)
        if (set.flag == flag)
            return &set;
    return nullptr;
}

bool mapHasLargePicture(MapFlag flag)
{
    const MapPictureSet *set = mapPictureSetFor(flag);
    return set && set->large;
}

QString currentMapPicturePath()
{
    const MapFlag flag = selectedMap();
    if (flag == MapCustom)
        return customMapImagePath;
    const MapPictureSet *set = mapPictureSetFor(flag);
    if (!set)
        return QString();
    if (largeImageSet && set->large)
        return QString::fromLatin1(set->large);
    if (wideImageSet && set->wide)
        return QString::fromLatin1(set->wide);
    return QString::fromLatin1(set->plain);
}

void installMapPicture(const QImage &newPicture)
{
    mapImage = newPicture;
    if (!mapImage.isNull() && !isPaintable(mapImage))
        mapImage = mapImage.convertToFormat(QImage::Format_RGB32);
    if (mapImage.isNull()) {
        picture().regions.clear();
        return;
    }
    growRegions(currentLabelPoints());
}

const TerritoryRegions &territoryRegions()
{
    ensureRegions();
    return picture().regions;
}

QPoint armyNumberPoint(int territory)
{
    if (!ensureRegions() || territory < 1 || territory > picture().regions.count())
        return QPoint();
    return picture().numberPoints[territory];
}

QRect territoryLabelArea(int territory)
{
    if (!ensureRegions() || territory < 1 || territory > picture().regions.count())
        return QRect();
    return picture().labelAreas[territory];
}

QPoint playerPanelPosition(MapFlag flag)
{
    if (flag != MapCustom)
        if (const BuiltinMap *map = builtinMapFor(flag))
            return QPoint(map->panelX, map->panelY);
    return QPoint(playerPanelX, playerPanelY);
}

QRect playerPanelArea()
{
    const QPoint corner = playerPanelPosition(selectedMap());
    int left = corner.x();
    int top = corner.y();
    int right = corner.x() + kPlayerPanelWidth;
    int bottom = corner.y() + kPlayerPanelHeight;
    designToPicture(left, top);
    designToPicture(right, bottom);
    QRect area(QPoint(left, top), QPoint(right - 1, bottom - 1));
    // A panel placed too near the picture's edge moves inside rather than being cut off.
    if (!mapImage.isNull()) {
        area.moveLeft(qMax(0, qMin(area.left(), mapImage.width() - area.width())));
        area.moveTop(qMax(0, qMin(area.top(), mapImage.height() - area.height())));
    }
    return area;
}

void resetMapPicture()
{
    PictureState &state = picture();
    state.regions.clear();
    state.underLabel.fill(KeptPixels{});
    state.underPanel = KeptPixels{};
    state.looks.fill(PaintedLook{});
    state.labelAreas.fill(QRect());
    state.numberPoints.fill(QPoint());
    for (auto &around : state.labelsAround)
        around.clear();
    state.glyphSize = 1;
    state.doubtful = false;
    state.knownKey = 0;
    resetMapView();
}
