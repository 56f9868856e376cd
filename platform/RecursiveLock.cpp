#include "platform/RecursiveLock.h"

#include <chrono>

namespace platform {

void RecursiveLock::Acquired() {
    if (mCount++ == 0) mOwner.store(std::this_thread::get_id(), std::memory_order_release);
}

bool RecursiveLock::Lock() {
    mMutex.lock();
    Acquired();
    return true;
}

status_t RecursiveLock::LockWithTimeout(int64_t timeoutUs) {
    if (timeoutUs < 0) {
        Lock();
        return kOk;
    }
    if (!mMutex.try_lock_for(std::chrono::microseconds(timeoutUs))) return kTimedOut;
    Acquired();
    return kOk;
}

void RecursiveLock::Unlock() {
    if (!IsLocked()) return;
    if (--mCount == 0) mOwner.store(std::thread::id(), std::memory_order_release);
    mMutex.unlock();
}

bool RecursiveLock::IsLocked() const {
    return mOwner.load(std::memory_order_acquire) == std::this_thread::get_id();
}

int32_t RecursiveLock::CountLocks() const { return IsLocked() ? mCount : 0; }

}  // namespace platform
