#include "platform/stdio/stdio_file.h"

#include <cstdio>
#include <unistd.h>

struct PlatFile {
    std::FILE* stream;
};

std::string StdioNativePath(const char* gamePath)
{
    std::string path = gamePath == nullptr ? "" : gamePath;
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path;
}

PlatFile* StdioFileAdopt(std::FILE* stream)
{
    return stream == nullptr ? nullptr : new PlatFile{stream};
}

PlatFile* StdioFileOpen(const char* path, PlatFileMode mode)
{
    if (path == nullptr) {
        return nullptr;
    }
    // Binary mode always: the saved game spells out its own CR LF.
    std::FILE* stream =
        std::fopen(StdioNativePath(path).c_str(), mode == PlatFileMode::Read ? "rb" : "wb");
    if (stream == nullptr) {
        return nullptr;
    }
    return new PlatFile{stream};
}

size_t StdioFileRead(PlatFile* file, void* buffer, size_t size)
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
    int result = std::fclose(file->stream) == 0 ? 0 : -1;
    delete file;
    return result;
}

int64_t StdioFileSize(PlatFile* file)
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

int StdioFileRename(const char* from, const char* to)
{
    if (from == nullptr || to == nullptr) {
        return -1;
    }
    return std::rename(StdioNativePath(from).c_str(), StdioNativePath(to).c_str()) == 0 ? 0 : -1;
}

int StdioFileRemove(const char* path)
{
    if (path == nullptr) {
        return -1;
    }
    return std::remove(StdioNativePath(path).c_str()) == 0 ? 0 : -1;
}
