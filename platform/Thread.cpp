#include "platform/Thread.h"

#include <pthread.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace platform {

namespace {

std::atomic<thread_id> gNextId{1};
thread_local thread_id tCurrentId = 0;

// Linux keeps at most 15 bytes of a thread name; cut at a character boundary.
std::string host_thread_name(const std::string& name)
{
    if (name.size() <= 15) return name;
    size_t cut = 15;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return name.substr(0, cut);
}

}  // namespace

struct Thread::State {
    enum class Phase { Created, Running, Suspended, Ended };

    mutable std::mutex mutex;
    std::condition_variable changed;
    Phase phase = Phase::Created;
    bool abandoned = false;  // ended before its first Resume; the body never ran
    bool wakeToken = false;
    int32_t exitValue = 0;
    std::string name;
    int32_t priority = 0;
    Body body;
    thread_id id = 0;

    std::mutex joinMutex;  // guards `host` against joining or detaching twice
    std::thread host;
};

namespace {

void run_thread(std::shared_ptr<Thread::State> state)
{
    tCurrentId = state->id;
    {
        std::unique_lock lock(state->mutex);
        state->changed.wait(lock, [&] { return state->phase != Thread::State::Phase::Created || state->abandoned; });
        if (state->abandoned) {
            state->phase = Thread::State::Phase::Ended;
            state->changed.notify_all();
            return;
        }
        pthread_setname_np(pthread_self(), host_thread_name(state->name).c_str());
    }
    // The body may delete the object that owns this Thread; from here on only the
    // shared state is touched.
    int32_t result = state->body();
    std::lock_guard lock(state->mutex);
    state->body = nullptr;
    state->exitValue = result;
    state->phase = Thread::State::Phase::Ended;
    state->changed.notify_all();
}

}  // namespace

Thread::Thread(std::string name, int32_t priority, Body body)
    : mState(std::make_shared<State>()), mId(gNextId.fetch_add(1))
{
    mState->name = std::move(name);
    mState->priority = priority;
    mState->body = std::move(body);
    mState->id = mId;
    try {
        mState->host = std::thread(run_thread, mState);
    } catch (const std::system_error&) {
        std::lock_guard lock(mState->mutex);
        mState->abandoned = true;
        mState->phase = State::Phase::Ended;
        mId = kBadThreadId;
    }
}

Thread::~Thread()
{
    if (IsCurrent()) {
        Detach();
        return;
    }
    {
        std::lock_guard lock(mState->mutex);
        if (mState->phase == State::Phase::Created) {
            mState->abandoned = true;
            mState->changed.notify_all();
        }
    }
    std::lock_guard join(mState->joinMutex);
    if (mState->host.joinable()) mState->host.join();
}

status_t Thread::Resume()
{
    std::lock_guard lock(mState->mutex);
    switch (mState->phase) {
    case State::Phase::Ended: return kBadThreadId;
    case State::Phase::Created:
        if (mState->abandoned) return kBadThreadId;
        mState->phase = State::Phase::Running;
        mState->changed.notify_all();
        return kOk;
    case State::Phase::Suspended:
        mState->phase = State::Phase::Running;
        mState->changed.notify_all();
        return kOk;
    case State::Phase::Running: mState->wakeToken = true; return kOk;
    }
    return kOk;
}

status_t Thread::SuspendSelf()
{
    if (!IsCurrent()) return kNotAllowed;
    std::unique_lock lock(mState->mutex);
    if (mState->wakeToken) {
        mState->wakeToken = false;
        return kOk;
    }
    mState->phase = State::Phase::Suspended;
    mState->changed.wait(lock, [&] { return mState->phase != State::Phase::Suspended; });
    return kOk;
}

status_t Thread::Wait(int32_t* exitValue)
{
    if (IsCurrent()) return kNotAllowed;
    {
        std::unique_lock lock(mState->mutex);
        if (mState->abandoned || mState->phase == State::Phase::Created) return kBadThreadId;
        mState->changed.wait(lock, [&] { return mState->phase == State::Phase::Ended; });
        if (exitValue) *exitValue = mState->exitValue;
    }
    std::lock_guard join(mState->joinMutex);
    if (mState->host.joinable()) mState->host.join();
    return kOk;
}

bool Thread::IsSuspended() const
{
    std::lock_guard lock(mState->mutex);
    return (mState->phase == State::Phase::Created && !mState->abandoned) || mState->phase == State::Phase::Suspended;
}

bool Thread::HasStarted() const
{
    std::lock_guard lock(mState->mutex);
    return mState->phase != State::Phase::Created && !mState->abandoned;
}

bool Thread::HasEnded() const
{
    std::lock_guard lock(mState->mutex);
    return mState->phase == State::Phase::Ended;
}

bool Thread::IsCurrent() const
{
    return mId > 0 && tCurrentId == mId;
}

status_t Thread::SetPriority(int32_t priority)
{
    if (mId < 0) return kBadThreadId;
    std::lock_guard lock(mState->mutex);
    mState->priority = priority;
    return kOk;
}

int32_t Thread::Priority() const
{
    std::lock_guard lock(mState->mutex);
    return mState->priority;
}

status_t Thread::SetName(const std::string& name)
{
    if (mId < 0) return kBadThreadId;
    {
        std::lock_guard lock(mState->mutex);
        mState->name = name;
    }
    if (IsCurrent()) {
        pthread_setname_np(pthread_self(), host_thread_name(name).c_str());
        return kOk;
    }
    // The host name of a thread that is not started yet is set when it starts; one
    // that has ended keeps its name only here.
    std::lock_guard join(mState->joinMutex);
    std::lock_guard lock(mState->mutex);
    if (mState->host.joinable() && mState->phase != State::Phase::Ended && mState->phase != State::Phase::Created)
        pthread_setname_np(mState->host.native_handle(), host_thread_name(name).c_str());
    return kOk;
}

std::string Thread::Name() const
{
    std::lock_guard lock(mState->mutex);
    return mState->name;
}

void Thread::Detach()
{
    std::lock_guard join(mState->joinMutex);
    if (mState->host.joinable()) mState->host.detach();
}

thread_id Thread::CurrentId()
{
    return tCurrentId;
}

}  // namespace platform
