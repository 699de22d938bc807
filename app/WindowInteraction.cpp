#include "app/WindowInteraction.h"

#include "app/DialogState.h"
#include "app/ResourceNames.h"
#include "app/SoundOutput.h"
#include "app/ViewArea.h"
#include "state/Seams.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace {

class WindowInteraction : public Interaction {
public:
    explicit WindowInteraction(QWidget *window) : window_(window) {}

    void message(MessageIcon icon, const QString &title, const QString &text) override
    {
        QMessageBox box(toBoxIcon(icon), title, text, QMessageBox::Ok);
        giveBoxLook(box);
        box.exec();
    }

    bool question(const QString &title, const QString &text, MessageIcon icon) override
    {
        QMessageBox box(toBoxIcon(icon), title, text, QMessageBox::Yes | QMessageBox::No);
        giveBoxLook(box);
        return box.exec() == QMessageBox::Yes;
    }

    int choose(const QString &title, const QString &text, const QStringList &buttons, MessageIcon icon) override
    {
        QMessageBox box(toBoxIcon(icon), title, text);
        giveBoxLook(box);
        // The action role keeps the buttons in the order they are given on every desktop style;
        // the accept role lets some styles reverse them.
        QList<QPushButton *> added;
        for (const QString &label : buttons) {
            added.append(box.addButton(label, QMessageBox::ActionRole));
            // A Cancel also answers Escape and the close button.
            if (label == QLatin1String("Cancel"))
                box.setEscapeButton(added.last());
        }
        box.exec();
        return qMax(0, added.indexOf(qobject_cast<QPushButton *>(box.clickedButton())));
    }

    void beep() override { QApplication::beep(); }

    QString openFileName(const QString &caption, const QString &folder, const QString &filter) override
    {
        return QFileDialog::getOpenFileName(window_, caption, folder, filter);
    }

    QString saveFileName(const QString &caption, const QString &folder, const QString &filter) override
    {
        return QFileDialog::getSaveFileName(window_, caption, folder, filter);
    }

    void pause(int milliseconds) override
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < milliseconds)
            QApplication::processEvents(QEventLoop::AllEvents, qMax<qint64>(1, milliseconds - timer.elapsed()));
    }

    void statusChanged() override
    {
        if (window_)
            window_->update();
    }

    void playSoundFile(const QString &path) override { sounds_.play(path); }

    // The card dialogs are members of the main window.
    void showCardTradeDialog() override
    {
        if (auto *view = qobject_cast<ViewArea *>(window_))
            view->showCardTradeDialog();
    }

    void showCardTradeBonus() override
    {
        if (auto *view = qobject_cast<ViewArea *>(window_))
            view->showCardTradeBonus();
    }

private:
    // The program's icon and the opacity every dialog of the game takes.
    static void giveBoxLook(QMessageBox &box)
    {
        box.setWindowIcon(QIcon(resources::kProgramIcon));
        box.setWindowOpacity(dialogOpacity);
    }

    static QMessageBox::Icon toBoxIcon(MessageIcon icon)
    {
        switch (icon) {
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::None:
            return QMessageBox::NoIcon;
        case MessageIcon::Information:
            break;
        }
        return QMessageBox::Information;
    }

    QWidget *window_;
    SoundOutput sounds_;
};

WindowInteraction *installed = nullptr;

} // namespace

void installWindowInteraction(QWidget *window)
{
    setInteraction(nullptr);
    delete installed;
    installed = window ? new WindowInteraction(window) : nullptr;
    setInteraction(installed);
}
