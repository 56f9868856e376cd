#include "foundation/DelaySender.h"

#include "platform/Looper.h"

using platform::Message;

TDelaySender::TDelaySender(const char* name, const platform::TimerClock* clock)
    : platform::Handler(name ? name : ""), mClock(clock)
{}

TDelaySender::~TDelaySender()
{
    // Leave the looper first, so that no timeout is being handled while the table goes.
    if (platform::Looper* looper = GetLooper()) looper->RemoveHandler(this);
    std::map<uint32_t, TDelaySendInfo> pending;
    {
        std::lock_guard lock(mMutex);
        pending.swap(mPending);
    }
    // `pending` goes here: each runner is cancelled before anything of it was sent.
}

void TDelaySender::StartWait(TDelaySendInfo& info, uint32_t what)
{
    Message timeout(kDelaySenderTimeout);
    timeout.AddInt32("DlySMRID", static_cast<int32_t>(mSerial));
    timeout.AddInt32("DlySMW", static_cast<int32_t>(what));
    platform::Messenger self(this);
    if (mDelay > 0) {
        info.Runner = std::make_unique<platform::MessageRunner>(self, timeout, mDelay, 1, mClock);
    } else {
        info.Runner.reset();
        self.SendMessage(timeout);
    }
}

int32_t TDelaySender::SendMessage(const Message* message)
{
    if (!message) return 0;
    std::unique_ptr<platform::MessageRunner> cancelled;
    {
        std::lock_guard lock(mMutex);
        TDelaySendInfo& info = mPending[message->what];
        cancelled = std::move(info.Runner);  // a timeout not yet posted never comes
        info.Serial = mSerial;
        info.Msg = *message;
        StartWait(info, message->what);
        ++mSerial;
    }
    return 0;
}

void TDelaySender::SetTarget(const platform::Messenger& target)
{
    if (platform::Looper* old = mTarget.TargetLooper(); old && old == GetLooper()) old->RemoveHandler(this);
    {
        std::lock_guard lock(mMutex);
        mTarget = target;
    }
    if (platform::Looper* looper = target.TargetLooper()) looper->AddHandler(this);
}

void TDelaySender::SetDelay(platform::bigtime_t delay)
{
    std::lock_guard lock(mMutex);
    mDelay = delay;
}

void TDelaySender::MessageReceived(Message* message)
{
    if (message->what == kDelaySenderTimeout) {
        DelaySenderTimeout(message);
        return;
    }
    platform::Handler::MessageReceived(message);
}

void TDelaySender::DelaySenderTimeout(Message* timeout)
{
    int32_t serial = 0;
    int32_t what = 0;
    if (timeout->FindInt32("DlySMRID", &serial) != platform::kOk) return;
    if (timeout->FindInt32("DlySMW", &what) != platform::kOk) return;
    TDelaySendInfo done;
    platform::Messenger target;
    {
        std::lock_guard lock(mMutex);
        auto it = mPending.find(static_cast<uint32_t>(what));
        if (it == mPending.end()) return;
        // A newer message restarted the wait after this timeout was posted.
        if (it->second.Serial != static_cast<uint32_t>(serial)) return;
        done = std::move(it->second);
        mPending.erase(it);
        target = mTarget;
    }
    target.SendMessage(done.Msg);
}

int32_t TDelaySender::CountPending() const
{
    std::lock_guard lock(mMutex);
    return static_cast<int32_t>(mPending.size());
}
