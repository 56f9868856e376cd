#pragma once
// Runs a looper inside Qt's event loop on the GUI thread: every post to the looper, from
// any thread, wakes the pump through Qt's event queue, and the pump then dispatches
// what is queued.
//
// No re-entry: while one of the looper's handlers sits in a modal loop (an alert's
// exec, a context menu), the pump defers the looper's messages until that handler
// returns, so one window never runs a second handler inside the first.

#include <QObject>
#include <memory>

#include "platform/Looper.h"

namespace platform {

class LooperPump : public QObject {
public:
    // Create and destroy on the GUI thread; the looper must outlive the pump.
    explicit LooperPump(Looper* looper);
    ~LooperPump() override;

    // True while a handler of the looper runs on the stack.
    bool IsDispatching() const { return mDepth > 0; }

protected:
    bool event(QEvent* event) override;

private:
    struct Wake;
    void Schedule();

    Looper* mLooper;
    std::shared_ptr<Wake> mWake;
    int mDepth = 0;
    bool mDeferred = false;
};

}  // namespace platform
