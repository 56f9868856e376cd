#pragma once
// Delays messages and coalesces them by what code: a message waits `delay`
// microseconds, and a newer message of the same code that arrives meanwhile replaces
// it and starts the wait again. When a wait ends, the latest message goes to the
// target. The sender lives in its target's looper, where its timers deliver. The waits
// are measured on the system clock unless the sender is given another.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "platform/Clock.h"
#include "platform/Handler.h"
#include "platform/Message.h"
#include "platform/MessageRunner.h"
#include "platform/Messenger.h"
#include "platform/TimerClock.h"

// The message a wait posts to the sender when it ends.
inline constexpr uint32_t kDelaySenderTimeout = platform::fourcc("DSto");

// One pending message.
struct TDelaySendInfo {
    uint32_t Serial = 0;                              // serial of the latest message of this code
    platform::Message Msg;                            // a copy of that message
    std::unique_ptr<platform::MessageRunner> Runner;  // posts the timeout of the current wait
};

class TDelaySender : public platform::Handler {
public:
    // `clock` must outlive the sender; none: the system clock.
    explicit TDelaySender(const char* name, const platform::TimerClock* clock = nullptr);
    // Cancels every wait: no pending message is sent.
    ~TDelaySender() override;

    // Takes a copy of the message for delayed sending; the caller keeps its own. 0.
    int32_t SendMessage(const platform::Message* message);
    // Moves the sender into the looper of `target` and sends there from now on.
    void SetTarget(const platform::Messenger& target);
    // The delay of every wait started from now on (0 or less: the next turn of the looper).
    void SetDelay(platform::bigtime_t delay);

    void MessageReceived(platform::Message* message) override;
    // The end of a wait: sends the pending message when the timeout is its newest.
    void DelaySenderTimeout(platform::Message* timeout);

    // The number of codes waiting now.
    int32_t CountPending() const;

private:
    void StartWait(TDelaySendInfo& info, uint32_t what);

    const platform::TimerClock* const mClock;  // nullptr: the system clock

    // Guards everything below: SendMessage runs on the caller's thread, the timeout on
    // the target looper's.
    mutable std::mutex mMutex;
    uint32_t mSerial = 0;
    platform::bigtime_t mDelay = 0;
    std::map<uint32_t, TDelaySendInfo> mPending;
    platform::Messenger mTarget;
};
