#pragma once
// Where the debugging machine reports a run: the debug view in the application, a
// recording sink in the tests.
//
// Some messages are posted; others make the machine wait until the receiver has
// handled them. For those the machine hands over a TDebugReply with the message: the
// receiver keeps it beside the message and lets it go once it has handled the message
// (or drops it with an unhandled message): either way the machine's wait ends. The
// machine waits at most DELIVERY_TIMEOUT for the hand-over and REPLY_TIMEOUT for the
// answer, and never past the stop of its thread.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/Clock.h"
#include "platform/Message.h"
#include "platform/ReplyChannel.h"

// The answer to one waiting message; answers when it is destroyed, or on Answer.
class TDebugReply {
public:
    TDebugReply() = default;
    explicit TDebugReply(std::shared_ptr<platform::ReplyChannel> channel) : mChannel(std::move(channel)) {}
    ~TDebugReply() { Answer(); }
    TDebugReply(TDebugReply&&) noexcept = default;
    TDebugReply& operator=(TDebugReply&& other) noexcept
    {
        if (this != &other) {
            Answer();
            mChannel = std::move(other.mChannel);
        }
        return *this;
    }
    TDebugReply(const TDebugReply&) = delete;
    TDebugReply& operator=(const TDebugReply&) = delete;

    void Answer()
    {
        if (mChannel) {
            mChannel->Answer(platform::Message(platform::kNoReply));
            mChannel.reset();
        }
    }

private:
    std::shared_ptr<platform::ReplyChannel> mChannel;
};

class TDebugSink {
public:
    static constexpr platform::bigtime_t DELIVERY_TIMEOUT = 300000;
    static constexpr platform::bigtime_t REPLY_TIMEOUT = 300000;

    virtual ~TDebugSink() = default;
    // Posts a message; never waits for the receiver.
    virtual void Post(const platform::Message& message) = 0;
    // Hands over a message whose sender waits for `reply`; false when it could not be
    // handed over within `deliveryTimeout` microseconds (then `reply` is dropped).
    virtual bool Deliver(const platform::Message& message, TDebugReply reply, platform::bigtime_t deliveryTimeout) = 0;
};

// How the machine's timed waits pass time: the system clock, or a test's own.
class TDebugClock {
public:
    virtual ~TDebugClock() = default;
    // Waits on `signal` (with `lock` held) until `done()` holds or `micros` have
    // passed; returns done().
    virtual bool WaitFor(std::condition_variable& signal, std::unique_lock<std::mutex>& lock,
                         platform::bigtime_t micros, const std::function<bool()>& done) const;
    // The system clock, shared.
    static const TDebugClock& System();
};
