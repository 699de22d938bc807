#include "app/OnlineManagers.h"

#include "app/ViewArea.h"

#include <QNetworkAccessManager>
#include <QPointer>

namespace {

struct OnlineManagers {
    QPointer<ViewArea> window;
    QPointer<QNetworkAccessManager> gameList;
    QPointer<QNetworkAccessManager> topFive;
};

OnlineManagers &managers()
{
    static OnlineManagers kept;
    return kept;
}

QNetworkAccessManager *madeOnFirstUse(QPointer<QNetworkAccessManager> &manager, const char *slot)
{
    ViewArea *window = managers().window;
    if (!manager && window) {
        manager = new QNetworkAccessManager(window);
        QObject::connect(manager, SIGNAL(finished(QNetworkReply*)), window, slot);
    }
    return manager;
}

} // namespace

void armOnlineManagers(ViewArea *window)
{
    managers().window = window;
}

QNetworkAccessManager *gameListManager()
{
    return madeOnFirstUse(managers().gameList, SLOT(finishedSlot(QNetworkReply*)));
}

QNetworkAccessManager *topFiveManager()
{
    return madeOnFirstUse(managers().topFive, SLOT(finishedSlotT5(QNetworkReply*)));
}

void dropOnlineManagers()
{
    OnlineManagers &kept = managers();
    delete kept.gameList;
    delete kept.topFive;
    kept = OnlineManagers{};
}
