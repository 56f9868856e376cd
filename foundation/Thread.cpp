#include "foundation/Thread.h"

namespace {
thread_local const std::atomic<bool>* tCurrentStopFlag = nullptr;
}

TThread::TThread(const char* name, int32_t priority)
    : mThread(std::make_unique<platform::Thread>(name ? name : "", priority, [this] { return SpawnThread(this); }))
{}

TThread::~TThread()
{
    if (mExited.load(std::memory_order_acquire)) return;
    // Never killed: a thread that was never resumed ends without running Execute when
    // mThread goes. One whose body still runs is asked to stop and woken, and mThread
    // waits for it; owners are expected to have done this (and Wait) already.
    if (mThread->HasStarted() && !mThread->IsCurrent()) {
        mStopFlag.store(true, std::memory_order_release);
        mThread->Resume();
    }
}

int32_t TThread::Terminate()
{
    mStopFlag.store(true, std::memory_order_release);
    return 0;
}

int32_t TThread::Resume() const
{
    return mThread->Resume();
}

int32_t TThread::Suspend() const
{
    return mThread->SuspendSelf();
}

int32_t TThread::Wait(int32_t* exitValue) const
{
    return mThread->Wait(exitValue);
}

bool TThread::IsTerminated() const
{
    return mExited.load(std::memory_order_acquire);
}

bool TThread::IsSuspended() const
{
    return mThread->IsSuspended();
}

int32_t TThread::SetPriority(int32_t priority) const
{
    return mThread->SetPriority(priority);
}

int32_t TThread::SetName(const char* name) const
{
    return mThread->SetName(name ? name : "");
}

int32_t TThread::SetAutoDelete(bool autoDelete)
{
    mAutoDelete.store(autoDelete, std::memory_order_release);
    return 0;
}

platform::thread_id TThread::ThreadID() const
{
    return mThread->Id();
}

const std::atomic<bool>* TThread::CurrentStopFlag()
{
    return tCurrentStopFlag;
}

int32_t TThread::SpawnThread(void* object)
{
    auto* thread = static_cast<TThread*>(object);
    tCurrentStopFlag = &thread->mStopFlag;
    int32_t result = thread->Execute();
    tCurrentStopFlag = nullptr;
    ExitThread(thread);
    return result;
}

void TThread::ExitThread(void* object)
{
    auto* thread = static_cast<TThread*>(object);
    thread->mExited.store(true, std::memory_order_release);
    // Deleting on the thread itself: the platform thread then lets itself end alone.
    if (thread->mAutoDelete.load(std::memory_order_acquire)) delete thread;
}
