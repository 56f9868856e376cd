#include "platform/AlertRequest.h"

#include <chrono>

namespace platform {

namespace {
// A stop flag has no way to notify us, so a waiting thread looks at it this often.
constexpr auto kStopFlagPoll = std::chrono::milliseconds(10);
}  // namespace

bool AlertRequest::Answer(int32_t index)
{
    {
        std::lock_guard lock(mMutex);
        if (mSettled) return false;
        mSettled = true;
        mAnswer = index;
    }
    mSettledChanged.notify_all();
    return true;
}

bool AlertRequest::Withdraw()
{
    std::function<void()> onWithdraw;
    {
        std::lock_guard lock(mMutex);
        if (mSettled) return false;
        mSettled = true;
        mWithdrawn = true;
        mAnswer = mWithdrawnAnswer;
        onWithdraw = std::move(mOnWithdraw);
        mOnWithdraw = nullptr;
    }
    mSettledChanged.notify_all();
    if (onWithdraw) onWithdraw();
    return true;
}

void AlertRequest::SetOnWithdraw(std::function<void()> onWithdraw)
{
    {
        std::lock_guard lock(mMutex);
        if (!mWithdrawn) {
            if (!mSettled) mOnWithdraw = std::move(onWithdraw);
            return;
        }
    }
    if (onWithdraw) onWithdraw();
}

int32_t AlertRequest::Wait(const std::atomic<bool>* stopFlag)
{
    {
        std::unique_lock lock(mMutex);
        for (;;) {
            if (mSettled) return mAnswer;
            if (stopFlag && stopFlag->load(std::memory_order_acquire)) break;
            if (stopFlag)
                mSettledChanged.wait_for(lock, kStopFlagPoll);
            else
                mSettledChanged.wait(lock);
        }
    }
    Withdraw();
    std::lock_guard lock(mMutex);
    return mAnswer;
}

bool AlertRequest::IsSettled() const
{
    std::lock_guard lock(mMutex);
    return mSettled;
}

bool AlertRequest::WasWithdrawn() const
{
    std::lock_guard lock(mMutex);
    return mWithdrawn;
}

}  // namespace platform
