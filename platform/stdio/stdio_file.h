// POSIX file access behind the file layer; the SDL, web and fake backends
// forward to it. Every function takes the game's own names and looks them up
// in the places set by StdioUsePlaces (the working directory until then).
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
PlatFile* StdioFileOpen(const char* path, PlatFileMode mode);
PlatFile* StdioFileCreateBeside(const char* target, char* name, size_t nameSize);
size_t StdioFileRead(PlatFile* file, void* buffer, size_t size);
size_t StdioFileWrite(PlatFile* file, const void* buffer, size_t size);
int StdioFileFlush(PlatFile* file);
int StdioFileClose(PlatFile* file);
int64_t StdioFileSize(PlatFile* file);
int StdioFileRename(const char* from, const char* to);
int StdioFileRemove(const char* path);
