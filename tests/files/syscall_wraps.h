// The file test's view of two system calls the file layer makes (the program
// is linked with --wrap=fsync,--wrap=getentropy).
#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

struct FolderSync {
    ino_t folder;
    // Size of "save.gm" in the working folder when the folder was flushed.
    int64_t saveSize;
};

// Folders flushed since the last call to ClearWraps.
const std::vector<FolderSync>& FolderSyncs();
// From now on getentropy gives the bytes of `pattern` (all bytes of call k
// equal pattern[k], the last entry repeating); empty: the system's bytes.
void SetRandomPattern(const std::vector<unsigned char>& pattern);
void ClearWraps();
// The temporary name the file layer tries k-th under SetRandomPattern.
std::string TempNameTried(const std::string& target, unsigned char byte);
