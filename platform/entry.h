// The game's entry, called by each backend's process entry point.
#pragma once

#include "platform/system.h"

int AppMain(PlatInstance instance, PlatInstance previousInstance, const char* commandLine,
            int showCommand);
