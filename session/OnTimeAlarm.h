#pragma once
// The ON TIME$ alarm of a run session: the one-shot timer the run view keeps for the
// program's ON TIME$ time, on the session's clock. Arming reads the clock's local time
// of day, computes the delay in whole seconds (a time already past today means that
// time tomorrow) and replaces any alarm still pending; when the clock reaches the time
// the alarm's own thread calls `raise` once.
//
// On a simulated clock the thread takes part in the clock's time line, so the alarm
// goes off at its exact moment whatever the machine is doing. An alarm that is due at
// once goes off at the next moment the clock moves, never inside the statement that
// armed it.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "machine/host/HostInterfaces.h"

class TMusicClock;
class TSimulatedMusicClock;

class TOnTimeAlarm : public TOnTimeTimer {
public:
    // `simulated` is the clock itself when it simulates time, else null.
    TOnTimeAlarm(const TMusicClock& clock, TSimulatedMusicClock* simulated, std::function<void()> raise);
    ~TOnTimeAlarm() override;

    TOnTimeAlarm(const TOnTimeAlarm&) = delete;
    TOnTimeAlarm& operator=(const TOnTimeAlarm&) = delete;

    // The machine thread's ON TIME$: 0 and armed, or −1 for a malformed time (the
    // alarm pending stays).
    long SetOnTimeDl(const char* time) override;
    // Forgets a pending alarm, so that an alarm of one run never reaches the next.
    void Clear();
    // Ends the thread; nothing goes off afterwards. Safe to call more than once.
    void Stop();

private:
    void Run();

    const TMusicClock& mClock;
    TSimulatedMusicClock* const mSimulated;
    const std::function<void()> mRaise;

    std::mutex mLock;
    std::condition_variable mSignal;
    std::optional<int64_t> mDue;  // the clock's time at which to go off; under mLock
    uint64_t mChanges = 0;        // counts arms and clears, so the thread sees each; under mLock
    bool mStopping = false;       // under mLock
    std::thread mThread;
};
