#pragma once
// What every fuzz target shares: a Qt application on the offscreen platform, a temporary data
// folder, and the game state at its start values. A fuzz target reads one input with the game's
// own reader; a crash, a sanitizer report or a broken promise of the reader is a fault.

#include "GameReset.h"

#include "persist/DataFolder.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

// The data folder of the fuzz run: a temporary one (libFuzzer keeps the working folder for its
// corpus paths).
inline QString fuzzDataFolder()
{
    static QTemporaryDir folder;
    return folder.path();
}

inline void resetCoreState()
{
    resetGameTablesAndRules();
    resetPersistState();
    dataDirPath = startFolderPath = fuzzDataFolder();
}

// Once per fuzzer run, from LLVMFuzzerInitialize: libFuzzer's own arguments stay away from Qt.
inline void startFuzzing()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    resetCoreState();
}

inline QByteArray inputBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<int>(size));
}

// The input as a file the game reads.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A broken promise of the reader: libFuzzer reports the input that broke it.
#define FUZZ_REQUIRE(condition)                                                                  \
    do {                                                                                         \
        if (!(condition))                                                                        \
            __builtin_trap();                                                                    \
    } while (false)
