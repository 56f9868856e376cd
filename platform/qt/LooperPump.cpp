#include "platform/qt/LooperPump.h"

#include <QCoreApplication>
#include <QEvent>
#include <atomic>
#include <mutex>

namespace platform {

namespace {
const QEvent::Type kPumpEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
}  // namespace

// What the looper's wake function holds: the pump may go while another thread is
// inside the wake, so the pointer is cleared under the mutex before the pump goes.
struct LooperPump::Wake {
    std::mutex mutex;
    QObject* pump = nullptr;
    std::atomic<bool> scheduled{false};
};

LooperPump::LooperPump(Looper* looper) : mLooper(looper), mWake(std::make_shared<Wake>())
{
    mWake->pump = this;
    std::weak_ptr<Wake> weak = mWake;
    mLooper->SetExternalWake([weak] {
        std::shared_ptr<Wake> wake = weak.lock();
        if (!wake || wake->scheduled.exchange(true)) return;
        std::lock_guard lock(wake->mutex);
        if (wake->pump) QCoreApplication::postEvent(wake->pump, new QEvent(kPumpEvent));
    });
}

LooperPump::~LooperPump()
{
    mLooper->SetExternalWake(nullptr);
    std::lock_guard lock(mWake->mutex);
    mWake->pump = nullptr;
}

void LooperPump::Schedule()
{
    if (mWake->scheduled.exchange(true)) return;
    QCoreApplication::postEvent(this, new QEvent(kPumpEvent));
}

bool LooperPump::event(QEvent* event)
{
    if (event->type() != kPumpEvent) return QObject::event(event);
    mWake->scheduled.store(false);
    if (mDepth > 0) {
        // A handler of this looper is in a modal loop further down the stack.
        mDeferred = true;
        return true;
    }
    ++mDepth;
    mLooper->DispatchPending();
    --mDepth;
    if (mDeferred) {
        mDeferred = false;
        Schedule();
    }
    return true;
}

}  // namespace platform
