#include "app/WindowInteraction.h"

#include "app/DialogState.h"
#include "app/ResourceNames.h"
#include "app/SoundOutput.h"
#include "app/ViewArea.h"
#include "state/Seams.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWidget>

namespace {

class WindowInteraction : public Interaction {
public:
    explicit WindowInteraction(QWidget *window) : window_(window) {}

    // While the window is built, a message waits: a box runs the event loop, and the game timer
    // would tick into a window half built. Those held go first, in the order they came.
    void message(MessageIcon icon, const QString &title, const QString &text) override
    {
        if (building_) {
            held_.append({icon, title, text});
            return;
        }
        showHeldMessages();
        showMessageBox(icon, title, text);
    }

    void windowBuilt() { building_ = false; }

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

    // Shown one after the other; a box asked for under one of them is shown on top, as ever.
    void showHeldMessages()
    {
        if (building_ || showingHeld_)
            return;
        showingHeld_ = true;
        while (!held_.isEmpty()) {
            const HeldMessage next = held_.takeFirst();
            showMessageBox(next.icon, next.title, next.text);
        }
        showingHeld_ = false;
    }

private:
    struct HeldMessage {
        MessageIcon icon;
        QString title;
        QString text;
    };

    static void showMessageBox(MessageIcon icon, const QString &title, const QString &text)
    {
        QMessageBox box(toBoxIcon(icon), title, text, QMessageBox::Ok);
        giveBoxLook(box);
        box.exec();
    }

    // The program's icon and the opacity every dialog of the game takes; and a box whose text
    // runs taller than the screen (large letters on a compact screen) keeps its buttons in sight.
    static void giveBoxLook(QMessageBox &box)
    {
        box.setWindowIcon(QIcon(resources::kProgramIcon));
        box.setWindowOpacity(dialogOpacity);
        // The box takes its size when it is shown, so it is measured once it is.
        QTimer::singleShot(0, &box, [&box] { keepBoxOnScreen(box); });
    }

    // The text goes into a scroll area as high as the screen leaves room for.
    static void keepBoxOnScreen(QMessageBox &box)
    {
        const QScreen *screen = box.screen();
        auto *text = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        auto *grid = qobject_cast<QGridLayout *>(box.layout());
        if (!screen || !text || !grid)
            return;
        const QRect room = screen->availableGeometry();
        const int frame = box.frameGeometry().height() - box.height();
        const int excess = box.frameGeometry().height() - room.height();
        if (excess <= 0)
            return;
        auto *scroll = new QScrollArea;
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setWidgetResizable(true);
        scroll->viewport()->setAutoFillBackground(false);
        const int bar = scroll->verticalScrollBar()->sizeHint().width();
        const QSize textSize = text->size();
        delete grid->replaceWidget(text, scroll);
        scroll->setWidget(text);
        scroll->setFixedSize(textSize.width() + bar, qMax(text->fontMetrics().height(), textSize.height() - excess));
        box.setFixedSize(qMin(box.width() + bar, room.width()), room.height() - frame);
        box.move(box.x(), room.top());
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
    bool building_ = true;
    bool showingHeld_ = false;
    QList<HeldMessage> held_;
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

void windowBuilt()
{
    if (!installed)
        return;
    installed->windowBuilt();
    // Through the one installed now: a window built after this one has replaced it.
    QMetaObject::invokeMethod(
        qApp, [] {
            if (installed)
                installed->showHeldMessages();
        },
        Qt::QueuedConnection);
}
