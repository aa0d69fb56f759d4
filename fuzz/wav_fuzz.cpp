#include "fuzz/fuzz_entries.h"
#include "fuzz/fuzz_scratch.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzMakeScratchFolder();
    FuzzLoadGameData();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzEnterScratchFolder();
    bool sound = FuzzWavInput(data, size);
    FuzzLeaveScratchFolder();
    if (!sound) {
        std::abort();
    }
    return 0;
}
