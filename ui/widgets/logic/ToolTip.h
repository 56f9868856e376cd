#pragma once
// A tool tip: a short text shown beside the pointer when it has rested on a view.
// It opens one delay after the pointer enters the view, or at once when some tip
// window is open or one was closed on request less than 0.2 s ago, so that tips
// follow the pointer along a row of buttons. It stays for the show time at most,
// and opens only while the view's window is active and no mouse button is held.

#include <cstdint>
#include <set>
#include <string>

#include "platform/Message.h"
#include "ui/widgets/logic/ToolTipServices.h"

class TToolTip {
public:
    // The notices a tip gets, as codes.
    static constexpr uint32_t kMouseEntered = platform::fourcc("TTme");
    static constexpr uint32_t kMouseExited = platform::fourcc("TTmx");
    static constexpr uint32_t kOpenWindow = platform::fourcc("TTow");
    static constexpr uint32_t kHideWindow = platform::fourcc("TThw");

    // Closer to the last requested close than this, a tip opens without delay.
    static constexpr platform::bigtime_t kFollowTime = 200000;

    TToolTip(const std::string& name, TipScheduler* scheduler, TipWindows* windows);
    // Cancels the open timer and every notice still on its way.
    ~TToolTip();

    TToolTip(const TToolTip&) = delete;
    TToolTip& operator=(const TToolTip&) = delete;

    // -1 for no view, nothing changed; else 0.
    int32_t SetTarget(TipTarget* target);
    TipTarget* Target() const { return mTarget; }
    // A window already open keeps its text.
    int32_t SetTip(const std::string& tip);
    std::string Tip() const { return mTip; }
    // -1 for a negative time, the old one kept; else 0.
    int32_t SetDelayTime(platform::bigtime_t delay);
    platform::bigtime_t DelayTime() const { return mDelayTime; }
    int32_t SetShowTime(platform::bigtime_t show);
    platform::bigtime_t ShowTime() const { return mShowTime; }
    const std::string& Name() const { return mName; }
    // "TlTipWin_" and the tip's name.
    std::string ToolTipWindowName() const;

    // Handles one of the notices above; others are ignored.
    void MessageReceived(uint32_t what);
    // Posts a notice to the tip; it is handled when the thread is back in its loop.
    void Post(uint32_t what);

    void MouseEntered();
    void MouseExited();
    void OpenToolTipWindowRqtd();
    void HideToolTipWindowRqtd();
    // Closes this tip's window now; a pending open timer keeps running.
    void Hide() { HideToolTipWindowRqtd(); }

    bool OpenTimerPending() const { return mOpenTimer != 0; }

private:
    TipScheduler::TimerId StartTimer(platform::bigtime_t delay, uint32_t what);

    platform::bigtime_t mDelayTime = 1000000;
    platform::bigtime_t mShowTime = 5000000;
    std::string mTip;
    TipScheduler::TimerId mOpenTimer = 0;
    TipTarget* mTarget = nullptr;
    const std::string mName;
    TipScheduler* const mScheduler;
    TipWindows* const mWindows;
    // Timers and posted notices not yet fired, cancelled when the tip goes.
    std::set<TipScheduler::TimerId> mPending;
};
