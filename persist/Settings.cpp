#include "persist/Settings.h"

#include "persist/DataFolder.h"
#include "persist/DataStream.h"
#include "persist/WholeFile.h"
#include "rules/TurnState.h"
#include "state/ForcedOptions.h"
#include "state/Seams.h"

#include <functional>
#include <variant>
#include <vector>

SettingsRecord settingsRecord;
QString settingsFilePath;

quint8 partialSaveFlag = 0;
quint8 saveHotseatNamesFlag = 0;
quint8 saveHighScoreNameFlag = 0;
quint8 resolveUnstableOnLoad = 1;
char resumedGameMark = 'n';

quint8 reservedFlag1 = 0;
quint8 reservedFlag2 = 0;
quint8 reservedFlag3 = 0;
quint8 reservedFlag4 = 0;
qint32 mapShownSetting = 0;
qint32 savesUsed = 0;
QString lastSaveFileName;
QString lastLanHost;
QString lastInternetHost;
QString hostExternalIp;
QString hostGameName;

namespace {

// Far more than the record can ever take; anything larger is not a settings file.
constexpr qint64 kMaxSettingsFileBytes = 64 * 1024;
constexpr int kDefaultNameLength = 18;
constexpr qint32 kMarkerValue = 1000;

const char *const kDefaultPlayerNames[kMaxPlayers + 1] = {
    "", "player", "pc II", "pc III", "pc IV", "pc V", "pc VI", "pc VII", "pc VIII", "pc IX", "pc X"};

// A damaged file is reported once, not at every return to the start screen; a failed write
// once, not at every change of an option.
bool damagedFileReported = false;
bool writeFailureReported = false;

// Set by the set-up flow and the loader, cleared by the reset to the defaults.
bool gameUnderWay = false;

QString paddedName(const QString &name)
{
    return name.leftJustified(kDefaultNameLength, QLatin1Char(' '));
}

QString blankName()
{
    return QString(kDefaultNameLength, QLatin1Char(' '));
}

constexpr int kSettingsFields = 20;

// One field of the file's table, 1 to 20, in the direction of `io`.
template <class Io>
void streamSettingsField(Io &io, SettingsRecord &r, int field)
{
    switch (field) {
    case 1: io.int32s(r.colourOrder, 1, 20); break;
    case 2: io.int32s(r.personalities, 1, kMaxPlayers, 0, kPersonalityUnstable); break;
    case 3: io.flag(r.randomMixPersonalities); break;
    case 4: io.flag(r.fastSpeed); break;
    case 5: io.int32(r.mapShownSetting); break;
    case 6: io.int32(r.markerValue); break;
    case 7:
        for (quint8 *flag : {&r.reservedFlag1, &r.hideMapDownloadHint, &r.reservedFlag2, &r.reservedFlag3,
                             &r.speedFlag288, &r.speedFlag224, &r.speedFlag160, &r.speedFlag96})
            io.flag(*flag);
        break;
    case 8: io.int32(r.displaySizeClass, 1, 4); break;
    case 9:
        io.flags(r.soundEnabled, 1, 9);
        io.flag(r.reservedFlag4);
        io.flag(r.displayOptionA);
        break;
    case 10: io.int32(r.routeLimitSetting, 0, kMaxRoutes); break;
    case 11: io.int32(r.savesUsed, 0, kMaxRankSaves); break;
    case 12: io.flag(r.animationsEnabled); break;
    case 13: io.text(r.highScoreName); break;
    case 14: io.text(r.lastLanHost); break;
    case 15: io.text(r.lastInternetHost); break;
    case 16: io.text(r.hostExternalIp); break;
    case 17: io.text(r.hostGameName); break;
    case 18: io.texts(r.hotseatNames, 1, kMaxPlayers); break;
    case 19: io.texts(r.playerNames, 1, kMaxPlayers); break;
    case 20: io.text(r.lastSaveFileName, kMaxStoredPathLength); break;
    }
}

template <class Io>
void streamSettings(Io &io, SettingsRecord &r)
{
    for (int field = 1; field <= kSettingsFields; ++field)
        streamSettingsField(io, r, field);
}

// Read: every field whole and in range. EndedEarly: the bytes ran out, every field before that
// was whole and in range. Refused: a value out of its range or a damaged text. NotAFile: a
// folder, a named pipe, a device or a socket has the file's name; it is neither read nor replaced.
// Unreadable: a file the program may not or cannot read; what it holds is unknown, so it is not
// replaced either.
enum class SettingsFile { Read, EndedEarly, Missing, Refused, NotAFile, Unreadable };

// Reads the fields in order over `record`: the fields a file that ends early does not hold whole
// keep the values `record` has. A refused file leaves `record` as it was.
SettingsFile readSettingsFields(const QByteArray &bytes, SettingsRecord &record)
{
    RecordReader reader(bytes);
    SettingsRecord read = record;
    for (int field = 1; field <= kSettingsFields; ++field) {
        const SettingsRecord before = read;
        streamSettingsField(reader, read, field);
        if (reader.ranOut()) {
            record = before;
            return SettingsFile::EndedEarly;
        }
        if (!reader.ok())
            return SettingsFile::Refused;
    }
    record = read;
    return SettingsFile::Read;
}

// The names and addresses as typed ones are kept: one line of whole characters, nothing hidden,
// cut so that every file written reads back.
void keepTextsAsTyped(SettingsRecord &r)
{
    for (QString *text : {&r.highScoreName, &r.lastLanHost, &r.lastInternetHost, &r.hostExternalIp,
                          &r.hostGameName})
        *text = cutStoredText(*text);
    for (int p = 1; p <= kMaxPlayers; ++p) {
        r.hotseatNames[p] = cutStoredText(r.hotseatNames[p]);
        r.playerNames[p] = cutStoredText(r.playerNames[p]);
    }
}

// The fixed fields, and the texts as they are kept.
void normalise(SettingsRecord &r)
{
    for (int i = 1; i <= 20; ++i)
        r.colourOrder[i] = i;
    r.markerValue = kMarkerValue;
    keepTextsAsTyped(r);
    r.lastSaveFileName = r.lastSaveFileName.left(kMaxStoredPathLength);
}

void reportWriteFailure(const QString &why)
{
    if (writeFailureReported)
        return;
    writeFailureReported = true;
    interaction().message(MessageIcon::Warning, QStringLiteral("Tarvan GX"),
                          QStringLiteral("The settings could not be saved to %1:\n%2.\n\n"
                                         "The settings in use stay in use until the program ends.")
                              .arg(settingsFilePath, why));
}

// Writes the record whole; false, with the reason, when the file keeps its old bytes.
bool writeSettingsFile(SettingsRecord &record, QString &why)
{
    normalise(record);
    QByteArray bytes;
    RecordWriter writer(&bytes);
    streamSettings(writer, record);
    // A global out of its range would make a file that the next start refuses: keep the old one.
    SettingsRecord check;
    RecordReader reader(bytes);
    streamSettings(reader, check);
    why = QStringLiteral("an option is out of its range");
    return writer.ok() && reader.ok() && writeWholeFile(settingsFilePath, bytes, &why);
}

// A failed write is told once, until a write succeeds again.
bool tellWrite(bool written, const QString &why)
{
    if (!written) {
        reportWriteFailure(why);
        return false;
    }
    damagedFileReported = writeFailureReported = false;
    return true;
}

// Fields that every save takes from the globals as they stand (a forced one as the player chose it).
void storeOptions(SettingsRecord &r)
{
    r.fastSpeed = chosenFastSpeed();
    r.mapShownSetting = mapShownSetting;
    r.reservedFlag1 = reservedFlag1;
    r.hideMapDownloadHint = hideMapDownloadHint;
    r.reservedFlag2 = reservedFlag2;
    r.reservedFlag3 = reservedFlag3;
    r.speedFlag288 = speedFlag288;
    r.speedFlag224 = speedFlag224;
    r.speedFlag160 = speedFlag160;
    r.speedFlag96 = speedFlag96;
    r.displaySizeClass = displaySizeClass;
    for (int i = 1; i <= 9; ++i)
        r.soundEnabled[i] = soundEnabled[i];
    r.reservedFlag4 = reservedFlag4;
    r.displayOptionA = displayOptionA;
    r.routeLimitSetting = routeLimits[4];
    r.savesUsed = savesUsed;
}

// An Unstable player keeps Unstable in the file, not the personality he plays by meanwhile.
void storePersonalities(SettingsRecord &r)
{
    for (int p = 1; p <= kMaxPlayers; ++p)
        r.personalities[p] = personalitySetting[p] == kPersonalityUnstable ? kPersonalityUnstable : personality[p];
}

// What a new file holds: the options as they stand, blank remembered texts, default names.
SettingsRecord createdRecord()
{
    SettingsRecord r;
    storePersonalities(r);
    r.randomMixPersonalities = randomMixPersonalities;
    storeOptions(r);
    r.animationsEnabled = chosenAnimations();
    r.highScoreName = r.lastLanHost = r.lastInternetHost = r.hostExternalIp = blankName();
    r.hostGameName = paddedName(kUnnamedGame);
    for (int p = 1; p <= kMaxPlayers; ++p) {
        r.hotseatNames[p] = blankName();
        r.playerNames[p] = defaultPlayerName(p);
    }
    r.lastSaveFileName = lastSaveFileName;
    return r;
}

// The file's record; what a file that ends early does not hold takes the values of a new file.
// `why` says why a file that is there could not be read.
SettingsFile readSettingsFile(SettingsRecord &record, QString &why)
{
    settingsFilePath = settingsFileName();
    QByteArray bytes;
    const FileRead outcome = readWholeFile(settingsFilePath, kMaxSettingsFileBytes, bytes, &why);
    if (outcome == FileRead::Missing)
        return SettingsFile::Missing;
    if (outcome == FileRead::NotAFile)
        return SettingsFile::NotAFile;
    if (outcome == FileRead::Unreadable)
        return SettingsFile::Unreadable;
    if (outcome != FileRead::Read)
        return SettingsFile::Refused;
    SettingsRecord read = createdRecord();
    const SettingsFile result = readSettingsFields(bytes, read);
    if (result != SettingsFile::Refused) {
        // Written by hand or by an earlier build, the names are taken as typed ones.
        keepTextsAsTyped(read);
        record = read;
    }
    return result;
}

// A new settings file starts the player names afresh, but never those of a game under way.
void blankPlayerNamesOutsideGame()
{
    if (gameInProgress())
        return;
    for (int p = 1; p <= kMaxPlayers; ++p)
        playerName[p] = blankName();
}

bool personalitiesMayBeStored()
{
    return !gameInProgress() && !partialSaveFlag && !saveHotseatNamesFlag && !saveHighScoreNameFlag
        && !topFiveGame;
}

void storeChangedOptions(SettingsRecord &r)
{
    // The file keeps the choices made in the menus, not the personalities of a game under way.
    if (personalitiesMayBeStored()) {
        if (!randomMixPersonalities)
            storePersonalities(r);
        r.randomMixPersonalities = randomMixPersonalities;
    }
    storeOptions(r);
    r.animationsEnabled = chosenAnimations();
    r.lastLanHost = cutStoredText(lastLanHost);
    r.lastInternetHost = cutStoredText(lastInternetHost);
    r.hostExternalIp = cutStoredText(hostExternalIp);
    r.hostGameName = cutStoredText(hostGameName);
    if (saveHighScoreNameFlag)
        r.highScoreName = cutStoredText(playerName[1]);
    if (saveHotseatNamesFlag)
        for (int p = 1; p <= kMaxPlayers; ++p)
            r.hotseatNames[p] = cutStoredText(playerName[p]);
    if (gameMode == ModeSinglePlayer)
        for (int p = 1; p <= kMaxPlayers; ++p)
            r.playerNames[p] = cutStoredText(configuredPlayerName[p]);
    r.lastSaveFileName = lastSaveFileName;
}

void applyToGlobals(const SettingsRecord &r)
{
    for (int p = 1; p <= kMaxPlayers; ++p)
        personality[p] = r.personalities[p];
    randomMixPersonalities = r.randomMixPersonalities;
    chooseFastSpeed(r.fastSpeed);
    mapShownSetting = r.mapShownSetting;
    reservedFlag1 = r.reservedFlag1;
    hideMapDownloadHint = r.hideMapDownloadHint;
    reservedFlag2 = r.reservedFlag2;
    reservedFlag3 = r.reservedFlag3;
    speedFlag288 = r.speedFlag288;
    speedFlag224 = r.speedFlag224;
    speedFlag160 = r.speedFlag160;
    speedFlag96 = r.speedFlag96;
    displaySizeClass = r.displaySizeClass;
    for (int i = 1; i <= 9; ++i)
        soundEnabled[i] = r.soundEnabled[i];
    reservedFlag4 = r.reservedFlag4;
    displayOptionA = r.displayOptionA;
    routeLimits[4] = r.routeLimitSetting;
    savesUsed = r.savesUsed;
    chooseAnimations(r.animationsEnabled);
    lastLanHost = r.lastLanHost;
    lastInternetHost = r.lastInternetHost;
    hostExternalIp = r.hostExternalIp;
    hostGameName = r.hostGameName;
    for (int p = 1; p <= kMaxPlayers; ++p)
        configuredPlayerName[p] = r.playerNames[p];
    lastSaveFileName = r.lastSaveFileName;
}

void resolveUnstablePersonalities()
{
    for (int p = 1; p <= kMaxPlayers; ++p) {
        if (personality[p] != kPersonalityUnstable)
            continue;
        personalitySetting[p] = kPersonalityUnstable;
        personality[p] = randomSource().below(kPersonalityUnstable);
    }
}

// Every call of saveSettings writes the whole file; these are the player's doings that call it.
const QString kWhenWritten = QStringLiteral(
    "the next time the game stores its settings: when an option is changed, a new game is set up "
    "(a demo aside), a game is saved to a new file or a saved game is continued");

// Told once, until the file has been read or written whole again.
void reportFileOnce(const QString &text)
{
    if (damagedFileReported)
        return;
    damagedFileReported = true;
    interaction().message(MessageIcon::Warning, QStringLiteral("Tarvan GX"), text);
}

void reportDamagedFile()
{
    reportFileOnce(QStringLiteral("The settings file %1 is damaged and could not be read.\n"
                                  "The current settings stay in use; the file is written anew %2.")
                       .arg(settingsFileName(), kWhenWritten));
}

void reportNotAFile()
{
    reportFileOnce(QStringLiteral("The settings file %1 is not a regular file: a folder, a named pipe, a device "
                                  "or a socket has its name.\n"
                                  "The current settings stay in use; they are not stored while it is there.")
                       .arg(settingsFileName()));
}

void reportUnreadableFile(const QString &why)
{
    reportFileOnce(QStringLiteral("The settings file %1 could not be read:\n%2.\n"
                                  "The current settings stay in use; they are not stored while it cannot be read.")
                       .arg(settingsFileName(), why));
}

void reportShortFile()
{
    reportFileOnce(QStringLiteral("The settings file %1 ends early.\n"
                                  "The settings it holds whole are used and the others take their default "
                                  "values; the file is written whole %2.")
                       .arg(settingsFileName(), kWhenWritten));
}

// ---- The options changed while the file's values are not in use ----

// A record's values one by one, in the file's order: the record's own description, walked to
// point at each value.
class RecordValues {
public:
    using Value = std::variant<qint32 *, quint8 *, QString *>;

    explicit RecordValues(SettingsRecord &record) { streamSettings(*this, record); }
    const std::vector<Value> &values() const { return values_; }

    void int32(qint32 &value, qint32 = 0, qint32 = 0) { values_.push_back(&value); }
    void flag(quint8 &value) { values_.push_back(&value); }
    void text(QString &value, int = 0) { values_.push_back(&value); }
    template <size_t N>
    void int32s(std::array<qint32, N> &values, int first, int last, qint32 = 0, qint32 = 0)
    {
        for (int i = first; i <= last; ++i)
            int32(values[i]);
    }
    template <size_t N>
    void flags(std::array<quint8, N> &values, int first, int last)
    {
        for (int i = first; i <= last; ++i)
            flag(values[i]);
    }
    template <size_t N>
    void texts(std::array<QString, N> &values, int first, int last, int = 0)
    {
        for (int i = first; i <= last; ++i)
            text(values[i]);
    }

private:
    std::vector<Value> values_;
};

// Two records walked alike hold the same kind of value at each place.
bool sameValue(const RecordValues::Value &a, const RecordValues::Value &b)
{
    return std::visit([&b](auto *value) { return *value == *std::get<decltype(value)>(b); }, a);
}

void copyValue(const RecordValues::Value &to, const RecordValues::Value &from)
{
    std::visit([&from](auto *value) { *value = *std::get<decltype(value)>(from); }, to);
}

// A speed is one choice: the fast flag and the four speed flags.
bool isSpeedValue(const SettingsRecord &record, const RecordValues::Value &value)
{
    const quint8 *const *flag = std::get_if<quint8 *>(&value);
    return flag
        && (*flag == &record.fastSpeed || *flag == &record.speedFlag288 || *flag == &record.speedFlag224
            || *flag == &record.speedFlag160 || *flag == &record.speedFlag96);
}

// True from a read of the file that failed until its values are taken into use. Meanwhile
// `settingsRecord` holds the settings in use as a store makes them, and `changedValues` marks the
// values the stores found changed, by their place in the record.
bool fileValuesOwed = false;
std::vector<bool> changedValues;

void markChangedValues(SettingsRecord &before, SettingsRecord &after)
{
    const RecordValues was(before);
    const RecordValues now(after);
    changedValues.resize(was.values().size());
    bool speedChanged = false;
    for (size_t i = 0; i < was.values().size(); ++i) {
        if (sameValue(was.values()[i], now.values()[i]))
            continue;
        changedValues[i] = true;
        speedChanged = speedChanged || isSpeedValue(before, was.values()[i]);
    }
    for (size_t i = 0; speedChanged && i < was.values().size(); ++i)
        if (isSpeedValue(before, was.values()[i]))
            changedValues[i] = true;
}

void oweFileValues()
{
    fileValuesOwed = true;
    changedValues.clear();
}

// A load that could not read the file: from here the player's changes count from the settings in
// use, not from the last record read or written.
void oweFileValuesFromSettingsInUse()
{
    if (fileValuesOwed)
        return;
    oweFileValues();
    storeChangedOptions(settingsRecord);
}

// A store while the file's values are not in use: what it would write that differs from the
// settings in use is the player's change.
void noteChangedOptions()
{
    if (!fileValuesOwed)
        oweFileValues();
    SettingsRecord inUse = settingsRecord;
    storeChangedOptions(inUse);
    markChangedValues(settingsRecord, inUse);
    settingsRecord = inUse;
}

// The values the player changed meanwhile, put over the file's.
void putChangesOn(SettingsRecord &record)
{
    const RecordValues onto(record);
    const RecordValues inUse(settingsRecord);
    for (size_t i = 0; i < changedValues.size(); ++i)
        if (changedValues[i])
            copyValue(onto.values()[i], inUse.values()[i]);
}

} // namespace

QString defaultPlayerName(int player)
{
    if (player < 1 || player > kMaxPlayers)
        return QString();
    return paddedName(QLatin1String(kDefaultPlayerNames[player]));
}

QString settingsFileName()
{
    return dataFilePath(QStringLiteral("TrvGX10Settings.dat"));
}

bool gameInProgress()
{
    return gameUnderWay || placementRound != 0 || localGameRunning || demoRunning || networkSeat != 0
        || resumedGameMark == 'j';
}

void markGameUnderWay()
{
    gameUnderWay = true;
}

void clearGameUnderWay()
{
    gameUnderWay = false;
}

namespace {

struct SettingsUpdate {
    SettingsFile read = SettingsFile::Missing;
    QString unreadable; // why a file that is there could not be read
    bool asked = false; // `prepare` made a record to write
    bool written = false;
    QString why; // of a write that failed
};

// Reads the file into `record`, then writes the record as `prepare` makes it of what was read,
// unless it says no. As one step between programs: a file another one changes in between would
// lose that change.
SettingsUpdate updateSettingsFile(SettingsRecord &record,
                                  const std::function<bool(SettingsFile, SettingsRecord &)> &prepare)
{
    SettingsUpdate update;
    const UpdateLock lock(settingsFileName());
    update.read = readSettingsFile(record, update.unreadable);
    update.asked = prepare(update.read, record);
    if (update.asked)
        update.written = lock.had(&update.why) && writeSettingsFile(record, update.why);
    return update;
}

// A new file's record, for a file there is none of.
bool createdWhenMissing(SettingsFile read, SettingsRecord &record)
{
    if (read != SettingsFile::Missing)
        return false;
    record = createdRecord();
    blankPlayerNamesOutsideGame();
    return true;
}

bool leftAlone(SettingsFile read)
{
    return read == SettingsFile::NotAFile || read == SettingsFile::Unreadable;
}

// The file's values, or a new file's, with the options the player changed while they were not in
// use on top: stored as soon as the file can be read.
bool withChangesOnTop(SettingsFile read, SettingsRecord &record)
{
    if (leftAlone(read) || read == SettingsFile::Refused)
        return false;
    createdWhenMissing(read, record);
    putChangesOn(record);
    return true;
}

// A save while the file's values are not in use, or cannot be read, notes the player's changes.
// Neither a damaged file nor a missing one has values to take into use.
void followOwedValues(SettingsFile read)
{
    if (fileValuesOwed || leftAlone(read))
        noteChangedOptions();
    if (read == SettingsFile::Refused || read == SettingsFile::Missing)
        fileValuesOwed = false;
}

// The record a save writes: the file's, a new file's or, for a damaged file, the last one read or
// written, with the options as they stand; while the file's values are not in use, only the
// options the player changed meanwhile. Nothing replaces what is not a file, nor a file that
// could not be read.
bool changedOptions(SettingsFile read, SettingsRecord &record)
{
    followOwedValues(read);
    if (leftAlone(read))
        return false;
    if (fileValuesOwed)
        return withChangesOnTop(read, record);
    if (read == SettingsFile::Refused)
        record = settingsRecord;
    else
        createdWhenMissing(read, record);
    storeChangedOptions(record);
    return true;
}

// The record becomes the settings in use, as the file holds it.
void takeIntoUse(const SettingsRecord &record)
{
    fileValuesOwed = false;
    settingsRecord = record;
    applyToGlobals(record);
    if (resolveUnstableOnLoad)
        resolveUnstablePersonalities();
}

// What is not a file, or a file that could not be read: told, and left as it is.
void reportLeftAlone(const SettingsUpdate &update)
{
    if (update.read == SettingsFile::NotAFile)
        reportNotAFile();
    else
        reportUnreadableFile(update.unreadable);
}

} // namespace

bool loadSettings()
{
    SettingsRecord record;
    const SettingsUpdate update = updateSettingsFile(record, fileValuesOwed ? withChangesOnTop : createdWhenMissing);
    switch (update.read) {
    case SettingsFile::Refused:
        reportDamagedFile();
        return false;
    case SettingsFile::NotAFile:
    case SettingsFile::Unreadable:
        oweFileValuesFromSettingsInUse();
        reportLeftAlone(update);
        return false;
    case SettingsFile::Missing:
        break;
    case SettingsFile::EndedEarly:
        reportShortFile();
        break;
    case SettingsFile::Read:
        damagedFileReported = false;
        break;
    }
    const bool sound = !update.asked || tellWrite(update.written, update.why);
    takeIntoUse(record);
    return sound;
}

bool settingsFileValuesOwed()
{
    return fileValuesOwed;
}

bool saveSettings()
{
    SettingsRecord record;
    const SettingsUpdate update = updateSettingsFile(record, changedOptions);
    if (leftAlone(update.read)) {
        reportLeftAlone(update);
        return false;
    }
    // The file's values come into use at once, but never into a game under way: its own values
    // stay, and the next load or save after it brings the file's.
    if (!fileValuesOwed)
        settingsRecord = record;
    else if (!gameInProgress())
        takeIntoUse(record);
    return tellWrite(update.written, update.why);
}

void resetSettingsState()
{
    lastSaveFileName = dataFilePath(QStringLiteral("*.TrvGX"));
    settingsRecord = createdRecord();
    normalise(settingsRecord);
    // Until a file's names are read, the names in use are a new file's: a file that cannot be
    // read at the start leaves these, not blanks, for the player to change.
    for (int p = 1; p <= kMaxPlayers; ++p)
        configuredPlayerName[p] = settingsRecord.playerNames[p];
    settingsFilePath.clear();
    partialSaveFlag = saveHotseatNamesFlag = saveHighScoreNameFlag = 0;
    resolveUnstableOnLoad = 1;
    resumedGameMark = 'n';
    reservedFlag1 = reservedFlag2 = reservedFlag3 = reservedFlag4 = 0;
    mapShownSetting = 0;
    savesUsed = 0;
    lastLanHost.clear();
    lastInternetHost.clear();
    hostExternalIp.clear();
    hostGameName.clear();
    damagedFileReported = writeFailureReported = false;
    gameUnderWay = false;
    fileValuesOwed = false;
    changedValues.clear();
}
