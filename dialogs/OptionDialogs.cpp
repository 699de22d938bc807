// The option dialogs of the start menu (sound, personalities, animations) and the answers of the
// player names dialog. Each stores its values in the game's globals and saves the settings.

#include "dialogs/OptionDialogs.h"

#include "app/DialogState.h"
#include "app/NetworkState.h"
#include "app/ViewArea.h"
#include "dialogs/DialogLook.h"
#include "persist/Settings.h"
#include "setup/InfoBoxes.h"
#include "state/ForcedOptions.h"
#include "state/GameState.h"
#include "state/Seams.h"
#include "state/TextRules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr int kSoundSwitches = 9;
constexpr int kFirstComputerSeat = 2;

// "Ok" and "Cancel" side by side at the foot of a dialog.
void addOkCancel(QDialog &dialog, QVBoxLayout &layout)
{
    auto *row = new QHBoxLayout;
    layout.addLayout(row);
    auto *ok = new QPushButton(QStringLiteral("Ok"), &dialog);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
}

const QString kPersonalityInfo = QStringLiteral(
    "Normal - the default computer player.\n\nConqueror - a more attackink play style\nweakening the "
    "strongest, mopping up remnants.\n\nDefensive - defensive play style (stockpiling armies).\n\n"
    "Avenger - don't attack his continent !\n\nDetermined - is busy conquering continents, "
    "disregarding everything else.\n\nHunter - is less interested in continents..\n\nUnstable - "
    "changes his personality (to those listed above) several \ntimes during the game.\n\n\nRandom Mix "
    "- the program generates a random combination of \npersonalities - to be revealed at the end of "
    "the game \n(Scores window - List All ).\n\n\nLevel Easy - no personalities.\n ");

// The names the player changed in the ten line edits into the configured names, and the settings
// saved. A name left as the dialog shows it stays as it is kept: only the player's own changes
// count as changed (while the settings file cannot be read, only they go on top of its names).
void takeNamesFromDialog(ViewArea &view)
{
    for (int p = 1; p <= kMaxPlayers; ++p) {
        if (!view.aiNameEdit[p])
            continue;
        const QString typed = cleanedText(view.aiNameEdit[p]->text());
        if (typed != namesDialogText(p))
            configuredPlayerName[p] = typed;
    }
    saveSettings();
}

void closeNamesDialogFlags()
{
    dialogOpen = 0;
    aiNamesDialogOpen = 0;
}

} // namespace

QStringList soundSwitchLabels()
{
    return {QStringLiteral("None"),         QStringLiteral("Attack"),
            QStringLiteral("Add"),          QStringLiteral("Move"),
            QStringLiteral("Next player"),  QStringLiteral("Player out of game"),
            QStringLiteral("Continent conquered"), QStringLiteral("Victory"),
            QStringLiteral("Sonar sound while connecting")};
}

QStringList personalityLabels()
{
    return {QStringLiteral("Normal"),     QStringLiteral("Conqueror"), QStringLiteral("Defensive"),
            QStringLiteral("Avenger"),    QStringLiteral("Determined"), QStringLiteral("Hunter"),
            QStringLiteral("Unstable")};
}

// Every seat has its personality, whatever the number of players of the last game.
static bool isSeat(int player)
{
    return player >= 1 && player <= kMaxPlayers;
}

int shownPersonality(int player)
{
    if (!isSeat(player))
        return 0;
    if (personalitySetting[player] == kPersonalityUnstable || personality[player] == kPersonalityUnstable)
        return kPersonalityUnstable;
    return qBound(0, personality[player], kPersonalityUnstable - 1);
}

void choosePersonality(int player, int choice)
{
    if (!isSeat(player) || choice < 0 || choice > kPersonalityUnstable)
        return;
    personality[player] = choice;
    personalitySetting[player] = choice == kPersonalityUnstable ? kPersonalityUnstable : 0;
}

QString namesDialogText(int player)
{
    return isSeat(player) ? typedName(configuredPlayerName[player], kPlayerNameLength) : QString();
}

void ViewArea::showSoundSettings()
{
    QDialog dialog;
    giveDialogLook(dialog, QStringLiteral("Sound Settings"));
    auto *layout = new QVBoxLayout(&dialog);
    std::array<QCheckBox *, kSoundSwitches + 1> boxes{};
    const QStringList labels = soundSwitchLabels();
    for (int i = 1; i <= kSoundSwitches; ++i) {
        boxes[i] = new QCheckBox(labels[i - 1], &dialog);
        boxes[i]->setChecked(soundEnabled[i] != 0);
        layout->addWidget(boxes[i]);
    }
    addOkCancel(dialog, *layout);
    connect(&dialog, SIGNAL(finished(int)), this, SLOT(soundsettFinished()));
    if (runDialogBetweenPauses(dialog, 300, 300) != QDialog::Accepted)
        return;
    for (int i = 1; i <= kSoundSwitches; ++i)
        soundEnabled[i] = boxes[i]->isChecked() ? 1 : 0;
    saveSettings();
}

void ViewArea::showPersonalities()
{
    QDialog dialog;
    giveDialogLook(dialog, QStringLiteral("Personalities"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    std::array<QComboBox *, kMaxPlayers + 1> choices{};
    for (int p = kFirstComputerSeat; p <= kMaxPlayers; ++p) {
        grid->addWidget(new QLabel(configuredPlayerName[p].trimmed(), &dialog), p, 0);
        choices[p] = new QComboBox(&dialog);
        choices[p]->addItems(personalityLabels());
        choices[p]->setCurrentIndex(shownPersonality(p));
        grid->addWidget(choices[p], p, 1);
    }
    auto *randomMix = new QCheckBox(QStringLiteral("Random Mix"), &dialog);
    randomMix->setChecked(randomMixPersonalities != 0);
    layout->addWidget(randomMix);
    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    auto *info = new QPushButton(QStringLiteral("Info..."), &dialog);
    auto *reset = new QPushButton(QStringLiteral("Reset"), &dialog);
    buttons->addWidget(info);
    buttons->addWidget(reset);
    connect(info, SIGNAL(clicked()), this, SLOT(persinfo()));
    // The reset stores the defaults at once; the dialog closes without taking its choices.
    connect(reset, SIGNAL(clicked()), this, SLOT(persresetten()));
    connect(reset, &QPushButton::clicked, &dialog, &QDialog::reject);
    addOkCancel(dialog, *layout);
    connect(&dialog, SIGNAL(finished(int)), this, SLOT(persondlgFinished()));
    // Cancel changes nothing, so there is nothing to store: saving then would write an Unstable
    // player's passing personality in place of Unstable.
    if (runDialogBetweenPauses(dialog, 300, 300) != QDialog::Accepted)
        return;
    for (int p = kFirstComputerSeat; p <= kMaxPlayers; ++p)
        choosePersonality(p, choices[p]->currentIndex());
    randomMixPersonalities = randomMix->isChecked() ? 1 : 0;
    // A set-up given up halfway leaves its mark; the choice made here is the menus' own.
    clearGameUnderWay();
    saveSettings();
    // The file keeps Unstable; the game plays each Unstable player by a personality of his own.
    for (int p = kFirstComputerSeat; p <= kMaxPlayers; ++p)
        if (personality[p] == kPersonalityUnstable)
            personality[p] = randomSource().below(kPersonalityUnstable);
}

void ViewArea::showAnimationSettingsDialog()
{
    QDialog dialog;
    giveDialogLook(dialog, QStringLiteral("Animations"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *display = new QCheckBox(QStringLiteral("Display Animations"), &dialog);
    display->setChecked(chosenAnimations() != 0);
    layout->addWidget(display);
    addOkCancel(dialog, *layout);
    if (runDialogBetweenPauses(dialog, 300, 300) != QDialog::Accepted)
        return;
    chooseAnimations(display->isChecked() ? 1 : 0);
    saveSettings();
}

// The dialogs' ends need nothing more: their values are taken when they are accepted.
void ViewArea::soundsettFinished() {}
void ViewArea::persondlgFinished() {}

void ViewArea::persresetten()
{
    for (int p = 1; p <= kMaxPlayers; ++p) {
        personality[p] = 0;
        personalitySetting[p] = 0;
    }
    randomMixPersonalities = 0;
    clearGameUnderWay();
    saveSettings();
}

void ViewArea::persinfo()
{
    showInfoBox({QStringLiteral("Personalities"), kPersonalityInfo});
}

void ViewArea::ainamen()
{
    dialogChoice = 1;
    takeNamesFromDialog(*this);
    closeNamesDialogFlags();
}

void ViewArea::ainamen2()
{
    // Closing the window (0) stores the names. Ok (1) has stored them already: the fields may be
    // out of date since (the store can bring the file's names into use). Cancel (2) and Restore
    // Defaults (3) leave them as they are.
    if (dialogChoice == 0)
        takeNamesFromDialog(*this);
    closeNamesDialogFlags();
    dialogChoice = 4;
}

void ViewArea::ainameresdef()
{
    dialogChoice = 3;
    for (int p = 1; p <= kMaxPlayers; ++p)
        configuredPlayerName[p] = defaultPlayerName(p);
    saveSettings();
    closeNamesDialogFlags();
}

void ViewArea::gzendstr()
{
    chatOutgoing = chatInput;
}
