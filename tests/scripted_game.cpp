#include "tests/scripted_game.h"

#include "app/app_shell.h"
#include "input/keyboard_mouse.h"
#include "field/mine_field.h"
#include "platform/entry.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_video.h"
#include "screens/play_screen.h"
#include "tests/test_support.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <span>

namespace {

using Keys = std::vector<uint8_t>;
using Step = std::function<void()>;

uint64_t Fnv1a(const uint8_t* bytes, size_t size)
{
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
    return hash;
}

std::string Line(const char* what, uint64_t count, uint64_t hash)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s %" PRIu64 " %016" PRIx64, what, count, hash);
    return text;
}

// One play frame: the cursor moved to (x, y), these buttons and keys down.
void QueueFrame(int32_t x, int32_t y, bool left = false, bool right = false, Keys keys = {})
{
    FakeInputQueueKeys(keys);
    FakeInputQueueMouse(x - g_cursorX, y - g_cursorY, left, right);
}

int32_t CellCursor(int32_t cell)
{
    return cell * CELL_PITCH + 11 - HOTSPOT_OFFSET;
}

// Aim at the cell, then press and release a button over three frames.
void Click(std::vector<Step>& script, int32_t cx, int32_t cy, bool left)
{
    script.push_back([=] { QueueFrame(CellCursor(cx), CellCursor(cy)); });
    script.push_back([=] { QueueFrame(g_cursorX, g_cursorY, left, !left); });
    script.push_back([=] { QueueFrame(g_cursorX, g_cursorY); });
}

// Holds the left button over a menu button for one frame.
void Menu(std::vector<Step>& script, int32_t y, std::vector<Keys> entryKeys = {})
{
    script.push_back([=] { QueueFrame(680, y); });
    script.push_back([=] {
        QueueFrame(680, y, true);
        if (!entryKeys.empty()) {
            FakeInputQueueMouse(0, 0, false, false); // released on the first entry frame
        }
        for (const Keys& keys : entryKeys) {
            FakeInputQueueKeys(keys);
        }
    });
    script.push_back([=] { QueueFrame(g_cursorX, g_cursorY); });
}

std::vector<Keys> Typed(const char* digits)
{
    std::vector<Keys> frames;
    for (const char* c = digits; *c != '\0'; ++c) {
        frames.push_back({*c == '0' ? DIK_0 : static_cast<uint8_t>(DIK_1 + (*c - '1'))});
        frames.push_back({});
    }
    frames.push_back({DIK_RETURN});
    frames.push_back({});
    return frames;
}

std::vector<Step> Script()
{
    std::vector<Step> script;
    for (auto [x, y] : {std::pair{2, 2}, {12, 12}, {20, 5}, {5, 20}, {18, 18}, {7, 9}}) {
        Click(script, x, y, true);
    }
    Click(script, 3, 3, false);
    Click(script, 10, 10, false);
    script.push_back([] { QueueFrame(100, -30); }); // the lamp cropped at the top
    script.push_back([] { QueueFrame(-57, 400); });
    Menu(script, 150); // Save
    Click(script, 15, 3, true);
    Click(script, 1, 1, false);
    Menu(script, 100); // Load
    std::vector<Keys> answers = Typed("13");
    std::vector<Keys> count = Typed("30");
    answers.insert(answers.end(), count.begin(), count.end());
    Menu(script, 50, answers); // New
    for (auto [x, y] : {std::pair{6, 6}, {2, 9}, {10, 3}, {9, 10}}) {
        Click(script, x, y, true);
    }
    Click(script, 4, 4, false);
    Menu(script, 150); // Save
    script.push_back([] {
        FakeInputQueueKeys(Keys{DIK_F12});
        FakeInputQueueKeys(Keys{DIK_7}); // shown in the credits, never used
        FakeInputQueueKeys(Keys{});
        FakeInputQueueKeys(Keys{DIK_RETURN});
        FakeInputQueueKeys(Keys{});
    });
    return script;
}

} // namespace

std::vector<std::string> PlayScriptedGame()
{
    std::vector<std::string> record;
    int presented = 0;
    std::vector<uint8_t> saved;
    auto note = [&] {
        if (FakeVideoPresentCount() != presented) {
            presented = FakeVideoPresentCount();
            std::span<const uint16_t> frame = FakeVideoPresentedFrame();
            record.push_back(
                Line("frame", static_cast<uint64_t>(presented),
                     Fnv1a(reinterpret_cast<const uint8_t*>(frame.data()), frame.size_bytes())));
        }
        std::vector<uint8_t> bytes = ReadFileBytes("save.gm");
        if (bytes != saved) {
            saved = bytes;
            record.push_back(Line("save", bytes.size(), Fnv1a(bytes.data(), bytes.size())));
        }
    };
    std::vector<Step> script = Script();
    FakeSetTickStep(1000); // every frame wait ends at once
    FakeSetPeekHook([&](int pass) {
        note();
        if (static_cast<size_t>(pass) < script.size()) {
            script[static_cast<size_t>(pass)]();
        }
    });
    int exitCode = AppMain(reinterpret_cast<PlatInstance>(uintptr_t{1}), nullptr, "", 0);
    FakeSetPeekHook(nullptr);
    note();
    record.push_back(Line("exit", static_cast<uint64_t>(exitCode), 0));
    return record;
}
