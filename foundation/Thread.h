#pragma once
// A named thread wrapped in an object: the thread runs the object's virtual Execute,
// and the owner stops it by setting the stop flag that Execute polls.
//
// The thread is created suspended and starts at the first Resume. No thread is ever
// killed: an object deleted before its first Resume ends its thread without running
// Execute; otherwise the owner stops it in this order: Terminate, wake the body
// wherever it may block (Resume for a self-suspended thread), Wait, then delete.

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/Thread.h"

class TThread {
public:
    TThread(const char* name, int32_t priority);
    virtual ~TThread();

    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    // Sets the stop flag and returns 0; it neither wakes nor stops the thread.
    virtual int32_t Terminate();
    // The thread's body; its result is the thread's exit value.
    virtual int32_t Execute() = 0;

    // The first call starts Execute; later calls wake a thread that Suspend stopped.
    // A Resume that comes before the Suspend it is meant for is not lost.
    int32_t Resume() const;
    // Suspends the calling thread, which must be this object's own thread.
    int32_t Suspend() const;
    // Waits until the thread has ended; stores its exit value when `exitValue` is not null.
    int32_t Wait(int32_t* exitValue) const;
    // True once Execute has returned, not merely once Terminate was called.
    bool IsTerminated() const;
    bool IsSuspended() const;
    int32_t SetPriority(int32_t priority) const;
    int32_t SetName(const char* name) const;
    // When set, the object deletes itself on its own thread once Execute has returned.
    int32_t SetAutoDelete(bool autoDelete);
    platform::thread_id ThreadID() const;
    // The stop flag of the TThread whose body runs on the calling thread, or null on a
    // thread that no TThread started. Waits that a stopping thread may sit in watch it.
    static const std::atomic<bool>* CurrentStopFlag();

    // The thread's entry and exit hook.
    static int32_t SpawnThread(void* object);
    static void ExitThread(void* object);

protected:
    // Set by Terminate; Execute polls it and returns when it is set.
    bool StopRequested() const { return mStopFlag.load(std::memory_order_acquire); }

    std::atomic<bool> mStopFlag{false};

private:
    std::atomic<bool> mAutoDelete{false};
    std::atomic<bool> mExited{false};
    // Last, so that it goes first: a body still ending writes the flags above.
    std::unique_ptr<platform::Thread> mThread;
};
