#include "app/app_shell.h"
#include "field/mine_field.h"
#include "input/keyboard_mouse.h"
#include "platform/entry.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_system.h"
#include "platform/fake/fake_video.h"
#include "screens/entry_screen.h"
#include "screens/play_screen.h"
#include "sound/sound_effects.h"
#include "tests/play_support.h"

#include <cstring>
#include <vector>

namespace {

using Keys = std::vector<uint8_t>;

class EntryScreenTest : public PlayTest {
protected:
    // Holds the left button over New and answers with these key frames, one
    // per entry frame, which must end both questions with Enter.
    static void NewGame(const std::vector<Keys>& keyFrames)
    {
        MoveTo(680, 50);
        FakeInputQueueKeys(Keys{});
        FakeInputQueueMouse(0, 0, true, false);
        FakeInputQueueMouse(0, 0, false, false); // released on the first entry frame
        for (const Keys& keys : keyFrames) {
            FakeInputQueueKeys(keys);
        }
        PlayFrame();
        EXPECT_EQ(FakeInputPendingKeys(), 0) << "the dialog ended before the script did";
    }

    // Types a string: each digit down in one frame and up in the next.
    static std::vector<Keys> Typed(const char* digits)
    {
        std::vector<Keys> frames;
        for (const char* c = digits; *c != '\0'; ++c) {
            uint8_t key = *c == '0' ? DIK_0 : static_cast<uint8_t>(DIK_1 + (*c - '1'));
            frames.push_back({key});
            frames.push_back({});
        }
        return frames;
    }

    static std::vector<Keys> Answer(const char* digits)
    {
        std::vector<Keys> frames = Typed(digits);
        frames.push_back({DIK_RETURN});
        frames.push_back({});
        return frames;
    }

    static std::vector<Keys> Answers(const char* size, const char* count)
    {
        std::vector<Keys> frames = Answer(size);
        std::vector<Keys> second = Answer(count);
        frames.insert(frames.end(), second.begin(), second.end());
        return frames;
    }

    // Runs entry frames directly over scripted key frames.
    static void EntryFrames(const std::vector<Keys>& keyFrames)
    {
        for (const Keys& keys : keyFrames) {
            FakeInputQueueKeys(keys);
            EntryFrame("test");
        }
    }

    static void StartEntry()
    {
        g_entryActive = true;
        g_entryValue = 0;
        g_entryLength = 0;
        std::memset(g_entryText, 0, sizeof g_entryText);
    }
};

TEST_F(EntryScreenTest, TypedSizeAndCountMakeTheNewField)
{
    int presents = FakeVideoPresentCount();
    NewGame(Answers("30", "5"));
    EXPECT_EQ(fieldSize, 25);
    EXPECT_EQ(g_mineCount, 5);
    EXPECT_EQ(g_cursorX, 0);
    EXPECT_EQ(g_cursorY, 0);
    EXPECT_EQ(g_entryText[0], '\0');
    EXPECT_FALSE(g_fieldWon);
    EXPECT_EQ(FakeVideoPresentCount(), presents + 11); // the move, then every entry frame
    EXPECT_GT(TextPixels(100, 30, 300, 16), 50);       // the second prompt

    NewGame(Answers("12", "700"));
    EXPECT_EQ(fieldSize, 12);
    EXPECT_EQ(g_mineCount, 625);
    EXPECT_EQ(g_fieldBackdrop.width, 12 * 23);
}

TEST_F(EntryScreenTest, LeadingZerosAndEmptyAnswersGiveTheSmallestField)
{
    NewGame(Answers("007", "3"));
    EXPECT_EQ(fieldSize, 11);
    EXPECT_EQ(g_mineCount, 3);

    NewGame(Answers("", ""));
    EXPECT_EQ(fieldSize, 11);
    EXPECT_EQ(g_mineCount, 0);
    EXPECT_FALSE(g_fieldWon);
    Frame(0, 0);
    EXPECT_TRUE(g_fieldWon); // nothing to find: won on the next frame
    EXPECT_EQ(Plays(g_sndWellDone), 1);
}

TEST_F(EntryScreenTest, DigitsDownInOneFrameAreTakenInKeyOrder)
{
    std::vector<Keys> frames = {{DIK_2, DIK_1}, {}, {DIK_RETURN}, {}};
    std::vector<Keys> count = Answer("4");
    frames.insert(frames.end(), count.begin(), count.end());
    NewGame(frames);
    EXPECT_EQ(fieldSize, 12);
}

TEST_F(EntryScreenTest, BackspaceActsOnReleaseAndHeldKeysCountOnce)
{
    StartEntry();
    EntryFrames(Typed("125"));
    EXPECT_STREQ(g_entryText, "125");
    EntryFrames({{DIK_BACK}, {DIK_BACK}, {DIK_BACK}});
    EXPECT_STREQ(g_entryText, "125"); // held: nothing yet
    EntryFrames({{}});
    EXPECT_STREQ(g_entryText, "12");
    EXPECT_EQ(g_entryValue, 12);
    EntryFrames({{DIK_7}, {DIK_7}, {DIK_7}, {}});
    EXPECT_STREQ(g_entryText, "127");

    // Backspace on nothing does nothing.
    EntryFrames({{DIK_BACK}, {}, {DIK_BACK}, {}, {DIK_BACK}, {}, {DIK_BACK}, {}});
    EXPECT_EQ(g_entryLength, 0);
    EXPECT_EQ(g_entryValue, 0);
    EXPECT_TRUE(g_entryActive);
}

TEST_F(EntryScreenTest, TheTextNeverOutgrowsItsBufferAndTheValueWraps)
{
    StartEntry();
    std::string many(300, '9');
    EntryFrames(Typed(many.c_str()));
    EXPECT_EQ(g_entryLength, 255);
    EXPECT_EQ(std::strlen(g_entryText), 255u);

    StartEntry();
    EntryFrames(Typed("4294967295")); // 2^32 - 1 wraps to -1
    EXPECT_EQ(g_entryValue, -1);
    EntryFrames({{DIK_BACK}, {}});
    EXPECT_EQ(g_entryValue, 0); // -1 / 10 truncates toward zero
}

TEST_F(EntryScreenTest, AWrappedNegativeCountMakesAFieldWithoutMines)
{
    NewGame(Answers("15", "4294967295"));
    EXPECT_EQ(fieldSize, 15);
    EXPECT_EQ(g_mineCount, -1);
    int mines = 0;
    for (int x = 0; x < 15; ++x)
        for (int y = 0; y < 15; ++y)
            mines += cellValue[x][y] == MINE;
    EXPECT_EQ(mines, 0);
}

TEST_F(EntryScreenTest, QuitKeysQueueRequestsButTheDialogRunsToItsEnd)
{
    std::vector<Keys> frames = {{DIK_ESCAPE}, {DIK_ESCAPE}, {}, {DIK_F4}, {}};
    std::vector<Keys> rest = Answers("13", "2");
    frames.insert(frames.end(), rest.begin(), rest.end());
    NewGame(frames);
    EXPECT_EQ(fieldSize, 13);
    int destroys = 0;
    PlatMessage message{};
    while (PlatPeekMessage(&message)) {
        destroys += message.message == WM_DESTROY;
    }
    EXPECT_EQ(destroys, 3);
}

class CreditsTest : public GameTest {};

TEST_F(CreditsTest, F12ShowsTheCreditsAndEndsTheGameAfterEnter)
{
    CopyGameData();
    FakeSetTickStep(1000);
    bool creditsShown = false;
    bool fieldGone = false;
    FakeSetPeekHook([&](int pass) {
        if (pass == 2) {
            FakeInputQueueKeys(Keys{DIK_F12});
            FakeInputQueueKeys(Keys{DIK_3}); // typed digits are shown, not used
            FakeInputQueueKeys(Keys{});
            FakeInputQueueKeys(Keys{DIK_RETURN});
            FakeInputQueueKeys(Keys{});
        }
        if (pass == 3) {
            fieldGone = !FieldHeld();
            creditsShown = g_cursorX == 20 && g_cursorY == 20 &&
                           PlayTest::TextPixels(100, 30, 300, 16) > 50;
        }
    });
    EXPECT_EQ(AppMain(reinterpret_cast<PlatInstance>(uintptr_t{1}), nullptr, "", 0), 0);
    EXPECT_TRUE(fieldGone);
    EXPECT_TRUE(creditsShown);
}

} // namespace
