// The whole application-framework layer in one include.
#pragma once

#include "Clipboard.h"
#include "Collections.h"
#include "ControlBars.h"
#include "Controls.h"
#include "Dialog.h"
#include "Gdi.h"
#include "Menu.h"
#include "ModuleState.h"
#include "PropertySheet.h"
#include "Registry.h"
#include "String.h"
#include "Trace.h"
#include "WinApp.h"
#include "Wnd.h"
