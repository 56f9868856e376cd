// The drive access lamps.

#include "machine/files/DriveLamps.h"

#include <algorithm>
#include <chrono>

#include "machine/host/HeadlessHost.h"

namespace {

const TSystemClock& lamp_system_clock()
{
    static const TSystemClock clock;
    return clock;
}

// The timer looks at the clock at least this often, so that a test clock that jumps
// ahead is noticed without a wake-up.
constexpr int64_t POLL_MICROS = 20000;

}  // namespace

TDriveLampControl::TDriveLampControl() : mClock(&lamp_system_clock()) {}

TDriveLampControl::~TDriveLampControl()
{
    {
        std::lock_guard<std::mutex> lock(mLock);
        mQuit = true;
        mPending.clear();
    }
    mWake.notify_all();
    if (mTimer.joinable()) mTimer.join();
}

void TDriveLampControl::SetClock(const THostClock* clock)
{
    std::lock_guard<std::mutex> lock(mLock);
    mClock = clock != nullptr ? clock : &lamp_system_clock();
}

void TDriveLampControl::Request(long drive, TDriveLamps* lamps)
{
    if (drive < 0 || drive >= LAMP_DRIVES || lamps == nullptr) return;
    int64_t now;
    {
        std::lock_guard<std::mutex> lock(mLock);
        now = mClock->NowMicros();
        if (mSentOnce[drive] && now - saLastAccessTime[drive] < MIN_INTERVAL) return;
        mSentOnce[drive] = true;
        saLastAccessTime[drive] = now;
    }
    // The +1 goes out before its −1 is queued, so the host never counts below zero.
    lamps->SetFDDAccessLampRqtd(static_cast<int>(drive), +1);
    {
        std::lock_guard<std::mutex> lock(mLock);
        if (mQuit) return;
        mPending.push_back({now + LIT_TIME, drive, lamps});
        if (!mTimer.joinable()) mTimer = std::thread([this] { TimerBody(); });
    }
    mWake.notify_all();
}

void TDriveLampControl::SendDue()
{
    std::vector<TPendingOff> due;
    {
        std::lock_guard<std::mutex> lock(mLock);
        const int64_t now = mClock->NowMicros();
        auto firstLater = std::stable_partition(mPending.begin(), mPending.end(),
                                                [now](const TPendingOff& p) { return p.When <= now; });
        due.assign(mPending.begin(), firstLater);
        mPending.erase(mPending.begin(), firstLater);
    }
    // Sent outside the lock: the host may take locks of its own.
    for (const TPendingOff& p : due) p.Lamps->SetFDDAccessLampRqtd(static_cast<int>(p.Drive), -1);
}

void TDriveLampControl::TimerBody()
{
    std::unique_lock<std::mutex> lock(mLock);
    while (!mQuit) {
        int64_t wait = POLL_MICROS;
        if (!mPending.empty()) {
            const int64_t now = mClock->NowMicros();
            for (const TPendingOff& p : mPending) wait = std::min(wait, std::max<int64_t>(p.When - now, 0));
        } else {
            wait = INT32_MAX;
        }
        if (wait > 0) mWake.wait_for(lock, std::chrono::microseconds(wait));
        if (mQuit) break;
        lock.unlock();
        SendDue();
        lock.lock();
    }
}
