#include "machine/music/SimulatedMusicClock.h"

#include <chrono>
#include <tuple>

namespace {

// How long a waiter sleeps in real time before it looks again: a release may come
// between its look and its sleep, and a stop request is not notified at all.
constexpr std::chrono::microseconds kRealPoll{500};

}  // namespace

TSimulatedMusicClock::TSimulatedMusicClock(int64_t start, const std::tm& localStart)
    : mNow(start), mStart(start), mLocalStart(localStart)
{}

int64_t TSimulatedMusicClock::NowMicros() const
{
    return mNow.load(std::memory_order_acquire);
}

void TSimulatedMusicClock::SleepMicros(int64_t micros) const
{
    if (micros <= 0) return;
    std::unique_lock<std::mutex> lock(mSleepLock);
    Wait(lock, mSleepSignal, NowMicros() + micros, true, [] { return false; });
}

void TSimulatedMusicClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& signal,
                                     int64_t deadline, const std::function<bool()>& woken) const
{
    Wait(lock, signal, deadline, false, woken);
}

void TSimulatedMusicClock::Wait(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, int64_t deadline,
                                bool sleeper, const std::function<bool()>& woken) const
{
    if (woken()) return;
    std::list<Waiter>::iterator me;
    {
        std::lock_guard<std::mutex> guard(mLock);
        if (NowMicros() >= deadline) return;
        me = mWaiters.insert(mWaiters.end(), Waiter{deadline, sleeper, mNextOrder++, &signal});
        ++mWaiting;
        mWaitBegun.notify_all();
        AdvanceIfAllWait();
    }
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(mLock);
            if (me->released) {
                mWaiters.erase(me);
                return;
            }
        }
        if (woken()) {
            std::lock_guard<std::mutex> guard(mLock);
            if (!me->released) --mWaiting;
            mWaiters.erase(me);
            return;
        }
        signal.wait_for(lock, kRealPoll);
    }
}

void TSimulatedMusicClock::AdvanceIfAllWait() const
{
    if (mWaiting < mParticipants) return;
    Waiter* next = nullptr;
    for (Waiter& waiter : mWaiters) {
        if (waiter.released || waiter.deadline == kNoDeadline) continue;
        if (next == nullptr || std::tie(waiter.deadline, waiter.sleeper, waiter.order) <
                                   std::tie(next->deadline, next->sleeper, next->order))
            next = &waiter;
    }
    if (next == nullptr) return;
    if (next->deadline > NowMicros()) mNow.store(next->deadline, std::memory_order_release);
    Release(*next);
}

void TSimulatedMusicClock::Release(Waiter& waiter) const
{
    waiter.released = true;
    --mWaiting;
    waiter.signal->notify_all();
}

void TSimulatedMusicClock::Notify(std::condition_variable& signal) const
{
    {
        std::lock_guard<std::mutex> guard(mLock);
        for (Waiter& waiter : mWaiters) {
            if (!waiter.released && waiter.signal == &signal) Release(waiter);
        }
    }
    signal.notify_all();
}

void TSimulatedMusicClock::Handover(std::condition_variable& signal) const
{
    Notify(signal);
    std::unique_lock<std::mutex> guard(mLock);
    while (mWaiting < mParticipants - 1) mWaitBegun.wait_for(guard, kRealPoll);
}

void TSimulatedMusicClock::AddParticipant()
{
    std::lock_guard<std::mutex> guard(mLock);
    ++mParticipants;
}

void TSimulatedMusicClock::RemoveParticipant()
{
    std::lock_guard<std::mutex> guard(mLock);
    --mParticipants;
    mWaitBegun.notify_all();
    AdvanceIfAllWait();
}

int TSimulatedMusicClock::Waiting() const
{
    std::lock_guard<std::mutex> guard(mLock);
    return mWaiting;
}

std::tm TSimulatedMusicClock::LocalTime() const
{
    // The start's fields are counted as if they were universal time, so that adding
    // seconds never meets a change of the local offset.
    std::tm start = mLocalStart;
    const std::time_t base = timegm(&start);
    const std::time_t now = base + static_cast<std::time_t>((NowMicros() - mStart) / 1000000);
    std::tm local{};
    gmtime_r(&now, &local);
    return local;
}
