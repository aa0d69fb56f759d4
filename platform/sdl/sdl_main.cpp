// The process entry of the SDL build.
#include "platform/entry.h"
#include "platform/sdl/sdl_internal.h"

int main(int, char**)
{
    SdlInstallSignalHandlers();
    static char instanceTag;
    int exitCode = AppMain(reinterpret_cast<PlatInstance>(&instanceTag), nullptr, "", 0);
    SDL_Quit();
    return exitCode;
}
