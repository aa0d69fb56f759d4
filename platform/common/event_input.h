// The input devices of the backends that learn the keyboard and mouse from
// events and hand them over at each read (SDL and the web page). The device
// records, their set-up rules and the read checks are the same for both; each
// backend supplies only where the state comes from.
#pragma once

#include "platform/input.h"

#include <cstdint>

// Whether a device can be made now (SDL needs its window first).
bool EventInputReady();
// The device was taken or let go: presses and motion from before are not the game's.
void EventInputStart(PlatInputDeviceKind kind);
void EventInputStop(PlatInputDeviceKind kind);
// Fill a whole read, with the presses since the previous read folded in.
void EventInputReadKeyboard(uint8_t* state);
void EventInputReadMouse(PlatMouseState* state);
