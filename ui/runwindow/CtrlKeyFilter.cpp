#include "ui/runwindow/CtrlKeyFilter.h"

#include "platform/Modifiers.h"
#include "platform/SystemMessages.h"
#include "ui/runwindow/RunView.h"

TCtrlKeyFilter::TCtrlKeyFilter(platform::Handler* target) : TMessageFilter(platform::kKeyDownMessage), mTarget(target)
{}

TFilterResult TCtrlKeyFilter::Filter(platform::Message* message, platform::Handler** target)
{
    int32_t modifiers = 0;
    if (message->what == platform::kKeyDownMessage && message->FindInt32("modifiers", &modifiers) == platform::kOk &&
        (static_cast<uint32_t>(modifiers) & platform::kCommandKey) != 0) {
        message->what = kCtrlKeyDownMessage;
        *target = mTarget;
    }
    return TFilterResult::Dispatch;
}
