// The game panel's Stats and Continents, the status bar's Cards, the top five of the map, and
// About with its website button.

#include "dialogs/InfoDialogs.h"

#include "app/GameLoopInternal.h"
#include "app/MouseInput.h"
#include "app/NetworkState.h"
#include "app/ResourceNames.h"
#include "app/ViewArea.h"
#include "app/WindowState.h"
#include "dialogs/DialogLook.h"
#include "dialogs/InfoTables.h"
#include "dialogs/ScoreTables.h"
#include "dialogs/TopFiveSubmission.h"
#include "net/OnlineConfig.h"
#include "net/OnlineServices.h"
#include "persist/TopFiveList.h"
#include "rules/GameEnd.h"
#include "state/Campaign.h"
#include "state/GameState.h"
#include "state/Seams.h"

#include <QDesktopServices>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

bool (*openWebPage)(const QUrl &url) = [](const QUrl &url) { return QDesktopServices::openUrl(url); };

namespace {

// A won high-score game is offered to its top-five list by the dialog of TopFiveSubmission.cpp.
// This file is always part of the program (it defines slots of the window), so the offer is too.
struct TopFiveSubmissionInstaller {
    TopFiveSubmissionInstaller() { topFiveSubmission = submitTopFiveScore; }
} topFiveSubmissionInstaller;

constexpr int kCardPictureHeight = 72;
const char kVersion[] = "1.0";

QTableWidget *newTable(QDialog &dialog, const TextTable &table)
{
    const int rows = table.size() - 1;
    const int columns = table.isEmpty() ? 0 : table.first().size();
    auto *widget = new QTableWidget(qMax(0, rows), columns, &dialog);
    if (!table.isEmpty())
        widget->setHorizontalHeaderLabels(table.first());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns && c < table[r + 1].size(); ++c)
            widget->setItem(r, c, new QTableWidgetItem(table[r + 1][c]));
    widget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    widget->setSelectionMode(QAbstractItemView::NoSelection);
    widget->verticalHeader()->hide();
    widget->resizeColumnsToContents();
    // Every row and column shows without scrolling.
    int width = 2 * widget->frameWidth();
    for (int c = 0; c < columns; ++c)
        width += widget->columnWidth(c);
    int height = 2 * widget->frameWidth() + widget->horizontalHeader()->sizeHint().height();
    for (int r = 0; r < rows; ++r)
        height += widget->rowHeight(r);
    widget->setMinimumSize(width, qMin(height, screenHeight > 0 ? screenHeight * 2 / 3 : height));
    return widget;
}

// One kind of card: its picture and how many the player holds.
void addCardKind(QDialog &dialog, QHBoxLayout &row, int kind, int count)
{
    if (count <= 0)
        return;
    auto *picture = new QLabel(&dialog);
    QPixmap card(resources::cardPicturePath(kind));
    if (!card.isNull())
        picture->setPixmap(card.scaledToHeight(kCardPictureHeight, Qt::SmoothTransformation));
    row.addWidget(picture);
    row.addWidget(new QLabel(QStringLiteral("x %1").arg(count), &dialog));
}

// The heading of the top-five list of a map set or campaign; empty when it has none.
QString topFiveListHeading(int mapSet, int campaign)
{
    const QString file = topFiveFileName(mapSet, campaign);
    return file.isEmpty() ? QString() : topFiveHeading(topFiveFileNames().indexOf(file));
}

} // namespace

QUrl gameWebsite()
{
    return readOnlineConfig().website;
}

void ViewArea::showStatisticsDialog()
{
    QDialog dialog;
    giveDialogLook(dialog, QStringLiteral("Statistics"));
    auto *layout = new QVBoxLayout(&dialog);
    addLabel(*layout, windowTitleText);
    addLabel(*layout, QStringLiteral("Play time: %1").arg(playTimeText(totalPlayTime())));
    if (missionType == 1 && missionHolder() != 0)
        addLabel(*layout, QStringLiteral("Continent to conquer: %1").arg(askedMissionContinentName()));
    layout->addWidget(newTable(dialog, statisticsTable()));
    addOkButton(dialog, *layout);
    runDialogBetweenPauses(dialog, 300, 300);
}

void ViewArea::showContinentBonusDialog()
{
    continentOverviewShown = 1;
    QDialog dialog;
    giveDialogLook(dialog, QStringLiteral("Continents"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(newTable(dialog, continentOverviewTable()));
    for (const QString &line : missionProgressLines())
        addLabel(*layout, line);
    addOkButton(dialog, *layout);
    runDialogBetweenPauses(dialog, 300, 300);
    continentOverviewShown = 0;
}

void ViewArea::showCardsDialog()
{
    const CardsShown shown = cardsShown();
    QDialog dialog;
    giveDialogLook(dialog, QStringLiteral("Cards"));
    auto *layout = new QVBoxLayout(&dialog);
    addLabel(*layout, QStringLiteral("Your cards (%1):").arg(shownPlayerName(shown.player)));
    auto *row = new QHBoxLayout;
    layout->addLayout(row);
    addCardKind(dialog, *row, CardArtillery, shown.artillery);
    addCardKind(dialog, *row, CardInfantry, shown.infantry);
    addCardKind(dialog, *row, CardCavalry, shown.cavalry);
    addCardKind(dialog, *row, CardWild, shown.wild);
    if (shown.artillery + shown.infantry + shown.cavalry + shown.wild == 0)
        row->addWidget(new QLabel(QStringLiteral("none"), &dialog));
    addLabel(*layout, QStringLiteral("The other players:"));
    for (const QString &line : shown.others)
        addLabel(*layout, line);
    addOkButton(dialog, *layout);
    runDialogBetweenPauses(dialog, 300, 300);
}

void ViewArea::showTopFiveDialog()
{
    const int mapSet = topFiveMapSet();
    const QString heading = topFiveListHeading(mapSet, campaignId);
    if (heading.isEmpty())
        return;
    // Without a server there is no list: the fetch has said so.
    const ListFileState fetched = fetchTopFiveList(mapSet, campaignId);
    if (fetched == ListFileState::NotAsked)
        return;
    QDialog dialog;
    giveDialogLook(dialog, QStringLiteral("Tarvan GX"));
    dialog.setStyleSheet(QStringLiteral("QWidget{font-family:Courier;}"));
    auto *layout = new QVBoxLayout(&dialog);
    addLabel(*layout, QStringLiteral("Top 5 - %1").arg(heading));
    auto *list = new QListWidget(&dialog);
    const QStringList entries = topFiveEntries(topFiveText);
    if (fetched == ListFileState::Failed)
        list->addItem(topFiveListNotFetchedText());
    else
        list->addItems(entries.isEmpty() ? QStringList{QStringLiteral("no entries yet")} : entries);
    // Room for a whole entry without scrolling.
    list->setMinimumWidth(list->fontMetrics().horizontalAdvance(QString(kTopFiveEntryLength + 4, QLatin1Char('0'))));
    layout->addWidget(list);
    auto *ok = new QPushButton(QStringLiteral("Ok"), &dialog);
    layout->addWidget(ok, 0, Qt::AlignRight);
    connect(ok, SIGNAL(clicked()), this, SLOT(modaaluit()));
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    runDialogBetweenPauses(dialog, 300, 300);
}

void ViewArea::showAboutDialog()
{
    QDialog dialog;
    giveDialogLook(dialog, QStringLiteral("About Tarvan GX"));
    auto *layout = new QVBoxLayout(&dialog);
    addLabel(*layout, QStringLiteral("Tarvan GX %1").arg(QLatin1String(kVersion)));
    addLabel(*layout, QStringLiteral("A turn-based strategy game of territories and continents\n"
                                     "for two to ten players: at one computer, against the computer\n"
                                     "or over the network."));
    addLabel(*layout, QStringLiteral("Made with Qt %1").arg(QLatin1String(qVersion())));
    auto *row = new QHBoxLayout;
    layout->addLayout(row);
    auto *website = new QPushButton(QStringLiteral("Tarvan GX Website"), &dialog);
    auto *ok = new QPushButton(QStringLiteral("Ok"), &dialog);
    row->addWidget(website);
    row->addStretch();
    row->addWidget(ok);
    connect(website, SIGNAL(clicked()), this, SLOT(mvwebsite()));
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    runDialogBetweenPauses(dialog, 300, 300);
}

void ViewArea::mvwebsite()
{
    const QUrl website = gameWebsite();
    if (website.isEmpty()) {
        interaction().message(MessageIcon::Information, QStringLiteral("Tarvan GX"),
                              QStringLiteral("The Tarvan GX website is not set up for this program (online.ini)."));
        return;
    }
    openWebPage(website);
}
