#pragma once
// Shared by the network tests that start copies of themselves as the other machines: the set-up's
// questions answered, a copy's join to the host at 127.0.0.1, and the commands it reads one a line
// on its standard input while its game loop runs, its answers said on its standard output.

#include "test_net_support.h"

#include "setup/ChoiceDialog.h"

#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

// Every set-up question is answered with its first choice, and every text field with `text`.
inline void answerSetupWith(const QString &text)
{
    setChoiceDialogRunner([text](ViewArea &, const ChoiceDialogSpec &spec) {
        ChoiceOutcome outcome;
        outcome.result = 1;
        outcome.choice = 1;
        for (const DialogItem &item : spec.items)
            if (item.kind == DialogItem::TextField)
                outcome.text = text;
        return outcome;
    });
}

// The join steps of the set-up, as player `name`, to the host at 127.0.0.1 on `port`.
inline bool joinHostOnLoopback(ViewArea &window, const QString &name, quint16 port)
{
    answerSetupWith(QStringLiteral("127.0.0.1"));
    networkPlayerName = networkNameFor(name);
    playerName[1] = networkPlayerName;
    gamePort = port;
    gameMode = ModeClient;
    return runJoinSteps(window) == SetupStepResult::Continue;
}

// One line on standard output, at once.
inline void sayLine(const QString &line)
{
    std::printf("%s\n", line.toLatin1().constData());
    std::fflush(stdout);
}

// The lines that come on standard input, in `lines` as they are read; `ended` once it is closed.
class InputLines {
public:
    QStringList lines;
    bool ended = false;

    InputLines() : notifier_(STDIN_FILENO, QSocketNotifier::Read)
    {
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { read(); });
    }

private:
    void read()
    {
        char buffer[256];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            notifier_.setEnabled(false);
            ended = true;
            return;
        }
        input_.append(buffer, int(n));
        for (int end; (end = input_.indexOf('\n')) >= 0; input_.remove(0, end + 1))
            lines.append(QString::fromLatin1(input_.left(end)));
    }

    QSocketNotifier notifier_;
    QByteArray input_;
};
