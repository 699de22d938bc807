#include "net/OnlineConfig.h"

#include "persist/WholeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QRegularExpression>

namespace {

// A few addresses and a login: anything larger is no such file.
constexpr qint64 kMaxOnlineConfigBytes = 64 * 1024;
constexpr int kMaxListWaitMs = 60000;

QString &configPathOverride()
{
    static QString path;
    return path;
}

// The character a backslash and `c` stand for.
QChar unescaped(QChar c)
{
    switch (c.unicode()) {
    case 'a': return QLatin1Char('\a');
    case 'b': return QLatin1Char('\b');
    case 'f': return QLatin1Char('\f');
    case 'n': return QLatin1Char('\n');
    case 'r': return QLatin1Char('\r');
    case 't': return QLatin1Char('\t');
    case 'v': return QLatin1Char('\v');
    default: return c;
    }
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The value after a key's "=": up to a ";" outside double quotes, the quotes taken away and the
// escapes undone, without the blanks around it (those in quotes or escaped stay).
QString iniValue(const QString &text)
{
    QString value;
    int kept = 0; // trailing blanks are cut down to here
    bool quoted = false;
    int i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char(';') && !quoted) {
            break;
        } else if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            value += unescaped(text[++i]);
            kept = value.size();
        } else {
            value += c;
            if (quoted || !isBlank(c))
                kept = value.size();
        }
    }
    value.truncate(kept);
    return value;
}

// The keys and values of the section `name`, every part of the file bearing that name read as
// one, a later key winning.
QHash<QString, QString> iniSection(const QByteArray &bytes, const QString &name)
{
    // Every byte, a NUL too: the QByteArray overload would end the text at the first NUL.
    QString text = QString::fromUtf8(bytes.constData(), bytes.size());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QHash<QString, QString> values;
    bool inside = false;
    for (const QString &raw : text.split(QRegularExpression(QStringLiteral("[\r\n]")))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inside = line.mid(1).section(QLatin1Char(']'), 0, 0).trimmed() == name;
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        const int comment = line.indexOf(QLatin1Char(';'));
        if (!inside || equals <= 0 || (comment >= 0 && comment < equals))
            continue;
        values.insert(line.left(equals).trimmed(), iniValue(line.mid(equals + 1)));
    }
    return values;
}

// An absolute address with a host; an empty one otherwise.
QUrl webAddress(const QString &text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    return url.isValid() && !url.scheme().isEmpty() && !url.host().isEmpty() ? url : QUrl();
}

// A base address ends in "/" so that the file names are resolved inside it.
QUrl baseUrl(const QString &text)
{
    const QString base = text.trimmed();
    if (base.isEmpty())
        return QUrl();
    return webAddress(base.endsWith(QLatin1Char('/')) ? base : base + QLatin1Char('/'));
}

bool isHttpAddress(const QUrl &url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
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
    config.unavailableText = onlineUnavailableText();
    QByteArray bytes;
    if (readWholeFile(onlineConfigPath(), kMaxOnlineConfigBytes, bytes) != FileRead::Read)
        return config;
    const QHash<QString, QString> server = iniSection(bytes, QStringLiteral("server"));
    config.lists = baseUrl(server.value(QStringLiteral("lists")));
    config.uploads = baseUrl(server.value(QStringLiteral("uploads")));
    const QString user = server.value(QStringLiteral("user"));
    if (!user.isEmpty() && config.uploads.isValid()) {
        config.uploads.setUserName(user);
        config.uploads.setPassword(server.value(QStringLiteral("password")));
    }
    config.waitMs = qBound(0, server.value(QStringLiteral("wait")).toInt(), kMaxListWaitMs);
    config.website = webAddress(server.value(QStringLiteral("website")));
    config.available = config.lists.isValid() && config.uploads.isValid();
    if (config.available && !isHttpAddress(config.lists)) {
        config.available = false;
        config.unavailableText = QStringLiteral("The online services are unavailable: the lists address in online.ini "
                                                "must begin with http:// or https://.");
    }
    return config;
}

QString onlineUnavailableText()
{
    return QStringLiteral("The online services are unavailable: no server is set up for this "
                          "program (online.ini).");
}
