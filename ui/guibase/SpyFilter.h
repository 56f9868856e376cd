#pragma once
// Lets a view see the messages of one what code that reach its window: each is copied
// to a messenger (normally the view's own) with "SpySendFlag" = true, and the message
// itself goes on to its target. A message that carries "SpySendFlag", whatever its
// value, is never copied again. Window queues have no size limit, so the copy's post
// never waits.

#include "platform/Messenger.h"
#include "ui/guibase/MessageFilter.h"

inline constexpr const char* kSpySendFlag = "SpySendFlag";

class TSpyFilter : public TMessageFilter {
public:
    TSpyFilter(uint32_t what, const platform::Messenger& messenger) : TMessageFilter(what), mMessenger(messenger) {}

    TFilterResult Filter(platform::Message* message, platform::Handler** target) override;

private:
    platform::Messenger mMessenger;
};
