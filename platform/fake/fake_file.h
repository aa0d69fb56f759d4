// Test controls of the fake file layer. Files live on the real disk, relative to
// the working directory, unless a test puts one in memory; failures of single
// steps (creating the temporary file, each write, the flush, the close, the
// rename) are asked for through FakeFailCall with the names "FileOpenWrite",
// "FileWrite", "FileFlush", "FileClose", "FileRename".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads of `path` (as the game spells it) see these bytes instead of the disk.
void FakeFileSetContents(const std::string& path, const std::vector<uint8_t>& bytes);
void FakeFileForget(const std::string& path);
