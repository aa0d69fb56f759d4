// Remembers presses between two reads of a polled device. A key or button
// that went down since the previous read reads as down once, even when it
// was let go again before the read; the read after that shows it as it is.
// Without this a quick tap (a touchpad tap, a click sent by a tool) falls
// between two frames and is never seen. Shared by the backends whose state
// comes from events (SDL, the web) and the one with buffered device data.
#pragma once

#include <cstdint>

// One slot per code the game reads: a set-1 scan code, a virtual key, or a
// mouse button number.
constexpr int PRESS_LATCH_SLOTS = 256;

struct PressLatch {
    bool pressed[PRESS_LATCH_SLOTS];
};

// Forgets every press (on acquiring a device, or when a reader starts afresh).
void PressLatchClear(PressLatch* latch);
// Notes that `slot` went down; slots outside the latch are ignored.
void PressLatchNoteDown(PressLatch* latch, int slot);
// What one read of `slot` shows: down when it is down now or went down since
// the previous read of that slot. Forgets the press.
bool PressLatchRead(PressLatch* latch, int slot, bool downNow);
// Reads `count` state bytes in the device layout (PLAT_KEY_DOWN while down)
// starting at slot 0: every latched press sets its byte's down bit.
void PressLatchFold(PressLatch* latch, uint8_t* state, int count);
