// A sound buffer lock on backends that hold the bytes in memory: the buffer is
// a ring, so a lock that runs past its end goes on from its start and comes
// back as two pieces.
#pragma once

#include <cstdint>

// Points the regions at `bytes` bytes of `data` (a ring of `size` bytes) from
// `start`: PLAT_SOUND_OK, or PLAT_SOUND_ERR_INVALID_PARAM (regions left as they
// are) when the lock is larger than the ring or starts outside it.
int LockRingRegions(uint8_t* data, uint32_t size, uint32_t start, uint32_t bytes, void** region1,
                    uint32_t* length1, void** region2, uint32_t* length2);
