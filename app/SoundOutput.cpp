#include "app/SoundOutput.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

#include <atomic>

const char kNoSoundOutputNote[] = "Tarvan GX: no audio output could be opened; the game goes on without sound.";

namespace {

// The audio backend reports a missing sound server with a warning of its own for every effect
// made (from the audio thread too). The first one marks the output as failed; none is passed on.
std::atomic<bool> outputFailed{false};
QtMessageHandler previousHandler = nullptr;
bool noted = false;

bool fromAudioBackend(const QString &text)
{
    return text.startsWith(QLatin1String("PulseAudioService:"));
}

void filterAudioMessages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (fromAudioBackend(text)) {
        outputFailed = true;
        return;
    }
    if (previousHandler)
        previousHandler(type, context, text);
    else
        qt_message_output(type, context, text);
}

void installFilterOnce()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    previousHandler = qInstallMessageHandler(filterAudioMessages);
}

} // namespace

SoundOutput::SoundOutput(QObject *parent) : QObject(parent)
{
    installFilterOnce();
}

SoundOutput::~SoundOutput()
{
    qDeleteAll(effects_);
}

bool SoundOutput::available() const
{
    return !outputFailed;
}

void SoundOutput::play(const QString &path)
{
    if (outputFailed) {
        giveUp();
        return;
    }
    if (!QFileInfo::exists(path))
        return;
    QSoundEffect *&effect = effects_[path];
    if (!effect) {
        // Making an effect opens the audio output: that is where a missing server shows.
        effect = new QSoundEffect;
        ++effectsMade_;
        effect->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    }
    if (outputFailed) {
        giveUp();
        return;
    }
    effect->stop();
    effect->play();
}

void SoundOutput::giveUp()
{
    qDeleteAll(effects_);
    effects_.clear();
    if (noted)
        return;
    noted = true;
    qInfo("%s", kNoSoundOutputNote);
}
