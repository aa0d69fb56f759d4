// The game with pieces missing (no pictures, no sounds, nothing at all, no
// sound device): it starts, plays, opens a new game, saves and loads, and
// quits cleanly through AppMain, giving back everything it took.
#include "app/app_shell.h"
#include "field/mine_field.h"
#include "field/saved_game.h"
#include "input/keyboard_mouse.h"
#include "platform/entry.h"
#include "platform/fake/fake_audio.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_music.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_video.h"
#include "screens/play_screen.h"
#include "sound/sound_effects.h"
#include "tests/test_support.h"

#include <filesystem>

namespace {

enum class Missing { Textures, Sounds, Everything, SoundDevice };

struct Scenario {
    const char* name;
    Missing missing;
};

void PrintTo(const Scenario& scenario, std::ostream* out)
{
    *out << scenario.name;
}

class MissingPiecesTest : public GameTest, public testing::WithParamInterface<Scenario> {};

// Moves onto a menu button (from wherever the cursor is) with the left held.
void QueueMenuButton(int32_t y)
{
    FakeInputQueueKeys({});
    FakeInputQueueMouse(MENU_X + BUTTON_WIDTH / 2 - g_cursorX, y - g_cursorY, true, false);
}

// One step of the script per pass of the main loop.
void ScriptPass(int pass)
{
    switch (pass) {
    case 1: // open a cell, flag another
        FakeInputQueueMouse(100, 100, true, false);
        FakeInputQueueMouse(0, 0, false, false);
        FakeInputQueueMouse(46, 0, false, true);
        FakeInputQueueMouse(0, 0, false, false);
        break;
    case 6: // New: 12 a side, 9 mines
        QueueMenuButton(50);
        for (uint8_t key : {DIK_1, DIK_2, DIK_RETURN, DIK_9, DIK_RETURN}) {
            FakeInputQueueKeys({key});
            FakeInputQueueKeys({});
        }
        break;
    case 7:
        FakeInputQueueMouse(0, 0, false, false);
        FakeInputQueueMouse(30, 30, true, false);
        FakeInputQueueMouse(0, 0, false, false);
        break;
    case 11:
        QueueMenuButton(150); // Save
        break;
    case 12:
        FakeInputQueueMouse(0, 0, false, false);
        QueueMenuButton(100); // Load
        break;
    case 14:
        FakeInputQueueMouse(-400, 0, false, false);
        // Pressed and let go: while Escape is held each frame posts another
        // quit request, and the quit message waits behind them.
        FakeInputQueueKeys({DIK_ESCAPE});
        FakeInputQueueKeys({});
        break;
    default:
        break;
    }
}

TEST_P(MissingPiecesTest, StartsPlaysAndQuitsCleanly)
{
    CopyGameData();
    switch (GetParam().missing) {
    case Missing::Textures:
        std::filesystem::remove_all("Textures");
        break;
    case Missing::Sounds:
        std::filesystem::remove_all("Sounds");
        break;
    case Missing::Everything:
        std::filesystem::remove_all("Textures");
        std::filesystem::remove_all("Sounds");
        break;
    case Missing::SoundDevice:
        FakeFailCall("SoundDeviceCreate", -1);
        break;
    }
    FakeSetTickStep(1000);
    int passes = 0;
    FakeSetPeekHook([&passes](int pass) {
        passes = pass;
        ScriptPass(pass);
        if (pass == 100) {
            ADD_FAILURE() << "the game did not quit";
            RequestQuit();
        }
    });

    EXPECT_EQ(AppMain(nullptr, nullptr, "", 0), 0);

    EXPECT_GE(passes, 15);
    // The new game ran and the save was written and loaded back.
    EXPECT_EQ(fieldSize, 12);
    const std::vector<uint8_t> saved = ReadFileBytes(SAVE_FILE_NAME);
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(std::string(saved.begin(), saved.begin() + 4), "12\r\n");
    EXPECT_EQ(saved.size(), 4u + 2u * 12u * 12u);
    EXPECT_FALSE(FieldHeld());
    EXPECT_EQ(FakeVideoLiveObjects(), 0);
    EXPECT_EQ(FakeInputLiveObjects(), 0);
    EXPECT_EQ(FakeAudioLiveBuffers(), 0);
    EXPECT_EQ(FakeAudioLiveDevices(), 0);
    EXPECT_EQ(FakeMusicLiveObjects(), 0);
    const bool sounds = GetParam().missing == Missing::Textures;
    EXPECT_EQ(FakeAudioTotalPlays() > 0, sounds);
}

INSTANTIATE_TEST_SUITE_P(Game, MissingPiecesTest,
                         testing::Values(Scenario{"NoTextures", Missing::Textures},
                                         Scenario{"NoSounds", Missing::Sounds},
                                         Scenario{"EmptyFolder", Missing::Everything},
                                         Scenario{"NoSoundDevice", Missing::SoundDevice}),
                         [](const testing::TestParamInfo<Scenario>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
