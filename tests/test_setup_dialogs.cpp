// The real dialogs of the set-up as the flow asks for them, the choice slots, the information
// boxes and the player names dialog.
//
// With TARVAN_SHOT_DIR set, a picture of each real dialog is written there.

#include "test_setup_support.h"

#include "app/DialogState.h"
#include "app/WindowState.h"
#include "persist/Settings.h"
#include "setup/InfoBoxes.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/MapView.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QDialog>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>

using namespace setup_test;

namespace {

// The buttons of a dialog's layout, top to bottom (rows left to right).
QStringList layoutButtons(const QLayout *layout)
{
    QStringList labels;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->layout())
            labels += layoutButtons(item->layout());
        else if (auto *button = qobject_cast<QPushButton *>(item->widget()))
            labels.append(button->text());
    }
    return labels;
}

QPushButton *buttonOf(const BuiltChoiceDialog &built, const QString &label)
{
    for (QPushButton *button : built.buttons)
        if (button->text() == label)
            return button;
    return nullptr;
}

void keepPicture(QDialog &dialog, const QString &name)
{
    const QByteArray folder = qgetenv("TARVAN_SHOT_DIR");
    if (folder.isEmpty())
        return;
    dialog.show();
    dialog.grab().save(QDir(QString::fromLocal8Bit(folder)).filePath(name + QStringLiteral(".png")));
    dialog.hide();
}

// How a test puts text into a name field: as a keyboard, a paste by keys or by the field's menu,
// an input method's commit, or a drop, each through the event or action the window would get.
enum class Entry { Typed, Pasted, PastedFromMenu, Committed, Dropped };

void typeInto(QLineEdit &field, const QString &text)
{
    for (uint code : text.toUcs4()) {
        const QString one = QString::fromUcs4(&code, 1);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, one);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, one);
        QApplication::sendEvent(&field, &press);
        QApplication::sendEvent(&field, &release);
    }
}

// The cursor put at `cursor` with the keys, and `selected` units after it selected with
// shift and the right arrow, as a player does.
void placeCaretByKeys(QLineEdit &field, int cursor, int selected)
{
    QTest::keyClick(&field, Qt::Key_Home);
    for (int step = 0; step < field.text().size() && field.cursorPosition() < cursor; ++step)
        QTest::keyClick(&field, Qt::Key_Right);
    for (int step = 0; step < field.text().size() && field.selectedText().size() < selected; ++step)
        QTest::keyClick(&field, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(field.cursorPosition(), cursor + selected);
    QCOMPARE(field.selectedText().size(), selected);
}

void pasteByKeys(QLineEdit &field, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
}

void pasteFromMenu(QLineEdit &field, const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QContextMenuEvent open(QContextMenuEvent::Keyboard, QPoint(2, 2), field.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&field, &open);
    const QList<QMenu *> menus = field.findChildren<QMenu *>();
    QVERIFY(!menus.isEmpty());
    QMenu *menu = menus.last();
    for (QAction *action : menu->actions())
        if (action->text().startsWith(QStringLiteral("&Paste")))
            action->trigger();
    menu->close();
    QCoreApplication::processEvents();
}

// An input method's commit that replaces the `replaced` units before the cursor.
void commitInto(QLineEdit &field, const QString &text, int replaced)
{
    QInputMethodEvent commit;
    commit.setCommitString(text, -replaced, replaced);
    QApplication::sendEvent(&field, &commit);
}

void dropAtEnd(QLineEdit &field, const QString &text)
{
    QMimeData data;
    data.setText(text);
    const QPoint end(field.width() - 2, field.height() / 2);
    // A drop reaches the widget that took the drag as it entered.
    QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&field, &enter);
    QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&field, &drop);
}

void enter(QLineEdit &field, Entry how, const QString &text)
{
    switch (how) {
    case Entry::Typed: typeInto(field, text); break;
    case Entry::Pasted: pasteByKeys(field, text); break;
    case Entry::PastedFromMenu: pasteFromMenu(field, text); break;
    case Entry::Committed: commitInto(field, text, 1); break;
    case Entry::Dropped: dropAtEnd(field, text); break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Entry)

class TestSetupDialogs : public QObject {
    Q_OBJECT

    ScriptedInteraction ui;
    ScriptedDialogs dialogs;
    std::unique_ptr<ViewArea> view;

    // The questions the flow asks on the way to a single-player game on World.
    QList<ChoiceDialogSpec> questionsOfASingleMapGame()
    {
        dialogs.answers = {click("World"), options(true, false, false), click("Conquer All"), click("> 3 ai players <")};
        menuAction = 21;
        view->setupNewGame();
        return dialogs.asked;
    }

    ChoiceDialogSpec hotseatNameQuestion()
    {
        FakeNetworkSteps::install();
        dialogs.answers = {click("World"), options(true, false, false)};
        menuAction = 3;
        view->setupNewGame();
        return dialogs.asked.value(2);
    }

private slots:
    void init()
    {
        resetAllGameState(3);
        ui = ScriptedInteraction();
        view = std::make_unique<ViewArea>();
        setInteraction(&ui);
        demoRunning = 0;
        gameMode = ModeSinglePlayer;
        dialogs = ScriptedDialogs();
        dialogs.install();
        FakeNetworkSteps::install();
    }

    void cleanup()
    {
        view.reset();
        setChoiceDialogRunner({});
        setInteraction(nullptr);
    }

    void theMapQuestionNeverShowsTheTwoHiddenMaps_data()
    {
        QTest::addColumn<bool>("wide");
        QTest::newRow("standard pictures") << false;
        QTest::newRow("wide pictures") << true;
    }

    void theMapQuestionNeverShowsTheTwoHiddenMaps()
    {
        QFETCH(bool, wide);
        wideImageSet = wide ? 1 : 0;
        const ChoiceDialogSpec map = questionsOfASingleMapGame().first();
        const auto built = buildChoiceDialog(*view, map);
        QStringList expected{"World", "Europe", "North America", "China", "Japan", "World II", "Swamp", "Australia"};
        if (wide)
            expected << "Scandinavia" << "Real World";
        expected << "Load a Map..." << "Cancel";
        QCOMPARE(layoutButtons(built->dialog->layout()), expected);
        built->dialog->show();
        for (QPushButton *button : built->buttons)
            QCOMPARE(button->isVisible(), button->text() != QLatin1String("Scandinavia")
                                              && button->text() != QLatin1String("Real World"));
        QCOMPARE(built->dialog->windowTitle(), QStringLiteral("Tarvan GX"));
        QVERIFY(built->dialog->windowFlags() & Qt::WindowTitleHint);
        QVERIFY(!built->dialog->parent());
        // The window keeps its opacity in 256 steps.
        QVERIFY(qAbs(built->dialog->windowOpacity() - 0.85) < 0.01);
        QCOMPARE(built->dialog->palette().color(QPalette::Window), QPalette(QColor(Qt::gray)).color(QPalette::Window));
        if (!wide)
            keepPicture(*built->dialog, QStringLiteral("map-question"));
    }

    void anAnswerButtonStoresItsNumberBeforeTheDialogCloses_data()
    {
        QTest::addColumn<bool>("names");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("result");
        QTest::addColumn<int>("choice");
        QTest::newRow("Europe") << false << "Europe" << int(QDialog::Accepted) << 2;
        QTest::newRow("Load a Map...") << false << "Load a Map..." << int(QDialog::Accepted) << 9;
        QTest::newRow("Cancel") << false << "Cancel" << int(QDialog::Rejected) << 0;
        // The name question tells "+ Add more players" from "Proceed", which only accepts.
        QTest::newRow("more players") << true << "+ Add more players" << int(QDialog::Accepted) << 1;
        QTest::newRow("proceed") << true << "Proceed" << int(QDialog::Accepted) << 0;
    }

    void anAnswerButtonStoresItsNumberBeforeTheDialogCloses()
    {
        QFETCH(bool, names);
        QFETCH(QString, label);
        QFETCH(int, result);
        QFETCH(int, choice);
        const ChoiceDialogSpec question = names ? hotseatNameQuestion() : questionsOfASingleMapGame().first();
        const auto built = buildChoiceDialog(*view, question);
        if (names) {
            QCOMPARE(question.items.first().text, QStringLiteral("Player One, your name ?"));
            keepPicture(*built->dialog, QStringLiteral("hotseat-name"));
            built->textField->setText(QStringLiteral("Ann"));
        }
        dialogChoice = 0;
        // Accepted or rejected, the dialog reports its result through finished: the choice must
        // already be stored then.
        int choiceWhenClosed = -1;
        connect(built->dialog.get(), &QDialog::finished, [&] { choiceWhenClosed = dialogChoice; });
        buttonOf(*built, label)->click();
        QCOMPARE(built->dialog->result(), result);
        QCOMPARE(choiceWhenClosed, choice);
        if (names)
            QCOMPARE(readChoiceDialog(*built, result).text, QStringLiteral("Ann"));
    }

    void theRealDialogRunsModallyAndAnswers()
    {
        const ChoiceDialogSpec map = questionsOfASingleMapGame().first();
        setChoiceDialogRunner({});
        view->gameTimer.stop();
        ui.pausedMilliseconds = 0;
        QTimer clicker;
        clicker.setInterval(0);
        int polls = 0;
        connect(&clicker, &QTimer::timeout, [&] {
            ++polls;
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                for (QPushButton *button : dialog->findChildren<QPushButton *>())
                    if (button->text() == QLatin1String("China"))
                        button->click();
            // Never left hanging: a dialog that cannot be answered is closed.
            if (QWidget *modal = QApplication::activeModalWidget(); modal && polls > 5000)
                modal->close();
        });
        clicker.start();
        const ChoiceOutcome outcome = runChoiceDialog(*view, map);
        QCOMPARE(outcome.result, 1);
        QCOMPARE(outcome.choice, 4);
        QCOMPARE(dialogChoice, 4);
        QCOMPARE(ui.pausedMilliseconds, 600);
    }

    // On a screen too low for the map question (here: large letters on the test screen), the
    // question is no taller than the screen and every button, Cancel the last, can be reached.
    void theMapQuestionFitsALowScreen()
    {
        const QFont usual = QApplication::font();
        QFont large = usual;
        large.setPixelSize(72);
        QApplication::setFont(large);
        const ChoiceDialogSpec map = questionsOfASingleMapGame().first();
        setChoiceDialogRunner({});
        view->gameTimer.stop();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        int dialogHeight = 0;
        int unreachable = 0;
        bool cancelled = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialogHeight = dialog->frameGeometry().height();
            auto *scroll = dialog->findChild<QScrollArea *>();
            QPushButton *cancel = nullptr;
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                if (!button->isVisibleTo(dialog))
                    continue;
                if (scroll)
                    scroll->ensureWidgetVisible(button);
                const QRect shown(button->mapTo(dialog, QPoint()), button->size());
                if (!dialog->rect().contains(shown))
                    ++unreachable;
                if (button->text() == QLatin1String("Cancel"))
                    cancel = button;
            }
            QVERIFY(cancel);
            cancelled = true;
            cancel->click();
        });
        const ChoiceOutcome outcome = runChoiceDialog(*view, map);
        QApplication::setFont(usual);

        QVERIFY(cancelled);
        QCOMPARE(outcome.result, 0);
        QVERIFY2(dialogHeight <= screen.height(), qPrintable(QStringLiteral("%1 > %2").arg(dialogHeight).arg(screen.height())));
        QCOMPARE(unreachable, 0);
    }

    void theOptionsQuestionStartsTheSameAndKeepsItsStatesThroughInfo()
    {
        const ChoiceDialogSpec optionsSpec = questionsOfASingleMapGame()[1];
        QVERIFY(!optionsSpec.faded);
        const auto built = buildChoiceDialog(*view, optionsSpec);
        QCOMPARE(layoutButtons(built->dialog->layout()),
                 (QStringList{"Info...", "Info...", "Info...", "Ok", "Cancel"}));
        QCOMPARE(built->checkBoxes.size(), 3);
        QCOMPARE(built->checkBoxes[0]->text(), QStringLiteral("Dice"));
        QVERIFY(built->checkBoxes[0]->isChecked());
        QVERIFY(!built->checkBoxes[1]->isChecked());
        QVERIFY(!built->checkBoxes[2]->isChecked());
        QCOMPARE(built->dialog->windowOpacity(), 1.0);
        keepPicture(*built->dialog, QStringLiteral("options-question"));

        built->checkBoxes[1]->setChecked(true);
        built->buttons[1]->click(); // the strongholds row's "Info..."
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages[0].title, QStringLiteral("Strongholds"));
        QCOMPARE(built->dialog->result(), 0);
        // Return accepts: it is not taken by the first "Info..." button.
        built->dialog->show();
        QTest::keyClick(built->dialog.get(), Qt::Key_Return);
        QCOMPARE(ui.messages.size(), 1);
        const ChoiceOutcome outcome = readChoiceDialog(*built, built->dialog->result());
        QCOMPARE(outcome.result, 1);
        QCOMPARE(outcome.checks, (QList<bool>{true, true, false}));
    }

    void theCountQuestionMarksAndFocusesTheSuggestion()
    {
        const ChoiceDialogSpec count = questionsOfASingleMapGame().last();
        const auto built = buildChoiceDialog(*view, count);
        QCOMPARE(layoutButtons(built->dialog->layout()),
                 (QStringList{"2 ai players  ", "> 3 ai players <", "4 ai players  ", "5 ai players  ", "6 ai players  ",
                              "7 ai players  ", "8 ai players  ", "9 ai players  ", "Cancel"}));
        built->dialog->show();
        QApplication::setActiveWindow(built->dialog.get());
        QCOMPARE(built->dialog->focusWidget(), buttonOf(*built, QStringLiteral("> 3 ai players <")));
        keepPicture(*built->dialog, QStringLiteral("count-question"));
        buttonOf(*built, QStringLiteral("> 3 ai players <"))->click();
        QCOMPARE(dialogChoice, 2);
    }

    void theMissionsQuestionIsTitledAndItsInfoStaysOpen()
    {
        const ChoiceDialogSpec missions = questionsOfASingleMapGame()[2];
        const auto built = buildChoiceDialog(*view, missions);
        QCOMPARE(built->dialog->windowTitle(), QStringLiteral("Missions"));
        keepPicture(*built->dialog, QStringLiteral("missions-question"));
        buttonOf(*built, QStringLiteral("Info..."))->click();
        QCOMPARE(built->dialog->result(), 0);
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY(ui.messages[0].text.startsWith(QStringLiteral("Conquer All\n")));
        buttonOf(*built, QStringLiteral("Escort"))->click();
        QCOMPARE(dialogChoice, 4);
        QCOMPARE(built->dialog->result(), int(QDialog::Accepted));
    }

    // The strongholds and missions boxes are tried from their questions above.
    void eachInfoSlotShowsItsOwnBox_data()
    {
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("begins");
        QTest::newRow("all options") << QByteArray("opties1info") << "Tarvan GX" << "Dice-like\nThe outcome";
        QTest::newRow("attack rules") << QByteArray("opties1info1") << "Tarvan GX" << "Dice-like\n\nThe outcome";
        QTest::newRow("troop experience") << QByteArray("opties1info3") << "Troop Experience" << "During battles";
        QTest::newRow("Internet host") << QByteArray("mplayinfo1") << "Tarvan GX" << "If your IP is listed";
    }

    void eachInfoSlotShowsItsOwnBox()
    {
        QFETCH(QByteArray, slot);
        QFETCH(QString, title);
        QFETCH(QString, begins);
        QVERIFY(QMetaObject::invokeMethod(view.get(), slot.constData()));
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages[0].icon, MessageIcon::Information);
        QCOMPARE(ui.messages[0].title, title);
        QVERIFY(ui.messages[0].text.startsWith(begins));
    }

    // What a player types or pastes into a name field is what the field gives back: no more than
    // the name keeps (the hotseat names 19, the player names 18), on one line, nothing hidden,
    // whole characters. A paste before a name there is cut, not the name.
    void aNameFieldGivesBackWhatItsNameKeeps_data()
    {
        QTest::addColumn<bool>("hotseat");
        QTest::addColumn<QString>("there"); // in the field already, the paste put before it
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        const QString wide = twoUnitCharacter();
        const QString accented = QStringLiteral("e\u0301");
        const QString flag = QStringLiteral("\U0001F1EB\U0001F1F7");
        const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
        QTest::newRow("hotseat: 25 characters") << true << "" << letters(25) << letters(19);
        QTest::newRow("hotseat: a pasted line break") << true << "" << "Ab\ncd" << "Ab cd";
        QTest::newRow("hotseat: an emoji across the limit") << true << "" << letters(18) + wide << letters(18);
        QTest::newRow("player names: an emoji across the limit") << false << "" << letters(17) + wide << letters(17);
        QTest::newRow("player names: a line break") << false << "" << "Ab\r\ncd" << "Ab  cd";
        QTest::newRow("player names: pasted before a name, an accent at the limit")
            << false << "Zoe" << letters(14) + accented << letters(14) + "Zoe";
        QTest::newRow("player names: a joined emoji kept whole, an override dropped")
            << false << "" << "Ab" + family + "\u202E" << "Ab" + family;
        QTest::newRow("hotseat: a flag across the limit") << true << "" << letters(17) + flag << letters(17);
        QTest::newRow("hotseat: a joiner between two letters") << true << "" << "Ab\u200Dcd" << "Abcd";
        QTest::newRow("player names: an override, isolates, zero-width spaces")
            << false << "" << "\u202EAb\u2067cd\u2068ef\u2069\u200Bgh\uFEFF" << "Abcdefgh";
    }

    void aNameFieldGivesBackWhatItsNameKeeps()
    {
        QFETCH(bool, hotseat);
        QFETCH(QString, there);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        if (hotseat) {
            const auto built = buildChoiceDialog(*view, hotseatNameQuestion());
            built->textField->clear();
            pasteByKeys(*built->textField, typed);
            QCOMPARE(built->textField->text(), kept);
            // Return in the field goes on to the dialog, whose default button takes it.
            built->dialog->show();
            QTest::keyClick(built->textField, Qt::Key_Return);
            QVERIFY(!built->dialog->isVisible());
            QVERIFY(built->dialog->result() != 0);
            QCOMPARE(readChoiceDialog(*built, built->dialog->result()).text, kept);
            return;
        }
        view->showAiNamesDialog();
        QLineEdit *field = view->aiNameEdit[3];
        field->clear();
        pasteByKeys(*field, there);
        field->setCursorPosition(0);
        pasteByKeys(*field, typed);
        QCOMPARE(field->text(), kept);
        view->aiNamesOkButton->click();
        QCOMPARE(configuredPlayerName[3], kept);
    }

    // A name field edits as a line edit that keeps no more than the name does, by whole
    // characters: what an edit puts in at the cursor is cut from its end to the room left, an
    // edit of which nothing fits leaves the field as it was, the cursor lands after what went in,
    // and Ctrl+Z undoes the edit. The field starts with `there` pasted into it, the cursor at
    // `cursor` and `selected` units selected after it.
    void aNameFieldKeepsWhatItHoldsAndItsUndo_data()
    {
        QTest::addColumn<bool>("hotseat"); // the hotseat name (19), else a player name (18)
        QTest::addColumn<QString>("there");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("selected");
        QTest::addColumn<Entry>("how");
        QTest::addColumn<QString>("entered");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<int>("keptCursor");
        QTest::addColumn<QString>("undone");
        const QString accent = QStringLiteral("\u0301");
        const QString flagHalf = QStringLiteral("\U0001F1EB");
        const QString otherHalf = QStringLiteral("\U0001F1F7");
        const QString full = letters(18) + "e";
        const QString lower = letters(26).toLower();
        QTest::newRow("an accent typed after a letter at the limit")
            << true << full << 19 << 0 << Entry::Typed << accent << full << 19 << "";
        QTest::newRow("a flag's second half typed after its first at the limit")
            << true << letters(17) + flagHalf << 19 << 0 << Entry::Typed << otherHalf << letters(17) + flagHalf << 19 << "";
        QTest::newRow("an input method puts an accent on the last letter at the limit")
            << true << full << 19 << 0 << Entry::Committed << "e" + accent << full << 19 << "";
        QTest::newRow("one accent more on a letter that fills the field")
            << false << "Zoe" + accent.repeated(15) << 18 << 0 << Entry::Typed << accent << "Zoe" + accent.repeated(15) << 18 << "";
        QTest::newRow("a letter typed into a full field")
            << false << letters(18) << 18 << 0 << Entry::Typed << "x" << letters(18) << 18 << "";
        QTest::newRow("a paste in the middle of a nearly full field")
            << false << lower.left(17) << 2 << 0 << Entry::Pasted << "cX" << "abccdefghijklmnopq" << 3 << lower.left(17);
        QTest::newRow("a paste cut at the limit")
            << false << letters(10) << 10 << 0 << Entry::Pasted << "0123456789" << letters(10) + "01234567" << 18 << letters(10);
        QTest::newRow("a paste's zero-width spaces dropped before a name")
            << false << "xyz" << 0 << 0 << Entry::Pasted << "a\u200Bb\u200Bc" << "abcxyz" << 3 << "xyz";
        QTest::newRow("a paste's line break made a blank")
            << true << "Ab" << 2 << 0 << Entry::Pasted << "c\nd" << "Abc d" << 5 << "Ab";
        QTest::newRow("a paste over a selection")
            << false << letters(18) << 2 << 3 << Entry::Pasted << "0123456789" << "AB012FGHIJKLMNOPQR" << 5 << letters(18);
        // Pasted over the selected "Pe", "Pe" and an accent starts as the field's text did: the edit
        // begins at the selection all the same, and its accented "e" no longer fits.
        QTest::newRow("a paste over a selection that begins as the field's text")
            << false << "HansPPetersMueller" << 5 << 2 << Entry::Pasted << "Pe" + accent << "HansPPtersMueller" << 6
            << "HansPPetersMueller";
        QTest::newRow("a paste of which nothing fits over a selection")
            << false << letters(18) << 2 << 1 << Entry::Pasted << twoUnitCharacter() << letters(18) << 3 << "";
        QTest::newRow("a paste from the field's menu")
            << true << letters(15) << 15 << 0 << Entry::PastedFromMenu << "0123456789" << letters(15) + "0123" << 19 << letters(15);
        QTest::newRow("an input method's commit cut by whole characters")
            << false << letters(16) << 16 << 0 << Entry::Committed << "Pab" + accent << letters(16) + "a" << 17 << letters(16);
        QTest::newRow("a drop cut at the limit")
            << false << letters(12) << 12 << 0 << Entry::Dropped << "0123456789" << letters(12) + "012345" << 18 << letters(12);
    }

    void aNameFieldKeepsWhatItHoldsAndItsUndo()
    {
        QFETCH(bool, hotseat);
        QFETCH(QString, there);
        QFETCH(int, cursor);
        QFETCH(int, selected);
        QFETCH(Entry, how);
        QFETCH(QString, entered);
        QFETCH(QString, kept);
        QFETCH(int, keptCursor);
        QFETCH(QString, undone);
        std::unique_ptr<BuiltChoiceDialog> built;
        QLineEdit *field = nullptr;
        if (hotseat) {
            built = buildChoiceDialog(*view, hotseatNameQuestion());
            field = built->textField;
        } else {
            view->showAiNamesDialog();
            field = view->aiNameEdit[3];
        }
        field->clear();
        pasteByKeys(*field, there);
        QCOMPARE(field->text(), there);
        placeCaretByKeys(*field, cursor, selected);
        const int selectedBefore = field->selectionStart();

        enter(*field, how, entered);
        QCOMPARE(field->text(), kept);
        QCOMPARE(field->cursorPosition(), keptCursor);
        if (kept == there)
            QCOMPARE(field->selectionStart(), selectedBefore);
        else
            QVERIFY(!field->hasSelectedText());

        QVERIFY(field->isUndoAvailable());
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(field->text(), undone);
    }

    void theNamesDialogShowsTheNamesTrimmedAndCancelKeepsThem_data()
    {
        QTest::addColumn<bool>("small");
        QTest::newRow("normal screen") << false;
        QTest::newRow("small screen") << true;
    }

    void theNamesDialogShowsTheNamesTrimmedAndCancelKeepsThem()
    {
        QFETCH(bool, small);
        smallScreen = small ? 1 : 0;
        configuredPlayerName[1] = QStringLiteral("Marguerite         ");
        configuredPlayerName[2] = QStringLiteral("pc II             ");
        configuredPlayerName[3] = QStringLiteral("A name much longer than allowed");
        dialogChoice = 5;
        ui.pausedMilliseconds = 0;
        view->showAiNamesDialog();
        QCOMPARE(ui.pausedMilliseconds, 800);
        QVERIFY(view->aiNamesDialog->isVisible());
        QCOMPARE(view->aiNamesDialog->isMaximized(), small);
        QCOMPARE(aiNamesDialogOpen, quint8(1));
        QCOMPARE(dialogOpen, quint8(1));
        QCOMPARE(dialogChoice, 0);
        QCOMPARE(view->aiNameEdit[1]->text(), QStringLiteral("Marguerite"));
        QCOMPARE(view->aiNameEdit[2]->text(), QStringLiteral("pc II"));
        QCOMPARE(view->aiNameEdit[3]->text().size(), 18);
        typeInto(*view->aiNameEdit[3], QStringLiteral("x"));
        QCOMPARE(view->aiNameEdit[3]->text().size(), 18);
        if (!small)
            keepPicture(*view->aiNamesDialog, QStringLiteral("player-names"));

        view->aiNameEdit[1]->setText(QStringLiteral("Changed"));
        view->aiNamesCancelButton->click();
        QVERIFY(!view->aiNamesDialog->isVisible());
        QCOMPARE(configuredPlayerName[1], QStringLiteral("Marguerite         "));
        QCOMPARE(aiNamesDialogOpen, quint8(0));
        QCOMPARE(dialogOpen, quint8(0));
    }
};

TARVAN_TEST_MAIN(TestSetupDialogs)
#include "test_setup_dialogs.moc"
