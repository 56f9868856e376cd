#include "platform/RecursiveLock.h"

#include <chrono>

namespace platform {

bool RecursiveLock::Lock()
{
    std::unique_lock lock(mMutex);
    std::thread::id self = std::this_thread::get_id();
    if (mOwner != self) {
        mReleased.wait(lock, [&] { return mOwner == std::thread::id(); });
        mOwner = self;
    }
    ++mCount;
    return true;
}

status_t RecursiveLock::LockWithTimeout(int64_t timeoutUs)
{
    if (timeoutUs < 0) {
        Lock();
        return kOk;
    }
    std::unique_lock lock(mMutex);
    std::thread::id self = std::this_thread::get_id();
    if (mOwner != self) {
        if (!mReleased.wait_for(lock, std::chrono::microseconds(timeoutUs),
                                [&] { return mOwner == std::thread::id(); }))
            return kTimedOut;
        mOwner = self;
    }
    ++mCount;
    return kOk;
}

void RecursiveLock::Unlock()
{
    std::lock_guard lock(mMutex);
    if (mOwner != std::this_thread::get_id()) return;
    if (--mCount == 0) {
        mOwner = std::thread::id();
        mReleased.notify_one();
    }
}

bool RecursiveLock::IsLocked() const
{
    std::lock_guard lock(mMutex);
    return mOwner == std::this_thread::get_id();
}

int32_t RecursiveLock::CountLocks() const
{
    std::lock_guard lock(mMutex);
    return mOwner == std::this_thread::get_id() ? mCount : 0;
}

}  // namespace platform
