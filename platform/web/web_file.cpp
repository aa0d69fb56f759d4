// Files in a browser. The player's folder (the saved game and its temporary
// files) is kept in IndexedDB (web_pre.js mounts and fills it before the game
// starts); the pictures and sounds come with the page, preloaded into their
// own folder. A replaced saved game is written through to IndexedDB before
// Save counts as done, so it survives a reload and a browser restart; when
// the browser refuses (private mode, no room), Save fails as on a full disk
// and the copy in IndexedDB stays as it was.
#include "platform/stdio/stdio_file.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>

namespace {

// 0 once IndexedDB holds the player's folder as it now is.
// clang-format off
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
// clang-format on

// A replaced saved game counts as saved once it is in IndexedDB.
int StoreSaves()
{
    return WebStoreSaves();
}

} // namespace

const StdioFileHooks STDIO_FILE_HOOKS = {
    .renamed = StoreSaves,
};

void WebUseFilePlaces()
{
    FilePlaces places;
    places.dataDir = "/dellomar-data";
    places.playerDir = "/dellomar";
    StdioUsePlaces(places);
}
