// The Search In button and its menu: choosing, adding, removing and renaming
// servers, and every stored account and column set read back after each step.
#include "ServerSession.h"

#include "resource.h"

using namespace servers;
