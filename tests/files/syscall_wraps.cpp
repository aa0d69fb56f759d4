#include "tests/files/syscall_wraps.h"

#include "platform/common/temp_names.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

extern "C" int __real_fsync(int fd);
extern "C" int __real_getentropy(void* buffer, size_t length);

namespace {

std::vector<FolderSync> s_syncs;
std::vector<unsigned char> s_pattern;
size_t s_draws = 0;

} // namespace

extern "C" int __wrap_fsync(int fd)
{
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        struct stat save {};
        int64_t size = stat("save.gm", &save) == 0 ? static_cast<int64_t>(save.st_size) : -1;
        s_syncs.push_back({info.st_ino, size});
    }
    return __real_fsync(fd);
}

extern "C" int __wrap_getentropy(void* buffer, size_t length)
{
    if (s_pattern.empty()) {
        return __real_getentropy(buffer, length);
    }
    size_t k = std::min(s_draws++, s_pattern.size() - 1);
    std::memset(buffer, s_pattern[k], length);
    return 0;
}

const std::vector<FolderSync>& FolderSyncs()
{
    return s_syncs;
}

void SetRandomPattern(const std::vector<unsigned char>& pattern)
{
    s_pattern = pattern;
    s_draws = 0;
}

void ClearWraps()
{
    s_syncs.clear();
    SetRandomPattern({});
}

std::string TempNameTried(const std::string& target, unsigned char byte)
{
    unsigned char bytes[TEMP_RANDOM_BYTES];
    std::memset(bytes, byte, sizeof bytes);
    return target + TempSuffix(bytes);
}
