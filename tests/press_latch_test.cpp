#include "platform/common/press_latch.h"
#include "platform/input.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

PressLatch Cleared()
{
    PressLatch latch;
    PressLatchClear(&latch);
    return latch;
}

TEST(PressLatchTest, TapBetweenReadsShowsDownOnceThenUp)
{
    PressLatch latch = Cleared();
    PressLatchNoteDown(&latch, 0x1C);
    EXPECT_TRUE(PressLatchRead(&latch, 0x1C, false));
    EXPECT_FALSE(PressLatchRead(&latch, 0x1C, false));
    // Another slot was never touched by it.
    EXPECT_FALSE(PressLatchRead(&latch, 0x1D, false));
}

TEST(PressLatchTest, HeldAndReleasedKeysReadAsTheyAre)
{
    PressLatch latch = Cleared();
    PressLatchNoteDown(&latch, 5);
    EXPECT_TRUE(PressLatchRead(&latch, 5, true));
    EXPECT_TRUE(PressLatchRead(&latch, 5, true));
    // Released since: up at once, because the press was already shown.
    EXPECT_FALSE(PressLatchRead(&latch, 5, false));
    // A second tap while up counts again.
    PressLatchNoteDown(&latch, 5);
    PressLatchNoteDown(&latch, 5);
    EXPECT_TRUE(PressLatchRead(&latch, 5, false));
    EXPECT_FALSE(PressLatchRead(&latch, 5, false));
}

TEST(PressLatchTest, ClearForgetsPressesAndOddSlotsAreHarmless)
{
    PressLatch latch = Cleared();
    PressLatchNoteDown(&latch, 0);
    PressLatchNoteDown(&latch, PRESS_LATCH_SLOTS - 1);
    PressLatchClear(&latch);
    EXPECT_FALSE(PressLatchRead(&latch, 0, false));
    EXPECT_FALSE(PressLatchRead(&latch, PRESS_LATCH_SLOTS - 1, false));

    PressLatchNoteDown(&latch, -1);
    PressLatchNoteDown(&latch, PRESS_LATCH_SLOTS);
    EXPECT_FALSE(PressLatchRead(&latch, -1, false));
    EXPECT_TRUE(PressLatchRead(&latch, PRESS_LATCH_SLOTS, true));
    for (int slot = 0; slot < PRESS_LATCH_SLOTS; ++slot) {
        EXPECT_FALSE(PressLatchRead(&latch, slot, false)) << slot;
    }
}

TEST(PressLatchTest, FoldMarksTappedBytesAndKeepsTheRest)
{
    PressLatch latch = Cleared();
    uint8_t keys[PLAT_KEYBOARD_STATE_SIZE] = {};
    keys[0x01] = PLAT_KEY_DOWN; // held
    keys[0x02] = 0x01;          // other bits stay as the device gave them
    PressLatchNoteDown(&latch, 0x02);
    PressLatchNoteDown(&latch, 0xFF);
    PressLatchFold(&latch, keys, PLAT_KEYBOARD_STATE_SIZE);
    EXPECT_EQ(keys[0x01], PLAT_KEY_DOWN);
    EXPECT_EQ(keys[0x02], PLAT_KEY_DOWN | 0x01);
    EXPECT_EQ(keys[0xFF], PLAT_KEY_DOWN);
    EXPECT_EQ(keys[0x03], 0);

    // Mouse buttons fold over their own four bytes only.
    PlatMouseState mouse{};
    PressLatchNoteDown(&latch, 1);
    PressLatchNoteDown(&latch, 7);
    PressLatchFold(&latch, mouse.buttons, 4);
    EXPECT_EQ(mouse.buttons[0], 0);
    EXPECT_EQ(mouse.buttons[1], PLAT_KEY_DOWN);
    EXPECT_EQ(mouse.buttons[3], 0);

    uint8_t again[PLAT_KEYBOARD_STATE_SIZE] = {};
    PressLatchFold(&latch, again, PLAT_KEYBOARD_STATE_SIZE);
    for (int slot = 0; slot < 256; ++slot) {
        // Slot 7 was noted but not read by the mouse fold: it shows here once.
        EXPECT_EQ(again[slot], slot == 7 ? PLAT_KEY_DOWN : 0) << slot;
    }
}

} // namespace
