// The process entry of the Windows build.
#include "platform/entry.h"
#include "platform/win32/win32_internal.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine,
                   int showCommand)
{
    return AppMain(reinterpret_cast<PlatInstance>(instance),
                   reinterpret_cast<PlatInstance>(previousInstance), commandLine, showCommand);
}
