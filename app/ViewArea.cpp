#include "app/ViewArea.h"

#include "app/WindowInteraction.h"
#include "persist/DataFolder.h"
#include "state/GameState.h"
#include "state/StatusLine.h"
#include "state/StepQueues.h"

ViewArea::ViewArea(QWidget *parent) : QMainWindow(parent)
{
    installWindowInteraction(this);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::black);
    setPalette(background);
    setAutoFillBackground(true);
    resetGameState();
    clearStepQueues();
    resetStatusLine();
    takeDataFolderFromWorkingFolder();
}

ViewArea::~ViewArea()
{
    installWindowInteraction(nullptr);
}
