// Keyboard and mouse devices over the page's events (web_events.cpp). A read
// hands over the state as it is, with every press since the previous read
// folded in, and the motion gathered since then.
#include "platform/common/event_input.h"
#include "platform/input.h"
#include "platform/web/web_internal.h"

#include <cmath>
#include <cstring>

namespace {

// Whole pixels go to the game; the fractions wait for the next read.
int32_t TakeWhole(double* motion)
{
    double whole = std::trunc(*motion);
    *motion -= whole;
    constexpr double LIMIT = 1e9;
    return static_cast<int32_t>(whole > LIMIT ? LIMIT : (whole < -LIMIT ? -LIMIT : whole));
}

} // namespace

bool EventInputReady()
{
    return true;
}

// Presses and motion from before the device was taken are not the game's.
void EventInputStart(PlatInputDeviceKind kind)
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

void EventInputStop(PlatInputDeviceKind) {}

void EventInputReadKeyboard(uint8_t* state)
{
    std::memcpy(state, g_webInput.keys, PLAT_KEYBOARD_STATE_SIZE);
    PressLatchFold(&g_webInput.keyLatch, state, PLAT_KEYBOARD_STATE_SIZE);
}

void EventInputReadMouse(PlatMouseState* state)
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
