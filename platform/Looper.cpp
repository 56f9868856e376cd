#include "platform/Looper.h"

#include <algorithm>

namespace platform {

Looper::Looper(std::string name, int32_t priority) : Handler(name), mThreadName(std::move(name)), mPriority(priority)
{
    std::lock_guard lock(mCore->mutex);
    mCore->looper = this;
    mHandlers.push_back(this);
}

Looper::~Looper()
{
    Quit();
    LockGuard guard(mLock);
    for (Handler* handler : mHandlers) {
        std::lock_guard lock(handler->mCore->mutex);
        handler->mCore->looper = nullptr;
    }
    mHandlers.clear();
    std::deque<Entry> dropped;
    {
        std::lock_guard lock(mQueueMutex);
        dropped.swap(mQueue);
    }
    // `dropped` goes here: senders still waiting get kNoReply.
}

thread_id Looper::Run()
{
    if (mThread) return mThread->Id();
    {
        std::lock_guard lock(mQueueMutex);
        mQuitRequested = false;
    }
    mThread = std::make_unique<Thread>(mThreadName, mPriority, [this] { return ThreadBody(); });
    if (mThread->Id() < 0) return mThread->Id();
    mThread->Resume();
    return mThread->Id();
}

void Looper::Quit()
{
    {
        std::lock_guard lock(mQueueMutex);
        mQuitRequested = true;
    }
    mQueueChanged.notify_all();
    if (mThread && !mThread->IsCurrent()) {
        mThread->Wait(nullptr);
        mThread.reset();
    }
}

int32_t Looper::ThreadBody()
{
    mDispatchThread.store(std::this_thread::get_id());
    for (;;) {
        Entry entry;
        {
            std::unique_lock lock(mQueueMutex);
            mQueueChanged.wait(lock, [&] { return mQuitRequested || !mQueue.empty(); });
            if (mQuitRequested) break;
            entry = std::move(mQueue.front());
            mQueue.pop_front();
        }
        Dispatch(entry);
    }
    mDispatchThread.store(std::thread::id());
    std::deque<Entry> dropped;
    std::lock_guard lock(mQueueMutex);
    dropped.swap(mQueue);
    return 0;
}

void Looper::SetExternalWake(std::function<void()> wake)
{
    // The outside loop runs on the thread that installs it.
    mDispatchThread.store(std::this_thread::get_id());
    bool pending;
    {
        std::lock_guard lock(mQueueMutex);
        mExternalWake = std::move(wake);
        pending = !mQueue.empty();
    }
    if (pending && mExternalWake) mExternalWake();
}

int32_t Looper::DispatchPending()
{
    size_t count;
    {
        std::lock_guard lock(mQueueMutex);
        count = mQueue.size();
    }
    mDispatchThread.store(std::this_thread::get_id());
    int32_t handled = 0;
    for (; count > 0; --count) {
        Entry entry;
        {
            std::lock_guard lock(mQueueMutex);
            if (mQueue.empty() || mQuitRequested) break;
            entry = std::move(mQueue.front());
            mQueue.pop_front();
        }
        Dispatch(entry);
        ++handled;
    }
    return handled;
}

void Looper::Dispatch(Entry& entry)
{
    LockGuard guard(mLock);
    std::shared_ptr<HandlerCore> core = entry.target.lock();
    if (!core) return;
    Handler* handler = nullptr;
    {
        std::lock_guard lock(core->mutex);
        if (core->looper == this) handler = core->handler;
    }
    // The handler cannot leave this looper while the lock is held (RemoveHandler takes it).
    if (!handler) return;
    Message* outer = mCurrentMessage;
    mCurrentMessage = &entry.message;
    DispatchMessage(&entry.message, handler);
    mCurrentMessage = outer;
}

void Looper::DispatchMessage(Message* message, Handler* target)
{
    target->MessageReceived(message);
}

void Looper::Enqueue(Message message, std::weak_ptr<HandlerCore> target)
{
    std::function<void()> wake;
    {
        std::lock_guard lock(mQueueMutex);
        mQueue.push_back(Entry{std::move(message), std::move(target)});
        wake = mExternalWake;
    }
    mQueueChanged.notify_one();
    if (wake) wake();
}

status_t Looper::AddHandler(Handler* handler)
{
    if (!handler) return kBadValue;
    LockGuard guard(mLock);
    std::lock_guard lock(handler->mCore->mutex);
    if (handler->mCore->looper == this) return kOk;
    if (handler->mCore->looper) return kBadValue;
    handler->mCore->looper = this;
    mHandlers.push_back(handler);
    return kOk;
}

bool Looper::RemoveHandler(Handler* handler)
{
    if (!handler || handler == this) return false;
    LockGuard guard(mLock);
    auto it = std::find(mHandlers.begin(), mHandlers.end(), handler);
    if (it == mHandlers.end()) return false;
    mHandlers.erase(it);
    std::lock_guard lock(handler->mCore->mutex);
    handler->mCore->looper = nullptr;
    return true;
}

int32_t Looper::CountHandlers() const
{
    LockGuard guard(const_cast<RecursiveLock&>(mLock));
    return static_cast<int32_t>(mHandlers.size());
}

status_t Looper::PostMessage(const Message& message, Handler* target)
{
    Handler* to = target ? target : this;
    if (to->GetLooper() != this) return kBadHandler;
    return Messenger(to).SendMessage(message);
}

status_t Looper::PostMessage(uint32_t what, Handler* target)
{
    return PostMessage(Message(what), target);
}

bool Looper::IsDispatchThread() const
{
    return mDispatchThread.load() == std::this_thread::get_id();
}

int32_t Looper::CountQueued() const
{
    std::lock_guard lock(mQueueMutex);
    return static_cast<int32_t>(mQueue.size());
}

}  // namespace platform
