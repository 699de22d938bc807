// The player names dialog of the options menu: shown without blocking, answered through the
// window's slots (the names are taken over by the dialogs' `ainamen`, `ainamen2`, `ainameresdef`).

#include "app/ViewArea.h"

#include "app/DialogState.h"
#include "app/ScreenSize.h"
#include "dialogs/NameField.h"
#include "dialogs/OptionDialogs.h"
#include "persist/Settings.h"
#include "state/GameState.h"
#include "state/MapView.h"
#include "state/Seams.h"

#include <QDialog>
#include <QLineEdit>

void ViewArea::showAiNamesDialog()
{
    // A settings file that can be read again brings its names first, as the start menu would: the
    // dialog shows what its Ok stores.
    if (settingsFileValuesOwed() && !gameInProgress())
        loadSettingsForThisScreen();
    buildAiNamesDialog();
    aiNamesDialogOpen = 1;
    for (int p = 1; p <= kMaxPlayers; ++p) {
        limitNameField(*aiNameEdit[p], kPlayerNameLength);
        aiNameEdit[p]->setText(namesDialogText(p));
    }
    interaction().pause(300);
    dialogOpen = 1;
    dialogChoice = 0;
    if (smallScreen)
        aiNamesDialog->showMaximized();
    else
        aiNamesDialog->showNormal();
    aiNamesDialog->raise();
    aiNamesDialog->activateWindow();
    interaction().pause(500);
}

void ViewArea::ainamerej()
{
    // The dialog's own reject follows; the names stay as they were.
    dialogOpen = 0;
    dialogChoice = 2;
    aiNamesDialogOpen = 0;
}
