#pragma once
// A music clock on which time passes only while every thread that works with it waits,
// for runs that must come out the same each time (the headless driver's simulated
// clock). A participant is a thread whose work would otherwise race the clock: the
// machine and the music player. While any participant works, time stands still;
// once all of them wait, the clock jumps to the earliest deadline among the waits and
// releases that one waiter, and only that one, so participants take turns.
//
// Waits with the same deadline are released one after another: music waits (those on
// a signal) before plain sleeps, and in the order they began. So the player sends what
// is due at a moment before a machine sleeping until that moment goes on.
//
// A wait ends early when its condition is notified through Notify; such a waiter
// counts as working from then on. A participant that wakes another with Handover goes
// on only once the other waits again, so participants never work at the same moment. The participant count is set by
// whoever starts the threads; a wait by a thread that is not counted would let time stand still.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <list>
#include <mutex>

#include "machine/music/MusicClock.h"

class TSimulatedMusicClock : public TMusicClock {
public:
    // `start` is NowMicros() at the beginning; `localStart` the local date and time of
    // day at that moment, which moves on with the clock.
    TSimulatedMusicClock(int64_t start, const std::tm& localStart);

    int64_t NowMicros() const override;
    void SleepMicros(int64_t micros) const override;
    void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, int64_t deadline,
                   const std::function<bool()>& woken) const override;
    void Notify(std::condition_variable& signal) const override;
    // Waits, after the notification, until every other participant waits again.
    void Handover(std::condition_variable& signal) const override;
    std::tm LocalTime() const override;

    // One more or one fewer thread that time waits for. Removing one may let time move.
    void AddParticipant();
    void RemoveParticipant();

    // How many participants wait at this moment (for tests).
    int Waiting() const;

private:
    struct Waiter {
        int64_t deadline;
        bool sleeper;                     // a plain sleep, released after music waits
        uint64_t order;                   // when the wait began
        std::condition_variable* signal;  // what wakes it
        bool released = false;            // its deadline came, or it was notified
    };

    void Wait(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, int64_t deadline, bool sleeper,
              const std::function<bool()>& woken) const;
    // With mLock held: when every participant waits, jumps to the earliest deadline and
    // releases its waiter.
    void AdvanceIfAllWait() const;
    // With mLock held: the waiter counts as working again and is woken.
    void Release(Waiter& waiter) const;

    mutable std::mutex mLock;
    mutable std::condition_variable mWaitBegun;  // a participant began to wait or left
    mutable std::list<Waiter> mWaiters;          // under mLock
    mutable int mWaiting = 0;                    // waiters not released; under mLock
    mutable uint64_t mNextOrder = 0;             // under mLock
    int mParticipants = 0;                       // under mLock
    mutable std::atomic<int64_t> mNow;           // written under mLock

    // Plain sleeps wait on a signal of their own.
    mutable std::mutex mSleepLock;
    mutable std::condition_variable mSleepSignal;

    const int64_t mStart;
    const std::tm mLocalStart;
};
