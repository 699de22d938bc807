#pragma once
// What every test program shares: a fresh temporary working folder, a scripted stand-in for the
// window's questions and dialogs, and one reset of the whole game state.

#include "state/Seams.h"

#include <QApplication>
#include <QDir>
#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

class ScriptedInteraction : public Interaction {
public:
    struct Shown {
        MessageIcon icon;
        QString title;
        QString text;
    };
    QList<Shown> messages;
    QStringList questionsAsked;
    QList<bool> questionAnswers; // taken in order; "No" when used up
    QList<int> choiceAnswers;    // taken in order; 0 when used up
    QStringList fileNames;       // answers of the file dialogs, in order; "" when used up
    QStringList soundsPlayed;
    int beeps = 0;
    int pausedMilliseconds = 0;
    QDateTime clock = QDateTime(QDate(2026, 12, 6), QTime(12, 0));

    void message(MessageIcon icon, const QString &title, const QString &text) override;
    bool question(const QString &title, const QString &text, MessageIcon icon) override;
    int choose(const QString &title, const QString &text, const QStringList &buttons, MessageIcon icon) override;
    void beep() override { ++beeps; }
    QString openFileName(const QString &, const QString &, const QString &) override;
    QString saveFileName(const QString &, const QString &, const QString &) override;
    void pause(int milliseconds) override { pausedMilliseconds += milliseconds; }
    void playSoundFile(const QString &path) override { soundsPlayed.append(path); }
    QDateTime now() override { return clock; }

    QStringList messageTexts() const;
};

// Resets every subsystem's globals, the window's included, and seeds the random source.
void resetAllGameState(quint32 seed = 1);

// A game on the World map dealt among `players` players, player 1 the one human and to move.
void dealWorldGame(int players);

// What the step queues hold now: the types of their steps, and the texts of their status-text
// steps (action step 2, message step 1).
QList<int> actionQueueTypes();
QList<int> messageQueueTypes();
QStringList actionQueueTexts();
QStringList messageQueueTexts();

// The host's client sockets 1..n have joined as players 2..n+1, as the join messages make them.
void joinClientSeats(int n);

// Writes a text file into the working folder; returns its absolute path.
QString writeTextFile(const QString &name, const QByteArray &bytes);
// Writes a short, valid WAV file (0.05 s of a quiet square wave) into the working folder; returns
// its absolute path.
QString writeWavFile(const QString &name);

// A character of two UTF-16 units (an emoji): a cut between them leaves half a character.
inline QString twoUnitCharacter()
{
    return QString::fromUtf8("\xF0\x9F\x98\x80");
}
// The first n letters of the alphabet, then on from "a" again.
inline QString letters(int n)
{
    QString text;
    for (int i = 0; i < n; ++i)
        text += QChar(i < 26 ? 'A' + i : 'a' + (i - 26) % 26);
    return text;
}

// While it lives, answers every message box the program itself shows (the window's own, not the
// scripted ones) as a player does, and keeps the boxes' texts: the boxes of the window's start,
// where no scripted interaction is installed yet.
class MessageBoxAnswerer : public QObject {
public:
    // At once, or once the window's game timer has ticked under the box, as it does while a
    // player reads it (a box left up longer than 30 s is answered all the same).
    enum class Answer { AtOnce, AfterATick };
    explicit MessageBoxAnswerer(Answer when = Answer::AtOnce);
    ~MessageBoxAnswerer() override;
    QStringList texts;
    int boxesTickedUnder = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Answer when_;
    QPointer<QMessageBox> waiting_;
};

// One HTTP request as a loopback server of a test reads it: the method, the last part of the
// path (the file asked for or sent) and the body.
struct HttpRequest {
    QByteArray method;
    QString file;
    QByteArray body;
};
// Takes the first whole request off the front of `buffer`; false while it has not all come.
bool takeHttpRequest(QByteArray &buffer, HttpRequest &request);

#define TARVAN_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char **argv)                                                              \
    {                                                                                            \
        QApplication app(argc, argv);                                                            \
        QTemporaryDir workDir;                                                                   \
        if (!workDir.isValid() || !QDir::setCurrent(workDir.path()))                             \
            return 1;                                                                            \
        TestClass tc;                                                                            \
        return QTest::qExec(&tc, argc, argv);                                                    \
    }
