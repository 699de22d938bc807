#pragma once
// Messages carry no length and no terminator, and TCP may split or merge them at will: each
// socket's input is kept and cut into messages by the known length of each code.

#include <QByteArray>
#include <QList>

// Every message begins with its four-digit code.
constexpr int kCodeLength = 4;
// The join message carries the player's network name in this many characters, a chat message
// its text.
constexpr int kJoinNameLength = 18;
constexpr int kChatTextLength = 120;

// Is this code followed by the state snapshot?
bool codeCarriesSnapshot(int code);
// The length of the message at the start of `bytes`: above 0 when known, 0 when more bytes are
// needed to tell, -1 when the bytes are no message of this game.
int messageLength(const QByteArray &bytes);
// Cuts the whole messages off the front of `pending`, in order; an incomplete last message stays.
// Bytes that are no message make the rest of the input unreadable: it is dropped and `garbled`
// is set.
QList<QByteArray> takeMessages(QByteArray &pending, bool *garbled = nullptr);
// The four-digit code of a message (0 when it has none).
int messageCode(const QByteArray &message);
