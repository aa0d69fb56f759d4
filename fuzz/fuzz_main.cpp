// The libFuzzer entry of every target; the build names the input's entry in
// FUZZ_ENTRY (FuzzBitmapInput, FuzzWavInput, FuzzSavedGameInput).
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
    bool rulesHeld = FUZZ_ENTRY(data, size);
    FuzzLeaveScratchFolder();
    // A broken rule is a finding just like a crash.
    if (!rulesHeld) {
        std::abort();
    }
    return 0;
}
