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

// clang-format off
EM_JS(void, WebAskNumber, (int asking), {
    if (Module.dellomarAskNumber) Module.dellomarAskNumber(asking !== 0);
});
// clang-format on

bool s_wanted = false; // the game waits for typed digits
bool s_asking = false; // the page shows its number field

// The page's number field goes with the screen that asks for a number. It
// follows at the keyboard's reads, so that the two questions of a new game,
// told apart with no read between them, keep one field shown.
void FollowNumberScreen()
{
    if (s_wanted != s_asking) {
        s_asking = s_wanted;
        WebAskNumber(s_asking ? 1 : 0);
    }
}

int32_t Sum(int32_t a, int32_t b)
{
    int64_t sum = static_cast<int64_t>(a) + b;
    constexpr int64_t LIMIT = 2000000000;
    return static_cast<int32_t>(sum > LIMIT ? LIMIT : (sum < -LIMIT ? -LIMIT : sum));
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
    TouchRead touch = WebTouchRead();
    if (touch.placing) {
        // The cursor is on its way to a finger: the mouse's motion would put
        // it elsewhere, and its presses wait for the next read.
        *state = PlatMouseState{};
        state->dx = touch.dx;
        state->dy = touch.dy;
        g_webInput.motionX = 0;
        g_webInput.motionY = 0;
        return;
    }
    state->dx = Sum(TakeWhole(&g_webInput.motionX), touch.dx);
    state->dy = Sum(TakeWhole(&g_webInput.motionY), touch.dy);
    state->dz = g_webInput.wheel;
    g_webInput.wheel = 0;
    for (int i = 0; i < 4; ++i) {
        bool down = PressLatchRead(&g_webInput.buttonLatch, i, g_webInput.buttons[i]);
        down = down || (i < 2 && touch.buttons[i]);
        state->buttons[i] = down ? PLAT_KEY_DOWN : 0;
    }
}

void PlatStartTextInput()
{
    s_wanted = true;
    WebTouchTextInput(true);
}

void PlatStopTextInput()
{
    s_wanted = false;
    WebTouchTextInput(false);
}

void PlatSetPointerAreas(const PlatPointerAreas& areas)
{
    WebTouchSetAreas(areas);
}
