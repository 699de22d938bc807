#pragma once
// One file of the online list server as a fetch brought it.

#include <QString>

// Came: its text came. Absent: the server has no such file (HTTP 404: a list not begun yet).
// Failed: another error, an HTTP status outside 200..299, or no reply within the fetch's wait.
// NotAsked: there was no server to ask (which was said), or no list to ask for.
enum class ListFileState { Came, Absent, Failed, NotAsked };

struct ListFile {
    ListFileState state = ListFileState::NotAsked;
    QString text; // the file's first line when it came
};
