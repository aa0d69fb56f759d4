#include "platform/fake/fake_system.h"

#include "platform/common/message_queue.h"
#include "platform/fake/fake_core.h"
#include "platform/system.h"

#include <array>
#include <utility>

namespace {

uint32_t s_ticks = 0;
uint32_t s_tickStep = 1;
int s_tickReads = 0;
std::array<bool, 256> s_asyncKeys{};
bool s_failClass = false;
bool s_failWindow = false;
int s_cursorShowCount = 0;
const char* s_lastError = "";
std::function<void(int)> s_peekHook;
int s_peeks = 0;
bool s_endRequested = false;

} // namespace

void FakeSystemReset()
{
    QueueReset();
    s_ticks = 0;
    s_tickStep = 1;
    s_tickReads = 0;
    s_asyncKeys.fill(false);
    s_failClass = false;
    s_failWindow = false;
    s_cursorShowCount = 0;
    s_lastError = "";
    s_peekHook = nullptr;
    s_peeks = 0;
    s_endRequested = false;
}

void FakeSetTicks(uint32_t ticks)
{
    s_ticks = ticks;
}
void FakeSetTickStep(uint32_t step)
{
    s_tickStep = step;
}
uint32_t FakeTicks()
{
    return s_ticks;
}
int FakeTickReads()
{
    return s_tickReads;
}

void FakeSetAsyncKey(int virtualKey, bool down)
{
    s_asyncKeys[static_cast<size_t>(virtualKey) & 0xFF] = down;
}

void FakeFailWindowSetup(bool failClass, bool failWindow)
{
    s_failClass = failClass;
    s_failWindow = failWindow;
}

int FakeCursorShowCount()
{
    return s_cursorShowCount;
}

void FakeRequestEnd()
{
    s_endRequested = true;
}

bool PlatEndRequested()
{
    return s_endRequested;
}

void FakeSetPeekHook(std::function<void(int)> hook)
{
    s_peekHook = std::move(hook);
}

int PlatRegisterClass(const PlatWindowClass& windowClass)
{
    FakeNote("RegisterClass");
    if (s_failClass) {
        s_lastError = "class registration refused";
        return 0;
    }
    return QueueRegisterClass(windowClass);
}

PlatWindow PlatCreateWindow(uint32_t, const char* className, const char*, uint32_t, int32_t,
                            int32_t, int32_t, int32_t, PlatInstance)
{
    FakeNote("CreateWindow");
    if (s_failWindow) {
        s_lastError = "no display available";
        return nullptr;
    }
    PlatWindow window = QueueCreateWindow(className);
    if (window != nullptr) {
        PlatMessage create{window, PLAT_MSG_CREATE, 0, 0};
        QueueDispatch(create);
    }
    return window;
}

bool PlatPeekMessage(PlatMessage* message)
{
    FakeNote("PeekMessage");
    if (s_peekHook) {
        s_peekHook(s_peeks);
    }
    ++s_peeks;
    return QueuePeek(message);
}

void PlatTranslateMessage(const PlatMessage&) {}

intptr_t PlatDispatchMessage(const PlatMessage& message)
{
    FakeNote("DispatchMessage");
    return QueueDispatch(message);
}

intptr_t PlatDefWindowProc(PlatWindow, uint32_t, uintptr_t, intptr_t)
{
    FakeNote("DefWindowProc");
    return 0;
}

void PlatBeginPaint(PlatWindow)
{
    FakeNote("BeginPaint");
}
void PlatEndPaint(PlatWindow)
{
    FakeNote("EndPaint");
}

void PlatPostQuitMessage(int exitCode)
{
    FakeNote("PostQuitMessage");
    QueuePostQuit(exitCode);
}

int PlatPostMessage(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    FakeNote("PostMessage");
    return QueuePost(window, message, wParam, lParam);
}

int PlatShowCursor(bool show)
{
    FakeNote("ShowCursor");
    s_cursorShowCount += show ? 1 : -1;
    return s_cursorShowCount;
}

uint32_t PlatGetTickCount()
{
    ++s_tickReads;
    uint32_t now = s_ticks;
    s_ticks += s_tickStep; // wraps, like the real counter
    return now;
}

int16_t PlatGetAsyncKeyState(int virtualKey)
{
    return s_asyncKeys[static_cast<size_t>(virtualKey) & 0xFF] ? static_cast<int16_t>(-32768)
                                                               : int16_t{0};
}

const char* PlatLastError()
{
    return s_lastError;
}
