#pragma once
// A receiver of messages. A handler gets messages only while it is in a looper; the
// looper calls MessageReceived on its own thread with its lock held.
//
// Deleting a handler removes it from its looper first. A derived handler whose looper
// may still be dispatching to it from another thread should remove itself in its own
// destructor (Looper::RemoveHandler), before its members go.

#include <memory>
#include <mutex>
#include <string>

namespace platform {

class Handler;
class Looper;
class Message;

// What a Messenger holds of its target: whether the handler still exists and which
// looper it is in. Shared so that it outlives the handler.
struct HandlerCore {
    std::mutex mutex;
    Handler* handler = nullptr;
    Looper* looper = nullptr;
};

class Handler {
public:
    explicit Handler(std::string name = "");
    virtual ~Handler();

    Handler(const Handler&) = delete;
    Handler& operator=(const Handler&) = delete;

    // The default handling drops the message (a waiting sender gets kNoReply).
    virtual void MessageReceived(Message* message);

    // The looper the handler is in, or null.
    Looper* GetLooper() const;
    const std::string& Name() const { return mName; }
    void SetName(std::string name) { mName = std::move(name); }

private:
    friend class Looper;
    friend class Messenger;

    std::shared_ptr<HandlerCore> mCore;
    std::string mName;
};

}  // namespace platform
