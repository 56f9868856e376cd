#pragma once
// The link between a synchronous sender and the message it waits on.

#include <condition_variable>
#include <mutex>
#include <optional>

#include "platform/Message.h"

namespace platform {

struct ReplyChannel {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    std::optional<Message> reply;

    // Gives the sender its reply; only the first answer counts. False when answered before.
    bool Answer(Message message)
    {
        std::lock_guard lock(mutex);
        if (done) return false;
        reply = std::move(message);
        done = true;
        answered.notify_all();
        return true;
    }
};

}  // namespace platform
