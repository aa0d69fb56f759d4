#include "platform/common/device_state.h"

int CheckStateRead(bool acquired, PlatInputDataFormat format, PlatInputDeviceKind kind,
                   uint32_t size, StateSource* source)
{
    if (!acquired) {
        return PLAT_INPUT_ERR_NOT_ACQUIRED;
    }
    bool keyboard = format == PlatInputDataFormat::Keyboard;
    if (size != (keyboard ? PLAT_KEYBOARD_STATE_SIZE : sizeof(PlatMouseState))) {
        return PLAT_INPUT_ERR_INVALID_PARAM;
    }
    if (kind == PlatInputDeviceKind::Keyboard && keyboard) {
        *source = StateSource::Keyboard;
    } else if (kind == PlatInputDeviceKind::Mouse && !keyboard) {
        *source = StateSource::Mouse;
    } else {
        *source = StateSource::None;
    }
    return PLAT_INPUT_OK;
}
