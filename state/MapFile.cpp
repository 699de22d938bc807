#include "state/MapFile.h"

#include "state/TextRules.h"

#include <limits>

QStringList mapFileLines;

namespace {

// Reads a line the way the format's scan patterns do ("%d", "%13s", " %d" ...): a field that
// cannot be read ends the scan of the line. A word longer than its field is cut and the rest
// of it skipped, so one long name does not swallow the numbers that follow.
class LineScanner {
public:
    explicit LineScanner(const QString &line) : line_(line) {}

    bool readInt(qint32 &value)
    {
        skipBlanks();
        int p = pos_;
        bool negative = false;
        if (p < line_.size() && (line_[p] == QLatin1Char('-') || line_[p] == QLatin1Char('+'))) {
            negative = line_[p] == QLatin1Char('-');
            ++p;
        }
        qint64 magnitude = 0;
        const int firstDigit = p;
        while (p < line_.size() && line_[p] >= QLatin1Char('0') && line_[p] <= QLatin1Char('9')) {
            magnitude = qMin<qint64>(magnitude * 10 + (line_[p].unicode() - '0'),
                                     std::numeric_limits<qint32>::max());
            ++p;
        }
        if (p == firstDigit)
            return false;
        pos_ = p;
        value = static_cast<qint32>(negative ? -magnitude : magnitude);
        return true;
    }

    bool readWord(int maxLength, QString &word)
    {
        skipBlanks();
        const int start = pos_;
        while (pos_ < line_.size() && !line_[pos_].isSpace())
            ++pos_;
        if (pos_ == start)
            return false;
        // The whole word: what follows the cut tells whether it would part a character.
        word = cutToWidth(line_.mid(start, pos_ - start), maxLength);
        return true;
    }

private:
    void skipBlanks()
    {
        while (pos_ < line_.size() && line_[pos_].isSpace())
            ++pos_;
    }

    const QString &line_;
    int pos_ = 0;
};

enum class Section { None, Map, PlayerPanel, Smilies, Continents, Territories };

Section headerOf(const QString &line)
{
    static const struct {
        const char *header;
        Section section;
    } headers[] = {{"[map]", Section::Map},
                   {"[player names]", Section::PlayerPanel},
                   {"[smilies and codes]", Section::Smilies},
                   {"[continents]", Section::Continents},
                   {"[territories]", Section::Territories}};
    for (const auto &h : headers)
        if (line.startsWith(QLatin1String(h.header)))
            return h.section;
    return Section::None;
}

bool inTerritoryRange(qint32 n)
{
    return n >= 1 && n <= kMaxTerritories;
}

// Bounds that keep later arithmetic (weights, scaled positions) far from overflow.
constexpr qint32 kMaxBonus = 999;
constexpr qint32 kMaxCoordinate = 99999;

// A map's name is a word of up to 13 characters, kept padded to 14; a file without one names none.
constexpr int kMapNameWidth = 14;
const QString kUnnamedMap = QStringLiteral("noname");

class MapTextParser {
public:
    MapTextParser(MapTables &tables) : t_(tables) {}

    void offer(const QString &line)
    {
        switch (section_) {
        case Section::Map:
            if (takeNextLine())
                readMapName(line);
            break;
        case Section::PlayerPanel:
            if (takeNextLine())
                readPlayerPanel(line);
            break;
        case Section::Smilies:
            if (takeNextLine())
                readSmilies(line);
            break;
        case Section::Continents:
            readContinent(line);
            break;
        case Section::Territories:
            readTerritory(line);
            break;
        case Section::None:
            break;
        }
    }

    void open(Section section)
    {
        section_ = section;
        nextLinePending_ = true;
    }

    int continentLines() const { return continentLines_; }
    int territoryLines() const { return territoryLines_; }

private:
    bool takeNextLine()
    {
        const bool pending = nextLinePending_;
        nextLinePending_ = false;
        return pending;
    }

    void readMapName(const QString &line)
    {
        LineScanner scan(line);
        QString word;
        if (!scan.readWord(kMapNameWidth - 1, word))
            word = kUnnamedMap;
        t_.mapName = fitToWidth(word, kMapNameWidth);
    }

    void readPlayerPanel(const QString &line)
    {
        LineScanner scan(line);
        qint32 x = 10, y = 10;
        if (scan.readInt(x))
            scan.readInt(y);
        t_.playerPanelX = qBound(0, x, kMaxCoordinate);
        t_.playerPanelY = qBound(0, y, kMaxCoordinate);
    }

    void readSmilies(const QString &line)
    {
        LineScanner scan(line);
        QString word;
        t_.smiliesAndCodes = scan.readWord(1, word) && word == QLatin1String("Y");
    }

    void readContinent(const QString &line)
    {
        LineScanner scan(line);
        qint32 bonus = 0;
        if (!scan.readInt(bonus))
            return;
        const int c = ++continentLines_;
        if (c > kMaxContinents)
            return;
        ContinentRecord &record = t_.continentTable[c];
        record.bonus = qBound(-kMaxBonus, bonus, kMaxBonus);
        record.weight = 10 * record.bonus;
        QString name;
        if (!scan.readWord(20, name))
            return;
        t_.continentName[c] = name;
        qint32 member = 0;
        for (int i = 0; i < kMaxContinentMembers && scan.readInt(member); ++i)
            if (inTerritoryRange(member))
                record.members[++record.memberCount] = member;
    }

    void readTerritory(const QString &line)
    {
        LineScanner scan(line);
        qint32 unusedNumber = 0;
        if (!scan.readInt(unusedNumber))
            return;
        const int t = ++territoryLines_;
        if (t > kMaxTerritories)
            return;
        QString code;
        if (!scan.readWord(3, code))
            return;
        t_.territoryCode[t] = code;
        qint32 x = 0, y = 0;
        if (!scan.readInt(x) || !scan.readInt(y))
            return;
        t_.territoryPos[t] = {qBound(-kMaxCoordinate, x, kMaxCoordinate),
                              qBound(-kMaxCoordinate, y, kMaxCoordinate)};
        NeighbourList &list = t_.territoryNeighbours[t];
        int stored = 0;
        qint32 neighbour = 0;
        for (int i = 0; i < kMaxNeighbours && scan.readInt(neighbour); ++i)
            if (inTerritoryRange(neighbour))
                list[++stored] = neighbour;
    }

    MapTables &t_;
    Section section_ = Section::None;
    bool nextLinePending_ = false;
    int continentLines_ = 0;
    int territoryLines_ = 0;
};

// Keeps only the numbers 1..limit of a 0-ended list, in their order.
template <std::size_t N>
int compactList(std::array<qint32, N> &list, int slotCount, qint32 limit)
{
    int kept = 0;
    for (int i = 1; i <= slotCount && list[i] != 0; ++i)
        if (list[i] <= limit)
            list[++kept] = list[i];
    for (int i = kept + 1; i < static_cast<int>(N); ++i)
        list[i] = 0;
    return kept;
}

int belongsTo(const MapTables &t, int territory)
{
    for (int c = 1; c <= t.continentCount; ++c)
        for (int i = 1; i <= kMaxContinentMembers && t.continentTable[c].members[i] != 0; ++i)
            if (t.continentTable[c].members[i] == territory)
                return c;
    return 0;
}

bool listedByOutsider(const MapTables &t, int member, int continent,
                      const std::array<int, kMaxTerritories + 1> &home)
{
    for (int other = 1; other <= t.territoryCount; ++other) {
        if (home[other] == continent)
            continue;
        const NeighbourList &list = t.territoryNeighbours[other];
        for (int i = 1; i <= kMaxNeighbours && list[i] != 0; ++i)
            if (list[i] == member)
                return true;
    }
    return false;
}

// Border lists: the members that some territory of another continent (or of none) lists.
int buildBorders(MapTables &t)
{
    int result = MapFileOk;
    std::array<int, kMaxTerritories + 1> home{};
    for (int territory = 1; territory <= t.territoryCount; ++territory)
        home[territory] = belongsTo(t, territory);
    t.maxBorderCount = t.maxContinentSize = t.totalBorderCount = 0;
    for (int c = 1; c <= t.continentCount; ++c) {
        const ContinentRecord &record = t.continentTable[c];
        BorderList &borders = t.continentBorders[c];
        int count = 0;
        for (int i = 1; i <= record.memberCount; ++i)
            if (listedByOutsider(t, record.members[i], c, home))
                borders[++count] = record.members[i];
        if (count == 0)
            result = MapFileContinentWithoutBorder;
        t.maxBorderCount = qMax(t.maxBorderCount, count);
        t.maxContinentSize = qMax(t.maxContinentSize, record.memberCount);
        t.totalBorderCount += count;
    }
    return result;
}

void clearParsedTables(MapTables &t)
{
    for (auto &name : t.continentName)
        name.clear();
    t.continentTable.fill({});
    t.continentBorders.fill({});
    t.territoryNeighbours.fill({});
    t.mapName = fitToWidth(kUnnamedMap, kMapNameWidth);
    t.playerPanelX = t.playerPanelY = 10;
    t.smiliesAndCodes = false;
}

} // namespace

int parseMapText(const QStringList &lines, MapTables &tables, bool networkGame)
{
    MapTextParser parser(tables);
    for (const QString &line : lines) {
        parser.offer(line);
        const Section header = headerOf(line);
        if (header != Section::None)
            parser.open(header);
    }
    const int continents = qMin(parser.continentLines(), kMaxContinents);
    const int territories = qMin(parser.territoryLines(), kMaxTerritories);

    // Numbers naming territories that the file does not have would make phantom land.
    for (int t = 1; t <= territories; ++t)
        compactList(tables.territoryNeighbours[t], kMaxNeighbours, territories);
    for (int c = 1; c <= continents; ++c) {
        ContinentRecord &record = tables.continentTable[c];
        record.memberCount = compactList(record.members, kMaxContinentMembers, territories);
    }

    int result = MapFileOk;
    if (continents == 0)
        result = MapFileNoContinents;
    if (territories == 0)
        result = MapFileNoTerritories;
    for (int t = 1; t <= territories; ++t)
        if (tables.territoryNeighbours[t][1] == 0)
            result = MapFileTerritoryWithoutNeighbour;
    if (networkGame && (territories > kNetworkMaxTerritories || continents > kNetworkMaxContinents))
        result = MapFileTooLargeForNetwork;
    if (result != MapFileOk)
        return result;

    tables.continentCount = continents;
    tables.territoryCount = territories;
    return buildBorders(tables);
}

void loadMapFile(int &result)
{
    MapTables scratch = mapTables;
    clearParsedTables(scratch);
    result = parseMapText(mapFileLines, scratch, gameMode == ModeHost || gameMode == ModeClient);
    if (result == MapFileOk)
        mapTables = scratch;
}

QString mapFileErrorText(int result)
{
    switch (result) {
    case MapFileNoContinents:
        return QStringLiteral("No [continents] - Map File Error");
    case MapFileNoTerritories:
        return QStringLiteral("No [territories] - Map File Error");
    case MapFileContinentWithoutBorder:
        return QStringLiteral("Continent without border territory - Map File Error");
    case MapFileTerritoryWithoutNeighbour:
        return QStringLiteral("Territory without neighbours - Map File Error");
    case MapFileTooLargeForNetwork:
        return QStringLiteral("More than 116 territories or 14 continents in a network game - Map File Error");
    default:
        return QStringLiteral("Unreadable map - Map File Error");
    }
}
