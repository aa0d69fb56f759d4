// POSIX file access behind the file layer. stdio_layer.cpp is the file layer
// of the SDL, web and fake backends on top of it; each says through its
// STDIO_FILE_HOOKS what it adds. Every function takes the game's own names and
// looks them up in the places set by StdioUsePlaces (the working directory
// until then).
#pragma once

#include "platform/common/file_places.h"
#include "platform/file.h"

#include <cstdio>
#include <string>

void StdioUsePlaces(const FilePlaces& places);
const FilePlaces& StdioPlaces();
// Back to the working directory, as at program start.
void StdioPlacesReset();
// Where this program's files live, found from its executable and environment.
FilePlaces StdioPlacesOfThisProgram();

// The real path of a game name; false when it has no place (no player's folder).
bool StdioResolve(const char* gamePath, std::string* path);
std::string StdioNativePath(const char* gamePath);
// Takes ownership of an open stream.
PlatFile* StdioFileAdopt(std::FILE* stream);
// The same for a save's temporary file at `path`, locked: closing it keeps the
// lock until the file is renamed or removed.
PlatFile* StdioFileAdoptLocked(std::FILE* stream, const std::string& path);
// Drops the lock kept for `path` (any kept lock when empty).
void StdioReleaseLock(const std::string& path);
PlatFile* StdioFileOpen(const char* path, PlatFileMode mode);
PlatFile* StdioFileCreateBeside(const char* target, char* name, size_t nameSize);
size_t StdioFileWrite(PlatFile* file, const void* buffer, size_t size);
int StdioFileFlush(PlatFile* file);
int StdioFileClose(PlatFile* file);
int StdioFileRename(const char* from, const char* to);
int StdioFileRemove(const char* path);

// What a backend adds to the file layer of stdio_layer.cpp. Every hook may be null.
struct StdioFileHooks {
    // Asked first by an open: true when *stream stands in for the file on disk.
    bool (*openInstead)(const char* path, std::FILE** stream) = nullptr;
    // Told first of every call by name ("FileOpenRead", "FileRemove", ...);
    // true makes a call that can fail fail with *result, as a real failure
    // would (a failing write puts part of its bytes down).
    bool (*fails)(const char* call, int* result) = nullptr;
    // After a successful rename onto the game's name `to`; its result is the rename's.
    int (*renamed)(const char* to) = nullptr;
};

// Defined by the backend linked with stdio_layer.cpp.
extern const StdioFileHooks STDIO_FILE_HOOKS;
