#include "platform/MessageRunner.h"

namespace platform {

MessageRunner::MessageRunner(const Messenger& target, const Message& message, bigtime_t interval, int32_t count,
                             const TimerClock* clock)
    : mTarget(target), mMessage(message), mClock(clock ? *clock : TimerClock::System()), mInterval(interval),
      mCount(count)
{
    if (interval <= 0 || count == 0) {
        mInitStatus = kBadValue;
        return;
    }
    mNextPost = mClock.NowMicros() + interval;
    try {
        mThread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        mInitStatus = kNoMemory;
    }
}

MessageRunner::~MessageRunner()
{
    {
        std::lock_guard lock(mMutex);
        mCancelled = true;
    }
    mClock.Notify(mChanged);
    if (mThread.joinable()) mThread.join();
}

void MessageRunner::Run()
{
    std::unique_lock lock(mMutex);
    while (!mCancelled && mCount != 0) {
        const bigtime_t now = mClock.NowMicros();
        if (now < mNextPost) {
            const bigtime_t due = mNextPost;
            mClock.WaitUntil(lock, mChanged, due, [&] { return mCancelled || mCount == 0 || mNextPost != due; });
            continue;  // due, cancelled, or re-timed: look again
        }
        if (mCount > 0) --mCount;
        mNextPost += mInterval;
        if (mNextPost < now) mNextPost = now + mInterval;  // do not catch up on missed posts
        // Posting only queues, so it may happen under the lock; the destructor then
        // knows that no post is under way once it has the lock.
        mTarget.SendMessage(mMessage);
    }
}

status_t MessageRunner::SetInterval(bigtime_t interval)
{
    if (mInitStatus != kOk) return mInitStatus;
    if (interval <= 0) return kBadValue;
    {
        std::lock_guard lock(mMutex);
        mInterval = interval;
        mNextPost = mClock.NowMicros() + interval;
    }
    mClock.Notify(mChanged);
    return kOk;
}

status_t MessageRunner::SetCount(int32_t count)
{
    if (mInitStatus != kOk) return mInitStatus;
    {
        std::lock_guard lock(mMutex);
        mCount = count;
    }
    mClock.Notify(mChanged);
    return kOk;
}

status_t MessageRunner::GetInfo(bigtime_t* interval, int32_t* count) const
{
    if (mInitStatus != kOk) return mInitStatus;
    std::lock_guard lock(mMutex);
    if (interval) *interval = mInterval;
    if (count) *count = mCount;
    return kOk;
}

}  // namespace platform
