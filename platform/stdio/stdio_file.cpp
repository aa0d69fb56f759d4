#include "platform/stdio/stdio_file.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct PlatFile {
    std::FILE* stream;
    // A temporary file of a save: its lock outlives the stream until it is renamed or removed.
    std::string lockedPath;
};

namespace {

// The lock of the last temporary file closed and not yet renamed: another
// copy of the game sweeping leftovers must not take it in that gap.
int s_heldFd = -1;
std::string s_heldPath;

// Opens a regular file for reading without waiting on it: a FIFO would block
// the open until a writer came, and a device may act on being opened.
int OpenRegularForReading(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return -1;
    }
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    // The name may have been swapped for something else since the stat.
    int flags = fcntl(fd, F_GETFL);
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

} // namespace

bool StdioResolve(const char* gamePath, std::string* path)
{
    if (gamePath == nullptr) {
        return false;
    }
    const FilePlaces& places = StdioPlaces();
    if (places.playerDirMissing && IsPlayerFile(gamePath)) {
        return false;
    }
    *path = PlacePath(places, gamePath, '/');
    return true;
}

std::string StdioNativePath(const char* gamePath)
{
    std::string path;
    return StdioResolve(gamePath, &path) ? path : std::string();
}

PlatFile* StdioFileAdopt(std::FILE* stream)
{
    return stream == nullptr ? nullptr : new PlatFile{stream, {}};
}

PlatFile* StdioFileAdoptLocked(std::FILE* stream, const std::string& path)
{
    return stream == nullptr ? nullptr : new PlatFile{stream, path};
}

void StdioReleaseLock(const std::string& path)
{
    if (s_heldFd >= 0 && (path.empty() || path == s_heldPath)) {
        close(s_heldFd);
        s_heldFd = -1;
        std::string().swap(s_heldPath); // its memory too: nothing is held now
    }
}

PlatFile* StdioFileOpen(const char* path, PlatFileMode)
{
    std::string native;
    if (!StdioResolve(path, &native)) {
        return nullptr;
    }
    int fd = OpenRegularForReading(native);
    if (fd < 0) {
        return nullptr;
    }
    // Binary mode always: the saved game spells out its own CR LF.
    std::FILE* stream = fdopen(fd, "rb");
    if (stream == nullptr) {
        close(fd);
        return nullptr;
    }
    return new PlatFile{stream, {}};
}

// Reads and sizes are the same on every backend of this layer.
size_t PlatFileRead(PlatFile* file, void* buffer, size_t size)
{
    if (file == nullptr || size == 0) {
        return 0;
    }
    return std::fread(buffer, 1, size, file->stream);
}

size_t StdioFileWrite(PlatFile* file, const void* buffer, size_t size)
{
    if (file == nullptr || size == 0) {
        return 0;
    }
    return std::fwrite(buffer, 1, size, file->stream);
}

int StdioFileFlush(PlatFile* file)
{
    if (file == nullptr || std::fflush(file->stream) != 0) {
        return -1;
    }
    return fsync(fileno(file->stream)) == 0 ? 0 : -1;
}

int StdioFileClose(PlatFile* file)
{
    if (file == nullptr) {
        return -1;
    }
    if (!file->lockedPath.empty()) {
        StdioReleaseLock({});
        // Another descriptor of the same open file keeps its lock.
        s_heldFd = fcntl(fileno(file->stream), F_DUPFD_CLOEXEC, 0);
        s_heldPath = s_heldFd >= 0 ? file->lockedPath : std::string();
    }
    int result = std::fclose(file->stream) == 0 ? 0 : -1;
    delete file;
    return result;
}

int64_t PlatFileSize(PlatFile* file)
{
    if (file == nullptr) {
        return -1;
    }
    // Seeking works for memory streams too, which have no descriptor to stat.
    off_t here = ftello(file->stream);
    if (here < 0 || fseeko(file->stream, 0, SEEK_END) != 0) {
        return -1;
    }
    off_t size = ftello(file->stream);
    if (fseeko(file->stream, here, SEEK_SET) != 0) {
        return -1;
    }
    return static_cast<int64_t>(size);
}

int StdioFileRemove(const char* path)
{
    std::string native;
    if (!StdioResolve(path, &native)) {
        return -1;
    }
    int result = unlink(native.c_str()) == 0 ? 0 : -1;
    StdioReleaseLock(native);
    return result;
}
