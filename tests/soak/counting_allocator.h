// Live heap blocks of the soak test program: every operator new and delete,
// and every malloc, calloc, realloc and free of the code linked into it (the
// game core and the fake backend, through the linker's --wrap).
#pragma once

#include <cstddef>
#include <cstdint>

struct HeapUse {
    int64_t blocks;
    int64_t bytes;
    bool operator==(const HeapUse&) const = default;
};

HeapUse CurrentHeapUse();
