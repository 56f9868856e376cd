#include "platform/Handler.h"

#include "platform/Looper.h"

namespace platform {

Handler::Handler(std::string name) : mCore(std::make_shared<HandlerCore>()), mName(std::move(name))
{
    mCore->handler = this;
}

Handler::~Handler()
{
    if (Looper* looper = GetLooper(); looper && looper != this) looper->RemoveHandler(this);
    std::lock_guard lock(mCore->mutex);
    mCore->handler = nullptr;
    mCore->looper = nullptr;
}

void Handler::MessageReceived(Message*) {}

Looper* Handler::GetLooper() const
{
    std::lock_guard lock(mCore->mutex);
    return mCore->looper;
}

}  // namespace platform
