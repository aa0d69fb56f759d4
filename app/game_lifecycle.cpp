// Start-up and shut-down, each in its one fixed order. No result is tested:
// every subsystem copes with a missing device or file by going inert.
#include "app/app_shell.h"
#include "app/frame_clock.h"
#include "field/field_random.h"
#include "field/mine_field.h"

int GameStartup()
{
    GenerateField();
    PlatShowCursor(false);
    RandomSeed(FrameClockStart());
    return 1;
}

int GameShutdown()
{
    FreeField();
    return 1;
}
