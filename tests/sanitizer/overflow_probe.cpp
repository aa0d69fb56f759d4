// Overflows a signed integer on purpose: the sanitizer build must stop here
// rather than report it and go on.
#include <climits>
#include <cstdio>

int main(int argc, char**)
{
    volatile int big = INT_MAX;
    int sum = big + argc;
    std::printf("went on after the overflow: %d\n", sum);
    return 0;
}
