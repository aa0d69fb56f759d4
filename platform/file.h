// The file layer. The game names files the way it always has ("Textures\\txtr.txr",
// "save.gm"), relative to one folder; the backend decides where that folder is
// (beside the executable, or the installed data and the player's own folder)
// and, on POSIX, turns the backslashes into slashes.
//
// Every file may be hostile: a read opens only regular files and never waits on
// one, and nothing is ever written in place. A file is written as a new
// temporary one beside its target and then put in place by PlatFileRename.
#pragma once

#include <cstddef>
#include <cstdint>

struct PlatFile;

enum class PlatFileMode { Read };

// Longest name PlatFileCreateBeside gives back, with its terminating zero.
constexpr size_t PLAT_FILE_NAME_MAX = 512;

// Null when the file cannot be opened, or is no regular file (a folder, a FIFO,
// a device): such a file counts as missing.
PlatFile* PlatFileOpen(const char* path, PlatFileMode mode);
// Creates a new, empty file for writing in the folder of `target`, under a
// name no file had (never an existing name, never through a link), with the
// permissions of `target` or the default ones when there is none. Its name,
// spelled like `target`, goes to `name`. Null when nothing could be created, or
// when `target` is a file marked read-only: such a file is never replaced.
PlatFile* PlatFileCreateBeside(const char* target, char* name, size_t nameSize);
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
// Replaces `to` with `from` in one step that survives a power cut (a link named
// `to` is replaced, not followed); 0 on success. Temporaries of earlier,
// interrupted saves left beside `to` are then removed.
int PlatFileRename(const char* from, const char* to);
// 0 on success. A link is removed, not followed.
int PlatFileRemove(const char* path);
