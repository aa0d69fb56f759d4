// The file layer of the backends whose files are POSIX ones (SDL, the web
// page, the fake): the stdio functions, with what the backend's
// STDIO_FILE_HOOKS add. Reads and sizes have nothing to add
// (stdio_file.cpp).
#include "platform/file.h"
#include "platform/stdio/stdio_file.h"

namespace {

// Tells the backend of the call; true when the call must fail with *result.
bool Fails(const char* call, int* result)
{
    return STDIO_FILE_HOOKS.fails != nullptr && STDIO_FILE_HOOKS.fails(call, result);
}

} // namespace

// Reads and removes cannot be made to fail: the backend is only told.
PlatFile* PlatFileOpen(const char* path, PlatFileMode mode)
{
    int ignored = 0;
    Fails("FileOpenRead", &ignored);
    std::FILE* stream = nullptr;
    if (STDIO_FILE_HOOKS.openInstead != nullptr && STDIO_FILE_HOOKS.openInstead(path, &stream)) {
        return StdioFileAdopt(stream);
    }
    return StdioFileOpen(path, mode);
}

PlatFile* PlatFileCreateBeside(const char* target, char* name, size_t nameSize)
{
    int result = 0;
    if (Fails("FileOpenWrite", &result)) {
        return nullptr;
    }
    return StdioFileCreateBeside(target, name, nameSize);
}

size_t PlatFileWrite(PlatFile* file, const void* buffer, size_t size)
{
    int result = 0;
    if (Fails("FileWrite", &result)) {
        size_t partial = size / 2;
        StdioFileWrite(file, buffer, partial);
        return partial;
    }
    return StdioFileWrite(file, buffer, size);
}

int PlatFileFlush(PlatFile* file)
{
    int result = -1;
    if (Fails("FileFlush", &result)) {
        return result;
    }
    return StdioFileFlush(file);
}

// The handle is gone either way.
int PlatFileClose(PlatFile* file)
{
    int result = -1;
    if (Fails("FileClose", &result)) {
        StdioFileClose(file);
        return result;
    }
    return StdioFileClose(file);
}

int PlatFileRename(const char* from, const char* to)
{
    int result = -1;
    if (Fails("FileRename", &result)) {
        return result;
    }
    if (StdioFileRename(from, to) != 0) {
        return -1;
    }
    return STDIO_FILE_HOOKS.renamed != nullptr ? STDIO_FILE_HOOKS.renamed(to) : 0;
}

int PlatFileRemove(const char* path)
{
    int ignored = 0;
    Fails("FileRemove", &ignored);
    return StdioFileRemove(path);
}
