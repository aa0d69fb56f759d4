#include "platform/common/event_input.h"

#include "platform/common/device_state.h"

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
    if (input == nullptr || !EventInputReady()) {
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
    EventInputStart(device->kind);
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
    EventInputStop(device->kind);
    return PLAT_INPUT_OK;
}

int PlatInputGetDeviceState(PlatInputDevice device, uint32_t size, void* state)
{
    if (device == nullptr || state == nullptr) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    StateSource source = StateSource::None;
    int result = CheckStateRead(device->acquired, device->format, device->kind, size, &source);
    if (result != PLAT_INPUT_OK) {
        return result;
    }
    if (source == StateSource::Keyboard) {
        EventInputReadKeyboard(static_cast<uint8_t*>(state));
    } else if (source == StateSource::Mouse) {
        PlatMouseState mouse{};
        EventInputReadMouse(&mouse);
        std::memcpy(state, &mouse, sizeof(mouse));
    } else {
        std::memset(state, 0, size);
    }
    return PLAT_INPUT_OK;
}

void PlatInputDeviceRelease(PlatInputDevice device)
{
    if (device != nullptr && device->acquired) {
        PlatInputUnacquire(device);
    }
    delete device;
}

void PlatInputRelease(PlatInput input)
{
    delete input;
}
