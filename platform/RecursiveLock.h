#pragma once
// A lock that the thread holding it may take again; each Lock needs its Unlock.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/Status.h"

namespace platform {

class RecursiveLock {
public:
    RecursiveLock() = default;
    RecursiveLock(const RecursiveLock&) = delete;
    RecursiveLock& operator=(const RecursiveLock&) = delete;

    // Always succeeds; returns true.
    bool Lock();
    // Gives up after `timeoutUs` microseconds with kTimedOut; a negative timeout waits forever.
    status_t LockWithTimeout(int64_t timeoutUs);
    void Unlock();
    // True when the calling thread holds the lock.
    bool IsLocked() const;
    // How many times the calling thread holds it (0 for every other thread).
    int32_t CountLocks() const;

private:
    void Acquired();

    std::recursive_timed_mutex mMutex;
    std::atomic<std::thread::id> mOwner{};
    int32_t mCount = 0;  // written only by the owner
};

// Holds a RecursiveLock for one scope.
class LockGuard {
public:
    explicit LockGuard(RecursiveLock& lock) : mLock(lock) { mLock.Lock(); }
    ~LockGuard() { mLock.Unlock(); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    RecursiveLock& mLock;
};

}  // namespace platform
