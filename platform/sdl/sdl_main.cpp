// The process entry of the SDL build.
#include "platform/entry.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/stdio/stdio_file.h"

int main(int, char**)
{
    SdlInstallSignalHandlers();
    // Pictures, sounds and the saved game are found from where the game is
    // installed, not from wherever it was started.
    StdioUsePlaces(StdioPlacesOfThisProgram());
    static char instanceTag;
    int exitCode = AppMain(reinterpret_cast<PlatInstance>(&instanceTag), nullptr, "", 0);
    SDL_Quit();
    return exitCode;
}
