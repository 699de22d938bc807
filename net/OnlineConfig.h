#pragma once
// Where the online game list and the top-five lists are kept, and the game's website. The
// addresses and the login are not part of the program: they are read from a small file beside
// it, "online.ini":
//
//   [server]
//   lists=http://lists.example/tarvan/     (the files are fetched from here)
//   uploads=ftp://upload.example/tarvan/   (and sent here)
//   user=...
//   password=...
//   wait=200                               (milliseconds for one list file; optional)
//   website=https://tarvan.example/        (optional)
//
// The file is read whole at each use, so a change counts at once, whatever its size and time
// stamp. It reads as the INI files of Qt's settings are written, in UTF-8: keys are
// case-sensitive; blanks around keys and values go; ";" starts a comment, also after a value,
// "#" does not; a later section of the same name adds to the first and a later key wins; double
// quotes keep blanks and ";", and backslash escapes (\" \\ \t \n ...) are undone. A comma is part
// of the text (Qt made a list of such a value, and lost it), and so is a NUL byte.
//
// Without the file, or without both addresses in it, the online features say they are
// unavailable. So they do with a lists address that is not HTTP(S), and say why: only HTTP tells
// a list not begun yet (404) from a refusal, and a refusal taken for an empty list would have
// the next upload wipe the list.

#include <QString>
#include <QUrl>

struct OnlineConfig {
    bool available = false;
    QUrl lists;
    QUrl uploads; // with the login
    // How long to wait for the reply of one list file (0: the usual waits).
    int waitMs = 0;
    QUrl website; // empty when not set up
    QString unavailableText; // what the online features say when not available, and why
};

// The file's path: "online.ini" in the program's folder unless another was set.
QString onlineConfigPath();
// Another file to read (tests); an empty path restores the one beside the program.
void setOnlineConfigPath(const QString &path);
OnlineConfig readOnlineConfig();

// What the online features say when there is no configuration.
QString onlineUnavailableText();
