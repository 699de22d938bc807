#include "dialogs/DialogLook.h"

#include "app/DialogState.h"
#include "app/ResourceNames.h"
#include "state/Seams.h"

#include <QBoxLayout>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

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

int runDialog(QDialog &dialog)
{
    if (installedRunner())
        return installedRunner()(dialog);
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
