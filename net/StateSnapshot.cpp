#include "net/StateSnapshot.h"

#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/MapLoading.h"
#include "state/TextRules.h"

#include <QFileInfo>

#include <cstring>

namespace {

constexpr int kOwnerWidth = 2;
constexpr int kArmiesWidth = 5;
constexpr int kRecordFieldWidth = 6;
constexpr int kNameWidth = 20;
constexpr int kMapFileNameWidth = 40;
constexpr int kRecordFieldLowest = -99999;
// The host and its clients.
constexpr int kMaxSeats = 1 + kMaxClients;

int largestOf(int width)
{
    int largest = 9;
    for (int i = 1; i < width; ++i)
        largest = largest * 10 + 9;
    return largest;
}

class SnapshotWriter {
public:
    void number(qint32 value, int width, qint32 lowest = 0)
    {
        const qint32 fitted = qBound(lowest, value, largestOf(width));
        text_ += QByteArray::number(fitted).rightJustified(width, ' ');
    }
    void flag(bool on) { text_ += on ? '1' : '0'; }
    void letter(char c) { text_ += c; }
    void name(const QString &value, int width)
    {
        QByteArray bytes = cutToWidth(value, width).toLatin1();
        for (char &c : bytes)
            if (static_cast<unsigned char>(c) < 0x20)
                c = ' ';
        text_ += bytes.leftJustified(width, ' ');
    }
    QByteArray text() const { return text_; }

private:
    QByteArray text_;
};

// Reads the fields in the writer's order; the first bad field spoils the whole read.
class SnapshotReader {
public:
    explicit SnapshotReader(const QByteArray &text) : text_(text) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return at_ == text_.size(); }

    qint32 number(int width, qint32 lowest, qint32 highest)
    {
        const QByteArray field = take(width);
        if (!ok_)
            return 0;
        int i = 0;
        while (i < field.size() && field[i] == ' ')
            ++i;
        const bool negative = i < field.size() && field[i] == '-';
        if (negative)
            ++i;
        const int firstDigit = i;
        qint64 value = 0;
        for (; i < field.size(); ++i) {
            if (field[i] < '0' || field[i] > '9')
                return fail();
            value = value * 10 + (field[i] - '0');
        }
        if (i == firstDigit)
            return fail();
        if (negative)
            value = -value;
        if (value < lowest || value > highest)
            return fail();
        return static_cast<qint32>(value);
    }
    bool flag() { return number(1, 0, 1) == 1; }
    char letter(const char *allowed)
    {
        const QByteArray field = take(1);
        if (!ok_ || field[0] == '\0' || !std::strchr(allowed, field[0]))
            return char(fail());
        return field[0];
    }
    QString name(int width)
    {
        const QByteArray field = take(width);
        for (char c : field)
            if (static_cast<unsigned char>(c) < 0x20)
                fail();
        return ok_ ? QString::fromLatin1(field) : QString();
    }

private:
    QByteArray take(int width)
    {
        if (!ok_ || at_ + width > text_.size()) {
            ok_ = false;
            return QByteArray(width, ' ');
        }
        const QByteArray field = text_.mid(at_, width);
        at_ += width;
        return field;
    }
    int fail()
    {
        ok_ = false;
        return 0;
    }

    QByteArray text_;
    int at_ = 0;
    bool ok_ = true;
};

// The snapshot's fields in their order, once for writing and once for reading, so that the two
// can never disagree about the layout.
void writeFields(SnapshotWriter &w, const StateSnapshot &s)
{
    w.flag(s.namesDue);
    w.number(s.currentPlayer, 2);
    for (const auto *table : {&s.territories, &s.shown})
        for (int t = 1; t <= kMaxTerritories; ++t) {
            w.number((*table)[t].owner, kOwnerWidth);
            w.number((*table)[t].armies, kArmiesWidth);
        }
    for (int p = 1; p <= kMaxPlayers; ++p)
        for (int f = 1; f < PlayerRecord::FieldCount; ++f)
            w.number(s.players[p].f[f], kRecordFieldWidth, kRecordFieldLowest);
    for (qint32 count : s.deck)
        w.number(count, 2);
    w.number(s.mapFlag, 2);
    w.number(s.territoryCount, 3);
    w.number(s.continentCount, 2);
    w.number(s.playerCount, 2);
    w.number(s.humanSeatCount, 2);
    w.letter(s.attackRule == 'j' ? 'j' : 'n');
    w.flag(s.strongholds);
    w.flag(s.troopExperienceOn);
    w.number(s.missionType, 1);
    w.flag(s.neutralArmy);
    w.flag(s.gameOver);
    w.number(s.placementRound, 2);
    w.number(s.initialArmies, 3);
    for (int p = 1; p <= kMaxPlayers; ++p)
        w.number(s.troopExperience[p], 4);
    w.number(s.msgTerritory, 3);
    for (int i = 1; i <= 6; ++i)
        w.number(s.cardTrade[i], 4);
    w.number(s.msgArmies, kArmiesWidth);
    w.number(s.msgOwner, 2);
    w.number(s.highlightedContinent, 2);
    w.number(s.msgFlag, 1);
    if (!s.namesDue)
        return;
    for (int p = 1; p <= kMaxPlayers; ++p)
        w.name(s.names[p], kNameWidth);
    w.name(s.mapFileName, kMapFileNameWidth);
}

void readTerritories(SnapshotReader &r, const StateSnapshot &s, std::array<TerritoryState, kMaxTerritories + 1> &table)
{
    for (int t = 1; t <= kMaxTerritories; ++t) {
        // Beyond the map every slot is empty.
        const bool onMap = t <= s.territoryCount;
        table[t].owner = r.number(kOwnerWidth, 0, onMap ? s.playerCount : 0);
        table[t].armies = r.number(kArmiesWidth, 0, onMap ? largestOf(kArmiesWidth) : 0);
    }
}

void readRecords(SnapshotReader &r, StateSnapshot &s)
{
    for (int p = 1; p <= kMaxPlayers; ++p)
        for (int f = 1; f < PlayerRecord::FieldCount; ++f) {
            qint32 lowest = kRecordFieldLowest;
            qint32 highest = largestOf(kRecordFieldWidth);
            if (f < PlayerRecord::TerritoriesHeld) { // one held flag per continent
                lowest = 0;
                highest = 1;
            } else if (f == PlayerRecord::Stronghold) {
                lowest = 0;
                highest = s.territoryCount;
            }
            s.players[p].f[f] = r.number(kRecordFieldWidth, lowest, highest);
        }
}

// The map this machine plays, as the snapshot names it (a map not yet chosen counts as World).
qint32 currentMapFlag()
{
    const MapFlag selected = selectedMap();
    return selected == MapFlagCount ? MapWorld : selected;
}

// The host's map file is opened in the client's data folder: a name that would lead out of it
// is refused.
bool isBareFileName(const QString &name)
{
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && name != QLatin1String("..");
}

// The counts that bound the other fields come first in the reading, though later in the text.
bool readCounts(const QByteArray &text, StateSnapshot &s)
{
    constexpr int kCountsAt = 1 + 2 + 2 * kMaxTerritories * (kOwnerWidth + kArmiesWidth)
        + kMaxPlayers * (PlayerRecord::FieldCount - 1) * kRecordFieldWidth + 4 * 2;
    SnapshotReader r(text.mid(kCountsAt, 2 + 3 + 2 + 2 + 2));
    s.mapFlag = r.number(2, 0, MapFlagCount - 1);
    s.territoryCount = r.number(3, 1, kMaxTerritories);
    s.continentCount = r.number(2, 0, kMaxContinents);
    s.playerCount = r.number(2, 1, kMaxPlayers);
    s.humanSeatCount = r.number(2, 0, qMin(s.playerCount, kMaxSeats));
    return r.ok();
}

} // namespace

int snapshotLengthFor(char flag)
{
    if (flag == '0')
        return kSnapshotLength;
    if (flag == '1')
        return kSnapshotLength + kSnapshotNamesLength;
    return 0;
}

StateSnapshot captureSnapshot(bool withNames)
{
    StateSnapshot s;
    s.namesDue = withNames;
    s.currentPlayer = currentPlayer;
    for (int t = 1; t <= territoryCount && t <= kMaxTerritories; ++t) {
        s.territories[t] = territoryState[t];
        s.shown[t] = displayedTerritoryState[t];
    }
    s.players = playerTable;
    s.players[0] = PlayerRecord();
    for (int k = 0; k < 4; ++k)
        s.deck[k] = cardDeckCounts[k];
    s.mapFlag = currentMapFlag();
    s.territoryCount = territoryCount;
    s.continentCount = continentCount;
    s.playerCount = playerCount;
    s.humanSeatCount = humanSeatCount;
    s.attackRule = attackRule;
    s.strongholds = strongholdsEnabled ? 1 : 0;
    s.troopExperienceOn = troopExperienceEnabled ? 1 : 0;
    s.missionType = missionType;
    s.neutralArmy = neutralArmyActive ? 1 : 0;
    s.gameOver = gameOver ? 1 : 0;
    s.placementRound = placementRound;
    s.initialArmies = initialArmies;
    s.troopExperience = troopExperience;
    s.msgTerritory = msgTerritory;
    for (int i = 1; i <= 6; ++i)
        s.cardTrade[i] = cardTradeValues[i];
    s.msgArmies = msgArmies;
    s.msgOwner = msgOwner;
    s.highlightedContinent = highlightedContinent;
    s.msgFlag = msgFlag;
    if (withNames) {
        s.names = playerName;
        if (mapCustomFlag)
            s.mapFileName = QFileInfo(mapFilePath).fileName();
    }
    return s;
}

QByteArray encodeSnapshot(const StateSnapshot &snapshot)
{
    SnapshotWriter writer;
    writeFields(writer, snapshot);
    return writer.text();
}

bool decodeSnapshot(const QByteArray &text, StateSnapshot &s)
{
    if (text.isEmpty() || text.size() != snapshotLengthFor(text[0]) || !readCounts(text, s))
        return false;
    SnapshotReader r(text);
    s.namesDue = r.flag();
    s.currentPlayer = r.number(2, 0, s.playerCount);
    readTerritories(r, s, s.territories);
    readTerritories(r, s, s.shown);
    readRecords(r, s);
    for (qint32 &count : s.deck)
        count = r.number(2, 0, 99);
    r.number(2, s.mapFlag, s.mapFlag);
    r.number(3, s.territoryCount, s.territoryCount);
    r.number(2, s.continentCount, s.continentCount);
    r.number(2, s.playerCount, s.playerCount);
    r.number(2, s.humanSeatCount, s.humanSeatCount);
    s.attackRule = r.letter("jn");
    s.strongholds = r.flag();
    s.troopExperienceOn = r.flag();
    s.missionType = r.number(1, 0, 3);
    s.neutralArmy = r.flag();
    s.gameOver = r.flag();
    s.placementRound = r.number(2, 0, 99);
    s.initialArmies = r.number(3, 0, 999);
    for (int p = 1; p <= kMaxPlayers; ++p)
        s.troopExperience[p] = r.number(4, 0, 9999);
    s.msgTerritory = r.number(3, 0, s.territoryCount);
    for (int i = 1; i <= 6; ++i)
        s.cardTrade[i] = r.number(4, 0, i == 6 ? kMaxPlayers : 9999);
    s.msgArmies = r.number(kArmiesWidth, 0, largestOf(kArmiesWidth));
    s.msgOwner = r.number(2, 0, s.playerCount);
    s.highlightedContinent = r.number(2, 0, s.continentCount);
    s.msgFlag = r.number(1, 0, 1);
    if (s.namesDue) {
        for (int p = 1; p <= kMaxPlayers; ++p)
            s.names[p] = r.name(kNameWidth);
        s.mapFileName = r.name(kMapFileNameWidth).trimmed();
        if (!isBareFileName(s.mapFileName))
            return false;
    }
    return r.ok() && r.atEnd();
}

bool snapshotFitsMap(const StateSnapshot &s)
{
    return s.mapFlag == currentMapFlag() && s.territoryCount == territoryCount && s.continentCount == continentCount;
}

void applySnapshot(const StateSnapshot &s, bool rulesToo)
{
    for (int t = 1; t <= s.territoryCount; ++t)
        displayedTerritoryState[t] = s.shown[t];
    msgTerritory = s.msgTerritory;
    for (int i = 1; i <= 6; ++i)
        cardTradeValues[i] = s.cardTrade[i];
    msgArmies = s.msgArmies;
    msgOwner = s.msgOwner;
    highlightedContinent = s.highlightedContinent;
    msgFlag = s.msgFlag;
    if (s.namesDue)
        for (int p = 1; p <= kMaxPlayers; ++p)
            playerName[p] = s.names[p];
    if (!rulesToo)
        return;
    currentPlayer = s.currentPlayer;
    for (int t = 1; t <= s.territoryCount; ++t)
        territoryState[t] = s.territories[t];
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerTable[p] = s.players[p];
    for (int k = 0; k < 4; ++k)
        cardDeckCounts[k] = s.deck[k];
    playerCount = s.playerCount;
    humanSeatCount = s.humanSeatCount;
    attackRule = s.attackRule;
    strongholdsEnabled = s.strongholds;
    troopExperienceEnabled = s.troopExperienceOn;
    missionType = s.missionType;
    neutralArmyActive = s.neutralArmy;
    gameOver = s.gameOver;
    placementRound = s.placementRound;
    initialArmies = s.initialArmies;
    troopExperience = s.troopExperience;
}
