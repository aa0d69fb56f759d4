#include "tests/play_support.h"

#include "app/app_shell.h"
#include "display/display_device.h"
#include "input/keyboard_mouse.h"
#include "platform/fake/fake_audio.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_video.h"
#include "screens/play_screen.h"
#include "screens/screen_drawing.h"
#include "sound/sound_effects.h"

#include <span>
#include <vector>

void PlayTest::SetUp()
{
    GameTest::SetUp();
    CopyGameData();
    FakeSetTickStep(1000); // every frame wait ends at once
    OpenMainWindow(nullptr);
    GameStartup();
}

void PlayTest::TearDown()
{
    GameShutdown();
    GameTest::TearDown();
}

void PlayTest::Frame(int32_t dx, int32_t dy, bool left, bool right,
                     std::initializer_list<uint8_t> keys)
{
    FakeInputQueueKeys(keys);
    FakeInputQueueMouse(dx, dy, left, right);
    PlayFrame();
}

void PlayTest::MoveTo(int32_t x, int32_t y)
{
    Frame(x - g_cursorX, y - g_cursorY);
}

void PlayTest::AimAt(int32_t x, int32_t y)
{
    MoveTo(x * CELL_PITCH + 11 - HOTSPOT_OFFSET, y * CELL_PITCH + 11 - HOTSPOT_OFFSET);
}

void PlayTest::LeftClick()
{
    Frame(0, 0, true, false);
    Frame(0, 0, false, false);
}

void PlayTest::RightClick()
{
    Frame(0, 0, false, true);
    Frame(0, 0, false, false);
}

int PlayTest::Plays(int soundId)
{
    if (soundId < 0 || soundId >= SOUND_SLOT_COUNT) {
        return 0;
    }
    return FakeAudioPlayCount(g_soundSlots[soundId].buffer);
}

bool PlayTest::ShowsPiece(const AtlasPiece& piece, int32_t x, int32_t y)
{
    int32_t sx = piece.x;
    int32_t sy = piece.y;
    std::span<const uint16_t> frame = FakeVideoPresentedFrame();
    const auto* atlas = reinterpret_cast<const uint16_t*>(g_tileAtlas.pixels);
    int32_t atlasWidth = g_tileAtlas.infoHeader.biWidth;
    int shown = 0;
    for (int32_t dy = 1; dy < 23; ++dy) {
        for (int32_t dx = 1; dx < 23; ++dx) {
            uint16_t piece = atlas[(sy + dy) * atlasWidth + sx + dx];
            if (piece == 0) {
                continue;
            }
            if (frame[static_cast<size_t>((y + dy) * SCREEN_WIDTH + x + dx)] != piece) {
                return false;
            }
            ++shown;
        }
    }
    return shown > 0;
}

bool PlayTest::ShowsBackdrop(int32_t cellX, int32_t cellY)
{
    std::span<const uint16_t> frame = FakeVideoPresentedFrame();
    for (int32_t dy = 0; dy < CELL_PITCH; ++dy) {
        for (int32_t dx = 0; dx < CELL_PITCH; ++dx) {
            int32_t x = cellX * CELL_PITCH + dx;
            int32_t y = cellY * CELL_PITCH + dy;
            if (frame[static_cast<size_t>(y * SCREEN_WIDTH + x)] !=
                g_fieldBackdrop.pixels[y * g_fieldBackdrop.width + x]) {
                return false;
            }
        }
    }
    return true;
}

int PlayTest::TextPixels(int32_t x, int32_t y, int32_t w, int32_t h)
{
    std::span<const uint16_t> frame = FakeVideoPresentedFrame();
    auto colour = static_cast<uint16_t>(PackRGB(70, 150, 60));
    int count = 0;
    for (int32_t row = y; row < y + h; ++row) {
        for (int32_t column = x; column < x + w; ++column) {
            count += frame[static_cast<size_t>(row * SCREEN_WIDTH + column)] == colour;
        }
    }
    return count;
}
