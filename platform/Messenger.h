#pragma once
// A handle to a handler through which messages are posted to the handler's looper.
// It never dangles: once the handler is gone, or is in no looper, sending fails
// with kBadHandler and nothing is delivered.

#include <memory>

#include "platform/Clock.h"
#include "platform/Status.h"

namespace platform {

class Handler;
class Looper;
class Message;
struct HandlerCore;

class Messenger {
public:
    // An empty messenger: every send fails with kBadHandler.
    Messenger() = default;
    // A messenger to `target` (a handler or a looper); null gives an empty messenger.
    explicit Messenger(const Handler* target);

    // True while the target exists and is in a looper.
    bool IsValid() const;

    // Posts a copy of the message to the target and returns at once.
    status_t SendMessage(const Message& message) const;
    status_t SendMessage(uint32_t what) const;

    // Posts a copy and waits for the target's reply (Message::SendReply). The reply
    // has the code kNoReply when the target was handled or dropped without one.
    // kTimedOut after `replyTimeout` microseconds without a reply; kNotAllowed when
    // the target's looper is dispatching on the calling thread (it could never answer).
    // Delivery itself never blocks, so `deliveryTimeout` only bounds nothing and is
    // accepted for the callers that state one.
    status_t SendMessage(const Message& message, Message* reply, bigtime_t deliveryTimeout = kInfiniteTimeout,
                         bigtime_t replyTimeout = kInfiniteTimeout) const;

    // The looper the target is in now, or null. The pointer is for comparing and for
    // adding handlers on the caller's own thread; it is not kept.
    Looper* TargetLooper() const;

    // Two messengers are equal when they name the same target (or are both empty).
    friend bool operator==(const Messenger& a, const Messenger& b);

private:
    std::weak_ptr<HandlerCore> mTarget;
};

}  // namespace platform
