// Writing a file safely: a new temporary file beside the target, created
// exclusively, then renamed over the target and the rename made durable.
#include "platform/stdio/stdio_file.h"

#include "platform/common/temp_names.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int CREATE_ATTEMPTS = 100;
constexpr mode_t PLAYER_DIR_MODE = 0700;
// A temporary file younger than this may be one another copy of the game has
// just created and not yet locked; a leftover waits for a later save.
constexpr time_t STRAY_MIN_AGE_SECONDS = 60;

struct SplitPath {
    std::string folder; // "." for the working directory
    std::string base;
};

SplitPath Split(const std::string& path)
{
    size_t cut = path.rfind('/');
    if (cut == std::string::npos) {
        return {".", path};
    }
    return {cut == 0 ? "/" : path.substr(0, cut), path.substr(cut + 1)};
}

// Random bytes for a name nobody can guess ahead; should the system have none
// to give, the clock and the process still make names that rarely collide,
// and the exclusive create turns any collision into another try.
void RandomBytes(unsigned char* bytes, size_t count)
{
    if (getentropy(bytes, count) == 0) {
        return;
    }
    static uint64_t counter = 0;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    uint64_t mix = (static_cast<uint64_t>(now.tv_nsec) << 20) ^ static_cast<uint64_t>(now.tv_sec) ^
                   (static_cast<uint64_t>(getpid()) << 40) ^ (++counter * 0x9E3779B97F4A7C15ULL);
    for (size_t i = 0; i < count; ++i) {
        mix ^= mix >> 29;
        mix *= 0xBF58476D1CE4E5B9ULL;
        bytes[i] = static_cast<unsigned char>(mix >> 56);
    }
}

// The player's folder and any missing folder above it below `base`, for the
// owner alone; `base` itself must exist (a missing home is never made). The
// folders made go to `made`, outermost first. False when `base` is missing.
bool MakeFolders(const std::string& folder, const std::string& base, std::vector<std::string>* made)
{
    struct stat info {};
    if (!base.empty() && (stat(base.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))) {
        return false;
    }
    for (size_t at = folder.find('/', 1);; at = folder.find('/', at + 1)) {
        std::string part = folder.substr(0, at);
        if (part.size() > base.size() && mkdir(part.c_str(), PLAYER_DIR_MODE) == 0) {
            made->push_back(part); // an existing folder is fine
        }
        if (at == std::string::npos) {
            return true;
        }
    }
}

// A save that fails takes away the folders it made for itself.
void RemoveFolders(const std::vector<std::string>& made)
{
    for (auto folder = made.rbegin(); folder != made.rend(); ++folder) {
        rmdir(folder->c_str());
    }
}

// The player's private folder must be the player's alone: anyone else who may
// write into it could put another saved game, or a link, in place of ours.
// Said once on stderr until a save goes through again.
bool FolderIsPrivate(const std::string& folder)
{
    static bool told = false;
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0) {
        return true; // nothing there: the save fails on its own
    }
    const char* why = nullptr;
    if (info.st_uid != geteuid()) {
        why = "it belongs to another user";
    } else if ((info.st_mode & 022) != 0) {
        why = "others may write to it";
    }
    if (why == nullptr) {
        told = false;
        return true;
    }
    if (!told) {
        std::fprintf(stderr, "dellomar: not saving into %s: %s (mode %03o)\n", folder.c_str(), why,
                     static_cast<unsigned>(info.st_mode & 0777));
        told = true;
    }
    return false;
}

// False when the target is a regular file nobody may write: the player keeps
// it as it is. Otherwise *mode is the target's permissions, or -1 for none.
bool TargetAllowsReplace(const std::string& target, int* mode)
{
    *mode = -1;
    struct stat info {};
    if (stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return true;
    }
    if ((info.st_mode & 0222) == 0) {
        return false;
    }
    *mode = static_cast<int>(info.st_mode & 0777);
    return true;
}

// Creates the file exclusively under the first free name; -1 when none is.
int CreateUnique(const std::string& target, int mode, std::string* suffix)
{
    for (int attempt = 0; attempt < CREATE_ATTEMPTS; ++attempt) {
        unsigned char random[TEMP_RANDOM_BYTES];
        RandomBytes(random, sizeof random);
        *suffix = TempSuffix(random);
        const std::string path = target + *suffix;
        // O_EXCL never opens an existing name, a link included; O_NOFOLLOW says so twice.
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      mode < 0 ? 0666 : static_cast<mode_t>(mode));
        if (fd >= 0) {
            // The umask may have narrowed the replaced file's permissions.
            if (mode >= 0 && fchmod(fd, static_cast<mode_t>(mode)) != 0) {
                close(fd);
                unlink(path.c_str());
                return -1;
            }
            // Held until the file is renamed or removed: a sweep by another
            // save leaves it alone.
            flock(fd, LOCK_EX | LOCK_NB);
            return fd;
        }
        if (errno != EEXIST) {
            return -1;
        }
    }
    return -1;
}

void SyncFolder(const std::string& folder)
{
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        // The rename has already happened; a file system that cannot sync a
        // folder leaves it as durable as that file system makes anything.
        fsync(fd);
        close(fd);
    }
}

bool OldEnough(const struct stat& info)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return info.st_mtim.tv_sec <= now.tv_sec - STRAY_MIN_AGE_SECONDS;
}

// Removes one leftover if it is an old regular file of ours that nobody is writing.
void RemoveIfStray(int dirFd, const char* name)
{
    struct stat before {};
    if (fstatat(dirFd, name, &before, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(before.st_mode) ||
        before.st_uid != geteuid() || !OldEnough(before)) {
        return;
    }
    int fd = openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat opened {};
    struct stat now {};
    if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &opened) == 0 &&
        fstatat(dirFd, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && opened.st_ino == before.st_ino &&
        opened.st_dev == before.st_dev && now.st_ino == before.st_ino &&
        now.st_dev == before.st_dev) {
        unlinkat(dirFd, name, 0);
    }
    close(fd);
}

void SweepStrays(const SplitPath& target)
{
    DIR* dir = opendir(target.folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (dirent* entry = readdir(dir)) {
        if (IsTempNameOf(entry->d_name, target.base)) {
            RemoveIfStray(dirfd(dir), entry->d_name);
        }
    }
    closedir(dir);
}

} // namespace

PlatFile* StdioFileCreateBeside(const char* target, char* name, size_t nameSize)
{
    std::string native;
    if (name == nullptr || nameSize == 0 || !StdioResolve(target, &native)) {
        return nullptr;
    }
    const std::string gameTarget = target;
    if (gameTarget.size() + TEMP_SUFFIX_LENGTH >= nameSize) {
        return nullptr;
    }
    std::vector<std::string> made;
    if (StdioPlaces().makePlayerDir && IsPlayerFile(gameTarget)) {
        const std::string folder = Split(native).folder;
        if (!MakeFolders(folder, StdioPlaces().playerDirBase, &made) || !FolderIsPrivate(folder)) {
            RemoveFolders(made);
            return nullptr;
        }
    }
    int mode = -1;
    std::string suffix;
    if (!TargetAllowsReplace(native, &mode)) {
        return nullptr;
    }
    int fd = CreateUnique(native, mode, &suffix);
    if (fd < 0) {
        RemoveFolders(made);
        return nullptr;
    }
    std::FILE* stream = fdopen(fd, "wb");
    if (stream == nullptr) {
        close(fd);
        unlink((native + suffix).c_str());
        return nullptr;
    }
    std::snprintf(name, nameSize, "%s%s", target, suffix.c_str());
    return StdioFileAdoptLocked(stream, native + suffix);
}

int StdioFileRename(const char* from, const char* to)
{
    std::string nativeFrom;
    std::string nativeTo;
    if (!StdioResolve(from, &nativeFrom) || !StdioResolve(to, &nativeTo)) {
        return -1;
    }
    int renamed = rename(nativeFrom.c_str(), nativeTo.c_str());
    // Renamed, the file no longer looks like a leftover; failed, it is removed next.
    StdioReleaseLock(nativeFrom);
    if (renamed != 0) {
        return -1;
    }
    const SplitPath split = Split(nativeTo);
    SyncFolder(split.folder);
    SweepStrays(split);
    // The one place where a replaced file is known to be in place.
    return 0;
}
