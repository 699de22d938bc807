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

// A push button, or a row of nothing but push buttons.
bool isButtonRow(QLayoutItem *item)
{
    if (!item)
        return false;
    if (item->widget())
        return qobject_cast<QPushButton *>(item->widget()) != nullptr;
    QLayout *row = item->layout();
    if (!row || row->count() == 0)
        return false;
    for (int i = 0; i < row->count(); ++i)
        if (QLayoutItem *part = row->itemAt(i); !part->spacerItem() && !qobject_cast<QPushButton *>(part->widget()))
            return false;
    return true;
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
    const QRect available = screen->availableGeometry();
    const QSize room(available.width() - frame / 2, available.height() - frame);
    const QSize wanted = dialog.sizeHint();
    if (room.width() <= 0 || room.height() <= 0 || (wanted.height() <= room.height() && wanted.width() <= room.width()))
        return;
    // The closing buttons (Ok, Cancel) stay under the scroll area, always in sight, where the
    // screen is wide enough for their row.
    auto *column = qobject_cast<QBoxLayout *>(content);
    QLayoutItem *last = column && column->count() > 1 ? column->itemAt(column->count() - 1) : nullptr;
    QLayoutItem *closing = isButtonRow(last) && last->sizeHint().width() <= room.width()
                               ? column->takeAt(column->count() - 1)
                               : nullptr;
    auto *inner = new QWidget;
    inner->setLayout(content); // takes the layout and its widgets over from the dialog
    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(inner);
    // The dialog's own grey shows through, whatever style sheet the dialog carries.
    scroll->viewport()->setAutoFillBackground(false);
    inner->setAutoFillBackground(false);
    const QSize innerSize = inner->sizeHint();
    const int bar = scroll->verticalScrollBar()->sizeHint().width();
    const bool tooWide = innerSize.width() + bar > room.width();
    scroll->setHorizontalScrollBarPolicy(tooWide ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(qMin(innerSize.width() + bar, room.width()));
    auto *outer = new QVBoxLayout(&dialog);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    if (closing) {
        // As wide as the buttons above it: the content's margins, and the scroll bar's width.
        const QMargins margins = content->contentsMargins();
        const int barShown = wanted.height() > room.height() ? bar : 0;
        auto *under = new QVBoxLayout;
        under->setContentsMargins(margins.left(), 0, margins.right() + barShown, margins.bottom());
        if (QLayout *row = closing->layout()) {
            row->setParent(nullptr);
            under->addLayout(row);
        } else {
            under->addWidget(closing->widget(), 0, closing->alignment());
            delete closing;
        }
        outer->addLayout(under);
    }
    dialog.setMaximumSize(room);
    dialog.resize(qMin(dialog.sizeHint().width(), room.width()), qMin(dialog.sizeHint().height(), room.height()));
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
