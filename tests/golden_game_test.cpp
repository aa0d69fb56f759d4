#include "app/app_shell.h"
#include "field/mine_field.h"
#include "platform/fake/fake_core.h"
#include "tests/headless_game.h"
#include "tests/scripted_game.h"
#include "tests/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

// The frames and saved games of the scripted game, as the game draws and
// writes them today. Run with DELLOMAR_GOLDEN_WRITE=1 to rewrite the file
// after a deliberate change of a picture, a frame or the saved game.
const std::filesystem::path GOLDEN_FILE = std::filesystem::path(DELLOMAR_SOURCE_DIR) / "tests" /
                                          "golden" / "scripted_game.txt";

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

class GoldenGameTest : public GameTest {};

TEST_F(GoldenGameTest, TheScriptedGameMatchesItsRecord)
{
    CopyGameData();
    std::string played = Joined(PlayScriptedGame());
    if (std::getenv("DELLOMAR_GOLDEN_WRITE") != nullptr) {
        std::ofstream(GOLDEN_FILE, std::ios::binary | std::ios::trunc) << played;
    }
    std::vector<uint8_t> golden = ReadFileBytes(GOLDEN_FILE);
    ASSERT_FALSE(golden.empty()) << GOLDEN_FILE;
    EXPECT_EQ(played, std::string(golden.begin(), golden.end()));
}

// The whole-game reset must leave nothing behind that a second game could
// notice: not the board, the screens, the clock, the random generator, the
// sprite buffers or the devices.
TEST_F(GoldenGameTest, AResetGamePlaysTheSameGameAgain)
{
    CopyGameData();
    std::vector<std::string> first = PlayScriptedGame();
    std::filesystem::remove("save.gm");
    ResetHeadlessGame();
    std::vector<std::string> second = PlayScriptedGame();
    EXPECT_EQ(Joined(first), Joined(second));
    EXPECT_FALSE(FieldHeld());
}

#ifdef DELLOMAR_TARGET_POINTER_BYTES
// The record is only worth checking again in a build for another processor
// (the 32-bit run) when that build really runs with its widths, not with the
// build machine's.
TEST(BuildTarget, TheCodeRunsWithTheWidthsItWasBuiltFor)
{
    EXPECT_EQ(sizeof(void*), size_t{DELLOMAR_TARGET_POINTER_BYTES});
    EXPECT_EQ(sizeof(size_t), size_t{DELLOMAR_TARGET_POINTER_BYTES});
    EXPECT_EQ(sizeof(long), size_t{DELLOMAR_TARGET_POINTER_BYTES});
}
#endif

} // namespace
