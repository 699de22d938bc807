#include "GameProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>

QStringList benchedPrograms()
{
    QStringList programs;
    for (const QString &path : qEnvironmentVariable("TARVAN_BENCH_PROGRAM").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        programs.append(QFileInfo(path).absoluteFilePath());
    if (programs.isEmpty())
        programs.append(QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../run/tarvangx")));
    return programs;
}

int benchArgumentAfter(const char *area, int fallback)
{
    const QStringList args = QCoreApplication::arguments();
    const int at = args.indexOf(QLatin1String(area));
    bool ok = false;
    const int value = at >= 0 ? args.value(at + 1).toInt(&ok) : 0;
    return ok && value > 0 ? value : fallback;
}

GameProcess::GameProcess(const VirtualScreen &screen, const QString &program) : screen_(screen), program_(program) {}

GameProcess::~GameProcess()
{
    stop();
}

bool GameProcess::start()
{
    const QDir runFolder = QFileInfo(program_).absoluteDir();
    for (const char *shared : {"sounds", "maps"})
        QFile::link(runFolder.absoluteFilePath(QLatin1String(shared)), QDir(folder_.path()).filePath(QLatin1String(shared)));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), screen_.display());
    // The program's own choices are measured, not the caller's.
    for (const char *name : {"QT_QPA_PLATFORM", "QT_XCB_GL_INTEGRATION", "WAYLAND_DISPLAY"})
        environment.remove(QLatin1String(name));
    process_.setProcessEnvironment(environment);
    process_.setWorkingDirectory(folder_.path());
    process_.setStandardOutputFile(QProcess::nullDevice());
    process_.setStandardErrorFile(QProcess::nullDevice());
    startedAt_ = BenchClock::now();
    process_.start(program_, QStringList());
    return process_.waitForStarted(10000);
}

QString GameProcess::procFile(const char *name) const
{
    return QStringLiteral("/proc/%1/%2").arg(process_.processId()).arg(QLatin1String(name));
}

double GameProcess::residentMegabytes() const
{
    QFile status(procFile("status"));
    if (!running() || !status.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression line(QStringLiteral("^VmRSS:\\s+(\\d+) kB"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024.0 : 0;
}

QStringList GameProcess::mappedGlLibraries() const
{
    QFile maps(procFile("maps"));
    if (!running() || !maps.open(QIODevice::ReadOnly))
        return {};
    const QRegularExpression gl(QStringLiteral("/(lib(GL|EGL|GLX|glapi|gbm|LLVM|drm)[^/]*\\.so[^/]*|[^/]*(_dri|mesa|glx)[^/]*\\.so[^/]*)$"));
    QSet<QString> found;
    for (const QByteArray &row : maps.readAll().split('\n')) {
        const QRegularExpressionMatch match = gl.match(QString::fromLatin1(row.trimmed()));
        if (match.hasMatch())
            found.insert(match.captured(1));
    }
    QStringList names = found.values();
    names.sort();
    return names;
}

void GameProcess::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished(5000);
}
