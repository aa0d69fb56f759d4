// Fingers on the canvas, handed to the touch model (platform/common) in
// picture pixels; the mouse device reads what the model makes of them.
#include "platform/common/touch_model.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>
#include <emscripten/html5.h>

namespace {

TouchModel s_model{};

// clang-format off
EM_JS(void, WebTouchFeel, (), {
    // Vibration is only allowed once the player has touched the page.
    if (navigator.vibrate && (!navigator.userActivation || navigator.userActivation.hasBeenActive)) {
        try { navigator.vibrate(25); } catch (e) {}
    }
    if (Module.dellomarStats) Module.dellomarStats.longPresses++;
});
// clang-format on

template <typename Handle>
void EachChanged(const EmscriptenTouchEvent* event, Handle handle)
{
    double scale = WebPictureScale();
    for (int i = 0; i < event->numTouches; ++i) {
        const EmscriptenTouchPoint& point = event->touches[i];
        if (point.isChanged) {
            handle(point.identifier, static_cast<double>(point.targetX) * scale,
                   static_cast<double>(point.targetY) * scale);
        }
    }
}

EM_BOOL OnTouchStart(int, const EmscriptenTouchEvent* event, void*)
{
    WebNoteGesture();
    double now = emscripten_get_now();
    EachChanged(event,
                [now](long id, double x, double y) { TouchModelDown(&s_model, id, x, y, now); });
    return EM_TRUE;
}

EM_BOOL OnTouchMove(int, const EmscriptenTouchEvent* event, void*)
{
    EachChanged(event, [](long id, double x, double y) { TouchModelMove(&s_model, id, x, y); });
    return EM_TRUE;
}

EM_BOOL OnTouchEnd(int eventType, const EmscriptenTouchEvent* event, void*)
{
    if (eventType == EMSCRIPTEN_EVENT_TOUCHCANCEL) {
        EachChanged(event, [](long id, double, double) { TouchModelCancel(&s_model, id); });
        // A cancel cannot be cancelled; asking to makes the browser complain.
        return EM_FALSE;
    }
    WebNoteGesture();
    double now = emscripten_get_now();
    EachChanged(event,
                [now](long id, double x, double y) { TouchModelUp(&s_model, id, x, y, now); });
    return EM_TRUE;
}

} // namespace

TouchRead WebTouchRead()
{
    TouchRead read = TouchModelRead(&s_model, emscripten_get_now());
    if (TouchModelTakeLongPress(&s_model)) {
        WebTouchFeel();
    }
    return read;
}

void WebTouchTextInput(bool on)
{
    TouchModelTextInput(&s_model, on);
}

void WebTouchSetAreas(const PlatPointerAreas& areas)
{
    TouchModelSetAreas(&s_model, areas);
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
    TouchModelForget(&s_model);
}
