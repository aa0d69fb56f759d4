#include "input/keyboard_mouse.h"

#include "window/game_window.h"

#include <cstring>

uint8_t g_keyState[KEY_STATE_SIZE] = {};
MouseState g_mouseState = {};
PlatInput g_input = nullptr;
PlatInputDevice g_keyboardDevice = nullptr;
PlatInputDevice g_mouseDevice = nullptr;

void KeyboardMouseReset()
{
    std::memset(g_keyState, 0, sizeof g_keyState);
    g_mouseState = MouseState{};
    g_input = nullptr;
    g_keyboardDevice = nullptr;
    g_mouseDevice = nullptr;
}

namespace {

// The device set-up steps count only a plain 0 as success: a positive "done,
// but" code fails the open just the same, and the steps after it do not run.
// A device created before a failing step stays held until its close.
int OpenDevice(PlatInputDeviceKind kind, PlatInputDataFormat format, PlatInputDevice* device)
{
    if (g_input == nullptr) {
        return 0;
    }
    if (PlatInputCreateDevice(g_input, kind, device) != PLAT_INPUT_OK) {
        return 0;
    }
    if (PlatInputSetCooperativeLevel(*device, g_mainWindow,
                                     PLAT_INPUT_NONEXCLUSIVE | PLAT_INPUT_BACKGROUND) !=
        PLAT_INPUT_OK) {
        return 0;
    }
    if (PlatInputSetDataFormat(*device, format) != PLAT_INPUT_OK) {
        return 0;
    }
    if (PlatInputAcquire(*device) != PLAT_INPUT_OK) {
        return 0;
    }
    return 1;
}

void CloseDevice(PlatInputDevice* device)
{
    if (*device == nullptr) {
        return;
    }
    PlatInputUnacquire(*device);
    PlatInputDeviceRelease(*device);
    *device = nullptr;
}

} // namespace

int InputOpen()
{
    if (PlatInputCreate(g_appInstance, PLAT_INPUT_VERSION, &g_input) < 0) {
        g_input = nullptr; // a failed create promises nothing about the handle
        return 0;
    }
    return 1;
}

int KeyboardOpen()
{
    return OpenDevice(PlatInputDeviceKind::Keyboard, PlatInputDataFormat::Keyboard,
                      &g_keyboardDevice);
}

int MouseOpen()
{
    return OpenDevice(PlatInputDeviceKind::Mouse, PlatInputDataFormat::Mouse, &g_mouseDevice);
}

// A failed read of a present device leaves the record as the platform left it.
int KeyboardRead()
{
    if (g_keyboardDevice == nullptr) {
        std::memset(g_keyState, 0, sizeof(g_keyState));
        return 0;
    }
    return PlatInputGetDeviceState(g_keyboardDevice, sizeof(g_keyState), g_keyState) ==
                   PLAT_INPUT_OK
               ? 1
               : 0;
}

int MouseRead()
{
    if (g_mouseDevice == nullptr) {
        g_mouseState = MouseState{};
        return 0;
    }
    return PlatInputGetDeviceState(g_mouseDevice, sizeof(g_mouseState), &g_mouseState) ==
                   PLAT_INPUT_OK
               ? 1
               : 0;
}

void KeyboardClose()
{
    CloseDevice(&g_keyboardDevice);
}

void MouseClose()
{
    CloseDevice(&g_mouseDevice);
}

void InputClose()
{
    if (g_input == nullptr) {
        return;
    }
    PlatInputRelease(g_input);
    g_input = nullptr;
}
