#pragma once
// A tip scheduler whose clock moves only when a test says so. Timers fire in the
// order of their due time, and those due at the same time in the order started.

#include <functional>
#include <map>
#include <utility>

#include "ui/widgets/logic/ToolTipServices.h"

class ManualTipScheduler : public TipScheduler {
public:
    explicit ManualTipScheduler(platform::bigtime_t start = 50000000) : mNow(start) {}

    platform::bigtime_t Now() const override { return mNow; }
    TimerId Start(platform::bigtime_t delay, std::function<void()> fire) override
    {
        TimerId id = ++mLastId;
        mTimers.emplace(std::make_pair(mNow + delay, id), std::move(fire));
        return id;
    }
    void Cancel(TimerId id) override
    {
        for (auto it = mTimers.begin(); it != mTimers.end(); ++it) {
            if (it->first.second == id) {
                mTimers.erase(it);
                return;
            }
        }
    }

    // Moves the clock on by `us`, firing every timer that falls due on the way,
    // those started by a firing one included.
    void Advance(platform::bigtime_t us)
    {
        const platform::bigtime_t end = mNow + us;
        while (!mTimers.empty() && mTimers.begin()->first.first <= end) {
            auto first = mTimers.begin();
            mNow = std::max(mNow, first->first.first);
            auto fire = std::move(first->second);
            mTimers.erase(first);
            fire();
        }
        mNow = end;
    }
    // Fires what is due now, as the event loop does between two events.
    void RunPending() { Advance(0); }
    size_t PendingCount() const { return mTimers.size(); }

private:
    platform::bigtime_t mNow;
    TimerId mLastId = 0;
    std::map<std::pair<platform::bigtime_t, TimerId>, std::function<void()>> mTimers;
};
