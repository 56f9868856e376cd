#include "platform/Messenger.h"

#include <mutex>

#include "platform/Handler.h"
#include "platform/Looper.h"
#include "platform/ReplyChannel.h"

namespace platform {

Messenger::Messenger(const Handler* target)
{
    if (target) mTarget = target->mCore;
}

bool Messenger::IsValid() const
{
    std::shared_ptr<HandlerCore> core = mTarget.lock();
    if (!core) return false;
    std::lock_guard lock(core->mutex);
    return core->handler && core->looper;
}

Looper* Messenger::TargetLooper() const
{
    std::shared_ptr<HandlerCore> core = mTarget.lock();
    if (!core) return nullptr;
    std::lock_guard lock(core->mutex);
    return core->handler ? core->looper : nullptr;
}

status_t Messenger::SendMessage(uint32_t what) const
{
    return SendMessage(Message(what));
}

status_t Messenger::SendMessage(const Message& message) const
{
    std::shared_ptr<HandlerCore> core = mTarget.lock();
    if (!core) return kBadHandler;
    // Held while queueing so that the target cannot leave its looper half-way.
    std::lock_guard lock(core->mutex);
    if (!core->handler || !core->looper) return kBadHandler;
    Message copy(message);
    core->looper->Enqueue(std::move(copy), mTarget);
    return kOk;
}

status_t Messenger::SendMessage(const Message& message, Message* reply, bigtime_t, bigtime_t replyTimeout) const
{
    auto channel = std::make_shared<ReplyChannel>();
    {
        std::shared_ptr<HandlerCore> core = mTarget.lock();
        if (!core) return kBadHandler;
        std::lock_guard lock(core->mutex);
        if (!core->handler || !core->looper) return kBadHandler;
        if (core->looper->IsDispatchThread()) return kNotAllowed;
        Message copy(message);
        copy.mReplyTo = channel;
        core->looper->Enqueue(std::move(copy), mTarget);
    }
    std::unique_lock lock(channel->mutex);
    if (replyTimeout == kInfiniteTimeout) {
        channel->answered.wait(lock, [&] { return channel->done; });
    } else if (!channel->answered.wait_for(lock, std::chrono::microseconds(replyTimeout < 0 ? 0 : replyTimeout),
                                           [&] { return channel->done; })) {
        return kTimedOut;
    }
    if (reply) *reply = std::move(*channel->reply);
    return kOk;
}

bool operator==(const Messenger& a, const Messenger& b)
{
    return !a.mTarget.owner_before(b.mTarget) && !b.mTarget.owner_before(a.mTarget);
}

}  // namespace platform
