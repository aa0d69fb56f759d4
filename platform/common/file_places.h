// Where the game's files live. The game names every file relative to one
// folder ("Textures\\txtr.txr", "save.gm"); each backend turns those names
// into real paths through the places chosen here from what it knows of the
// running program. Pure functions: the facts come from the caller.
#pragma once

#include <functional>
#include <string>

struct FilePlaces {
    // Pictures and sounds (names inside a folder); empty: the working directory.
    std::string dataDir;
    // The player's files (names without a folder: the saved game and its
    // temporaries); empty: the working directory.
    std::string playerDir;
    // The player's folder may not exist yet: it is made (owner only) before
    // the first file is written into it.
    bool makePlayerDir = false;
    // Only folders below this one are made, and it must exist: a missing home
    // folder is never made. Empty: any missing folder of playerDir may be made.
    std::string playerDirBase;
    // No folder for the player's files could be found: they cannot be read
    // or written.
    bool playerDirMissing = false;
};

struct PlaceFacts {
    // The folder holding the executable; empty when it cannot be known.
    std::string exeDir;
    // Environment values, null when unset.
    const char* xdgDataHome = nullptr;
    const char* home = nullptr;
    // True when the folder holds a "Textures" folder.
    std::function<bool(const std::string& folder)> holdsTextures;
    // POSIX systems know an installed layout; without it, a game without its
    // data beside it keeps everything in the working directory.
    bool installedLayout = true;
    char separator = '/';

    // Windows' installed layout. The setup program leaves INSTALL_MARKER beside
    // the game it installs, in a folder the player may not write to; the
    // player's files then go to <appData>\Dellomar.
    std::function<bool(const std::string& folder)> holdsInstallMarker;
    const char* appData = nullptr;
};

constexpr const char* INSTALL_MARKER = "installed.txt";

// Portable when the executable's folder holds the data, installed otherwise
// (data in <exe dir>/../share/games/dellomar, the player's files in
// $XDG_DATA_HOME/dellomar or ~/.local/share/dellomar); the working directory
// when the executable's folder is unknown. A Windows game beside INSTALL_MARKER
// has its data beside it and the player's files in <appData>\Dellomar.
FilePlaces ResolveFilePlaces(const PlaceFacts& facts);

// The real path of one of the game's names: backslashes become `separator`,
// and a relative name is put in its folder. Absolute names stay where they are.
std::string PlacePath(const FilePlaces& places, const std::string& gamePath, char separator);

// True for a name without a folder: the player's files.
bool IsPlayerFile(const std::string& gamePath);
