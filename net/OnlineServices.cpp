#include "net/OnlineServices.h"

#include "net/GameListEntry.h"
#include "net/OnlineConfig.h"

#include "app/GameLoop.h"
#include "app/NetworkState.h"
#include "app/OnlineManagers.h"
#include "persist/TopFiveList.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/Seams.h"

#include <QEventLoop>
#include <QHash>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

#include <functional>

namespace {

constexpr char kFetchProperty[] = "tarvanFetch"; // the fetch a reply belongs to
constexpr char kIndexProperty[] = "tarvanIndex"; // which of its files
constexpr char kUploadProperty[] = "tarvanUpload";
constexpr char kSizeProperty[] = "tarvanSize"; // an upload's bytes
constexpr char kSentProperty[] = "tarvanSent"; // and how many of them went
constexpr int kListWaitMs = 200;
constexpr int kSmallScreenListWaitMs = 300;
constexpr int kSingleListWaitMs = 3000;
const QString kControlFile = QStringLiteral("agame+.txt");

// A fetch under way: its files in the order asked, failed until their replies come.
struct Fetch {
    QList<ListFile> files;
    int repliesLeft = 0;
};

struct OnlineState {
    int lastFetch = 0;
    // By number: a fetch's wait runs the event loop, in which another may begin.
    QHash<int, Fetch *> underWay;
    bool topFiveUploadFailed = false;
};

OnlineState &online()
{
    static OnlineState state;
    return state;
}

void sayUnavailable(const OnlineConfig &config)
{
    interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"), config.unavailableText);
}

QVariant httpStatus(QNetworkReply *reply)
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
}

bool replySucceeded(QNetworkReply *reply)
{
    if (reply->error() != QNetworkReply::NoError)
        return false;
    const QVariant status = httpStatus(reply);
    return !status.isValid() || (status.toInt() >= 200 && status.toInt() <= 299);
}

// A list file holds one line of text.
QString replyText(QNetworkReply *reply)
{
    QString text = QString::fromUtf8(reply->readAll());
    const int end = text.indexOf(QRegExp(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
}

ListFile listFileOf(QNetworkReply *reply)
{
    ListFile file;
    if (replySucceeded(reply)) {
        file.state = ListFileState::Came;
        file.text = replyText(reply);
    } else {
        // An HTTP 404 alone says that the list is not begun yet, which is no failure. Other
        // protocols tell a missing file and a refused command alike.
        file.state = httpStatus(reply).toInt() == 404 ? ListFileState::Absent : ListFileState::Failed;
    }
    return file;
}

QNetworkReply *requestFile(QNetworkAccessManager *manager, const OnlineConfig &config, const QString &file,
                           int fetch, int index)
{
    QNetworkRequest request(config.lists.resolved(QUrl(file)));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply *reply = manager->get(request);
    reply->setProperty(kFetchProperty, fetch);
    reply->setProperty(kIndexProperty, index);
    return reply;
}

int uploadWaitMs(const OnlineConfig &config)
{
    return qMax(kLeastUploadWaitMs, config.waitMs);
}

void sendFile(QNetworkAccessManager *manager, const OnlineConfig &config, const QString &file, const QByteArray &body)
{
    QNetworkRequest request(config.uploads.resolved(QUrl(file)));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("text/plain"));
    // Else a short upload's progress may never be told.
    request.setAttribute(QNetworkRequest::EmitAllUploadProgressSignalsAttribute, true);
    QNetworkReply *reply = manager->put(request, body);
    reply->setProperty(kUploadProperty, true);
    reply->setProperty(kSizeProperty, qint64(body.size()));
    reply->setProperty(kSentProperty, qint64(0));
    // Qt tells (0, 0) at the end: the most that went counts.
    QObject::connect(reply, &QNetworkReply::uploadProgress, reply, [reply](qint64 sent, qint64) {
        reply->setProperty(kSentProperty, qMax(sent, reply->property(kSentProperty).toLongLong()));
    });
    // Qt's transfer timeout is for idle HTTP alone: an FTP server that never greets or never
    // confirms would hold the upload for ever. Aborted, it finishes as failed.
    QTimer::singleShot(uploadWaitMs(config), reply, [reply] {
        if (!reply->isFinished())
            reply->abort();
    });
}

// Processes events until `done` holds or the time is up; a reply ends the wait early. Whether
// every reply came in time.
bool waitForReplies(QNetworkAccessManager *manager, const std::function<bool()> &done, int milliseconds)
{
    if (done())
        return true;
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
    return done();
}

// Asks for `files` and waits up to `waitMs` for their replies, which land in `fetched` in the
// order asked; a file whose reply did not come in time failed. The requests still open then are
// aborted, so that none holds a connection or brings anything later.
FetchOutcome fetchFiles(QNetworkAccessManager *manager, const OnlineConfig &config, const QStringList &files,
                        int waitMs, QList<ListFile> &fetched)
{
    Fetch fetch;
    for (int i = 0; i < files.size(); ++i)
        fetch.files.append(ListFile{ListFileState::Failed, QString()});
    fetch.repliesLeft = files.size();
    const int number = ++online().lastFetch;
    online().underWay.insert(number, &fetch);
    QList<QPointer<QNetworkReply>> replies;
    for (int i = 0; i < files.size(); ++i)
        replies.append(requestFile(manager, config, files[i], number, i));
    const bool allCame = waitForReplies(manager, [&fetch] { return fetch.repliesLeft <= 0; }, waitMs);
    online().underWay.remove(number);
    // The last first: a connection freed by an aborted request would take up one still queued.
    for (auto reply = replies.crbegin(); reply != replies.crend(); ++reply)
        if (*reply && !(*reply)->isFinished())
            (*reply)->abort();
    fetched = fetch.files;
    return allCame ? FetchOutcome::AllAnswered : FetchOutcome::WaitRanOut;
}

int listWaitMs(const OnlineConfig &config)
{
    if (config.waitMs > 0)
        return config.waitMs;
    return smallScreen ? kSmallScreenListWaitMs : kListWaitMs;
}

// The configuration, unavailable as well without the manager that would carry the transfers.
OnlineConfig configFor(QNetworkAccessManager *manager)
{
    OnlineConfig config = readOnlineConfig();
    config.available = config.available && manager;
    return config;
}

// `downloadedLines` becomes `files` files not asked for yet; the configuration, not available
// (and said so) when the file or the manager is missing.
OnlineConfig beginListFetch(int files, QNetworkAccessManager *manager)
{
    downloadedLines = QList<ListFile>();
    for (int i = 0; i < files; ++i)
        downloadedLines.append(ListFile());
    const OnlineConfig config = configFor(manager);
    if (!config.available)
        sayUnavailable(config);
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

FetchOutcome fetchGameList(ViewArea *, QString &controlLetter)
{
    const OnlineConfig config = beginListFetch(kGameListSlots, gameListManager());
    if (!config.available) {
        controlLetter = QStringLiteral("E");
        return FetchOutcome::NoServer;
    }
    QStringList files{kControlFile};
    for (int slot = 0; slot < kGameListSlots; ++slot)
        files.append(gameListFileName(slot));
    QList<ListFile> fetched;
    const FetchOutcome outcome =
        fetchFiles(gameListManager(), config, files, listWaitMs(config) * files.size(), fetched);
    const QString control = fetched[0].text;
    downloadedLines = fetched.mid(1);
    if (!control.isEmpty())
        controlLetter = control.left(1);
    if (controlLetter == QLatin1String("E"))
        interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"),
                              QStringLiteral("Tarvan GX server disabled, view website for more info."));
    return outcome;
}

void takeListReply(QNetworkReply *reply)
{
    Fetch *fetch = online().underWay.value(reply->property(kFetchProperty).toInt());
    const int index = reply->property(kIndexProperty).toInt();
    if (!fetch || index < 0 || index >= fetch->files.size())
        return;
    fetch->files[index] = listFileOf(reply);
    --fetch->repliesLeft;
}

void uploadGameListEntry(int slot, const QString &address, int closed)
{
    // A client, or a host without an entry, has no slot: nothing to send.
    if (!isGameListSlot(slot))
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
        sayUnavailable(config);
        return QString();
    }
    return file;
}

} // namespace

ListFileState fetchTopFiveList(int mapSet, int campaignId)
{
    topFiveText = QStringLiteral(" ");
    OnlineConfig config;
    const QString file = topFiveTarget(mapSet, campaignId, config);
    if (file.isEmpty())
        return ListFileState::NotAsked;
    QList<ListFile> fetched;
    fetchFiles(topFiveManager(), config, {file}, config.waitMs > 0 ? config.waitMs : kSingleListWaitMs, fetched);
    const ListFile &list = fetched[0];
    if (list.state == ListFileState::Came)
        topFiveText = list.text;
    return list.state;
}

FetchOutcome fetchAllTopFiveLists(ViewArea *)
{
    const OnlineConfig config = beginListFetch(kTopFiveListCount, topFiveManager());
    if (!config.available)
        return FetchOutcome::NoServer;
    QList<ListFile> fetched;
    const FetchOutcome outcome =
        fetchFiles(topFiveManager(), config, topFiveFileNames(), listWaitMs(config) * kTopFiveListCount, fetched);
    downloadedLines = fetched;
    return outcome;
}

void uploadTopFive(int mapSet, int campaignId, const QString &name, int losses, int slot)
{
    OnlineConfig config;
    const QString file = topFiveTarget(mapSet, campaignId, config);
    if (file.isEmpty())
        return;
    online().topFiveUploadFailed = false;
    sendFile(topFiveManager(), config, file, topFiveListWith(topFiveText, topFiveEntryText(name, losses), slot).toUtf8());
}

bool isUploadReply(QNetworkReply *reply)
{
    return reply && reply->property(kUploadProperty).toBool();
}

bool uploadSucceeded(QNetworkReply *reply)
{
    return replySucceeded(reply) && reply->property(kSentProperty).toLongLong() >= reply->property(kSizeProperty).toLongLong();
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
