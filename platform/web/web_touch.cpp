// A finger on the canvas. A cell is a fraction of a fingertip on a phone, and
// the numbers show only under the lamp, so over the field a finger works like
// a touchpad: a drag moves the lamp by the finger's motion, a quick tap is a
// left click at the lamp, a long press a right click at the lamp. Over the
// menu a finger is a pointer: the arrow goes where it touches and the left
// button stays down while it stays. The game reads only relative motion, so
// "the arrow at the finger" is reached in two reads: one pushes the cursor
// into the field's top left corner, where the game stops it, the next moves
// it from there (web_input.cpp).
#include "platform/web/web_internal.h"
#include "screens/screen_layout.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cmath>

namespace {

constexpr double LONG_PRESS_MS = 500;
// Moving less than this (picture pixels) is still a tap or a press.
constexpr double TAP_SLOP = CELL_PITCH / 2.0;

struct Touch {
    bool active;    // a finger we follow is down
    bool spoiled;   // a second finger came: this touch does nothing more
    bool menu;      // started over the menu panel
    bool moved;     // went further than TAP_SLOP: a drag
    bool pressed;   // the long press has fired
    bool returning; // brought the lamp back from the menu: clicks nothing
    long id;
    long lastX; // page pixels, relative to the canvas
    long lastY;
    double startX; // picture pixels
    double startY;
    double startMs;
};

Touch s_touch{};
// The last touch put the arrow in the menu; the next touch on the field
// brings the lamp's hot spot under the finger, and does no more than that
// (a drag goes on from there), so a cell is never opened unseen.
bool s_arrowInMenu = false;

// clang-format off
EM_JS(void, WebTouchFeel, (), {
    // Vibration is only allowed once the player has touched the page.
    if (navigator.vibrate && (!navigator.userActivation || navigator.userActivation.hasBeenActive)) {
        try { navigator.vibrate(25); } catch (e) {}
    }
    if (Module.dellomarStats) Module.dellomarStats.longPresses++;
});
// clang-format on

// Puts the cursor at (x, y) in picture pixels over the next two reads.
void PlaceCursor(double x, double y)
{
    g_webInput.motionX = 0; // motion from before the touch is not this touch's
    g_webInput.motionY = 0;
    g_webInput.placing = 2;
    g_webInput.placeDx = std::floor(x) + HOTSPOT_OFFSET;
    g_webInput.placeDy = std::floor(y) + HOTSPOT_OFFSET;
}

// Lets go of whatever this touch holds, without acting.
void Drop()
{
    g_webInput.touchLeft = false;
    g_webInput.touchPress = false;
    s_touch.spoiled = true;
}

void Begin(const EmscriptenTouchPoint& point)
{
    double scale = WebPictureScale();
    s_touch = Touch{};
    s_touch.active = true;
    s_touch.id = point.identifier;
    s_touch.lastX = point.targetX;
    s_touch.lastY = point.targetY;
    s_touch.startX = static_cast<double>(point.targetX) * scale;
    s_touch.startY = static_cast<double>(point.targetY) * scale;
    s_touch.startMs = emscripten_get_now();
    if (WebGameAsksNumber()) {
        return; // nothing on the entry screen takes a click
    }
    s_touch.menu = s_touch.startX >= MENU_X;
    if (s_touch.menu) {
        PlaceCursor(s_touch.startX, s_touch.startY);
        s_arrowInMenu = true;
        g_webInput.touchLeft = true;
        g_webInput.touchPress = true;
    } else if (s_arrowInMenu) {
        PlaceCursor(s_touch.startX - HOTSPOT_OFFSET, s_touch.startY - HOTSPOT_OFFSET);
        s_arrowInMenu = false;
        s_touch.returning = true;
    }
}

const EmscriptenTouchPoint* Followed(const EmscriptenTouchEvent* event)
{
    for (int i = 0; i < event->numTouches; ++i) {
        const EmscriptenTouchPoint& point = event->touches[i];
        if (point.isChanged && point.identifier == s_touch.id) {
            return &point;
        }
    }
    return nullptr;
}

EM_BOOL OnTouchStart(int, const EmscriptenTouchEvent* event, void*)
{
    WebNoteGesture();
    if (event->numTouches == 1 && !s_touch.active) {
        Begin(event->touches[0]);
    } else if (s_touch.active) {
        Drop(); // two fingers: neither clicks nor holds
    }
    return EM_TRUE;
}

EM_BOOL OnTouchMove(int, const EmscriptenTouchEvent* event, void*)
{
    const EmscriptenTouchPoint* point = s_touch.active ? Followed(event) : nullptr;
    if (point == nullptr || s_touch.spoiled) {
        return EM_TRUE;
    }
    double scale = WebPictureScale();
    g_webInput.motionX += static_cast<double>(point->targetX - s_touch.lastX) * scale;
    g_webInput.motionY += static_cast<double>(point->targetY - s_touch.lastY) * scale;
    s_touch.lastX = point->targetX;
    s_touch.lastY = point->targetY;
    double awayX = static_cast<double>(point->targetX) * scale - s_touch.startX;
    double awayY = static_cast<double>(point->targetY) * scale - s_touch.startY;
    if (std::hypot(awayX, awayY) >= TAP_SLOP) {
        s_touch.moved = true;
    }
    return EM_TRUE;
}

EM_BOOL OnTouchEnd(int eventType, const EmscriptenTouchEvent* event, void*)
{
    if (!s_touch.active || Followed(event) == nullptr) {
        return eventType == EMSCRIPTEN_EVENT_TOUCHCANCEL ? EM_FALSE : EM_TRUE;
    }
    g_webInput.touchLeft = false;
    if (eventType == EMSCRIPTEN_EVENT_TOUCHCANCEL) {
        g_webInput.touchPress = false;
    } else {
        WebNoteGesture();
        // A press let go before a frame saw it still counts, as a long one.
        if (!s_touch.spoiled && !s_touch.menu && !s_touch.moved && !s_touch.pressed &&
            !s_touch.returning && !WebGameAsksNumber()) {
            bool quick = emscripten_get_now() - s_touch.startMs < LONG_PRESS_MS;
            PressLatchNoteDown(&g_webInput.buttonLatch, quick ? 0 : 1);
        }
    }
    s_touch = Touch{};
    // A cancel cannot be cancelled; asking to makes the browser complain.
    return eventType == EMSCRIPTEN_EVENT_TOUCHCANCEL ? EM_FALSE : EM_TRUE;
}

} // namespace

void WebTouchPoll()
{
    if (!s_touch.active || s_touch.spoiled || s_touch.menu || s_touch.moved || s_touch.pressed ||
        s_touch.returning || WebGameAsksNumber() ||
        emscripten_get_now() - s_touch.startMs < LONG_PRESS_MS) {
        return;
    }
    s_touch.pressed = true;
    PressLatchNoteDown(&g_webInput.buttonLatch, 1);
    WebTouchFeel();
}

void WebTouchListen(bool on)
{
    emscripten_set_touchstart_callback(WEB_CANVAS, nullptr, EM_TRUE, on ? OnTouchStart : nullptr);
    emscripten_set_touchmove_callback(WEB_CANVAS, nullptr, EM_TRUE, on ? OnTouchMove : nullptr);
    emscripten_set_touchend_callback(WEB_CANVAS, nullptr, EM_TRUE, on ? OnTouchEnd : nullptr);
    emscripten_set_touchcancel_callback(WEB_CANVAS, nullptr, EM_TRUE, on ? OnTouchEnd : nullptr);
    WebTouchForget();
}

void WebTouchForget()
{
    s_touch = Touch{};
    g_webInput.touchLeft = false;
    g_webInput.touchPress = false;
}
