#include "platform/common/ring_lock.h"

#include "platform/audio.h"

int LockRingRegions(uint8_t* data, uint32_t size, uint32_t start, uint32_t bytes, void** region1,
                    uint32_t* length1, void** region2, uint32_t* length2)
{
    if (bytes > size || start >= size) {
        return PLAT_SOUND_ERR_INVALID_PARAM;
    }
    uint32_t first = bytes < size - start ? bytes : size - start;
    *region1 = data + start;
    *length1 = first;
    if (first < bytes) {
        *region2 = data;
        *length2 = bytes - first;
    }
    return PLAT_SOUND_OK;
}
