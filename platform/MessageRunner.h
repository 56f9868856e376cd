#pragma once
// Posts a message to a target after an interval, and again after each further
// interval, `count` times in all (a negative count: until the runner goes).
// Deleting the runner cancels every post that has not been made yet. The intervals
// are measured on `clock`, the system clock unless another is given.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/Clock.h"
#include "platform/Message.h"
#include "platform/Messenger.h"
#include "platform/TimerClock.h"

namespace platform {

class MessageRunner {
public:
    MessageRunner(const Messenger& target, const Message& message, bigtime_t interval, int32_t count = -1,
                  const TimerClock* clock = nullptr);
    ~MessageRunner();

    MessageRunner(const MessageRunner&) = delete;
    MessageRunner& operator=(const MessageRunner&) = delete;

    // kBadValue for an interval that is not positive or a count of 0: such a runner posts nothing.
    status_t InitCheck() const { return mInitStatus; }

    // The next post comes one new interval after this call.
    status_t SetInterval(bigtime_t interval);
    // The number of posts still to make (negative: no end).
    status_t SetCount(int32_t count);
    status_t GetInfo(bigtime_t* interval, int32_t* count) const;

private:
    void Run();

    const Messenger mTarget;
    const Message mMessage;
    const TimerClock& mClock;
    status_t mInitStatus = kOk;

    mutable std::mutex mMutex;
    std::condition_variable mChanged;
    bigtime_t mInterval;
    int32_t mCount;
    bigtime_t mNextPost;
    bool mCancelled = false;
    std::thread mThread;
};

}  // namespace platform
