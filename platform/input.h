// The input seam: one input interface with polled keyboard and mouse devices.
// Each function is one step of the native device set-up, in the same order, and
// gives the native result code: exactly 0 is plain success, a positive code is
// success with a remark (which the game treats as failure), negative is failure.
#pragma once

#include "platform/system.h"

#include <cstdint>

struct PlatInputTag;
struct PlatInputDeviceTag;
using PlatInput = PlatInputTag*;
using PlatInputDevice = PlatInputDeviceTag*;

constexpr uint32_t PLAT_INPUT_VERSION = 0x0800;

enum class PlatInputDeviceKind { Keyboard, Mouse };
// The two published state layouts: 256 key bytes, or a PlatMouseState.
enum class PlatInputDataFormat { Keyboard, Mouse };

// Cooperative level flags.
constexpr uint32_t PLAT_INPUT_NONEXCLUSIVE = 0x2;
constexpr uint32_t PLAT_INPUT_BACKGROUND = 0x8;

constexpr int PLAT_INPUT_OK = 0;
constexpr int PLAT_INPUT_FALSE = 1;                       // success, but nothing needed doing
constexpr int PLAT_INPUT_ERR_NOT_ACQUIRED = -2147024884;  // 0x8007000C
constexpr int PLAT_INPUT_ERR_INVALID_PARAM = -2147024809; // 0x80070057
constexpr int PLAT_INPUT_ERR_GENERIC = -2147467259;       // 0x80004005

constexpr uint32_t PLAT_KEYBOARD_STATE_SIZE = 256;
// A key byte has this bit set while its key is down.
constexpr uint8_t PLAT_KEY_DOWN = 0x80;

// The mouse state layout: motion since the previous read, then four buttons
// (0x80 while held).
struct PlatMouseState {
    int32_t dx;
    int32_t dy;
    int32_t dz;
    uint8_t buttons[4];
};
static_assert(sizeof(PlatMouseState) == 16);

int PlatInputCreate(PlatInstance instance, uint32_t version, PlatInput* input);
int PlatInputCreateDevice(PlatInput input, PlatInputDeviceKind kind, PlatInputDevice* device);
int PlatInputSetCooperativeLevel(PlatInputDevice device, PlatWindow window, uint32_t flags);
int PlatInputSetDataFormat(PlatInputDevice device, PlatInputDataFormat format);
int PlatInputAcquire(PlatInputDevice device);
int PlatInputUnacquire(PlatInputDevice device);
// Fills `size` bytes of `state` in the layout chosen by the data format.
int PlatInputGetDeviceState(PlatInputDevice device, uint32_t size, void* state);
void PlatInputDeviceRelease(PlatInputDevice device);
void PlatInputRelease(PlatInput input);

// What the game tells the platform of itself, so that no backend needs a game
// header. Between PlatStartTextInput and PlatStopTextInput the game waits for
// typed digits (a phone shows its number pad then, as SDL_StartTextInput and
// SDL_StopTextInput tell a platform); nothing of the pointer acts meanwhile.
void PlatStartTextInput();
void PlatStopTextInput();

// A part of the screen in pixels; right and bottom are exclusive.
struct PlatArea {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};
// Where the game's pointer acts. Over `menu`, with the cursor's top left
// corner there, a held left button runs what lies under the cursor. Over
// `field` the buttons act when let go, at the cursor's hot spot, which lies
// (hotSpotX, hotSpotY) right of and below the cursor; the cursor, moved far
// up and left, stops with its hot spot on the field's top left corner. `cell`
// is the side of one cell of the field.
struct PlatPointerAreas {
    PlatArea menu;
    PlatArea field;
    int32_t hotSpotX;
    int32_t hotSpotY;
    int32_t cell;
};
// Told at start-up and whenever the areas change.
void PlatSetPointerAreas(const PlatPointerAreas& areas);
