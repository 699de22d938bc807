// The army-count question: how many armies a click places, attacks with or moves. The dialog is
// shown without blocking the game loop; its buttons answer through the window's slots, which
// hand the count to the turn flow (`applyArmyCount`) to resume the step that asked.
//
// One question has one answer: once a button has answered, or the question has gone over to
// the combo dialog of larger counts, further clicks on the first dialog change nothing.

#include "app/ViewArea.h"

#include "app/DialogState.h"
#include "app/GameLoop.h"
#include "dialogs/MemberDialog.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/GameState.h"
#include "state/Seams.h"

#include <QComboBox>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {

// The counts of buttons 1..8; button 9 hands the question to the combo dialog.
constexpr int kCountButtons = 8;
constexpr int kMoreButton = 9;
// The pauses around the switch to the combo dialog.
constexpr int kComboPause = 500;

enum class Stage { Closed, Buttons, Combo };
Stage stage = Stage::Closed;
// The largest count the open question takes.
int offeredMost = 0;

// The window whose dialog the game loop's question (a conquest's move-in) opens.
QPointer<ViewArea> questionWindow;

bool questionOpenAt(Stage at)
{
    return stage == at && dialogOpen;
}

// The most armies the step that asks can take, by its phase: what is still to be placed, or
// what the source can spare (within the allowance, for a move). No bound outside the phases.
int armiesTheStepTakes(int limit)
{
    if (initialPlacementPhase)
        return armiesToPlace;
    if (territoryBonusPhase)
        return territoryArmiesDue;
    if (continentBonusPhase)
        return continentArmiesDue;
    if (cardBonusPhase)
        return cardArmiesDue;
    const int spare = isValidTerritory(sourceTerritory) ? territoryState[sourceTerritory].armies - 1 : 0;
    if (attackTargetPhase) // an attack, or the move into a conquered territory
        return spare;
    if (moveTargetPhase)
        return std::min(spare, static_cast<int>(moveAllowance));
    return limit;
}

// The words of the buttons: what the count will do.
QString countText(int mode, int count)
{
    const QString armies = count == 1 ? QStringLiteral("1 army") : QStringLiteral("%1 armies").arg(count);
    const bool placing = initialPlacementPhase || territoryBonusPhase || continentBonusPhase || cardBonusPhase;
    if (placing)
        return QStringLiteral("Place ") + armies;
    if (mode == 0 && attackTargetPhase && !pendingConquestMoveCount)
        return QStringLiteral("Attack with ") + armies;
    return QStringLiteral("Move ") + armies;
}

// The combo's entries, the largest count first so that the entry selected at first takes all.
QStringList comboEntries(int most)
{
    QStringList entries;
    for (int count = most; count >= 1; --count)
        entries.append(QString::number(count));
    return entries;
}

void closeQuestion()
{
    stage = Stage::Closed;
    armyCountDialogOpen = 0;
    dialogOpen = 0;
}

// The answer of the open question, never more than it offered; 0 cancels.
void answerQuestion(int count)
{
    const int armies = std::clamp(count, 0, std::max(0, offeredMost));
    closeQuestion();
    applyArmyCount(armies);
}

// A count button answers only the question its dialog asks now.
void answerCountButton(int count)
{
    if (questionOpenAt(Stage::Buttons))
        answerQuestion(count);
}

void askThroughWindow(int mode, int limit)
{
    if (questionWindow)
        questionWindow->showArmyCountDialog(mode, limit);
}

} // namespace

void ViewArea::installArmyCountQuestion()
{
    questionWindow = this;
    armyCountQuestion = askThroughWindow;
}

void ViewArea::showArmyCountDialog(int mode, int limit)
{
    offeredMost = std::min(limit, armiesTheStepTakes(limit));
    if (offeredMost < 1) {
        // Nothing to choose: the step goes on as if the question had been cancelled.
        closeQuestion();
        applyArmyCount(0);
        return;
    }
    // "More" leads on to the combo dialog.
    buildArmyCountDialog();
    buildArmyComboDialog();
    for (int n = 1; n <= kCountButtons; ++n) {
        armyCountButton[n]->setText(countText(mode, n));
        armyCountButton[n]->setVisible(n <= offeredMost);
    }
    armyCountButton[kMoreButton]->setText(QStringLiteral("More... (up to %1)").arg(offeredMost));
    armyCountButton[kMoreButton]->setVisible(offeredMost > kCountButtons);
    armyComboItems = comboEntries(offeredMost);

    stage = Stage::Buttons;
    armyCountDialogOpen = 1;
    dialogOpen = 1;
    bringUpMemberDialog(*armyCountDialog);
}

void ViewArea::legerdlg0()
{
    // Closing the first dialog after the question has gone over to the combo dialog (Escape
    // during the switch) cancels nothing; closing the combo dialog does.
    const QObject *from = sender();
    const bool fromFirstDialog = from && (from == armyCountDialog || from == armyCountCancelButton);
    if (questionOpenAt(Stage::Buttons) || (questionOpenAt(Stage::Combo) && !fromFirstDialog))
        answerQuestion(0);
}

void ViewArea::legerdlg1()
{
    answerCountButton(1);
}

void ViewArea::legerdlg2()
{
    answerCountButton(2);
}

void ViewArea::legerdlg3()
{
    answerCountButton(3);
}

void ViewArea::legerdlg4()
{
    answerCountButton(4);
}

void ViewArea::legerdlg5()
{
    answerCountButton(5);
}

void ViewArea::legerdlg6()
{
    answerCountButton(6);
}

void ViewArea::legerdlg7()
{
    answerCountButton(7);
}

void ViewArea::legerdlg8()
{
    answerCountButton(8);
}

namespace {

void moveQuestionToCombo(ViewArea &view)
{
    // "More": the question goes over to the combo dialog at once, so that a count clicked in the
    // first dialog during the pause answers nothing twice.
    if (!questionOpenAt(Stage::Buttons))
        return;
    stage = Stage::Combo;
    interaction().pause(kComboPause);
    if (!questionOpenAt(Stage::Combo))
        return;
    view.armyCombo->clear();
    view.armyCombo->addItems(view.armyComboItems);
    view.armyCombo->setCurrentIndex(0);
    dialogChoice = 0;
    dialogOpen = 1;
    armyCountDialogOpen = 0;
    view.armyComboDialog->setWindowModality(Qt::ApplicationModal);
    bringUpMemberDialog(*view.armyComboDialog);
    interaction().pause(kComboPause);
}

} // namespace

void ViewArea::legerdlg9()
{
    moveQuestionToCombo(*this);
    // The game loop plays on during the pauses: the combo may be answered and the next question
    // (a conquest's move) asked in the first dialog before the button's closing of that dialog,
    // which follows this slot, hides it. Such a question is shown again.
    QTimer::singleShot(0, this, [this] {
        if (questionOpenAt(Stage::Buttons) && !armyCountDialog->isVisible())
            bringUpMemberDialog(*armyCountDialog);
    });
}

void ViewArea::legersokdlg()
{
    if (questionOpenAt(Stage::Combo))
        answerQuestion(armyCombo->currentText().toInt());
}
