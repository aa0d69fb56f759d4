#include "platform/common/message_queue.h"

#include <deque>
#include <string>
#include <vector>

namespace {

struct ClassRecord {
    std::string name;
    PlatWindowProc proc;
};

// A window handle is its index + 1, so that null stays "no window".
std::vector<ClassRecord> s_classes;
std::vector<PlatWindowProc> s_windows;
std::deque<PlatMessage> s_queue;
bool s_quitPosted = false;
int s_quitCode = 0;

PlatWindowProc ProcOf(PlatWindow window)
{
    auto index = reinterpret_cast<uintptr_t>(window);
    if (index == 0 || index > s_windows.size()) {
        return nullptr;
    }
    return s_windows[index - 1];
}

} // namespace

int QueueRegisterClass(const PlatWindowClass& windowClass)
{
    if (windowClass.className == nullptr || windowClass.windowProc == nullptr) {
        return 0;
    }
    for (const ClassRecord& record : s_classes) {
        if (record.name == windowClass.className) {
            return 0; // a class name is registered once, as on the native system
        }
    }
    s_classes.push_back({windowClass.className, windowClass.windowProc});
    return static_cast<int>(s_classes.size());
}

PlatWindow QueueCreateWindow(const char* className)
{
    if (className == nullptr) {
        return nullptr;
    }
    for (const ClassRecord& record : s_classes) {
        if (record.name == className) {
            s_windows.push_back(record.proc);
            return reinterpret_cast<PlatWindow>(static_cast<uintptr_t>(s_windows.size()));
        }
    }
    return nullptr;
}

bool QueuePeek(PlatMessage* message)
{
    if (!s_queue.empty()) {
        *message = s_queue.front();
        s_queue.pop_front();
        return true;
    }
    // The quit message is synthesised once the queue has drained, the way the
    // native queue treats it: posted messages come first.
    if (s_quitPosted) {
        s_quitPosted = false;
        *message = {nullptr, PLAT_MSG_QUIT, static_cast<uintptr_t>(s_quitCode), 0};
        return true;
    }
    return false;
}

intptr_t QueueDispatch(const PlatMessage& message)
{
    PlatWindowProc proc = ProcOf(message.window);
    if (proc == nullptr) {
        return 0;
    }
    return proc(message.window, message.message, message.wParam, message.lParam);
}

void QueuePostQuit(int exitCode)
{
    s_quitPosted = true;
    s_quitCode = exitCode;
}

int QueuePost(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (window != nullptr && ProcOf(window) == nullptr) {
        return 0;
    }
    s_queue.push_back({window, message, wParam, lParam});
    return 1;
}

PlatWindow QueueMainWindow()
{
    return s_windows.empty() ? nullptr : reinterpret_cast<PlatWindow>(uintptr_t{1});
}

void QueueReset()
{
    s_classes.clear();
    s_windows.clear();
    s_queue.clear();
    s_quitPosted = false;
    s_quitCode = 0;
}
