// The places the stdio file layer looks names up in, and finding this
// program's own: its executable, its environment, its data.
#include "platform/stdio/stdio_file.h"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FilePlaces s_places;

// Empty where the system cannot say (a browser's file system has no
// executable): the game then keeps to the working directory.
std::string ExecutableFolder()
{
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        return {};
    }
    std::string exe(path, static_cast<size_t>(length));
    size_t cut = exe.rfind('/');
    if (cut == std::string::npos) {
        return {};
    }
    return cut == 0 ? "/" : exe.substr(0, cut);
}

bool HoldsTextures(const std::string& folder)
{
    struct stat info {};
    return stat((folder + "/Textures").c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

void StdioUsePlaces(const FilePlaces& places)
{
    s_places = places;
}

const FilePlaces& StdioPlaces()
{
    return s_places;
}

void StdioPlacesReset()
{
    s_places = FilePlaces{};
}

FilePlaces StdioPlacesOfThisProgram()
{
    PlaceFacts facts;
    facts.exeDir = ExecutableFolder();
    facts.xdgDataHome = std::getenv("XDG_DATA_HOME");
    facts.home = std::getenv("HOME");
    if (facts.home == nullptr || facts.home[0] != '/') {
        const passwd* user = getpwuid(geteuid());
        facts.home = user != nullptr ? user->pw_dir : nullptr;
    }
    facts.holdsTextures = HoldsTextures;
    return ResolveFilePlaces(facts);
}
