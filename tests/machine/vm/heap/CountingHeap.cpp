#include "tests/machine/vm/heap/CountingHeap.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> gLive{0};
std::atomic<std::size_t> gMade{0};

// Each block keeps its size in front of it, in a header of the alignment new gives.
constexpr std::size_t HEADER = alignof(std::max_align_t);

// A block of `size` bytes as the allocator takes it: a header word beside it, rounded
// up to 16 bytes, and never less than 32.
std::size_t chunk_of(std::size_t size)
{
    const std::size_t chunk = (size + sizeof(std::size_t) + 15) / 16 * 16;
    return chunk < 32 ? 32 : chunk;
}

void* allocate(std::size_t size)
{
    void* raw = std::malloc(size + HEADER);
    if (raw == nullptr) throw std::bad_alloc();
    *static_cast<std::size_t*>(raw) = size;
    gLive += chunk_of(size);
    gMade += chunk_of(size);
    return static_cast<char*>(raw) + HEADER;
}

void release(void* block) noexcept
{
    if (block == nullptr) return;
    void* raw = static_cast<char*>(block) - HEADER;
    gLive -= chunk_of(*static_cast<std::size_t*>(raw));
    std::free(raw);
}

}  // namespace

namespace counting_heap {

std::size_t LiveBytes()
{
    return gLive.load();
}
std::size_t MadeBytes()
{
    return gMade.load();
}

}  // namespace counting_heap

void* operator new(std::size_t size)
{
    return allocate(size);
}
void* operator new[](std::size_t size)
{
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* block) noexcept
{
    release(block);
}
void operator delete[](void* block) noexcept
{
    release(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    release(block);
}
void operator delete[](void* block, std::size_t) noexcept
{
    release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept
{
    release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept
{
    release(block);
}
