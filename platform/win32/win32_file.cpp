// The file layer on native file handles. The game's names are put beside the
// executable when its data is there (the unpacked zip), and otherwise stay in
// the working directory as they always were. A game put in place by the setup
// program keeps the player's files in %APPDATA%\Dellomar instead.
#include "platform/common/file_places.h"
#include "platform/common/temp_names.h"
#include "platform/file.h"
#include "platform/win32/win32_internal.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>

struct PlatFile {
    HANDLE handle;
};

namespace {

// One native call moves at most 4 GiB − 1 bytes; larger requests go in pieces.
constexpr size_t MAX_CHUNK = 0x40000000;
constexpr int CREATE_ATTEMPTS = 100;
// What a replacing file takes over from the one it replaces; read-only never.
constexpr DWORD KEPT_ATTRIBUTES = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

FilePlaces PlacesOfThisProgram()
{
    PlaceFacts facts;
    char exe[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path(exe, length > 0 && length < MAX_PATH ? length : 0);
    size_t cut = path.find_last_of("\\/");
    facts.exeDir = cut == std::string::npos ? std::string() : path.substr(0, cut);
    facts.holdsTextures = [](const std::string& folder) { return IsFolder(folder + "\\Textures"); };
    facts.installedLayout = false;
    facts.separator = '\\';
    facts.holdsInstallMarker = [](const std::string& folder) {
        DWORD attributes = GetFileAttributesA((folder + "\\" + INSTALL_MARKER).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    };
    // The shell's answer rather than the environment's: %APPDATA% is only a
    // copy of it, and a copy anybody can change.
    char appData[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData) == S_OK) {
        facts.appData = appData;
    }
    return ResolveFilePlaces(facts);
}

const FilePlaces& Places()
{
    static const FilePlaces places = PlacesOfThisProgram();
    return places;
}

// Empty, a name no call opens, for a player's file that has no place.
std::string Native(const char* gamePath)
{
    if (Places().playerDirMissing && IsPlayerFile(gamePath)) {
        return std::string();
    }
    return PlacePath(Places(), gamePath, '\\');
}

// Names nobody can guess ahead are not needed for safety (CREATE_NEW never
// opens an existing name), only to make collisions rare.
void RandomBytes(unsigned char* bytes, size_t count)
{
    static uint64_t counter = 0;
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    uint64_t mix = static_cast<uint64_t>(now.QuadPart) ^
                   (static_cast<uint64_t>(GetCurrentProcessId()) << 32) ^
                   (++counter * 0x9E3779B97F4A7C15ULL);
    for (size_t i = 0; i < count; ++i) {
        mix ^= mix >> 29;
        mix *= 0xBF58476D1CE4E5B9ULL;
        mix ^= mix >> 32;
        bytes[i] = static_cast<unsigned char>(mix);
    }
}

HANDLE CreateUnique(const std::string& target, DWORD attributes, std::string* suffix)
{
    for (int attempt = 0; attempt < CREATE_ATTEMPTS; ++attempt) {
        unsigned char random[TEMP_RANDOM_BYTES];
        RandomBytes(random, sizeof random);
        *suffix = TempSuffix(random);
        const std::string path = target + *suffix;
        HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes,
                                    nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            return handle;
        }
        // A folder of that name answers "access denied" rather than "exists".
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return INVALID_HANDLE_VALUE;
        }
    }
    return INVALID_HANDLE_VALUE;
}

// True when the file was last written at least a minute ago. Another copy of
// the game closes its temporary file just before renaming it, so a younger
// one may be a save under way; a leftover waits for a later save.
bool OldEnough(const FILETIME& written)
{
    constexpr uint64_t MINUTE_IN_FILETIME_TICKS = 60ULL * 10000000ULL; // 100 ns ticks
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    auto ticks = [](const FILETIME& time) {
        return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return ticks(written) + MINUTE_IN_FILETIME_TICKS <= ticks(now);
}

// Leftovers of interrupted saves: old plain files of our pattern. A file
// another save is still writing is open without sharing, so it cannot be
// deleted either way.
void SweepStrays(const std::string& target)
{
    size_t cut = target.find_last_of('\\');
    std::string folder = cut == std::string::npos ? std::string() : target.substr(0, cut + 1);
    std::string base = cut == std::string::npos ? target : target.substr(cut + 1);
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((target + ".new-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const DWORD odd = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                          FILE_ATTRIBUTE_READONLY;
        if ((found.dwFileAttributes & odd) == 0 && IsTempNameOf(found.cFileName, base) &&
            OldEnough(found.ftLastWriteTime)) {
            DeleteFileA((folder + found.cFileName).c_str());
        }
    } while (FindNextFileA(search, &found) != 0);
    FindClose(search);
}

// Moves `size` bytes in pieces a DWORD can count, stopping at the first call
// that fails or moves nothing; the bytes moved.
template <typename Byte, typename Move>
size_t InChunks(Byte* bytes, size_t size, Move move)
{
    size_t done = 0;
    while (done < size) {
        DWORD asked = static_cast<DWORD>(std::min(size - done, MAX_CHUNK));
        DWORD moved = 0;
        if (move(bytes + done, asked, &moved) == 0 || moved == 0) {
            break;
        }
        done += moved;
    }
    return done;
}

} // namespace

PlatFile* PlatFileOpen(const char* path, PlatFileMode)
{
    if (path == nullptr) {
        return nullptr;
    }
    HANDLE handle = CreateFileA(Native(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    // Only files on a disk: not a device, a pipe or a console.
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle) != FILE_TYPE_DISK || GetFileInformationByHandle(handle, &info) == 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        CloseHandle(handle);
        return nullptr;
    }
    return new PlatFile{handle};
}

PlatFile* PlatFileCreateBeside(const char* target, char* name, size_t nameSize)
{
    if (target == nullptr || name == nullptr ||
        std::string(target).size() + TEMP_SUFFIX_LENGTH >= nameSize) {
        return nullptr;
    }
    const std::string native = Native(target);
    // Made on the first Save, inside a folder that is the player's own; when
    // it cannot be made the Save fails below as on a full disk.
    if (Places().makePlayerDir && IsPlayerFile(target)) {
        CreateDirectoryA(Places().playerDir.c_str(), nullptr);
    }
    DWORD attributes = GetFileAttributesA(native.c_str());
    DWORD kept = FILE_ATTRIBUTE_NORMAL;
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            return nullptr; // the player keeps a read-only saved game as it is
        }
        kept = (attributes & KEPT_ATTRIBUTES) != 0 ? attributes & KEPT_ATTRIBUTES : kept;
    }
    std::string suffix;
    HANDLE handle = CreateUnique(native, kept, &suffix);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    std::snprintf(name, nameSize, "%s%s", target, suffix.c_str());
    return new PlatFile{handle};
}

size_t PlatFileRead(PlatFile* file, void* buffer, size_t size)
{
    if (file == nullptr || buffer == nullptr) {
        return 0;
    }
    return InChunks(static_cast<unsigned char*>(buffer), size,
                    [file](unsigned char* at, DWORD asked, DWORD* got) {
                        return ReadFile(file->handle, at, asked, got, nullptr);
                    });
}

size_t PlatFileWrite(PlatFile* file, const void* buffer, size_t size)
{
    if (file == nullptr || buffer == nullptr) {
        return 0;
    }
    return InChunks(static_cast<const unsigned char*>(buffer), size,
                    [file](const unsigned char* at, DWORD asked, DWORD* put) {
                        return WriteFile(file->handle, at, asked, put, nullptr);
                    });
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
    const std::string target = Native(to);
    // Write-through: the rename has reached the disk when this returns. A
    // read-only target is refused here too.
    if (MoveFileExA(Native(from).c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        return -1;
    }
    SweepStrays(target);
    return 0;
}

int PlatFileRemove(const char* path)
{
    if (path == nullptr) {
        return -1;
    }
    return DeleteFileA(Native(path).c_str()) != 0 ? 0 : -1;
}
