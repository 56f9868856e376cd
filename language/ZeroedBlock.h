#pragma once
// A fixed-size block of numbers that starts as zeros without being written: the
// memory comes from calloc, so the pages of a large array are zero on first touch
// and a DIM of a gigabyte costs no time until the program uses its elements.

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>

template <typename T>
class TZeroedBlock {
    static_assert(std::is_trivially_copyable_v<T>, "the block is copied byte for byte");

public:
    using value_type = T;

    TZeroedBlock() = default;
    // Throws std::bad_alloc when the memory cannot be had.
    explicit TZeroedBlock(std::size_t count) : mData(Allocate(count)), mSize(count) {}
    TZeroedBlock(const TZeroedBlock& other) : TZeroedBlock(other.mSize)
    {
        if (mSize != 0) std::memcpy(mData.get(), other.mData.get(), mSize * sizeof(T));
    }
    TZeroedBlock& operator=(const TZeroedBlock& other)
    {
        if (this != &other) *this = TZeroedBlock(other);
        return *this;
    }
    TZeroedBlock(TZeroedBlock&& other) noexcept = default;
    TZeroedBlock& operator=(TZeroedBlock&& other) noexcept = default;

    T* data() { return mData.get(); }
    const T* data() const { return mData.get(); }
    std::size_t size() const { return mSize; }
    bool empty() const { return mSize == 0; }
    T* begin() { return data(); }
    T* end() { return data() + mSize; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + mSize; }
    T& operator[](std::size_t i) { return mData.get()[i]; }

private:
    struct TFree {
        void operator()(T* p) const { std::free(p); }
    };

    static T* Allocate(std::size_t count)
    {
        if (count == 0) return nullptr;
        void* p = std::calloc(count, sizeof(T));
        if (p == nullptr) throw std::bad_alloc();
        return static_cast<T*>(p);
    }

    std::unique_ptr<T, TFree> mData;
    std::size_t mSize = 0;
};
