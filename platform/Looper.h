#pragma once
// A message queue with the handlers it serves, and the thread that serves it.
//
// A looper runs either on a thread of its own (Run) or inside an outside event loop:
// with SetExternalWake the looper calls `wake` whenever a message arrives, and the
// outside loop then calls DispatchPending on its thread. Either way one message is
// handled at a time, with the looper's lock held.
//
// A derived looper should call Quit in its destructor, so that its thread stops
// before its members go.

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Handler.h"
#include "platform/Message.h"
#include "platform/RecursiveLock.h"
#include "platform/Thread.h"

namespace platform {

class Looper : public Handler {
public:
    explicit Looper(std::string name = "", int32_t priority = 10);
    ~Looper() override;

    // Starts the looper's own thread; returns its id (or the spawn error).
    thread_id Run();
    // Ends the looper's thread. Called from another thread it waits until the thread
    // has ended; called on the looper's thread it ends the loop after the current
    // message. Messages still queued are dropped.
    void Quit();

    // Drives the looper from an outside loop instead of Run (see above). `wake` runs on
    // the posting thread, possibly while the target handler is held in place; it must
    // only schedule a later DispatchPending, never dispatch itself.
    void SetExternalWake(std::function<void()> wake);
    // Handles the messages queued now, on the calling thread; returns how many.
    int32_t DispatchPending();

    // A handler is in at most one looper; kBadValue when it is in another.
    status_t AddHandler(Handler* handler);
    // False when the handler is not in this looper.
    bool RemoveHandler(Handler* handler);
    int32_t CountHandlers() const;

    // Queues a copy for `target`, which must be in this looper (null: the looper).
    status_t PostMessage(const Message& message, Handler* target = nullptr);
    status_t PostMessage(uint32_t what, Handler* target = nullptr);

    bool Lock() { return mLock.Lock(); }
    status_t LockWithTimeout(bigtime_t timeoutUs) { return mLock.LockWithTimeout(timeoutUs); }
    void Unlock() { mLock.Unlock(); }
    bool IsLocked() const { return mLock.IsLocked(); }

    // The message being handled, while a handler runs; null otherwise.
    Message* CurrentMessage() const { return mCurrentMessage; }
    // True on the thread that handles this looper's messages: its own thread, or the
    // thread of the outside loop (the one that installed the wake or dispatched last).
    bool IsDispatchThread() const;
    int32_t CountQueued() const;

protected:
    // Hands one message to its handler; override to look at every message first.
    virtual void DispatchMessage(Message* message, Handler* target);

private:
    friend class Messenger;

    struct Entry {
        Message message;
        std::weak_ptr<HandlerCore> target;
    };

    void Enqueue(Message message, std::weak_ptr<HandlerCore> target);
    void Dispatch(Entry& entry);
    int32_t ThreadBody();

    RecursiveLock mLock;
    mutable std::mutex mQueueMutex;
    std::condition_variable mQueueChanged;
    std::deque<Entry> mQueue;
    bool mQuitRequested = false;
    std::function<void()> mExternalWake;

    std::vector<Handler*> mHandlers;  // guarded by mLock
    Message* mCurrentMessage = nullptr;
    std::atomic<std::thread::id> mDispatchThread{};
    std::unique_ptr<Thread> mThread;
    std::string mThreadName;
    int32_t mPriority;
};

}  // namespace platform
