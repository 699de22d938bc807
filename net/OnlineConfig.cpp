#include "net/OnlineConfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

QString &configPathOverride()
{
    static QString path;
    return path;
}

// A base address ends in "/" so that the file names are resolved inside it.
QUrl baseUrl(const QString &text)
{
    QString base = text.trimmed();
    if (base.isEmpty())
        return QUrl();
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const QUrl url(base, QUrl::StrictMode);
    return url.isValid() && !url.scheme().isEmpty() && !url.host().isEmpty() ? url : QUrl();
}

} // namespace

QString onlineConfigPath()
{
    if (!configPathOverride().isEmpty())
        return configPathOverride();
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("online.ini"));
}

void setOnlineConfigPath(const QString &path)
{
    configPathOverride() = path;
}

OnlineConfig readOnlineConfig()
{
    OnlineConfig config;
    const QString path = onlineConfigPath();
    if (!QFileInfo(path).isFile())
        return config;
    QSettings file(path, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("server"));
    config.lists = baseUrl(file.value(QStringLiteral("lists")).toString());
    config.uploads = baseUrl(file.value(QStringLiteral("uploads")).toString());
    const QString user = file.value(QStringLiteral("user")).toString();
    if (!user.isEmpty() && config.uploads.isValid()) {
        config.uploads.setUserName(user);
        config.uploads.setPassword(file.value(QStringLiteral("password")).toString());
    }
    config.waitMs = qBound(0, file.value(QStringLiteral("wait"), 0).toInt(), 60000);
    config.available = config.lists.isValid() && config.uploads.isValid();
    return config;
}

QString onlineUnavailableText()
{
    return QStringLiteral("The online services are unavailable: no server is set up for this "
                          "program (online.ini).");
}
