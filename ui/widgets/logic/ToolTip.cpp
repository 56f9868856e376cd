#include "ui/widgets/logic/ToolTip.h"

#include <memory>

TToolTip::TToolTip(const std::string& name, TipScheduler* scheduler, TipWindows* windows)
    : mName(name), mScheduler(scheduler), mWindows(windows)
{}

TToolTip::~TToolTip()
{
    for (auto id : mPending) mScheduler->Cancel(id);
}

int32_t TToolTip::SetTarget(TipTarget* target)
{
    if (!target) return -1;
    mTarget = target;
    return 0;
}

int32_t TToolTip::SetTip(const std::string& tip)
{
    mTip = tip;
    return 0;
}

int32_t TToolTip::SetDelayTime(platform::bigtime_t delay)
{
    if (delay < 0) return -1;
    mDelayTime = delay;
    return 0;
}

int32_t TToolTip::SetShowTime(platform::bigtime_t show)
{
    if (show < 0) return -1;
    mShowTime = show;
    return 0;
}

std::string TToolTip::ToolTipWindowName() const
{
    return "TlTipWin_" + mName;
}

void TToolTip::MessageReceived(uint32_t what)
{
    switch (what) {
    case kMouseEntered: MouseEntered(); break;
    case kMouseExited: MouseExited(); break;
    case kOpenWindow: OpenToolTipWindowRqtd(); break;
    case kHideWindow: HideToolTipWindowRqtd(); break;
    default: break;
    }
}

TipScheduler::TimerId TToolTip::StartTimer(platform::bigtime_t delay, uint32_t what)
{
    // The id is known only after Start returns; the timer fires later, on a later
    // turn of the loop, so the callback can look it up then.
    auto id = std::make_shared<TipScheduler::TimerId>(0);
    *id = mScheduler->Start(delay, [this, id, what] {
        mPending.erase(*id);
        if (mOpenTimer == *id) mOpenTimer = 0;
        MessageReceived(what);
    });
    mPending.insert(*id);
    return *id;
}

void TToolTip::Post(uint32_t what)
{
    StartTimer(0, what);
}

void TToolTip::MouseEntered()
{
    if (mOpenTimer != 0) return;
    platform::bigtime_t sinceHide = mScheduler->Now() - mWindows->LastHideTime();
    if (!mWindows->AnyOpen() && sinceHide >= kFollowTime) {
        mOpenTimer = StartTimer(mDelayTime, kOpenWindow);
    } else {
        Post(kOpenWindow);
    }
}

void TToolTip::MouseExited()
{
    if (mOpenTimer != 0) {
        mScheduler->Cancel(mOpenTimer);
        mPending.erase(mOpenTimer);
        mOpenTimer = 0;
    }
    Post(kHideWindow);
}

void TToolTip::OpenToolTipWindowRqtd()
{
    if (mOpenTimer != 0) {
        mScheduler->Cancel(mOpenTimer);
        mPending.erase(mOpenTimer);
        mOpenTimer = 0;
    }
    if (mTip.empty() || !mTarget || !mTarget->WindowActive() || mTarget->MouseButtonHeld()) return;
    platform::Point at = mTarget->PointerOnScreen();
    at.x -= 16;
    at.y += 16;
    mWindows->Open(ToolTipWindowName(), mTip, mShowTime, at);
}

void TToolTip::HideToolTipWindowRqtd()
{
    if (mWindows->Close(ToolTipWindowName())) mWindows->SetLastHideTime(mScheduler->Now());
}
