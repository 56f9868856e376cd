#pragma once
// What a tool tip needs from around it: the time and one-shot timers, the
// application's tip windows, and the view it belongs to. The GUI gives Qt versions;
// tests give a hand-driven clock and recording windows.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Clock.h"
#include "platform/Geometry.h"

// The time and one-shot timers, all on one thread. A timer of delay 0 fires as
// soon as the thread goes back to its event loop: that is how a tip posts to itself.
class TipScheduler {
public:
    using TimerId = uint64_t;
    virtual ~TipScheduler() = default;
    virtual platform::bigtime_t Now() const = 0;
    // Ids are never 0.
    virtual TimerId Start(platform::bigtime_t delay, std::function<void()> fire) = 0;
    // Nothing for a timer that has fired or was cancelled.
    virtual void Cancel(TimerId id) = 0;
};

// The application's tip windows, in the order they were made.
class TipWindows {
public:
    virtual ~TipWindows() = default;
    // True while any window whose name holds "TlTipWin_" is open.
    virtual bool AnyOpen() const = 0;
    // Asks the first open window named exactly `name` to close; false when none is.
    virtual bool Close(const std::string& name) = 0;
    // Opens a window of that name with the text, its top-left corner at `where` on
    // the screen; it closes itself after `showTime`.
    virtual void Open(const std::string& name, const std::string& text, platform::bigtime_t showTime,
                      platform::Point where) = 0;

    // When a tip window was last closed on request; 0 at first. Shared by every tip.
    platform::bigtime_t LastHideTime() const { return mLastHideTime.load(); }
    void SetLastHideTime(platform::bigtime_t when) { mLastHideTime.store(when); }

private:
    std::atomic<platform::bigtime_t> mLastHideTime{0};
};

// The view a tip belongs to.
class TipTarget {
public:
    virtual ~TipTarget() = default;
    virtual bool WindowActive() const = 0;
    virtual bool MouseButtonHeld() const = 0;
    virtual platform::Point PointerOnScreen() const = 0;
};
