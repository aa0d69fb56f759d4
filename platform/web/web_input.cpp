// Keyboard and mouse devices over the page's events (web_events.cpp). A read
// hands over the state as it is, with every press since the previous read
// folded in, and the motion gathered since then.
#include "platform/common/event_input.h"
#include "platform/input.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>

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

// Far enough left and up to reach the corner where the game stops its cursor
// from anywhere it may be.
constexpr double PUSH_TO_CORNER = -16777216.0;

// clang-format off
EM_JS(void, WebAskNumber, (int asking), {
    if (Module.dellomarAskNumber) Module.dellomarAskNumber(asking !== 0);
});
// clang-format on

bool s_asking = false;

// The page's number field goes with the screen that asks for a number.
void FollowNumberScreen()
{
    bool asking = WebGameAsksNumber();
    if (asking != s_asking) {
        s_asking = asking;
        WebAskNumber(asking ? 1 : 0);
    }
}

// One tap of the number field per read, with a read between two taps so
// that the same digit twice makes two presses.
void FoldTyped(uint8_t* state)
{
    if (g_webInput.typedUp) {
        g_webInput.typedUp = false;
        return;
    }
    if (g_webInput.typedCount == 0) {
        return;
    }
    state[g_webInput.typed[0]] = PLAT_KEY_DOWN;
    std::memmove(g_webInput.typed, g_webInput.typed + 1,
                 static_cast<size_t>(g_webInput.typedCount - 1));
    --g_webInput.typedCount;
    g_webInput.typedUp = true;
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
    FoldTyped(state);
    FollowNumberScreen();
}

void EventInputReadMouse(PlatMouseState* state)
{
    WebTouchPoll();
    if (g_webInput.placing > 0) {
        // No button shows while the cursor is on its way.
        *state = PlatMouseState{};
        if (g_webInput.placing == 2) {
            // The finger's motion since it touched goes on from the point.
            g_webInput.placeDx += g_webInput.motionX;
            g_webInput.placeDy += g_webInput.motionY;
            g_webInput.motionX = PUSH_TO_CORNER;
            g_webInput.motionY = PUSH_TO_CORNER;
        } else {
            g_webInput.motionX += g_webInput.placeDx;
            g_webInput.motionY += g_webInput.placeDy;
        }
        --g_webInput.placing;
        state->dx = TakeWhole(&g_webInput.motionX);
        state->dy = TakeWhole(&g_webInput.motionY);
        return;
    }
    if (g_webInput.touchPress) {
        g_webInput.touchPress = false;
        PressLatchNoteDown(&g_webInput.buttonLatch, 0);
    }
    state->dx = TakeWhole(&g_webInput.motionX);
    state->dy = TakeWhole(&g_webInput.motionY);
    state->dz = g_webInput.wheel;
    g_webInput.wheel = 0;
    for (int i = 0; i < 4; ++i) {
        bool held = g_webInput.buttons[i] || (i == 0 && g_webInput.touchLeft);
        bool down = PressLatchRead(&g_webInput.buttonLatch, i, held);
        state->buttons[i] = down ? PLAT_KEY_DOWN : 0;
    }
}
