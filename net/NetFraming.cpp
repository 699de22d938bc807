#include "net/NetFraming.h"

#include "net/StateSnapshot.h"

bool codeCarriesSnapshot(int code)
{
    switch (code) {
    case 1002: case 1003: case 1004: case 1005: case 1006: case 1007: case 1008: case 1009:
    case 1010: case 1011: case 1012: case 1013: case 1014: case 1017: case 1019: case 1020:
    case 1023: case 1024: case 1025: case 1026: case 1027: case 1028:
        return true;
    default:
        return false;
    }
}

int messageCode(const QByteArray &message)
{
    if (message.size() < kCodeLength)
        return 0;
    int code = 0;
    for (int i = 0; i < kCodeLength; ++i) {
        const char c = message[i];
        if (c < '0' || c > '9')
            return 0;
        code = code * 10 + (c - '0');
    }
    return code;
}

int messageLength(const QByteArray &bytes)
{
    if (bytes.size() < kCodeLength)
        return 0;
    const int code = messageCode(bytes);
    if (codeCarriesSnapshot(code)) {
        if (bytes.size() <= kCodeLength)
            return 0;
        const int snapshot = snapshotLengthFor(bytes[kCodeLength]);
        return snapshot > 0 ? kCodeLength + snapshot : -1;
    }
    switch (code) {
    case 1000:
        return kCodeLength + kJoinNameLength;
    case 1001: // the player number given to a client
        return kCodeLength + 2;
    case 2004: case 2005: case 2007: case 2011: case 9999:
        return kCodeLength;
    case 3000: case 3001:
        return kCodeLength + kChatTextLength;
    default:
        return -1;
    }
}

QList<QByteArray> takeMessages(QByteArray &pending, bool *garbled)
{
    QList<QByteArray> messages;
    if (garbled)
        *garbled = false;
    int at = 0;
    while (at < pending.size()) {
        const QByteArray rest = QByteArray::fromRawData(pending.constData() + at, pending.size() - at);
        const int length = messageLength(rest);
        if (length < 0) {
            if (garbled)
                *garbled = true;
            at = pending.size();
            break;
        }
        if (length == 0 || length > rest.size())
            break;
        messages.append(pending.mid(at, length));
        at += length;
    }
    pending.remove(0, at);
    return messages;
}
