// Test controls of the fake input devices. Keyboard and mouse states are
// scripted: each successful state read of a device takes the next queued state
// of that device. When its queue is empty the keyboard keeps its last state,
// and the mouse keeps its buttons with no motion, as a real idle mouse would.
//
// A frame-by-frame script for a click at a place:
//   FakeInputQueueMouse(120, 80, false, false);  // move
//   FakeInputQueueMouse(0, 0, true, false);      // press left
//   FakeInputQueueMouse(0, 0, false, false);     // release left
// Calls are logged (and can be made to fail) as "InputCreate", "InputRelease",
// and per device "Keyboard..." / "Mouse..." followed by the step name:
// CreateDevice, SetCooperativeLevel, SetDataFormat, Acquire, GetDeviceState,
// Unacquire, Release ("KeyboardAcquire", "MouseGetDeviceState", ...).
// A create step made to give a non-negative result still makes its object.
#pragma once

#include "platform/input.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

struct FakeMouseStep {
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t dz = 0;
    bool buttons[4] = {false, false, false, false};
};

// The next keyboard read sees exactly these scan codes down.
void FakeInputQueueKeys(std::initializer_list<uint8_t> downKeys);
void FakeInputQueueKeys(const std::vector<uint8_t>& downKeys);
// The next mouse read sees this motion and these buttons.
void FakeInputQueueMouse(int32_t dx, int32_t dy, bool left, bool right);
void FakeInputQueueMouseStep(const FakeMouseStep& step);
// Queued states not yet read.
int FakeInputPendingKeys();
int FakeInputPendingMouse();

// Successful state reads so far, per device.
int FakeInputKeyboardReads();
int FakeInputMouseReads();

// Interfaces and devices created and not yet released.
int FakeInputLiveObjects();
// Whether the device of that kind exists and is acquired.
bool FakeInputKeyboardAcquired();
bool FakeInputMouseAcquired();

// Fingers on the picture, in screen pixels, through the same touch model the
// web page feeds (platform/common/touch_model.h): each call takes effect at
// once, so several between two frames are a sequence quicker than the game's
// reads. The mouse reads add what the model makes of them to the scripted
// states. The fingers' clock starts at 0 and moves only by FakeTouchWait.
void FakeTouchDown(long id, double x, double y);
void FakeTouchMove(long id, double x, double y);
// Lifted where it last was.
void FakeTouchUp(long id);
void FakeTouchCancel(long id);
void FakeTouchWait(double ms);

// Whether the game waits for typed digits (between PlatStartTextInput and
// PlatStopTextInput; the calls are logged as "StartTextInput", "StopTextInput").
bool FakeInputTextInputOn();
// The areas the game told last ("SetPointerAreas"), or null.
const PlatPointerAreas* FakeInputPointerAreas();
