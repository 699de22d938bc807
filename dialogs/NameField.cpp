#include "dialogs/NameField.h"

#include "state/TextRules.h"

#include <QEvent>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>
#include <optional>

namespace {

// An edit of a text: the units [start, end) it replaced and what it put there.
struct Edit {
    int start = 0;
    int end = 0;
    QString put;
};

int commonStart(const QString &a, const QString &b)
{
    int n = 0;
    while (n < a.size() && n < b.size() && a.at(n) == b.at(n))
        ++n;
    return n;
}

// The edit that made `edited` of `shown` and left the cursor at `cursor`, right after what went
// in. It began at `from` at the latest (where the field's selection or cursor stands). Nothing
// when `edited` is no such edit of `shown`.
std::optional<Edit> editBetween(const QString &shown, const QString &edited, int cursor, int from)
{
    const int after = edited.size() - cursor; // what the edit left standing after it
    if (cursor < 0 || after < 0 || after > shown.size()
        || QStringRef(&shown, shown.size() - after, after) != QStringRef(&edited, cursor, after))
        return std::nullopt;
    const int end = shown.size() - after;
    const int start = std::min({qMax(0, from), end, cursor, commonStart(shown, edited)});
    return Edit{start, end, edited.mid(start, cursor - start)};
}

// Where the cursor stands and what is selected.
struct Caret {
    int cursor = 0;
    int selectionStart = -1;
    int selectionLength = 0;
};

Caret caretOf(const QLineEdit &field)
{
    return {field.cursorPosition(), field.selectionStart(), field.selectionLength()};
}

void putCaret(QLineEdit &field, const Caret &caret)
{
    if (caret.selectionLength == 0)
        field.setCursorPosition(caret.cursor);
    else if (caret.cursor == caret.selectionStart) // selected leftwards
        field.setSelection(caret.selectionStart + caret.selectionLength, -caret.selectionLength);
    else
        field.setSelection(caret.selectionStart, caret.selectionLength);
}

// Puts the cursor at `at` so that what goes in next is an undo step of its own, as a paste or a
// drop would be: a line edit ends an undo step whenever its cursor moves.
void startUndoStep(QLineEdit &field, int at)
{
    if (!field.text().isEmpty())
        field.setCursorPosition(at == 0 ? field.text().size() : 0);
    field.setCursorPosition(at);
}

// The events through which a player puts text into a field: keys (a paste by keys too), an input
// method's commit, a drop, and the middle button's paste.
bool mayPutTextIn(const QEvent &event)
{
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::Drop:
    case QEvent::MouseButtonRelease:
        return true;
    default:
        return false;
    }
}

// Holds a field to the name's rule. A line edit forgets its undo history whenever its validator
// rewrites the text, so an edit that does not keep the rule as it stands is refused whole (the
// field gives it back and keeps its history), and then what of it fits goes in as an edit of its
// own. That happens as soon as the event that made the edit has been handled; after a paste from
// the field's menu, as soon as the program gets back to its event loop.
class NameFieldRule : public QValidator {
public:
    NameFieldRule(QLineEdit &field, int width) : QValidator(&field), field_(field), width_(width), shown_(field.text())
    {
        field.installEventFilter(this);
    }

    State validate(QString &input, int &pos) const override
    {
        if (taking_ || keepsTheRule(input, pos)) {
            shown_ = input;
            return Acceptable;
        }
        if (!field_.isUndoAvailable()) {
            // A text the program set as a whole: there is no edit to give back.
            input = cutToWidth(cleanedText(input), width_);
            pos = qMin(pos, input.size());
            shown_ = input;
            return Acceptable;
        }
        refused_ = Refused{input, pos};
        // An event being delivered is followed by the take; a paste from the menu is not.
        if (!delivering_)
            QMetaObject::invokeMethod(&field_, [this] { takeRefusedEdit(); }, Qt::QueuedConnection);
        return Invalid;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != &field_ || delivering_ || !mayPutTextIn(*event))
            return false;
        takeRefusedEdit(); // one that a paste from the menu left, before anything newer
        const Caret before = caretOf(field_);
        delivering_ = true;
        static_cast<QObject &>(field_).event(event);
        delivering_ = false;
        takeRefusedEdit(&before);
        return true;
    }

private:
    // The text and cursor an edit would have left, had the field taken it.
    struct Refused {
        QString text;
        int cursor = 0;
    };

    // The text fits, and what the edit put in is clean as it stands.
    bool keepsTheRule(const QString &input, int pos) const
    {
        if (input.size() > width_)
            return false;
        const std::optional<Edit> edit = editBetween(shown_, input, pos, pos);
        return edit ? cleanedText(edit->put) == edit->put : cleanedText(input) == input;
    }

    // What fits of the refused edit, cleaned and cut from its end, put in where the edit was; an
    // edit of which nothing fits leaves the field as it was before it, `before` when known.
    void takeRefusedEdit(const Caret *before = nullptr) const
    {
        if (!refused_)
            return;
        const Refused refused = *std::exchange(refused_, std::nullopt);
        const QString shown = field_.text();
        const int from = field_.hasSelectedText() ? field_.selectionStart() : field_.cursorPosition();
        const std::optional<Edit> edit = editBetween(shown, refused.text, refused.cursor, from);
        if (!edit)
            return;
        const int room = width_ - (shown.size() - (edit->end - edit->start));
        const QString put = cutToWidth(cleanedText(edit->put), room);
        if (put.isEmpty()) {
            if (before)
                putCaret(field_, *before);
            return;
        }
        taking_ = true;
        if (edit->end > edit->start)
            field_.setSelection(edit->start, edit->end - edit->start);
        else
            startUndoStep(field_, edit->start);
        field_.insert(put);
        taking_ = false;
    }

    QLineEdit &field_;
    int width_;
    mutable QString shown_; // the text as the field last took it
    mutable std::optional<Refused> refused_;
    mutable bool taking_ = false;
    bool delivering_ = false;
};

} // namespace

void limitNameField(QLineEdit &field, int width)
{
    if (!field.validator())
        field.setValidator(new NameFieldRule(field, width));
    // The text already there, held to the same rule.
    field.setText(cutToWidth(cleanedText(field.text()), width));
}
