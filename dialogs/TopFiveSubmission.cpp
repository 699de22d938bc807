#include "dialogs/TopFiveSubmission.h"

#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "app/ViewArea.h"
#include "net/OnlineServices.h"
#include "persist/Settings.h"
#include "persist/TopFiveList.h"
#include "setup/ChoiceDialog.h"
#include "state/Campaign.h"
#include "state/Seams.h"
#include "state/TextRules.h"

namespace {

void sayNotGoodEnough()
{
    interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"),
                          QStringLiteral("Sorry, this is not good enough for a top5 listing."));
}

void sayListNotFetched()
{
    interaction().message(MessageIcon::Warning, QStringLiteral("Tarvan GX"),
                          QStringLiteral("The top five list could not be fetched from the server, so your score "
                                         "was not sent."));
}

// The name for the list: empty when the player cancels or leaves the name empty.
QString askSubmissionName(ViewArea &view, int losses)
{
    ChoiceDialogSpec spec;
    spec.addLabel(QStringLiteral("Losses %2 , Submit High Score (enter name) ?").replace(QLatin1String("%2"), QString::number(losses)));
    spec.addTextField(settingsRecord.highScoreName.trimmed());
    spec.textMaxLength = kTopFiveNameLength;
    spec.addLabel(QStringLiteral("The app will be closed afterwards"));
    DialogItem &ok = spec.addButton(QStringLiteral("Ok"), ButtonRole::AcceptOnly);
    ok.row = 0;
    ok.alignRight = true;
    spec.addCancel();
    spec.items.last().row = 0;
    const ChoiceOutcome outcome = runChoiceDialog(view, spec);
    return outcome.result ? typedName(outcome.text, kTopFiveNameLength) : QString();
}

} // namespace

void submitTopFiveScore(int mapSet, int losses)
{
    // The window's choice dialogs ask the name.
    ViewArea *view = programWindow();
    if (!view)
        return;
    // Four digits hold the losses of an entry: more never qualify, whatever the list holds.
    if (losses > kMostTopFiveLosses) {
        sayNotGoodEnough();
        return;
    }
    // Without a server nothing can be submitted: the fetch has said so. A list that failed to
    // come may well hold entries: a list sent without them would lose them.
    const ListFileState fetched = fetchTopFiveList(mapSet, campaignId);
    if (fetched == ListFileState::NotAsked)
        return;
    if (fetched == ListFileState::Failed) {
        sayListNotFetched();
        return;
    }
    const int slot = chooseTopFiveSlot(topFiveText, losses);
    if (slot == kTopFiveNotGoodEnough) {
        sayNotGoodEnough();
        return;
    }
    topFiveSlot = slot;
    const QString name = askSubmissionName(*view, losses);
    if (!name.isEmpty())
        uploadTopFive(mapSet, campaignId, name, losses, topFiveSlot);
}
