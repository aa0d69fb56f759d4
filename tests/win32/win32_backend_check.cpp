// Checks of the Windows backend on a real (or Wine's) Win32, run by
// tests/win32/smoke_wine.sh in its X server before the game: the file layer,
// the window's message loop, and the record conversions of the display, input,
// sound and music seams. Prints one line per failure and a closing tally.
// A copy beside the setup program's marker checks the installed layout's
// player folder instead.
#include "platform/audio.h"
#include "platform/common/file_places.h"
#include "platform/file.h"
#include "platform/input.h"
#include "platform/music.h"
#include "platform/system.h"
#include "platform/video.h"
#include "platform/win32/win32_internal.h"

#include <ddraw.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int s_passed = 0;
int s_failed = 0;

void Check(bool ok, const char* what)
{
    if (ok) {
        ++s_passed;
    } else {
        ++s_failed;
        std::printf("FAIL: %s\n", what);
    }
}

std::string ReadWhole(const char* path)
{
    PlatFile* file = PlatFileOpen(path, PlatFileMode::Read);
    if (file == nullptr) {
        return "<missing>";
    }
    std::string bytes(static_cast<size_t>(PlatFileSize(file)), '\0');
    size_t got = PlatFileRead(file, bytes.data(), bytes.size());
    PlatFileClose(file);
    bytes.resize(got);
    return bytes;
}

// Writes the way the game saves: a new file beside `path`, then renamed over it.
bool WriteWhole(const char* path, const std::string& bytes)
{
    char temp[PLAT_FILE_NAME_MAX];
    PlatFile* file = PlatFileCreateBeside(path, temp, sizeof temp);
    if (file == nullptr) {
        return false;
    }
    bool ok = PlatFileWrite(file, bytes.data(), bytes.size()) == bytes.size();
    ok = PlatFileFlush(file) == 0 && ok;
    ok = PlatFileClose(file) == 0 && ok;
    ok = ok && PlatFileRename(temp, path) == 0;
    if (!ok) {
        PlatFileRemove(temp);
    }
    return ok;
}

// A UTF-8 name for the wide calls, spelled out here rather than through the
// backend's own helpers, which are under test: a long one made whole and
// given the prefix that lifts the MAX_PATH limit.
std::wstring W(const std::string& utf8)
{
    std::wstring wide(utf8.size(), L'\0');
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                     wide.data(), static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<size_t>(length) : 0);
    if (wide.size() < 200) {
        return wide;
    }
    wchar_t full[4096] = L"";
    DWORD got = GetFullPathNameW(wide.c_str(), 4096, full, nullptr);
    return got > 0 && got < 4096 ? L"\\\\?\\" + std::wstring(full, got) : wide;
}

std::string Utf8(const wchar_t* wide)
{
    char utf8[4096] = "";
    int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
    return length > 0 ? std::string(utf8) : std::string();
}

bool Exists(const std::string& path)
{
    return GetFileAttributesW(W(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Dates the file's last write two minutes back.
bool MakeOld(const std::string& path)
{
    HANDLE handle = CreateFileW(W(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks{};
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    ticks.QuadPart -= 120ULL * 10000000ULL;
    FILETIME old{ticks.LowPart, ticks.HighPart};
    bool done = SetFileTime(handle, nullptr, nullptr, &old) != 0;
    CloseHandle(handle);
    return done;
}

// Names in checkdir\ that start with `stem`.
int CountNamed(const char* stem)
{
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((std::string("checkdir\\") + stem + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int count = 0;
    do {
        ++count;
    } while (FindNextFileA(search, &found) != 0);
    FindClose(search);
    return count;
}

// ---- files ---------------------------------------------------------------

void CheckPlainFiles()
{
    CreateDirectoryA("checkdir", nullptr);
    Check(WriteWhole("checkdir\\a.gm", "1234567\r\n"), "write a file under a backslashed path");
    Check(ReadWhole("checkdir\\a.gm") == "1234567\r\n", "read back byte for byte, CR LF kept");
    Check(WriteWhole("checkdir\\a.gm", "xy"), "replace an existing file");
    Check(ReadWhole("checkdir\\a.gm") == "xy", "the replacement holds only its own bytes");
    Check(CountNamed("a.gm") == 1, "nothing left beside a replaced file");

    PlatFile* file = PlatFileOpen("checkdir\\a.gm", PlatFileMode::Read);
    char buffer[8] = {};
    Check(file != nullptr && PlatFileSize(file) == 2, "size of an open file");
    Check(PlatFileRead(file, buffer, sizeof buffer) == 2,
          "a read past the end gives what is there");
    Check(PlatFileRead(file, buffer, sizeof buffer) == 0, "a read at the end gives nothing");
    Check(PlatFileClose(file) == 0, "close");

    Check(PlatFileRename("checkdir\\b.gm", "checkdir\\c.gm") != 0, "renaming a missing file fails");
    Check(PlatFileOpen("checkdir\\none.gm", PlatFileMode::Read) == nullptr,
          "opening a missing file fails");
    char temp[PLAT_FILE_NAME_MAX];
    Check(PlatFileCreateBeside("nodir\\x.gm", temp, sizeof temp) == nullptr,
          "creating a file in a missing folder fails");
    Check(PlatFileRemove("checkdir\\a.gm") == 0, "remove");
    Check(PlatFileRemove("checkdir\\a.gm") != 0, "removing a missing file fails");
    Check(PlatFileRead(nullptr, buffer, 1) == 0 && PlatFileClose(nullptr) != 0 &&
              PlatFileSize(nullptr) == -1,
          "calls without a file fail quietly");
}

// Files planted to stop or redirect a save, and a save the player made read-only.
void CheckHostileFiles()
{
    CreateDirectoryA("checkdir\\d.gm", nullptr);
    Check(PlatFileOpen("checkdir\\d.gm", PlatFileMode::Read) == nullptr,
          "a folder is no file to read");
    Check(!WriteWhole("checkdir\\d.gm", "x"), "a folder is not replaced by a file");
    Check(CountNamed("d.gm") == 1, "a failed replace leaves nothing behind");
    RemoveDirectoryA("checkdir\\d.gm");
    Check(PlatFileOpen("NUL", PlatFileMode::Read) == nullptr, "a device is no file to read");

    // The old fixed temporary name, as a folder and as a file: neither matters.
    CreateDirectoryA("checkdir\\e.gm.new", nullptr);
    Check(WriteWhole("checkdir\\e.gm", "first"),
          "a folder named like the old temporary is no obstacle");
    RemoveDirectoryA("checkdir\\e.gm.new");
    Check(WriteWhole("checkdir\\e.gm.new", "planted") && WriteWhole("checkdir\\e.gm", "second"),
          "a file named like the old temporary is no obstacle");
    Check(ReadWhole("checkdir\\e.gm.new") == "planted", "and it is left as it was");

    // Leftovers of an interrupted save go with the next good one once they are
    // old enough not to be another copy's save under way; a folder stays.
    Check(WriteWhole("checkdir\\e.gm.new-abc123", "half"), "plant a leftover");
    Check(WriteWhole("checkdir\\e.gm.new-young0", "half"), "plant a young leftover");
    Check(MakeOld("checkdir\\e.gm.new-abc123"), "age the leftover");
    CreateDirectoryA("checkdir\\e.gm.new-dir000", nullptr);
    Check(WriteWhole("checkdir\\e.gm", "third"), "save beside leftovers");
    Check(ReadWhole("checkdir\\e.gm.new-abc123") == "<missing>", "a leftover of ours is removed");
    Check(ReadWhole("checkdir\\e.gm.new-young0") == "half", "a young one is spared");
    DeleteFileA("checkdir\\e.gm.new-young0");
    Check(RemoveDirectoryA("checkdir\\e.gm.new-dir000") != 0, "a folder of that name is not");

    SetFileAttributesA("checkdir\\e.gm", FILE_ATTRIBUTE_READONLY);
    Check(!WriteWhole("checkdir\\e.gm", "fourth"), "a read-only file is not replaced");
    Check(ReadWhole("checkdir\\e.gm") == "third", "a read-only file keeps its bytes");
    Check(CountNamed("e.gm") == 2, "a refused save leaves nothing behind");
    SetFileAttributesA("checkdir\\e.gm", FILE_ATTRIBUTE_NORMAL);

    SetFileAttributesA("checkdir\\e.gm", FILE_ATTRIBUTE_HIDDEN);
    Check(WriteWhole("checkdir\\e.gm", "fifth"), "a hidden file is replaced");
    DWORD attributes = GetFileAttributesA("checkdir\\e.gm");
    Check(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
          "and stays hidden");
    SetFileAttributesA("checkdir\\e.gm", FILE_ATTRIBUTE_NORMAL);
    DeleteFileA("checkdir\\e.gm");
    DeleteFileA("checkdir\\e.gm.new");
    RemoveDirectoryA("checkdir");
}

// Names outside every code page, and folders deeper than MAX_PATH: saved,
// read back, replaced and swept like any other.
void CheckWidePaths()
{
    const std::string unicode = "checkdir\\D\xC3\xA9llomar\xE6\xB8\xB8\xE6\x88\x8F";
    CreateDirectoryW(W("checkdir").c_str(), nullptr);
    Check(CreateDirectoryW(W(unicode).c_str(), nullptr) != 0, "make a folder of any script");
    const std::string saved = unicode + "\\\xC3\xBC.gm";
    Check(WriteWhole(saved.c_str(), "first") && Exists(saved),
          "save into it, under such a name too");
    Check(ReadWhole(saved.c_str()) == "first", "and read it back");
    Check(WriteWhole((saved + ".new-abc123").c_str(), "half") && MakeOld(saved + ".new-abc123"),
          "plant an old leftover of that name");
    Check(WriteWhole(saved.c_str(), "second") && !Exists(saved + ".new-abc123"),
          "a save sweeps a leftover spelled in any script");
    Check(PlatFileRemove(saved.c_str()) == 0 && RemoveDirectoryW(W(unicode).c_str()) != 0,
          "and removes it; nothing else was left");
    Check(PlatFileOpen("checkdir\\\xC3", PlatFileMode::Read) == nullptr &&
              !WriteWhole("checkdir\\\xC3", "x"),
          "bytes that spell no name count as a missing file");

    // Three levels of 100 characters: every name below is over 300 long.
    std::string deep = "checkdir";
    bool made = true;
    for (char level : {'a', 'b', 'c'}) {
        deep += "\\" + std::string(100, level);
        made = CreateDirectoryW(W(deep).c_str(), nullptr) != 0 && made;
    }
    Check(made, "make a folder deeper than MAX_PATH");
    const std::string longSave = deep + "\\l.gm";
    Check(WriteWhole(longSave.c_str(), "first") && ReadWhole(longSave.c_str()) == "first",
          "save and read back there, through a temporary name just as long");
    Check(WriteWhole((longSave + ".new-abc123").c_str(), "half") &&
              MakeOld(longSave + ".new-abc123") && WriteWhole(longSave.c_str(), "second") &&
              !Exists(longSave + ".new-abc123") && ReadWhole(longSave.c_str()) == "second",
          "a save there replaces the file and sweeps a leftover");
    Check(PlatFileRemove(longSave.c_str()) == 0, "remove a file there");
    bool removed = true;
    for (int level = 0; level < 3; ++level) {
        removed = RemoveDirectoryW(W(deep).c_str()) != 0 && removed;
        deep.resize(deep.find_last_of('\\'));
    }
    Check(removed, "nothing else was left in it");
}

void CheckFiles()
{
    CheckPlainFiles();
    CheckWidePaths();
    CheckHostileFiles();
}

// ---- the installed layout --------------------------------------------------

std::string ExeFolder()
{
    wchar_t exe[4096] = L"";
    DWORD length = GetModuleFileNameW(nullptr, exe, 4096);
    std::string path = length < 4096 ? Utf8(exe) : std::string();
    return path.substr(0, path.find_last_of('\\') + 1);
}

// The player's files (names without a folder) go to %APPDATA%\Dellomar, made
// by the first save, under the same rules as everywhere else.
void CheckInstalledFiles()
{
    // Wide: the player's folder may be spelled in any script.
    wchar_t appData[MAX_PATH] = L"";
    Check(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData) == S_OK,
          "the shell names the application data folder");
    const std::string folder = Utf8(appData) + "\\Dellomar";
    const std::string beside = ExeFolder();
    Check(!Exists(folder), "no player's folder before the first save");

    HANDLE blocker = CreateFileW(W(folder).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(blocker);
    Check(!WriteWhole("i.gm", "x"), "a file in the player's folder's place fails the save");
    Check(!Exists(beside + "i.gm") && !Exists("i.gm"), "and nothing is saved anywhere else");
    DeleteFileW(W(folder).c_str());

    Check(WriteWhole("i.gm", "first") && Exists(folder + "\\i.gm"),
          "the first save makes the player's folder and saves in it");
    Check(ReadWhole("i.gm") == "first", "and reads back from it");
    Check(!Exists(beside + "i.gm"), "nothing is saved beside the installed game");

    CreateDirectoryW(W(folder + "\\d.gm").c_str(), nullptr);
    Check(!WriteWhole("d.gm", "x"), "a folder there is not replaced by a file");
    RemoveDirectoryW(W(folder + "\\d.gm").c_str());

    Check(WriteWhole("i.gm.new-abc123", "half"), "plant a leftover in the player's folder");
    Check(MakeOld(folder + "\\i.gm.new-abc123"), "age the leftover");
    Check(WriteWhole("i.gm", "second") && ReadWhole("i.gm.new-abc123") == "<missing>",
          "a save there sweeps the leftover");
    SetFileAttributesW(W(folder + "\\i.gm").c_str(), FILE_ATTRIBUTE_READONLY);
    Check(!WriteWhole("i.gm", "third") && ReadWhole("i.gm") == "second",
          "a read-only saved game there is kept as it is");

    SetFileAttributesW(W(folder + "\\i.gm").c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(W(folder + "\\i.gm").c_str());
    Check(RemoveDirectoryW(W(folder).c_str()) != 0, "the player's folder holds nothing else");
}

// ---- window and message loop ---------------------------------------------

std::vector<PlatMessage> s_seen;

intptr_t RecordingProc(PlatWindow window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == PLAT_MSG_CREATE || message >= 0x400) {
        s_seen.push_back({window, message, wParam, lParam});
        return 0;
    }
    if (message == PLAT_MSG_PAINT) {
        s_seen.push_back({window, message, wParam, lParam});
        PlatBeginPaint(window);
        PlatEndPaint(window);
        return 0;
    }
    return PlatDefWindowProc(window, message, wParam, lParam);
}

int CountSeen(uint32_t message)
{
    int count = 0;
    for (const PlatMessage& seen : s_seen) {
        count += seen.message == message ? 1 : 0;
    }
    return count;
}

// Removes and dispatches everything pending; returns the messages removed that
// the check cares about (its own and the quit message), in order.
std::vector<PlatMessage> Drain()
{
    std::vector<PlatMessage> removed;
    PlatMessage message{};
    for (int i = 0; i < 1000 && PlatPeekMessage(&message); ++i) {
        if (message.message == PLAT_MSG_QUIT || message.message >= 0x400) {
            removed.push_back(message);
        }
        if (message.message != PLAT_MSG_QUIT) {
            PlatTranslateMessage(message);
            PlatDispatchMessage(message);
        }
    }
    return removed;
}

PlatWindowClass CheckClass(const char* name)
{
    PlatWindowClass windowClass{};
    windowClass.style = 43;
    windowClass.windowProc = RecordingProc;
    windowClass.instance = reinterpret_cast<PlatInstance>(GetModuleHandleA(nullptr));
    windowClass.icon = PLAT_STOCK_ICON_APPLICATION;
    windowClass.smallIcon = PLAT_STOCK_ICON_APPLICATION;
    windowClass.cursor = PLAT_STOCK_CURSOR_CROSS;
    windowClass.background = PLAT_STOCK_BRUSH_BLACK;
    windowClass.className = name;
    return windowClass;
}

PlatWindow CheckWindowAndQueue()
{
    Check(PlatRegisterClass(CheckClass("CHECKCLASS")) != 0, "register a class");
    Check(PlatRegisterClass(CheckClass("CHECKCLASS")) == 0, "registering it twice fails");
    Check(PlatLastError()[0] != '\0', "and says why");
    Check(PlatCreateWindow(0, "NOSUCHCLASS", "x", PLAT_WS_POPUP, 0, 0, 8, 8, nullptr) == nullptr,
          "a window of an unknown class is refused");

    PlatWindow window = PlatCreateWindow(0, "CHECKCLASS", "Backend check",
                                         PLAT_WS_POPUP | PLAT_WS_VISIBLE, 0, 0, 200, 150,
                                         CheckClass("").instance);
    Check(window != nullptr, "create the window");
    Check(CountSeen(PLAT_MSG_CREATE) == 1 && s_seen[0].window == window,
          "the game's procedure gets the creation message, for its window");
    Drain();
    s_seen.clear();
    Drain();
    Check(CountSeen(PLAT_MSG_PAINT) == 0, "a painted window is not painted again");

    // Posted messages come first, in order, then the quit message.
    PlatPostMessage(window, 0x401, 7, -5);
    PlatPostMessage(window, 0x402, 0, 0);
    PlatPostQuitMessage(0);
    PlatPostMessage(window, 0x403, ~uintptr_t{0}, 123456);
    std::vector<PlatMessage> removed = Drain();
    Check(removed.size() == 4, "three posted messages and the quit message");
    if (removed.size() == 4) {
        Check(removed[0].message == 0x401 && removed[1].message == 0x402 &&
                  removed[2].message == 0x403 && removed[3].message == PLAT_MSG_QUIT,
              "the quit message comes after everything posted");
        Check(removed[0].window == window && removed[0].wParam == 7 && removed[0].lParam == -5,
              "window and parameters arrive unchanged");
        Check(removed[3].wParam == 0, "the quit message carries the exit code");
    }
    Check(s_seen.size() == 3 && s_seen[2].wParam == ~uintptr_t{0} && s_seen[2].lParam == 123456,
          "dispatch hands every message to the game's procedure");
    PlatMessage none{};
    Check(!PlatPeekMessage(&none), "an empty queue is reported without waiting");
    return window;
}

void CheckClockAndKeys()
{
    uint32_t first = PlatGetTickCount();
    Sleep(50);
    uint32_t second = PlatGetTickCount();
    Check(second - first >= 30 && second - first < 5000, "the tick counter counts milliseconds");
    Check((static_cast<uint16_t>(PlatGetAsyncKeyState(PLAT_VK_ESCAPE)) & 0x8000u) == 0,
          "Escape is up");
    // What a flip returning early leaves of the frame's 10 ms is slept out,
    // counted from the game's last reading, and not spun.
    FILETIME created{};
    FILETIME ended{};
    FILETIME kernel{};
    FILETIME user{};
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    const uint64_t busyBefore = (uint64_t{user.dwHighDateTime} << 32) | user.dwLowDateTime;
    uint64_t shortest = UINT64_MAX;
    for (int frame = 0; frame < 20; ++frame) {
        const uint32_t start = PlatGetTickCount();
        Win32SleepOutFrame(10);
        shortest = std::min<uint64_t>(shortest, GetTickCount() - start);
    }
    GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user);
    const uint64_t busy = ((uint64_t{user.dwHighDateTime} << 32) | user.dwLowDateTime) - busyBefore;
    Check(shortest >= 10, "a frame slept out lasts 10 ms from the game's last tick reading");
    // In 100 ns units: 20 frames of 10 ms are 2,000,000; spinning uses them all.
    Check(busy < 1000000, "the rest of a frame is slept, not spun");
}

// ---- display -------------------------------------------------------------

PlatSurface MakeOffscreen(PlatVideoDevice device, uint32_t width, uint32_t height)
{
    PlatSurfaceDesc desc{};
    desc.size = PLAT_SDESC_SIZE;
    desc.flags = PLAT_SDESC_CAPS | PLAT_SDESC_HEIGHT | PLAT_SDESC_WIDTH;
    desc.caps = PLAT_SCAPS_OFFSCREENPLAIN | PLAT_SCAPS_SYSTEMMEMORY;
    desc.width = width;
    desc.height = height;
    PlatSurface surface = nullptr;
    Check(PlatVideoCreateSurface(device, &desc, &surface) >= 0 && surface != nullptr,
          "create an off-screen surface");
    return surface;
}

// Pixel (x, y) of a locked surface.
uint16_t PixelAt(const PlatSurfaceDesc& desc, int x, int y)
{
    const auto* row = static_cast<const unsigned char*>(desc.surface) + y * desc.pitch;
    uint16_t pixel = 0;
    std::memcpy(&pixel, row + x * 2, sizeof pixel);
    return pixel;
}

std::vector<unsigned char> ClipBlock(const std::vector<PlatRect>& rects)
{
    PlatRegionHeader header{PLAT_REGION_HEADER_SIZE,
                            PLAT_RDH_RECTANGLES,
                            static_cast<uint32_t>(rects.size()),
                            static_cast<uint32_t>(16 * rects.size()),
                            {0, 0, 0, 0}};
    std::vector<unsigned char> block(sizeof header + 16 * rects.size());
    header.bound = rects.front();
    std::memcpy(block.data(), &header, sizeof header);
    std::memcpy(block.data() + sizeof header, rects.data(), 16 * rects.size());
    return block;
}

void CheckClipList(PlatClipper clipper)
{
    std::vector<unsigned char> block = ClipBlock({{8, 4, 16, 12}, {20, 4, 24, 6}});
    Check(PlatVideoSetClipList(clipper, reinterpret_cast<PlatRegionHeader*>(block.data()), 0) >= 0,
          "set a clip list of two rectangles");
    DWORD size = 0;
    auto* native = reinterpret_cast<IDirectDrawClipper*>(clipper);
    native->GetClipList(nullptr, nullptr, &size);
    std::vector<unsigned char> back(size);
    bool read = size >= sizeof(RGNDATAHEADER) &&
                native->GetClipList(nullptr, reinterpret_cast<RGNDATA*>(back.data()), &size) >= 0;
    RGNDATAHEADER header{};
    long area = 0;
    if (read) {
        std::memcpy(&header, back.data(), sizeof header);
        // The system may cut the region into bands of its own; the area stays.
        for (DWORD i = 0; i < header.nCount && sizeof header + (i + 1) * sizeof(RECT) <= size;
             ++i) {
            RECT rect{};
            std::memcpy(&rect, back.data() + sizeof header + i * sizeof(RECT), sizeof rect);
            area += (rect.right - rect.left) * (rect.bottom - rect.top);
        }
    }
    Check(read && area == 8 * 8 + 4 * 2, "the clip list covers both rectangles");
}

void CheckFillAndClip(PlatVideoDevice device)
{
    PlatSurface surface = MakeOffscreen(device, 32, 16);
    Check(PlatVideoColorFill(surface, nullptr, PLAT_BLT_COLORFILL | PLAT_BLT_WAIT, 0x1234) >= 0,
          "fill a whole surface");
    PlatRect part{2, 3, 6, 5};
    PlatVideoColorFill(surface, &part, PLAT_BLT_COLORFILL | PLAT_BLT_WAIT, 0xF800);

    PlatClipper clipper = nullptr;
    Check(PlatVideoCreateClipper(device, 0, &clipper) >= 0 && clipper != nullptr,
          "create a clipper");
    CheckClipList(clipper);
    Check(PlatVideoSetClipper(surface, clipper) >= 0, "attach the clipper");
    PlatVideoColorFill(surface, nullptr, PLAT_BLT_COLORFILL | PLAT_BLT_WAIT, 0x07E0);

    PlatSurfaceDesc desc{};
    desc.size = PLAT_SDESC_SIZE;
    Check(PlatVideoLock(surface, nullptr, &desc, PLAT_LOCK_WAIT) >= 0 && desc.surface != nullptr &&
              desc.pitch >= 64 && desc.width == 32 && desc.height == 16,
          "lock gives the memory, pitch and size");
    if (desc.surface != nullptr) {
        Check(PixelAt(desc, 0, 0) == 0x1234 && PixelAt(desc, 31, 15) == 0x1234,
              "the whole-surface fill reached the corners");
        Check(PixelAt(desc, 2, 3) == 0xF800 && PixelAt(desc, 5, 4) == 0xF800 &&
                  PixelAt(desc, 6, 4) == 0x1234 && PixelAt(desc, 2, 5) == 0x1234,
              "a rectangle fill stops at its exclusive right and bottom");
        Check(PixelAt(desc, 8, 4) == 0x07E0 && PixelAt(desc, 15, 11) == 0x07E0 &&
                  PixelAt(desc, 21, 5) == 0x07E0,
              "a clipped fill reaches inside the clip list");
        Check(PixelAt(desc, 7, 4) == 0x1234 && PixelAt(desc, 16, 11) == 0x1234 &&
                  PixelAt(desc, 21, 6) == 0x1234,
              "and stops outside it");
        Check(PlatVideoUnlock(surface, nullptr) >= 0, "unlock");
    }
    PlatVideoSetColorKey(surface, PLAT_CKEY_SRCBLT, 0x0001, 0x0001);
    DDCOLORKEY key{};
    reinterpret_cast<IDirectDrawSurface7*>(surface)->GetColorKey(DDCKEY_SRCBLT, &key);
    Check(key.dwColorSpaceLowValue == 1 && key.dwColorSpaceHighValue == 1, "a source colour key");
    PlatVideoSetClipper(surface, nullptr);
    PlatVideoReleaseClipper(clipper);
    PlatVideoReleaseSurface(surface);
}

void CheckVideo(PlatWindow window)
{
    PlatVideoDevice device = nullptr;
    if (PlatVideoCreate(&device) < 0) {
        Check(false, "create the display device");
        return;
    }
    Check(PlatVideoSetCooperativeLevel(device, window, PLAT_COOP_NORMAL) >= 0,
          "shared use of the display");
    PlatSurfaceDesc desc{};
    desc.size = PLAT_SDESC_SIZE;
    desc.flags = PLAT_SDESC_CAPS;
    desc.caps = PLAT_SCAPS_PRIMARYSURFACE;
    PlatSurface primary = nullptr;
    Check(PlatVideoCreateSurface(device, &desc, &primary) >= 0, "a primary surface");
    PlatPixelFormat format{};
    format.size = sizeof format;
    Check(PlatVideoGetPixelFormat(primary, &format) >= 0 && format.rgbBitCount == 16 &&
              format.greenMask == 0x07E0,
          "a 16-bit 5.6.5 display reports 16");
    PlatRect rect{};
    Check(PlatGetWindowRect(window, &rect) >= 0 && rect.right - rect.left == 200 &&
              rect.bottom - rect.top == 150,
          "the window's rectangle");
    CheckFillAndClip(device);
    PlatVideoReleaseSurface(primary);
    Check(PlatVideoReleaseDevice(device) == 0, "the device is released last");
    Check(PlatVideoFlip(nullptr, nullptr, PLAT_FLIP_WAIT) < 0 &&
              PlatVideoLock(nullptr, nullptr, &desc, 0) < 0,
          "calls without a surface are refused, not crashed");
}

// ---- input, sound, music -------------------------------------------------

void CheckInputDevice(PlatInput input, PlatWindow window, PlatInputDeviceKind kind,
                      PlatInputDataFormat format, uint32_t size)
{
    PlatInputDevice device = nullptr;
    Check(PlatInputCreateDevice(input, kind, &device) == PLAT_INPUT_OK, "create a device");
    Check(PlatInputSetCooperativeLevel(
              device, window, PLAT_INPUT_NONEXCLUSIVE | PLAT_INPUT_BACKGROUND) == PLAT_INPUT_OK,
          "shared background use");
    Check(PlatInputSetDataFormat(device, format) == PLAT_INPUT_OK, "the published data format");
    Check(PlatInputAcquire(device) == PLAT_INPUT_OK, "acquire");
    unsigned char state[256];
    std::memset(state, 0xEE, sizeof state);
    Check(PlatInputGetDeviceState(device, size, state) == PLAT_INPUT_OK, "read the state");
    bool allUp = true;
    for (uint32_t i = kind == PlatInputDeviceKind::Mouse ? 12 : 0; i < size; ++i) {
        allUp = allUp && state[i] == 0;
    }
    Check(allUp, "nothing is held");
    Check(PlatInputUnacquire(device) == PLAT_INPUT_OK, "unacquire");
    PlatInputDeviceRelease(device);
}

void CheckInput(PlatWindow window)
{
    PlatInput input = nullptr;
    Check(PlatInputCreate(reinterpret_cast<PlatInstance>(GetModuleHandleA(nullptr)),
                          PLAT_INPUT_VERSION, &input) == PLAT_INPUT_OK,
          "create the input interface");
    CheckInputDevice(input, window, PlatInputDeviceKind::Keyboard, PlatInputDataFormat::Keyboard,
                     PLAT_KEYBOARD_STATE_SIZE);
    CheckInputDevice(input, window, PlatInputDeviceKind::Mouse, PlatInputDataFormat::Mouse,
                     sizeof(PlatMouseState));
    PlatInputRelease(input);
    PlatInputDevice none = nullptr;
    Check(PlatInputCreateDevice(nullptr, PlatInputDeviceKind::Mouse, &none) < 0 &&
              none == nullptr && PlatInputAcquire(nullptr) < 0,
          "calls without an interface or device fail");
}

// Sound may have no device here; whatever happens must be a clean result.
void CheckSound(PlatWindow window)
{
    PlatSoundDevice device = nullptr;
    int created = PlatSoundDeviceCreate(&device);
    Check((created < 0) == (device == nullptr), "a sound device exactly when creation succeeds");
    if (device != nullptr) {
        PlatSoundSetCooperativeLevel(device, window, PLAT_SOUND_COOP_NORMAL);
        PlatWaveFormat format{PLAT_WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0};
        PlatSoundBufferDesc desc{36, 0xE0 | 10, 441, 0, &format};
        PlatSoundBuffer buffer = nullptr;
        Check(PlatSoundCreateBuffer(device, desc, &buffer) >= 0, "create a sound buffer");
        void* first = nullptr;
        void* second = nullptr;
        uint32_t firstLength = 0;
        uint32_t secondLength = 0;
        Check(PlatSoundBufferLock(buffer, 0, 441, &first, &firstLength, &second, &secondLength,
                                  PLAT_SOUND_LOCK_FROM_WRITE_CURSOR) >= 0 &&
                  firstLength + secondLength == 441,
              "lock the whole buffer");
        PlatSoundBufferUnlock(buffer, first, firstLength, second, secondLength);
        PlatSoundBufferRelease(buffer);
        PlatSoundDeviceRelease(device);
    }
    PlatSoundBuffer none = nullptr;
    PlatWaveFormat format{PLAT_WAVE_FORMAT_PCM, 1, 11025, 11025, 1, 8, 0};
    Check(PlatSoundCreateBuffer(nullptr, {36, 10, 441, 0, &format}, &none) < 0 && none == nullptr &&
              PlatSoundBufferPlay(nullptr, 0, 0, 0) < 0,
          "calls without a device or buffer fail");
}

void CheckMusic()
{
    Check(PlatComInitialize() >= 0, "the component system starts");
    PlatMusicPerformance performance = nullptr;
    int created = PlatMusicCreatePerformance(PLAT_CLASS_CONTEXT_INPROC, &performance);
    Check((created < 0) == (performance == nullptr),
          "a performance exactly when creation succeeds");
    if (performance != nullptr) {
        PlatMusicPerformanceCloseDown(performance);
        PlatMusicPerformanceRelease(performance);
    }
    Check(PlatMusicPerformanceInit(nullptr, nullptr, nullptr) < 0 &&
              PlatMusicPerformanceAddPort(nullptr) < 0,
          "calls without a performance fail");
    PlatComUninitialize();
}

} // namespace

int main()
{
    Win32QuietUnreadable();
    if (Exists(ExeFolder() + INSTALL_MARKER)) {
        CheckInstalledFiles();
        std::printf("installed layout: %d passed, %d failed\n", s_passed, s_failed);
        return s_failed == 0 ? 0 : 1;
    }
    CheckFiles();
    PlatWindow window = CheckWindowAndQueue();
    CheckClockAndKeys();
    if (window != nullptr) {
        CheckVideo(window);
        CheckInput(window);
        CheckSound(window);
    }
    CheckMusic();
    std::printf("backend: %d passed, %d failed\n", s_passed, s_failed);
    return s_failed == 0 ? 0 : 1;
}
