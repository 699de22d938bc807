#pragma once
// The online game list and the top-five lists: files fetched by HTTP from the list server and
// sent back with a login (OnlineConfig.h). Each reply is matched to the file it was asked for,
// whatever the order in which the replies arrive: `downloadedLines` holds the files in the order
// they were asked for, a file that did not come as an empty text.

#include <QString>
#include <QStringList>

class QNetworkReply;
class ViewArea;

constexpr int kGameListSlots = 5;
constexpr int kTopFiveListCount = 12;
constexpr int kGameListEntryLength = 126;
constexpr int kTopFiveEntryLength = 25;
constexpr int kTopFiveNameLength = 20;

// "agame0.txt" .. "agame4.txt"; the control file is "agame+.txt".
QString gameListFileName(int slot);
// The twelve top-five files in the order they are fetched.
const QStringList &topFiveFileNames();
// The top-five file of a map set (1 World .. 8 Australia; 0: the list of campaign `campaignId`,
// which campaigns 1, 2, 3 and 5 have); empty when there is none.
QString topFiveFileName(int mapSet, int campaignId);

// This host's entry on the game list, 126 characters on one line.
QString gameListEntryText(const QString &address, bool closed);
// One top-five entry: "%4d" losses, a blank, the name made one line, padded or cut to 20.
QString topFiveEntryText(const QString &name, int losses);
// The list with `entry` appended (slot 0) or in place of entry 1..5; whole entries only, five at
// most.
QString topFiveListWith(const QString &list, const QString &entry, int slot);

// What became of a fetch: every reply came before the wait ended (a refusal is a reply too; a
// fetch of nothing has all it asked for), the wait ended first, or there is no server to ask,
// which the fetch has said.
enum class FetchOutcome { AllCame, NotAllCame, NoServer };

// Fetches the control file and the five list files into `downloadedLines` (slot order), waiting
// a short while for the replies; hands back the control letter in `controlLetter` (preset " "
// by the caller). "E" (the server is disabled) and a missing configuration show their box and
// give "E".
FetchOutcome fetchGameList(ViewArea *window, QString &controlLetter);
// Sends this host's entry as list file `slot` (0..4; any other slot sends nothing); with
// `closed` 0 the slot and address are kept for the later "Closed" entry.
void uploadGameListEntry(int slot, const QString &address, int closed);
// `topFiveText` := " ", then the list of that map set or campaign, waiting for its reply.
FetchOutcome fetchTopFiveList(int mapSet, int campaignId);
// All twelve lists into `downloadedLines`, in the order of `topFiveFileNames`.
FetchOutcome fetchAllTopFiveLists(ViewArea *window);
// Sends the list in `topFiveText` with the new entry; the program closes once it has gone.
void uploadTopFive(int mapSet, int campaignId, const QString &name, int losses, int slot);
// The control file's text of the last game-list fetch (empty when it did not come).
QString gameListControlText();

// What the reply slots of the window do with a finished reply (they delete it afterwards).
void takeGameListReply(QNetworkReply *reply);
void takeTopFiveReply(QNetworkReply *reply);
// Whether the last top-five upload failed.
bool topFiveUploadFailed();
void markTopFiveUploadFailed(bool failed);
// The reply is one of the uploads (not a fetched file).
bool isUploadReply(QNetworkReply *reply);

void resetOnlineServices();
// The reply did not bring what was asked (an error, or an HTTP status outside 200..299).
bool replyFailed(QNetworkReply *reply);
