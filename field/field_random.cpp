#include "field/field_random.h"

namespace {

constexpr uint32_t START_STATE = 1;
uint32_t s_state = START_STATE;

} // namespace

void RandomReset()
{
    s_state = START_STATE;
}

void RandomSeed(uint32_t seed)
{
    s_state = seed;
}

int32_t RandomNext()
{
    s_state = s_state * 214013u + 2531011u; // unsigned: wraps mod 2^32
    return static_cast<int32_t>((s_state >> 16) & 0x7FFFu);
}
