// The page's key and mouse events, gathered for the polled devices. Keys are
// told apart by the browser's `code` (the key's place on the keyboard, not
// its label) and mapped to the set-1 scan codes the game reads. The mouse
// gives relative motion while the pointer is locked to the canvas; without
// the lock (refused, not offered, or let go with Escape) the motion is the
// pointer's change of position, scaled to the picture, so the lamp follows
// the pointer over the canvas. Fingers are web_touch.cpp's.
#include "platform/input.h"
#include "platform/system.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

WebInputState g_webInput{};

namespace {

struct KeyCode {
    const char* code;
    uint8_t scan;
};

// Extended keys carry 0x80, as on the native keyboard.
// clang-format off
constexpr KeyCode KEY_CODES[] = {
    {"Escape", 0x01}, {"Digit1", 0x02}, {"Digit2", 0x03}, {"Digit3", 0x04},
    {"Digit4", 0x05}, {"Digit5", 0x06}, {"Digit6", 0x07}, {"Digit7", 0x08},
    {"Digit8", 0x09}, {"Digit9", 0x0A}, {"Digit0", 0x0B}, {"Minus", 0x0C},
    {"Equal", 0x0D}, {"Backspace", 0x0E}, {"Tab", 0x0F}, {"KeyQ", 0x10},
    {"KeyW", 0x11}, {"KeyE", 0x12}, {"KeyR", 0x13}, {"KeyT", 0x14},
    {"KeyY", 0x15}, {"KeyU", 0x16}, {"KeyI", 0x17}, {"KeyO", 0x18},
    {"KeyP", 0x19}, {"BracketLeft", 0x1A}, {"BracketRight", 0x1B}, {"Enter", 0x1C},
    {"ControlLeft", 0x1D}, {"KeyA", 0x1E}, {"KeyS", 0x1F}, {"KeyD", 0x20},
    {"KeyF", 0x21}, {"KeyG", 0x22}, {"KeyH", 0x23}, {"KeyJ", 0x24},
    {"KeyK", 0x25}, {"KeyL", 0x26}, {"Semicolon", 0x27}, {"Quote", 0x28},
    {"Backquote", 0x29}, {"ShiftLeft", 0x2A}, {"Backslash", 0x2B}, {"KeyZ", 0x2C},
    {"KeyX", 0x2D}, {"KeyC", 0x2E}, {"KeyV", 0x2F}, {"KeyB", 0x30},
    {"KeyN", 0x31}, {"KeyM", 0x32}, {"Comma", 0x33}, {"Period", 0x34},
    {"Slash", 0x35}, {"ShiftRight", 0x36}, {"NumpadMultiply", 0x37}, {"AltLeft", 0x38},
    {"Space", 0x39}, {"CapsLock", 0x3A}, {"F1", 0x3B}, {"F2", 0x3C},
    {"F3", 0x3D}, {"F4", 0x3E}, {"F5", 0x3F}, {"F6", 0x40},
    {"F7", 0x41}, {"F8", 0x42}, {"F9", 0x43}, {"F10", 0x44},
    {"NumLock", 0x45}, {"ScrollLock", 0x46}, {"Numpad7", 0x47}, {"Numpad8", 0x48},
    {"Numpad9", 0x49}, {"NumpadSubtract", 0x4A}, {"Numpad4", 0x4B}, {"Numpad5", 0x4C},
    {"Numpad6", 0x4D}, {"NumpadAdd", 0x4E}, {"Numpad1", 0x4F}, {"Numpad2", 0x50},
    {"Numpad3", 0x51}, {"Numpad0", 0x52}, {"NumpadDecimal", 0x53}, {"IntlBackslash", 0x56},
    {"F11", 0x57}, {"F12", 0x58}, {"NumpadEqual", 0x8D}, {"NumpadEnter", 0x9C},
    {"ControlRight", 0x9D}, {"NumpadDivide", 0xB5}, {"PrintScreen", 0xB7}, {"AltRight", 0xB8},
    {"Pause", 0xC5}, {"Home", 0xC7}, {"ArrowUp", 0xC8}, {"PageUp", 0xC9},
    {"ArrowLeft", 0xCB}, {"ArrowRight", 0xCD}, {"End", 0xCF}, {"ArrowDown", 0xD0},
    {"PageDown", 0xD1}, {"Insert", 0xD2}, {"Delete", 0xD3}, {"MetaLeft", 0xDB},
    {"MetaRight", 0xDC}, {"ContextMenu", 0xDD},
};
// clang-format on

// The keys the game acts on: the page keeps them from the browser where it may
// (Alt would open the browser's menu, F12 its tools, Backspace go back).
constexpr uint8_t GAME_KEYS[] = {0x01, 0x0E, 0x1C, 0x38, 0x3E, 0x58, 0x9C, 0xB8};

constexpr int32_t WHEEL_NOTCH = 120;

bool s_listening = false;
bool s_havePointer = false; // a pointer position to measure the next move from
long s_pointerX = 0;
long s_pointerY = 0;

int ScanCodeOf(const char* code)
{
    for (const KeyCode& key : KEY_CODES) {
        if (std::strcmp(key.code, code) == 0) {
            return key.scan;
        }
    }
    return -1;
}

bool IsGameKey(int scan)
{
    for (uint8_t key : GAME_KEYS) {
        if (key == scan) {
            return true;
        }
    }
    return false;
}

// The live key state is asked by virtual key, for Escape and Alt only.
int VirtualKeyOf(int scan)
{
    if (scan == 0x01) {
        return PLAT_VK_ESCAPE;
    }
    return scan == 0x38 || scan == 0xB8 ? PLAT_VK_MENU : -1;
}

// Sound may start and the pointer may be locked only inside a player's gesture.
// clang-format off
EM_JS(void, WebGesture, (int lockPointer), {
    if (Module.dellomarAudioResume) Module.dellomarAudioResume();
    var canvas = document.getElementById("canvas");
    if (!lockPointer || !canvas || !canvas.requestPointerLock ||
        document.pointerLockElement === canvas) return;
    try {
        var asked = canvas.requestPointerLock();
        // Newer browsers answer with a promise, refused when the lock is not given.
        if (asked && asked.catch) asked.catch(function() {});
    } catch (e) {
    }
});
// clang-format on

// clang-format off
EM_JS(int, WebPointerLocked, (), {
    return document.pointerLockElement === document.getElementById("canvas") ? 1 : 0;
});
// clang-format on

// clang-format off
EM_JS(void, WebReleasePointer, (), {
    if (document.pointerLockElement && document.exitPointerLock) document.exitPointerLock();
});
// clang-format on

// The page's number field (index.html) hands its digits, Backspace and Enter
// on itself, one tap at a time; the same keys must not come twice.
// clang-format off
EM_JS(int, WebNumberFieldHasFocus, (), {
    var active = document.activeElement;
    return active && active.id === "number" ? 1 : 0;
});
// clang-format on

bool IsNumberFieldKey(int scan)
{
    return (scan >= 0x02 && scan <= 0x0B) || scan == 0x0E || scan == 0x1C || scan == 0x9C ||
           (scan >= 0x47 && scan <= 0x53 && scan != 0x4A && scan != 0x4E);
}

EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent* event, void*)
{
    int scan = ScanCodeOf(event->code);
    if (scan < 0 || (IsNumberFieldKey(scan) && WebNumberFieldHasFocus() != 0)) {
        return EM_FALSE;
    }
    bool down = eventType == EMSCRIPTEN_EVENT_KEYDOWN;
    g_webInput.keys[scan] = down ? PLAT_KEY_DOWN : 0;
    if (down) {
        PressLatchNoteDown(&g_webInput.keyLatch, scan);
        PressLatchNoteDown(&g_webInput.asyncLatch, VirtualKeyOf(scan));
        WebGesture(0);
    }
    return IsGameKey(scan) ? EM_TRUE : EM_FALSE;
}

// Button numbers of the page (0 left, 1 middle, 2 right, 3 back) in the
// order of the game's mouse record (left, right, middle, back).
int ButtonSlot(unsigned short button)
{
    constexpr int SLOTS[] = {0, 2, 1, 3};
    return button < 4 ? SLOTS[button] : -1;
}

EM_BOOL OnButton(int eventType, const EmscriptenMouseEvent* event, void*)
{
    int slot = ButtonSlot(event->button);
    if (slot < 0) {
        return EM_FALSE;
    }
    bool down = eventType == EMSCRIPTEN_EVENT_MOUSEDOWN;
    g_webInput.buttons[slot] = down;
    if (down) {
        PressLatchNoteDown(&g_webInput.buttonLatch, slot);
        WebGesture(1);
    }
    return EM_TRUE;
}

} // namespace

double WebPictureScale()
{
    int pictureWidth = 0;
    int pictureHeight = 0;
    double shownWidth = 0;
    double shownHeight = 0;
    if (emscripten_get_canvas_element_size(WEB_CANVAS, &pictureWidth, &pictureHeight) !=
            EMSCRIPTEN_RESULT_SUCCESS ||
        emscripten_get_element_css_size(WEB_CANVAS, &shownWidth, &shownHeight) !=
            EMSCRIPTEN_RESULT_SUCCESS ||
        shownWidth <= 0) {
        return 1.0;
    }
    return pictureWidth / shownWidth;
}

void WebNoteGesture()
{
    WebGesture(0);
}

namespace {

EM_BOOL OnMove(int, const EmscriptenMouseEvent* event, void*)
{
    if (WebPointerLocked() != 0) {
        g_webInput.motionX += static_cast<double>(event->movementX);
        g_webInput.motionY += static_cast<double>(event->movementY);
        return EM_TRUE;
    }
    if (s_havePointer) {
        double scale = WebPictureScale();
        g_webInput.motionX += static_cast<double>(event->clientX - s_pointerX) * scale;
        g_webInput.motionY += static_cast<double>(event->clientY - s_pointerY) * scale;
    }
    s_havePointer = true;
    s_pointerX = event->clientX;
    s_pointerY = event->clientY;
    return EM_FALSE;
}

// Locking and unlocking move the pointer's reported place: measure afresh.
EM_BOOL OnLockChange(int, const EmscriptenPointerlockChangeEvent*, void*)
{
    s_havePointer = false;
    return EM_FALSE;
}

EM_BOOL OnWheel(int, const EmscriptenWheelEvent* event, void*)
{
    if (event->deltaY < 0) {
        g_webInput.wheel += WHEEL_NOTCH;
    } else if (event->deltaY > 0) {
        g_webInput.wheel -= WHEEL_NOTCH;
    }
    return EM_TRUE;
}

// Keys and buttons let go while the page had no focus never send their release.
EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void*)
{
    std::memset(g_webInput.keys, 0, sizeof g_webInput.keys);
    std::memset(g_webInput.buttons, 0, sizeof g_webInput.buttons);
    s_havePointer = false;
    WebTouchForget();
    return EM_FALSE;
}

void SetCallbacks(bool on)
{
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    const char* document = EMSCRIPTEN_EVENT_TARGET_DOCUMENT;
    emscripten_set_keydown_callback(window, nullptr, EM_TRUE, on ? OnKey : nullptr);
    emscripten_set_keyup_callback(window, nullptr, EM_TRUE, on ? OnKey : nullptr);
    emscripten_set_mousedown_callback(WEB_CANVAS, nullptr, EM_TRUE, on ? OnButton : nullptr);
    emscripten_set_mouseup_callback(document, nullptr, EM_TRUE, on ? OnButton : nullptr);
    emscripten_set_mousemove_callback(document, nullptr, EM_TRUE, on ? OnMove : nullptr);
    emscripten_set_wheel_callback(WEB_CANVAS, nullptr, EM_TRUE, on ? OnWheel : nullptr);
    emscripten_set_pointerlockchange_callback(document, nullptr, EM_TRUE,
                                              on ? OnLockChange : nullptr);
    emscripten_set_blur_callback(window, nullptr, EM_TRUE, on ? OnBlur : nullptr);
    WebTouchListen(on);
}

} // namespace

// A key tap from the page's number field, queued so that taps made within one
// frame still reach the game one by one, in order.
extern "C" EMSCRIPTEN_KEEPALIVE void dellomar_tap_key(int scan)
{
    constexpr int ROOM = sizeof g_webInput.typed;
    if (s_listening && scan > 0 && scan < 256 && g_webInput.typedCount < ROOM) {
        g_webInput.typed[g_webInput.typedCount++] = static_cast<uint8_t>(scan);
    }
}

void WebListen()
{
    if (!s_listening) {
        s_listening = true;
        SetCallbacks(true);
    }
}

void WebStopListening()
{
    if (s_listening) {
        s_listening = false;
        SetCallbacks(false);
        WebReleasePointer();
    }
    g_webInput = WebInputState{};
    s_havePointer = false;
}
