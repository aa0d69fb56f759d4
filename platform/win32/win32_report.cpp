// Telling the player which of the game's files could not be read. Without
// its pictures the game shows a black window; a player must learn why, and
// a program of the Windows subsystem has no console to print to, so the
// lines also go into a message box.
#include "platform/win32/win32_internal.h"

#include <cstdio>
#include <cwchar>
#include <set>

namespace {

std::set<std::string> s_told;
std::wstring s_pending;
bool s_quiet = false;

std::wstring SystemText(DWORD code)
{
    wchar_t text[256] = L"";
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, 0, text, 256, nullptr);
    while (length > 0 && std::wcschr(L"\r\n. ", text[length - 1]) != nullptr) {
        text[--length] = L'\0';
    }
    if (length == 0) {
        return L"error " + std::to_wstring(code);
    }
    return text;
}

// The path as the player knows it, without the prefix of long names.
std::wstring Spelled(const std::wstring& path)
{
    if (path.compare(0, 8, L"\\\\?\\UNC\\") == 0) {
        return L"\\\\" + path.substr(8);
    }
    if (path.compare(0, 4, L"\\\\?\\") == 0) {
        return path.substr(4);
    }
    return path;
}

// On its own thread, so that the game runs on (without the file) while the
// box waits for the player.
DWORD WINAPI ShowBox(void* text)
{
    auto* message = static_cast<std::wstring*>(text);
    MessageBoxW(nullptr, message->c_str(), L"Dellomar ++ cannot read its files",
                MB_OK | MB_ICONWARNING | MB_TOPMOST | MB_SETFOREGROUND);
    delete message;
    return 0;
}

} // namespace

void Win32NoteUnreadable(const char* gamePath, const std::wstring& nativePath, DWORD code)
{
    if (!s_told.insert(gamePath).second) {
        return;
    }
    std::wstring name;
    Win32Wide(gamePath, &name);
    const std::wstring line = name + L": " + SystemText(code) + L" (" + Spelled(nativePath) + L")";
    std::string spelled;
    if (!Win32Utf8(line, &spelled)) {
        spelled = std::string(gamePath) + ": cannot be read";
    }
    std::fprintf(stderr, "dellomar: cannot read %s\n", spelled.c_str());
    std::fflush(stderr);
    s_pending += line + L"\n";
}

void Win32TellUnreadable()
{
    if (s_pending.empty() || s_quiet) {
        return;
    }
    auto* message = new std::wstring(
        L"These files of the game could not be read, so it runs without them:\n\n" + s_pending);
    s_pending.clear();
    HANDLE thread = CreateThread(nullptr, 0, ShowBox, message, 0, nullptr);
    if (thread == nullptr) {
        delete message;
        return;
    }
    CloseHandle(thread);
}

void Win32QuietUnreadable()
{
    s_quiet = true;
}
