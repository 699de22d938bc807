// The hosting settings dialog: the external address and the game name an Internet host is
// listed with, kept in the settings file, with the pages that help find the address and set up
// the router.

#include "app/ViewArea.h"
#include "dialogs/DialogLook.h"
#include "dialogs/NameField.h"

#include "persist/DataStream.h"
#include "persist/Settings.h"
#include "setup/NetworkSetup.h"
#include "state/MapView.h"
#include "state/Seams.h"
#include "state/TextRules.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kDialogPauseMs = 300;
const QUrl kIpLookupPage(QStringLiteral("https://www.whatismyip.com/"));
const QUrl kPortForwardingPage(QStringLiteral("https://portforward.com/"));

} // namespace

HostingSettingsAnswer runHostingSettingsDialog(ViewArea &view, const QString &externalIp, const QString &internalIp,
                                               const QString &gameName)
{
    QDialog dialog;
    applyDialogLook(dialog, QStringLiteral("Hosting Internet Games (behind a router)"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral(
        "Step 1. Enter your external IP address: \n(this will be remembered for the next time you run the program)")));
    auto *external = new QLineEdit(externalIp);
    layout->addWidget(external);
    layout->addWidget(new QLabel(QStringLiteral("You can find your external IP address on this page :")));
    auto *lookup = new QPushButton(kIpLookupPage.host());
    layout->addWidget(lookup);
    layout->addWidget(new QLabel(QStringLiteral("Step 2. Configure your router for portforwarding: go to ")
                                 + kPortForwardingPage.host()));
    auto *forwarding = new QPushButton(kPortForwardingPage.host());
    layout->addWidget(forwarding);
    layout->addWidget(new QLabel(QStringLiteral(
        "Be sure to visit the default guide for your router (autoconfig is not \n available for Tarvan GX)")));
    layout->addWidget(new QLabel(QStringLiteral("The Tarvan GX port is 5466 \n Your internal IP : ")));
    auto *internal = new QLineEdit(internalIp);
    internal->setReadOnly(true);
    layout->addWidget(internal);
    layout->addWidget(new QLabel(QStringLiteral("Step 3. Enter a name for your game:")));
    auto *name = new QLineEdit(gameName);
    // The settings keep 19 characters of the name, the game list 20.
    limitNameField(*name, kStoredTextLength);
    layout->addWidget(name);
    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(QStringLiteral("Ok"));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    QObject::connect(lookup, SIGNAL(clicked()), &view, SLOT(whatismyip()));
    QObject::connect(forwarding, SIGNAL(clicked()), &view, SLOT(portforward()));
    QObject::connect(ok, SIGNAL(clicked()), &dialog, SLOT(accept()));
    QObject::connect(cancel, SIGNAL(clicked()), &dialog, SLOT(reject()));
    QObject::connect(&dialog, SIGNAL(finished(int)), &view, SLOT(hostingsettFinished()));
    interaction().pause(kDialogPauseMs);
    if (smallScreen)
        dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
    HostingSettingsAnswer answer;
    fitDialogToScreen(dialog);
    answer.accepted = dialog.exec() == QDialog::Accepted;
    answer.externalIp = external->text();
    answer.gameName = name->text();
    return answer;
}

void ViewArea::hostingSettingsDialog()
{
    // The fields start from the stored texts without the file's padding, so what is typed is
    // what is kept.
    const QString storedIp = settingsRecord.hostExternalIp.trimmed();
    const QString storedName = settingsRecord.hostGameName.trimmed();
    const HostingSettingsAnswer answer = networkEnvironment().hostingSettings(
        *this, storedIp, internalAddressOf(networkEnvironment().interfaceAddresses()), storedName);
    if (!answer.accepted)
        return;
    interaction().pause(kDialogPauseMs);
    // Both go on the one line of the game list's entry.
    const QString ip = cleanedText(answer.externalIp).trimmed();
    const QString name = typedName(answer.gameName, kStoredTextLength);
    if (ip == storedIp && name == hostGameName.trimmed())
        return;
    const QHostAddress parsed(ip);
    if (parsed.protocol() != QAbstractSocket::IPv4Protocol && parsed.protocol() != QAbstractSocket::IPv6Protocol)
        interaction().message(MessageIcon::Information, QString(), tr("Invalid IP"));
    hostExternalIp = ip;
    hostGameName = name;
    partialSaveFlag = 1;
    saveSettings();
    partialSaveFlag = 0;
}

void ViewArea::whatismyip()
{
    networkEnvironment().openWebPage(kIpLookupPage);
}

void ViewArea::portforward()
{
    networkEnvironment().openWebPage(kPortForwardingPage);
}

void ViewArea::hostingsettFinished() {}
