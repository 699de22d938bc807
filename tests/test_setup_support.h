#pragma once
// What the set-up tests share: the set-up's questions answered from a script (the buttons
// clicked by their labels), and the network steps and the top-five list stood in for.

#include "TestSupport.h"

#include "app/ViewArea.h"
#include "rules/TurnState.h"
#include "setup/ChoiceDialog.h"
#include "setup/SetupHooks.h"
#include "setup/SetupState.h"
#include "state/BuiltinMaps.h"

#include <QMetaObject>

#include <memory>

namespace setup_test {

// One answer: what is typed and which check boxes change, then the button clicked.
struct Answer {
    QString button;
    QString text;
    bool typesText = false;
    QList<bool> checks; // the check boxes' new states, in their order; empty: left as they are
    QStringList infoFirst; // "Info..." buttons clicked before (their row's check box label)
};

inline Answer click(const QString &button)
{
    return Answer{button, QString(), false, {}, {}};
}

inline Answer type(const QString &text, const QString &button)
{
    return Answer{button, text, true, {}, {}};
}

// The options question accepted with these states.
inline Answer options(bool dice, bool strongholds, bool troopExperience)
{
    return Answer{QStringLiteral("Ok"), QString(), false, {dice, strongholds, troopExperience}, {}};
}

// Answers the set-up's questions in order; a question found without an answer is closed with
// Escape. A click on a button that is missing, hidden or disabled is recorded as a problem and
// closes the question like Escape.
class ScriptedDialogs {
public:
    QList<ChoiceDialogSpec> asked;
    QList<Answer> answers;
    QStringList problems;
    QList<int> mapsWhileAsked; // the selected map while each question was open

    void install()
    {
        setChoiceDialogRunner([this](ViewArea &view, const ChoiceDialogSpec &spec) { return answer(view, spec); });
    }

    // The first label of every question asked, in order: enough to tell the questions apart.
    QStringList firstLabels() const
    {
        QStringList labels;
        for (const ChoiceDialogSpec &spec : asked)
            labels.append(spec.items.isEmpty() ? QString() : spec.items.first().text);
        return labels;
    }

    ChoiceOutcome answer(ViewArea &view, const ChoiceDialogSpec &spec)
    {
        asked.append(spec);
        mapsWhileAsked.append(int(selectedMap()));
        ChoiceOutcome outcome;
        const Answer a = answers.isEmpty() ? Answer{} : answers.takeFirst();
        int check = 0;
        for (const DialogItem &item : spec.items) {
            if (item.kind == DialogItem::TextField)
                outcome.text = a.typesText ? a.text : item.text;
            if (item.kind == DialogItem::CheckBox) {
                outcome.checks.append(check < a.checks.size() ? a.checks[check] : item.checked);
                ++check;
            }
        }
        for (const QString &row : a.infoFirst)
            clickInfo(view, spec, row);
        if (a.button.isEmpty())
            return outcome;
        const DialogItem *button = clickable(spec, a.button);
        if (!button)
            return outcome;
        switch (button->role) {
        case ButtonRole::Answer:
            outcome.result = 1;
            outcome.choice = button->answer;
            break;
        case ButtonRole::AcceptOnly:
            outcome.result = 1;
            break;
        case ButtonRole::SlotOnly:
        case ButtonRole::Cancel:
            break;
        }
        return outcome;
    }

private:
    const DialogItem *clickable(const ChoiceDialogSpec &spec, const QString &label)
    {
        for (const DialogItem &item : spec.items)
            if (item.kind == DialogItem::Button && item.text == label) {
                if (item.visible && item.enabled)
                    return &item;
                problems.append(QStringLiteral("not clickable: ") + label);
                return nullptr;
            }
        problems.append(QStringLiteral("no button: ") + label);
        return nullptr;
    }

    // The "Info..." button of the row of `rowLabel` (or the only one when the label is empty).
    void clickInfo(ViewArea &view, const ChoiceDialogSpec &spec, const QString &rowLabel)
    {
        int row = -1;
        for (const DialogItem &item : spec.items)
            if (item.text == rowLabel)
                row = item.row;
        for (const DialogItem &item : spec.items)
            if (item.role == ButtonRole::SlotOnly && item.row == row) {
                QMetaObject::invokeMethod(&view, item.slot.left(item.slot.indexOf('(')).constData());
                return;
            }
        problems.append(QStringLiteral("no info button in row ") + rowLabel);
    }
};

// The network steps and the top-five list, stood in for: the network type question answers
// hotseat, LAN host or join; the other steps only count their calls.
struct FakeNetworkSteps {
    static inline int networkAnswer = 22;
    static inline int nameSteps = 0;
    static inline int hostSteps = 0;
    static inline int joinSteps = 0;
    static inline int topFiveShown = 0;

    static void install()
    {
        networkAnswer = 22;
        nameSteps = hostSteps = joinSteps = topFiveShown = 0;
        SetupHooks &hooks = setupHooks();
        hooks.askNetworkGameType = [](ViewArea &) {
            aiPlayerCount = networkAnswer;
            networkKind = networkAnswer == 22 ? 0 : 1;
            return SetupStepResult::Continue;
        };
        hooks.askNetworkPlayerName = [](ViewArea &) {
            ++nameSteps;
            return SetupStepResult::Continue;
        };
        hooks.runHostSteps = [](ViewArea &) {
            ++hostSteps;
            return SetupStepResult::EndSetup;
        };
        hooks.runJoinSteps = [](ViewArea &) {
            ++joinSteps;
            return SetupStepResult::EndSetup;
        };
        hooks.showTopFive = [](ViewArea &) { ++topFiveShown; };
    }
};

} // namespace setup_test
