#pragma once
// The one-question dialogs of the start menu: a dialog built for one question, run modally and
// destroyed again. Each answer button reaches the window's choice slot (`mplaykeuze1`,
// `mplaykeuze2`, ...) before the dialog's accept, so `dialogChoice` holds the answer when it
// closes; Cancel, Escape and the close button give the result 0.
//
// Every question goes through `runChoiceDialog`, which runs the real dialog unless a test has
// installed a runner of its own.

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QCheckBox;
class QDialog;
class QLineEdit;
class QPushButton;
class ViewArea;

enum class ButtonRole {
    Answer,     // the choice slot of `answer` (or `slot`), then accept
    AcceptOnly, // accept alone
    SlotOnly,   // the window slot `slot` alone: the dialog stays open ("Info...")
    Cancel,     // reject
};

struct DialogItem {
    enum Kind { Label, Button, TextField, CheckBox };
    Kind kind = Button;
    QString text; // the label, the button's or check box's label, the field's first text
    ButtonRole role = ButtonRole::Answer;
    int answer = 0;  // the number an Answer button stores in `dialogChoice`
    QByteArray slot; // a window slot in place of the choice slot, e.g. "missioninfo1()"
    bool enabled = true;
    bool visible = true;
    bool inLayout = true; // a hidden button may also be left out of the layout
    bool checked = false;
    bool focus = false;
    bool isDefault = false; // the button Return presses
    bool alignRight = false;
    int row = -1; // items with the same row number (0 and up) share one horizontal row
};

struct ChoiceDialogSpec {
    QString title = QStringLiteral("Tarvan GX");
    QList<DialogItem> items;
    bool grayPalette = true;
    bool faded = true;       // the window opacity `dialogOpacity`
    bool resetsChoice = true; // `dialogChoice` := 0 before the dialog runs
    int pauseBefore = 300;   // milliseconds, events processed meanwhile
    int pauseAfter = 300;
    bool maximised = false;
    int textMaxLength = 0; // a name's field: no longer, one line (limitNameField); 0: no limit

    // Adds an answer button storing `answer`; returns it for further settings.
    DialogItem &addAnswer(const QString &label, int answer);
    DialogItem &addButton(const QString &label, ButtonRole role, const QByteArray &slot = QByteArray());
    void addCancel();
    void addLabel(const QString &text);
    void addTextField(const QString &text);
    DialogItem &addCheckBox(const QString &label, bool checked, int row);
    // The item of that label, or nullptr.
    const DialogItem *find(const QString &label) const;
};

struct ChoiceOutcome {
    int result = 0;     // 1 accepted, 0 rejected
    int choice = 0;     // `dialogChoice` after the dialog
    QString text;       // the text field's text
    QList<bool> checks; // the check boxes' states, in the order of the items
};

// Asks one question: `dialogChoice` := 0 (when the dialog resets the choice), the pause before,
// the dialog, the pause after. `dialogChoice` holds the answer afterwards.
ChoiceOutcome runChoiceDialog(ViewArea &view, const ChoiceDialogSpec &spec);

// Replaces the real dialog (tests answer from a script); an empty function restores it.
using ChoiceDialogRunner = std::function<ChoiceOutcome(ViewArea &, const ChoiceDialogSpec &)>;
void setChoiceDialogRunner(ChoiceDialogRunner runner);

// The real dialog of a spec, built but not run, with its widgets in the order of the items.
struct BuiltChoiceDialog {
    std::unique_ptr<QDialog> dialog;
    QList<QPushButton *> buttons;
    QList<QCheckBox *> checkBoxes;
    QLineEdit *textField = nullptr;
    ~BuiltChoiceDialog();
};
std::unique_ptr<BuiltChoiceDialog> buildChoiceDialog(ViewArea &view, const ChoiceDialogSpec &spec);
// Reads what the player left in a built dialog after it has run with result `result`.
ChoiceOutcome readChoiceDialog(const BuiltChoiceDialog &built, int result);
