// The file layer on native file handles. The game's paths already use the
// native separator, so they are handed over unchanged.
#include "platform/file.h"
#include "platform/win32/win32_internal.h"

#include <algorithm>

struct PlatFile {
    HANDLE handle;
};

namespace {

// One native call moves at most 4 GiB − 1 bytes; larger requests go in pieces.
constexpr size_t MAX_CHUNK = 0x40000000;

} // namespace

PlatFile* PlatFileOpen(const char* path, PlatFileMode mode)
{
    if (path == nullptr) {
        return nullptr;
    }
    bool reading = mode == PlatFileMode::Read;
    HANDLE handle = CreateFileA(path, reading ? GENERIC_READ : GENERIC_WRITE,
                                reading ? FILE_SHARE_READ : 0, nullptr,
                                reading ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return new PlatFile{handle};
}

size_t PlatFileRead(PlatFile* file, void* buffer, size_t size)
{
    if (file == nullptr || buffer == nullptr) {
        return 0;
    }
    auto* bytes = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < size) {
        DWORD asked = static_cast<DWORD>(std::min(size - done, MAX_CHUNK));
        DWORD got = 0;
        if (ReadFile(file->handle, bytes + done, asked, &got, nullptr) == 0 || got == 0) {
            break;
        }
        done += got;
    }
    return done;
}

size_t PlatFileWrite(PlatFile* file, const void* buffer, size_t size)
{
    if (file == nullptr || buffer == nullptr) {
        return 0;
    }
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    size_t done = 0;
    while (done < size) {
        DWORD asked = static_cast<DWORD>(std::min(size - done, MAX_CHUNK));
        DWORD put = 0;
        if (WriteFile(file->handle, bytes + done, asked, &put, nullptr) == 0 || put == 0) {
            break;
        }
        done += put;
    }
    return done;
}

int PlatFileFlush(PlatFile* file)
{
    if (file == nullptr) {
        return -1;
    }
    return FlushFileBuffers(file->handle) != 0 ? 0 : -1;
}

int PlatFileClose(PlatFile* file)
{
    if (file == nullptr) {
        return -1;
    }
    int result = CloseHandle(file->handle) != 0 ? 0 : -1;
    delete file;
    return result;
}

int64_t PlatFileSize(PlatFile* file)
{
    LARGE_INTEGER size{};
    if (file == nullptr || GetFileSizeEx(file->handle, &size) == 0) {
        return -1;
    }
    return static_cast<int64_t>(size.QuadPart);
}

int PlatFileRename(const char* from, const char* to)
{
    if (from == nullptr || to == nullptr) {
        return -1;
    }
    // Write-through: the rename has reached the disk when this returns.
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ? 0
                                                                                          : -1;
}

int PlatFileRemove(const char* path)
{
    if (path == nullptr) {
        return -1;
    }
    return DeleteFileA(path) != 0 ? 0 : -1;
}
