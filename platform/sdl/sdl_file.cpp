#include "platform/file.h"
#include "platform/stdio/stdio_file.h"

PlatFile* PlatFileOpen(const char* path, PlatFileMode mode) { return StdioFileOpen(path, mode); }
PlatFile* PlatFileCreateBeside(const char* target, char* name, size_t nameSize) { return StdioFileCreateBeside(target, name, nameSize); }
size_t PlatFileRead(PlatFile* file, void* buffer, size_t size) { return StdioFileRead(file, buffer, size); }
size_t PlatFileWrite(PlatFile* file, const void* buffer, size_t size) { return StdioFileWrite(file, buffer, size); }
int PlatFileFlush(PlatFile* file) { return StdioFileFlush(file); }
int PlatFileClose(PlatFile* file) { return StdioFileClose(file); }
int64_t PlatFileSize(PlatFile* file) { return StdioFileSize(file); }
int PlatFileRename(const char* from, const char* to) { return StdioFileRename(from, to); }
int PlatFileRemove(const char* path) { return StdioFileRemove(path); }
