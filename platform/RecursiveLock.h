#pragma once
// A lock that the thread holding it may take again; each Lock needs its Unlock.

#include <condition_variable>
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
    // Built on a plain mutex and a condition variable rather than a timed mutex, whose
    // timed lock thread checkers do not all follow.
    mutable std::mutex mMutex;
    std::condition_variable mReleased;
    std::thread::id mOwner;
    int32_t mCount = 0;
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
