#include "setup/ChoiceDialog.h"

#include "app/DialogState.h"
#include "app/ViewArea.h"
#include "dialogs/DialogLook.h"
#include "dialogs/NameField.h"
#include "state/Seams.h"

#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

ChoiceDialogRunner installedRunner;

// "1name()": a slot of the window as a connection names it.
QByteArray slotSignature(const QByteArray &slot)
{
    return QByteArray("1") + slot;
}

QByteArray choiceSlot(int answer)
{
    return QByteArray("mplaykeuze") + QByteArray::number(answer) + "()";
}

QWidget *newItemWidget(ViewArea &view, QDialog *dialog, const DialogItem &item, BuiltChoiceDialog &built)
{
    switch (item.kind) {
    case DialogItem::Label:
        return new QLabel(item.text, dialog);
    case DialogItem::TextField: {
        built.textField = new QLineEdit(item.text, dialog);
        return built.textField;
    }
    case DialogItem::CheckBox: {
        auto *box = new QCheckBox(item.text, dialog);
        box->setChecked(item.checked);
        built.checkBoxes.append(box);
        return box;
    }
    case DialogItem::Button:
        break;
    }
    auto *button = new QPushButton(item.text, dialog);
    button->setDefault(item.isDefault);
    built.buttons.append(button);
    const QByteArray slot = item.slot.isEmpty() && item.role == ButtonRole::Answer ? choiceSlot(item.answer) : item.slot;
    // The slot first: the answer is stored before the dialog closes.
    if (!slot.isEmpty() && item.role != ButtonRole::Cancel)
        QObject::connect(button, SIGNAL(clicked()), &view, slotSignature(slot).constData());
    if (item.role == ButtonRole::Answer || item.role == ButtonRole::AcceptOnly)
        QObject::connect(button, SIGNAL(clicked()), dialog, SLOT(accept()));
    if (item.role == ButtonRole::Cancel)
        QObject::connect(button, SIGNAL(clicked()), dialog, SLOT(reject()));
    return button;
}

void applyLook(QDialog *dialog, const ChoiceDialogSpec &spec)
{
    if (spec.grayPalette)
        dialog->setPalette(QPalette(QColor(Qt::gray)));
    dialog->setWindowTitle(spec.title);
    if (spec.faded)
        dialog->setWindowOpacity(dialogOpacity);
    dialog->setWindowIcon(QIcon(QStringLiteral(":/tifb/Tarvan.ico")));
    if (spec.maximised)
        dialog->setWindowState(dialog->windowState() ^ Qt::WindowMaximized);
}

ChoiceOutcome execChoiceDialog(ViewArea &view, const ChoiceDialogSpec &spec)
{
    const std::unique_ptr<BuiltChoiceDialog> built = buildChoiceDialog(view, spec);
    fitDialogToScreen(*built->dialog);
    const int result = built->dialog->exec();
    return readChoiceDialog(*built, result);
}

} // namespace

DialogItem &ChoiceDialogSpec::addAnswer(const QString &label, int answer)
{
    DialogItem &item = addButton(label, ButtonRole::Answer);
    item.answer = answer;
    return item;
}

DialogItem &ChoiceDialogSpec::addButton(const QString &label, ButtonRole role, const QByteArray &slot)
{
    DialogItem item;
    item.text = label;
    item.role = role;
    item.slot = slot;
    items.append(item);
    return items.last();
}

void ChoiceDialogSpec::addCancel()
{
    addButton(QStringLiteral("Cancel"), ButtonRole::Cancel);
}

void ChoiceDialogSpec::addLabel(const QString &text)
{
    DialogItem item;
    item.kind = DialogItem::Label;
    item.text = text;
    items.append(item);
}

void ChoiceDialogSpec::addTextField(const QString &text)
{
    DialogItem item;
    item.kind = DialogItem::TextField;
    item.text = text;
    items.append(item);
}

DialogItem &ChoiceDialogSpec::addCheckBox(const QString &label, bool checked, int row)
{
    DialogItem item;
    item.kind = DialogItem::CheckBox;
    item.text = label;
    item.checked = checked;
    item.row = row;
    items.append(item);
    return items.last();
}

const DialogItem *ChoiceDialogSpec::find(const QString &label) const
{
    for (const DialogItem &item : items)
        if (item.text == label)
            return &item;
    return nullptr;
}

BuiltChoiceDialog::~BuiltChoiceDialog() = default;

std::unique_ptr<BuiltChoiceDialog> buildChoiceDialog(ViewArea &view, const ChoiceDialogSpec &spec)
{
    auto built = std::make_unique<BuiltChoiceDialog>();
    built->dialog.reset(new QDialog(nullptr, Qt::WindowTitleHint));
    QDialog *dialog = built->dialog.get();
    auto *layout = new QVBoxLayout;
    QMap<int, QHBoxLayout *> rows;
    QWidget *focused = nullptr;
    for (const DialogItem &item : spec.items) {
        QWidget *widget = newItemWidget(view, dialog, item, *built);
        widget->setEnabled(item.enabled);
        if (!item.visible)
            widget->hide();
        if (item.focus)
            focused = widget;
        if (item.kind == DialogItem::TextField && spec.textMaxLength > 0)
            limitNameField(*built->textField, spec.textMaxLength);
        if (!item.inLayout)
            continue;
        if (item.row < 0) {
            layout->addWidget(widget);
            continue;
        }
        if (!rows.contains(item.row)) {
            rows.insert(item.row, new QHBoxLayout);
            layout->addLayout(rows.value(item.row));
        }
        rows.value(item.row)->addWidget(widget, 0, item.alignRight ? Qt::AlignRight : Qt::Alignment());
    }
    dialog->setLayout(layout);
    applyLook(dialog, spec);
    if (focused)
        focused->setFocus();
    return built;
}

ChoiceOutcome readChoiceDialog(const BuiltChoiceDialog &built, int result)
{
    ChoiceOutcome outcome;
    outcome.result = result;
    outcome.choice = dialogChoice;
    if (built.textField)
        outcome.text = built.textField->text();
    for (const QCheckBox *box : built.checkBoxes)
        outcome.checks.append(box->isChecked());
    return outcome;
}

ChoiceOutcome runChoiceDialog(ViewArea &view, const ChoiceDialogSpec &spec)
{
    if (spec.resetsChoice)
        dialogChoice = 0;
    if (spec.pauseBefore > 0)
        interaction().pause(spec.pauseBefore);
    ChoiceOutcome outcome;
    if (installedRunner) {
        outcome = installedRunner(view, spec);
        // A scripted answer stands where the real choice slot would have stored it.
        if (outcome.choice > 0)
            dialogChoice = outcome.choice;
        outcome.choice = dialogChoice;
    } else {
        outcome = execChoiceDialog(view, spec);
    }
    if (spec.pauseAfter > 0)
        interaction().pause(spec.pauseAfter);
    return outcome;
}

void setChoiceDialogRunner(ChoiceDialogRunner runner)
{
    installedRunner = std::move(runner);
}
