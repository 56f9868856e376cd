#pragma once
// The strings that hold the value stack's owned texts, kept for reuse. A program that
// works on strings pushes and drops a text for nearly every code it runs; taking the
// string object back from this pool, with the room its last text left in it, spares
// two heap allocations each time. The pool belongs to the thread, since values are
// made and dropped on the thread that runs the machine, and holds only a few small
// strings so that it never keeps much memory.

#include <cstddef>
#include <string>

namespace text_pool {

struct TPool {
    static constexpr std::size_t SLOTS = 64;
    // Larger strings go back to the heap: a program's texts are small.
    static constexpr std::size_t KEPT_CAPACITY = 4096;
    std::string* kept[SLOTS];
    std::size_t count;
    bool armed;   // the thread's clean-up at exit is registered
    bool closed;  // the thread is ending: nothing more is kept
};

// Trivially destructible, so that values dropped late in a thread's end still find it.
inline constinit thread_local TPool tPool{};

// Registers the clean-up that frees the kept strings when the thread ends.
void Arm();

// An empty string, with room from an earlier use when the pool has one.
inline std::string* Acquire()
{
    TPool& pool = tPool;
    if (pool.count != 0) return pool.kept[--pool.count];
    return new std::string();
}

// Gives a string from Acquire back; its text is dropped. Out of line: the dispatch
// loop drops texts at some eighty places, and inlined at each it would grow the loop
// past what the instruction cache holds (VMachineRunCodes.cpp).
[[gnu::noinline]] inline void Release(std::string* s)
{
    TPool& pool = tPool;
    if (pool.count < TPool::SLOTS && s->capacity() <= TPool::KEPT_CAPACITY && !pool.closed) [[likely]] {
        if (!pool.armed) [[unlikely]]
            Arm();
        s->clear();
        pool.kept[pool.count++] = s;
        return;
    }
    delete s;
}

}  // namespace text_pool
