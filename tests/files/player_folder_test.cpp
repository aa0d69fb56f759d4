// The places on the real disk: a portable game reads and writes beside
// itself wherever it was started; an installed one keeps the saved game in
// the player's folder, made for the owner alone on the first save.
#include "display/bitmap_loader.h"
#include "field/mine_field.h"
#include "field/saved_game.h"
#include "platform/stdio/stdio_file.h"
#include "tests/files/file_test_support.h"

namespace {

using PlayerFolderTest = FileTest;

FilePlaces InstalledPlaces(const std::filesystem::path& dataDir, const std::filesystem::path& player)
{
    FilePlaces places;
    places.dataDir = dataDir.string();
    places.playerDir = player.string();
    places.makePlayerDir = true;
    return places;
}

TEST_F(PlayerFolderTest, ThePlayersFolderIsMadeForTheOwnerOnTheFirstSave)
{
    const std::filesystem::path player = workDir_ / "home/.local/share/dellomar";
    StdioUsePlaces(InstalledPlaces(workDir_ / "data", player));
    GenerateField();
    const std::string board = BoardText();
    LoadGame(); // no folder yet: a missing saved game
    EXPECT_EQ(BoardText(), board);
    EXPECT_FALSE(std::filesystem::exists(workDir_ / "home"));

    SaveGame();
    EXPECT_EQ(ReadText((player / SAVE_FILE_NAME).string()), board);
    for (const char* folder : {"home", "home/.local", "home/.local/share", "home/.local/share/dellomar"}) {
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
