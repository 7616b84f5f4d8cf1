// The program's resources: dialog templates 100, 102, 134 and 135, bitmap 131, icon 132.
#pragma once

#include "platform/Resource.h"
#include "resources/ResourceIds.h"

// The module that holds them, built on first use; start-up installs it with
// AfxSetResourceHandle.
HINSTANCE ProgramResources();
