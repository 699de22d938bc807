#include "TestSupport.h"

#include "ai/AiState.h"
#include "app/GameLoop.h"
#include "persist/DataFolder.h"
#include "rules/Attack.h"
#include "rules/TurnFlow.h"
#include "rules/TurnState.h"
#include "state/StateReset.h"

#include <QFile>

void ScriptedInteraction::message(MessageIcon icon, const QString &title, const QString &text)
{
    messages.append({icon, title, text});
}

bool ScriptedInteraction::question(const QString &, const QString &text)
{
    questionsAsked.append(text);
    return questionAnswers.isEmpty() ? false : questionAnswers.takeFirst();
}

int ScriptedInteraction::choose(const QString &, const QString &text, const QStringList &)
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

void resetAllGameState(quint32 seed)
{
    resetStateSubsystem();
    resetTurnState();
    resetTurnFlowState();
    resetAttackState();
    resetAiState();
    resetGameLoopState();
    resetPersistState();
    takeDataFolderFromWorkingFolder();
    randomSource().seed(seed);
}

QString writeTextFile(const QString &name, const QByteArray &bytes)
{
    QFile file(QDir::current().filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(bytes);
    return QFileInfo(file).absoluteFilePath();
}
