// Hours of play on the fake backend, through AppMain: random motion, clicks,
// flags, keys, new games of random sizes through the real dialog, saves, and
// loads of whole and damaged saved games written between frames, the credits
// last. After every frame the board must be in range and the back buffer's
// guard bands untouched; the heap in use after a last new game must be what
// it was after the first one of the same size.
#include "app/app_shell.h"
#include "field/mine_field.h"
#include "field/saved_game.h"
#include "input/keyboard_mouse.h"
#include "platform/entry.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_video.h"
#include "screens/entry_screen.h"
#include "screens/play_screen.h"
#include "tests/soak/counting_allocator.h"
#include "tests/test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

int64_t EnvNumber(const char* name, int64_t fallback)
{
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoll(text, nullptr, 10) : fallback;
}

// The menu buttons' middles; x is well right of any field.
constexpr int32_t MENU_MIDDLE_X = MENU_X + BUTTON_WIDTH / 2;
constexpr int32_t ButtonMiddleY(int button)
{
    return MENU_BUTTONS[button].screenY + BUTTON_HEIGHT / 2;
}
constexpr int32_t NEW_Y = ButtonMiddleY(MENU_NEW);
constexpr int32_t LOAD_Y = ButtonMiddleY(MENU_LOAD);
constexpr int32_t SAVE_Y = ButtonMiddleY(MENU_SAVE);

class Soak {
public:
    Soak(uint32_t seed, int64_t frames) : random_(seed), frames_(frames) {}

    // Called before every pass of the main loop: checks the frame just run,
    // then queues the next one's input.
    void Pass(int pass)
    {
        FakeClearCallLog(); // the log would otherwise grow for ever
        if (pass > 0) {
            CheckFrame();
        }
        if (FakeInputPendingKeys() > 0 || FakeInputPendingMouse() > 0 || done_) {
            return;
        }
        if (pass == 0) {
            QueueNewGame(firstSize_, firstCount_);
            return;
        }
        if (!baseline_) {
            baseline_ = true;
            baselineUse_ = CurrentHeapUse();
        }
        if (pass < frames_) {
            QueueRandomFrame();
        } else if (!finalGame_) {
            finalGame_ = true;
            if (!QueueNewGame(firstSize_, firstCount_)) {
                ADD_FAILURE() << "no way to the New button at the end";
            }
        } else {
            done_ = true;
            finalUse_ = CurrentHeapUse();
            QueueCredits();
        }
    }

    HeapUse baselineUse_{};
    HeapUse finalUse_{};
    bool done_ = false;
    int64_t badFrames_ = 0;
    int64_t newGames_ = 0, saves_ = 0, loads_ = 0;

private:
    int32_t Between(int32_t low, int32_t high)
    {
        return std::uniform_int_distribution<int32_t>(low, high)(random_);
    }

    void Bad(const char* what)
    {
        if (badFrames_++ < 10) {
            ADD_FAILURE() << what << " after frame " << FakeInputMouseReads();
        }
    }

    void CheckFrame()
    {
        if (!FakeVideoGuardsIntact()) {
            Bad("a write outside a surface");
        }
        if (!FieldHeld()) {
            return;
        }
        if (fieldSize < SAVE_MIN_SIZE || fieldSize > SAVE_MAX_SIZE) {
            Bad("field size out of range");
            return;
        }
        for (int32_t x = 0; x < fieldSize; ++x) {
            for (int32_t y = 0; y < fieldSize; ++y) {
                if (cellValue[x][y] < 0 || cellValue[x][y] > MINE ||
                    cellState[x][y] < STATE_HIDDEN || cellState[x][y] > STATE_OPEN) {
                    Bad("cell out of range");
                    return;
                }
            }
        }
    }

    static std::vector<uint8_t> Digits(int32_t value)
    {
        std::vector<uint8_t> keys;
        for (char c : std::to_string(value)) {
            keys.push_back(c == '0' ? DIK_0 : static_cast<uint8_t>(DIK_1 + (c - '1')));
        }
        return keys;
    }

    // Each digit pressed and released, then Enter released.
    static void QueueTyped(int32_t value)
    {
        for (uint8_t key : Digits(value)) {
            FakeInputQueueKeys({key});
            FakeInputQueueKeys({});
        }
        FakeInputQueueKeys({DIK_RETURN});
        FakeInputQueueKeys({});
    }

    // Moves onto a menu button with the left button held for one frame.
    static bool QueueMenu(int32_t buttonY)
    {
        if (buttonY > fieldSize * CELL_PITCH - HOTSPOT_OFFSET) {
            return false; // a small loaded board keeps the cursor above this button
        }
        FakeInputQueueKeys({});
        FakeInputQueueMouse(MENU_MIDDLE_X - g_cursorX, buttonY - g_cursorY, true, false);
        return true;
    }

    bool QueueNewGame(int32_t size, int32_t count)
    {
        if (!QueueMenu(NEW_Y)) {
            return false;
        }
        ++newGames_;
        QueueTyped(size);
        QueueTyped(count);
        return true;
    }

    // Whole boards come in the sizes a new game makes. A loaded board smaller
    // than 11 keeps the cursor above some menu buttons (below 4, above all of
    // them), so a run that loaded one could only quit; the fuzzer plays those.
    // Sizes the game refuses come too, and any file may be damaged.
    void WriteSavedGame()
    {
        const int32_t sides[] = {0, 1, 2, 26, 99, Between(MIN_FIELD_SIZE, MAX_FIELD_SIZE)};
        const int32_t side = sides[Between(0, 9) < 5 ? Between(0, 4) : 5];
        std::string text = std::to_string(side) + (Between(0, 1) != 0 ? "\r\n" : "\n");
        for (int32_t i = 0; i < side * side; ++i) {
            text += static_cast<char>('0' + Between(0, 9));
            text += static_cast<char>('0' + Between(0, 3));
        }
        switch (Between(0, 3)) {
        case 0:
            text.resize(static_cast<size_t>(Between(0, static_cast<int32_t>(text.size()))));
            break;
        case 1:
            for (int i = 0; i < 20; ++i) {
                text[static_cast<size_t>(Between(0, static_cast<int32_t>(text.size()) - 1))] =
                    static_cast<char>(Between(0, 255));
            }
            break;
        default:
            break;
        }
        std::ofstream(SAVE_FILE_NAME, std::ios::binary | std::ios::trunc) << text;
    }

    void QueueRandomFrame()
    {
        const int32_t roll = Between(0, 999);
        if (roll < 2) {
            QueueNewGame(Between(0, 40), Between(0, 700));
            return;
        }
        if (roll < 6) {
            saves_ += QueueMenu(SAVE_Y) ? 1 : 0;
            return;
        }
        if (roll < 10) {
            if (Between(0, 1) != 0) {
                WriteSavedGame();
            }
            loads_ += QueueMenu(LOAD_Y) ? 1 : 0;
            return;
        }
        // A key that neither quits nor opens the credits.
        if (roll < 60) {
            const uint8_t keys[] = {DIK_1, DIK_5, DIK_0, DIK_BACK, DIK_RETURN, 0x10, 0x39};
            FakeInputQueueKeys({keys[Between(0, 6)]});
        } else {
            FakeInputQueueKeys({});
        }
        const bool big = Between(0, 99) == 0;
        const int32_t reach = big ? 100000 : 60;
        const int32_t dx = Between(-reach, reach);
        const int32_t dy = Between(-reach, reach);
        bool left = Between(0, 3) == 0;
        const bool right = Between(0, 5) == 0;
        // Buttons held over the menu run it: only the chosen actions may, and
        // never Quit.
        if (static_cast<int64_t>(g_cursorX) + dx > fieldSize * CELL_PITCH - 40) {
            left = false;
        }
        FakeInputQueueMouse(dx, dy, left, right);
    }

    static void QueueCredits()
    {
        FakeInputQueueKeys({DIK_F12});
        FakeInputQueueKeys({});
        FakeInputQueueKeys({DIK_RETURN});
        FakeInputQueueKeys({});
    }

    std::mt19937 random_;
    int64_t frames_;
    const int32_t firstSize_ = 17;
    const int32_t firstCount_ = 40;
    bool baseline_ = false;
    bool finalGame_ = false;
};

// Every save syncs its file to disk; a few hundred saves cost nothing in a
// memory file system, where there is one.
class SoakTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        std::error_code error;
        if (std::filesystem::is_directory("/dev/shm", error)) {
            memoryDir_ = std::filesystem::path("/dev/shm") / workDir_.filename();
            std::filesystem::create_directories(memoryDir_);
            std::filesystem::current_path(memoryDir_);
        }
    }
    void TearDown() override
    {
        GameTest::TearDown();
        if (!memoryDir_.empty()) {
            std::filesystem::remove_all(memoryDir_);
        }
    }
    std::filesystem::path memoryDir_;
};

TEST_F(SoakTest, LongPlayStaysInRangeInBoundsAndLeakFree)
{
    const auto seed = static_cast<uint32_t>(EnvNumber("DELLOMAR_SOAK_SEED", 20240611));
    const int64_t frames = EnvNumber("DELLOMAR_SOAK_FRAMES", DELLOMAR_SOAK_DEFAULT_FRAMES);
    std::printf("soak: seed %u, %lld frames (DELLOMAR_SOAK_SEED, DELLOMAR_SOAK_FRAMES)\n", seed,
                static_cast<long long>(frames));
    CopyGameData();
    // The first file stream sets up the library's locale data for good; do
    // that before the game's heap use is first measured.
    std::ofstream(SAVE_FILE_NAME) << "";
    FakeSetTickStep(1000); // every frame's wait ends at its first look at the clock
    Soak soak(seed, frames);
    FakeSetPeekHook([&soak](int pass) { soak.Pass(pass); });

    EXPECT_EQ(AppMain(nullptr, nullptr, "", 0), 0);

    EXPECT_TRUE(soak.done_) << "the game quit before the credits";
    EXPECT_EQ(soak.badFrames_, 0);
    EXPECT_EQ(soak.finalUse_, soak.baselineUse_)
        << "blocks " << soak.baselineUse_.blocks << " -> " << soak.finalUse_.blocks << ", bytes "
        << soak.baselineUse_.bytes << " -> " << soak.finalUse_.bytes;
    EXPECT_FALSE(FieldHeld());
    std::printf("soak: %lld new games, %lld saves, %lld loads\n",
                static_cast<long long>(soak.newGames_), static_cast<long long>(soak.saves_),
                static_cast<long long>(soak.loads_));
}

} // namespace
