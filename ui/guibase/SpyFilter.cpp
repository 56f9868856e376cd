#include "ui/guibase/SpyFilter.h"

TFilterResult TSpyFilter::Filter(platform::Message* message, platform::Handler**)
{
    if (!message->HasField(kSpySendFlag)) {
        platform::Message copy(*message);
        copy.AddBool(kSpySendFlag, true);
        mMessenger.SendMessage(copy);
    }
    return TFilterResult::Dispatch;
}
