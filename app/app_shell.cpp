#include "app/app_shell.h"

#include "platform/entry.h"
#include "screens/play_screen.h"

#include <cstdio>

namespace {

PlatWindowClass MainWindowClass(PlatInstance instance)
{
    PlatWindowClass windowClass{};
    windowClass.style = WINDOW_CLASS_STYLE;
    windowClass.windowProc = MainWindowProc;
    windowClass.instance = instance;
    windowClass.icon = PLAT_STOCK_ICON_APPLICATION;
    windowClass.smallIcon = PLAT_STOCK_ICON_APPLICATION;
    windowClass.cursor = PLAT_STOCK_CURSOR_CROSS;
    windowClass.background = PLAT_STOCK_BRUSH_BLACK;
    windowClass.className = WINDOW_CLASS_NAME;
    return windowClass;
}

// Without a window nothing of the game can run; saying so beats a silent exit.
int FailWithoutWindow(const char* what)
{
    std::fprintf(stderr, "dellomar: %s: %s\n", what, PlatLastError());
    return EXIT_NO_WINDOW;
}

} // namespace

intptr_t MainWindowProc(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case WM_CREATE:
        return 0;
    case WM_DESTROY:
        PlatPostQuitMessage(0);
        return 0;
    case WM_PAINT:
        PlatBeginPaint(window);
        PlatEndPaint(window);
        return 0;
    default:
        return PlatDefWindowProc(window, message, wParam, lParam);
    }
}

int OpenMainWindow(PlatInstance instance)
{
    if (PlatRegisterClass(MainWindowClass(instance)) == 0) {
        return FailWithoutWindow("cannot register the window class");
    }
    PlatWindow window = PlatCreateWindow(0, WINDOW_CLASS_NAME, WINDOW_CAPTION,
                                         PLAT_WS_POPUP | PLAT_WS_VISIBLE, 0, 0, SCREEN_WIDTH,
                                         SCREEN_HEIGHT, instance);
    if (window == nullptr) {
        return FailWithoutWindow("cannot open the game window");
    }
    g_mainWindow = window;
    g_appInstance = instance;
    return 0;
}

int AppMain(PlatInstance instance, PlatInstance, const char*, int)
{
    int failure = OpenMainWindow(instance);
    if (failure != 0) {
        return failure;
    }
    GameStartup();
    PlatMessage message{};
    for (;;) {
        if (PlatPeekMessage(&message)) {
            if (message.message == WM_QUIT) {
                break;
            }
            PlatTranslateMessage(message);
            PlatDispatchMessage(message);
        }
        PlayFrame();
    }
    GameShutdown();
    return static_cast<int>(message.wParam);
}
