#pragma once
// One hosted game on the online game list: a line of fixed fields. Each field is named here once;
// gameListEntryText writes them, and whatever reads, cuts or compares an entry goes by these
// names.

#include <QString>

// Where a field begins in an entry, and how many characters it holds.
struct EntryField {
    int start;
    int width;
    constexpr int end() const { return start + width; }
};

constexpr EntryField kEntryAddress{0, 25}; // the host's address, or "Closed"
constexpr EntryField kEntryMapName{26, 14};
constexpr EntryField kEntryVersion{40, 5};         // " 1.0 "
constexpr EntryField kEntryRule{46, 4};            // "Dice" or "1on1"
constexpr EntryField kEntryStrongholds{52, 2};     // "St" or blanks
constexpr EntryField kEntryTroopExperience{56, 2}; // "TE" or blanks
constexpr EntryField kEntryStarted{60, 16};        // "MMM dd yyyy hhmm", universal time
constexpr EntryField kEntryGameName{78, 20};       // the host's game name, or `kUnnamedGame`
constexpr EntryField kEntryTimeOfDay{114, 12};     // " hhmmsszzz" and "0 ", universal time
constexpr int kGameListEntryLength = kEntryTimeOfDay.end();
// The game list shows an entry up to its game name and the blank after it.
constexpr int kListedRowLength = kEntryGameName.end() + 1;

// This host's entry: the game under way, the settings' game name, and `address`, or "Closed"
// when `closed`.
QString gameListEntryText(const QString &address, bool closed);
// The game name this host's entry carries: the settings' one, `kUnnamedGame` when it holds
// nothing that can be seen.
QString announcedGameName();
// What `field` of `entry` holds, without its padding.
QString entryFieldValue(const QString &entry, EntryField field);
// `text` as `field` of an entry would hold it, without its padding: made one line and cut to the
// field, so that it compares with what an entry holds.
QString asEntryFieldValue(const QString &text, EntryField field);
