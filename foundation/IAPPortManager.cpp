#include "foundation/IAPPortManager.h"

#include <unistd.h>

#include "foundation/IAPPort.h"
#include "platform/LocalPort.h"

namespace {

int32_t made_port(int fd)
{
    return fd >= 0 ? fd : kIAPPortFailed;
}

}  // namespace

TIAPPortManager::TIAPPortManager(const platform::Messenger& target)
    : TIAPPortManager("IAPPortManager", iap_port_name(), target, 0)
{}

TIAPPortManager::TIAPPortManager(const char* threadName, const std::string& portName, const platform::Messenger& target,
                                 uint32_t onlyCode)
    : TThread(threadName, 10), mPort(made_port(platform::create_port(portName))), mTarget(target), mOnlyCode(onlyCode),
      mReceiver(mPort.load() >= 0 ? mPort.load() : -1)
{}

TIAPPortManager::~TIAPPortManager()
{
    // The body uses the members below; it must have ended before they go.
    Terminate();
    PreventBlocking();
    Wait(nullptr);
}

int32_t TIAPPortManager::PreventBlocking() const
{
    mReceiver.Wake();
    return 0;
}

int32_t TIAPPortManager::Execute()
{
    if (Port() < 0) return -1;
    while (!StopRequested()) {
        int32_t code;
        std::string data;
        if (!mReceiver.Receive(&code, &data)) continue;
        platform::Message message;
        // A record that is no whole message is dropped; the writer may go on.
        if (!iap_read_message(data, &message)) continue;
        if (mOnlyCode != 0 && message.what != mOnlyCode) continue;
        mTarget.SendMessage(message);
    }
    mReceiver.Close();
    return 0;
}

TIAPInbox::TIAPInbox(const platform::Messenger& target)
    : TIAPPortManager("IAPInbox", iap_inbox_name(static_cast<int32_t>(::getpid())), target, platform::fourcc("_ipc"))
{}
