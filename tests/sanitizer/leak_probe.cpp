// Leaks one block on purpose: the sanitizer build must report it and fail.
#include <cstdio>
#include <cstdlib>

int main()
{
    void* volatile block = std::malloc(77);
    block = nullptr;
    std::puts("leaked");
    return block == nullptr ? 0 : 1;
}
