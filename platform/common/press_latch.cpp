#include "platform/common/press_latch.h"

#include "platform/input.h"

#include <cstring>

namespace {

bool InLatch(int slot)
{
    return slot >= 0 && slot < PRESS_LATCH_SLOTS;
}

} // namespace

void PressLatchClear(PressLatch* latch)
{
    std::memset(latch->pressed, 0, sizeof(latch->pressed));
}

void PressLatchNoteDown(PressLatch* latch, int slot)
{
    if (InLatch(slot)) {
        latch->pressed[slot] = true;
    }
}

bool PressLatchRead(PressLatch* latch, int slot, bool downNow)
{
    if (!InLatch(slot)) {
        return downNow;
    }
    bool down = downNow || latch->pressed[slot];
    latch->pressed[slot] = false;
    return down;
}

void PressLatchFold(PressLatch* latch, uint8_t* state, int count)
{
    for (int slot = 0; slot < count; ++slot) {
        bool downNow = (state[slot] & PLAT_KEY_DOWN) != 0;
        if (PressLatchRead(latch, slot, downNow) && !downNow) {
            state[slot] |= PLAT_KEY_DOWN;
        }
    }
}
