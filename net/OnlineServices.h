#pragma once
// The online game list and the top-five lists: files fetched by HTTP from the list server and
// sent back with a login (OnlineConfig.h). A fetch asks for its files and waits a bounded time;
// each reply is matched to the file it was asked for, whatever the order in which the replies
// arrive. When the wait ends, every request still open is aborted: it holds no connection, and
// nothing that comes later, nor a reply of another fetch, changes what the fetch brought. Each
// file comes in one of three ways, never in a shared blank: its text came, the server has no such
// file (HTTP 404: a list not begun yet), or it failed (another error, an HTTP status outside
// 200..299, no reply within the wait). Only a list that came or is not there may be sent back
// changed.

#include "net/ListFile.h"

#include <QList>
#include <QString>
#include <QStringList>

class QNetworkReply;
class ViewArea;

constexpr int kGameListSlots = 5;
// A slot of the game list; a client, or a host without an entry, has `kNoGameListSlot`.
constexpr bool isGameListSlot(int slot)
{
    return slot >= 0 && slot < kGameListSlots;
}
constexpr int kTopFiveListCount = 12;
// An upload that has not finished within online.ini's wait, and never within less than this, is
// aborted and counts as not sent.
constexpr int kLeastUploadWaitMs = 5000;

// "agame0.txt" .. "agame4.txt"; the control file is "agame+.txt".
QString gameListFileName(int slot);
// The twelve top-five files in the order they are fetched.
const QStringList &topFiveFileNames();
// The top-five file of a map set (1 World .. 8 Australia; 0: the list of campaign `campaignId`,
// which campaigns 1, 2, 3 and 5 have); empty when there is none.
QString topFiveFileName(int mapSet, int campaignId);

// What became of a fetch of several files: every request was answered before the wait ended
// (a failure is an answer too: each file says how it came), the wait ran out first (the
// unanswered files failed), or there is no server to ask, which the fetch has said.
enum class FetchOutcome { AllAnswered, WaitRanOut, NoServer };

// Fetches the control file and the five list files into `downloadedLines` (slot order); hands
// back the control letter in `controlLetter` (preset " " by the caller). "E" (the server is
// disabled) and a missing configuration show their box and give "E".
FetchOutcome fetchGameList(ViewArea *window, QString &controlLetter);
// Sends this host's entry as list file `slot` (0..4; any other slot sends nothing); with
// `closed` 0 the slot and address are kept for the later "Closed" entry.
void uploadGameListEntry(int slot, const QString &address, int closed);
// The list of that map set or campaign: `topFiveText` holds its text when it came, " " otherwise.
ListFileState fetchTopFiveList(int mapSet, int campaignId);
// All twelve lists into `downloadedLines`, in the order of `topFiveFileNames`.
FetchOutcome fetchAllTopFiveLists(ViewArea *window);
// Sends the list in `topFiveText` with the new entry; the program closes once it has gone or
// failed.
void uploadTopFive(int mapSet, int campaignId, const QString &name, int losses, int slot);

// What the reply slots of the window do with a finished fetch reply (they delete it afterwards).
void takeListReply(QNetworkReply *reply);
// The reply is one of the uploads (not a fetched file).
bool isUploadReply(QNetworkReply *reply);
// The upload went whole: no error, an HTTP status within 200..299 where there is one, and every
// byte sent (Qt's FTP client ends without an error and without the file when the server refuses
// HELP).
bool uploadSucceeded(QNetworkReply *reply);
// Whether the last top-five upload failed.
bool topFiveUploadFailed();
void markTopFiveUploadFailed(bool failed);

void resetOnlineServices();
