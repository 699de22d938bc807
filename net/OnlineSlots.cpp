// The window's slots for the online services: the replies of the list fetches and the ends of
// the uploads.

#include "app/ViewArea.h"

#include "app/GameLoop.h"
#include "net/OnlineServices.h"
#include "state/Seams.h"

#include <QNetworkReply>

namespace {

constexpr int kPauseBeforeClosingMs = 1000;

} // namespace

void ViewArea::finishedSlot(QNetworkReply *reply)
{
    if (!reply)
        return;
    if (isUploadReply(reply)) {
        reply->deleteLater();
        uploadDone();
        return;
    }
    takeListReply(reply);
    reply->deleteLater();
}

void ViewArea::finishedSlotT5(QNetworkReply *reply)
{
    if (!reply)
        return;
    if (isUploadReply(reply)) {
        markTopFiveUploadFailed(!uploadSucceeded(reply));
        reply->deleteLater();
        uploadDoneT5();
        return;
    }
    takeListReply(reply);
    reply->deleteLater();
}

void ViewArea::uploadDone()
{
    // The game-list entry is on its way or lost; nobody waits for it.
}

void ViewArea::uploadDoneT5()
{
    if (topFiveUploadFailed())
        interaction().message(MessageIcon::Warning, QStringLiteral("Tarvan GX"),
                              QStringLiteral("Your score could not be sent to the top five list."));
    // The player was told that the program closes once the score is sent.
    interaction().pause(kPauseBeforeClosingMs);
    if (quitEventLoop)
        quitEventLoop();
}
