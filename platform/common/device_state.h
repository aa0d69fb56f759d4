// The checks before a state read that the in-memory input devices share: the
// device must be acquired, the size must fit its data format, and only a
// format matching the kind of device gives data.
#pragma once

#include "platform/input.h"

#include <cstdint>

enum class StateSource { Keyboard, Mouse, None };

// PLAT_INPUT_OK with *source saying what to fill, or the error the read gives.
int CheckStateRead(bool acquired, PlatInputDataFormat format, PlatInputDeviceKind kind,
                   uint32_t size, StateSource* source);
