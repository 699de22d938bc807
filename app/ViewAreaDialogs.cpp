// The member dialogs: built once at start-up, shown and hidden by the game, never rebuilt.
// Every button reaches the window's slot before the dialog's own accept or reject, so the
// answer is stored before the dialog closes.

#include "app/ViewArea.h"

#include "app/DialogState.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const kProgramIcon = ":/tifb/Tarvan.ico";

// The look every dialog of the game shares: a title bar only, the standard grey, the program's
// icon and the dialog opacity (which needs a compositing window manager on Linux).
QDialog *newMemberDialog(const QString &title)
{
    auto *dialog = new QDialog(nullptr, Qt::WindowTitleHint);
    dialog->setPalette(QPalette(QColor(Qt::gray)));
    dialog->setWindowTitle(title);
    dialog->setWindowOpacity(dialogOpacity);
    dialog->setWindowIcon(QIcon(QString::fromLatin1(kProgramIcon)));
    return dialog;
}

// "1name()" for the slot `name` followed by a number.
QByteArray numberedSlot(const char *name, int n)
{
    return QByteArray("1") + name + QByteArray::number(n) + "()";
}

} // namespace

void ViewArea::buildMemberDialogs()
{
    buildArmyCountDialog();
    buildArmyComboDialog();
    buildAiNamesDialog();
    buildCardDialog();
    buildCardTradeNotice();
}

void ViewArea::buildArmyCountDialog()
{
    armyCountDialog = newMemberDialog(QStringLiteral("Tarvan GX"));
    armyCountLayout = new QVBoxLayout(armyCountDialog);
    for (int n = 1; n <= 9; ++n) {
        armyCountButton[n] = new QPushButton(armyCountDialog);
        armyCountLayout->addWidget(armyCountButton[n]);
        connect(armyCountButton[n], SIGNAL(clicked()), this, numberedSlot("legerdlg", n).constData());
        connect(armyCountButton[n], SIGNAL(clicked()), armyCountDialog, SLOT(accept()));
    }
    armyCountCancelButton = new QPushButton(QStringLiteral("Cancel"), armyCountDialog);
    armyCountLayout->addWidget(armyCountCancelButton);
    connect(armyCountCancelButton, SIGNAL(clicked()), this, SLOT(legerdlg0()));
    connect(armyCountCancelButton, SIGNAL(clicked()), armyCountDialog, SLOT(accept()));
    connect(armyCountDialog, SIGNAL(rejected()), this, SLOT(legerdlg0()));
}

void ViewArea::buildArmyComboDialog()
{
    armyComboDialog = newMemberDialog(QStringLiteral("Tarvan GX"));
    armyComboItems = QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                                 QStringLiteral("3")};
    armyComboLayout = new QVBoxLayout(armyComboDialog);
    armyCombo = new QComboBox(armyComboDialog);
    armyCombo->insertItems(0, armyComboItems);
    armyCombo->setCurrentIndex(0);
    armyComboOkButton = new QPushButton(QStringLiteral("Ok"), armyComboDialog);
    armyComboLayout->addWidget(armyCombo);
    armyComboLayout->addWidget(armyComboOkButton);
    connect(armyComboOkButton, SIGNAL(clicked()), this, SLOT(legersokdlg()));
    connect(armyComboOkButton, SIGNAL(clicked()), armyComboDialog, SLOT(accept()));
    connect(armyComboDialog, SIGNAL(rejected()), this, SLOT(legerdlg0()));
}

void ViewArea::buildAiNamesDialog()
{
    aiNamesDialog = newMemberDialog(QStringLiteral("Player Names"));
    aiNamesLayout = new QVBoxLayout(aiNamesDialog);
    for (int n = 1; n <= 10; ++n) {
        aiNameEdit[n] = new QLineEdit(aiNamesDialog);
        aiNamesLayout->addWidget(aiNameEdit[n]);
    }
    aiNamesDefaultsButton = new QPushButton(QStringLiteral("Restore Defaults"), aiNamesDialog);
    aiNamesLayout->addWidget(aiNamesDefaultsButton);
    aiNamesButtonLayout = new QHBoxLayout;
    aiNamesOkButton = new QPushButton(QStringLiteral("Ok"), aiNamesDialog);
    aiNamesCancelButton = new QPushButton(QStringLiteral("Cancel"), aiNamesDialog);
    aiNamesButtonLayout->addWidget(aiNamesOkButton);
    aiNamesButtonLayout->addWidget(aiNamesCancelButton);
    aiNamesLayout->addLayout(aiNamesButtonLayout);
    connect(aiNamesOkButton, SIGNAL(clicked()), this, SLOT(ainamen()));
    connect(aiNamesOkButton, SIGNAL(clicked()), aiNamesDialog, SLOT(accept()));
    connect(aiNamesCancelButton, SIGNAL(clicked()), this, SLOT(ainamerej()));
    connect(aiNamesCancelButton, SIGNAL(clicked()), aiNamesDialog, SLOT(reject()));
    connect(aiNamesDefaultsButton, SIGNAL(clicked()), this, SLOT(ainameresdef()));
    connect(aiNamesDefaultsButton, SIGNAL(clicked()), aiNamesDialog, SLOT(accept()));
    connect(aiNamesDialog, SIGNAL(rejected()), this, SLOT(modaaluit()));
    connect(aiNamesDialog, SIGNAL(finished(int)), this, SLOT(ainamen2()));
}

void ViewArea::buildCardDialog()
{
    cardDialog = newMemberDialog(QStringLiteral("Tarvan GX"));
    cardLayout = new QVBoxLayout(cardDialog);
    for (int n = 1; n <= 6; ++n) {
        cardSetButton[n] = new QPushButton(cardDialog);
        cardLayout->addWidget(cardSetButton[n]);
        connect(cardSetButton[n], SIGNAL(clicked()), this, numberedSlot("kaartidlg", n).constData());
        connect(cardSetButton[n], SIGNAL(clicked()), cardDialog, SLOT(accept()));
    }
    cardCancelButton = new QPushButton(QStringLiteral("Cancel"), cardDialog);
    cardLayout->addWidget(cardCancelButton);
    connect(cardCancelButton, SIGNAL(clicked()), this, SLOT(kaartidlg0()));
    connect(cardCancelButton, SIGNAL(clicked()), cardDialog, SLOT(accept()));
    connect(cardDialog, SIGNAL(rejected()), this, SLOT(kaartidlg0()));
}

void ViewArea::buildCardTradeNotice()
{
    // Two text lines (the player and "gets %d armies.") above a row of card pictures.
    cardTradeNotice = newMemberDialog(QStringLiteral("Cards"));
    cardTradeLayout = new QVBoxLayout(cardTradeNotice);
    cardTradeCardsLayout = new QHBoxLayout;
    for (int n = 1; n <= 7; ++n) {
        cardTradeLabel[n] = new QLabel(cardTradeNotice);
        if (n <= 2) {
            cardTradeLabel[n]->setText(QString(43, QLatin1Char(' ')));
            cardTradeLayout->addWidget(cardTradeLabel[n]);
        } else {
            cardTradeCardsLayout->addWidget(cardTradeLabel[n]);
        }
    }
    cardTradeLayout->addLayout(cardTradeCardsLayout);
}

void ViewArea::deleteMemberDialogs()
{
    // Built without a parent, so the window deletes them itself; their widgets go with them.
    for (QDialog **dialog : {&armyCountDialog, &armyComboDialog, &aiNamesDialog, &cardDialog,
                             &cardTradeNotice}) {
        delete *dialog;
        *dialog = nullptr;
    }
}
