#pragma once
// A named thread that is created suspended and runs its body only after the first
// Resume. No thread is ever killed: a thread that was never resumed ends without
// running its body when its object goes; a started one is stopped by its owner
// (ask it to stop, wake it, Wait).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Status.h"

namespace platform {

using thread_id = int32_t;

class Thread {
public:
    // The body's result is the thread's exit value.
    using Body = std::function<int32_t()>;

    // Spawns the thread suspended. `priority` is a hint only: it is stored and
    // reported, the host scheduler is not asked for it.
    Thread(std::string name, int32_t priority, Body body);

    // A thread never resumed ends without running its body. A started thread must
    // have ended (or Detach must have been called); otherwise this waits for it.
    ~Thread();

    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // The first call starts the body; later calls wake a thread in SuspendSelf, or,
    // when it is not suspended, leave a wake token so that its next SuspendSelf
    // returns at once. Several resumes before one suspend leave one token.
    status_t Resume();

    // Suspends the calling thread, which must be this thread, until Resume.
    // Returns at once when a wake token is waiting (and consumes it).
    status_t SuspendSelf();

    // Waits until the thread has ended and stores its exit value through
    // `exitValue` when that is not null. A thread that was never resumed cannot be
    // waited for (kBadThreadId); waiting for oneself gives kNotAllowed.
    status_t Wait(int32_t* exitValue);

    // True while the thread has not been resumed yet, and while it sits in SuspendSelf.
    bool IsSuspended() const;
    // True once the first Resume has started the body.
    bool HasStarted() const;
    bool HasEnded() const;
    // True when called on this thread itself.
    bool IsCurrent() const;

    status_t SetPriority(int32_t priority);
    int32_t Priority() const;
    status_t SetName(const std::string& name);
    std::string Name() const;
    thread_id Id() const { return mId; }

    // Lets the thread end on its own after this object is gone (used when the body
    // deletes the object that owns this Thread).
    void Detach();

    // The id of the calling thread if it is one of ours, else 0.
    static thread_id CurrentId();

    struct State;  // shared with the running thread; internal

private:
    std::shared_ptr<State> mState;
    thread_id mId;
};

}  // namespace platform
