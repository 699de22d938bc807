#include "net/NetState.h"

NetSession netSession;
ViewArea *netWindow = nullptr;

void resetNetSession()
{
    netSession = NetSession();
    netWindow = nullptr;
}
