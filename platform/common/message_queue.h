// The window registry and message queue shared by the backends that have no
// native queue (SDL, the web page and the fake). Behaves like the native one as far as the
// game can tell: FIFO, one message removed per peek, a quit request is
// delivered once everything posted before it has been removed.
#pragma once

#include "platform/system.h"

int QueueRegisterClass(const PlatWindowClass& windowClass);
PlatWindow QueueCreateWindow(const char* className);
bool QueuePeek(PlatMessage* message);
intptr_t QueueDispatch(const PlatMessage& message);
void QueuePostQuit(int exitCode);
int QueuePost(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam);
// The first window created, which is the game's main window.
PlatWindow QueueMainWindow();
// Forgets every class, window and message (tests start afresh).
void QueueReset();
