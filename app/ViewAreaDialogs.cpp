// The member dialogs: each built when it is first shown (most sessions never show some of them,
// and building them all would hold up the window's start), then shown and hidden by the game,
// never rebuilt.
// Every button reaches the window's slot before the dialog's own accept or reject, so the
// answer is stored before the dialog closes.

#include "app/ViewArea.h"

#include "app/DialogState.h"
#include "dialogs/DialogLook.h"

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

// Buttons 1..count of `layout`, each answering the window's slot `name`n and closing the dialog,
// then Cancel answering slot `name`0, as closing the dialog does. Returns the Cancel button.
template <std::size_t N>
QPushButton *addNumberedButtons(ViewArea *window, QDialog *dialog, QVBoxLayout *layout,
                                std::array<QPushButton *, N> &buttons, const char *name)
{
    for (std::size_t n = 1; n < N; ++n) {
        buttons[n] = new QPushButton(dialog);
        layout->addWidget(buttons[n]);
        QObject::connect(buttons[n], SIGNAL(clicked()), window, numberedSlot(name, int(n)).constData());
        QObject::connect(buttons[n], SIGNAL(clicked()), dialog, SLOT(accept()));
    }
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    layout->addWidget(cancel);
    const QByteArray cancelSlot = numberedSlot(name, 0);
    QObject::connect(cancel, SIGNAL(clicked()), window, cancelSlot.constData());
    QObject::connect(cancel, SIGNAL(clicked()), dialog, SLOT(accept()));
    QObject::connect(dialog, SIGNAL(rejected()), window, cancelSlot.constData());
    return cancel;
}

} // namespace

void ViewArea::buildArmyCountDialog()
{
    if (armyCountDialog)
        return;
    armyCountDialog = newMemberDialog(QStringLiteral("Tarvan GX"));
    armyCountLayout = new QVBoxLayout(armyCountDialog);
    armyCountCancelButton = addNumberedButtons(this, armyCountDialog, armyCountLayout, armyCountButton, "legerdlg");
}

void ViewArea::buildArmyComboDialog()
{
    if (armyComboDialog)
        return;
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
    if (aiNamesDialog)
        return;
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
    // Eleven rows of large letters (a compact screen) are taller than the screen.
    fitDialogToScreen(*aiNamesDialog);
}

void ViewArea::buildCardDialog()
{
    if (cardDialog)
        return;
    cardDialog = newMemberDialog(QStringLiteral("Tarvan GX"));
    cardLayout = new QVBoxLayout(cardDialog);
    cardCancelButton = addNumberedButtons(this, cardDialog, cardLayout, cardSetButton, "kaartidlg");
}

void ViewArea::buildCardTradeNotice()
{
    if (cardTradeNotice)
        return;
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
