// Keyboard and mouse devices over the page's events (web_events.cpp). A read
// hands over the state as it is, with every press since the previous read
// folded in, and the motion gathered since then.
#include "platform/input.h"
#include "platform/web/web_internal.h"

#include <cmath>
#include <cstring>

struct PlatInputTag {
    int unused;
};

struct PlatInputDeviceTag {
    PlatInputDeviceKind kind = PlatInputDeviceKind::Keyboard;
    bool formatSet = false;
    PlatInputDataFormat format = PlatInputDataFormat::Keyboard;
    bool acquired = false;
};

namespace {

void ReadKeyboard(uint8_t* state)
{
    std::memcpy(state, g_webInput.keys, PLAT_KEYBOARD_STATE_SIZE);
    PressLatchFold(&g_webInput.keyLatch, state, PLAT_KEYBOARD_STATE_SIZE);
}

// Whole pixels go to the game; the fractions wait for the next read.
int32_t TakeWhole(double* motion)
{
    double whole = std::trunc(*motion);
    *motion -= whole;
    constexpr double LIMIT = 1e9;
    return static_cast<int32_t>(whole > LIMIT ? LIMIT : (whole < -LIMIT ? -LIMIT : whole));
}

void ReadMouse(PlatMouseState* state)
{
    state->dx = TakeWhole(&g_webInput.motionX);
    state->dy = TakeWhole(&g_webInput.motionY);
    state->dz = g_webInput.wheel;
    g_webInput.wheel = 0;
    for (int i = 0; i < 4; ++i) {
        bool down = PressLatchRead(&g_webInput.buttonLatch, i, g_webInput.buttons[i]);
        state->buttons[i] = down ? PLAT_KEY_DOWN : 0;
    }
}

// Presses and motion from before the device was taken are not the game's.
void StartDevice(PlatInputDeviceKind kind)
{
    if (kind == PlatInputDeviceKind::Keyboard) {
        PressLatchClear(&g_webInput.keyLatch);
        return;
    }
    PressLatchClear(&g_webInput.buttonLatch);
    g_webInput.motionX = 0;
    g_webInput.motionY = 0;
    g_webInput.wheel = 0;
}

} // namespace

int PlatInputCreate(PlatInstance, uint32_t version, PlatInput* input)
{
    *input = nullptr;
    if (version != PLAT_INPUT_VERSION) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    *input = new PlatInputTag{};
    return PLAT_INPUT_OK;
}

int PlatInputCreateDevice(PlatInput input, PlatInputDeviceKind kind, PlatInputDevice* device)
{
    *device = nullptr;
    if (input == nullptr) {
        return PLAT_INPUT_ERR_GENERIC;
    }
    *device = new PlatInputDeviceTag{};
    (*device)->kind = kind;
    return PLAT_INPUT_OK;
}

int PlatInputSetCooperativeLevel(PlatInputDevice device, PlatWindow, uint32_t)
{
    return device != nullptr ? PLAT_INPUT_OK : PLAT_INPUT_ERR_INVALID_PARAM;
}

int PlatInputSetDataFormat(PlatInputDevice device, PlatInputDataFormat format)
{
    if (device == nullptr || device->acquired) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    device->formatSet = true;
    device->format = format;
    return PLAT_INPUT_OK;
}

int PlatInputAcquire(PlatInputDevice device)
{
    if (device == nullptr || !device->formatSet) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    if (device->acquired) {
        return PLAT_INPUT_FALSE;
    }
    device->acquired = true;
    StartDevice(device->kind);
    return PLAT_INPUT_OK;
}

int PlatInputUnacquire(PlatInputDevice device)
{
    if (device == nullptr) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    if (!device->acquired) {
        return PLAT_INPUT_FALSE;
    }
    device->acquired = false;
    return PLAT_INPUT_OK;
}

int PlatInputGetDeviceState(PlatInputDevice device, uint32_t size, void* state)
{
    if (device == nullptr || state == nullptr) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    if (!device->acquired) {
        return PLAT_INPUT_ERR_NOT_ACQUIRED;
    }
    bool keyboard = device->format == PlatInputDataFormat::Keyboard;
    if (size != (keyboard ? PLAT_KEYBOARD_STATE_SIZE : sizeof(PlatMouseState))) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    if (device->kind == PlatInputDeviceKind::Keyboard && keyboard) {
        ReadKeyboard(static_cast<uint8_t*>(state));
    } else if (device->kind == PlatInputDeviceKind::Mouse && !keyboard) {
        PlatMouseState mouse{};
        ReadMouse(&mouse);
        std::memcpy(state, &mouse, sizeof(mouse));
    } else {
        std::memset(state, 0, size);
    }
    return PLAT_INPUT_OK;
}

void PlatInputDeviceRelease(PlatInputDevice device)
{
    delete device;
}

void PlatInputRelease(PlatInput input)
{
    delete input;
}
