// POSIX file access behind the file layer; the SDL and fake backends forward to it.
#pragma once

#include "platform/file.h"

#include <cstdio>
#include <string>

std::string StdioNativePath(const char* gamePath);
// Takes ownership of an open stream.
PlatFile* StdioFileAdopt(std::FILE* stream);
PlatFile* StdioFileOpen(const char* path, PlatFileMode mode);
size_t StdioFileRead(PlatFile* file, void* buffer, size_t size);
size_t StdioFileWrite(PlatFile* file, const void* buffer, size_t size);
int StdioFileFlush(PlatFile* file);
int StdioFileClose(PlatFile* file);
int64_t StdioFileSize(PlatFile* file);
int StdioFileRename(const char* from, const char* to);
int StdioFileRemove(const char* path);
