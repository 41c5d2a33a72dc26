// The module exports its copies of the host support classes' inline accessors, so
// a host that looks them up in the module finds them there. This file compiles
// those copies; nothing else in the module exports them.
#define HOSTSUPPORT_INLINE __declspec(dllexport)

#include "EventLog.h"
#include "Manager.h"
#include "Options.h"
