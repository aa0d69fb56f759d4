// Files in a browser. The working folder is the player's saved games, kept in
// IndexedDB (web_pre.js mounts and fills it before the game starts); the
// pictures and sounds come with the page, preloaded into their own folder. A
// replaced saved game is written through to IndexedDB before Save counts as
// done, so it survives a reload and a browser restart; when the browser
// refuses (private mode, no room), Save fails as on a full disk and the copy
// in IndexedDB stays as it was.
#include "platform/file.h"
#include "platform/stdio/stdio_file.h"

#include <emscripten.h>

#include <cstring>
#include <string>

namespace {

constexpr const char* DATA_FOLDER = "/dellomar-data/";

// The data the page brings: "Textures\..." and "Sounds\...".
std::string Resolve(const char* path)
{
    if (path == nullptr) {
        return {};
    }
    for (const char* folder : {"Textures", "Sounds"}) {
        size_t length = std::strlen(folder);
        if (std::strncmp(path, folder, length) == 0 &&
            (path[length] == '\\' || path[length] == '/')) {
            return DATA_FOLDER + std::string(path);
        }
    }
    return path;
}

// 0 once IndexedDB holds the working folder as it now is.
EM_ASYNC_JS(int, WebStoreSaves, (), {
    if (!Module.dellomarSavesStored) return -1;
    return await new Promise(function(resolve) {
        try {
            FS.syncfs(false, function(error) { resolve(error ? -1 : 0); });
        } catch (e) {
            resolve(-1);
        }
    });
});

} // namespace

PlatFile* PlatFileOpen(const char* path, PlatFileMode mode)
{
    return path == nullptr ? nullptr : StdioFileOpen(Resolve(path).c_str(), mode);
}

PlatFile* PlatFileCreateBeside(const char* target, char* name, size_t nameSize)
{
    return target == nullptr ? nullptr
                             : StdioFileCreateBeside(Resolve(target).c_str(), name, nameSize);
}

size_t PlatFileRead(PlatFile* file, void* buffer, size_t size)
{
    return StdioFileRead(file, buffer, size);
}

size_t PlatFileWrite(PlatFile* file, const void* buffer, size_t size)
{
    return StdioFileWrite(file, buffer, size);
}

int PlatFileFlush(PlatFile* file)
{
    return StdioFileFlush(file);
}

int PlatFileClose(PlatFile* file)
{
    return StdioFileClose(file);
}

int64_t PlatFileSize(PlatFile* file)
{
    return StdioFileSize(file);
}

int PlatFileRename(const char* from, const char* to)
{
    if (from == nullptr || to == nullptr ||
        StdioFileRename(Resolve(from).c_str(), Resolve(to).c_str()) != 0) {
        return -1;
    }
    return WebStoreSaves();
}

int PlatFileRemove(const char* path)
{
    return path == nullptr ? -1 : StdioFileRemove(Resolve(path).c_str());
}
