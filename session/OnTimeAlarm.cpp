#include "session/OnTimeAlarm.h"

#include <algorithm>
#include <ctime>

#include "machine/music/MusicClock.h"
#include "machine/music/SimulatedMusicClock.h"

namespace {

constexpr int64_t SECONDS_A_DAY = 86400;
constexpr int64_t MICROS_A_SECOND = 1000000;

}  // namespace

TOnTimeAlarm::TOnTimeAlarm(const TMusicClock& clock, TSimulatedMusicClock* simulated, std::function<void()> raise)
    : mClock(clock), mSimulated(simulated), mRaise(std::move(raise))
{
    // Counted before it starts, so that time waits for its first wait.
    if (mSimulated != nullptr) mSimulated->AddParticipant();
    mThread = std::thread([this] { Run(); });
}

TOnTimeAlarm::~TOnTimeAlarm()
{
    Stop();
}

long TOnTimeAlarm::SetOnTimeDl(const char* time)
{
    const int64_t now = mClock.NowMicros();
    const std::tm local = mClock.LocalTime();
    int hours, minutes, seconds;
    if (!parse_on_time_text(time, hours, minutes, seconds)) return -1;
    int64_t delay = (int64_t{hours} - local.tm_hour) * 3600 + (int64_t{minutes} - local.tm_min) * 60 +
                    (int64_t{seconds} - local.tm_sec);
    if (delay < 0) delay += SECONDS_A_DAY;
    {
        std::lock_guard<std::mutex> lock(mLock);
        // A time that has come waits for the clock's next moment (see the header).
        mDue = now + std::max<int64_t>(delay * MICROS_A_SECOND, 1);
        ++mChanges;
    }
    // The machine goes on only once the alarm's thread waits for the new time, so the
    // two never race on a simulated clock.
    mClock.Handover(mSignal);
    return 0;
}

void TOnTimeAlarm::Clear()
{
    {
        std::lock_guard<std::mutex> lock(mLock);
        mDue.reset();
        ++mChanges;
    }
    mClock.Notify(mSignal);
}

void TOnTimeAlarm::Stop()
{
    {
        std::lock_guard<std::mutex> lock(mLock);
        if (mStopping) return;
        mStopping = true;
    }
    mClock.Notify(mSignal);
    mThread.join();
    if (mSimulated != nullptr) mSimulated->RemoveParticipant();
}

void TOnTimeAlarm::Run()
{
    std::unique_lock<std::mutex> lock(mLock);
    while (!mStopping) {
        const uint64_t changes = mChanges;
        const int64_t deadline = mDue ? *mDue : TMusicClock::kNoDeadline;
        mClock.WaitUntil(lock, mSignal, deadline, [&] { return mStopping || mChanges != changes; });
        if (mStopping || mChanges != changes || !mDue || mClock.NowMicros() < *mDue) continue;
        mDue.reset();
        lock.unlock();
        mRaise();
        lock.lock();
    }
}
