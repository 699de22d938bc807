#include "app/ViewArea.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QCoreApplication::addLibraryPath(QStringLiteral("plugins"));
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationDomain(QStringLiteral("tarvangx.example"));
    QCoreApplication::setApplicationName(QStringLiteral("Tarvan GX"));
    auto *window = new ViewArea;
    window->setWindowFlags(Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    window->setMouseTracking(true);
    window->showMaximized();
    const int code = app.exec();
    delete window;
    return code;
}
