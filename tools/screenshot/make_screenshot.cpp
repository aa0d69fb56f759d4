// Plays a short scripted game on the in-memory backend and saves the last
// frame as a PNG: the README's picture, made from the game's own frames.
//   dellomar_screenshot OUT.png   (run in the game folder)
#include "app/app_shell.h"
#include "field/mine_field.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_video.h"
#include "screens/play_screen.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace {

void Frame(int32_t dx, int32_t dy, bool left, bool right)
{
    FakeInputQueueKeys({});
    FakeInputQueueMouse(dx, dy, left, right);
    PlayFrame();
}

void AimAt(int32_t x, int32_t y)
{
    Frame(x * CELL_PITCH + 11 - HOTSPOT_OFFSET - g_cursorX,
          y * CELL_PITCH + 11 - HOTSPOT_OFFSET - g_cursorY, false, false);
}

void Click(bool left)
{
    Frame(0, 0, left, !left);
    Frame(0, 0, false, false);
}

// Opens the zero nearest the middle, so a flood lays open a patch of numbers.
std::pair<int32_t, int32_t> MiddleZero()
{
    std::pair<int32_t, int32_t> best{12, 12};
    int32_t bestDistance = 1 << 30;
    for (int32_t x = 0; x < fieldSize; ++x) {
        for (int32_t y = 0; y < fieldSize; ++y) {
            int32_t distance = (x - 9) * (x - 9) + (y - 12) * (y - 12);
            if (cellValue[x][y] == 0 && distance < bestDistance) {
                best = {x, y};
                bestDistance = distance;
            }
        }
    }
    return best;
}

bool NextToOpen(int32_t x, int32_t y)
{
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            if (CellInside(x + dx, y + dy) && StateIsOpen(cellState[x + dx][y + dy])) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: dellomar_screenshot OUT.png (run in the game folder)\n");
        return 2;
    }
    FakeResetAll();
    FakeSetTicks(20240611); // a fixed board
    FakeSetTickStep(1000);
    PlatWindowClass windowClass{};
    windowClass.windowProc = MainWindowProc;
    windowClass.className = WINDOW_CLASS_NAME;
    PlatRegisterClass(windowClass);
    g_mainWindow = PlatCreateWindow(0, WINDOW_CLASS_NAME, WINDOW_CAPTION, 0, 0, 0, SCREEN_WIDTH,
                                    SCREEN_HEIGHT, nullptr);
    GameStartup();

    auto [zx, zy] = MiddleZero();
    AimAt(zx, zy);
    Click(true);
    // Flag the mines on the edge of the opened patch, and one opened by mistake.
    int flags = 0;
    std::pair<int32_t, int32_t> bang{-1, -1};
    for (int32_t x = 0; x < fieldSize; ++x) {
        for (int32_t y = 0; y < fieldSize; ++y) {
            if (cellValue[x][y] == MINE && NextToOpen(x, y)) {
                if (bang.first < 0 && x > zx + 2) {
                    bang = {x, y};
                    continue;
                }
                if (flags < 7) {
                    AimAt(x, y);
                    Click(false);
                    ++flags;
                }
            }
        }
    }
    if (bang.first >= 0) {
        AimAt(bang.first, bang.second);
        Click(true);
    }
    // Rest the lamp over the opened patch, on a numbered cell near its middle.
    AimAt(zx + 1, zy);
    Frame(0, 0, false, false);
    bool saved = FakeSavePresentedPng(argv[1]);
    GameShutdown();
    if (!saved) {
        std::fprintf(stderr, "dellomar_screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
