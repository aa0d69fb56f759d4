#include "tests/game_reset.h"

#include "app/app_shell.h"
#include "display/display_device.h"
#include "field/mine_field.h"
#include "input/keyboard_mouse.h"
#include "platform/fake/fake_core.h"
#include "screens/entry_screen.h"
#include "screens/play_screen.h"
#include "screens/screen_drawing.h"
#include "sound/music_performance.h"
#include "sound/sound_effects.h"

#include <cstring>

namespace {

// The fake backend's reset frees the objects these point at.
void ResetDisplayState()
{
    g_directDraw = nullptr;
    g_primarySurface = nullptr;
    g_backSurface = nullptr;
    g_backClipper = nullptr;
    g_windowClipper = nullptr;
    g_palette = nullptr;
    std::memset(g_paletteEntries, 0, sizeof g_paletteEntries);
    g_windowed = 0;
    g_screenWidth = 640;
    g_screenHeight = 480;
    g_screenBpp = 8;
    g_pixelFormat = 16;
    g_backBits = nullptr;
    g_backPitch = 0;
    g_logFile = nullptr;
}

void ResetScreenState()
{
    g_cursorX = CURSOR_START;
    g_cursorY = CURSOR_START;
    g_inMenu = false;
    g_fieldWon = false;
    SpriteDestroy(&g_fieldBackdrop);
    SpriteDestroy(&g_scratchSprite);
    BitmapUnload(&g_tileAtlas);
    g_tileAtlas = Bitmap{};
    g_entryActive = false;
    g_entryValue = 0;
    g_entryLength = 0;
    std::memset(g_entryText, 0, sizeof g_entryText);
}

// The handles point into the fake backend, which FakeResetAll empties.
void ResetInputAndSoundState()
{
    std::memset(g_keyState, 0, sizeof(g_keyState));
    g_mouseState = MouseState{};
    g_input = nullptr;
    g_keyboardDevice = nullptr;
    g_mouseDevice = nullptr;
    g_soundDevice = nullptr;
    g_soundFirstOpen = 1;
    for (SoundSlot& slot : g_soundSlots) {
        slot = SoundSlot{};
    }
    g_sndClick = g_sndBang = g_sndWellDone = SOUND_NONE;
    g_musicPerformance = nullptr;
    g_musicLoader = nullptr;
    for (MusicSlot& slot : g_musicSlots) {
        slot = MusicSlot{};
    }
    g_currentSegmentId = MUSIC_NONE;
}

} // namespace

void ResetGameState()
{
    ResetDisplayState();
    FreeField();
    fieldSize = DEFAULT_FIELD_SIZE;
    g_mineCount = DEFAULT_MINE_COUNT;
    ResetScreenState();
    g_mainWindow = nullptr;
    g_appInstance = nullptr;
    ResetInputAndSoundState();
    FakeResetAll();
}
