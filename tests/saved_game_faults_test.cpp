// A save that fails at any step (each write in turn, the flush, the close, the
// rename) must leave the previous "save.gm" as it was and no temporary file,
// and the game must go on: frames run, and a later save succeeds.
#include "app/app_shell.h"
#include "field/mine_field.h"
#include "field/saved_game.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_video.h"
#include "screens/play_screen.h"
#include "tests/test_support.h"

#include <filesystem>

namespace {

class SaveFaultTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        FakeSetTickStep(1000);
        // An 11-side saved game full of flagged mines: nothing like the board in play.
        std::string body;
        for (int i = 0; i < 11 * 11; ++i) {
            body += "92";
        }
        WriteFileBytes(SAVE_FILE_NAME, "11\r\n" + body);
        previous_ = ReadFileBytes(SAVE_FILE_NAME);
        GameStartup();
    }
    void TearDown() override
    {
        GameShutdown();
        GameTest::TearDown();
    }

    void ExpectPreviousSaveKept()
    {
        EXPECT_EQ(ReadFileBytes(SAVE_FILE_NAME), previous_);
        EXPECT_EQ(SaveFilesHere(), std::vector<std::string>{SAVE_FILE_NAME});
    }

    // The board as a save writes it.
    static std::vector<uint8_t> BoardBytes()
    {
        std::string text = std::to_string(fieldSize) + "\r\n";
        for (int32_t x = 0; x < fieldSize; ++x) {
            for (int32_t y = 0; y < fieldSize; ++y) {
                text += static_cast<char>('0' + cellValue[x][y]);
                text += static_cast<char>('0' + cellState[x][y]);
            }
        }
        return {text.begin(), text.end()};
    }

    // A frame runs and presents.
    static void ExpectFramesGoOn()
    {
        const int presented = FakeVideoPresentCount();
        PlayFrame();
        EXPECT_EQ(FakeVideoPresentCount(), presented + 1);
        EXPECT_TRUE(FieldHeld());
    }

    std::vector<uint8_t> previous_;
};

TEST_F(SaveFaultTest, EveryFailingStepKeepsThePreviousSaveAndTheGameGoesOn)
{
    // How many writes one save makes: the header and one per column.
    FakeClearCallLog();
    SaveGame();
    const int writes = FakeCallCount("FileWrite");
    ASSERT_EQ(writes, 1 + fieldSize);
    WriteFileBytes(SAVE_FILE_NAME, std::string(previous_.begin(), previous_.end()));

    struct Fault {
        std::string call;
        int skip;
    };
    std::vector<Fault> faults;
    for (int write = 0; write < writes; ++write) {
        faults.push_back({"FileWrite", write});
    }
    for (const char* call : {"FileOpenWrite", "FileFlush", "FileClose", "FileRename"}) {
        faults.push_back({call, 0});
    }
    for (const Fault& fault : faults) {
        SCOPED_TRACE(testing::Message() << fault.call << " after " << fault.skip);
        FakeClearFailures();
        FakeFailCall(fault.call, -1, fault.skip, 1);
        SaveGame();
        ExpectPreviousSaveKept();
        ExpectFramesGoOn();
    }
    FakeClearFailures();
    SaveGame();
    EXPECT_EQ(ReadFileBytes(SAVE_FILE_NAME), BoardBytes());
    EXPECT_EQ(SaveFilesHere(), std::vector<std::string>{SAVE_FILE_NAME});
}

TEST_F(SaveFaultTest, HoldingSaveWhileTheRenameFailsKeepsThePreviousSave)
{
    FakeFailCall("FileRename", -1);
    // Onto Save with the left button held: every frame saves again, and fails.
    FakeInputQueueMouse(MENU_X + BUTTON_WIDTH / 2 - g_cursorX, 150 - g_cursorY, true, false);
    for (int frame = 0; frame < 5; ++frame) {
        PlayFrame();
        ExpectPreviousSaveKept();
    }
    EXPECT_EQ(FakeCallCount("FileRename"), 5);

    // Back onto the field and play on, then save again with the disk healthy.
    FakeInputQueueMouse(-(MENU_X + BUTTON_WIDTH / 2) + 100, -100, false, false);
    FakeInputQueueMouse(0, 0, true, false);
    FakeInputQueueMouse(0, 0, false, false);
    for (int frame = 0; frame < 3; ++frame) {
        ExpectFramesGoOn();
    }
    ExpectPreviousSaveKept();
    FakeClearFailures();
    FakeInputQueueMouse(MENU_X + BUTTON_WIDTH / 2 - g_cursorX, 150 - g_cursorY, true, false);
    PlayFrame();
    EXPECT_EQ(ReadFileBytes(SAVE_FILE_NAME), BoardBytes());
    EXPECT_EQ(SaveFilesHere(), std::vector<std::string>{SAVE_FILE_NAME});
}

} // namespace
