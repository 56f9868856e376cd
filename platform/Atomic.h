#pragma once
// Bit operations on a 32-bit word shared between threads (the machine's interrupt
// request word). Each returns the value the word held before.

#include <atomic>
#include <cstdint>

namespace platform {

inline int32_t atomic_or(std::atomic<int32_t>& word, int32_t bits)
{
    return word.fetch_or(bits, std::memory_order_acq_rel);
}

inline int32_t atomic_and(std::atomic<int32_t>& word, int32_t bits)
{
    return word.fetch_and(bits, std::memory_order_acq_rel);
}

inline uint32_t atomic_or(std::atomic<uint32_t>& word, uint32_t bits)
{
    return word.fetch_or(bits, std::memory_order_acq_rel);
}

inline uint32_t atomic_and(std::atomic<uint32_t>& word, uint32_t bits)
{
    return word.fetch_and(bits, std::memory_order_acq_rel);
}

// A value that one thread writes while others read it, and that can still be
// copied and assigned as part of a record (the settings records are value types).
template <typename T>
class CopyableAtomic {
public:
    CopyableAtomic(T value = T()) : mValue(value) {}
    CopyableAtomic(const CopyableAtomic& other) : mValue(other.load()) {}
    CopyableAtomic& operator=(const CopyableAtomic& other)
    {
        store(other.load());
        return *this;
    }
    CopyableAtomic& operator=(T value)
    {
        store(value);
        return *this;
    }
    operator T() const { return load(); }

    T load() const { return mValue.load(std::memory_order_acquire); }
    void store(T value) { mValue.store(value, std::memory_order_release); }

private:
    std::atomic<T> mValue;
};

}  // namespace platform
