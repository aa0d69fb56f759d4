// Where the game's files live: beside the executable when its data is there,
// else the installed data and the player's own folder; the working directory
// when the executable cannot be found.
#include "platform/common/file_places.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

PlaceFacts Facts(const std::string& exeDir, std::set<std::string> withTextures = {})
{
    PlaceFacts facts;
    facts.exeDir = exeDir;
    facts.home = "/home/ann";
    facts.holdsTextures = [withTextures](const std::string& folder) {
        return withTextures.count(folder) != 0;
    };
    return facts;
}

TEST(FilePlacesTest, DataBesideTheExecutableKeepsEverythingThere)
{
    FilePlaces places = ResolveFilePlaces(Facts("/opt/games/dellomar", {"/opt/games/dellomar"}));
    EXPECT_EQ(PlacePath(places, "Textures\\txtr.txr", '/'),
              "/opt/games/dellomar/Textures/txtr.txr");
    EXPECT_EQ(PlacePath(places, "Sounds\\bng.wav", '/'), "/opt/games/dellomar/Sounds/bng.wav");
    EXPECT_EQ(PlacePath(places, "save.gm", '/'), "/opt/games/dellomar/save.gm");
    EXPECT_EQ(PlacePath(places, "save.gm.new-AbC123", '/'),
              "/opt/games/dellomar/save.gm.new-AbC123");
    EXPECT_FALSE(places.makePlayerDir);
    EXPECT_FALSE(places.playerDirMissing);
}

TEST(FilePlacesTest, InstalledDataLiesBesideTheExecutablesFolder)
{
    for (const char* exeDir : {"/usr/games", "/usr/games/"}) {
        SCOPED_TRACE(exeDir);
        FilePlaces places = ResolveFilePlaces(Facts(exeDir));
        EXPECT_EQ(PlacePath(places, "Textures\\back.txr", '/'),
                  "/usr/share/games/dellomar/Textures/back.txr");
        EXPECT_EQ(PlacePath(places, "save.gm", '/'), "/home/ann/.local/share/dellomar/save.gm");
        EXPECT_TRUE(places.makePlayerDir);
    }
    // Another prefix works the same way; the executable at the root too.
    EXPECT_EQ(ResolveFilePlaces(Facts("/home/ann/prefix/games")).dataDir,
              "/home/ann/prefix/share/games/dellomar");
    EXPECT_EQ(ResolveFilePlaces(Facts("/")).dataDir, "/share/games/dellomar");
}

TEST(FilePlacesTest, ThePlayersFolderFollowsAnAbsoluteXdgDataHomeOnly)
{
    PlaceFacts facts = Facts("/usr/games");
    facts.xdgDataHome = "/data/ann";
    EXPECT_EQ(ResolveFilePlaces(facts).playerDir, "/data/ann/dellomar");
    EXPECT_EQ(ResolveFilePlaces(facts).playerDirBase, "");
    // The home folder itself is never made, wherever the data folder lies in it.
    facts.xdgDataHome = "/home/ann/data";
    EXPECT_EQ(ResolveFilePlaces(facts).playerDirBase, "/home/ann");
    facts.xdgDataHome = "/home/annex";
    EXPECT_EQ(ResolveFilePlaces(facts).playerDirBase, "");
    // Unset, empty and relative values all mean ~/.local/share.
    for (const char* value : {static_cast<const char*>(nullptr), "", "data", "./x", "~/x"}) {
        facts.xdgDataHome = value;
        SCOPED_TRACE(value == nullptr ? "unset" : value);
        EXPECT_EQ(ResolveFilePlaces(facts).playerDir, "/home/ann/.local/share/dellomar");
        EXPECT_EQ(ResolveFilePlaces(facts).playerDirBase, "/home/ann");
    }
}

TEST(FilePlacesTest, WithoutAHomeThePlayersFilesHaveNoPlace)
{
    for (const char* home : {static_cast<const char*>(nullptr), "", "ann"}) {
        SCOPED_TRACE(home == nullptr ? "unset" : home);
        PlaceFacts facts = Facts("/usr/games");
        facts.home = home;
        FilePlaces places = ResolveFilePlaces(facts);
        EXPECT_TRUE(places.playerDirMissing);
        EXPECT_FALSE(places.makePlayerDir);
        EXPECT_EQ(places.dataDir, "/usr/share/games/dellomar");
    }
}

TEST(FilePlacesTest, AnUnknownExecutableKeepsToTheWorkingDirectory)
{
    // A browser's file system has no executable; the data is preloaded at its root.
    PlaceFacts facts = Facts("");
    facts.xdgDataHome = "/data";
    FilePlaces places = ResolveFilePlaces(facts);
    EXPECT_EQ(PlacePath(places, "Textures\\txtr.txr", '/'), "Textures/txtr.txr");
    EXPECT_EQ(PlacePath(places, "save.gm", '/'), "save.gm");
    EXPECT_FALSE(places.makePlayerDir);
}

TEST(FilePlacesTest, WindowsKeepsToTheWorkingDirectoryWithoutDataBesideTheGame)
{
    PlaceFacts facts = Facts("C:\\Games\\dellomar", {"C:\\Games\\dellomar"});
    facts.installedLayout = false;
    facts.separator = '\\';
    EXPECT_EQ(PlacePath(ResolveFilePlaces(facts), "Textures\\txtr.txr", '\\'),
              "C:\\Games\\dellomar\\Textures\\txtr.txr");
    EXPECT_EQ(PlacePath(ResolveFilePlaces(facts), "save.gm", '\\'), "C:\\Games\\dellomar\\save.gm");

    facts.exeDir = "C:\\Downloads";
    FilePlaces places = ResolveFilePlaces(facts);
    EXPECT_EQ(PlacePath(places, "Textures\\txtr.txr", '\\'), "Textures\\txtr.txr");
    EXPECT_EQ(PlacePath(places, "save.gm", '\\'), "save.gm");
}

TEST(FilePlacesTest, WindowsSetupPutsThePlayersFilesInAppData)
{
    const std::string installed = "C:\\Program Files (x86)\\Dellomar";
    PlaceFacts facts = Facts(installed, {installed});
    facts.installedLayout = false;
    facts.separator = '\\';
    facts.holdsInstallMarker = [installed](const std::string& folder) {
        return folder == installed;
    };
    facts.appData = "C:\\Users\\ann\\AppData\\Roaming";
    FilePlaces places = ResolveFilePlaces(facts);
    EXPECT_EQ(PlacePath(places, "Textures\\txtr.txr", '\\'), installed + "\\Textures\\txtr.txr");
    EXPECT_EQ(PlacePath(places, "save.gm", '\\'),
              "C:\\Users\\ann\\AppData\\Roaming\\Dellomar\\save.gm");
    EXPECT_EQ(PlacePath(places, "save.gm.new-AbC123", '\\'),
              "C:\\Users\\ann\\AppData\\Roaming\\Dellomar\\save.gm.new-AbC123");
    EXPECT_TRUE(places.makePlayerDir);

    // Without a usable AppData the Save fails rather than write into the
    // installed folder or wherever the game was started.
    for (const char* appData : {static_cast<const char*>(nullptr), "", "Roaming"}) {
        SCOPED_TRACE(appData == nullptr ? "unset" : appData);
        facts.appData = appData;
        places = ResolveFilePlaces(facts);
        EXPECT_TRUE(places.playerDirMissing);
        EXPECT_FALSE(places.makePlayerDir);
        EXPECT_EQ(places.dataDir, installed);
    }

    // The marker of another folder is not ours: the unpacked zip stays portable.
    facts.appData = "C:\\Users\\ann\\AppData\\Roaming";
    facts.exeDir = "C:\\Games\\dellomar";
    facts.holdsTextures = [](const std::string&) { return true; };
    places = ResolveFilePlaces(facts);
    EXPECT_EQ(PlacePath(places, "save.gm", '\\'), "C:\\Games\\dellomar\\save.gm");
    EXPECT_FALSE(places.makePlayerDir);
}

TEST(FilePlacesTest, AbsoluteNamesStayWhereTheyAre)
{
    FilePlaces places = ResolveFilePlaces(Facts("/usr/games"));
    EXPECT_EQ(PlacePath(places, "/tmp/x.bmp", '/'), "/tmp/x.bmp");
    EXPECT_EQ(PlacePath(places, "C:\\x.bmp", '\\'), "C:\\x.bmp");
    EXPECT_TRUE(IsPlayerFile("save.gm"));
    EXPECT_FALSE(IsPlayerFile("Sounds\\clk.wav"));
    EXPECT_FALSE(IsPlayerFile("Sounds/clk.wav"));
}

} // namespace
