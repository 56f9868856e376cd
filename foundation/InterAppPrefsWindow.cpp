// The registry's side of the shared-preferences window: finding it through its port,
// making it in this process when no other process has it, and talking to it.

#include "foundation/IAPPort.h"
#include "foundation/InterAppPrefs.h"
#include "platform/LocalPort.h"

namespace {

constexpr uint32_t kActivateWindow = platform::fourcc("iawr");
constexpr uint32_t kQuitRequested = platform::fourcc("_QRQ");

}  // namespace

void TInterAppPrefs::SetWindowMaker(TIAPWindowMaker maker)
{
    mWindowMaker = std::move(maker);
}

int32_t TInterAppPrefs::SendMessage(int32_t port, const platform::Message* message) const
{
    if (!message) return platform::kBadValue;
    return iap_write_message(port, *message);
}

void TInterAppPrefs::Deliver(int32_t port, const platform::Message& message) const
{
    if (port >= 0)
        SendMessage(port, &message);
    else if (mHasLocalWindow)
        mLocalWindow.view.SendMessage(message);
}

int32_t TInterAppPrefs::AddComponents(int32_t port) const
{
    // Built under the lock, sent after it is released.
    Deliver(port, MakeComponents());
    return 0;
}

void TInterAppPrefs::ActivateWindow(int32_t port) const
{
    platform::Message activate(kActivateWindow);
    SendMessage(port, &activate);
}

int32_t TInterAppPrefs::CreateAndShowWindow(const platform::Rect& frame)
{
    if (!mWindowMaker) return kIAPPortFailed;
    mLocalWindow = mWindowMaker(frame);
    mHasLocalWindow = true;
    mOpenedWindow.store(true, std::memory_order_release);
    if (mLocalWindow.port < 0) return kIAPPortFailed;
    int port = platform::find_port(iap_port_name(), kIAPSendTimeout);
    return port >= 0 ? port : kIAPPortFailed;
}

int32_t TInterAppPrefs::ShowWindow(const platform::Rect& frame)
{
    platform::Message activate(kActivateWindow);
    int port = platform::find_port(iap_port_name(), kIAPSendTimeout);
    if (port >= 0 && SendMessage(port, &activate) != platform::kOk) {
        // The window's application takes nothing: it counts as gone.
        platform::close_port(port);
        port = -1;
    }
    if (port < 0) {
        if (mHasLocalWindow) {
            // Our own window whose port could not be made: reused, fed in-process.
            mLocalWindow.view.SendMessage(activate);
            port = kIAPPortFailed;
        } else {
            port = CreateAndShowWindow(frame);
        }
    }
    AddComponents(port);
    platform::close_port(port);
    return 0;
}

int32_t TInterAppPrefs::CloseWindow(bool force) const
{
    int port = platform::find_port(iap_port_name(), kIAPSendTimeout);
    if (port < 0) return 0;
    int32_t status = 0;
    if (!force && !WindowOpened()) {
        status = -1;
    } else {
        platform::Message quit(kQuitRequested);
        SendMessage(port, &quit);
    }
    platform::close_port(port);
    return status;
}
