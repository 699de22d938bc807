#include "app/ProgramStart.h"

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

#include <csignal>

void prepareProcess()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QCoreApplication::addLibraryPath(QStringLiteral("plugins"));
    // Everything is painted with QPainter: without this the window pulls in a whole OpenGL stack.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
}
