#pragma once
// The thread that reads a shared-preferences port and forwards every message it
// carries to a target: for the window's port ("IAPPortManager") the window's view,
// for a process's inbox ("IAPInbox", only '_ipc' notices) the application.
//
// The port is made by the constructor, so it exists before the thread runs; it is
// closed when the thread ends. Stopping: Terminate, PreventBlocking, Wait (the
// destructor does the same when the owner has not).

#include <atomic>
#include <cstdint>
#include <string>

#include "foundation/Thread.h"
#include "platform/Messenger.h"
#include "platform/PortReceiver.h"

class TIAPPortManager : public TThread {
public:
    // The window's port, named iap_port_name().
    explicit TIAPPortManager(const platform::Messenger& target);
    ~TIAPPortManager() override;

    // 0 after a normal end, -1 when the port could not be made.
    int32_t Execute() override;
    // Wakes the thread from its wait for a message; always 0.
    int32_t PreventBlocking() const;
    // The listening port, or kIAPPortFailed when another process owns the name or
    // the socket could not be made.
    int32_t Port() const { return mPort.load(std::memory_order_acquire); }

protected:
    // A reader of port `portName` that forwards only messages with code `onlyCode`
    // (0: every message).
    TIAPPortManager(const char* threadName, const std::string& portName, const platform::Messenger& target,
                    uint32_t onlyCode);

private:
    std::atomic<int32_t> mPort;
    const platform::Messenger mTarget;
    const uint32_t mOnlyCode;
    platform::PortReceiver mReceiver;
};

// This process's inbox, named iap_inbox_name(getpid()), through which broadcast
// notices '_ipc' (iap_broadcast) reach `target`.
class TIAPInbox : public TIAPPortManager {
public:
    explicit TIAPInbox(const platform::Messenger& target);
};
