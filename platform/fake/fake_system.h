// Test controls of the fake window, queue, clock and live key state.
#pragma once

#include <cstdint>
#include <functional>

// The tick counter reads `ticks`, and every read moves it on by `step`.
void FakeSetTicks(uint32_t ticks);
void FakeSetTickStep(uint32_t step);
uint32_t FakeTicks();
int FakeTickReads();

// Live (asynchronous) key state of a virtual key.
void FakeSetAsyncKey(int virtualKey, bool down);

// Make class registration or window creation refuse.
void FakeFailWindowSetup(bool failClass, bool failWindow);

int FakeCursorShowCount();

// The system asks the game to end, as a signal does on POSIX.
void FakeRequestEnd();

// Called at the start of every PlatPeekMessage with the number of earlier
// peeks, so a test can post messages or look at the game between passes.
void FakeSetPeekHook(std::function<void(int pass)> hook);
