#pragma once
// A message target for the window and widget tests that records what reaches it.

#include <vector>

#include "platform/Handler.h"
#include "platform/Looper.h"
#include "platform/Message.h"

// A looper driven by the test: messages sent to `handler` wait until Drain.
class RecordingTarget {
public:
    RecordingTarget() { looper.AddHandler(&handler); }
    ~RecordingTarget() { looper.RemoveHandler(&handler); }

    // Delivers what was sent and returns the messages received so far.
    const std::vector<platform::Message>& Drain()
    {
        looper.DispatchPending();
        return handler.received;
    }
    void Clear() { handler.received.clear(); }

    struct Recorder : platform::Handler {
        void MessageReceived(platform::Message* message) override { received.push_back(*message); }
        std::vector<platform::Message> received;
    };
    platform::Looper looper;
    Recorder handler;
};
