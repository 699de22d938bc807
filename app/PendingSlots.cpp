// The window's slots whose behaviour belongs to later work (network play, the set-up flow, the
// dialogs, the card trade). Each does now only what the window itself relies on; the work that
// owns a group replaces that group.

#include "app/ViewArea.h"

#include "app/DialogState.h"
#include "app/NetworkState.h"
#include "rules/TurnFlow.h"

#include <QComboBox>
#include <QDialog>

#include <QNetworkReply>

// ---- Set-up flow ----

// ---- Dialogs ----
