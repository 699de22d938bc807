#include "dialogs/DialogLook.h"

#include "app/DialogState.h"
#include "app/ResourceNames.h"
#include "state/Seams.h"

#include <QBoxLayout>
#include <QDialog>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace {

DialogRunner &installedRunner()
{
    static DialogRunner runner;
    return runner;
}

} // namespace

void giveDialogLook(QDialog &dialog, const QString &title)
{
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint);
    dialog.setPalette(QPalette(QColor(Qt::gray)));
    dialog.setWindowTitle(title);
    dialog.setWindowOpacity(dialogOpacity);
    dialog.setWindowIcon(QIcon(resources::kProgramIcon));
}

void setDialogRunner(DialogRunner runner)
{
    installedRunner() = std::move(runner);
}

void fitDialogToScreen(QDialog &dialog)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    QLayout *content = dialog.layout();
    if (!screen || !content)
        return;
    // What the title bar and the frame of the window take besides.
    const int frame = 2 * dialog.fontMetrics().height() + 16;
    const int room = screen->availableGeometry().height() - frame;
    if (room <= 0 || dialog.sizeHint().height() <= room)
        return;
    auto *inner = new QWidget;
    inner->setLayout(content); // takes the layout and its widgets over from the dialog
    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setWidget(inner);
    scroll->setMinimumWidth(inner->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width());
    auto *outer = new QVBoxLayout(&dialog);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    dialog.setMaximumHeight(room);
    dialog.resize(scroll->minimumWidth(), room);
}

int runDialog(QDialog &dialog)
{
    if (installedRunner())
        return installedRunner()(dialog);
    fitDialogToScreen(dialog);
    return dialog.exec();
}

int runDialogBetweenPauses(QDialog &dialog, int pauseBefore, int pauseAfter)
{
    interaction().pause(pauseBefore);
    const int result = runDialog(dialog);
    interaction().pause(pauseAfter);
    return result;
}

void addOkButton(QDialog &dialog, QLayout &layout)
{
    auto *ok = new QPushButton(QStringLiteral("Ok"), &dialog);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    if (auto *box = qobject_cast<QBoxLayout *>(&layout))
        box->addWidget(ok, 0, Qt::AlignRight);
    else
        layout.addWidget(ok);
}

QLabel *addLabel(QLayout &layout, const QString &text)
{
    auto *label = new QLabel(text);
    layout.addWidget(label);
    return label;
}
