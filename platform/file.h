// The file layer. The game names files the way it always has ("Textures\\txtr.txr");
// on POSIX the backslashes become slashes and every other part of a path is kept.
#pragma once

#include <cstddef>
#include <cstdint>

struct PlatFile;

enum class PlatFileMode { Read, Write };

// Null when the file cannot be opened. Write creates or empties the file.
PlatFile* PlatFileOpen(const char* path, PlatFileMode mode);
// Bytes actually read; fewer than asked at the end of the file or on an error.
size_t PlatFileRead(PlatFile* file, void* buffer, size_t size);
// Bytes actually written; fewer than asked means the write failed.
size_t PlatFileWrite(PlatFile* file, const void* buffer, size_t size);
// 0 when everything written so far has reached the disk.
int PlatFileFlush(PlatFile* file);
// 0 when closed cleanly. The handle is gone either way.
int PlatFileClose(PlatFile* file);
// Total size in bytes, or -1 when unknown. The position is not moved.
int64_t PlatFileSize(PlatFile* file);
// Replaces `to` with `from` in one step; 0 on success.
int PlatFileRename(const char* from, const char* to);
// 0 on success.
int PlatFileRemove(const char* path);
