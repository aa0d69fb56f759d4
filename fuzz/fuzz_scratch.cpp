#include "fuzz/fuzz_scratch.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::filesystem::path s_scratch;
std::filesystem::path s_home;

void RemoveScratch()
{
    std::error_code ignored;
    std::filesystem::remove_all(s_scratch, ignored);
}

} // namespace

void FuzzMakeScratchFolder()
{
    // Every save syncs its file to disk; in memory that costs nothing.
    std::error_code error;
    std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    std::string pattern = (base / "dellomar-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("dellomar fuzz: mkdtemp");
        std::exit(1);
    }
    s_scratch = pattern;
    s_home = std::filesystem::current_path();
    std::atexit(RemoveScratch);
}

void FuzzEnterScratchFolder()
{
    std::filesystem::current_path(s_scratch);
}

void FuzzLeaveScratchFolder()
{
    std::filesystem::current_path(s_home);
}
