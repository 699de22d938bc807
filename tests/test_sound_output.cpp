// The sound effects' way out: without an audio output the program says so once and plays nothing
// more, and the audio backend's own complaints never reach standard error.

#include "TestSupport.h"

#include "app/SoundOutput.h"


namespace {

QStringList passedOn;
QtMessageHandler testHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    passedOn.append(text);
    if (testHandler)
        testHandler(type, context, text);
}

int count(const QString &text)
{
    return passedOn.count(text);
}

int backendLines()
{
    return passedOn.filter(QStringLiteral("PulseAudioService")).size();
}

} // namespace

class TestSoundOutput : public QObject {
    Q_OBJECT

private slots:
    // The sound server is one that is not there, whatever this machine runs: the backend then
    // fails as the first effect is made, on this thread, and never plays through the speakers.
    void initTestCase()
    {
        qputenv("PULSE_SERVER", "unix:" + QDir::current().filePath(QStringLiteral("no-sound-server")).toLocal8Bit());
        testHandler = qInstallMessageHandler(recordMessage);
    }
    void cleanupTestCase() { qInstallMessageHandler(testHandler); }

    // Without an audio output one note says so, and nothing more is made after the first effect.
    void manySoundsMakeOneEffectAndOneNoteWithoutAnOutput()
    {
        const QString attack = writeWavFile(QStringLiteral("attack.wav"));
        const QString place = writeWavFile(QStringLiteral("place.wav"));
        SoundOutput output;
        for (int i = 0; i < 40; ++i) {
            output.play(attack);
            output.play(place);
            output.play(QStringLiteral("missing.wav"));
            QCoreApplication::processEvents();
        }
        QCOMPARE(backendLines(), 0);
        QVERIFY(!output.available());
        QCOMPARE(output.effectsMade(), 1);
        QCOMPARE(count(QLatin1String(kNoSoundOutputNote)), 1);
    }

    // The backend's report of a lost server, from any thread: noted once, nothing made after it,
    // and every other message still passed on.
    void aLostOutputIsNotedOnceAndNothingMoreIsPlayed()
    {
        const QString attack = writeWavFile(QStringLiteral("attack.wav"));
        SoundOutput output;
        qWarning("PulseAudioService: Context terminated.");
        qWarning("PulseAudioService: pa_context_connect() failed");
        QVERIFY(!output.available());
        QCOMPARE(backendLines(), 0);
        const int made = output.effectsMade();
        for (int i = 0; i < 25; ++i)
            output.play(attack);
        QCOMPARE(output.effectsMade(), made);
        QCOMPARE(count(QLatin1String(kNoSoundOutputNote)), 1);
        qWarning("an ordinary warning");
        QCOMPARE(count(QStringLiteral("an ordinary warning")), 1);
    }
};

TARVAN_TEST_MAIN(TestSoundOutput)
#include "test_sound_output.moc"
