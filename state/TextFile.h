#pragma once
// Reading the text files of the game (map files, campaign files) into lines.

#include <QString>
#include <QStringList>

enum class TextFileStatus { Ok, NotFound, TooLarge };

// Reads the whole file as UTF-8 lines without their line ends. Files larger than any map or
// campaign could be are refused rather than read into memory.
TextFileStatus readTextFileLines(const QString &path, QStringList &lines);
// The lines of a text file's bytes, as `readTextFileLines` takes them.
QStringList textLinesOf(const QByteArray &bytes);
