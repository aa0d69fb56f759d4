#include "fuzz/fuzz_entries.h"

#include "app/app_shell.h"
#include "display/bitmap_loader.h"
#include "display/display_device.h"
#include "display/sprite.h"
#include "field/mine_field.h"
#include "field/saved_game.h"
#include "input/keyboard_mouse.h"
#include "platform/fake/fake_audio.h"
#include "platform/fake/fake_core.h"
#include "tests/headless_game.h"
#include "platform/fake/fake_file.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_system.h"
#include "screens/entry_screen.h"
#include "screens/play_screen.h"
#include "screens/screen_drawing.h"
#include "sound/sound_effects.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

// Game files by the name the game asks for, read from the built game folder.
std::map<std::string, std::vector<uint8_t>> s_gameData;

bool Fail(const char* what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    return false;
}

std::vector<uint8_t> ReadHostFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void PutGameData()
{
    for (const auto& [name, bytes] : s_gameData) {
        FakeFileSetContents(name, bytes);
    }
}

// A fresh game as the shell would start it, with a clock that never makes a
// frame wait.
void FreshGame()
{
    ResetHeadlessGame();
    FakeSetTickStep(1000);
}

// ---- pictures ----

// A screen with a band of known pixels on each side, to tell a draw that
// strayed beyond it.
constexpr int32_t SCREEN_W = 64;
constexpr int32_t SCREEN_H = 48;
constexpr size_t GUARD = 256;
constexpr uint16_t GUARD_PIXEL = 0xA5A5;

bool DrawCuts(const Bitmap& bitmap)
{
    std::vector<uint16_t> screen(GUARD + SCREEN_W * SCREEN_H + GUARD, GUARD_PIXEL);
    uint16_t* pixels = screen.data() + GUARD;
    const int32_t w = bitmap.infoHeader.biWidth;
    const int32_t h = bitmap.infoHeader.biHeight;
    struct Cut {
        int32_t cx, cy, w, h, mode, x, y;
    };
    const Cut cuts[] = {{0, 0, 24, 24, GRAB_PIXEL, 0, 0},
                        {w - 5, h - 7, 24, 24, GRAB_PIXEL, SCREEN_W - 10, SCREEN_H - 10},
                        {-8, -8, 30, 20, GRAB_PIXEL, -12, -5},
                        {1, 1, 23, 23, GRAB_CELL, 20, 20},
                        {w / 2, h / 2, 120, 120, GRAB_PIXEL, -40, -40},
                        {0, 0, 575, 575, GRAB_PIXEL, 0, 0}};
    for (const Cut& cut : cuts) {
        Sprite sprite{};
        if (SpriteCreate(&sprite, cut.x, cut.y, cut.w, cut.h, 16) == 0) {
            return Fail("sprite creation");
        }
        if (SpriteGrab(&sprite, &bitmap, cut.cx, cut.cy, cut.mode) != 0) {
            SpriteDrawClipped(&sprite, pixels, SCREEN_W * 2, SCREEN_W, SCREEN_H, 1);
            SpriteDrawClipped(&sprite, pixels, SCREEN_W * 2, SCREEN_W, SCREEN_H, 0);
        }
        SpriteDestroy(&sprite);
    }
    for (size_t i = 0; i < GUARD; ++i) {
        if (screen[i] != GUARD_PIXEL || screen[screen.size() - 1 - i] != GUARD_PIXEL) {
            return Fail("a sprite drew outside the screen");
        }
    }
    return true;
}

bool LoadedBitmapIsSound(const Bitmap& bitmap)
{
    const BitmapInfoHeader& info = bitmap.infoHeader;
    if (bitmap.pixels == nullptr) {
        return Fail("loaded without pixels");
    }
    if (info.biWidth <= 0 || info.biHeight <= 0 || info.biWidth > BITMAP_MAX_SIDE ||
        info.biHeight > BITMAP_MAX_SIDE) {
        return Fail("loaded with impossible dimensions");
    }
    if (info.biBitCount != 8 && info.biBitCount != 16) {
        return Fail("loaded with a depth the game cannot draw");
    }
    return true;
}

// ---- saved game ----

// A 32 x 32 24-bit picture of a few colours.
std::vector<uint8_t> SmallBackdrop()
{
    constexpr uint32_t side = 32;
    constexpr uint32_t pixelBytes = side * side * 3;
    constexpr uint32_t offset = BITMAP_FILE_HEADER_BYTES + BITMAP_INFO_HEADER_BYTES;
    std::vector<uint8_t> bytes;
    auto put = [&bytes](uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            bytes.push_back(i < 4 ? static_cast<uint8_t>(value >> (8 * i)) : uint8_t{0});
        }
    };
    put(BITMAP_MAGIC, 2);
    put(offset + pixelBytes, 4);
    put(0, 4);
    put(offset, 4);
    put(BITMAP_INFO_HEADER_BYTES, 4);
    put(side, 4);
    put(side, 4);
    put(1, 2);
    put(24, 2);
    put(0, 4);
    put(pixelBytes, 4);
    put(0, 16);
    for (uint32_t i = 0; i < side * side; ++i) {
        put(i * 0x9E3779B1u, 3);
    }
    return bytes;
}

// Queues a move of the cursor to (x, y) and a second step there, with the
// buttons as given for the first and released for the second.
void QueueStepsAt(int32_t x, int32_t y, bool left, bool right)
{
    FakeInputQueueMouse(x - g_cursorX, y - g_cursorY, left, right);
    FakeInputQueueMouse(0, 0, false, false);
}

int32_t CellCursor(int32_t cell)
{
    return cell * CELL_PITCH + CELL_PITCH / 2 - HOTSPOT_OFFSET;
}

bool FieldInRange()
{
    if (!FieldHeld()) {
        return true;
    }
    if (fieldSize < SAVE_MIN_SIZE || fieldSize > SAVE_MAX_SIZE) {
        return Fail("field size out of range");
    }
    for (int32_t x = 0; x < fieldSize; ++x) {
        for (int32_t y = 0; y < fieldSize; ++y) {
            if (cellValue[x][y] < 0 || cellValue[x][y] > MINE) {
                return Fail("cell value out of range");
            }
            if (cellState[x][y] < STATE_HIDDEN || cellState[x][y] > STATE_OPEN) {
                return Fail("cell state out of range");
            }
        }
    }
    return true;
}

// One PlayFrame per queued mouse step; the keyboard stays idle.
bool RunFrames(int frames)
{
    for (int i = 0; i < frames; ++i) {
        PlayFrame();
        if (!FieldInRange()) {
            return false;
        }
    }
    return true;
}

// Clicks and flags at the corners, the middle and beside the border of the
// loaded board, then holds Save and Load, then pushes the cursor to the limits.
bool PlayLoadedBoard()
{
    const int32_t last = fieldSize - 1;
    const int32_t cells[][2] = {{0, 0},    {last, last}, {1, 2}, {last / 2, last / 2},
                                {last, 0}, {0, last},    {2, 1}};
    for (const auto& cell : cells) {
        QueueStepsAt(CellCursor(cell[0]), CellCursor(cell[1]), true, false);
        if (!RunFrames(2)) {
            return false;
        }
    }
    for (const auto& cell : {cells[2], cells[3], cells[6]}) {
        QueueStepsAt(CellCursor(cell[0]), CellCursor(cell[1]), false, true);
        if (!RunFrames(2)) {
            return false;
        }
    }
    // Save, then Load, held for one frame each (the field is narrower than the
    // menu), where the board lets the cursor reach them: on a small board the
    // cursor stops higher up, and holding it over New would open the dialog,
    // which waits for Enter.
    for (int button : {MENU_SAVE, MENU_LOAD}) {
        int32_t buttonY = MENU_BUTTONS[button].screenY + BUTTON_HEIGHT / 2;
        if (buttonY > fieldSize * CELL_PITCH - HOTSPOT_OFFSET) {
            continue;
        }
        QueueStepsAt(MENU_X + 20, buttonY, true, false);
        if (!RunFrames(2)) {
            return false;
        }
    }
    FakeInputQueueMouse(1 << 30, 1 << 30, false, false);
    FakeInputQueueMouse(-(1 << 30), -(1 << 30), true, false);
    FakeInputQueueMouse(0, 0, false, false);
    return RunFrames(3);
}

} // namespace

void FuzzLoadGameData()
{
    if (!s_gameData.empty()) {
        return;
    }
    const std::string game = DELLOMAR_GAME_DIR;
    const char* names[][2] = {{"Textures\\txtr.txr", "/Textures/txtr.txr"},
                              {"Sounds\\clk.wav", "/Sounds/clk.wav"},
                              {"Sounds\\bng.wav", "/Sounds/bng.wav"},
                              {"Sounds\\wd.wav", "/Sounds/wd.wav"}};
    for (const auto& name : names) {
        std::vector<uint8_t> bytes = ReadHostFile(game + name[1]);
        if (!bytes.empty()) {
            s_gameData[name[0]] = bytes;
        }
    }
    // A small backdrop: the real one is a megabyte to convert on every run,
    // and a smaller picture is cut the same way, clipped.
    s_gameData["Textures\\back.txr"] = SmallBackdrop();
}

bool FuzzBitmapInput(const uint8_t* data, size_t size)
{
    FreshGame();
    // Odd lengths convert to 5.5.5, even ones to 5.6.5.
    g_pixelFormat = (size & 1) != 0 ? PIXEL_FORMAT_555 : 16;
    FakeFileSetContents("Textures\\txtr.txr", std::vector<uint8_t>(data, data + size));

    Bitmap bitmap{};
    bool ok = true;
    if (BitmapLoad(&bitmap, "Textures\\txtr.txr") != 0) {
        ok = LoadedBitmapIsSound(bitmap);
        // A second load over a held picture must release or keep it, never leak it.
        uint8_t* held = bitmap.pixels;
        if (ok && BitmapLoad(&bitmap, "Textures\\missing.txr") != 0) {
            ok = Fail("a missing file loaded");
        }
        if (ok && bitmap.pixels != held) {
            ok = Fail("a failed load changed the held picture");
        }
        ok = ok && DrawCuts(bitmap);
    } else if (bitmap.pixels != nullptr) {
        ok = Fail("a refused file left pixels behind");
    }
    BitmapUnload(&bitmap);
    ResetHeadlessGame();
    return ok;
}

bool FuzzWavInput(const uint8_t* data, size_t size)
{
    FreshGame();
    if (SoundOpen() == 0) {
        return Fail("the fake sound device did not open");
    }
    // Odd lengths make the buffers' lock wrap into two regions.
    FakeAudioSetWriteCursor((size & 1) != 0 ? static_cast<uint32_t>(size / 3) : 0);
    FakeFileSetContents("Sounds\\x.wav", std::vector<uint8_t>(data, data + size));
    bool ok = true;
    for (int round = 0; round < 2 && ok; ++round) {
        int id = SoundLoadWav("Sounds\\x.wav", SOUND_LOAD_FLAGS);
        if (id == SOUND_NONE) {
            continue;
        }
        const SoundSlot& slot = g_soundSlots[id];
        const FakeSoundBufferInfo* info = FakeAudioBuffer(slot.buffer);
        if (slot.inUse != 1 || info == nullptr) {
            ok = Fail("a loaded sound has no buffer");
        } else if (info->bytes.size() != slot.byteLength) {
            ok = Fail("the buffer's size is not the sound's");
        } else if (SoundPlay(id, 0) != 1 || SoundPlay(id, 0) != 1) {
            ok = Fail("a loaded sound does not play");
        }
    }
    SoundStopAll();
    SoundDeleteAll();
    SoundClose();
    ResetHeadlessGame();
    return ok;
}

namespace {

// Starting the game (display, devices, pictures, sounds) costs more than
// everything a run does after it, so the game stays up between runs, and each
// run starts from the same board: the default one, made with the clock at 0.
void StartOrRewindGame()
{
    if (g_backSurface == nullptr) {
        FreshGame();
        PutGameData();
        GameStartup();
    }
    FakeClearCallLog();
    FakeClearFailures();
    FakeSetTicks(0);
    std::memset(g_keyState, 0, sizeof g_keyState);
    g_mouseState = MouseState{};
    g_cursorX = CURSOR_START;
    g_cursorY = CURSOR_START;
    g_inMenu = false;
    FreeField();
    fieldSize = DEFAULT_FIELD_SIZE;
    g_mineCount = DEFAULT_MINE_COUNT;
    GenerateField();
    LoadFieldGraphics();
}

} // namespace

bool FuzzSavedGameInput(const uint8_t* data, size_t size)
{
    FuzzLoadGameData();
    StartOrRewindGame();
    FakeFileSetContents(SAVE_FILE_NAME, std::vector<uint8_t>(data, data + size));
    LoadGame();
    return FieldInRange() && PlayLoadedBoard();
}

void FuzzSavedGameEnd()
{
    if (g_backSurface != nullptr) {
        GameShutdown();
    }
    ResetHeadlessGame();
}
