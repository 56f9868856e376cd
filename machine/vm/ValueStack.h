#pragma once
// TValueStack: the machine's value stack, the part of a std::vector of TStackData that
// the machine uses, kept as three pointers. A push tests one pointer against the end of
// the storage (the capacity only grows up to the limit the machine sets, so reaching
// the limit and running out of room are the same test), and a pop only runs the
// entry's destructor, which frees nothing for numbers.
//
// Entries are moved bitwise when the storage grows: a TStackData owns its text
// through a pointer, so its bytes can move without its copy or move constructor.

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "machine/vm/StackData.h"

class TValueStack {
public:
    TValueStack() = default;
    TValueStack(const TValueStack&) = delete;
    TValueStack& operator=(const TValueStack&) = delete;
    ~TValueStack()
    {
        clear();
        std::free(mBase);
    }

    std::size_t size() const { return static_cast<std::size_t>(mTop - mBase); }
    bool empty() const { return mTop == mBase; }
    TStackData& back() { return mTop[-1]; }
    const TStackData& back() const { return mTop[-1]; }
    TStackData& operator[](std::size_t i) { return mBase[i]; }
    const TStackData& operator[](std::size_t i) const { return mBase[i]; }
    TStackData* begin() { return mBase; }
    TStackData* end() { return mTop; }
    // The entry n places below the top (0 is the top); the caller knows it exists.
    TStackData& FromTop(std::size_t n) { return mTop[-1 - static_cast<std::ptrdiff_t>(n)]; }

    // Whether the next push needs more storage (or the stack is at its limit).
    bool Full() const { return mTop == mEnd; }
    // Grows the storage toward `limit` entries; false when it already holds that many.
    bool Grow(std::size_t limit)
    {
        const std::size_t capacity = static_cast<std::size_t>(mEnd - mBase);
        if (capacity >= limit) return false;
        std::size_t wanted = capacity == 0 ? INITIAL_CAPACITY : capacity * 2;
        if (wanted > limit) wanted = limit;
        auto* fresh = static_cast<TStackData*>(std::malloc(wanted * sizeof(TStackData)));
        if (fresh == nullptr) throw std::bad_alloc();
        const std::size_t count = size();
        if (count != 0)
            std::memcpy(static_cast<void*>(fresh), static_cast<const void*>(mBase), count * sizeof(TStackData));
        std::free(mBase);
        mBase = fresh;
        mTop = fresh + count;
        mEnd = fresh + wanted;
        return true;
    }

    // These two assume room (Full() is false): the machine's pushes test it first.
    TStackData& EmplaceUnchecked() { return *new (mTop++) TStackData(); }
    void PushUnchecked(TStackData&& s) { new (mTop++) TStackData(std::move(s)); }

    void pop_back()
    {
        --mTop;
        mTop->~TStackData();
    }
    // Drops n entries that own nothing (markers, variables, numbers): no destructor
    // needs to run for them.
    void DropPlain(std::size_t n) { mTop -= n; }
    void clear()
    {
        while (mTop != mBase) pop_back();
    }

private:
    static constexpr std::size_t INITIAL_CAPACITY = 256;
    TStackData* mBase = nullptr;
    TStackData* mTop = nullptr;
    TStackData* mEnd = nullptr;
};
