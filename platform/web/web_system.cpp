// The window is the page's canvas; the message queue is the shared one.
#include "platform/common/last_error.h"
#include "platform/common/message_queue.h"
#include "platform/system.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cmath>
#include <string>

namespace {

constexpr double FRAME_MS = 10.0;
// A page that is shown but whose frames never come (shown in a way that
// draws nothing) still plays, slowly.
constexpr int FRAMELESS_TURN_MS = 250;

bool s_turnGiven = false; // since the main loop last looked for messages
// The tick counter as the game last read it: before a turn, the start of the
// frame the turn ends.
double s_lastTickMs = 0;

// The browser's turn (web_pre.js paces it): until its next frame, or its
// timed pass once the page is at rest, and at least until `untilMs`.
// clang-format off
EM_ASYNC_JS(void, WebAwaitBrowserTurn, (double untilMs, int framelessMs, int drawn), {
    await Module.dellomarPace.turn(untilMs, framelessMs, drawn !== 0);
});
// clang-format on

// Passes of the game's loop, for the page's test: frames that end early
// (Load or Save held) present nothing, but they do give the page its turn.
// clang-format off
EM_JS(void, WebCountTurn, (), {
    if (Module.dellomarStats) Module.dellomarStats.turns++;
});
// clang-format on

// clang-format off
EM_JS(int, WebCanvasPresent, (), { return document.getElementById("canvas") ? 1 : 0; });
// clang-format on

// clang-format off
EM_JS(void, WebSetCursorShown, (int shown), {
    var canvas = document.getElementById("canvas");
    if (canvas) canvas.style.cursor = shown ? "" : "none";
});
// clang-format on

} // namespace

// The game's frame clock waits until 10 ms have passed since its frame began,
// reading the tick counter again and again; the page spends that time asleep
// in the browser's turn instead, so that the wait finds it already spent.
void WebGiveBrowserTurn(bool drawn)
{
    WebAwaitBrowserTurn(s_lastTickMs + FRAME_MS, FRAMELESS_TURN_MS, drawn ? 1 : 0);
    WebNoteTurnGiven();
    s_turnGiven = true;
    WebCountTurn();
}

void WebSetLastError(const char* what)
{
    NoteLastError(what);
}

PlatWindow PlatCreateWindow(uint32_t, const char* className, const char* caption, uint32_t, int32_t,
                            int32_t, int32_t, int32_t, PlatInstance)
{
    if (WebCanvasPresent() == 0) {
        NoteLastError("the page has no canvas to show the game in");
        return nullptr;
    }
    PlatWindow window = QueueCreateWindow(className);
    if (window == nullptr) {
        NoteLastError("the window class is not registered");
        return nullptr;
    }
    emscripten_set_window_title(caption);
    WebListen();
    QueueDispatch({window, PLAT_MSG_CREATE, 0, 0});
    return window;
}

// A frame that ends early (Load or Save held) presents nothing; the page
// still gets its turn once a pass, or it could never see the button let go.
bool PlatPeekMessage(PlatMessage* message)
{
    if (!s_turnGiven) {
        WebGiveBrowserTurn(false);
    }
    s_turnGiven = false;
    return QueuePeek(message);
}

int PlatShowCursor(bool show)
{
    WebSetCursorShown(show ? 1 : 0);
    return 0;
}

uint32_t PlatGetTickCount()
{
    // Milliseconds since the page opened, cut to 32 bits so that it wraps as
    // the game expects.
    double ms = std::floor(emscripten_get_now());
    s_lastTickMs = ms;
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

int16_t PlatGetAsyncKeyState(int virtualKey)
{
    bool down = false;
    if (virtualKey == PLAT_VK_ESCAPE) {
        down = g_webInput.keys[0x01] != 0;
    } else if (virtualKey == PLAT_VK_MENU) {
        down = g_webInput.keys[0x38] != 0 || g_webInput.keys[0xB8] != 0;
    }
    down = PressLatchRead(&g_webInput.asyncLatch, virtualKey, down);
    return down ? static_cast<int16_t>(-32768) : int16_t{0};
}

// A page is ended by closing it, which stops everything at once.
bool PlatEndRequested()
{
    return false;
}
