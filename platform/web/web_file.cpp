// Files in a browser. The pictures and sounds come with the page, preloaded
// into their own folder. The player's folder (the saved game and its
// temporary files) lives in memory, and each file the game puts in place
// there is kept in IndexedDB (web_pre.js): written through before its Save
// counts as done, so it survives a reload and a browser restart, and read
// back before every read of it, so that a Load finds what another tab of the
// page stored. When storage refuses or does not answer (private mode, no
// room, a store that hangs), the Save fails as on a full disk and the game
// plays on; a Load then finds no saved game and changes nothing.
#include "platform/stdio/stdio_file.h"
#include "platform/web/web_internal.h"

#include <emscripten.h>
#include <string>

namespace {

// clang-format off
EM_ASYNC_JS(int, WebFetchSaved, (const char* path), {
    return await Module.dellomarSaves.fetch(UTF8ToString(path));
});

EM_ASYNC_JS(int, WebStoreSaved, (const char* path), {
    return await Module.dellomarSaves.store(UTF8ToString(path));
});
// clang-format on

// A player's file is read as storage holds it now; when storage cannot say,
// the file counts as missing rather than as a copy only this page has.
bool FetchBeforeRead(const char* path, std::FILE** stream)
{
    // The game reads its pictures and sounds one after another as it starts;
    // the browser gets its turn between them.
    WebTurnIfBusy();
    if (!IsPlayerFile(path)) {
        return false;
    }
    if (WebFetchSaved(StdioNativePath(path).c_str()) == 0) {
        return false;
    }
    *stream = nullptr;
    return true;
}

// A replaced saved game counts as saved once it is in IndexedDB.
int StoreAfterRename(const char* to)
{
    if (!IsPlayerFile(to)) {
        return 0;
    }
    return WebStoreSaved(StdioNativePath(to).c_str());
}

} // namespace

const StdioFileHooks STDIO_FILE_HOOKS = {
    .openInstead = FetchBeforeRead,
    .renamed = StoreAfterRename,
};

void WebUseFilePlaces()
{
    FilePlaces places;
    places.dataDir = "/dellomar-data";
    places.playerDir = "/dellomar";
    StdioUsePlaces(places);
}
