#pragma once
// What the dialog tests share: a fresh window, and a stand-in for the modal run of every dialog
// (it notes what the dialog shows, works its widgets as a player would and returns at once).

#include "TestSupport.h"

#include "app/GameLoop.h"
#include "app/ViewArea.h"
#include "dialogs/DialogLook.h"
#include "persist/Scores.h"
#include "persist/Settings.h"
#include "rules/TurnState.h"
#include "setup/ChoiceDialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include <functional>
#include <memory>

namespace dialog_test {

// Every text a dialog shows, in the order of its widgets: labels, buttons, check boxes, line
// edits, list items and table cells.
inline QStringList textsOf(const QDialog &dialog)
{
    QStringList texts;
    for (QWidget *widget : dialog.findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<QLabel *>(widget))
            texts.append(label->text());
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            texts.append(button->text());
        else if (auto *edit = qobject_cast<QLineEdit *>(widget))
            texts.append(edit->text());
        else if (auto *list = qobject_cast<QListWidget *>(widget))
            for (int i = 0; i < list->count(); ++i)
                texts.append(list->item(i)->text());
        else if (auto *table = qobject_cast<QTableWidget *>(widget))
            for (int r = 0; r < table->rowCount(); ++r)
                for (int c = 0; c < table->columnCount(); ++c)
                    texts.append(table->item(r, c) ? table->item(r, c)->text() : QString());
    }
    return texts;
}

template <class W>
W *widgetWithText(const QDialog &dialog, const QString &text)
{
    for (W *widget : dialog.findChildren<W *>())
        if (widget->text() == text)
            return widget;
    return nullptr;
}

// What one run of a dialog showed.
struct Shown {
    QString title;
    QStringList texts;
    // The rows of the dialog's table, cells joined by " | ".
    QStringList tableRows;
    QList<QStringList> lists; // the items of each list widget
};

inline Shown noteDialog(QDialog &dialog)
{
    Shown shown;
    shown.title = dialog.windowTitle();
    shown.texts = textsOf(dialog);
    for (QTableWidget *table : dialog.findChildren<QTableWidget *>())
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columnCount(); ++c)
                cells.append(table->item(r, c) ? table->item(r, c)->text() : QString());
            shown.tableRows.append(cells.join(QStringLiteral(" | ")));
        }
    for (QListWidget *list : dialog.findChildren<QListWidget *>()) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items.append(list->item(i)->text());
        shown.lists.append(items);
    }
    // TARVAN_DIALOG_SHOTS names a folder that keeps a picture of every dialog shown.
    const QString folder = qEnvironmentVariable("TARVAN_DIALOG_SHOTS");
    if (!folder.isEmpty()) {
        static int count = 0;
        QDir().mkpath(folder);
        dialog.adjustSize();
        dialog.grab().toImage().save(QDir(folder).filePath(
            QStringLiteral("%1-%2.png").arg(++count, 2, 10, QLatin1Char('0')).arg(shown.title.simplified().replace(' ', '_'))));
    }
    return shown;
}

// What the player does with a dialog; none left: he closes it.
using Action = std::function<void(QDialog &)>;

inline Action press(const QString &button)
{
    return [button](QDialog &dialog) {
        QAbstractButton *found = widgetWithText<QAbstractButton>(dialog, button);
        QVERIFY2(found, qPrintable(QStringLiteral("no button \"%1\"").arg(button)));
        found->click();
    };
}

inline Action typeAndPress(const QString &text, const QString &button)
{
    return [text, button](QDialog &dialog) {
        QLineEdit *edit = dialog.findChild<QLineEdit *>();
        QVERIFY(edit);
        edit->setText(text);
        press(button)(dialog);
    };
}

inline Action closeWindow()
{
    return [](QDialog &dialog) { dialog.reject(); };
}

// Stands in for the modal run of the dialogs built for one use and of the set-up's question
// dialogs: each is built for real, noted, worked by the next action and answered at once.
struct DialogScript {
    QList<Action> actions;
    QList<Shown> shown;

    int play(QDialog &dialog)
    {
        shown.append(noteDialog(dialog));
        const Action action = actions.isEmpty() ? closeWindow() : actions.takeFirst();
        action(dialog);
        if (dialog.isVisible())
            dialog.hide();
        return dialog.result();
    }

    void install()
    {
        setDialogRunner([this](QDialog &dialog) { return play(dialog); });
        setChoiceDialogRunner([this](ViewArea &view, const ChoiceDialogSpec &spec) {
            const std::unique_ptr<BuiltChoiceDialog> built = buildChoiceDialog(view, spec);
            const int result = play(*built->dialog);
            return readChoiceDialog(*built, result);
        });
    }

    static void uninstall()
    {
        setDialogRunner({});
        setChoiceDialogRunner({});
    }

    QStringList titles() const
    {
        QStringList list;
        for (const Shown &s : shown)
            list.append(s.title);
        return list;
    }
};

// A fresh game under a fresh window: no settings or scores file, no demo, every question
// answered by `ui` and every dialog by `script`, and `onQuit` called where the program would end.
inline std::unique_ptr<ViewArea> openFreshWindow(quint32 seed, ScriptedInteraction &ui, DialogScript &script,
                                                 void (*onQuit)())
{
    resetAllGameState(seed);
    ui = ScriptedInteraction();
    QFile::remove(settingsFileName());
    QFile::remove(scoresFileName());
    auto window = std::make_unique<ViewArea>();
    setInteraction(&ui);
    demoRunning = 0;
    script = DialogScript();
    script.install();
    quitEventLoop = onQuit;
    return window;
}

} // namespace dialog_test

Q_DECLARE_METATYPE(dialog_test::Action)
