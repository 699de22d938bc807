#include "net/NetState.h"

#include "net/OnlineConfig.h"
#include "net/OnlineServices.h"
#include "setup/NetworkSetup.h"

void resetNetworkPlay()
{
    resetNetSession();
    resetOnlineServices();
    setOnlineConfigPath(QString());
    resetNetworkEnvironment();
}
