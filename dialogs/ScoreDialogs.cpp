// The start menu's Scores and Rank: the player's own games, the global top-five lists and the
// two ranks with their insignia.

#include "app/ViewArea.h"

#include "app/DialogState.h"
#include "app/NetworkState.h"
#include "app/ResourceNames.h"
#include "state/MapView.h"
#include "app/WindowState.h"
#include "dialogs/DialogLook.h"
#include "dialogs/ScoreDialogs.h"
#include "dialogs/ScoreTables.h"
#include "net/OnlineServices.h"
#include "persist/Ranks.h"
#include "setup/ChoiceDialog.h"
#include "state/Seams.h"

#include <QBitmap>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QVBoxLayout>

namespace {

enum ScoresView { YourScores = 1, GlobalHighScores = 2 };

QListWidget *newList(QDialog &dialog, const QStringList &lines)
{
    auto *list = new QListWidget(&dialog);
    list->addItems(lines);
    list->setCurrentRow(0);
    return list;
}

void showHighScores()
{
    const ScoresTable table = readScoresTable();
    if (!table.opened)
        return;
    interaction().pause(500);
    QDialog dialog;
    giveDialogLook(dialog, QStringLiteral("Tarvan GX"));
    // Courier keeps the columns of the rows in line.
    dialog.setStyleSheet(QStringLiteral("QWidget{font-family:Courier;}"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(newList(dialog, table.lines));
    for (const QString &line : scoresTableLegend())
        addLabel(*layout, line);
    addOkButton(dialog, *layout);
    runDialogBetweenPauses(dialog, 0, 300);
}

void showGlobalHighScores(ViewArea &view)
{
    // Without a server there are no lists: the fetch has said so. A list that did not come says
    // so under its heading.
    if (fetchAllTopFiveLists(&view) == FetchOutcome::NoServer)
        return;
    interaction().pause(300);
    const std::array<QStringList, 3> columns = topFiveColumns(downloadedLines);
    QDialog dialog;
    giveDialogLook(dialog, QStringLiteral("Tarvan GX"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *row = new QHBoxLayout;
    layout->addLayout(row);
    for (const QStringList &column : columns)
        row->addWidget(newList(dialog, column));
    addOkButton(dialog, *layout);
    dialog.setFixedSize(screenWidth / 2, screenHeight / 2);
    runDialogBetweenPauses(dialog, 0, 100);
}

// A rank's insignia fitted into a square of a 46th of the screen's width, black see-through.
QLabel *newInsignia(QDialog &dialog, int rank)
{
    auto *label = new QLabel(&dialog);
    const int side = rankInsigniaSide();
    QPixmap picture(resources::rankInsigniaPath(rank + 1));
    if (!picture.isNull() && side > 0) {
        picture = picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        picture.setMask(picture.createMaskFromColor(Qt::black));
    }
    label->setPixmap(picture);
    label->setObjectName(QStringLiteral("rank%1").arg(rank));
    return label;
}

void addRankRow(QDialog &dialog, QVBoxLayout &layout, const QString &caption, int rank)
{
    auto *row = new QHBoxLayout;
    layout.addLayout(row);
    row->addWidget(new QLabel(caption, &dialog));
    row->addWidget(new QLabel(rankName(rank), &dialog));
    row->addWidget(newInsignia(dialog, rank));
}

} // namespace

int rankInsigniaSide()
{
    return screenWidth / 46;
}

QStringList rankRequirementLines()
{
    return {
        QStringLiteral("Private First Class  -  World (5 players, Strongholds)"),
        QStringLiteral("Corporal  -  China (Troop Experience)"),
        QStringLiteral("Sergeant  -  Australia (Strongholds, Troop Experience)"),
        QStringLiteral("Lieutenant  -  North America (Strongholds)"),
        QStringLiteral("Captain  -  Japan (Conqueror Personalities)"),
        QStringLiteral("Major  -  Swamp (Strongholds, Escort mission)"),
        QStringLiteral("Colonel  -  Europe, WorldII"),
        QStringLiteral("Brigadier General  -  Australia (Hold Continents mission)"),
        QStringLiteral("Major General  -  Worlds campaign (1-on-1)"),
        QStringLiteral("Lieutenant General  -  North Atlantic campaign (1-on-1, Escort mission)"),
        QStringLiteral("General  -  West Pacific campaign (1-on-1, Strongholds, Escort mission)"),
        QStringLiteral("General of the Army  -  Worlds campaign (1-on-1, Hold Continents mission)"),
    };
}

void ViewArea::chooseScoresView()
{
    ChoiceDialogSpec spec;
    spec.addAnswer(QStringLiteral("Your Scores"), YourScores);
    spec.addAnswer(QStringLiteral("Global High Scores"), GlobalHighScores);
    spec.addCancel();
    runChoiceDialog(*this, spec);
    if (dialogChoice == YourScores)
        showHighScores();
    else if (dialogChoice == GlobalHighScores)
        showGlobalHighScores(*this);
}

void ViewArea::showRankDialog()
{
    qint32 single = 0;
    qint32 second = 0;
    computeSinglePlayerRank(&single, &second);
    const qint32 multi = computeMultiplayerRank();
    interaction().pause(300);

    QDialog dialog;
    giveDialogLook(dialog, QStringLiteral("Rank"));
    auto *layout = new QVBoxLayout(&dialog);
    if (smallScreen)
        layout->setSpacing(0);
    addRankRow(dialog, *layout, QStringLiteral("Your Rank - Single Player  "), single);
    addRankRow(dialog, *layout, QStringLiteral("Your Rank - Multiplayer     "), multi);
    addLabel(*layout, QStringLiteral("___________________Rank Requirements - Single Player_____________________"));
    for (const QString &line : rankRequirementLines()) {
        auto *field = new QLineEdit(line, &dialog);
        field->setReadOnly(true);
        // The whole line shows from its start.
        field->setCursorPosition(0);
        field->setMinimumWidth(field->fontMetrics().horizontalAdvance(line) + 4 * field->fontMetrics().averageCharWidth());
        layout->addWidget(field);
    }
    addOkButton(dialog, *layout);
    if (screenHeight < 600 || smallScreen)
        dialog.setWindowState(dialog.windowState() ^ Qt::WindowMaximized);
    runDialogBetweenPauses(dialog, 0, 1000);
}
