// The game core on the fake backend, as tests, benchmarks and fuzzers run it
// (the dellomar_headless target).
#pragma once

#include "app/app_shell.h"
#include "platform/fake/fake_core.h"

// The game and the fake backend under it back to program start: the game
// first, since its resets drop handles into the backend without calls.
inline void ResetHeadlessGame()
{
    GameReset();
    FakeResetAll();
}
