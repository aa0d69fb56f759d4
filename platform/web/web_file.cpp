// Files in a browser. The player's folder (the saved game and its temporary
// files) is kept in IndexedDB (web_pre.js mounts and fills it before the game
// starts); the pictures and sounds come with the page, preloaded into their
// own folder. A replaced saved game is written through to IndexedDB before
// Save counts as done, so it survives a reload and a browser restart; when
// the browser refuses (private mode, no room), Save fails as on a full disk
// and the copy in IndexedDB stays as it was.
#include "platform/file.h"
#include "platform/stdio/stdio_file.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>

namespace {

// 0 once IndexedDB holds the player's folder as it now is.
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

void WebUseFilePlaces()
{
    FilePlaces places;
    places.dataDir = "/dellomar-data";
    places.playerDir = "/dellomar";
    StdioUsePlaces(places);
}

PlatFile* PlatFileOpen(const char* path, PlatFileMode mode)
{
    return StdioFileOpen(path, mode);
}

PlatFile* PlatFileCreateBeside(const char* target, char* name, size_t nameSize)
{
    return StdioFileCreateBeside(target, name, nameSize);
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
    if (StdioFileRename(from, to) != 0) {
        return -1;
    }
    return WebStoreSaves();
}

int PlatFileRemove(const char* path)
{
    return StdioFileRemove(path);
}
