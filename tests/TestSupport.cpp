#include "TestSupport.h"

#include "GameReset.h"

#include "ai/AiState.h"
#include "app/AppReset.h"
#include "app/NetworkState.h"
#include "net/NetState.h"
#include "persist/DataFolder.h"
#include "rules/Attack.h"
#include "rules/GameStart.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/BuiltinMaps.h"
#include "state/GameState.h"
#include "state/StateReset.h"
#include "state/StepQueues.h"

#include <QDataStream>
#include <QEvent>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

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

void dealWorldGame(int players)
{
    selectMap(MapWorld);
    loadSelectedBuiltinMap();
    playerCount = players;
    humanPlayerCount = 1;
    dealTerritories();
    currentPlayer = 1;
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

QString writeWavFile(const QString &name)
{
    QByteArray samples;
    for (int i = 0; i < 1100; ++i) {
        const qint16 value = (i / 50) % 2 ? 800 : -800;
        samples.append(reinterpret_cast<const char *>(&value), 2);
    }
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples.size());
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(22050) << quint32(44100) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples.size());
    out.writeRawData(samples.constData(), samples.size());
    return writeTextFile(name, file);
}

MessageBoxAnswerer::MessageBoxAnswerer(Answer when) : when_(when)
{
    qApp->installEventFilter(this);
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    qApp->removeEventFilter(this);
}

bool MessageBoxAnswerer::eventFilter(QObject *watched, QEvent *event)
{
    constexpr int kLongestRead = 30000;
    // Pressed once the box runs its own event loop, as a player's click would come.
    const auto press = [](QMessageBox *box) { QMetaObject::invokeMethod(box, &QMessageBox::accept, Qt::QueuedConnection); };
    auto *box = event->type() == QEvent::Show ? qobject_cast<QMessageBox *>(watched) : nullptr;
    if (box) {
        texts.append(box->text());
        if (when_ == Answer::AtOnce) {
            press(box);
        } else {
            waiting_ = box;
            QTimer::singleShot(kLongestRead, box, [box, press] { press(box); });
        }
    } else if (waiting_ && event->type() == QEvent::Timer && watched->inherits("ViewArea")) {
        ++boxesTickedUnder;
        press(waiting_);
        waiting_ = nullptr;
    }
    return false;
}
