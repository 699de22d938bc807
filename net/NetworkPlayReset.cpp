#include "net/NetState.h"

#include "net/NetResume.h"

#include "net/OnlineConfig.h"
#include "net/OnlineServices.h"
#include "setup/NetworkSetup.h"

void resetNetworkPlay()
{
    resetNetSession();
    resetResumedGame();
    resetOnlineServices();
    setOnlineConfigPath(QString());
    resetNetworkEnvironment();
}
