#include "net/NetHooks.h"

#include "net/NetPlay.h"

void (*networkUpdateSender)(int code) = &networkUpdate;
