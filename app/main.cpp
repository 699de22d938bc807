// The program: one application, one maximised frameless main window.

#include "app/ProgramStart.h"
#include "app/ViewArea.h"
#include "app/WindowPlacement.h"
#include "state/Seams.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    prepareProcess();
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationDomain(QStringLiteral("tarvangx.example"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvan GX"));
    seedRandomSourceFromSystem();
    ViewArea window;
    window.setAttribute(Qt::WA_MouseTracking, true);
    window.setWindowState(Qt::WindowMaximized);
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    window.show();
    fillAvailableScreen(window);
    return app.exec();
}
