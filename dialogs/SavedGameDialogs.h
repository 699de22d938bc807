#pragma once
// Loading and saving games at the window: the file dialogs, the questions, the rank game's save
// counter, and the host's lobby that a network game's save reopens.

#include <QHostAddress>

// The address the reopened lobby listens on: any address (tests listen on the loopback).
extern QHostAddress lobbyListenAddress;

// The file dialogs' filter of saved games.
extern const char kSavedGameFilter[];
