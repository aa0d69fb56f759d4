// Counting live blocks and the bytes asked for, rather than asking the C
// library for its arena statistics: the numbers are exact, do not depend on
// how the allocator caches, splits or trims memory (even the usable size of a
// block of a given request varies), and work the same under AddressSanitizer,
// whose allocator the arena statistics know nothing about. The program
// replaces the global operator new and delete with versions that go through
// malloc and free, and the linker routes every malloc-family call of the
// objects in this program through the __wrap_ functions below. Blocks are
// remembered in a table kept with the real malloc; a free of a block the C
// library made for itself is not ours, and is not counted. One thread only.
#include "tests/soak/counting_allocator.h"

#include <cstdlib>
#include <new>
#include <unordered_map>

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void __real_free(void* block);
}

namespace {

// The table's own memory must not go through the counted functions.
template <typename T>
struct RealAllocator {
    using value_type = T;
    RealAllocator() = default;
    template <typename U>
    RealAllocator(const RealAllocator<U>&) noexcept
    {}
    T* allocate(size_t count)
    {
        void* block = __real_malloc(count * sizeof(T));
        if (block == nullptr) {
            throw std::bad_alloc();
        }
        return static_cast<T*>(block);
    }
    void deallocate(T* block, size_t) noexcept { __real_free(block); }
    bool operator==(const RealAllocator&) const = default;
};

using BlockTable = std::unordered_map<void*, size_t, std::hash<void*>, std::equal_to<void*>,
                                      RealAllocator<std::pair<void* const, size_t>>>;

// Made on first use and never destroyed: blocks are freed until the very end.
BlockTable& Blocks()
{
    static BlockTable* table = new (__real_malloc(sizeof(BlockTable))) BlockTable();
    return *table;
}

int64_t s_bytes = 0;

void Added(void* block, size_t size)
{
    if (block != nullptr) {
        Blocks()[block] = size;
        s_bytes += static_cast<int64_t>(size);
    }
}

void Removed(void* block)
{
    auto found = Blocks().find(block);
    if (found != Blocks().end()) {
        s_bytes -= static_cast<int64_t>(found->second);
        Blocks().erase(found);
    }
}

void* NewBlock(size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

} // namespace

extern "C" {
void* __wrap_malloc(size_t size)
{
    void* block = __real_malloc(size);
    Added(block, size);
    return block;
}

void* __wrap_calloc(size_t count, size_t size)
{
    void* block = __real_calloc(count, size);
    Added(block, count * size);
    return block;
}

void* __wrap_realloc(void* block, size_t size)
{
    void* moved = __real_realloc(block, size);
    // A failed realloc keeps the old block.
    if (moved != nullptr || size == 0) {
        Removed(block);
        Added(moved, size);
    }
    return moved;
}

void __wrap_free(void* block)
{
    Removed(block);
    __real_free(block);
}
}

void* operator new(size_t size)
{
    return NewBlock(size);
}
void* operator new[](size_t size)
{
    return NewBlock(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}
void operator delete(void* block) noexcept
{
    std::free(block);
}
void operator delete[](void* block) noexcept
{
    std::free(block);
}
void operator delete(void* block, size_t) noexcept
{
    std::free(block);
}
void operator delete[](void* block, size_t) noexcept
{
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    std::free(block);
}

HeapUse CurrentHeapUse()
{
    return {static_cast<int64_t>(Blocks().size()), s_bytes};
}
