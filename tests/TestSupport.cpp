#include "TestSupport.h"
#include "GameReset.h"

#include "ai/AiState.h"
#include "app/AppReset.h"
#include "app/NetworkState.h"
#include "net/NetState.h"
#include "persist/DataFolder.h"
#include "rules/Attack.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/StateReset.h"
#include "state/StepQueues.h"

#include <QFile>

void ScriptedInteraction::message(MessageIcon icon, const QString &title, const QString &text)
{
    messages.append({icon, title, text});
}

bool ScriptedInteraction::question(const QString &, const QString &text, MessageIcon)
{
    questionsAsked.append(text);
    return questionAnswers.isEmpty() ? false : questionAnswers.takeFirst();
}

int ScriptedInteraction::choose(const QString &, const QString &text, const QStringList &, MessageIcon)
{
    questionsAsked.append(text);
    return choiceAnswers.isEmpty() ? 0 : choiceAnswers.takeFirst();
}

QString ScriptedInteraction::openFileName(const QString &, const QString &, const QString &)
{
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QString ScriptedInteraction::saveFileName(const QString &, const QString &, const QString &)
{
    return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
}

QStringList ScriptedInteraction::messageTexts() const
{
    QStringList texts;
    for (const Shown &shown : messages)
        texts.append(shown.text);
    return texts;
}

void joinClientSeats(int n)
{
    clientCount = n;
    for (int k = 1; k <= kMaxClients; ++k) {
        netSession.seatOfSocket[k] = k <= n ? k + 1 : 0;
        netSession.socketOfSeat[k + 1] = k <= n ? k : 0;
    }
}

void resetAllGameState(quint32 seed)
{
    resetGameTablesAndRules();
    resetAllAppState();
    resetPersistState();
    resetNetSession();
    takeDataFolderFromWorkingFolder();
    randomSource().seed(seed);
}

namespace {

template <std::size_t N>
QList<int> typesOf(const std::array<QueueStep, N> &queue, int count)
{
    QList<int> types;
    for (int i = 1; i <= count && i < int(N); ++i)
        types.append(queue[i].type);
    return types;
}

template <std::size_t N>
QStringList textsOf(const std::array<QueueStep, N> &queue, int count, int textType)
{
    QStringList texts;
    for (int i = 1; i <= count && i < int(N); ++i)
        if (queue[i].type == textType)
            texts.append(queue[i].text);
    return texts;
}

} // namespace

QList<int> actionQueueTypes()
{
    return typesOf(actionQueue, actionQueueCount);
}

QList<int> messageQueueTypes()
{
    return typesOf(messageQueue, messageQueueCount);
}

QStringList actionQueueTexts()
{
    return textsOf(actionQueue, actionQueueCount, 2);
}

QStringList messageQueueTexts()
{
    return textsOf(messageQueue, messageQueueCount, 1);
}

bool takeHttpRequest(QByteArray &buffer, HttpRequest &request)
{
    const int headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return false;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> words = lines.value(0).trimmed().split(' ');
    int length = 0;
    for (const QByteArray &line : lines)
        if (line.toLower().startsWith("content-length:"))
            length = line.mid(15).trimmed().toInt();
    if (buffer.size() < headerEnd + 4 + length)
        return false;
    request.method = words.value(0);
    request.file = QString::fromLatin1(words.value(1)).section(QLatin1Char('/'), -1);
    request.body = buffer.mid(headerEnd + 4, length);
    buffer.remove(0, headerEnd + 4 + length);
    return true;
}

QString writeTextFile(const QString &name, const QByteArray &bytes)
{
    QFile file(QDir::current().filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(bytes);
    return QFileInfo(file).absoluteFilePath();
}
