#pragma once
// Everything that waits, asks, sounds or reads the clock goes through these seams. The defaults
// here are silent and answer "no"; the program installs the real window versions at start-up
// and the tests install scripted ones.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <random>

// One seedable generator for the whole game: deal, dice, cards, personalities, computer players.
class RandomSource {
public:
    void seed(quint32 value);
    // A number from 0 to n - 1 (0 when n < 1).
    int below(int n);
    // A number from low to high inclusive.
    int between(int low, int high);

private:
    std::mt19937 engine_{20261206u};
};
RandomSource &randomSource();
// Seeds the one generator from the system's entropy: every start of the program plays its own
// demo and deals its own games. Called once at start-up; a seed set later (a test, the
// simulator, a loaded game) still gives the same game every time.
void seedRandomSourceFromSystem();

// Network play's sender of the game state with a message code (1003..1011); the rules and the
// map picture cannot reach the sockets themselves. Unset outside network play.
extern void (*networkUpdateSender)(int code);

enum class MessageIcon { Information, Warning, Critical, None };

class Interaction {
public:
    virtual ~Interaction() = default;
    virtual void message(MessageIcon icon, const QString &title, const QString &text);
    // Yes / No question: true for Yes.
    virtual bool question(const QString &title, const QString &text, MessageIcon icon = MessageIcon::Warning);
    // A box with the given buttons: the index of the one pressed.
    virtual int choose(const QString &title, const QString &text, const QStringList &buttons,
                       MessageIcon icon = MessageIcon::Information);
    virtual void beep();
    virtual QString openFileName(const QString &caption, const QString &folder, const QString &filter);
    virtual QString saveFileName(const QString &caption, const QString &folder, const QString &filter);
    // A pause that keeps the program responsive (the window processes events meanwhile).
    virtual void pause(int milliseconds);
    // The status texts changed: the window repaints its status area.
    virtual void statusChanged();
    virtual void playSoundFile(const QString &path);
    virtual QDateTime now();
    // The member dialogs that a human turn opens without blocking; their answers come back
    // through the card slots of the turn flow.
    virtual void showCardTradeDialog();
    virtual void showCardTradeBonus();
};
Interaction &interaction();
// Installs an interaction (not owned); nullptr restores the silent default.
void setInteraction(Interaction *replacement);

// The message box every map and campaign error is shown in.
void showErrorBox(const QString &text);
