// The file layer on native file handles. The game's names are put beside the
// executable when its data is there (the unpacked zip), and otherwise stay in
// the working directory as they always were. A game put in place by the setup
// program keeps the player's files in %APPDATA%\Dellomar instead. Names are
// kept in UTF-8 and handed to the wide-character calls, so that any folder a
// player has, in any script and of any depth, works.
#include "platform/common/file_places.h"
#include "platform/common/temp_names.h"
#include "platform/file.h"
#include "platform/win32/win32_internal.h"

#include <shlobj.h>
#include <knownfolders.h>

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

// The wide name for a file call; false for bytes that spell no name.
bool ForCalls(const std::string& path, std::wstring* wide)
{
    if (!Win32Wide(path, wide)) {
        return false;
    }
    *wide = Win32ForCalls(*wide);
    return true;
}

DWORD AttributesOf(const std::string& path)
{
    std::wstring wide;
    return ForCalls(path, &wide) ? GetFileAttributesW(wide.c_str()) : INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string& path)
{
    DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The executable's folder in UTF-8; empty (the working directory, as the
// game was designed) when it cannot be known or spelled.
std::string ExeFolder()
{
    std::string path;
    if (!Win32Utf8(Win32ModulePath(), &path)) {
        return std::string();
    }
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// The shell's answer rather than the environment's: %APPDATA% is only a copy
// of it, and a copy anybody can change. Not checked for existence here: a
// missing one fails the first Save, as a folder that cannot be made does.
bool AppDataFolder(std::string* folder)
{
    PWSTR path = nullptr;
    HRESULT result = SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DONT_VERIFY, nullptr,
                                          &path);
    bool ok = result == S_OK && path != nullptr && Win32Utf8(path, folder) && !folder->empty();
    CoTaskMemFree(path);
    return ok;
}

FilePlaces PlacesOfThisProgram()
{
    PlaceFacts facts;
    facts.exeDir = ExeFolder();
    facts.holdsTextures = [](const std::string& folder) { return IsFolder(folder + "\\Textures"); };
    facts.installedLayout = false;
    facts.separator = '\\';
    facts.holdsInstallMarker = [](const std::string& folder) {
        DWORD attributes = AttributesOf(folder + "\\" + INSTALL_MARKER);
        return attributes != INVALID_FILE_ATTRIBUTES &&
               (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    };
    std::string appData;
    if (AppDataFolder(&appData)) {
        facts.appData = appData.c_str();
    }
    return ResolveFilePlaces(facts);
}

const FilePlaces& Places()
{
    static const FilePlaces places = PlacesOfThisProgram();
    return places;
}

// The real path, in UTF-8; empty, a name no call opens, for a player's file
// that has no place.
std::string Native(const char* gamePath)
{
    if (Places().playerDirMissing && IsPlayerFile(gamePath)) {
        return std::string();
    }
    return PlacePath(Places(), gamePath, '\\');
}

// The same as a name for the wide calls; empty when it has none.
std::wstring NativeWide(const char* gamePath)
{
    std::wstring wide;
    return ForCalls(Native(gamePath), &wide) ? wide : std::wstring();
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
    std::wstring wide;
    for (int attempt = 0; attempt < CREATE_ATTEMPTS; ++attempt) {
        unsigned char random[TEMP_RANDOM_BYTES];
        RandomBytes(random, sizeof random);
        *suffix = TempSuffix(random);
        if (!ForCalls(target + *suffix, &wide)) {
            return INVALID_HANDLE_VALUE;
        }
        HANDLE handle = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes,
                                    nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            return handle;
        }
        // A folder of that name answers "access denied" rather than "exists".
        if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) {
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
    std::wstring pattern;
    if (!ForCalls(target + ".new-*", &pattern)) {
        return;
    }
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    std::string name;
    std::wstring stray;
    do {
        const DWORD odd = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT |
                          FILE_ATTRIBUTE_READONLY;
        if ((found.dwFileAttributes & odd) == 0 && Win32Utf8(found.cFileName, &name) &&
            IsTempNameOf(name, base) && OldEnough(found.ftLastWriteTime) &&
            ForCalls(folder + name, &stray)) {
            DeleteFileW(stray.c_str());
        }
    } while (FindNextFileW(search, &found) != 0);
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
    const std::wstring native = NativeWide(path);
    HANDLE handle = native.empty()
                        ? INVALID_HANDLE_VALUE
                        : CreateFileW(native.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD code = native.empty() ? ERROR_INVALID_NAME : GetLastError();
    // Only files on a disk: not a device, a pipe or a console.
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle != INVALID_HANDLE_VALUE &&
        (GetFileType(handle) != FILE_TYPE_DISK || GetFileInformationByHandle(handle, &info) == 0 ||
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) {
        CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
        code = ERROR_BAD_FILE_TYPE;
    }
    if (handle == INVALID_HANDLE_VALUE) {
        // A missing saved game is ordinary; a missing picture or sound is not.
        if (!IsPlayerFile(path)) {
            Win32NoteUnreadable(path, native.empty() ? L"?" : native, code);
        }
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
        std::wstring folder;
        if (ForCalls(Places().playerDir, &folder)) {
            CreateDirectoryW(folder.c_str(), nullptr);
        }
    }
    DWORD attributes = AttributesOf(native);
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
    const std::wstring source = NativeWide(from);
    std::wstring destination;
    // Write-through: the rename has reached the disk when this returns. A
    // read-only target is refused here too.
    if (source.empty() || !ForCalls(target, &destination) || destination.empty() ||
        MoveFileExW(source.c_str(), destination.c_str(),
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
    const std::wstring native = NativeWide(path);
    return !native.empty() && DeleteFileW(native.c_str()) != 0 ? 0 : -1;
}
