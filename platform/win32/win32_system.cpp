// The window, its message queue, the tick counter and the live key state, on
// the native window manager. Message numbers, styles and stock resource ids
// already carry the native values, so they pass straight through.
#include "platform/system.h"
#include "platform/win32/win32_internal.h"

#include <cstdio>
#include <cstring>

static_assert(PLAT_CS_VREDRAW == CS_VREDRAW && PLAT_CS_HREDRAW == CS_HREDRAW &&
              PLAT_CS_DBLCLKS == CS_DBLCLKS && PLAT_CS_OWNDC == CS_OWNDC);

namespace {

// The game hands over its own procedure per class; the system calls one
// native procedure for them all, which finds the game's by the class atom.
struct ClassProc {
    ATOM atom;
    PlatWindowProc proc;
};
constexpr int MAX_CLASSES = 8;
ClassProc s_classProcs[MAX_CLASSES];
int s_classCount = 0;

// The last message removed, so that translation and dispatch see everything
// the system put in it (time, pointer position), not only what the seam keeps.
MSG s_lastMessage{};
PAINTSTRUCT s_paint{};
char s_lastError[512] = "";

// The stock application icon stands for this program's own icon when the
// executable carries one (resource 1), so the taskbar shows what Explorer does.
HICON LoadClassIcon(int stockIcon)
{
    if (stockIcon == PLAT_STOCK_ICON_APPLICATION) {
        if (HICON own = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1))) {
            return own;
        }
    }
    return LoadIconA(nullptr, MAKEINTRESOURCEA(stockIcon));
}

PlatWindowProc ProcOfWindow(HWND window)
{
    ATOM atom = static_cast<ATOM>(GetClassWord(window, GCW_ATOM));
    for (int i = 0; i < s_classCount; ++i) {
        if (s_classProcs[i].atom == atom) {
            return s_classProcs[i].proc;
        }
    }
    return nullptr;
}

LRESULT CALLBACK NativeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PlatWindowProc proc = ProcOfWindow(window);
    if (proc == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return static_cast<LRESULT>(proc(reinterpret_cast<PlatWindow>(window), message,
                                     static_cast<uintptr_t>(wParam),
                                     static_cast<intptr_t>(lParam)));
}

MSG NativeMessage(const PlatMessage& message)
{
    const MSG& last = s_lastMessage;
    if (reinterpret_cast<PlatWindow>(last.hwnd) == message.window &&
        last.message == message.message && static_cast<uintptr_t>(last.wParam) == message.wParam &&
        static_cast<intptr_t>(last.lParam) == message.lParam) {
        return last;
    }
    MSG native{};
    native.hwnd = Win32Window(message.window);
    native.message = message.message;
    native.wParam = static_cast<WPARAM>(message.wParam);
    native.lParam = static_cast<LPARAM>(message.lParam);
    return native;
}

} // namespace

void Win32SetLastError(const char* what, DWORD code)
{
    std::snprintf(s_lastError, sizeof s_lastError, "%s", what);
    if (code == 0) {
        return;
    }
    char detail[256] = "";
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, detail, sizeof detail, nullptr);
    // The system's texts end in a full stop and a line break; one line is wanted.
    while (length > 0 && std::strchr("\r\n. ", detail[length - 1]) != nullptr) {
        detail[--length] = '\0';
    }
    size_t used = std::strlen(s_lastError);
    if (length > 0) {
        std::snprintf(s_lastError + used, sizeof s_lastError - used, ": %s", detail);
    } else {
        std::snprintf(s_lastError + used, sizeof s_lastError - used, ": error %lu",
                      static_cast<unsigned long>(code));
    }
}

int PlatRegisterClass(const PlatWindowClass& windowClass)
{
    if (s_classCount == MAX_CLASSES) {
        Win32SetLastError("too many window classes", 0);
        return 0;
    }
    WNDCLASSEXA native{};
    native.cbSize = sizeof native;
    native.style = windowClass.style;
    native.lpfnWndProc = NativeWindowProc;
    native.cbClsExtra = windowClass.classExtraBytes;
    native.cbWndExtra = windowClass.windowExtraBytes;
    native.hInstance = Win32Instance(windowClass.instance);
    native.hIcon = LoadClassIcon(windowClass.icon);
    native.hIconSm = LoadClassIcon(windowClass.smallIcon);
    native.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(windowClass.cursor));
    native.hbrBackground = static_cast<HBRUSH>(GetStockObject(windowClass.background));
    native.lpszMenuName = nullptr;
    native.lpszClassName = windowClass.className;
    ATOM atom = RegisterClassExA(&native);
    if (atom == 0) {
        Win32SetLastError("the window class could not be registered", GetLastError());
        return 0;
    }
    s_classProcs[s_classCount++] = {atom, windowClass.windowProc};
    return atom;
}

PlatWindow PlatCreateWindow(uint32_t exStyle, const char* className, const char* caption,
                            uint32_t style, int32_t x, int32_t y, int32_t width, int32_t height,
                            PlatInstance instance)
{
    HWND window = CreateWindowExA(exStyle, className, caption, style, x, y, width, height, nullptr,
                                  nullptr, Win32Instance(instance), nullptr);
    if (window == nullptr) {
        Win32SetLastError("the window could not be created", GetLastError());
        return nullptr;
    }
    return reinterpret_cast<PlatWindow>(window);
}

bool PlatPeekMessage(PlatMessage* message)
{
    // Start-up (or a Load) is over when the loop looks for messages again:
    // the files it could not read are told now, all in one box.
    Win32TellUnreadable();
    if (PeekMessageA(&s_lastMessage, nullptr, 0, 0, PM_REMOVE) == 0) {
        return false;
    }
    message->window = reinterpret_cast<PlatWindow>(s_lastMessage.hwnd);
    message->message = s_lastMessage.message;
    message->wParam = static_cast<uintptr_t>(s_lastMessage.wParam);
    message->lParam = static_cast<intptr_t>(s_lastMessage.lParam);
    return true;
}

void PlatTranslateMessage(const PlatMessage& message)
{
    MSG native = NativeMessage(message);
    TranslateMessage(&native);
}

intptr_t PlatDispatchMessage(const PlatMessage& message)
{
    MSG native = NativeMessage(message);
    return static_cast<intptr_t>(DispatchMessageA(&native));
}

intptr_t PlatDefWindowProc(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return static_cast<intptr_t>(DefWindowProcA(
        Win32Window(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
}

void PlatBeginPaint(PlatWindow window)
{
    BeginPaint(Win32Window(window), &s_paint);
}

void PlatEndPaint(PlatWindow window)
{
    EndPaint(Win32Window(window), &s_paint);
}

void PlatPostQuitMessage(int exitCode)
{
    PostQuitMessage(exitCode);
}

int PlatPostMessage(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return PostMessageA(Win32Window(window), message, static_cast<WPARAM>(wParam),
                        static_cast<LPARAM>(lParam));
}

int PlatShowCursor(bool show)
{
    return ShowCursor(show ? TRUE : FALSE);
}

uint32_t PlatGetTickCount()
{
    return Win32ReadTicks();
}

int16_t PlatGetAsyncKeyState(int virtualKey)
{
    return GetAsyncKeyState(virtualKey);
}

// Windows asks a window to end through its messages, which the main loop reads.
bool PlatEndRequested()
{
    return false;
}

const char* PlatLastError()
{
    return s_lastError;
}
