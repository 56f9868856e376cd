#pragma once
// A filter that a window runs on its messages before it hands them to their handler:
// it may look at the message, change its target (another handler of the same window)
// or drop it. A window owns the filters added to it.

#include <cstdint>

#include "platform/Handler.h"
#include "platform/Looper.h"
#include "platform/Message.h"

enum class TFilterResult { Dispatch, Skip };

class TMessageFilter {
public:
    // `what` 0 filters every message.
    explicit TMessageFilter(uint32_t what = 0) : mWhat(what) {}
    virtual ~TMessageFilter() = default;

    TMessageFilter(const TMessageFilter&) = delete;
    TMessageFilter& operator=(const TMessageFilter&) = delete;

    virtual TFilterResult Filter(platform::Message* message, platform::Handler** target) = 0;

    bool Applies(const platform::Message& message) const { return mWhat == 0 || message.what == mWhat; }
    uint32_t Command() const { return mWhat; }
    // The window the filter was added to, or null.
    platform::Looper* Looper() const { return mLooper; }
    void SetLooper(platform::Looper* looper) { mLooper = looper; }

private:
    uint32_t mWhat;
    platform::Looper* mLooper = nullptr;
};
