// Opens the game window and the input devices on the SDL backend, says
// "ready", then reads keyboard and mouse every few milliseconds and prints
// what arrives: each key byte that turns non-zero, each motion, the left and
// right button bytes, and the live (asynchronous) state of Escape and Alt that
// the quit keys use. Ends once it has seen DIK_1, some motion, both buttons
// and both live keys, or after the time given as its first argument (seconds,
// default 20). The second argument is the pause between reads (ms, default
// 10); a long one lets quick taps fall between two reads.
#include "app/app_shell.h"
#include "input/keyboard_mouse.h"
#include "platform/sdl/sdl_internal.h"

#include <cstdio>
#include <cstdlib>

namespace {

intptr_t CheckWindowProc(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return PlatDefWindowProc(window, message, wParam, lParam);
}

bool OpenWindow()
{
    static char instanceTag;
    PlatWindowClass windowClass{};
    windowClass.windowProc = CheckWindowProc;
    windowClass.className = WINDOW_CLASS_NAME;
    if (PlatRegisterClass(windowClass) == 0) {
        return false;
    }
    g_appInstance = reinterpret_cast<PlatInstance>(&instanceTag);
    g_mainWindow = PlatCreateWindow(0, WINDOW_CLASS_NAME, "Dellomar input check",
                                    PLAT_WS_POPUP | PLAT_WS_VISIBLE, 0, 0, SCREEN_WIDTH,
                                    SCREEN_HEIGHT, g_appInstance);
    return g_mainWindow != nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? std::atoi(argv[1]) : 20;
    int pause = argc > 2 ? std::atoi(argv[2]) : 10;
    if (!OpenWindow()) {
        std::printf("no window: %s\n", PlatLastError());
        return 2;
    }
    int input = InputOpen();
    int keyboard = KeyboardOpen();
    int mouse = MouseOpen();
    std::printf("open input=%d keyboard=%d mouse=%d\n", input, keyboard, mouse);
    std::printf("ready\n");
    std::fflush(stdout);

    bool key = false;
    bool moved = false;
    bool left = false;
    bool right = false;
    bool failed = false;
    bool seenKeys[KEY_STATE_SIZE] = {};
    bool escape = false;
    bool alt = false;
    int32_t totalX = 0;
    int32_t totalY = 0;
    uint32_t end = SDL_GetTicks() + static_cast<uint32_t>(seconds) * 1000u;
    auto allSeen = [&] { return key && moved && left && right && escape && alt; };
    while (!allSeen() && SDL_GetTicks() < end) {
        int keyboardRead = KeyboardRead();
        int mouseRead = MouseRead();
        if (!failed && (keyboardRead != 1 || mouseRead != 1)) {
            failed = true;
            std::printf("read failed keyboard=%d mouse=%d\n", keyboardRead, mouseRead);
        }
        for (size_t code = 0; code < KEY_STATE_SIZE; ++code) {
            if (g_keyState[code] != 0 && !seenKeys[code]) {
                seenKeys[code] = true;
                std::printf("key 0x%02zx 0x%02x\n", code, g_keyState[code]);
            }
        }
        key = seenKeys[DIK_1];
        if (g_mouseState.dx != 0 || g_mouseState.dy != 0) {
            moved = true;
            totalX += g_mouseState.dx;
            totalY += g_mouseState.dy;
            std::printf("motion %d %d\n", g_mouseState.dx, g_mouseState.dy);
        }
        if (!left && g_mouseState.buttons[MOUSE_BUTTON_LEFT] != 0) {
            left = true;
            std::printf("button left 0x%02x\n", g_mouseState.buttons[MOUSE_BUTTON_LEFT]);
        }
        if (!right && g_mouseState.buttons[MOUSE_BUTTON_RIGHT] != 0) {
            right = true;
            std::printf("button right 0x%02x\n", g_mouseState.buttons[MOUSE_BUTTON_RIGHT]);
        }
        if (!escape && AsyncKeyDown(VK_ESCAPE)) {
            escape = true;
            std::printf("live escape\n");
        }
        if (!alt && AsyncKeyDown(VK_MENU)) {
            alt = true;
            std::printf("live alt\n");
        }
        std::fflush(stdout);
        SDL_Delay(static_cast<Uint32>(pause));
    }
    std::printf("%s total %d %d\n", allSeen() ? "seen" : "timeout", totalX, totalY);
    std::fflush(stdout);
    KeyboardClose();
    MouseClose();
    InputClose();
    SDL_Quit();
    return allSeen() ? 0 : 1;
}
