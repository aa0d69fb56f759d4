// The places on the real disk: a portable game reads and writes beside
// itself wherever it was started; an installed one keeps the saved game in
// the player's folder, made for the owner alone on the first save.
#include "display/bitmap_loader.h"
#include "field/mine_field.h"
#include "field/saved_game.h"
#include "platform/stdio/stdio_file.h"
#include "tests/files/file_test_support.h"

#include <algorithm>

namespace {

using PlayerFolderTest = FileTest;

FilePlaces InstalledPlaces(const std::filesystem::path& dataDir,
                           const std::filesystem::path& player,
                           const std::filesystem::path& base = {})
{
    FilePlaces places;
    places.dataDir = dataDir.string();
    places.playerDir = player.string();
    places.makePlayerDir = true;
    places.playerDirBase = base.string();
    return places;
}

TEST_F(PlayerFolderTest, ThePlayersFolderIsMadeForTheOwnerOnTheFirstSave)
{
    const std::filesystem::path player = workDir_ / "home/.local/share/dellomar";
    StdioUsePlaces(InstalledPlaces(workDir_ / "data", player, workDir_ / "home"));
    GenerateField();
    const std::string board = BoardText();
    LoadGame(); // no folder yet: a missing saved game
    EXPECT_EQ(BoardText(), board);
    // A missing home folder is nobody's to make: the save fails.
    SaveGame();
    EXPECT_FALSE(std::filesystem::exists(workDir_ / "home"));

    ASSERT_TRUE(std::filesystem::create_directory(workDir_ / "home"));
    SaveGame();
    EXPECT_EQ(ReadText((player / SAVE_FILE_NAME).string()), board);
    for (const char* folder : {"home/.local", "home/.local/share", "home/.local/share/dellomar"}) {
        EXPECT_EQ(ModeOf((workDir_ / folder).string()), 0700u) << folder;
    }
    EXPECT_EQ(SaveFilesHere(), std::vector<std::string>{}); // nothing in the working folder
    WriteFileBytes(player / SAVE_FILE_NAME, OtherSaveText());
    LoadGame();
    EXPECT_EQ(fieldSize, 11);
}

TEST_F(PlayerFolderTest, AnExistingPlayersFolderKeepsItsPermissions)
{
    const std::filesystem::path player = workDir_ / "share/dellomar";
    std::filesystem::create_directories(player);
    ASSERT_EQ(chmod(player.c_str(), 0750), 0);
    StdioUsePlaces(InstalledPlaces(workDir_ / "data", player));
    GenerateField();
    SaveGame();
    EXPECT_EQ(ModeOf(player.string()), 0750u);
    EXPECT_EQ(ReadText((player / SAVE_FILE_NAME).string()), BoardText());
}

TEST_F(PlayerFolderTest, APlayersFolderThatCannotBeMadeFailsLikeAFullDisk)
{
    GenerateField();
    const std::string board = BoardText();
    // A file where a folder should be, and a folder nobody may write into.
    WriteFileBytes("home", "not a folder");
    std::filesystem::create_directory("locked");
    ASSERT_EQ(chmod("locked", 0500), 0);
    for (const char* player : {"home/.local/share/dellomar", "locked/dellomar"}) {
        SCOPED_TRACE(player);
        StdioUsePlaces(InstalledPlaces(workDir_ / "data", workDir_ / player));
        SaveGame();
        LoadGame();
        EXPECT_EQ(BoardText(), board);
        EXPECT_TRUE(FieldHeld());
    }
    // Root may write into "locked" anyway; what matters is that nothing broke.
    ASSERT_EQ(chmod("locked", 0700), 0);

    FilePlaces nowhere;
    nowhere.playerDirMissing = true;
    StdioUsePlaces(nowhere);
    SaveGame();
    LoadGame();
    EXPECT_EQ(BoardText(), board);
    EXPECT_EQ(SaveFilesHere(), std::vector<std::string>{});
}

// Someone else who may write into the player's folder could swap the saved
// game: such a folder is refused, with one line saying why.
TEST_F(PlayerFolderTest, AFolderOthersMayWriteToIsNeverSavedInto)
{
    const std::filesystem::path player = workDir_ / "share/dellomar";
    std::filesystem::create_directories(player);
    WriteFileBytes(player / SAVE_FILE_NAME, OtherSaveText());
    StdioUsePlaces(InstalledPlaces(workDir_ / "data", player));
    GenerateField();
    testing::internal::CaptureStderr();
    for (mode_t mode : {0777, 0770, 0702}) {
        ASSERT_EQ(chmod(player.c_str(), mode), 0);
        SaveGame();
        EXPECT_EQ(ReadText((player / SAVE_FILE_NAME).string()), OtherSaveText()) << mode;
    }
    // Said once, not on every frame of a held Save.
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("others may write to it"), std::string::npos) << said;
    ASSERT_EQ(chmod(player.c_str(), 0700), 0);
    SaveGame();
    EXPECT_EQ(ReadText((player / SAVE_FILE_NAME).string()), BoardText());
    // Only root can give the folder to somebody else.
    if (geteuid() == 0) {
        WriteFileBytes(player / SAVE_FILE_NAME, OtherSaveText());
        ASSERT_EQ(chown(player.c_str(), 4242, 4242), 0);
        testing::internal::CaptureStderr();
        SaveGame();
        EXPECT_NE(testing::internal::GetCapturedStderr().find("belongs to another user"),
                  std::string::npos);
        EXPECT_EQ(ReadText((player / SAVE_FILE_NAME).string()), OtherSaveText());
    }
}

// A data folder too deep to make leaves no empty folders behind.
TEST_F(PlayerFolderTest, AFailedSaveTakesAwayTheFoldersItMade)
{
    std::filesystem::path deep = workDir_ / "xdg";
    std::string spelled = deep.string();
    while (spelled.size() < 4300) {
        spelled += "/abcdefghi";
    }
    StdioUsePlaces(InstalledPlaces(workDir_ / "data", spelled + "/dellomar"));
    GenerateField();
    SaveGame();
    EXPECT_FALSE(std::filesystem::exists(deep));
}

TEST_F(PlayerFolderTest, APortableGameReadsAndWritesBesideItselfFromAnywhere)
{
    const std::filesystem::path game = workDir_ / "game";
    std::filesystem::create_directories(game);
    std::filesystem::current_path(game);
    CopyGameData();
    std::filesystem::create_directories(workDir_ / "elsewhere");
    std::filesystem::current_path(workDir_ / "elsewhere");
    FilePlaces places;
    places.dataDir = game.string();
    places.playerDir = game.string();
    StdioUsePlaces(places);

    Bitmap atlas{};
    ASSERT_EQ(BitmapLoad(&atlas, "Textures\\txtr.txr"), 1);
    BitmapUnload(&atlas);
    GenerateField();
    SaveGame();
    EXPECT_EQ(ReadText((game / SAVE_FILE_NAME).string()), BoardText());
    EXPECT_EQ(SaveFilesHere(), std::vector<std::string>{});
}

} // namespace
