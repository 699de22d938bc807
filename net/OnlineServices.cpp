#include "net/OnlineServices.h"

#include "net/OnlineConfig.h"

#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "app/OnlineManagers.h"
#include "persist/Settings.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/Seams.h"
#include "state/TextRules.h"

#include <QEventLoop>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <functional>

namespace {

constexpr char kFileProperty[] = "tarvanFile";
constexpr char kBatchProperty[] = "tarvanBatch";
constexpr char kUploadProperty[] = "tarvanUpload";
constexpr int kListWaitMs = 200;
constexpr int kSmallScreenListWaitMs = 300;
constexpr int kSingleListWaitMs = 3000;
constexpr int kGameNameLength = 20;
constexpr int kMaxTopFiveEntries = 5;

// Which fetch `downloadedLines` belongs to now: a late reply of another one is not written there.
enum class LinesOwner { None, GameList, TopFive };

struct OnlineState {
    LinesOwner owner = LinesOwner::None;
    int gameListBatch = 0;
    int gameListRepliesLeft = 0;
    QString controlText;
    int topFiveBatch = 0;
    int topFiveRepliesLeft = 0;
    int singleRequest = 0;
    bool singleArrived = false;
    bool topFiveUploadFailed = false;
};

OnlineState &online()
{
    static OnlineState state;
    return state;
}

void sayUnavailable()
{
    interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"), onlineUnavailableText());
}

bool replySucceeded(QNetworkReply *reply)
{
    if (reply->error() != QNetworkReply::NoError)
        return false;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return !status.isValid() || (status.toInt() >= 200 && status.toInt() <= 299);
}

// A list file holds one line of text.
QString replyText(QNetworkReply *reply)
{
    QString text = QString::fromUtf8(reply->readAll());
    const int end = text.indexOf(QRegExp(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
}

void fetchFile(QNetworkAccessManager *manager, const OnlineConfig &config, const QString &file, int batch)
{
    QNetworkRequest request(config.lists.resolved(QUrl(file)));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply *reply = manager->get(request);
    reply->setProperty(kFileProperty, file);
    reply->setProperty(kBatchProperty, batch);
}

void sendFile(QNetworkAccessManager *manager, const OnlineConfig &config, const QString &file, const QByteArray &body)
{
    QNetworkRequest request(config.uploads.resolved(QUrl(file)));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("text/plain"));
    QNetworkReply *reply = manager->put(request, body);
    reply->setProperty(kFileProperty, file);
    reply->setProperty(kUploadProperty, true);
}

// Processes events until `done` holds or the time is up; a reply ends the wait early. Whether
// every reply came in time.
FetchOutcome waitForReplies(QNetworkAccessManager *manager, const std::function<bool()> &done, int milliseconds)
{
    if (done())
        return FetchOutcome::AllCame;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(manager, &QNetworkAccessManager::finished, &loop, [&] {
        if (done())
            loop.quit();
    });
    timer.start(milliseconds);
    loop.exec();
    return done() ? FetchOutcome::AllCame : FetchOutcome::NotAllCame;
}

int listWaitMs(const OnlineConfig &config)
{
    if (config.waitMs > 0)
        return config.waitMs;
    return smallScreen ? kSmallScreenListWaitMs : kListWaitMs;
}

QString utcText(const char *format)
{
    return QLocale::c().toString(interaction().now().toUTC(), QLatin1String(format));
}

QStringList wholeEntries(const QString &list)
{
    QStringList entries;
    for (int at = 0; at + kTopFiveEntryLength <= list.size() && entries.size() < kMaxTopFiveEntries;
         at += kTopFiveEntryLength)
        entries.append(list.mid(at, kTopFiveEntryLength));
    return entries;
}

// A field of a list entry: the list is read a line at a time.
QString entryField(const QString &text, int width)
{
    return fitToWidth(cleanedText(text), width);
}

// The configuration, unavailable as well without the manager that would carry the transfers.
OnlineConfig configFor(QNetworkAccessManager *manager)
{
    OnlineConfig config = readOnlineConfig();
    config.available = config.available && manager;
    return config;
}

// `downloadedLines` becomes `files` empty texts that the replies of this fetch fill in; the
// configuration, not available (and said so) when the file or the manager is missing.
OnlineConfig beginListFetch(LinesOwner owner, int files, QNetworkAccessManager *manager)
{
    downloadedLines = QStringList();
    for (int i = 0; i < files; ++i)
        downloadedLines.append(QString());
    online().owner = owner;
    const OnlineConfig config = configFor(manager);
    if (!config.available)
        sayUnavailable();
    return config;
}

} // namespace

QString gameListFileName(int slot)
{
    return QStringLiteral("agame%1.txt").arg(slot);
}

const QStringList &topFiveFileNames()
{
    static const QStringList names = {
        QStringLiteral("t5world.txt"),  QStringLiteral("t5europ.txt"),  QStringLiteral("t5namer.txt"),
        QStringLiteral("t5china.txt"),  QStringLiteral("t5japan.txt"),  QStringLiteral("t5wrld2.txt"),
        QStringLiteral("t5swamp.txt"),  QStringLiteral("t5austr.txt"),  QStringLiteral("t5worlds.txt"),
        QStringLiteral("t5wpacif.txt"), QStringLiteral("t5natlan.txt"), QStringLiteral("t5tarvgx.txt")};
    return names;
}

QString topFiveFileName(int mapSet, int campaignId)
{
    if (mapSet >= 1 && mapSet <= 8)
        return topFiveFileNames()[mapSet - 1];
    if (mapSet != 0)
        return QString();
    switch (campaignId) {
    case 1: return topFiveFileNames()[8];
    case 2: return topFiveFileNames()[9];
    case 3: return topFiveFileNames()[10];
    case 5: return topFiveFileNames()[11];
    default: return QString();
    }
}

QString gameListEntryText(const QString &address, bool closed)
{
    const QString blank = QStringLiteral(" ");
    QString gameName = settingsRecord.hostGameName.trimmed();
    if (gameName.isEmpty())
        gameName = QStringLiteral("noname");
    QString entry;
    entry += entryField(closed ? QStringLiteral("Closed") : address.trimmed(), 25);
    entry += blank;
    entry += entryField(mapName, 14);
    entry += QStringLiteral(" 1.0 ") + blank;
    entry += attackRule == 'j' ? QStringLiteral("1on1") : QStringLiteral("Dice");
    entry += QStringLiteral("  ") + (strongholdsEnabled ? QStringLiteral("St") : QStringLiteral("  "));
    entry += QStringLiteral("  ") + (troopExperienceEnabled ? QStringLiteral("TE") : QStringLiteral("  "));
    entry += QStringLiteral("  ") + utcText("MMM dd yyyy hhmm").leftJustified(16).left(16);
    entry += QStringLiteral("  ") + entryField(gameName, kGameNameLength);
    entry += QString(2 + 14, QLatin1Char(' '));
    entry += blank + utcText("hhmmsszzz") + QStringLiteral("0 ");
    return entry;
}

QString topFiveEntryText(const QString &name, int losses)
{
    return QStringLiteral("%1 ").arg(losses, 4) + entryField(name, kTopFiveNameLength);
}

QString topFiveListWith(const QString &list, const QString &entry, int slot)
{
    QStringList entries = wholeEntries(list);
    if (slot >= 1 && slot <= entries.size())
        entries[slot - 1] = entry;
    else if (entries.size() < kMaxTopFiveEntries)
        entries.append(entry);
    else
        entries[kMaxTopFiveEntries - 1] = entry;
    return entries.join(QString());
}

QString gameListControlText()
{
    return online().controlText;
}

FetchOutcome fetchGameList(ViewArea *, QString &controlLetter)
{
    OnlineState &state = online();
    state.controlText.clear();
    const OnlineConfig config = beginListFetch(LinesOwner::GameList, kGameListSlots, gameListManager());
    if (!config.available) {
        controlLetter = QStringLiteral("E");
        return FetchOutcome::NoServer;
    }
    const int batch = ++state.gameListBatch;
    state.gameListRepliesLeft = 1 + kGameListSlots;
    fetchFile(gameListManager(), config, QStringLiteral("agame+.txt"), batch);
    for (int slot = 0; slot < kGameListSlots; ++slot)
        fetchFile(gameListManager(), config, gameListFileName(slot), batch);
    const FetchOutcome outcome =
        waitForReplies(gameListManager(), [&state] { return state.gameListRepliesLeft <= 0; },
                       listWaitMs(config) * (1 + kGameListSlots));
    if (!state.controlText.isEmpty())
        controlLetter = state.controlText.left(1);
    if (controlLetter == QLatin1String("E"))
        interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"),
                              QStringLiteral("Tarvan GX server disabled, view website for more info."));
    return outcome;
}

void takeGameListReply(QNetworkReply *reply)
{
    OnlineState &state = online();
    if (reply->property(kBatchProperty).toInt() != state.gameListBatch)
        return;
    --state.gameListRepliesLeft;
    if (!replySucceeded(reply))
        return;
    const QString file = reply->property(kFileProperty).toString();
    const QString text = replyText(reply);
    if (file == QLatin1String("agame+.txt")) {
        state.controlText = text;
        return;
    }
    for (int slot = 0; slot < kGameListSlots; ++slot)
        if (file == gameListFileName(slot) && state.owner == LinesOwner::GameList && slot < downloadedLines.size())
            downloadedLines[slot] = text;
}

void uploadGameListEntry(int slot, const QString &address, int closed)
{
    // A client, or a host without an entry, has no slot: nothing to send.
    if (slot < 0 || slot >= kGameListSlots)
        return;
    if (!closed) {
        gameListSlot = slot;
        hostAddressText = address;
    }
    const OnlineConfig config = configFor(gameListManager());
    if (!config.available)
        return;
    sendFile(gameListManager(), config, gameListFileName(slot), gameListEntryText(address, closed != 0).toUtf8());
}

namespace {

// The top-five file of a map set or campaign, with the configuration that reaches it; empty when
// there is no such list, or no server (which is said).
QString topFiveTarget(int mapSet, int campaignId, OnlineConfig &config)
{
    const QString file = topFiveFileName(mapSet, campaignId);
    if (file.isEmpty())
        return QString();
    config = configFor(topFiveManager());
    if (!config.available) {
        sayUnavailable();
        return QString();
    }
    return file;
}

} // namespace

FetchOutcome fetchTopFiveList(int mapSet, int campaignId)
{
    topFiveText = QStringLiteral(" ");
    // A map without a list asks for nothing, and so has all it asked for.
    if (topFiveFileName(mapSet, campaignId).isEmpty())
        return FetchOutcome::AllCame;
    OnlineConfig config;
    const QString file = topFiveTarget(mapSet, campaignId, config);
    if (file.isEmpty())
        return FetchOutcome::NoServer;
    OnlineState &state = online();
    state.singleArrived = false;
    // A single list is told from the batches by its negative number.
    fetchFile(topFiveManager(), config, file, -++state.singleRequest);
    return waitForReplies(topFiveManager(), [&state] { return state.singleArrived; },
                          config.waitMs > 0 ? config.waitMs : kSingleListWaitMs);
}

FetchOutcome fetchAllTopFiveLists(ViewArea *)
{
    OnlineState &state = online();
    const OnlineConfig config = beginListFetch(LinesOwner::TopFive, kTopFiveListCount, topFiveManager());
    if (!config.available)
        return FetchOutcome::NoServer;
    const int batch = ++state.topFiveBatch;
    state.topFiveRepliesLeft = kTopFiveListCount;
    for (const QString &file : topFiveFileNames())
        fetchFile(topFiveManager(), config, file, batch);
    return waitForReplies(topFiveManager(), [&state] { return state.topFiveRepliesLeft <= 0; },
                          listWaitMs(config) * kTopFiveListCount);
}

void takeTopFiveReply(QNetworkReply *reply)
{
    OnlineState &state = online();
    const int batch = reply->property(kBatchProperty).toInt();
    const bool single = batch < 0;
    if (single ? -batch != state.singleRequest : batch != state.topFiveBatch)
        return;
    if (single)
        state.singleArrived = true;
    else
        --state.topFiveRepliesLeft;
    if (!replySucceeded(reply))
        return;
    const QString text = replyText(reply);
    topFiveText = text;
    if (single || state.owner != LinesOwner::TopFive)
        return;
    const int index = topFiveFileNames().indexOf(reply->property(kFileProperty).toString());
    if (index >= 0 && index < downloadedLines.size())
        downloadedLines[index] = text;
}

void uploadTopFive(int mapSet, int campaignId, const QString &name, int losses, int slot)
{
    OnlineConfig config;
    const QString file = topFiveTarget(mapSet, campaignId, config);
    if (file.isEmpty())
        return;
    // " " stands for a list that could not be fetched.
    const QString list = topFiveText.trimmed().isEmpty() ? QString() : topFiveText;
    online().topFiveUploadFailed = false;
    sendFile(topFiveManager(), config, file, topFiveListWith(list, topFiveEntryText(name, losses), slot).toUtf8());
}

bool isUploadReply(QNetworkReply *reply)
{
    return reply && reply->property(kUploadProperty).toBool();
}

bool replyFailed(QNetworkReply *reply)
{
    return !replySucceeded(reply);
}

bool topFiveUploadFailed()
{
    return online().topFiveUploadFailed;
}

void markTopFiveUploadFailed(bool failed)
{
    online().topFiveUploadFailed = failed;
}

void resetOnlineServices()
{
    online() = OnlineState();
}
