// The program's dialog templates as data.
#pragma once

#include "platform/DialogTemplate.h"

DialogTemplate AboutTemplate();      // 100
DialogTemplate UninstallTemplate();  // 102
DialogTemplate ProgressTemplate();   // 134
DialogTemplate RestartTemplate();    // 135
