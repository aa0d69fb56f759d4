// Paths between the game's names (UTF-8, the ASCII of its own names included)
// and the wide-character names every file call of this backend takes, so that
// a folder in any script, and one deeper than MAX_PATH, works as any other.
#include "platform/win32/win32_internal.h"

#include <cwchar>

namespace {

// CreateDirectoryW refuses a plain name of MAX_PATH - 12 characters or more;
// below that every call takes the name as it is.
constexpr size_t PLAIN_NAME_LIMIT = MAX_PATH - 12;
// The longest name Windows handles at all, in UTF-16 units.
constexpr size_t LONGEST_NAME = 32767;

bool StartsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.compare(0, std::wcslen(prefix), prefix) == 0;
}

} // namespace

bool Win32Wide(const std::string& utf8, std::wstring* wide)
{
    wide->clear();
    if (utf8.empty()) {
        return true;
    }
    int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                     static_cast<int>(utf8.size()), nullptr, 0);
    if (length <= 0) {
        return false;
    }
    wide->resize(static_cast<size_t>(length));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                               static_cast<int>(utf8.size()), wide->data(), length) == length;
}

bool Win32Utf8(const std::wstring& wide, std::string* utf8)
{
    utf8->clear();
    if (wide.empty()) {
        return true;
    }
    // A lone surrogate (NTFS allows them) has no UTF-8 spelling: such a name
    // cannot be handed on, and is treated as one that does not exist.
    int length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(),
                                     static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        return false;
    }
    utf8->resize(static_cast<size_t>(length));
    return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(),
                               static_cast<int>(wide.size()), utf8->data(), length, nullptr,
                               nullptr) == length;
}

std::wstring Win32ForCalls(const std::wstring& path)
{
    // Short names keep their ordinary meaning: relative to the working
    // directory, and "NUL" or "CON" still the devices they name.
    if (path.size() < PLAIN_NAME_LIMIT || StartsWith(path, L"\\\\?\\") ||
        StartsWith(path, L"\\\\.\\")) {
        return path;
    }
    // "\\?\" names are taken literally, so they must be whole and clean.
    DWORD need = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (need == 0 || need > LONGEST_NAME) {
        return path;
    }
    std::wstring full(need, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), need, full.data(), nullptr);
    if (length == 0 || length >= need) {
        return path;
    }
    full.resize(length);
    if (StartsWith(full, L"\\\\?\\") || StartsWith(full, L"\\\\.\\")) {
        return full;
    }
    if (StartsWith(full, L"\\\\")) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

std::wstring Win32ModulePath()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(),
                                          static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return std::wstring();
        }
        // A name that filled the buffer may have been cut: try a larger one.
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        if (buffer.size() > LONGEST_NAME) {
            return std::wstring();
        }
        buffer.resize(buffer.size() * 2);
    }
}
