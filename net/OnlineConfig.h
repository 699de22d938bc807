#pragma once
// Where the online game list and the top-five lists are kept. The address and the login are not
// part of the program: they are read from a small file beside it, "online.ini":
//
//   [server]
//   lists=http://lists.example/tarvan/     (the files are fetched from here)
//   uploads=ftp://upload.example/tarvan/   (and sent here)
//   user=...
//   password=...
//
// Without the file, or without both addresses in it, the online features say they are
// unavailable.

#include <QString>
#include <QUrl>

struct OnlineConfig {
    bool available = false;
    QUrl lists;
    QUrl uploads; // with the login
    // How long to wait for the reply of one list file (0: the usual waits).
    int waitMs = 0;
};

// The file's path: "online.ini" in the program's folder unless another was set.
QString onlineConfigPath();
// Another file to read (tests); an empty path restores the one beside the program.
void setOnlineConfigPath(const QString &path);
OnlineConfig readOnlineConfig();

// What the online features say when there is no configuration.
QString onlineUnavailableText();
