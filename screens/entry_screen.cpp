#include "screens/entry_screen.h"

#include "window/game_window.h"
#include "screens/frame_clock.h"
#include "display/display_device.h"
#include "display/text.h"
#include "field/mine_field.h"
#include "input/keyboard_mouse.h"
#include "platform/input.h"
#include "platform/system.h"
#include "screens/play_screen.h"
#include "screens/screen_drawing.h"

#include <cstring>

bool g_entryActive = false;
int32_t g_entryValue = 0;
char g_entryText[ENTRY_TEXT_SIZE] = {};
int32_t g_entryLength = 0;

void EntryScreenReset()
{
    g_entryActive = false;
    g_entryValue = 0;
    std::memset(g_entryText, 0, sizeof g_entryText);
    g_entryLength = 0;
}

namespace {

// Digit keys in the order they are taken within one frame: 1 to 9, then 0.
constexpr uint8_t DIGIT_KEYS[10] = {DIK_1, DIK_2, DIK_3, DIK_4, DIK_5,
                                    DIK_6, DIK_7, DIK_8, DIK_9, DIK_0};

// Typed values wrap in 32 bits (the dialogs clamp what comes out), without
// signed overflow.
int32_t AppendDigitValue(int32_t value, int32_t digit)
{
    return static_cast<int32_t>(static_cast<uint32_t>(value) * 10u + static_cast<uint32_t>(digit));
}

void AppendDigit(int32_t digit)
{
    // A 256th digit would leave no room for the terminating zero.
    if (g_entryLength >= ENTRY_TEXT_SIZE - 1) {
        return;
    }
    g_entryText[g_entryLength] = static_cast<char>('0' + digit);
    g_entryValue = AppendDigitValue(g_entryValue, digit);
    ++g_entryLength;
    g_entryText[g_entryLength] = '\0';
}

void RemoveDigit()
{
    if (g_entryLength <= 0) {
        return; // nothing shown, nothing to take away
    }
    --g_entryLength;
    g_entryText[g_entryLength] = '\0';
    g_entryValue /= 10;
}

void TakeKeys(const uint8_t* previous)
{
    for (int32_t i = 0; i < 10; ++i) {
        uint8_t key = DIGIT_KEYS[i];
        if (g_keyState[key] > previous[key]) {
            AppendDigit((i + 1) % 10);
        }
    }
    if (g_keyState[DIK_BACK] < previous[DIK_BACK]) {
        RemoveDigit();
    }
    if (g_keyState[DIK_RETURN] < previous[DIK_RETURN]) {
        g_entryActive = false;
    }
    // Quit requests wait in the queue until the screen has been left.
    TestQuitKeys();
}

void ClearEntryText()
{
    std::memset(g_entryText, 0, sizeof g_entryText);
    g_entryLength = 0;
}

// A signal cannot wait for the questions to be answered: the screen is left
// with what was typed, and the quit already queued ends the game.
// The platform hears when digits are wanted (a phone shows its number pad),
// instead of looking into the game for it.
void RunEntryScreen(const char* prompt)
{
    PlatStartTextInput();
    do {
        EntryFrame(prompt);
    } while (g_entryActive && !PlatEndRequested());
    PlatStopTextInput();
}

} // namespace

void EntryFrame(const char* prompt)
{
    FrameClockStart();
    SurfaceFill(g_backSurface, 0, nullptr);
    uint8_t previous[256];
    std::memcpy(previous, g_keyState, sizeof previous);
    KeyboardRead();
    MouseRead();
    g_cursorX = WrappingAdd(g_cursorX, g_mouseState.dx);
    g_cursorY = WrappingAdd(g_cursorY, g_mouseState.dy);
    TakeKeys(previous);
    DrawTextAt(ENTRY_PROMPT_X, ENTRY_PROMPT_Y, prompt);
    DrawTextAt(ENTRY_TEXT_X, ENTRY_TEXT_Y, g_entryText);
    BackBufferLock();
    DrawArrowCursor(g_cursorX, g_cursorY);
    BackBufferUnlock();
    DisplayFlip();
    FrameClockWait(10);
}

void NewGameDialog()
{
    g_fieldWon = false;
    FreeField();
    g_entryValue = 0;
    g_entryLength = 0;
    g_entryActive = true;
    RunEntryScreen(PROMPT_FIELD_SIZE);

    int32_t size = g_entryValue;
    if (size >= MAX_FIELD_SIZE) {
        size = MAX_FIELD_SIZE;
    } else if (size <= MIN_FIELD_SIZE) {
        size = MIN_FIELD_SIZE;
    }
    fieldSize = size;

    ClearEntryText();
    g_entryValue = 0;
    g_entryActive = true;
    RunEntryScreen(PROMPT_MINE_COUNT);

    int32_t count = g_entryValue;
    ClearEntryText();
    g_mineCount = count >= MAX_MINE_COUNT ? MAX_MINE_COUNT : count;
    GenerateField();
    LoadFieldGraphics();
    g_cursorX = 0;
    g_cursorY = 0;
}

void CreditsScreen()
{
    g_cursorX = 20;
    g_cursorY = 20;
    g_entryActive = true;
    FreeField();
    g_entryValue = 0;
    g_entryLength = 0;
    RunEntryScreen(CREDIT_LINE);
    // The typed digits are not used; the text is left empty for the next screen.
    ClearEntryText();
    RequestQuit();
}
