// Start-up and shut-down, each in its one fixed order. No result is tested:
// every subsystem copes with a missing device or file by going inert.
#include "app/app_shell.h"
#include "screens/frame_clock.h"
#include "display/bitmap_loader.h"
#include "display/display_device.h"
#include "display/sprite.h"
#include "field/field_random.h"
#include "field/mine_field.h"
#include "input/keyboard_mouse.h"
#include "screens/entry_screen.h"
#include "screens/play_screen.h"
#include "screens/screen_drawing.h"
#include "sound/music_performance.h"
#include "sound/sound_effects.h"

int GameStartup()
{
    GenerateField();
    DisplayOpen(SCREEN_WIDTH, SCREEN_HEIGHT, 16, 0);
    LoadFieldGraphics();
    InputOpen();
    KeyboardOpen();
    MouseOpen();
    SoundOpen();
    MusicOpen();
    g_sndWellDone = SoundLoadWav("Sounds\\wd.wav", SOUND_LOAD_FLAGS);
    g_sndBang = SoundLoadWav("Sounds\\bng.wav", SOUND_LOAD_FLAGS);
    g_sndClick = SoundLoadWav("Sounds\\clk.wav", SOUND_LOAD_FLAGS);
    PlatShowCursor(false);
    RandomSeed(FrameClockStart());
    return 1;
}

void GameReset()
{
    GameWindowReset();
    FrameClockReset();
    MineFieldReset();
    RandomReset();
    PlayScreenReset();
    EntryScreenReset();
    ScreenDrawingReset();
    // After the screens: freeing their sprites hands buffers back to the spares.
    SpriteBuffersReset();
    DisplayReset();
    KeyboardMouseReset();
    SoundEffectsReset();
    MusicReset();
}

int GameShutdown()
{
    FreeField();
    BitmapUnload(&g_tileAtlas);
    SoundStopAll();
    SoundDeleteAll();
    SoundClose();
    MusicUnloadAll();
    MusicClose();
    KeyboardClose();
    MouseClose();
    InputClose();
    // The two sprites would end with the process anyway; releasing them keeps
    // leak checks of whole runs meaningful.
    SpriteDestroy(&g_fieldBackdrop);
    SpriteDestroy(&g_scratchSprite);
    DisplayClose();
    return 1;
}
