// The settings file as the program meets it at start-up: loaded, then saved after an option
// changes. A file it refuses changes no setting; a file it takes is written back whole and reads
// back the same.

#include "fuzz_support.h"

#include "persist/Settings.h"
#include "state/GameState.h"

#include <QFile>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    startFuzzing();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    resetCoreState();
    const QString path = settingsFileName();
    if (!writeFile(path, inputBytes(data, size)))
        return 0;
    const qint32 sizeClass = displaySizeClass;
    if (!loadSettings()) {
        FUZZ_REQUIRE(displaySizeClass == sizeClass);
        return 0;
    }
    FUZZ_REQUIRE(displaySizeClass >= 1 && displaySizeClass <= 4);
    for (int p = 1; p <= kMaxPlayers; ++p)
        FUZZ_REQUIRE(personality[p] >= 0 && personality[p] <= 6);
    FUZZ_REQUIRE(saveSettings());
    const QByteArray written = readFile(path);
    FUZZ_REQUIRE(loadSettings());
    FUZZ_REQUIRE(saveSettings());
    FUZZ_REQUIRE(readFile(path) == written);
    return 0;
}
