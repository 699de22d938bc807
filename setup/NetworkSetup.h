#pragma once
// What the network steps of the set-up flow and the hosting settings dialog reach outside the
// program through: this machine's names and addresses, the search's wait, the two input boxes,
// the game list dialog, the hosting settings dialog and the web browser. The defaults are the
// real ones; tests put loopback-only stand-ins in their place.

#include "net/ListFile.h"

#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QDialog;
class ViewArea;

struct HostingSettingsAnswer {
    bool accepted = false;
    QString externalIp;
    QString gameName;
};

// The game list dialog's answer: a row, or one of these.
constexpr int kListCancelled = -1;
constexpr int kListRefresh = -2;

struct NetworkEnvironment {
    std::function<QString()> localHostName;
    std::function<QList<QHostAddress>(const QString &name)> lookupHost;
    std::function<QList<QHostAddress>()> interfaceAddresses;
    // Where the host's server listens.
    QHostAddress listenAddress = QHostAddress::Any;
    // How long the search waits for each of this machine's addresses to answer.
    int searchWaitMs = 5000;
    // The host-name prompt after a search that found nothing: false when cancelled.
    std::function<bool(ViewArea &view, const QString &label, QString &text)> askHostName;
    // The game list: `info` above the rows on normal screens; the list dialog with its header,
    // legend and Refresh button on small screens, which says `failure` alone of `info` (what
    // could not be fetched; empty when the whole list came).
    std::function<int(ViewArea &view, const QString &info, const QString &failure, const QStringList &rows, bool small)>
        chooseListedGame;
    std::function<HostingSettingsAnswer(ViewArea &view, const QString &externalIp, const QString &internalIp,
                                        const QString &gameName)>
        hostingSettings;
    std::function<void(const QUrl &page)> openWebPage;
};

NetworkEnvironment &networkEnvironment();
// The look of the start menu's dialogs: title hint only, gray palette, faded, the game's icon.
void applyDialogLook(QDialog &dialog, const QString &title);
// The real hosting settings dialog (setup/HostingSettings.cpp).
HostingSettingsAnswer runHostingSettingsDialog(ViewArea &view, const QString &externalIp, const QString &internalIp,
                                               const QString &gameName);
// Every part back to the real one.
void resetNetworkEnvironment();

// The rules of the steps, kept apart so they can be checked alone.

// The network name of a configured player name: one line, its first 18 characters (never half
// of one), "apc" for a name beginning "pc" (the computer players' names), padded with blanks to
// 18 characters.
QString networkNameFor(const QString &configuredName);
// The address an Internet host announces may not be one that others cannot reach: a private,
// loopback or link-local address, an empty text, or a name rather than a number.
bool announcedAddressRefused(const QString &address);
// A game-list entry of a game that is no longer open.
bool isClosedEntry(const QString &entry);
// The list slot this host's entry goes into (the list files by slot): the slot of its own
// address; else a free slot (no file, an empty file, an entry without an address); else a closed
// game's, the oldest of its own game name first, then the oldest; else the oldest live game's of
// its own game name, then the oldest live game's. A live game's slot goes only when no slot is
// free or closed and every file of the list came or is not there; a slot whose file failed goes
// never. kNoGameListSlot when there is no such slot (no slot's file came, or some failed and
// those that came hold live games).
int chooseListSlot(const QList<ListFile> &listFiles, const QString &address, const QString &gameName);
// The time-of-day number at the end of an entry: leading blanks skipped, an optional sign and the
// digits up to the first other character; 0 without digits.
qint64 entryTimeOfDay(const QString &entry);
// The rows the game list shows: open games first, then closed ones, 99 characters each.
QStringList listedGameRows(const QList<ListFile> &listFiles, int *openGames = nullptr);
// The last private address (192.168., 10., 172.) among the IPv4 addresses, loopback skipped.
QString internalAddressOf(const QList<QHostAddress> &addresses);
