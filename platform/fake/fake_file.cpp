#include "platform/fake/fake_file.h"

#include "platform/fake/fake_core.h"
#include "platform/stdio/stdio_file.h"

#include <cstdio>
#include <map>

namespace {

std::map<std::string, std::vector<uint8_t>> s_memoryFiles;

} // namespace

void FakeFileReset()
{
    s_memoryFiles.clear();
    StdioPlacesReset();
}

void FakeFileSetContents(const std::string& path, const std::vector<uint8_t>& bytes)
{
    s_memoryFiles[StdioNativePath(path.c_str())] = bytes;
}

void FakeFileForget(const std::string& path)
{
    s_memoryFiles.erase(StdioNativePath(path.c_str()));
}

namespace {

bool OpenInstead(const char* path, std::FILE** stream)
{
    auto found = s_memoryFiles.find(StdioNativePath(path));
    if (found == s_memoryFiles.end()) {
        return false;
    }
    std::vector<uint8_t>& bytes = found->second;
    // fmemopen refuses an empty buffer.
    *stream = bytes.empty() ? std::fopen("/dev/null", "rb")
                            : fmemopen(bytes.data(), bytes.size(), "rb");
    return true;
}

} // namespace

// Every call is recorded, and any that can fail fails on request.
const StdioFileHooks STDIO_FILE_HOOKS = {
    .openInstead = OpenInstead,
    .fails = FakeCall,
};
