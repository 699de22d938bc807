#pragma once
// The sound effects' way out of the program: the WAV files of the sounds folder played through
// the system's audio output. Without an audio output (no sound server) the program says so once
// on standard error and plays nothing more; the player's sound options stay as they are.

#include <QHash>
#include <QObject>
#include <QString>

class QSoundEffect;

class SoundOutput : public QObject {
public:
    explicit SoundOutput(QObject *parent = nullptr);
    ~SoundOutput() override;

    // Plays the file from its start; a missing file plays nothing.
    void play(const QString &path);
    // False once the audio output has failed: from then on nothing is played.
    bool available() const;
    // The effects made so far (one per file played), for the tests.
    int effectsMade() const { return effectsMade_; }

private:
    void giveUp();

    QHash<QString, QSoundEffect *> effects_;
    int effectsMade_ = 0;
};

// The line written once when no audio output can be opened.
extern const char kNoSoundOutputNote[];
