#include "platform/common/file_places.h"

namespace {

constexpr const char* GAME_NAME = "dellomar";

bool IsAbsolute(const std::string& path)
{
    if (path.empty()) {
        return false;
    }
    if (path[0] == '/' || path[0] == '\\') {
        return true;
    }
    // A drive letter: "C:\..." (and "C:name", relative to that drive's folder,
    // which is no folder of ours either).
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string Join(const std::string& folder, const std::string& name, char separator)
{
    if (folder.empty()) {
        return name;
    }
    if (folder.back() == separator) {
        return folder + name;
    }
    return folder + separator + name;
}

// The folder above `dir`, by its spelling: the executable's folder is already
// the real one, so ".." needs no lookup.
std::string ParentOf(const std::string& dir, char separator)
{
    size_t end = dir.find_last_not_of(separator);
    if (end == std::string::npos) {
        return dir; // the root is its own parent
    }
    size_t cut = dir.rfind(separator, end);
    if (cut == std::string::npos) {
        return ".";
    }
    return cut == 0 ? dir.substr(0, 1) : dir.substr(0, cut);
}

bool UsableBase(const char* value)
{
    return value != nullptr && IsAbsolute(value);
}

bool Inside(const std::string& path, const std::string& folder, char separator)
{
    std::string prefix = folder.back() == separator ? folder : folder + separator;
    return path.compare(0, prefix.size(), prefix) == 0;
}

// Windows' installed layout: the data where the setup program put it, the
// player's files in the roaming application data, made on the first Save.
FilePlaces SetupInstalledPlaces(const PlaceFacts& facts)
{
    FilePlaces places;
    places.dataDir = facts.exeDir;
    if (UsableBase(facts.appData)) {
        places.playerDir = Join(facts.appData, "Dellomar", facts.separator);
        places.makePlayerDir = true;
    } else {
        places.playerDirMissing = true;
    }
    return places;
}

} // namespace

FilePlaces ResolveFilePlaces(const PlaceFacts& facts)
{
    FilePlaces places;
    if (facts.exeDir.empty()) {
        return places;
    }
    if (facts.holdsInstallMarker && facts.holdsInstallMarker(facts.exeDir)) {
        return SetupInstalledPlaces(facts);
    }
    if (facts.holdsTextures && facts.holdsTextures(facts.exeDir)) {
        places.dataDir = facts.exeDir;
        places.playerDir = facts.exeDir;
        return places;
    }
    if (!facts.installedLayout) {
        return places;
    }
    const char sep = facts.separator;
    places.dataDir = Join(Join(Join(ParentOf(facts.exeDir, sep), "share", sep), "games", sep),
                          GAME_NAME, sep);
    places.makePlayerDir = true;
    // A relative value would put the player's files wherever the game was started.
    if (UsableBase(facts.xdgDataHome)) {
        places.playerDir = Join(facts.xdgDataHome, GAME_NAME, sep);
        if (UsableBase(facts.home) && Inside(places.playerDir, facts.home, sep)) {
            places.playerDirBase = facts.home;
        }
    } else if (UsableBase(facts.home)) {
        places.playerDir = Join(Join(Join(facts.home, ".local", sep), "share", sep), GAME_NAME,
                                sep);
        places.playerDirBase = facts.home;
    } else {
        places.makePlayerDir = false;
        places.playerDirMissing = true;
    }
    return places;
}

bool IsPlayerFile(const std::string& gamePath)
{
    return gamePath.find_first_of("\\/") == std::string::npos;
}

std::string PlacePath(const FilePlaces& places, const std::string& gamePath, char separator)
{
    std::string path = gamePath;
    for (char& c : path) {
        if (c == '\\' || c == '/') {
            c = separator;
        }
    }
    if (IsAbsolute(gamePath)) {
        return path;
    }
    return Join(IsPlayerFile(gamePath) ? places.playerDir : places.dataDir, path, separator);
}
