// The saved game on the real disk against files planted to freeze the game or
// to make it write somewhere else: a read never waits and uses only regular
// files, a save never writes through a name it did not just create, a file
// the player made read-only is kept, and a save is flushed folder and all.
#include "field/mine_field.h"
#include "field/saved_game.h"
#include "platform/file.h"
#include "platform/fake/fake_core.h"
#include "tests/files/file_test_support.h"
#include "tests/files/syscall_wraps.h"

#include <sys/file.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

using HostileFilesTest = FileTest;

const std::vector<std::string> SAVE_ONLY{SAVE_FILE_NAME};

TEST_F(HostileFilesTest, LoadTakesAnythingButARegularFileForAMissingSave)
{
    GenerateField();
    const std::string board = BoardText();
    WriteFileBytes("other.gm", OtherSaveText());
    struct Case {
        const char* what;
        std::function<void()> plant;
    };
    const std::vector<Case> cases = {
        {"fifo", [] { PlantHere(Plant::Fifo, SAVE_FILE_NAME); }},
        {"folder", [] { PlantHere(Plant::Folder, SAVE_FILE_NAME); }},
        {"socket", [] { PlantHere(Plant::Socket, SAVE_FILE_NAME); }},
        {"link to a device", [] { LinkHere(SAVE_FILE_NAME, "/dev/zero"); }},
        {"link to a fifo",
         [] {
             PlantHere(Plant::Fifo, "pipe");
             LinkHere(SAVE_FILE_NAME, "pipe");
         }},
        {"dangling link", [] { LinkHere(SAVE_FILE_NAME, "nowhere"); }},
    };
    for (const Case& one : cases) {
        SCOPED_TRACE(one.what);
        one.plant();
        LoadGame(); // a FIFO would block here for ever: the test's timeout says so
        EXPECT_EQ(BoardText(), board);
        std::filesystem::remove(SAVE_FILE_NAME);
        std::filesystem::remove("pipe");
    }
    // Even a FIFO that holds a whole saved game is no saved game.
    PlantHere(Plant::Fifo, SAVE_FILE_NAME);
    int writer = open(SAVE_FILE_NAME, O_RDWR | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    const std::string text = OtherSaveText();
    ASSERT_EQ(write(writer, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    LoadGame();
    EXPECT_EQ(BoardText(), board);
    close(writer);
    std::filesystem::remove(SAVE_FILE_NAME);
    // A link to a regular saved game is the player's own business.
    LinkHere(SAVE_FILE_NAME, "other.gm");
    LoadGame();
    EXPECT_EQ(fieldSize, 11);
}

TEST_F(HostileFilesTest, SavingNeverWritesThroughAPlantedName)
{
    WriteFileBytes("victim.txt", "keep me");
    // The old fixed name, and the first five names the save will try.
    LinkHere("save.gm.new", "victim.txt");
    SetRandomPattern({0, 1, 2, 3, 4, 5});
    PlantHere(Plant::Fifo, TempNameTried(SAVE_FILE_NAME, 0));
    PlantHere(Plant::Folder, TempNameTried(SAVE_FILE_NAME, 1));
    LinkHere(TempNameTried(SAVE_FILE_NAME, 2), "victim.txt");
    LinkHere(TempNameTried(SAVE_FILE_NAME, 3), "created.txt");
    PlantHere(Plant::Socket, TempNameTried(SAVE_FILE_NAME, 4));
    GenerateField();

    SaveGame();
    EXPECT_EQ(ReadText(SAVE_FILE_NAME), BoardText());
    EXPECT_EQ(WhatIsHere(SAVE_FILE_NAME), "file");
    EXPECT_EQ(ReadText("victim.txt"), "keep me");
    EXPECT_EQ(WhatIsHere("created.txt"), "missing");
    EXPECT_EQ(WhatIsHere("save.gm.new"), "link to victim.txt");
    EXPECT_EQ(WhatIsHere(TempNameTried(SAVE_FILE_NAME, 0)), "fifo");
    EXPECT_EQ(WhatIsHere(TempNameTried(SAVE_FILE_NAME, 1)), "folder");
    EXPECT_EQ(WhatIsHere(TempNameTried(SAVE_FILE_NAME, 2)), "link to victim.txt");
    EXPECT_EQ(WhatIsHere(TempNameTried(SAVE_FILE_NAME, 3)), "link to created.txt");
    EXPECT_EQ(WhatIsHere(TempNameTried(SAVE_FILE_NAME, 4)), "socket");
    EXPECT_EQ(WhatIsHere(TempNameTried(SAVE_FILE_NAME, 5)), "missing");
}

TEST_F(HostileFilesTest, WhenNoNameIsFreeTheSaveFailsAndKeepsThePreviousOne)
{
    WriteFileBytes(SAVE_FILE_NAME, OtherSaveText());
    const std::string taken = TempNameTried(SAVE_FILE_NAME, 7);
    PlantHere(Plant::Fifo, taken);
    SetRandomPattern({7});
    GenerateField();
    SaveGame(); // gives up after a bounded number of tries
    EXPECT_EQ(ReadText(SAVE_FILE_NAME), OtherSaveText());
    EXPECT_EQ(SaveFilesHere(), (std::vector<std::string>{SAVE_FILE_NAME, taken}));

    SetRandomPattern({});
    SaveGame();
    EXPECT_EQ(ReadText(SAVE_FILE_NAME), BoardText());
}

TEST_F(HostileFilesTest, ASaveThePlayerMadeReadOnlyIsKeptWhoeverRunsTheGame)
{
    GenerateField();
    for (mode_t mode : {0444, 0400, 0555}) {
        SCOPED_TRACE(testing::Message() << std::oct << mode);
        WriteFileBytes(SAVE_FILE_NAME, OtherSaveText());
        ASSERT_EQ(chmod(SAVE_FILE_NAME, mode), 0);
        SaveGame();
        EXPECT_EQ(ReadText(SAVE_FILE_NAME), OtherSaveText());
        EXPECT_EQ(ModeOf(SAVE_FILE_NAME), mode);
        EXPECT_EQ(SaveFilesHere(), SAVE_ONLY);
        ASSERT_EQ(chmod(SAVE_FILE_NAME, 0644), 0);
    }
}

TEST_F(HostileFilesTest, AReplacedSaveKeepsItsPermissionsAndANewOneGetsTheDefault)
{
    GenerateField();
    SaveGame();
    EXPECT_EQ(ModeOf(SAVE_FILE_NAME), 0644u); // 0666 under the umask of 022
    // A narrower umask would make 0600; the player's choice wins.
    ASSERT_EQ(chmod(SAVE_FILE_NAME, 0640), 0);
    umask(077);
    SaveGame();
    EXPECT_EQ(ModeOf(SAVE_FILE_NAME), 0640u);
    ASSERT_EQ(chmod(SAVE_FILE_NAME, 0200), 0); // writable, if oddly so
    SaveGame();
    EXPECT_EQ(ModeOf(SAVE_FILE_NAME), 0200u);
    EXPECT_EQ(SaveFilesHere(), SAVE_ONLY);
}

TEST_F(HostileFilesTest, ALinkNamedSaveGmIsReplacedAndItsTargetLeftAlone)
{
    WriteFileBytes("victim.txt", "keep me");
    LinkHere(SAVE_FILE_NAME, "victim.txt");
    GenerateField();
    SaveGame();
    EXPECT_EQ(WhatIsHere(SAVE_FILE_NAME), "file");
    EXPECT_EQ(ReadText(SAVE_FILE_NAME), BoardText());
    EXPECT_EQ(ReadText("victim.txt"), "keep me");
}

TEST_F(HostileFilesTest, OddThingsNamedSaveGmNeitherFreezeNorLeaveAnythingBehind)
{
    GenerateField();
    // A folder cannot be replaced by a file: the save fails and cleans up.
    PlantHere(Plant::Folder, SAVE_FILE_NAME);
    WriteFileBytes("save.gm/inside", "x");
    SaveGame();
    EXPECT_EQ(WhatIsHere(SAVE_FILE_NAME), "folder");
    EXPECT_EQ(ReadText("save.gm/inside"), "x");
    EXPECT_EQ(SaveFilesHere(), SAVE_ONLY);
    std::filesystem::remove_all(SAVE_FILE_NAME);
    // A FIFO or a socket is never opened, only replaced.
    for (Plant kind : {Plant::Fifo, Plant::Socket}) {
        PlantHere(kind, SAVE_FILE_NAME);
        SaveGame();
        EXPECT_EQ(ReadText(SAVE_FILE_NAME), BoardText());
        std::filesystem::remove(SAVE_FILE_NAME);
    }
}

TEST_F(HostileFilesTest, TheFolderIsFlushedOnceTheNewSaveIsInPlace)
{
    struct stat here {};
    ASSERT_EQ(stat(".", &here), 0);
    GenerateField();
    SaveGame();
    ASSERT_EQ(FolderSyncs().size(), 1u);
    EXPECT_EQ(FolderSyncs()[0].folder, here.st_ino);
    EXPECT_EQ(FolderSyncs()[0].saveSize, 1254);
    // A failed save has nothing to make durable.
    FakeFailCall("FileRename", -1);
    SaveGame();
    EXPECT_EQ(FolderSyncs().size(), 1u);
}

TEST_F(HostileFilesTest, ASaveSweepsOnlyItsOwnLeftovers)
{
    WriteFileBytes("victim.txt", "keep me");
    // Two minutes old: a younger one may belong to a save under way elsewhere.
    auto writeOld = [](const std::string& name, const std::string& text) {
        WriteFileBytes(name, text);
        timespec times[2] = {{0, UTIME_OMIT}, {time(nullptr) - 120, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, name.c_str(), times, 0), 0);
    };
    const std::vector<std::string> ours = {"save.gm.new-abc123", "save.gm.new-ZZZZZZ"};
    for (const std::string& name : ours) {
        writeOld(name, "half a sav");
    }
    // Not ours: other names, other kinds, and a temporary still being written.
    const std::vector<std::string> others = {
        "save.gm.new",        "save.gm.new-abc12",  "save.gm.new-abc12!", "save.gm.new-abc1234",
        "save.gm.old-abc123", "save.gm.new-dir000", "save.gm.new-lnk000", "save.gm.new-fif000",
        "save.gm.new-held00", "save.gm.new-young0"};
    for (const std::string& name :
         {others[0], others[1], others[2], others[3], others[4], others[9]}) {
        WriteFileBytes(name, "planted");
    }
    PlantHere(Plant::Folder, "save.gm.new-dir000");
    LinkHere("save.gm.new-lnk000", "victim.txt");
    PlantHere(Plant::Fifo, "save.gm.new-fif000");
    writeOld("save.gm.new-held00", "being written");
    int held = open("save.gm.new-held00", O_RDONLY);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    GenerateField();

    // A failed save leaves everything.
    FakeFailCall("FileRename", -1);
    SaveGame();
    for (const std::string& name : ours) {
        EXPECT_EQ(WhatIsHere(name), "file") << name;
    }
    FakeClearFailures();
    SaveGame();
    for (const std::string& name : ours) {
        EXPECT_EQ(WhatIsHere(name), "missing") << name;
    }
    for (const std::string& name : others) {
        EXPECT_NE(WhatIsHere(name), "missing") << name;
    }
    EXPECT_EQ(ReadText("victim.txt"), "keep me");
    close(held);
    // Somebody else's file is not ours to remove (only root can make one here).
    if (geteuid() == 0) {
        writeOld("save.gm.new-theirs", "x");
        ASSERT_EQ(chown("save.gm.new-theirs", 4242, 4242), 0);
        SaveGame();
        EXPECT_EQ(WhatIsHere("save.gm.new-theirs"), "file");
    }
}

// Two copies of the game saving into one folder at once: each one's sweep
// for leftovers must never take the other's temporary file before its rename.
TEST_F(HostileFilesTest, TwoCopiesSavingInOneFolderNeverLoseARename)
{
    auto saveMany = [] {
        int failed = 0;
        for (int i = 0; i < 2000; ++i) {
            char name[PLAT_FILE_NAME_MAX];
            PlatFile* file = PlatFileCreateBeside(SAVE_FILE_NAME, name, sizeof name);
            if (file == nullptr) {
                ++failed;
                continue;
            }
            PlatFileWrite(file, "3\r\n", 3);
            PlatFileClose(file);
            if (PlatFileRename(name, SAVE_FILE_NAME) != 0) {
                ++failed;
                PlatFileRemove(name);
            }
        }
        return failed;
    };
    pid_t twin = fork();
    ASSERT_GE(twin, 0);
    if (twin == 0) {
        _exit(std::min(saveMany(), 255));
    }
    int failedHere = saveMany();
    int status = 0;
    ASSERT_EQ(waitpid(twin, &status, 0), twin);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(failedHere, 0);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadText(SAVE_FILE_NAME), "3\r\n");
}

} // namespace
