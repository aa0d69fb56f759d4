// The window class and message calls of the backends whose queue is
// message_queue.cpp and that add nothing of their own to them (SDL and the web
// page; the fake records each call, so it keeps its own). There is no painting to bracket and no
// key translation: the queue already carries what the game reads.
#include "platform/common/last_error.h"
#include "platform/common/message_queue.h"
#include "platform/system.h"

int PlatRegisterClass(const PlatWindowClass& windowClass)
{
    int result = QueueRegisterClass(windowClass);
    if (result == 0) {
        NoteLastError("the window class could not be registered");
    }
    return result;
}

void PlatTranslateMessage(const PlatMessage&) {}

intptr_t PlatDispatchMessage(const PlatMessage& message)
{
    return QueueDispatch(message);
}

intptr_t PlatDefWindowProc(PlatWindow, uint32_t, uintptr_t, intptr_t)
{
    return 0;
}

void PlatBeginPaint(PlatWindow) {}
void PlatEndPaint(PlatWindow) {}

void PlatPostQuitMessage(int exitCode)
{
    QueuePostQuit(exitCode);
}

int PlatPostMessage(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return QueuePost(window, message, wParam, lParam);
}
