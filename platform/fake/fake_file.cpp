#include "platform/fake/fake_file.h"

#include "platform/fake/fake_core.h"
#include "platform/file.h"
#include "platform/stdio/stdio_file.h"

#include <cstdio>
#include <map>

namespace {

std::map<std::string, std::vector<uint8_t>> s_memoryFiles;

} // namespace

void FakeFileReset()
{
    s_memoryFiles.clear();
    StdioPlacesReset();
}

void FakeFileSetContents(const std::string& path, const std::vector<uint8_t>& bytes)
{
    s_memoryFiles[StdioNativePath(path.c_str())] = bytes;
}

void FakeFileForget(const std::string& path)
{
    s_memoryFiles.erase(StdioNativePath(path.c_str()));
}

PlatFile* PlatFileOpen(const char* path, PlatFileMode mode)
{
    FakeNote("FileOpenRead");
    auto found = s_memoryFiles.find(StdioNativePath(path));
    if (found == s_memoryFiles.end()) {
        return StdioFileOpen(path, mode);
    }
    std::vector<uint8_t>& bytes = found->second;
    // fmemopen refuses an empty buffer.
    std::FILE* stream = bytes.empty() ? std::fopen("/dev/null", "rb")
                                      : fmemopen(bytes.data(), bytes.size(), "rb");
    return StdioFileAdopt(stream);
}

PlatFile* PlatFileCreateBeside(const char* target, char* name, size_t nameSize)
{
    if (FakeCall("FileOpenWrite", nullptr)) {
        return nullptr;
    }
    return StdioFileCreateBeside(target, name, nameSize);
}

size_t PlatFileRead(PlatFile* file, void* buffer, size_t size)
{
    return StdioFileRead(file, buffer, size);
}

size_t PlatFileWrite(PlatFile* file, const void* buffer, size_t size)
{
    int failResult = 0;
    if (FakeCall("FileWrite", &failResult)) {
        // A failing write may still have put part of its bytes down.
        size_t partial = size / 2;
        StdioFileWrite(file, buffer, partial);
        return partial;
    }
    return StdioFileWrite(file, buffer, size);
}

int PlatFileFlush(PlatFile* file)
{
    int failResult = -1;
    if (FakeCall("FileFlush", &failResult)) {
        return failResult;
    }
    return StdioFileFlush(file);
}

int PlatFileClose(PlatFile* file)
{
    int failResult = -1;
    if (FakeCall("FileClose", &failResult)) {
        StdioFileClose(file);
        return failResult;
    }
    return StdioFileClose(file);
}

int64_t PlatFileSize(PlatFile* file)
{
    return StdioFileSize(file);
}

int PlatFileRename(const char* from, const char* to)
{
    int failResult = -1;
    if (FakeCall("FileRename", &failResult)) {
        return failResult;
    }
    return StdioFileRename(from, to);
}

int PlatFileRemove(const char* path)
{
    FakeNote("FileRemove");
    return StdioFileRemove(path);
}
